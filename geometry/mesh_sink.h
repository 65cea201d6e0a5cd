#pragma once

#include <array>

#include "geometry/point.h"

namespace geo {

// Four corners in winding order.
using Quad = std::array<Point, 4>;

// Where the grid builders put their quads. The host build wraps the working copy of the
// retopology mesh (addPolygon with merging); MergingMeshSink is the plain implementation.
class MeshSink {
public:
    virtual ~MeshSink() = default;

    // Adds one polygon and returns its face id. A corner within `tolerance` of a vertex the mesh
    // already has (including one added by an earlier call) reuses that vertex; any other corner
    // becomes a new vertex numbered with the current vertex count.
    virtual int appendQuad(const Quad& corners, double tolerance) = 0;

    // The vertex count new rows are numbered from. The builders read it once, before their first
    // quad, which is the count of the mesh the patch is added to.
    virtual int vertexCount() const = 0;
};

}  // namespace geo
