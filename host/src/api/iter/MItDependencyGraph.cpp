#include <maya/MItDependencyGraph.h>
#include <maya/MObjectArray.h>
#include <maya/MPlugArray.h>

#include <algorithm>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "host/src/dg/Api.h"

using ehost::Attribute;
using ehost::Node;
using ehost::NodePtr;
using ehost::PlugAddr;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

bool isAncestor(const Attribute* maybe, const Attribute* of) {
    for (const Attribute* a = of->parent; a; a = a->parent)
        if (a == maybe) return true;
    return false;
}

//! Whether a connection at `end` carries values of the plug `at`: the same
//! plug, a part of it (a child, an element) or a whole it is part of.
bool carries(const PlugAddr& at, const PlugAddr& end) {
    if (at.attr->root() != end.attr->root()) return false;
    if (at.index >= 0 && end.index >= 0 && at.index != end.index) return false;
    return at.attr == end.attr || isAncestor(at.attr, end.attr) || isAncestor(end.attr, at.attr);
}

//! The order a node's plugs come in: its attributes' order, then element index.
bool plugBefore(const Node& node, const PlugAddr& a, const PlugAddr& b) {
    int ia = node.cls->indexOf(a.attr), ib = node.cls->indexOf(b.attr);
    return ia != ib ? ia < ib : a.index < b.index;
}

}  // namespace

struct MItDependencyGraph::Impl {
    // Settings.
    NodePtr rootNode;
    PlugAddr rootPlug;  // attr null: the walk starts at the node
    MFn::Type filter = MFn::kInvalid;
    Direction direction = kDownstream;
    Traversal traversal = kDepthFirst;
    Level level = kNodeLevel;
    Relationship relationship = kDependsOn;
    bool pruneOnFilter = false;
    bool worldSpaceDependents = false;

    //! A place the walk reached: a node, the plug it entered by (none for a
    //! root node), the plug at the far end of that connection, and the step
    //! it came from (its index in trail, -1 for the root).
    struct Step {
        NodePtr node;
        PlugAddr plug;
        NodePtr fromNode;
        PlugAddr fromPlug;
        int parent = -1;
    };
    std::vector<Step> trail;    // every step taken, in order
    std::deque<Step> frontier;  // steps still to take
    std::set<std::pair<const Node*, PlugAddr>> entered;
    std::set<const Node*> reportedNodes;
    std::set<const Node*> leftWhole;  // nodes the walk has left by all their plugs
    std::vector<int> reported;        // trail indices of the items reported
    int current = -1;                 // trail index of the current item, -1 when done
    bool pruned = false;

    bool downstream() const { return direction == kDownstream; }
    bool dependsOn() const { return relationship != kConnectedTo; }

    void start() {
        trail.clear();
        frontier.clear();
        entered.clear();
        reportedNodes.clear();
        leftWhole.clear();
        reported.clear();
        current = -1;
        pruned = false;
        frontier.push_back(Step{rootNode, rootPlug, nullptr, {}, -1});
        advance();
    }

    //! Whether the walk leaves the step's node by every connected plug.
    bool leavesWhole(const Step& s) const {
        return !s.plug.attr || (!dependsOn() && s.parent >= 0);
    }

    //! The plugs of the step's node the walk leaves by.
    std::vector<PlugAddr> leavingPlugs(const Step& s) const {
        std::vector<PlugAddr> out;
        if (leavesWhole(s)) {
            auto add = [&](const PlugAddr& addr) {
                if (std::find(out.begin(), out.end(), addr) == out.end()) out.push_back(addr);
            };
            if (downstream())
                for (const auto& end : s.node->outputs) add(end.first);
            else
                for (const auto& end : s.node->inputs) add(end.first);
            return out;
        }
        out.push_back(s.plug);
        if (!dependsOn()) return out;
        const Attribute* root = s.plug.attr->root();
        if (downstream()) {
            for (const Attribute* a : s.node->cls->affectedBy(root)) out.push_back(PlugAddr{a, -1});
        } else {
            for (int r : s.node->cls->roots) {
                const Attribute* a = s.node->cls->attrAt(r).get();
                const auto& affected = s.node->cls->affectedBy(a);
                if (std::find(affected.begin(), affected.end(), root) != affected.end())
                    out.push_back(PlugAddr{a, -1});
            }
        }
        return out;
    }

