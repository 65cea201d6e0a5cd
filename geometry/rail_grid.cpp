#include "geometry/rail_grid.h"

#include <algorithm>

namespace geo {
namespace {

// The row formulas: the first two entries are the first column's two ends, then each further
// column adds vSpans + 1 vertices.
std::vector<int> row(std::int64_t firstEntry, std::int64_t secondEntry, std::int64_t thirdEntry,
                     std::size_t entries, std::uint32_t vSpans) {
    std::vector<int> ids;
    ids.reserve(entries);
    std::int64_t next = thirdEntry;
    for (std::size_t k = 0; k < entries; ++k) {
        if (k == 0) {
            ids.push_back(static_cast<int>(firstEntry));
        } else if (k == 1) {
            ids.push_back(static_cast<int>(secondEntry));
        } else {
            ids.push_back(static_cast<int>(next));
            next += std::int64_t{vSpans} + 1;
        }
    }
    return ids;
}

// Columns both rails can give: the grid walks the first rail and reads the same index on the
// second, so the shorter rail bounds it.
std::size_t columnCount(const Polyline& a, const Polyline& b, std::uint32_t uSpans) {
    const std::size_t shorter = std::min(a.size(), b.size());
    if (shorter < 2) return 0;
    return std::min<std::size_t>(uSpans, shorter - 1);
}

void buildPairGrid(const Polyline& a, const Polyline& b, const RailGridSettings& settings,
                   MeshSink& sink, std::vector<int>& newFaces) {
    const std::uint32_t v = settings.vSpans;
    if (v == 0) return;
    const std::size_t columns = columnCount(a, b, settings.uSpans);
    for (std::size_t i = 0; i < columns; ++i) {
        // The last column closes on the rails' own last points, so that a rail carrying an extra
        // closing point still gives exactly uSpans columns.
        const bool lastColumn = i + 1 == settings.uSpans;
        const Point& a0 = a[i];
        const Point& b0 = b[i];
        const Point& a1 = lastColumn ? a.back() : a[i + 1];
        const Point& b1 = lastColumn ? b.back() : b[i + 1];
        const Vector dA = (b0 - a0) / static_cast<double>(v);
        const Vector dB = (b1 - a1) / static_cast<double>(v);
        // Neighbouring columns compute their shared corners from the same a, d and j, so the
        // corners are bit-identical and merge in the sink.
        for (std::uint32_t j = 0; j < v; ++j) {
            const double near = j;
            const double far = j + 1.0;
            const Quad quad{a0 + dA * near, a1 + dB * near, a1 + dB * far, a0 + dA * far};
            newFaces.push_back(sink.appendQuad(quad, settings.tolerance));
        }
    }
}

}  // namespace

std::vector<int> noPatch() {
    return {0, 0, 0, 0, 0};
}

std::vector<int> buildRailGrid(std::span<const Polyline> rails, const Polyline& playerRow,
                               const RailGridSettings& settings, MeshSink& sink,
                               std::vector<int>& newFaces, const RailPairHandler& onRailPair) {
    if (rails.size() < 2) return noPatch();
    const int startCount = sink.vertexCount();
    const bool continuePlayer = !playerRow.empty() && !settings.scratch;
    for (std::size_t p = 0; p + 1 < rails.size(); ++p) {
        // The player row is already on the mesh with its own spacing: it is used as it is.
        Polyline a = p == 0 && continuePlayer
                         ? playerRow
                         : resampleStroke(rails[p], settings.uSpans, settings.isClosed);
        Polyline b = resampleStroke(rails[p + 1], settings.uSpans, settings.isClosed);
        if (onRailPair) onRailPair(a, b);
        if (a.empty() || b.empty()) return noPatch();
        buildPairGrid(a, b, settings, sink, newFaces);
    }
    return lastRow(startCount, settings.uSpans, settings.vSpans);
}

std::vector<int> firstRow(int vertexCount, std::uint32_t uSpans, std::uint32_t vSpans) {
    const std::int64_t n = vertexCount;
    const std::int64_t v = vSpans;
    // Even with no column the first column's two start vertices are reported.
    const std::size_t entries = std::max<std::size_t>(std::size_t{uSpans} + 1, 2);
    return row(n, n + 1, n + 2 * v + 2, entries, vSpans);
}

std::vector<int> lastRow(int vertexCount, std::uint32_t uSpans, std::uint32_t vSpans) {
    if (uSpans == 0) return {};
    const std::int64_t n = vertexCount;
    const std::int64_t v = vSpans;
    return row(n + 2 * v + 1, n + 2 * v, n + 3 * v + 2, std::size_t{uSpans} + 1, vSpans);
}

}  // namespace geo
