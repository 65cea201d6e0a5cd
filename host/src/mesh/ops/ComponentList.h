#pragma once
// Mesh components by index, as the modelling commands take them and the
// modelling nodes store them ("vtx[3]", "e[2:5]", "f[7]"). The order in which
// components were named is kept (a bridge reads its edges in pairs); repeats
// are dropped.

#include <string>
#include <vector>

#include "host/src/mesh/MeshGeometry.h"

namespace ehost {

enum class ComponentType { Vertex, Edge, Face };

struct ComponentList {
    std::vector<int> vertices, edges, faces;

    bool empty() const { return vertices.empty() && edges.empty() && faces.empty(); }
    std::vector<int>& of(ComponentType type);
    const std::vector<int>& of(ComponentType type) const;
    //! Appends ids of one type, skipping those already listed.
    void add(ComponentType type, const std::vector<int>& ids);

    //! "vtx[3:5]" style strings; consecutive ascending runs become ranges.
    std::vector<std::string> toStrings() const;
    //! Reads what toStrings writes, for a mesh. A stored list may come from a
    //! file or setAttr, so each range is checked against the mesh before it
    //! is expanded ("vtx[0:999999999]" must not fill memory); false with a
    //! reason naming the range and the mesh's count otherwise.
    static bool fromStrings(const std::vector<std::string>& texts, const MeshGeometry& mesh,
                            ComponentList& out, std::string& why);

    //! Whether every id exists on the mesh; the reason names the first that does not.
    bool fits(const MeshGeometry& mesh, std::string& why) const;
    //! The vertices named directly and through the listed edges and faces,
    //! in the order met, without repeats. Ids must fit the mesh.
    std::vector<int> vertexIds(const MeshGeometry& mesh) const;
};

//! "vtx", "e", "f" and their types; false for another name.
bool componentTypeNamed(const std::string& name, ComponentType& type);
const char* componentTypeName(ComponentType type);
//! Number of elements of a type on a mesh.
int elementCount(const MeshGeometry& mesh, ComponentType type);
//! Reads the inside of the brackets: "7", "2:5" (either order), "*" or nothing
//! (all); blanks around the numbers are allowed. Ids must be below count,
//! checked before the range is expanded.
bool parseComponentRange(const std::string& inside, int count, std::vector<int>& out,
                         std::string& why);

}  // namespace ehost
