#include <maya/MDagPathArray.h>
#include <maya/MItDag.h>

#include "host/src/dag/Dag.h"
#include "host/src/dg/Api.h"

using ehost::DagNode;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

MStatus finished() {
    return fail(MStatus::kFailure, "the DAG iterator has visited every node");
}

}  // namespace

MItDag::MItDag(TraversalType type, MFn::Type filter, MStatus* status) {
    setStatus(status,
              start(std::static_pointer_cast<DagNode>(ehost::theWorld().self()), type, filter));
}

MItDag::~MItDag() = default;

MStatus MItDag::start(const std::shared_ptr<DagNode>& root, TraversalType type, MFn::Type filter) {
    if (type != kDepthFirst && type != kBreadthFirst)
        return fail(MStatus::kInvalidParameter, "a DAG walk is depth first or breadth first");
    root_ = root;
    type_ = type;
    filter_ = filter;
    frontier_.clear();
    pruned_ = false;
    frontier_.push_back(Step{root_, 0});
    while (!frontier_.empty() && !matches(frontier_.front())) advance();
    return MStatus::kSuccess;
}

MStatus MItDag::reset() {
    return start(root_, type_, filter_);
}

MStatus MItDag::reset(const MObject& object, TraversalType type, MFn::Type filter) {
    auto d = ehost::ApiAccess::as<DagNode>(object);
    if (!d) return fail(MStatus::kInvalidParameter, "a DAG walk starts at a DAG node");
    if (!d->alive || !d->inWorld())
        return fail(MStatus::kInvalidParameter, d->name + " is not in the scene's DAG");
    return start(d, type, filter);
}

MStatus MItDag::reset(const MDagPath& path, TraversalType type, MFn::Type filter) {
    if (!path.isValid()) return fail(MStatus::kInvalidParameter, "the DAG path is not valid");
    return reset(path.node(), type, filter);
}

bool MItDag::matches(const Step& step) const {
    return filter_ == MFn::kInvalid || step.node->hasFn(filter_);
}

const MItDag::Step* MItDag::current() const {
    return frontier_.empty() ? nullptr : &frontier_.front();
}

void MItDag::advance() {
    Step here = frontier_.front();
    frontier_.pop_front();
    bool descend = !pruned_;
    pruned_ = false;
    if (!descend) return;
    // Children of a node that left the scene during the walk are not visited.
    if (!here.node->alive) return;
    const auto& children = here.node->children;
    if (type_ == kDepthFirst) {
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            frontier_.push_front(Step{std::static_pointer_cast<DagNode>(*it), here.depth + 1});
    } else {
        for (const auto& c : children)
            frontier_.push_back(Step{std::static_pointer_cast<DagNode>(c), here.depth + 1});
    }
}

MStatus MItDag::next() {
    if (frontier_.empty()) return finished();
    advance();
    while (!frontier_.empty() && !matches(frontier_.front())) advance();
    return MStatus::kSuccess;
}

MStatus MItDag::prune() {
    if (frontier_.empty()) return finished();
    pruned_ = true;
    return MStatus::kSuccess;
}

bool MItDag::isDone(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return frontier_.empty();
}

MObject MItDag::currentItem(MStatus* status) {
    const Step* s = current();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? ehost::api::wrap(s->node) : MObject();
}

MObject MItDag::root(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return ehost::api::wrap(root_);
}

unsigned int MItDag::depth(MStatus* status) const {
    const Step* s = current();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? s->depth : 0;
}

MItDag::TraversalType MItDag::getType(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return type_;
}

MStatus MItDag::getPath(MDagPath& path) const {
    const Step* s = current();
    if (!s) return finished();
    return MDagPath::getAPathTo(ehost::api::wrap(s->node), path);
}

MStatus MItDag::getAllPaths(MDagPathArray& paths) const {
    const Step* s = current();
    if (!s) return finished();
    return MDagPath::getAllPathsTo(ehost::api::wrap(s->node), paths);
}

MString MItDag::fullPathName(MStatus* status) const {
    const Step* s = current();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? MString(s->node->fullPath()) : MString();
}

MString MItDag::partialPathName(MStatus* status) const {
    const Step* s = current();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? MString(s->node->name) : MString();
}

bool MItDag::isInstanced(bool, MStatus* status) const {
    setStatus(status, current() ? MStatus(MStatus::kSuccess) : finished());
    return false;
}

unsigned int MItDag::instanceCount(bool, MStatus* status) const {
    setStatus(status, current() ? MStatus(MStatus::kSuccess) : finished());
    return current() ? 1 : 0;
}

bool MItDag::willTraverseUnderWorld(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return underWorld_;
}
