#include "geometry/bridge.h"

namespace geo {
namespace {

// A row's two first vertices are met in swapped order (the first quad of a row adds its far
// corner, c + e + s, before c + s), then the row runs on in order.
std::vector<int> bridgeRow(std::int64_t base, std::size_t chainPoints) {
    std::vector<int> ids;
    ids.reserve(chainPoints);
    for (std::size_t k = 0; k < chainPoints; ++k) {
        const std::int64_t offset = k == 0 ? 1 : k == 1 ? 0 : static_cast<std::int64_t>(k);
        ids.push_back(static_cast<int>(base + offset));
    }
    return ids;
}

}  // namespace

Polyline edgeChainPoints(const BorderMeshView& view, std::span<const int> edges) {
    if (edges.empty()) return {};
    const auto [a0, a1] = view.ends(edges[0]);
    Point previous = view.position(a0);
    if (edges.size() > 1) {
        const auto [n0, n1] = view.ends(edges[1]);
        const Point start0 = view.position(a0);
        // Positions, not ids, decide, so that coincident unmerged vertices chain too.
        if (start0 == view.position(n0) || start0 == view.position(n1))
            previous = view.position(a1);
    }
    Polyline points{previous};
    for (int edge : edges) {
        const auto [v0, v1] = view.ends(edge);
        previous = view.position(v0) == previous ? view.position(v1) : view.position(v0);
        points.push_back(previous);
    }
    return points;
}

void sweepBridge(const Polyline& chain, const Polyline& path, double tolerance, MeshSink& sink,
                 std::vector<int>& newFaces) {
    if (path.size() < 2 || chain.size() < 2) return;
    Point rowStart = chain.front();
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Vector s = path[i + 1] - path[i];
        // A step the merge would swallow (the resampled path may end on its last point twice)
        // makes no row: its quads would fold onto the previous row. The next row still starts
        // where the path says, its first corners merging with this row's.
        if (length(s) <= tolerance) {
            rowStart = rowStart + s;
            continue;
        }
        Point c = rowStart;
        for (std::size_t j = 0; j + 1 < chain.size(); ++j) {
            const Vector e = chain[j + 1] - chain[j];
            const Point ce = c + e;
            newFaces.push_back(sink.appendQuad({c, ce, ce + s, c + s}, tolerance));
            c = ce;
        }
        rowStart = rowStart + s;
    }
}

std::vector<int> bridgeFirstRow(int vertexCount, std::size_t chainPoints) {
    return bridgeRow(vertexCount, chainPoints);
}

std::vector<int> bridgeLastRow(int vertexCount, std::size_t chainPoints, std::uint32_t vSpans) {
    // Each row after the first adds chainPoints vertices.
    const std::int64_t rowsBefore = static_cast<std::int64_t>(vSpans) - 1;
    return bridgeRow(vertexCount + rowsBefore * static_cast<std::int64_t>(chainPoints),
                     chainPoints);
}

}  // namespace geo