    //! The steps one connection further on from s, in the node's plug order.
    std::vector<Step> successors(int at) {
        const Step s = trail[at];
        std::vector<std::pair<PlugAddr, ehost::PlugRef>> ends;  // (local end, far end)
        for (const PlugAddr& leave : leavingPlugs(s)) {
            if (downstream()) {
                for (const auto& [addr, far] : s.node->outputs)
                    if (carries(leave, addr)) ends.emplace_back(addr, far);
            } else {
                for (const auto& [addr, far] : s.node->inputs)
                    if (carries(leave, addr)) ends.emplace_back(addr, far);
            }
        }
        std::stable_sort(ends.begin(), ends.end(), [&](const auto& a, const auto& b) {
            return plugBefore(*s.node, a.first, b.first);
        });
        std::vector<Step> out;
        for (const auto& [local, far] : ends) {
            if (!far.node || !far.node->alive) continue;
            Step next{far.node->self(), far.addr, s.node, local, at};
            bool dup = std::any_of(out.begin(), out.end(), [&](const Step& o) {
                return o.node == next.node && o.plug == next.plug;
            });
            if (!dup) out.push_back(std::move(next));
        }
        return out;
    }

    void expand(int at) {
        // Left by all its plugs once, a node has nothing more to give.
        if (leavesWhole(trail[at]) && !leftWhole.insert(trail[at].node.get()).second) return;
        std::vector<Step> next = successors(at);
        if (traversal == kDepthFirst)
            for (auto it = next.rbegin(); it != next.rend(); ++it) frontier.push_front(*it);
        else
            for (auto& n : next) frontier.push_back(std::move(n));
    }

    bool matches(const Node& n) const { return filter == MFn::kInvalid || n.hasFn(filter); }

    //! Leaves the current item (going on beyond it unless pruned) and takes
    //! steps until one gives an item to report.
    void advance() {
        if (current >= 0 && !pruned) expand(current);
        pruned = false;
        current = -1;
        while (!frontier.empty()) {
            Step s = std::move(frontier.front());
            frontier.pop_front();
            if (!s.node || !s.node->alive) continue;
            if (!entered.insert({s.node.get(), s.plug}).second) continue;
            trail.push_back(std::move(s));
            const int at = static_cast<int>(trail.size()) - 1;
            const Step& here = trail[at];
            if (!matches(*here.node)) {
                if (!pruneOnFilter) expand(at);
                continue;
            }
            const bool fresh = level == kPlugLevel || reportedNodes.insert(here.node.get()).second;
            if (!fresh) {
                expand(at);  // the node again, by another plug: the walk goes on from there
                continue;
            }
            if (level == kPlugLevel) reportedNodes.insert(here.node.get());
            reported.push_back(at);
            current = at;
            return;
        }
    }

    const Step* now() const { return current >= 0 ? &trail[current] : nullptr; }

    MPlug plugOf(const NodePtr& node, const PlugAddr& addr) const {
        return node && addr.attr ? ehost::api::makePlug(node, addr) : MPlug();
    }
};

namespace {

MStatus finished() {
    return fail(MStatus::kFailure, "the graph iterator has visited everything");
}

//! Why a root cannot start a walk, or success.
MStatus checkRoot(const NodePtr& node, const char* what) {
    if (!node) return fail(MStatus::kInvalidParameter, std::string("a graph walk needs ") + what);
    if (!node->alive)
        return fail(MStatus::kInvalidParameter,
                    "a graph walk starts in the scene: " + node->name + " is not in it");
    return MStatus::kSuccess;
}

}  // namespace

MItDependencyGraph::MItDependencyGraph(MObject& rootNode, MFn::Type filter, Direction direction,
                                       Traversal traversal, Level level, MStatus* status)
    : MItDependencyGraph(rootNode, filter, direction, traversal, level, kDependsOn, status) {}

MItDependencyGraph::MItDependencyGraph(MPlug& rootPlug, MFn::Type filter, Direction direction,
                                       Traversal traversal, Level level, MStatus* status)
    : MItDependencyGraph(rootPlug, filter, direction, traversal, level, kDependsOn, status) {}

MItDependencyGraph::MItDependencyGraph(MObject& rootNode, MFn::Type filter, Direction direction,
                                       Traversal traversal, Level level, Relationship relationship,
                                       MStatus* status)
    : impl_(std::make_unique<Impl>()) {
    setStatus(status, resetTo(rootNode, filter, direction, traversal, level, relationship));
}

