#pragma once
// Scene files: the whole scene as line-oriented text, read back exactly.
//
// Format (version 1). One statement per line, tokens separated by spaces;
// names are node and attribute names (letters, digits, '_'), strings are in
// double quotes with \\, \" and \xHH escapes, numbers are the shortest text
// that reads back to the same value (so doubles round-trip bit for bit;
// -0, inf and nan are kept). Blank lines and lines starting with '#' are
// ignored.
//
//   tessark scene 1                          header with the format version
//   requires "Tessark_2020" "1.0"            a plug-in whose node types are used
//   node TYPE NAME [PARENT]                  a node, in creation order; DAG
//                                            nodes name their parent (none: the world)
//   edit NAME                                values for a node every new scene
//                                            has already (initialShadingGroup, persp)
//   attr NAME SHORT KIND... [FLAG...]        a dynamic attribute of the last node
//                                            (see below), before its values
//   set PLUG NUMBER...                       numeric value of the last node's plug
//   data PLUG TYPE ...                       typed data value of the last node's plug
//   state PLUG [locked] [keyable 0|1] [channelBox 0|1]
//                                            a plug of the last node locked, or keyable
//                                            or in the channel box unlike its attribute
//   order PARENT CHILD...                    sibling order, when it is not creation
//                                            order ("|" is the world)
//   connect NODE.PLUG NODE.PLUG              a connection, source first
//
// PLUG is a plug name relative to its node: "translate", "translateX",
// "pnts[5]", "pnts[5].pntx". A compound writes all its numbers at once
// ("set translate 1 2 3") unless one of its children is connected. Array
// elements are written by logical index, every existing one.
//
// Dynamic attributes. KIND is one of
//   number NUMERICTYPE DEFAULT      one number ("number double 0.5", "number bool 1")
//   angle DEFAULT                   a double angle, in radians
//   tuple NUMERICTYPE               a tuple (double3 ...): its children follow
//   compound N                      a compound: its N children follow
//   enum DEFAULT N "FIELD" VALUE... an enum and its N fields
//   typed DATATYPE                  typed data ("typed doubleArray")
//   generic N DATATYPE... M NUMERICTYPE...   the data and numeric types it takes
//   message | matrix
// and the FLAGs are those that differ from a new attribute's: array, hidden,
// keyable, channelBox, unstorable, unwritable, unreadable, unconnectable,
// uncached, noIndexMatters, builder, internal, and limits "min V", "max V",
// "softMin V", "softMax V". The children of a tuple or compound follow as
// "child NAME SHORT KIND... [FLAG...]" lines, depth first. A compound's
// values are given child by child ("set parent[2].child 1").
//
// Data values (TYPE as the host names data types):
//   data P string "text"
//   data P matrix M00 M01 ... M33            16 numbers, row by row
//   data P numeric NUMERICTYPE N...          a numeric tuple ("double3 1 2 3")
//   data P Int32Array|floatArray|doubleArray COUNT V...      on the same line
//   data P pointArray COUNT    then COUNT lines "p X Y Z W"
//   data P vectorArray COUNT   then COUNT lines "v X Y Z"
//   data P stringArray COUNT   then COUNT lines "s \"text\""
//   data P componentList COUNT then COUNT lines "c KIND N I..." (KIND vtx, e, f
//                              or vtxFace, whose N elements are pairs "VERTEX FACE")
//   data P mesh                then, in this order:
//     points N               and N lines "v X Y Z"
//     faces N                and N lines "f V0 V1 V2 ..." (vertex ids of one polygon)
//     uvset "NAME" NUVS NFACES   per UV set, the default set first; NUVS lines
//                                "uv U V" then NFACES lines "fuv FACE ID0 ID1 ..."
//                                for the polygons that have UVs
//     current "NAME"         the current UV set
//     hard N E0 E1 ...       the hard edges by edge id
//     end
//
// What is saved: every node in creation order except the world and what a new
// scene makes itself (initialShadingGroup, the default camera persp and
// perspShape: reused, never created twice, so the file gives only their
// values; their connections, such as shading membership, and the nodes under
// them are saved like any other; a node that took such a name while the
// scene lacked the original is refused on save). For
// each node, every storable attribute whose value differs from its default
// (bit for bit), every data value and every existing array element — except
// values of connected destinations, which the connection supplies, and the
// cachedInMesh of a mesh with history, which is the evaluated input that
// re-evaluation rebuilds (a mesh without history stores its own geometry
// there). Enum values are written as numbers, angles in radians.
//
// Opening reads and checks the whole file first (loading the required
// plug-ins as it meets them); only when everything is valid does it replace
// the scene. A refusal names the line and leaves the scene untouched (a
// plug-in loaded for the refused file stays loaded: that is no scene change).

#include <maya/MStatus.h>

#include <string>

namespace ehost {

//! Writes the scene to path (write aside, then rename: a failed save leaves
//! any previous file as it was). The scene file name is not changed.
MStatus saveScene(const std::string& path, std::string* error = nullptr);
//! Replaces the scene with the file's content; on success the scene is named
//! after the file. Refusals read "FILE: line N: reason".
MStatus openScene(const std::string& path, std::string* error = nullptr);

//! The file the scene was opened from or renamed to ("" while untitled).
const std::string& sceneFileName();
//! Names the scene for the next plain save (file -rename); "" makes it untitled.
void setSceneFileName(const std::string& path);
//! Saves to sceneFileName() (file -save); refused while the scene is untitled.
MStatus saveCurrentScene(std::string* error = nullptr);

//! The format version written by saveScene.
constexpr int kSceneFormatVersion = 1;

}  // namespace ehost
