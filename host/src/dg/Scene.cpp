#include "host/src/dg/Scene.h"

#include <algorithm>
#include <cctype>

#include <maya/MPxNode.h>

namespace ehost {

Scene::Scene(NodePtr root) : root_(std::move(root)) {
    root_->alive = true;
}

Scene::~Scene() {
    clear();
}

Node* Scene::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

bool Scene::validName(const std::string& name, std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    if (name.empty()) return fail("a node name cannot be empty");
    if (std::isdigit(static_cast<unsigned char>(name[0])))
        return fail("node name \"" + name + "\" starts with a digit");
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return fail("node name \"" + name +
                        "\" has a character other than letters, digits and _");
    return true;
}

namespace {

//! A name's stem and trailing number ("pCube12" -> "pCube", 12), when the
//! number is one uniqueName could make (no leading zero, not too long).
bool splitNumbered(const std::string& name, std::string& stem, long long& number) {
    size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    const size_t digits = name.size() - end;
    if (digits == 0 || digits >= 15 || name[end] == '0') return false;
    stem = name.substr(0, end);
    number = std::stoll(name.substr(end));
    return true;
}

}  // namespace

void Scene::NumberedNames::add(const std::string& name) {
    std::string stem;
    long long n;
    if (!splitNumbered(name, stem, n)) return;
    auto& runs = runs_[stem];
    auto next = runs.upper_bound(n);
    if (next != runs.begin()) {
        auto before = std::prev(next);
        if (before->second >= n) return;  // already there
        if (before->second == n - 1) {
            before->second = n;
            if (next != runs.end() && next->first == n + 1) {
                before->second = next->second;
                runs.erase(next);
            }
            return;
        }
    }
    if (next != runs.end() && next->first == n + 1) {
        const long long last = next->second;
        runs.erase(next);
        runs[n] = last;
        return;
    }
    runs[n] = n;
}

void Scene::NumberedNames::remove(const std::string& name) {
    std::string stem;
    long long n;
    if (!splitNumbered(name, stem, n)) return;
    auto found = runs_.find(stem);
    if (found == runs_.end()) return;
    auto& runs = found->second;
    auto next = runs.upper_bound(n);
    if (next == runs.begin()) return;
    auto run = std::prev(next);
    const long long first = run->first, last = run->second;
    if (last < n) return;
    runs.erase(run);
    if (first < n) runs[first] = n - 1;
    if (n < last) runs[n + 1] = last;
    if (runs.empty()) runs_.erase(found);
}

long long Scene::NumberedNames::firstFree(const std::string& stem, long long from) const {
    auto found = runs_.find(stem);
    if (found == runs_.end()) return from;
    const auto& runs = found->second;
    auto next = runs.upper_bound(from);
    if (next == runs.begin()) return from;
    auto run = std::prev(next);
    return run->second >= from ? run->second + 1 : from;
}

void Scene::nameAdded(const std::string& name, Node* node) {
    byName_[name] = node;
    numbered_.add(name);
}

void Scene::nameRemoved(const std::string& name) {
    byName_.erase(name);
    numbered_.remove(name);
}

std::string Scene::uniqueName(const std::string& wanted) const {
    if (!find(wanted)) return wanted;
    size_t end = wanted.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(wanted[end - 1]))) --end;
    std::string stem = wanted.substr(0, end);
    long long n = 1;
    if (end < wanted.size() && wanted.size() - end < 15) n = std::stoll(wanted.substr(end)) + 1;
    for (n = numbered_.firstFree(stem, n);; ++n) {
        std::string candidate = stem + std::to_string(n);
        if (!find(candidate)) return candidate;
    }
}

NodePtr Scene::create(NodeClass& cls, const std::string& wanted, MStatus* status) {
    std::string base = wanted;
    if (base.empty()) {
        base = cls.typeName;
        // Default names end in a number, like "kvPatchNode1".
        if (!base.empty() && !std::isdigit(static_cast<unsigned char>(base.back()))) base += "1";
    }
    std::string why;
    if (!validName(base, &why)) {
        if (status) *status = MStatus(MStatus::kInvalidParameter, why);
        return nullptr;
    }
    MStatus st;
    NodePtr node = cls.makeNode(&st);
    if (!node) {
        if (status) *status = st;
        return nullptr;
    }
    node->name = uniqueName(base);
    node->order = nextOrder_++;
    st = attach(node);
    if (status) *status = st;
    if (!st) return nullptr;
    node->construct();
    return node;
}

MStatus Scene::adopt(const NodePtr& node, const std::string& wanted) {
    std::string why;
    if (!validName(wanted, &why)) return MStatus(MStatus::kInvalidParameter, why);
    if (node->order == 0) node->order = nextOrder_++;
    node->name = uniqueName(wanted);
    MStatus st = attach(node);
    if (st) node->construct();
    return st;
}

void Scene::noteIfDirty(const NodePtr& node) {
    // Outputs start dirty: the next evaluation of the scene computes them.
    for (int i = 0; i < node->slotCount(); ++i)
        if (node->slot(i).cell.dirty) {
            noteDirty(node.get());
            break;
        }
}

