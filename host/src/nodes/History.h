#pragma once
// Construction history of meshes: the global recording switch, and removing
// a mesh's history (its geometry is kept as the mesh's own).

#include <vector>

#include "host/src/dag/DagOps.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost {

bool historyRecording();
void setHistoryRecording(bool on);

struct HistoryRemoval {
    NodePtr shape;
    DataPtr ownBefore;  // the shape's own geometry before
    std::vector<std::pair<PlugRef, PlugRef>> cut;
    Removal removal;
};

//! Bakes the evaluated input into the shape's own geometry, cuts inMesh and
//! removes the history nodes that fed only this shape.
HistoryRemoval deleteHistory(MeshShape& shape);
void restoreHistory(HistoryRemoval& removal);

}  // namespace ehost
