#pragma once
// One modelling edit of one mesh shape, kept consistent with the shape's
// construction history and undone and redone bit for bit.
//
// With history (inMesh connected) a modifier node goes between the former
// input and the shape, so the edit is redone whenever the history changes.
// The shape's tweaks must come before the modifier (its component ids and
// positions are those of the mesh as it shows, and an edit may renumber the
// vertices that tweaks are keyed by): as the host does, they move into a new
// polyTweak node ahead of the modifier and the shape's own tweaks are emptied.
//
// Without history the edited mesh simply becomes the shape's own geometry
// (tweaks baked in) and no node is made, whatever the history switch says:
// the result is the same and there is no history to keep consistent.

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "host/src/dag/DagOps.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost {

class MeshEdit {
public:
    //! Inserts modifier (a fresh node, parameters already set) into the
    //! shape's history. Refused without history.
    MStatus insertModifier(const std::shared_ptr<MeshShape>& shape, const NodePtr& modifier);
    //! Makes result the shape's own geometry. Refused with history.
    MStatus replaceOwnGeometry(const std::shared_ptr<MeshShape>& shape,
                               std::shared_ptr<const MeshGeometry> result);

    void undo();
    void redo();

private:
    void saveShape();
    void restoreShape();
    void clearTweaks();
    MStatus linkChain();
    void unlinkChain();

    std::shared_ptr<MeshShape> shape_;
    std::map<int, Cell> tweaksBefore_;
    DataPtr cachedBefore_;
    // With history: the former input and the chain of connections that
    // replaced its link to the shape, upstream first.
    PlugRef source_;
    NodePtr modifier_, tweak_;
    std::vector<std::pair<PlugRef, PlugRef>> links_;
    Removal removal_;
    // Without.
    DataPtr ownAfter_;
};

}  // namespace ehost
