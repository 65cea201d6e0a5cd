#pragma once
// Small operations around the patch actions: the relax command text for the
// last patch, mesh vertices lying on points, and the reads and resets of the
// rail node's patch attributes.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

namespace tessark {

//! "polyAverageVertex - i 1" followed by each of the last patch's faces.
MString relaxCommand(const MDagPath& mesh);
//! Ids of the mesh's vertices closer than 0.0001 to each point, point by point.
MIntArray verticesAtPoints(const MDagPath& mesh, const MPointArray& points);
void clearStrokePoints();
void clearStrokeSet();
void clearShadowStrokes();
void clearNewFaces();
MIntArray readToMerge();
//! The last shadow stroke's points and a one-entry list of its point count;
//! kInvalidParameter when there are no shadow strokes.
MStatus lastShadowStroke(MPointArray& points, MIntArray& size);
//! The first item of the active selection; true when it is a valid mesh.
bool selectedRetopologyMesh(MDagPath& path);

}  // namespace tessark
