#pragma once
// Source meshes from and to other applications: import of Wavefront OBJ and
// OFF files as a new mesh in the scene, export of meshes as OBJ.

#include <maya/MStatus.h>

#include <string>
#include <vector>

#include "host/src/core/Vec3.h"
#include "host/src/dg/Graph.h"

namespace ehost {

//! A polygon mesh as read from a file, before it becomes a shape.
struct ImportedMesh {
    std::vector<Vec3> points;
    std::vector<int> counts, connects;  // polygons in MeshGeometry::create's format
    // Texture coordinates for the default UV set: the values and, per polygon,
    // 0 or its corner count (assignUVs' format). Empty when the file has none.
    std::vector<float> u, v;
    std::vector<int> uvCounts, uvIds;
};

//! Reads an OBJ (".obj") or OFF (".off") file by its extension. Polygons stay
//! polygons; OBJ texture coordinates become the default UV set, assigned to
//! the polygons whose every corner has one. Errors read "FILE: line N: reason".
bool readMeshFile(const std::string& path, ImportedMesh& out, std::string& error);
bool readObj(const std::string& path, ImportedMesh& out, std::string& error);
bool readOff(const std::string& path, ImportedMesh& out, std::string& error);

//! The node name a file imports as: its base name with every character other
//! than letters, digits and '_' made '_', and a '_' in front of a leading
//! digit ("my-scan.obj" -> "my_scan").
std::string importedNodeName(const std::string& path);

//! Imports a mesh file as a transform named after the file (numbered on a
//! clash, like any node) with a mesh shape "<name>Shape" holding the
//! geometry as its own, a member of initialShadingGroup. Returns the
//! transform; on failure nothing is added to the scene and the result is null.
NodePtr importMesh(const std::string& path, std::string* error = nullptr);

//! Writes the evaluated meshes of the given shapes, or of the mesh shapes
//! under the given transforms, in world space as one OBJ file: an "o" line
//! per mesh, "v", "vt" (the current UV set, when assigned) and "f" lines.
//! Written aside and renamed, so a failure leaves any previous file as it was.
MStatus exportMeshObj(const std::vector<Node*>& nodes, const std::string& path,
                      std::string* error = nullptr);

}  // namespace ehost
