#pragma once
// The patch action: strokes on the rail node become quads appended to the
// retopology mesh (through a working copy and a fresh patch node in its
// history) and pressed onto the source surface.

#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <vector>

namespace tessark {

//! uArg -1: the non-destructive strokes with U from kv_uspan; otherwise the
//! stroke set with U = max(uArg, 1) (0 for a negative uArg) continuing from
//! playerRow. Returns the new patch's last row, or five zeros when no patch
//! was made.
MIntArray createPatch(int uArg, const MPointArray& playerRow);

//! Builds the rails into a working copy of the mesh (without the last patch
//! when changeSpan), inserts a patch node, fills it and snaps the new
//! corners. Appends the new face ids to newFaces.
MIntArray generateRails(const MDagPath& meshPath, MIntArray& newFaces, int uSpans, int vSpans,
                        const std::vector<MPointArray>& strokes, const MPointArray& playerRow,
                        bool changeSpan, bool scratch);

//! Removes the faces listed in the rail node's newFaces from mesh, last first.
MStatus deleteLastFaces(MFnMesh& mesh);

//! Patches larger than this many quads are refused: they would exhaust memory.
constexpr double kMaxPatchQuads = 4.0e6;

}  // namespace tessark
