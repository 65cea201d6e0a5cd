#pragma once
// Writing a whole mesh (the working copy with the new faces) into a patch
// node's arrays, from which the node rebuilds the retopology mesh.

#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MString.h>

namespace tessark {

//! Fills the patch node named nodeName from mesh. With reverse set, the new
//! faces (the last newFaces.length() quads) get their winding turned round.
//! The pre-patch normals come from the selected retopology mesh as it
//! evaluates now. Failures of single attributes are reported; the rest are
//! still set.
MStatus fillPatchNode(MFnMesh& mesh, bool reverse, const MString& nodeName,
                      const MIntArray& newFaces);

}  // namespace tessark
