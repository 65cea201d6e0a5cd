#pragma once
// The relax brush: the retopology-mesh vertices under the cursor, smoothed
// toward the average of their neighbours and pressed back onto the source.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>

namespace tessark {

//! In vertex order, every vertex of the mesh whose pixel in the active view
//! lies strictly within radius of (x, y).
MIntArray brushSelect(const MDagPath& mesh, short x, short y, double radius);
//! Moves each vertex, in order and at once, strength of the way to the
//! average of its neighbours, then onto the source along its normal (within
//! 30 units either way); a vertex whose ray misses, or that has no
//! neighbour, stays where it is.
void brushRelaxStep(const MDagPath& mesh, const MIntArray& vertices, double strength);

}  // namespace tessark