MItDependencyGraph::MItDependencyGraph(MPlug& rootPlug, MFn::Type filter, Direction direction,
                                       Traversal traversal, Level level, Relationship relationship,
                                       MStatus* status)
    : impl_(std::make_unique<Impl>()) {
    setStatus(status, resetTo(rootPlug, filter, direction, traversal, level, relationship));
}

MItDependencyGraph::~MItDependencyGraph() = default;

MStatus MItDependencyGraph::reset() {
    if (MStatus st = checkRoot(impl_->rootNode, "a root node or plug"); !st) {
        impl_->current = -1;
        return st;
    }
    impl_->start();
    return MStatus::kSuccess;
}

MStatus MItDependencyGraph::resetTo(MObject& rootNode, MFn::Type filter, Direction direction,
                                    Traversal traversal, Level level) {
    return resetTo(rootNode, filter, direction, traversal, level, kDependsOn);
}

MStatus MItDependencyGraph::resetTo(MPlug& rootPlug, MFn::Type filter, Direction direction,
                                    Traversal traversal, Level level) {
    return resetTo(rootPlug, filter, direction, traversal, level, kDependsOn);
}

namespace {

MStatus checkSettings(int direction, int traversal, int level, int relationship) {
    if (direction < 0 || direction > 1 || traversal < 0 || traversal > 1 || level < 0 ||
        level > 1 || relationship < 0 || relationship > 2)
        return fail(MStatus::kInvalidParameter,
                    "invalid direction, traversal, level or relationship for a graph walk");
    return MStatus::kSuccess;
}

}  // namespace

MStatus MItDependencyGraph::resetTo(MObject& rootNode, MFn::Type filter, Direction direction,
                                    Traversal traversal, Level level, Relationship relationship) {
    NodePtr node = ehost::api::nodeOf(rootNode);
    MStatus st = checkRoot(node, "a dependency node as its root");
    if (st) st = checkSettings(direction, traversal, level, relationship);
    if (!st) {
        impl_->current = -1;
        return st;
    }
    *impl_ = Impl{};
    impl_->rootNode = node;
    impl_->filter = filter;
    impl_->direction = direction;
    impl_->traversal = traversal;
    impl_->level = level;
    impl_->relationship = relationship;
    impl_->start();
    return MStatus::kSuccess;
}

MStatus MItDependencyGraph::resetTo(MPlug& rootPlug, MFn::Type filter, Direction direction,
                                    Traversal traversal, Level level, Relationship relationship) {
    NodePtr node = ehost::api::plugNode(rootPlug);
    MStatus st = checkRoot(node, "a plug as its root");
    if (st) st = checkSettings(direction, traversal, level, relationship);
    if (!st) {
        impl_->current = -1;
        return st;
    }
    *impl_ = Impl{};
    impl_->rootNode = node;
    impl_->rootPlug = ehost::api::plugAddr(rootPlug);
    impl_->filter = filter;
    impl_->direction = direction;
    impl_->traversal = traversal;
    impl_->level = level;
    impl_->relationship = relationship;
    impl_->start();
    return MStatus::kSuccess;
}

MObject MItDependencyGraph::rootNode(MStatus* status) {
    setStatus(status, impl_->rootNode ? MStatus(MStatus::kSuccess)
                                      : fail(MStatus::kFailure, "the walk has no root"));
    return impl_->rootNode ? ehost::api::wrap(impl_->rootNode) : MObject();
}

MPlug MItDependencyGraph::rootPlug(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->plugOf(impl_->rootNode, impl_->rootPlug);
}

MFn::Type MItDependencyGraph::currentFilter(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_->filter;
}

MStatus MItDependencyGraph::setCurrentFilter(MFn::Type filter) {
    impl_->filter = filter;
    return reset();
}

MStatus MItDependencyGraph::resetFilter() {
    return setCurrentFilter(MFn::kInvalid);
}

bool MItDependencyGraph::isPruningOnFilter(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->pruneOnFilter;
}

void MItDependencyGraph::enablePruningOnFilter() {
    impl_->pruneOnFilter = true;
}

void MItDependencyGraph::disablePruningOnFilter() {
    impl_->pruneOnFilter = false;
}

bool MItDependencyGraph::isDirectionDownStream(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->direction == kDownstream;
}

MItDependencyGraph::Direction MItDependencyGraph::currentDirection(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->direction;
}

