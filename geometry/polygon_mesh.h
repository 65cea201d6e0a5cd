#pragma once

#include <span>
#include <vector>

#include "geometry/mesh_sink.h"
#include "geometry/point.h"
#include "geometry/spatial_hash.h"

namespace geo {

// A polygon mesh in the host's creation format.
struct PolygonMesh {
    std::vector<Point> points;
    std::vector<int> counts;    // vertices of each polygon, in face-id order
    std::vector<int> connects;  // the polygons' vertex ids, polygon after polygon

    int vertexCount() const { return static_cast<int>(points.size()); }
    int faceCount() const { return static_cast<int>(counts.size()); }

    // The vertex ids of every face, one list per face. Counts that run past `connects` are cut
    // to what is there.
    std::vector<std::vector<int>> polygons() const;
};

// A MeshSink that merges corners with existing vertices, as the host's addPolygon does with
// merging switched on.
class MergingMeshSink final : public MeshSink {
public:
    explicit MergingMeshSink(PolygonMesh start = {});

    int appendQuad(const Quad& corners, double tolerance) override;
    int vertexCount() const override { return mesh_.vertexCount(); }

    // Any polygon, merged the same way. Returns its face id.
    int addPolygon(std::span<const Point> corners, double tolerance);

    const PolygonMesh& mesh() const { return mesh_; }

private:
    int mergeVertex(const Point& p, double tolerance);
    void useTolerance(double tolerance);

    PolygonMesh mesh_;
    SpatialHash hash_;
};

}  // namespace geo
