#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/border_mesh_view.h"
#include "geometry/mesh_sink.h"
#include "geometry/point.h"

namespace geo {

// The ordered points of a border edge chain: the ends of its edges, one more than the edges.
// Which end the chain starts from is settled by the second edge: the first edge's end shared with
// it comes second. A single edge gives its two ends in stored order; no edge gives nothing.
Polyline edgeChainPoints(const BorderMeshView& view, std::span<const int> edges);

// Moves the chain rigidly along the path, row by row, and appends the quads between consecutive
// rows to the sink (face ids to newFaces): row 0 lies on the chain, row i is the chain moved by
// path[i] - path[0]. Nothing is built unless both have at least two points; a path step no longer
// than the merge tolerance builds no row.
void sweepBridge(const Polyline& chain, const Polyline& path, double tolerance, MeshSink& sink,
                 std::vector<int>& newFaces);

// Vertex ids of the bridge's first new row and of its last row (row vSpans), `chainPoints`
// entries each, numbered from `vertexCount` with the chain's own vertices merged.
std::vector<int> bridgeFirstRow(int vertexCount, std::size_t chainPoints);
std::vector<int> bridgeLastRow(int vertexCount, std::size_t chainPoints, std::uint32_t vSpans);

}  // namespace geo
