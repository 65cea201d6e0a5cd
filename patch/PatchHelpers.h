#pragma once
// Small operations around the patch actions: the relax command text for the
// last patch and the mesh vertices lying on given points.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

namespace tessark {

//! "polyAverageVertex - i 1" followed by each of the last patch's faces.
MString relaxCommand(const MDagPath& mesh);
//! Ids of the mesh's vertices closer than 0.0001 to each point, point by point.
MIntArray verticesAtPoints(const MDagPath& mesh, const MPointArray& points);

}  // namespace tessark