void MItDependencyGraph::toggleDirection() {
    impl_->direction = impl_->direction == kDownstream ? kUpstream : kDownstream;
    reset();
}

bool MItDependencyGraph::isTraversalDepthFirst(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->traversal == kDepthFirst;
}

MItDependencyGraph::Traversal MItDependencyGraph::currentTraversal(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->traversal;
}

void MItDependencyGraph::toggleTraversal() {
    impl_->traversal = impl_->traversal == kDepthFirst ? kBreadthFirst : kDepthFirst;
    reset();
}

bool MItDependencyGraph::atNodeLevel(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->level == kNodeLevel;
}

MItDependencyGraph::Level MItDependencyGraph::currentLevel(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->level;
}

void MItDependencyGraph::toggleLevelOfDetail() {
    impl_->level = impl_->level == kNodeLevel ? kPlugLevel : kNodeLevel;
    reset();
}

MItDependencyGraph::Relationship MItDependencyGraph::currentRelationship(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->relationship;
}

MStatus MItDependencyGraph::setTraversalOverWorldSpaceDependents(bool flag) {
    impl_->worldSpaceDependents = flag;
    return MStatus::kSuccess;
}

bool MItDependencyGraph::isTraversingOverWorldSpaceDependents(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->worldSpaceDependents;
}

MStatus MItDependencyGraph::next() {
    if (impl_->current < 0) return finished();
    impl_->advance();
    return MStatus::kSuccess;
}

bool MItDependencyGraph::isDone(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return impl_->current < 0;
}

MStatus MItDependencyGraph::prune() {
    if (impl_->current < 0) return finished();
    impl_->pruned = true;
    return MStatus::kSuccess;
}

MObject MItDependencyGraph::currentItem(MStatus* status) {
    return thisNode(status);
}

MObject MItDependencyGraph::thisNode(MStatus* status) {
    const Impl::Step* s = impl_->now();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? ehost::api::wrap(s->node) : MObject();
}

MPlug MItDependencyGraph::thisPlug(MStatus* status) {
    const Impl::Step* s = impl_->now();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? impl_->plugOf(s->node, s->plug) : MPlug();
}

MPlug MItDependencyGraph::previousPlug(MStatus* status) {
    const Impl::Step* s = impl_->now();
    setStatus(status, s ? MStatus(MStatus::kSuccess) : finished());
    return s ? impl_->plugOf(s->fromNode, s->fromPlug) : MPlug();
}

bool MItDependencyGraph::thisNodeHasUnknownType(MStatus* status) {
    setStatus(status, impl_->now() ? MStatus(MStatus::kSuccess) : finished());
    return false;
}

MStatus MItDependencyGraph::getNodesVisited(MObjectArray& nodesVisited) const {
    nodesVisited.clear();
    std::set<const Node*> seen;
    for (int at : impl_->reported) {
        const auto& s = impl_->trail[at];
        if (seen.insert(s.node.get()).second) nodesVisited.append(ehost::api::wrap(s.node));
    }
    return MStatus::kSuccess;
}

MStatus MItDependencyGraph::getPlugsVisited(MPlugArray& plugsVisited) const {
    plugsVisited.clear();
    for (int at : impl_->reported) {
        const auto& s = impl_->trail[at];
        if (s.plug.attr) plugsVisited.append(impl_->plugOf(s.node, s.plug));
    }
    return MStatus::kSuccess;
}

MStatus MItDependencyGraph::getNodePath(MObjectArray& path) const {
    path.clear();
    if (impl_->current < 0) return finished();
    std::vector<MObject> back;
    for (int at = impl_->current; at >= 0; at = impl_->trail[at].parent)
        back.push_back(ehost::api::wrap(impl_->trail[at].node));
    for (auto it = back.rbegin(); it != back.rend(); ++it) path.append(*it);
    return MStatus::kSuccess;
}

MStatus MItDependencyGraph::getPlugPath(MPlugArray& path) const {
    path.clear();
    if (impl_->current < 0) return finished();
    std::vector<MPlug> back;
    for (int at = impl_->current; at >= 0; at = impl_->trail[at].parent) {
        const auto& s = impl_->trail[at];
        if (s.plug.attr) back.push_back(impl_->plugOf(s.node, s.plug));
    }
    for (auto it = back.rbegin(); it != back.rend(); ++it) path.append(*it);
    return MStatus::kSuccess;
}
