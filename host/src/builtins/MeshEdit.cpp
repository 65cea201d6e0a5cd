#include "host/src/builtins/MeshEdit.h"

#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

PlugAddr inMeshPlug() {
    return {meshAttributes().inMesh.get(), -1};
}
PlugAddr pntsPlug() {
    return {meshAttributes().pnts.get(), -1};
}
PlugAddr cachedPlug() {
    return {meshAttributes().cachedInMesh.get(), -1};
}

std::map<int, Cell>& tweaksOf(Node& node, const Attribute* attr) {
    return node.slot(node.cls->slotOf(attr)).elements;
}

}  // namespace

void MeshEdit::saveShape() {
    tweaksBefore_ = tweaksOf(*shape_, meshAttributes().pnts.get());
    cachedBefore_ = shape_->cell(cachedPlug(), true)->data;
}

void MeshEdit::restoreShape() {
    tweaksOf(*shape_, meshAttributes().pnts.get()) = tweaksBefore_;
    shape_->cell(cachedPlug(), true)->data = cachedBefore_;
    propagateDirty(*shape_, cachedPlug());
    propagateDirty(*shape_, pntsPlug());
}

void MeshEdit::clearTweaks() {
    tweaksOf(*shape_, meshAttributes().pnts.get()).clear();
    propagateDirty(*shape_, pntsPlug());
}

MStatus MeshEdit::insertModifier(const std::shared_ptr<MeshShape>& shape, const NodePtr& modifier) {
    auto in = shape->inputs.find(inMeshPlug());
    if (in == shape->inputs.end())
        return MStatus(MStatus::kInvalidParameter, shape->name + " has no construction history");
    shape_ = shape;
    modifier_ = modifier;
    source_ = in->second;
    saveShape();
    const auto& m = polyModifierAttributes();
    PlugRef feed = source_;
    if (shape->hasTweaks()) {
        MStatus st;
        tweak_ = theScene().create(*theRegistry().findClass("polyTweak"), "polyTweak1", &st);
        if (!tweak_) return st;
        const auto& t = polyTweakAttributes();
        tweaksOf(*tweak_, t.tweak.get()) = tweaksBefore_;
        links_.push_back({feed, PlugRef{tweak_.get(), {t.inputPolymesh.get(), -1}}});
        feed = PlugRef{tweak_.get(), {t.output.get(), -1}};
    }
    links_.push_back({feed, PlugRef{modifier.get(), {m.inputPolymesh.get(), -1}}});
    links_.push_back(
        {PlugRef{modifier.get(), {m.output.get(), -1}}, PlugRef{shape.get(), inMeshPlug()}});
    disconnect(source_, PlugRef{shape.get(), inMeshPlug()});
    if (MStatus st = linkChain(); !st) {
        undo();
        return st;
    }
    clearTweaks();
    return MStatus::kSuccess;
}

MStatus MeshEdit::linkChain() {
    for (const auto& [from, to] : links_)
        if (MStatus st = connect(from, to); !st) return st;
    return MStatus::kSuccess;
}

void MeshEdit::unlinkChain() {
    // A cut destination keeps the value it last received, which would run the
    // edit (and copy the tweaked mesh) once more only to throw the result
    // away: the outputs are taken as they stand, and the chain is cut from
    // the shape upwards so that no cut dirties a plug still to be cut.
    modifier_->cell({polyModifierAttributes().output.get(), -1}, true)->dirty = false;
    if (tweak_) tweak_->cell({polyTweakAttributes().output.get(), -1}, true)->dirty = false;
    for (auto it = links_.rbegin(); it != links_.rend(); ++it) {
        auto in = it->second.node->inputs.find(it->second.addr);
        if (in != it->second.node->inputs.end() && in->second == it->first)
            disconnect(it->first, it->second);
    }
}

MStatus MeshEdit::replaceOwnGeometry(const std::shared_ptr<MeshShape>& shape,
                                     std::shared_ptr<const MeshGeometry> result) {
    if (shape->hasHistory())
        return MStatus(MStatus::kInvalidParameter, shape->name + " has construction history");
    shape_ = shape;
    saveShape();
    ownAfter_ = std::make_shared<MeshData>(std::move(result));
    redo();
    return MStatus::kSuccess;
}

void MeshEdit::undo() {
    if (!shape_) return;
    if (modifier_) {
        unlinkChain();
        connect(source_, PlugRef{shape_.get(), inMeshPlug()});
        std::vector<Node*> added{modifier_.get()};
        if (tweak_) added.push_back(tweak_.get());
        removal_ = removeNodes(added);
    }
    restoreShape();
}

void MeshEdit::redo() {
    if (!shape_) return;
    if (modifier_) {
        disconnect(source_, PlugRef{shape_.get(), inMeshPlug()});
        restore(removal_);
        linkChain();
    } else {
        shape_->cell(cachedPlug(), true)->data = ownAfter_;
        propagateDirty(*shape_, cachedPlug());
    }
    clearTweaks();
}

}  // namespace ehost
