#pragma once
// The retopology mesh as the border walks read it: positions in world space
// and the edges around each vertex and edge, in the host's own order.

#include <maya/MDagPath.h>

#include "geometry/border_mesh_view.h"

namespace tessark {

//! Read through the host's vertex and edge iterators; empty when the path is
//! not a valid mesh.
geo::BorderMeshView readBorderMeshView(const MDagPath& mesh);

}  // namespace tessark
