#include "geometry/border_walk.h"

#include <algorithm>
#include <cmath>

namespace geo {
namespace {

bool touchesVertex(const BorderMeshView& view, int edge, int vertex) {
    const auto [v0, v1] = view.ends(edge);
    return v0 == vertex || v1 == vertex;
}

struct PassResult {
    int current;
    bool grew;
    bool reachedTarget;
};

// One pass of a border walk: every border edge touching `current` (as listed when the pass
// starts) that is not excluded and not yet walked is added and becomes current. The pass ends
// early when an added edge touches `target`.
PassResult walkPass(const BorderMeshView& view, std::vector<int>& chain, int current, int excluded,
                    int target) {
    PassResult result{current, false, false};
    for (int next : view.edgesTouching(current)) {
        if (next == excluded || !isBorderEdge(view, next) || listHas(next, chain)) continue;
        chain.push_back(next);
        result.current = next;
        result.grew = true;
        if (target != kNoIndex && touchesVertex(view, next, target)) {
            result.reachedTarget = true;
            return result;
        }
    }
    return result;
}

// The player's direction: its first edge, from its first vertex.
Vector playerDirection(const BorderMeshView& view, const Player& player) {
    const std::vector<int> chain = vertexChain(view, player.edges, player.start);
    if (chain.size() < 2) return {};
    return view.position(chain[1]) - view.position(chain[0]);
}

}  // namespace

bool isBorderEdge(const BorderMeshView& view, int edge) {
    return view.hasEdge(edge) && static_cast<std::size_t>(edge) < view.boundary.size() &&
           view.boundary[edge];
}

bool listHas(int value, std::span<const int> list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool edgeJoins(const BorderMeshView& view, int edge, int a, int b) {
    if (!view.hasEdge(edge)) return false;
    const auto [v0, v1] = view.ends(edge);
    return (v0 == a && v1 == b) || (v0 == b && v1 == a);
}

std::vector<int> vertexChain(const BorderMeshView& view, std::span<const int> edges, int start) {
    std::vector<int> chain{start};
    int current = start;
    for (int edge : edges) {
        if (!view.hasEdge(edge)) continue;
        const auto [v0, v1] = view.ends(edge);
        if (v0 != current) {
            current = v0;
        } else if (v1 != current) {
            current = v1;
        } else {
            continue;
        }
        chain.push_back(current);
    }
    return chain;
}

BoundaryEdges boundaryEdgesAt(const BorderMeshView& view, std::span<const int> edges, int first,
                              int second) {
    BoundaryEdges found{{}, first, second};
    bool haveFirst = false;
    for (int edge : edges) {
        if (!isBorderEdge(view, edge)) continue;
        if (!haveFirst) {
            found.first = edge;
            haveFirst = true;
            found.edges.push_back(edge);
        } else if (edge != found.first) {
            found.second = edge;
            found.edges.push_back(edge);
        }
    }
    return found;
}

BorderWalk walkBorder(const BorderMeshView& view, int target, int start, int excluded) {
    BorderWalk walk;
    if (!view.hasEdge(start)) return walk;
    walk.edges.push_back(start);
    int current = start;
    for (int pass = 0; pass < kBorderWalkPasses; ++pass) {
        const PassResult step = walkPass(view, walk.edges, current, excluded, target);
        if (step.reachedTarget) {
            walk.reached = true;
            return walk;
        }
        // A pass that adds nothing sees the same edges and the same chain next time.
        if (!step.grew) break;
        current = step.current;
    }
    return walk;
}

std::vector<int> borderRange(const BorderMeshView& view, int a, int b, std::size_t bound) {
    const BoundaryEdges atA = boundaryEdgesAt(view, view.edgesAround(a), kNoIndex, kNoIndex);
    if (atA.edges.empty()) return {};
    const int g = atA.first;
    const int h = atA.second;
    if (edgeJoins(view, g, a, b)) return {g};
    if (edgeJoins(view, h, a, b)) return {h};
    // Leaving by h must be strictly shorter to beat leaving by g. The two walks are made once:
    // walking them again for every boundary edge at a could not change the result, since a
    // repeat is never strictly shorter than itself.
    std::vector<int> best;
    for (const auto& [start, excluded] : {std::pair{g, h}, std::pair{h, g}}) {
        BorderWalk walk = walkBorder(view, b, start, excluded);
        const std::size_t length = walk.edges.size();
        if (walk.reached && length > 0 && length < bound) {
            best = std::move(walk.edges);
            bound = length;
        }
    }
    return best;
}

double edgeContribution(const Vector& v, const Vector& w) {
    const double lv = length(v);
    const double lw = length(w);
    if (lv == 0.0 || lw == 0.0) return 0.0;
    // Through the angle, as the host's vector angle gives it, so that equal angles give equal
    // contributions bit for bit.
    const double angle = std::acos(std::clamp(dot(v, w) / (lv * lw), -1.0, 1.0));
    return lv * std::cos(angle);
}

int railDirection(const BorderMeshView& view, const Player& player, int a, int b) {
    const Vector along = playerDirection(view, player);
    const auto [a0, a1] = view.ends(a);
    const auto [b0, b1] = view.ends(b);
    int shared = kNoIndex;
    if (a0 == b0 || a0 == b1) {
        shared = a0;
    } else if (a1 == b0 || a1 == b1) {
        shared = a1;
    }
    // b's far vertex is chosen by a's orientation: for two edges stored head to tail this gives
    // both edges' vectors pointing away from the shared vertex.
    const Point m = view.position(shared);
    const bool aStartsAtShared = a0 == shared;
    const Vector vA = view.position(aStartsAtShared ? a1 : a0) - m;
    const Vector vB = view.position(aStartsAtShared ? b0 : b1) - m;
    return edgeContribution(vA, along) > edgeContribution(vB, along) ? a : b;
}

FuseLoop fuseLoop(const BorderMeshView& view, const Player& player, int clickedVertex) {
    const BoundaryEdges atV =
        boundaryEdgesAt(view, view.edgesAround(clickedVertex), kNoIndex, kNoIndex);
    if (atV.edges.size() < 2) return {};
    const int d = atV.first;
    const int s = atV.second;
    const std::vector<int> playerChain = vertexChain(view, player.edges, player.start);
    const int start = railDirection(view, player, d, s);
    const int excluded = start == d ? s : d;

    FuseLoop loop;
    loop.edges.push_back(start);
    int current = start;
    for (std::size_t pass = 1; pass < playerChain.size(); ++pass) {
        const PassResult step = walkPass(view, loop.edges, current, excluded, kNoIndex);
        if (!step.grew) break;
        current = step.current;
    }
    loop.vertices = vertexChain(view, loop.edges, clickedVertex);
    // Fuse vertex i pairs with player vertex i; a border that ends first gives fewer pairs.
    if (loop.vertices.size() > playerChain.size()) loop.vertices.resize(playerChain.size());
    return loop;
}

Point vertexPosition(const BorderMeshView& view, int vertex) {
    return view.position(vertex);
}

std::vector<Point> vertexPositions(const BorderMeshView& view, std::span<const int> vertices) {
    std::vector<Point> points;
    points.reserve(vertices.size());
    for (int v : vertices) points.push_back(view.position(v));
    return points;
}

std::vector<Point> playerPositions(const BorderMeshView& view, const Player& player) {
    return vertexPositions(view, vertexChain(view, player.edges, player.start));
}

std::vector<Point> playerPositionsPlus(const BorderMeshView& view, const Player& player,
                                       std::span<const Point> extra) {
    std::vector<Point> points = playerPositions(view, player);
    points.insert(points.end(), extra.begin(), extra.end());
    return points;
}

std::vector<Point> midpoints(const BorderMeshView& view, std::span<const int> a,
                             std::span<const int> b) {
    const std::size_t count = std::min(a.size(), b.size());
    std::vector<Point> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Point pa = view.position(a[i]);
        points.push_back(pa + (view.position(b[i]) - pa) * 0.5);
    }
    return points;
}

}  // namespace geo
