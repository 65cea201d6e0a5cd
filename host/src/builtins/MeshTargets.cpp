#include "host/src/builtins/MeshTargets.h"

#include <algorithm>

#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/AttrBuild.h"

namespace ehost {

namespace {

bool isIntermediate(MeshShape& shape) {
    return evaluate(shape, {dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
}

struct ComponentName {
    std::string node, inside;
    ComponentType type = ComponentType::Vertex;
};

//! Splits "node.vtx[...]"; false when the text names no mesh component (or
//! uses wildcards, which the general resolver handles).
bool splitComponentName(const std::string& text, ComponentName& out) {
    auto dot = text.find('.');
    if (dot == std::string::npos || text.back() != ']') return false;
    auto lb = text.find('[', dot);
    if (lb == std::string::npos ||
        !componentTypeNamed(text.substr(dot + 1, lb - dot - 1), out.type))
        return false;
    out.node = text.substr(0, dot);
    out.inside = text.substr(lb + 1, text.size() - lb - 2);
    return out.node.find('*') == std::string::npos;
}

bool resolveComponents(const std::string& text, const ComponentName& name, Pick& pick,
                       std::string& why) {
    Node* node = resolveNode(name.node);
    if (!node) {
        why = "No object matches name: " + text;
        return false;
    }
    MeshShape* shape = meshShapeOf(*node);
    if (!shape) {
        why = node->name + " is not a mesh: it has no " + componentTypeName(name.type) +
              " components";
        return false;
    }
    const int count = elementCount(*shape->base(), name.type);
    if (!parseComponentRange(name.inside, count, pick.ids, why)) {
        why = text + ": " + why;
        return false;
    }
    pick.node = shape->self();
    pick.hasComponents = true;
    pick.type = name.type;
    return true;
}

bool pickOf(const SelItem& item, Pick& pick, std::string& why) {
    if (item.plug.attr) {
        why = item.node->name + "." + plugName(item.plug) + " is an attribute, not an object";
        return false;
    }
    pick.node = item.node;
    if (!item.component) return true;
    pick.hasComponents = true;
    pick.ids = item.component->elements;
    switch (item.component->kind) {
        case MFn::kMeshVertComponent:
            pick.type = ComponentType::Vertex;
            break;
        case MFn::kMeshEdgeComponent:
            pick.type = ComponentType::Edge;
            break;
        case MFn::kMeshPolygonComponent:
            pick.type = ComponentType::Face;
            break;
        default:
            why = item.node->name + ": unsupported component";
            return false;
    }
    return true;
}

}  // namespace

MeshShape* meshShapeOf(Node& node) {
    if (auto* mesh = dynamic_cast<MeshShape*>(&node)) return mesh;
    auto* dag = dynamic_cast<DagNode*>(&node);
    if (!dag || dag->cls->role != NodeRole::Transform) return nullptr;
    MeshShape* found = nullptr;
    for (auto& child : dag->children) {
        auto* shape = dynamic_cast<MeshShape*>(child.get());
        if (!shape || isIntermediate(*shape)) continue;
        if (found) return nullptr;  // ambiguous
        found = shape;
    }
    return found;
}

bool resolvePicks(const MStringArray& names, std::vector<Pick>& out, std::string& why) {
    std::vector<Pick> picks;
    for (unsigned i = 0; i < names.length(); ++i) {
        const std::string text = names[i].str();
        ComponentName component;
        if (splitComponentName(text, component)) {
            Pick pick;
            if (!resolveComponents(text, component, pick, why)) return false;
            picks.push_back(std::move(pick));
            continue;
        }
        std::vector<SelItem> items;
        if (!resolveName(text, items, why)) return false;
        for (const SelItem& item : items) {
            Pick pick;
            if (!pickOf(item, pick, why)) return false;
            picks.push_back(std::move(pick));
        }
    }
    out.insert(out.end(), picks.begin(), picks.end());
    return true;
}

std::vector<Pick> selectionPicks() {
    std::vector<Pick> out;
    for (const SelItem& item : theSelection().items) {
        Pick pick;
        std::string why;
        if (item.node->alive && pickOf(item, pick, why)) out.push_back(std::move(pick));
    }
    return out;
}

bool picksOrSelection(const MStringArray& names, std::vector<Pick>& out, std::string& why) {
    if (names.length() > 0) return resolvePicks(names, out, why);
    out = selectionPicks();
    return true;
}

bool meshPicks(const std::vector<Pick>& picks, std::vector<MeshPick>& out, std::string& why) {
    std::vector<MeshPick> meshes;
    for (const Pick& pick : picks) {
        MeshShape* shape = meshShapeOf(*pick.node);
        if (!shape) {
            why = pick.node->name + " is not a polygon mesh";
            return false;
        }
        auto it = std::find_if(meshes.begin(), meshes.end(),
                               [&](const MeshPick& m) { return m.shape.get() == shape; });
        if (it == meshes.end()) {
            meshes.push_back(
                MeshPick{std::static_pointer_cast<MeshShape>(shape->self()), {}, false});
            it = meshes.end() - 1;
        }
        if (pick.hasComponents)
            it->components.add(pick.type, pick.ids);
        else
            it->whole = true;
    }
    // Names were checked when resolved, but a selection may hold components
    // that an edit since has taken away.
    for (const MeshPick& m : meshes)
        if (!m.components.fits(*m.shape->base(), why)) {
            why = m.shape->name + ": " + why;
            return false;
        }
    out = std::move(meshes);
    return true;
}

bool meshPicksOrSelection(const MStringArray& names, std::vector<MeshPick>& out, std::string& why) {
    std::vector<Pick> picks;
    return picksOrSelection(names, picks, why) && meshPicks(picks, out, why);
}

}  // namespace ehost
