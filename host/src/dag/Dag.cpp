#include "host/src/dag/Dag.h"

#include <algorithm>

#include "host/src/dg/Scene.h"

namespace ehost {

DagPtr makeWorld() {
    // A type description, like the attribute handles: shared by every session's world.
    static NodeClass worldClass = [] {
        NodeClass c;
        c.typeName = "world";
        c.kind = MFn::kWorld;
        c.role = NodeRole::Dag;
        return c;
    }();
    return std::make_shared<DagNode>(&worldClass);
}

DagNode& theWorld() {
    return static_cast<DagNode&>(theScene().root());
}

void DagNode::dropLinks() {
    Node::dropLinks();
    children.clear();
    parent = nullptr;
}

int DagNode::componentCount(MFn::Type) {
    return 0;
}

bool DagNode::geometryBox(MBoundingBox&, const MMatrix&) {
    return false;
}

MMatrix DagNode::localMatrix() const {
    return MMatrix();
}

MMatrix DagNode::worldMatrix() const {
    MMatrix m = localMatrix();
    for (const DagNode* p = parent; p; p = p->parent) m = m * p->localMatrix();
    return m;
}

std::string DagNode::fullPath() const {
    // Built from the root down in one string: a hierarchy may be deeper than
    // the call stack, and joining level by level would copy it over and over.
    std::vector<const DagNode*> chain;
    size_t length = 0;
    for (const DagNode* d = this; d && !d->isWorld(); d = d->parent) {
        chain.push_back(d);
        length += d->name.size() + 1;
    }
    std::string path;
    path.reserve(length);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) path.append("|").append((*it)->name);
    return path;
}

bool DagNode::inWorld() const {
    const DagNode* n = this;
    while (n->parent) {
        if (!n->alive) return false;
        n = n->parent;
    }
    return n->isWorld();
}

int childPosition(const DagNode& child) {
    if (!child.parent) return -1;
    auto& kids = child.parent->children;
    for (size_t i = 0; i < kids.size(); ++i)
        if (kids[i].get() == &child) return static_cast<int>(i);
    return -1;
}

std::pair<DagNode*, int> reparent(DagNode& child, DagNode* newParent, int position) {
    DagNode* old = child.parent;
    int oldPos = childPosition(child);
    NodePtr keep = child.self();
    if (old) old->children.erase(old->children.begin() + oldPos);
    child.parent = newParent;
    if (newParent) {
        auto& kids = newParent->children;
        if (position < 0 || position > static_cast<int>(kids.size()))
            kids.push_back(keep);
        else
            kids.insert(kids.begin() + position, keep);
    }
    return {old, oldPos};
}

DagNode* findDag(const std::string& path) {
    if (path.empty()) return nullptr;
    if (path[0] != '|') {
        // A partial path "a|b": the last name is unique in the scene.
        auto bar = path.rfind('|');
        std::string last = bar == std::string::npos ? path : path.substr(bar + 1);
        auto* node = dynamic_cast<DagNode*>(theScene().find(last));
        if (!node || !node->inWorld()) return nullptr;
        if (bar != std::string::npos) {
            std::string full = node->fullPath();
            if (full.size() < path.size() + 1 ||
                full.compare(full.size() - path.size(), path.size(), path) != 0 ||
                full[full.size() - path.size() - 1] != '|')
                return nullptr;
        }
        return node;
    }
    DagNode* cur = &theWorld();
    size_t pos = 1;
    while (pos <= path.size()) {
        auto next = path.find('|', pos);
        std::string piece =
            path.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        DagNode* found = nullptr;
        for (auto& c : cur->children)
            if (c->name == piece) found = static_cast<DagNode*>(c.get());
        if (!found) return nullptr;
        cur = found;
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return cur == &theWorld() ? nullptr : cur;
}

}  // namespace ehost
