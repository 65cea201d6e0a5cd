#include <maya/MItSelectionList.h>
#include <maya/MStringArray.h>

#include <functional>

#include "host/src/dag/Dag.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Api.h"

using ehost::SelItem;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

MStatus finished() {
    return fail(MStatus::kFailure, "the selection iterator has visited every item");
}

}  // namespace

MItSelectionList::MItSelectionList(const MSelectionList& list, MFn::Type filter, MStatus* status)
    : list_(list), filter_(filter) {
    collect();
    setStatus(status, MStatus::kSuccess);
}

MItSelectionList::~MItSelectionList() = default;

void MItSelectionList::collect() {
    auto& out = ehost::ApiAccess::impl(visited_)->items;
    out.clear();
    position_ = 0;
    for (const SelItem& item : ehost::ApiAccess::impl(list_)->items) {
        if (!item.node->alive) continue;
        if (filter_ == MFn::kInvalid) {
            out.push_back(item);
            continue;
        }
        // A plug is no node of any kind.
        if (item.plug.attr) continue;
        if (item.node->hasFn(filter_) || (item.component && item.component->hasFn(filter_))) {
            out.push_back(item);
            continue;
        }
        // A DAG item of another kind stands for what matches below it.
        auto* dag = dynamic_cast<ehost::DagNode*>(item.node.get());
        if (!dag || item.component || item.plug.attr) continue;
        std::function<void(ehost::DagNode&)> search = [&](ehost::DagNode& n) {
            for (const auto& c : n.children) {
                if (c->hasFn(filter_)) out.push_back(SelItem{c, nullptr, {}});
                search(static_cast<ehost::DagNode&>(*c));
            }
        };
        search(*dag);
    }
}

bool MItSelectionList::isDone(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return position_ >= visited_.length();
}

MStatus MItSelectionList::next() {
    if (position_ >= visited_.length()) return finished();
    ++position_;
    return MStatus::kSuccess;
}

MStatus MItSelectionList::reset() {
    position_ = 0;
    return MStatus::kSuccess;
}

MStatus MItSelectionList::setFilter(MFn::Type filter) {
    filter_ = filter;
    collect();
    return MStatus::kSuccess;
}

MStatus MItSelectionList::getDependNode(MObject& depNode) {
    if (position_ >= visited_.length()) return finished();
    return visited_.getDependNode(position_, depNode);
}

MStatus MItSelectionList::getDagPath(MDagPath& dagPath, MObject& component) {
    if (position_ >= visited_.length()) return finished();
    return visited_.getDagPath(position_, dagPath, component);
}

MStatus MItSelectionList::getDagPath(MDagPath& dagPath) {
    if (position_ >= visited_.length()) return finished();
    return visited_.getDagPath(position_, dagPath);
}

MStatus MItSelectionList::getPlug(MPlug& plug) {
    if (position_ >= visited_.length()) return finished();
    return visited_.getPlug(position_, plug);
}

MStatus MItSelectionList::getStrings(MStringArray& array) {
    if (position_ >= visited_.length()) return finished();
    return visited_.getSelectionStrings(position_, array);
}

MItSelectionList::selItemType MItSelectionList::itemType(MStatus* status) {
    if (position_ >= visited_.length()) {
        setStatus(status, finished());
        return kUnknownItem;
    }
    setStatus(status, MStatus::kSuccess);
    const SelItem& item = ehost::ApiAccess::impl(visited_)->items[position_];
    if (item.plug.attr) return kPlugSelectionItem;
    if (dynamic_cast<ehost::DagNode*>(item.node.get())) return kDagSelectionItem;
    return kDNselectionItem;
}

bool MItSelectionList::hasComponents(MStatus* status) const {
    if (position_ >= visited_.length()) {
        setStatus(status, finished());
        return false;
    }
    setStatus(status, MStatus::kSuccess);
    const SelItem& item = ehost::ApiAccess::impl(visited_)->items[position_];
    return item.component && !item.component->elements.empty();
}
