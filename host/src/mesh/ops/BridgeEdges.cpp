#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

namespace {

struct Chain {
    std::vector<int> vertices;  // in walking order; a loop does not repeat its start
    bool closed = false;
};

std::string edgeName(int edge) {
    return "e[" + std::to_string(edge) + "]";
}

//! Walks edges (given in any order) as one simple chain; false when they are
//! not one. An open chain starts at the end whose edge was listed first; a
//! loop starts along the first listed edge.
bool walkChain(const MeshGeometry& mesh, const std::vector<int>& edges, Chain& out) {
    if (edges.empty()) return false;
    std::unordered_map<int, std::vector<std::pair<int, int>>>
        around;  // vertex -> (list position, other end)
    for (int k = 0; k < static_cast<int>(edges.size()); ++k) {
        EdgeVertices ends = mesh.edgeVertices(edges[k]);
        around[ends.first].push_back({k, ends.second});
        around[ends.second].push_back({k, ends.first});
    }
    int start = -1, startEdge = std::numeric_limits<int>::max(), ends = 0;
    for (auto& [vertex, links] : around) {
        if (links.size() > 2) return false;
        if (links.size() == 1) {
            ++ends;
            // On a one-edge chain both ends share the edge: start at its first vertex.
            const bool earlier =
                links[0].first < startEdge || (links[0].first == startEdge &&
                                               vertex == mesh.edgeVertices(edges[startEdge]).first);
            if (earlier) {
                startEdge = links[0].first;
                start = vertex;
            }
        }
    }
    if (ends != 0 && ends != 2) return false;
    Chain chain;
    chain.closed = ends == 0;
    if (chain.closed) start = mesh.edgeVertices(edges[0]).first;
    int previousEdge = -1, vertex = start;
    chain.vertices.push_back(start);
    for (size_t step = 0; step < edges.size(); ++step) {
        const auto& links = around[vertex];
        // A loop's first step follows the first listed edge.
        auto next =
            chain.closed && step == 0
                ? std::find_if(links.begin(), links.end(), [](auto& l) { return l.first == 0; })
                : std::find_if(links.begin(), links.end(),
                               [&](auto& l) { return l.first != previousEdge; });
        if (next == links.end()) return false;  // the edges are not all connected
        previousEdge = next->first;
        vertex = next->second;
        if (vertex == start) {
            if (chain.closed && step + 1 == edges.size()) break;
            return false;
        }
        chain.vertices.push_back(vertex);
    }
    const size_t expected = chain.closed ? edges.size() : edges.size() + 1;
    if (chain.vertices.size() != expected) return false;
    out = std::move(chain);
    return true;
}

//! The edges split into groups connected through shared vertices, in order of first mention.
std::vector<std::vector<int>> connectedGroups(const MeshGeometry& mesh,
                                              const std::vector<int>& edges) {
    std::vector<int> group(edges.size());
    std::iota(group.begin(), group.end(), 0);
    auto root = [&](int k) {
        while (group[k] != k) k = group[k] = group[group[k]];
        return k;
    };
    std::unordered_map<int, int> firstEdgeAt;
    for (int k = 0; k < static_cast<int>(edges.size()); ++k) {
        EdgeVertices ends = mesh.edgeVertices(edges[k]);
        for (int v : {ends.first, ends.second}) {
            auto [it, fresh] = firstEdgeAt.emplace(v, k);
            if (!fresh) {
                int a = root(k), b = root(it->second);
                if (a != b) group[std::max(a, b)] = std::min(a, b);
            }
        }
    }
    std::vector<std::vector<int>> out;
    std::unordered_map<int, size_t> slot;
    for (int k = 0; k < static_cast<int>(edges.size()); ++k) {
        auto [it, fresh] = slot.emplace(root(k), out.size());
        if (fresh) out.emplace_back();
        out[it->second].push_back(edges[k]);
    }
    return out;
}

bool findChains(const MeshGeometry& mesh, const std::vector<int>& edges, Chain& first,
                Chain& second) {
    auto groups = connectedGroups(mesh, edges);
    if (groups.size() == 2 && walkChain(mesh, groups[0], first) &&
        walkChain(mesh, groups[1], second))
        return true;
    // Chains that touch each other cannot be told apart by connection: read
    // the list as pairs, one edge of each chain at a time.
    if (edges.size() % 2 != 0) return false;
    std::vector<int> even, odd;
    for (size_t k = 0; k < edges.size(); ++k) (k % 2 ? odd : even).push_back(edges[k]);
    return walkChain(mesh, even, first) && walkChain(mesh, odd, second);
}

//! Reorders the second chain so that its vertex i pairs with the first's
//! vertex i along the shortest bridge.
void alignChains(const MeshGeometry& mesh, const Chain& first, Chain& second) {
    const int n = static_cast<int>(first.vertices.size());
    auto cost = [&](int shift, bool reversed) {
        double total = 0;
        for (int i = 0; i < n; ++i) {
            int j = reversed ? shift - i : shift + i;
            j = ((j % n) + n) % n;
            total += length(mesh.point(first.vertices[i]) - mesh.point(second.vertices[j]));
        }
        return total;
    };
    int bestShift = 0;
    bool bestReversed = false;
    double best = cost(0, false);
    auto consider = [&](int shift, bool reversed) {
        if (double c = cost(shift, reversed); c < best) {
            best = c;
            bestShift = shift;
            bestReversed = reversed;
        }
    };
    if (first.closed) {
        for (int shift = 0; shift < n; ++shift)
            for (bool reversed : {false, true}) consider(shift, reversed);
    } else {
        consider(n - 1, true);
    }
    std::vector<int> aligned(n);
    for (int i = 0; i < n; ++i) {
        int j = bestReversed ? bestShift - i : bestShift + i;
        aligned[i] = second.vertices[((j % n) + n) % n];
    }
    second.vertices = std::move(aligned);
}

//! Whether the polygon along the chain's first edge runs from its vertex 0 to 1.
bool runsAlongChain(const MeshGeometry& mesh, const Chain& chain) {
    const int a = chain.vertices[0], b = chain.vertices[1 % chain.vertices.size()];
    const int edge = mesh.findEdge(a, b);
    std::span<const int> faces = mesh.edgeFaces(edge);
    if (faces.empty()) return false;
    std::span<const int> v = mesh.faceVertices(faces[0]);
    for (size_t k = 0; k < v.size(); ++k)
        if (v[k] == a) return v[(k + 1) % v.size()] == b;
    return false;
}

//! Appends a polygon of new corners (no UVs) without repeated consecutive corners.
void addPolygon(MeshPlan& plan, std::vector<int> corners) {
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    while (corners.size() > 1 && corners.back() == corners.front()) corners.pop_back();
    if (corners.size() < 3) return;
    plan.counts.push_back(static_cast<int>(corners.size()));
    for (int v : corners) {
        plan.vertices.push_back(v);
        plan.sources.push_back(-1);
    }
}

}  // namespace

