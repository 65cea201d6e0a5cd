#pragma once
// The rail tool's state kept on the rail node so that it survives undo,
// redraw and saving: the densified non-destructive strokes, the fuse
// preview, the pin points, the closed flag and the row queued for merging.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MUintArray.h>

#include <vector>

namespace tessark {

//! Replaces the non-destructive strokes by a densified copy of the current
//! strokes (nothing when there are fewer than two strokes).
void saveNondestructStrokes();
std::vector<MPointArray> retrieveNondestructStrokes();
//! Replaces the stroke by a denser one (at least one subdivision per segment).
void densifyStroke(MPointArray& stroke);
MStatus sendFuse(const MPointArray& fusePoints, const MPointArray& fuseMesh,
                 const MUintArray& fuseIndices, bool mode);
void clearFuse();
//! Writes the world positions of the pin points (vertices of the retopology mesh).
void sendPlayerPoints(const MIntArray& vertexIds);
void setClose(bool closed);
MStatus setToMerge(const MIntArray& vertexIds);

}  // namespace tessark
