#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "geometry/border_mesh_view.h"
#include "geometry/point.h"

namespace geo {

// The bound borderRange is called with: any real border path is shorter.
inline constexpr std::size_t kNoRangeBound = 99999;
// Passes walkBorder makes before giving up on a target it does not reach.
inline constexpr int kBorderWalkPasses = 999;

// The player: the run of border edges the next patch continues from, and its first vertex.
struct Player {
    std::vector<int> edges;
    int start = kNoIndex;
};

struct BoundaryEdges {
    std::vector<int> edges;  // the boundary edges met, in order
    int first;
    int second;
};

struct BorderWalk {
    std::vector<int> edges;
    bool reached = false;
};

struct FuseLoop {
    std::vector<int> edges;     // the fuse loop's border edges, from the clicked vertex
    std::vector<int> vertices;  // fuse vertex i pairs with player vertex i
};

bool isBorderEdge(const BorderMeshView& view, int edge);
bool listHas(int value, std::span<const int> list);
// The edge's two vertices are a and b, in either order.
bool edgeJoins(const BorderMeshView& view, int edge, int a, int b);

// The vertices along an ordered edge chain from `start`. Each edge contributes its first vertex
// that differs from the current one, so a break in the chain contributes the edge's vertex 0.
std::vector<int> vertexChain(const BorderMeshView& view, std::span<const int> edges, int start);

// The boundary edges among `edges`: the first met is `first`, the last other one `second`.
// Without such edges they keep the values given.
BoundaryEdges boundaryEdgesAt(const BorderMeshView& view, std::span<const int> edges, int first,
                              int second);

// Follows border edges from `start`, never over `excluded` and never back onto the chain, until
// an edge touches `target`, for at most kBorderWalkPasses passes.
BorderWalk walkBorder(const BorderMeshView& view, int target, int start, int excluded);

// The shorter border path between border vertices a and b, as edges from a; on a tie the walk
// leaving by a's first boundary edge wins. Empty when a has no boundary edge or neither walk
// arrives within `bound` edges.
std::vector<int> borderRange(const BorderMeshView& view, int a, int b,
                             std::size_t bound = kNoRangeBound);

// Of two border edges meeting at a vertex, the one whose outward direction runs more along the
// player's first edge; b on a tie.
int railDirection(const BorderMeshView& view, const Player& player, int a, int b);

// The scalar projection of v on w: |v| cos(angle between them); 0 when either has no length.
double edgeContribution(const Vector& v, const Vector& w);

// The border loop that starts at the clicked border vertex and runs the player's way, as long as
// the player (shorter when the border ends first). Empty when the vertex has fewer than two
// boundary edges, as it then has no direction to choose.
FuseLoop fuseLoop(const BorderMeshView& view, const Player& player, int clickedVertex);

Point vertexPosition(const BorderMeshView& view, int vertex);
std::vector<Point> vertexPositions(const BorderMeshView& view, std::span<const int> vertices);
std::vector<Point> playerPositions(const BorderMeshView& view, const Player& player);
std::vector<Point> playerPositionsPlus(const BorderMeshView& view, const Player& player,
                                       std::span<const Point> extra);
// Midpoints of a[i] and b[i], as far as the shorter list goes.
std::vector<Point> midpoints(const BorderMeshView& view, std::span<const int> a,
                             std::span<const int> b);

}  // namespace geo