MeshStatus bridgeEdges(const MeshGeometry& in, const std::vector<int>& edges, int divisions,
                       MeshGeometry& out) {
    if (divisions < 0) return MeshStatus::failure("the number of divisions cannot be negative");
    for (int e : edges) {
        if (e < 0 || e >= in.numEdges())
            return MeshStatus::failure(edgeName(e) + " does not exist");
        if (!in.isEdgeOnBoundary(e))
            return MeshStatus::failure(edgeName(e) + " is not a border edge");
    }
    Chain first, second;
    if (!findChains(in, edges, first, second))
        return MeshStatus::failure("the edges do not form two chains of border edges");
    const size_t firstEdges = first.closed ? first.vertices.size() : first.vertices.size() - 1;
    const size_t secondEdges = second.closed ? second.vertices.size() : second.vertices.size() - 1;
    if (first.closed != second.closed)
        return MeshStatus::failure("one chain is a closed loop and the other is not");
    if (firstEdges != secondEdges)
        return MeshStatus::failure("the chains have " + std::to_string(firstEdges) + " and " +
                                   std::to_string(secondEdges) +
                                   " edges: a bridge needs as many on both sides");
    alignChains(in, first, second);

    MeshPlan plan = planOf(in);
    const int columns = static_cast<int>(first.vertices.size());
    const int rows = divisions + 2;
    // grid[k][i]: row 0 is the first chain, the last row the second.
    std::vector<std::vector<int>> grid(rows, std::vector<int>(columns));
    grid[0] = first.vertices;
    grid[rows - 1] = second.vertices;
    for (int k = 1; k < rows - 1; ++k)
        for (int i = 0; i < columns; ++i) {
            const int a = first.vertices[i], b = second.vertices[i];
            if (a == b) {
                grid[k][i] = a;  // the chains meet here: nothing to span
                continue;
            }
            const double t = static_cast<double>(k) / (rows - 1);
            grid[k][i] = static_cast<int>(plan.points.size());
            plan.points.push_back(in.point(a) + (in.point(b) - in.point(a)) * t);
            plan.vertexMap.push_back(-1);
        }
    const bool reverse = runsAlongChain(in, first);
    for (int k = 0; k + 1 < rows; ++k)
        for (int i = 0; i < static_cast<int>(firstEdges); ++i) {
            const int j = (i + 1) % columns;
            std::vector<int> quad{grid[k][i], grid[k][j], grid[k + 1][j], grid[k + 1][i]};
            if (reverse) std::reverse(quad.begin(), quad.end());
            addPolygon(plan, std::move(quad));
        }
    plan.vertexMap.resize(in.numVertices());
    return buildFromPlan(in, plan, out);
}

}  // namespace ehost
