#include "geometry/border_mesh_view.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace geo {
namespace {

std::uint64_t edgeKey(int a, int b) {
    const auto low = static_cast<std::uint32_t>(std::min(a, b));
    const auto high = static_cast<std::uint32_t>(std::max(a, b));
    return (std::uint64_t{high} << 32) | low;
}

// Numbers the edges and counts the faces using each.
void numberEdges(BorderMeshView& view, std::span<const std::vector<int>> polygons) {
    std::unordered_map<std::uint64_t, int> ids;
    std::vector<int> faceUses;
    for (const std::vector<int>& face : polygons) {
        for (std::size_t i = 0; i < face.size(); ++i) {
            const int a = face[i];
            const int b = face[(i + 1) % face.size()];
            const auto [it, added] =
                ids.try_emplace(edgeKey(a, b), static_cast<int>(view.edgeVertices.size()));
            if (added) {
                view.edgeVertices.push_back({a, b});
                faceUses.push_back(0);
            }
            ++faceUses[it->second];
        }
    }
    view.boundary.reserve(faceUses.size());
    for (int uses : faceUses) view.boundary.push_back(uses == 1);
}

void listAdjacency(BorderMeshView& view) {
    view.vertexEdges.assign(view.positions.size(), {});
    for (std::size_t e = 0; e < view.edgeVertices.size(); ++e) {
        for (int v : view.edgeVertices[e]) {
            auto& around = view.vertexEdges[v];
            // A degenerate edge (both ends one vertex) is listed once.
            if (around.empty() || around.back() != static_cast<int>(e)) {
                around.push_back(static_cast<int>(e));
            }
        }
    }
    view.edgeNeighbours.assign(view.edgeVertices.size(), {});
    for (std::size_t e = 0; e < view.edgeVertices.size(); ++e) {
        auto& touching = view.edgeNeighbours[e];
        for (int v : view.edgeVertices[e]) {
            for (int other : view.vertexEdges[v]) {
                if (other != static_cast<int>(e)) touching.push_back(other);
            }
        }
        std::sort(touching.begin(), touching.end());
        touching.erase(std::unique(touching.begin(), touching.end()), touching.end());
    }
}

}  // namespace

std::array<int, 2> BorderMeshView::ends(int e) const {
    return hasEdge(e) ? edgeVertices[e] : std::array<int, 2>{kNoIndex, kNoIndex};
}

std::span<const int> BorderMeshView::edgesAround(int v) const {
    if (v < 0 || static_cast<std::size_t>(v) >= vertexEdges.size()) return {};
    return vertexEdges[v];
}

std::span<const int> BorderMeshView::edgesTouching(int e) const {
    if (e < 0 || static_cast<std::size_t>(e) >= edgeNeighbours.size()) return {};
    return edgeNeighbours[e];
}

BorderMeshView makeBorderMeshView(std::vector<Point> positions,
                                  std::span<const std::vector<int>> polygons) {
    BorderMeshView view;
    view.positions = std::move(positions);
    // Faces naming unknown vertices would make edges without a position; they are left out.
    std::vector<std::vector<int>> valid;
    valid.reserve(polygons.size());
    for (const std::vector<int>& face : polygons) {
        const bool known =
            std::all_of(face.begin(), face.end(), [&](int v) { return view.hasVertex(v); });
        if (known && !face.empty()) valid.push_back(face);
    }
    numberEdges(view, valid);
    listAdjacency(view);
    return view;
}

BorderMeshView makeBorderMeshView(const PolygonMesh& mesh) {
    return makeBorderMeshView(mesh.points, mesh.polygons());
}

}  // namespace geo
