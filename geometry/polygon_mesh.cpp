#include "geometry/polygon_mesh.h"

#include <algorithm>

namespace geo {
namespace {

// Cell size used before any positive tolerance is seen; any size finds exact matches.
constexpr double kStartCellSize = 0.002;

}  // namespace

std::vector<std::vector<int>> PolygonMesh::polygons() const {
    std::vector<std::vector<int>> result;
    result.reserve(counts.size());
    std::size_t offset = 0;
    for (int count : counts) {
        const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
        const std::size_t taken = std::min(wanted, connects.size() - offset);
        result.emplace_back(connects.begin() + offset, connects.begin() + offset + taken);
        offset += taken;
    }
    return result;
}

MergingMeshSink::MergingMeshSink(PolygonMesh start)
    : mesh_(std::move(start)), hash_(kStartCellSize) {
    for (int id = 0; id < mesh_.vertexCount(); ++id) hash_.insert(id, mesh_.points[id]);
}

// Cells twice the tolerance keep each search to at most eight cells. The buckets are rebuilt
// when the tolerance changes, which a steady tolerance never triggers.
void MergingMeshSink::useTolerance(double tolerance) {
    if (!(tolerance > 0.0) || 2.0 * tolerance == hash_.cellSize()) return;
    hash_ = SpatialHash(2.0 * tolerance);
    for (int id = 0; id < mesh_.vertexCount(); ++id) hash_.insert(id, mesh_.points[id]);
}

int MergingMeshSink::mergeVertex(const Point& p, double tolerance) {
    if (const auto existing = hash_.findWithin(p, tolerance)) return *existing;
    const int id = mesh_.vertexCount();
    mesh_.points.push_back(p);
    hash_.insert(id, p);
    return id;
}

int MergingMeshSink::addPolygon(std::span<const Point> corners, double tolerance) {
    useTolerance(tolerance);
    for (const Point& corner : corners) mesh_.connects.push_back(mergeVertex(corner, tolerance));
    mesh_.counts.push_back(static_cast<int>(corners.size()));
    return mesh_.faceCount() - 1;
}

int MergingMeshSink::appendQuad(const Quad& corners, double tolerance) {
    return addPolygon(corners, tolerance);
}

}  // namespace geo
