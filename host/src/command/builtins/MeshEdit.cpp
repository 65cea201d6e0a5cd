#include "host/src/command/builtins/MeshEdit.h"

#include "host/src/core/Session.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

PlugAddr inMeshPlug() { return {meshAttributes().inMesh.get(), -1}; }
PlugAddr pntsPlug() { return {meshAttributes().pnts.get(), -1}; }
PlugAddr cachedPlug() { return {meshAttributes().cachedInMesh.get(), -1}; }

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
    MStatus st;
    if (shape->hasTweaks()) {
        NodeClass* cls = session().registry().findClass("polyTweak");
        tweak_ = session().scene().create(*cls, "polyTweak1", &st);
        if (!tweak_) return st;
        const auto& t = polyTweakAttributes();
        tweaksOf(*tweak_, t.tweak.get()) = tweaksBefore_;
        connect(feed, PlugRef{tweak_.get(), {t.inputPolymesh.get(), -1}});
        feed = PlugRef{tweak_.get(), {t.output.get(), -1}};
    }
    disconnect(source_, PlugRef{shape.get(), inMeshPlug()});
    st = connect(feed, PlugRef{modifier.get(), {m.inputPolymesh.get(), -1}});
    if (st) st = connect(PlugRef{modifier.get(), {m.output.get(), -1}}, PlugRef{shape.get(), inMeshPlug()});
    if (!st) {
        undo();
        return st;
    }
    clearTweaks();
    return MStatus::kSuccess;
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
        std::vector<Node*> added{modifier_.get()};
        if (tweak_) added.push_back(tweak_.get());
        removal_ = removeNodes(added);
        connect(source_, PlugRef{shape_.get(), inMeshPlug()});
    }
    restoreShape();
}

void MeshEdit::redo() {
    if (!shape_) return;
    if (modifier_) {
        disconnect(source_, PlugRef{shape_.get(), inMeshPlug()});
        restore(removal_);
    } else {
        shape_->cell(cachedPlug(), true)->data = ownAfter_;
        propagateDirty(*shape_, cachedPlug());
    }
    clearTweaks();
}

}  // namespace ehost
