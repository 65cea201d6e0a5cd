#include "host/src/dag/Resolve.h"

#include <algorithm>
#include <unordered_set>

#include "host/src/dag/Dag.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

bool globMatch(const char* pattern, const char* text) {
    if (*pattern == 0) return *text == 0;
    if (*pattern == '*')
        return globMatch(pattern + 1, text) || (*text && globMatch(pattern, text + 1));
    return *text && *pattern == *text && globMatch(pattern + 1, text + 1);
}

std::vector<Node*> nodesNamed(const std::string& name) {
    std::vector<Node*> out;
    if (name.find('*') != std::string::npos) {
        std::string last =
            name.substr(name.rfind('|') == std::string::npos ? 0 : name.rfind('|') + 1);
        for (auto& n : theScene().nodes())
            if (globMatch(last.c_str(), n->name.c_str())) out.push_back(n.get());
        return out;
    }
    if (Node* n = resolveNode(name)) out.push_back(n);
    return out;
}

//! The mesh shape for a component: the node itself or the shape below a transform.
Node* componentOwner(Node* n) {
    auto* d = dynamic_cast<DagNode*>(n);
    if (d && d->hasComponents()) return n;
    if (d) {
        Node* found = nullptr;
        for (auto& c : d->children) {
            auto* shape = dynamic_cast<DagNode*>(c.get());
            if (!shape || !shape->hasComponents()) continue;
            bool intermediate =
                evaluate(*shape, {dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
            if (!intermediate) {
                if (found) return nullptr;
                found = shape;
            }
        }
        return found;
    }
    return nullptr;
}

bool parseRange(const std::string& text, int count, std::vector<int>& out, std::string& error) {
    // Blanks around the numbers are allowed: "vtx[ 5]" is written by some tools.
    std::string inside;
    for (char c : text)
        if (c != ' ' && c != '\t') inside += c;
    if (inside == "*" || inside.empty()) {
        for (int i = 0; i < count; ++i) out.push_back(i);
        return true;
    }
    auto number = [&](const std::string& s, int& v) {
        if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
            return false;
        v = std::stoi(s);
        return true;
    };
    int a = 0, b = 0;
    auto colon = inside.find(':');
    if (colon == std::string::npos) {
        if (!number(inside, a)) {
            error = "bad component index \"" + inside + "\"";
            return false;
        }
        b = a;
    } else if (!number(inside.substr(0, colon), a) || !number(inside.substr(colon + 1), b)) {
        error = "bad component range \"" + inside + "\"";
        return false;
    }
    if (a > b) std::swap(a, b);
    // Checked before expanding: the range is as long as the text asks.
    if (b >= count) {
        error = (a == b ? "component index " + std::to_string(b)
                        : "component range " + std::to_string(a) + ":" + std::to_string(b)) +
                " is out of range (" + std::to_string(count) + " elements)";
        return false;
    }
    out.reserve(out.size() + static_cast<std::size_t>(b - a) + 1);
    for (int i = a; i <= b; ++i) out.push_back(i);
    return true;
}

}  // namespace

const char* componentKindName(MFn::Type kind) {
    switch (kind) {
        case MFn::kMeshVertComponent:
            return "vtx";
        case MFn::kMeshEdgeComponent:
            return "e";
        case MFn::kMeshPolygonComponent:
            return "f";
        case MFn::kMeshVtxFaceComponent:
            return "vtxFace";
        default:
            return "";
    }
}

MFn::Type componentKind(const std::string& name) {
    if (name == "vtx") return MFn::kMeshVertComponent;
    if (name == "vtxFace") return MFn::kMeshVtxFaceComponent;
    if (name == "e") return MFn::kMeshEdgeComponent;
    if (name == "f") return MFn::kMeshPolygonComponent;
    return MFn::kInvalid;
}

int componentCount(Node& shape, MFn::Type kind) {
    auto* d = dynamic_cast<DagNode*>(&shape);
    return d ? d->componentCount(kind) : 0;
}

Node* resolveNode(const std::string& text) {
    if (text.empty()) return nullptr;
    if (text.find('|') != std::string::npos) return findDag(text);
    Node* n = theScene().find(text);
    return n && n->alive ? n : nullptr;
}

void addItem(std::vector<SelItem>& items, const SelItem& item, bool merge) {
    for (auto& existing : items) {
        if (!existing.sameTarget(item)) continue;
        if (!item.component) return;  // already there
        if (!merge) break;
        existing.component->merge(*item.component);
        return;
    }
    SelItem copy = item;
    if (item.component) copy.component = item.component->copy();
    items.push_back(std::move(copy));
}

namespace {

//! "vtxFace[V][F]" (each a number, a range or "*"): the face-vertices of the
//! faces F whose vertex is among V. Faces are walked, not the V x F pairs, so
//! "vtxFace[*][*]" costs what the mesh's corners do.
bool faceVertices(const std::string& text, const std::vector<Node*>& nodes,
                  const std::string& inside, std::vector<SelItem>& out, std::string& error) {
    auto split = inside.find("][");
    if (split == std::string::npos) {
        error = text + ": a face-vertex is named by two indices, vtxFace[vertex][face]";
        return false;
    }
    for (Node* n : nodes) {
        auto* shape = dynamic_cast<DagNode*>(componentOwner(n));
        if (!shape) {
            error = n->name + " is not a mesh: it has no vtxFace components";
            return false;
        }
        std::vector<int> vertices, faces;
        const int vertexCount = shape->componentCount(MFn::kMeshVertComponent);
        if (!parseRange(inside.substr(0, split), vertexCount, vertices, error) ||
            !parseRange(inside.substr(split + 2), shape->componentCount(MFn::kMeshPolygonComponent),
                        faces, error)) {
            error = text + ": " + error;
            return false;
        }
        std::vector<char> wanted(static_cast<size_t>(vertexCount), 0);
        for (int v : vertices) wanted[static_cast<size_t>(v)] = 1;
        auto comp = std::make_shared<Component>(MFn::kMeshVtxFaceComponent);
        for (int f : faces)
            for (int v : shape->faceVertexIds(f))
                if (wanted[static_cast<size_t>(v)]) comp->add(v, f);
        if (comp->elements.empty()) {
            error = text + ": no face has one of those vertices";
            return false;
        }
        addItem(out, SelItem{shape->self(), comp, {}});
    }
    return true;
}

}  // namespace

bool resolveName(const std::string& text, std::vector<SelItem>& out, std::string& error) {
    if (text.empty()) {
        error = "an empty name matches nothing";
        return false;
    }
    auto dot = text.find('.');
    std::string nodePart = text.substr(0, dot);
    std::vector<Node*> nodes = nodesNamed(nodePart);
    if (nodes.empty()) {
        error = "No object matches name: " + text;
        return false;
    }
    if (dot == std::string::npos) {
        for (Node* n : nodes) addItem(out, SelItem{n->self(), nullptr, {}});
        return true;
    }
    std::string rest = text.substr(dot + 1);
    auto lb = rest.find('[');
    std::string head = rest.substr(0, lb);
    MFn::Type kind = componentKind(head);
    if (kind != MFn::kInvalid) {
        if (lb == std::string::npos || rest.back() != ']') {
            error = "component \"" + rest + "\" needs an index in brackets";
            return false;
        }
        std::string inside = rest.substr(lb + 1, rest.size() - lb - 2);
        if (kind == MFn::kMeshVtxFaceComponent)
            return faceVertices(text, nodes, inside, out, error);
        for (Node* n : nodes) {
            Node* shape = componentOwner(n);
            if (!shape) {
                error = n->name + " is not a mesh: it has no " + head + " components";
                return false;
            }
            auto comp = std::make_shared<Component>(kind);
            if (!parseRange(inside, componentCount(*shape, kind), comp->elements, error)) {
                error = text + ": " + error;
                return false;
            }
            addItem(out, SelItem{shape->self(), comp, {}});
        }
        return true;
    }
    for (Node* n : nodes) {
        PlugAddr plug;
        if (!parsePlugName(*n->cls, rest, plug, error)) {
            error = text + ": " + error;
            return false;
        }
        addItem(out, SelItem{n->self(), nullptr, plug});
    }
    return true;
}

std::vector<std::string> componentStrings(const Component& component) {
    std::vector<std::string> out;
    const std::string kind = componentKindName(component.kind);
    if (component.doubleIndexed()) {
        // Face-vertices one by one, by vertex then face.
        std::vector<std::pair<int, int>> pairs;
        for (size_t i = 0; i < component.elements.size(); ++i)
            pairs.emplace_back(component.elements[i], component.second[i]);
        std::sort(pairs.begin(), pairs.end());
        for (auto [v, f] : pairs)
            out.push_back(kind + "[" + std::to_string(v) + "][" + std::to_string(f) + "]");
        return out;
    }
    // Consecutive elements print as ranges, in ascending order.
    std::vector<int> e = component.elements;
    std::sort(e.begin(), e.end());
    for (size_t i = 0; i < e.size();) {
        size_t j = i;
        while (j + 1 < e.size() && e[j + 1] == e[j] + 1) ++j;
        std::string range =
            e[i] == e[j] ? std::to_string(e[i]) : std::to_string(e[i]) + ":" + std::to_string(e[j]);
        out.push_back(kind + "[" + range + "]");
        i = j + 1;
    }
    return out;
}

std::vector<std::string> itemStrings(const SelItem& item, bool fullPaths) {
    std::string name = item.node->name;
    if (fullPaths)
        if (auto* d = dynamic_cast<DagNode*>(item.node.get())) name = d->fullPath();
    if (item.plug.attr) return {name + "." + plugName(item.plug)};
    if (!item.component) return {name};
    std::vector<std::string> out;
    for (const std::string& s : componentStrings(*item.component)) out.push_back(name + "." + s);
    return out;
}

}  // namespace ehost
