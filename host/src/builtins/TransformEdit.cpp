#include "host/src/builtins/TransformEdit.h"

#include <maya/MTransformationMatrix.h>

namespace ehost {

Channels readChannels(TransformNode& node) {
    const auto& a = transformAttributes();
    Channels c;
    const Cell& t = evaluate(node, {a.translate.get(), -1});
    const Cell& r = evaluate(node, {a.rotate.get(), -1});
    const Cell& s = evaluate(node, {a.scale.get(), -1});
    for (int k = 0; k < 3; ++k) {
        c.t[k] = t.num[k];
        c.r[k] = r.num[k];
        c.s[k] = s.num[k];
    }
    c.order = static_cast<int>(evaluate(node, {a.rotateOrder.get(), -1}).num[0]);
    return c;
}

void writeChannels(TransformNode& node, const Channels& c) {
    const auto& a = transformAttributes();
    writeNumeric(node, {a.translate.get(), -1}, c.t, 3);
    writeNumeric(node, {a.rotate.get(), -1}, c.r, 3);
    writeNumeric(node, {a.scale.get(), -1}, c.s, 3);
    double order = c.order;
    writeNumeric(node, {a.rotateOrder.get(), -1}, &order, 1);
}

Channels channelsOf(const MMatrix& local, int rotateOrder) {
    MTransformationMatrix m(local);
    // The transformation matrix numbers its orders from 1 (0 is kInvalid).
    m.reorderRotation(static_cast<MTransformationMatrix::RotationOrder>(rotateOrder + 1));
    Channels c;
    c.order = rotateOrder;
    MVector t = m.getTranslation(MSpace::kTransform);
    c.t[0] = t.x;
    c.t[1] = t.y;
    c.t[2] = t.z;
    MTransformationMatrix::RotationOrder order;
    m.getRotation(c.r, order, MSpace::kTransform);
    m.getScale(c.s, MSpace::kTransform);
    return c;
}

MMatrix localFor(const TransformNode& node, const MMatrix& world) {
    return node.parent ? world * node.parent->worldMatrix().inverse() : world;
}

ChannelEdits::Edit* ChannelEdits::find(TransformNode& node) {
    for (auto& e : edits_)
        if (e.node.get() == &node) return &e;
    return nullptr;
}

void ChannelEdits::record(TransformNode& node) {
    if (find(node)) return;
    Channels now = readChannels(node);
    edits_.push_back(Edit{node.self(), now, now});
}

void ChannelEdits::set(TransformNode& node, const Channels& channels) {
    record(node);
    find(node)->after = channels;
    writeChannels(node, channels);
}

void ChannelEdits::undo() const {
    for (auto it = edits_.rbegin(); it != edits_.rend(); ++it)
        writeChannels(static_cast<TransformNode&>(*it->node), it->before);
}

void ChannelEdits::redo() const {
    for (const auto& e : edits_) writeChannels(static_cast<TransformNode&>(*e.node), e.after);
}

}  // namespace ehost