MStatus Scene::attach(const NodePtr& node) {
    if (node->alive)
        return MStatus(MStatus::kInvalidParameter, node->name + " is already in the scene");
    if (find(node->name))
        return MStatus(MStatus::kInvalidParameter,
                       "a node named " + node->name + " already exists");
    auto pos = std::lower_bound(nodes_.begin(), nodes_.end(), node->order,
                                [](const NodePtr& n, long long o) { return n->order < o; });
    nodes_.insert(pos, node);
    nameAdded(node->name, node.get());
    node->alive = true;
    noteIfDirty(node);
    watch.notify({GraphChange::Kind::NodeAdded, node.get()});
    return MStatus::kSuccess;
}

MStatus Scene::attach(const std::vector<NodePtr>& nodes) {
    std::unordered_set<std::string> names;
    for (const NodePtr& node : nodes) {
        if (node->alive)
            return MStatus(MStatus::kInvalidParameter, node->name + " is already in the scene");
        if (find(node->name) || !names.insert(node->name).second)
            return MStatus(MStatus::kInvalidParameter,
                           "a node named " + node->name + " already exists");
    }
    // One merge instead of an insertion (and a shift of the rest) per node.
    const auto byOrder = [](const NodePtr& a, const NodePtr& b) { return a->order < b->order; };
    const auto middle = static_cast<std::ptrdiff_t>(nodes_.size());
    nodes_.insert(nodes_.end(), nodes.begin(), nodes.end());
    std::sort(nodes_.begin() + middle, nodes_.end(), byOrder);
    std::inplace_merge(nodes_.begin(), nodes_.begin() + middle, nodes_.end(), byOrder);
    for (const NodePtr& node : nodes) {
        nameAdded(node->name, node.get());
        node->alive = true;
        noteIfDirty(node);
    }
    // Told once all are back, so that a watcher finds the others in the scene.
    if (watch.watched())
        for (const NodePtr& node : nodes)
            if (node->alive) watch.notify({GraphChange::Kind::NodeAdded, node.get()});
    return MStatus::kSuccess;
}

void Scene::detach(Node& node) {
    if (!node.alive) return;
    NodePtr keep = node.self();
    watch.notify({GraphChange::Kind::NodeRemoved, &node});
    if (!node.alive) return;
    node.alive = false;
    nameRemoved(node.name);
    dirty_.erase(&node);
    nodes_.erase(std::remove(nodes_.begin(), nodes_.end(), keep), nodes_.end());
}

void Scene::detach(const std::vector<Node*>& nodes) {
    // Told while every node is still in the scene.
    if (watch.watched())
        for (Node* node : nodes)
            if (node->alive) watch.notify({GraphChange::Kind::NodeRemoved, node});
    std::vector<NodePtr> keep;
    keep.reserve(nodes.size());
    for (Node* node : nodes) {
        if (!node->alive) continue;
        keep.push_back(node->self());
        node->alive = false;
        nameRemoved(node->name);
        dirty_.erase(node);
    }
    nodes_.erase(
        std::remove_if(nodes_.begin(), nodes_.end(), [](const NodePtr& n) { return !n->alive; }),
        nodes_.end());
}

MStatus Scene::rename(Node& node, const std::string& wanted, std::string* finalName) {
    std::string why;
    if (!validName(wanted, &why)) return MStatus(MStatus::kInvalidParameter, why);
    if (wanted == node.name) {
        if (finalName) *finalName = wanted;
        return MStatus::kSuccess;
    }
    std::string name = uniqueName(wanted);
    if (node.alive) {
        nameRemoved(node.name);
        nameAdded(name, &node);
    }
    std::string previous = std::move(node.name);
    node.name = name;
    if (finalName) *finalName = name;
    if (node.alive) {
        GraphChange change{GraphChange::Kind::Renamed, &node};
        change.previousName = std::move(previous);
        watch.notify(change);
    }
    return MStatus::kSuccess;
}

std::vector<Node*> Scene::takeDirty() {
    std::vector<Node*> out(dirty_.begin(), dirty_.end());
    dirty_.clear();
    std::sort(out.begin(), out.end(), [](Node* a, Node* b) { return a->order < b->order; });
    return out;
}

void Scene::clear() {
    // Those watching hear of every node going, while the scene still holds it.
    if (watch.watched()) {
        std::vector<NodePtr> going = nodes_;
        for (auto it = going.rbegin(); it != going.rend(); ++it)
            if ((*it)->alive) watch.notify({GraphChange::Kind::NodeRemoved, it->get()});
    }
    // Break connections and parent links first so that no node outlives the
    // scene through a reference held by another node.
    for (auto& n : nodes_) {
        n->dropLinks();
        n->alive = false;
    }
    root_->dropLinks();
    nodes_.clear();
    byName_.clear();
    numbered_.clear();
    dirty_.clear();
}

}  // namespace ehost
