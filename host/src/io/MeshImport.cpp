#include <cctype>
#include <filesystem>

#include "host/src/dag/DagOps.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/TextFile.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/nodes/ObjectSet.h"

namespace ehost {

namespace {

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

//! The host's shape name for a transform: "my_scan" -> "my_scanShape",
//! "my_scan1" -> "my_scanShape1".
std::string shapeNameFor(const std::string& transform) {
    std::size_t end = transform.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(transform[end - 1]))) --end;
    return transform.substr(0, end) + "Shape" + transform.substr(end);
}

//! The mesh takes the arrays over: a large scan is not held twice.
std::shared_ptr<MeshGeometry> buildGeometry(ImportedMesh&& m, std::string& error) {
    auto g = std::make_shared<MeshGeometry>();
    MeshStatus st = g->create(std::move(m.points), std::move(m.counts), std::move(m.connects));
    if (st && !m.u.empty()) st = g->setUVs(m.u, m.v);
    if (st && !m.u.empty()) st = g->assignUVs(m.uvCounts, m.uvIds);
    if (!st) {
        error = st.error;
        return nullptr;
    }
    return g;
}

NodePtr fail(const std::string& text, std::string* error) {
    if (error) *error = text;
    return nullptr;
}

}  // namespace

bool readMeshFile(const std::string& path, ImportedMesh& out, std::string& error) {
    std::string ext = lowerExtension(path);
    if (ext == ".obj") return readObj(path, out, error);
    if (ext == ".off") return readOff(path, out, error);
    error = path + ": unknown mesh file type \"" + ext + "\" (.obj and .off are read)";
    return false;
}

std::string importedNodeName(const std::string& path) {
    std::string name = std::filesystem::path(path).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') c = '_';
    if (name.empty()) return "importedMesh";
    if (std::isdigit(static_cast<unsigned char>(name[0]))) name.insert(name.begin(), '_');
    return name;
}

NodePtr importMesh(const std::string& path, std::string* error) {
    ImportedMesh mesh;
    std::string why;
    if (!readMeshFile(path, mesh, why)) return fail(why, error);
    std::shared_ptr<MeshGeometry> geometry = buildGeometry(std::move(mesh), why);
    if (!geometry) return fail(path + ": " + why, error);

    Registry& registry = theRegistry();
    NodeClass* transformClass = registry.findClass("transform");
    NodeClass* meshClass = registry.findClass("mesh");
    MStatus st;
    Created transform = createNode(*transformClass, importedNodeName(path), nullptr, &st);
    if (!transform.node) return fail(path + ": " + io::statusText(st), error);
    auto* parent = static_cast<DagNode*>(transform.node.get());
    Created shape = createNode(*meshClass, shapeNameFor(transform.node->name), parent, &st);
    if (!shape.node) {
        removeNodes({transform.node.get()});
        return fail(path + ": " + io::statusText(st), error);
    }
    writeData(*shape.node, PlugAddr{meshAttributes().cachedInMesh.get(), -1},
              std::make_shared<MeshData>(std::move(geometry)));
    if (Node* shading = theScene().find("initialShadingGroup")) addSetMember(*shading, *shape.node);
    return transform.node;
}

}  // namespace ehost
