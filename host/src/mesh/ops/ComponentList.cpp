#include "host/src/mesh/ops/ComponentList.h"

#include <unordered_set>

namespace ehost {

namespace {

bool readIndex(const std::string& text, int& out) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos) return false;
    std::string digits = text.substr(b, e - b + 1);
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoi(digits);
    return true;
}

std::string rangeText(int first, int last) {
    return first == last ? std::to_string(first)
                         : std::to_string(first) + ":" + std::to_string(last);
}

}  // namespace

bool componentTypeNamed(const std::string& name, ComponentType& type) {
    if (name == "vtx")
        type = ComponentType::Vertex;
    else if (name == "e")
        type = ComponentType::Edge;
    else if (name == "f")
        type = ComponentType::Face;
    else
        return false;
    return true;
}

const char* componentTypeName(ComponentType type) {
    switch (type) {
        case ComponentType::Vertex:
            return "vtx";
        case ComponentType::Edge:
            return "e";
        case ComponentType::Face:
            return "f";
    }
    return "?";
}

int elementCount(const MeshGeometry& mesh, ComponentType type) {
    switch (type) {
        case ComponentType::Vertex:
            return mesh.numVertices();
        case ComponentType::Edge:
            return mesh.numEdges();
        case ComponentType::Face:
            return mesh.numFaces();
    }
    return 0;
}

bool parseComponentRange(const std::string& inside, int count, std::vector<int>& out,
                         std::string& why) {
    if (inside.find_first_not_of(' ') == std::string::npos || inside == "*") {
        for (int i = 0; i < count; ++i) out.push_back(i);
        return true;
    }
    int a = 0, b = 0;
    auto colon = inside.find(':');
    if (colon == std::string::npos) {
        if (!readIndex(inside, a)) {
            why = "bad component index \"" + inside + "\"";
            return false;
        }
        b = a;
    } else if (!readIndex(inside.substr(0, colon), a) || !readIndex(inside.substr(colon + 1), b)) {
        why = "bad component range \"" + inside + "\"";
        return false;
    }
    if (a > b) std::swap(a, b);
    if (b >= count) {
        why = (a == b ? "component index " + std::to_string(b)
                      : "component range " + rangeText(a, b)) +
              " is out of range (" + std::to_string(count) + " elements)";
        return false;
    }
    out.reserve(out.size() + static_cast<std::size_t>(b - a) + 1);
    for (int i = a; i <= b; ++i) out.push_back(i);
    return true;
}

std::vector<int>& ComponentList::of(ComponentType type) {
    return type == ComponentType::Vertex ? vertices : type == ComponentType::Edge ? edges : faces;
}

const std::vector<int>& ComponentList::of(ComponentType type) const {
    return type == ComponentType::Vertex ? vertices : type == ComponentType::Edge ? edges : faces;
}

void ComponentList::add(ComponentType type, const std::vector<int>& ids) {
    std::vector<int>& list = of(type);
    std::unordered_set<int> seen(list.begin(), list.end());
    for (int id : ids)
        if (seen.insert(id).second) list.push_back(id);
}

std::vector<std::string> ComponentList::toStrings() const {
    std::vector<std::string> out;
    for (ComponentType type : {ComponentType::Vertex, ComponentType::Edge, ComponentType::Face}) {
        const std::vector<int>& ids = of(type);
        for (size_t i = 0; i < ids.size();) {
            size_t j = i;
            while (j + 1 < ids.size() && ids[j + 1] == ids[j] + 1) ++j;
            out.push_back(std::string(componentTypeName(type)) + "[" + rangeText(ids[i], ids[j]) +
                          "]");
            i = j + 1;
        }
    }
    return out;
}

bool ComponentList::fromStrings(const std::vector<std::string>& texts, const MeshGeometry& mesh,
                                ComponentList& out, std::string& why) {
    ComponentList list;
    for (const std::string& text : texts) {
        auto lb = text.find('[');
        ComponentType type;
        if (lb == std::string::npos || text.back() != ']' ||
            !componentTypeNamed(text.substr(0, lb), type)) {
            why = "\"" + text + "\" is not a mesh component";
            return false;
        }
        std::string inside = text.substr(lb + 1, text.size() - lb - 2);
        std::vector<int> ids;
        if (!parseComponentRange(inside, elementCount(mesh, type), ids, why)) {
            why = text + ": " + why;
            return false;
        }
        list.add(type, ids);
    }
    out = std::move(list);
    return true;
}

bool ComponentList::fits(const MeshGeometry& mesh, std::string& why) const {
    for (ComponentType type : {ComponentType::Vertex, ComponentType::Edge, ComponentType::Face}) {
        const int count = elementCount(mesh, type);
        for (int id : of(type))
            if (id < 0 || id >= count) {
                why = std::string(componentTypeName(type)) + "[" + std::to_string(id) +
                      "] does not exist (" + std::to_string(count) + " elements)";
                return false;
            }
    }
    return true;
}

std::vector<int> ComponentList::vertexIds(const MeshGeometry& mesh) const {
    std::vector<int> out;
    std::vector<char> seen(mesh.numVertices(), 0);
    auto take = [&](int v) {
        if (!seen[v]) {
            seen[v] = 1;
            out.push_back(v);
        }
    };
    for (int v : vertices) take(v);
    for (int e : edges) {
        EdgeVertices ends = mesh.edgeVertices(e);
        take(ends.first);
        take(ends.second);
    }
    for (int f : faces)
        for (int v : mesh.faceVertices(f)) take(v);
    return out;
}

}  // namespace ehost
