#pragma once
// Modelling operations on the mesh kernel: the geometry behind the host's
// primitives and behind polyMergeVertex, polyBridgeEdge and polyAverageVertex.
// Each takes a mesh and gives a new one; a refused operation leaves the output
// untouched and says why. Ids given to an operation must exist on its input.

#include <vector>

#include "host/src/mesh/MeshGeometry.h"
#include "host/src/mesh/ops/ComponentList.h"

namespace ehost {

// ---- Primitives (object space, Y up, UVs in map1) ---------------------------

//! Rings from the bottom up, axisDivisions vertices each, then the bottom and
//! the top pole: (heightDivisions - 1) * axisDivisions + 2 vertices. Quads
//! ring by ring, then the bottom and top cap triangles.
MeshGeometry makeSphere(double radius, int axisDivisions, int heightDivisions);
//! Centred on the origin. The vertices run around the X axis (front, top,
//! back, bottom) row by row, then the inner vertices of the +X and -X sides;
//! faces follow the same sides in that order. 1x1x1 gives the host's
//! familiar 8 vertices, 6 faces and 14 UVs.
MeshGeometry makeCube(double width, double height, double depth, int widthDivisions,
                      int heightDivisions, int depthDivisions);
//! In the XZ plane facing +Y, rows from +Z to -Z, vertices from -X to +X.
MeshGeometry makePlane(double width, double height, int widthDivisions, int heightDivisions);

// ---- Edits --------------------------------------------------------------------

//! Joins the given vertices that lie within distance of each other (chains
//! of close vertices join as one group); with alwaysMergeTwo and exactly two
//! vertices they join whatever the distance. Each group becomes its lowest
//! vertex id, placed at the group's average; later vertices move down to keep
//! ids compact. Polygons lose corners that fall onto the previous corner;
//! polygons left with fewer than three corners, or passing twice through one
//! vertex, are removed, and so are vertices left without polygons.
MeshStatus mergeVertices(const MeshGeometry& in, const std::vector<int>& vertices, double distance,
                         bool alwaysMergeTwo, MeshGeometry& out);

//! Bridges two chains of border edges with rows of quads. The edges form the
//! two chains by connection; when they do not, the list is read as pairs
//! (first chain, second chain, first chain, ...). Both chains need the same
//! number of edges and both open or both closed. The second chain is paired
//! with the first in the direction (and, for loops, the rotation) that keeps
//! the bridge shortest. divisions rows of new vertices are placed evenly on
//! the straight lines between paired vertices. The quads wind against the
//! faces along the first chain, so the surface stays consistently oriented.
//! New vertices and faces are appended; the new faces have no UVs.
MeshStatus bridgeEdges(const MeshGeometry& in, const std::vector<int>& edges, int divisions,
                       MeshGeometry& out);

//! Moves each given vertex to the average of its neighbours, iterations
//! times (each pass reads the positions of the previous one). Inner vertices
//! use every connected vertex. A border vertex uses only its two neighbours
//! along the border, so it slides along the border instead of leaving it; a
//! border corner (a vertex used by one polygon only) and a vertex with other
//! than two border edges stay where they are.
MeshStatus averageVertices(const MeshGeometry& in, const std::vector<int>& vertices, int iterations,
                           MeshGeometry& out);

// ---- Edits of named components --------------------------------------------
//
// What the modelling commands and their history nodes do with the components
// they were given (shared, so that a command can check an edit before it
// makes a node). The components must fit the mesh.

//! Merges the vertices named directly or through edges and faces.
MeshStatus mergeComponents(const MeshGeometry& in, const ComponentList& components, double distance,
                           bool alwaysMergeTwo, MeshGeometry& out);
//! Bridges the named edges (other components are refused).
MeshStatus bridgeComponents(const MeshGeometry& in, const ComponentList& components, int divisions,
                            MeshGeometry& out);
//! Averages the vertices named directly or through edges and faces.
MeshStatus averageComponents(const MeshGeometry& in, const ComponentList& components,
                             int iterations, MeshGeometry& out);

// ---- Support ------------------------------------------------------------------

//! A mesh described anew from an existing one: points, polygons whose
//! corners each name the old face-vertex they come from (UVs follow it) or -1
//! (no UVs: the polygon gets none), and the old-to-new vertex map (-1 for
//! dropped vertices; a merged vertex maps to the one it became), through
//! which hard edges are carried over.
struct MeshPlan {
    std::vector<Vec3> points;
    std::vector<int> counts, vertices, sources;
    std::vector<int> vertexMap;
};

//! Builds out from the plan, keeping every UV set and its values, the current
//! set, and the hard edges that still exist.
MeshStatus buildFromPlan(const MeshGeometry& old, const MeshPlan& plan, MeshGeometry& out);

//! The plan that describes the mesh as it is.
MeshPlan planOf(const MeshGeometry& mesh);

}  // namespace ehost
