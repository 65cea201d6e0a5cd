#pragma once
// The host command texts that join borders of the retopology mesh: the
// magnet merge of two border points, the weld of the player onto the fuse
// loop, and the bridge between them.

#include <maya/MDagPath.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <vector>

namespace tessark {

//! Merges the two magnet points into one ("polyMergeVertex" at a distance of 9999).
MString magnetMergeCommand(const MDagPath& mesh, int first, int second);
//! Moves each player vertex and its weld vertex to their target, then merges
//! each pair. A weld loop cut short by the end of the border pairs with as
//! much of the player as it reaches.
MString weldCommand(const MDagPath& mesh, const std::vector<int>& player,
                    const std::vector<int>& weld, const MPointArray& targets);
//! Bridges each player edge to the fuse edge of the same index
//! ("polyBridgeEdge" with the given divisions), as far as both lists go.
MString bridgeCommand(const MDagPath& mesh, const std::vector<int>& playerEdges,
                      const std::vector<int>& fuseEdges, int divisions);

}  // namespace tessark
