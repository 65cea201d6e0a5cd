#pragma once
// The bridge: a chain of border edges of the retopology mesh moved rigidly
// along the drawn stroke, row by row, with quads between consecutive rows.

#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

namespace tessark {

//! Sweeps the chain along the stroke set's points resampled to kv_vspan
//! spans and adds the quads to the retopology mesh (a new one when none is
//! selected) through a fresh patch node. firstRail becomes the first shadow
//! stroke. Returns the last row's vertex ids, or nothing when the chain has
//! fewer than two edges.
MIntArray bridgePatch(const MIntArray& edgeIds, const MPointArray& firstRail);

}  // namespace tessark
