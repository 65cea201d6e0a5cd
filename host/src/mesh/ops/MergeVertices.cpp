#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

namespace {

class Groups {
public:
    explicit Groups(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
    size_t root(size_t i) {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }
    void join(size_t a, size_t b) {
        a = root(a);
        b = root(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<size_t> parent_;
};

//! Joins every pair of the points within distance, through a grid of cells
//! one distance wide (only neighbouring cells can hold such pairs).
void joinClosePoints(const std::vector<Vec3>& points, double distance, Groups& groups) {
    BoundingBox box;
    for (const Vec3& p : points) {
        box.min = box.empty ? p
                            : Vec3{std::min(box.min.x, p.x), std::min(box.min.y, p.y),
                                   std::min(box.min.z, p.z)};
        box.max = box.empty ? p
                            : Vec3{std::max(box.max.x, p.x), std::max(box.max.y, p.y),
                                   std::max(box.max.z, p.z)};
        box.empty = false;
    }
    if (points.empty()) return;
    if (length(box.max - box.min) <= distance) {
        for (size_t i = 1; i < points.size(); ++i) groups.join(0, i);
        return;
    }
    // Cells are at least one distance wide; wider ones (tiny or zero distances)
    // only cost time, and keep the cell numbers in range.
    const double extent = length(box.max - box.min);
    double cell = std::max(distance, extent * 1e-9);
    if (!(cell > 0)) cell = 1.0;
    auto cellOf = [&](const Vec3& p, int axis) {
        return static_cast<std::int64_t>(std::floor((p[axis] - box.min[axis]) / cell));
    };
    auto key = [](std::int64_t x, std::int64_t y, std::int64_t z) {
        return static_cast<std::uint64_t>(x) * 73856093u ^
               static_cast<std::uint64_t>(y) * 19349663u ^
               static_cast<std::uint64_t>(z) * 83492791u;
    };
    std::unordered_multimap<std::uint64_t, size_t> grid;
    const double limit = distance * distance;
    for (size_t i = 0; i < points.size(); ++i) {
        const std::int64_t cx = cellOf(points[i], 0), cy = cellOf(points[i], 1),
                           cz = cellOf(points[i], 2);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    auto range = grid.equal_range(key(cx + dx, cy + dy, cz + dz));
                    for (auto it = range.first; it != range.second; ++it)
                        if (lengthSquared(points[it->second] - points[i]) <= limit)
                            groups.join(i, it->second);
                }
        grid.emplace(key(cx, cy, cz), i);
    }
}

//! The polygon's corners after the vertex remap, without corners that fall
//! onto the previous one; empty when the polygon degenerates.
std::vector<int> mergedCorners(const MeshGeometry& in, int face, const std::vector<int>& survivor) {
    std::vector<int> corners;  // local corner indices
    std::span<const int> v = in.faceVertices(face);
    for (int k = 0; k < static_cast<int>(v.size()); ++k)
        if (corners.empty() || survivor[v[corners.back()]] != survivor[v[k]]) corners.push_back(k);
    while (corners.size() > 1 && survivor[v[corners.back()]] == survivor[v[corners.front()]])
        corners.pop_back();
    if (corners.size() < 3) return {};
    for (size_t a = 0; a < corners.size(); ++a)
        for (size_t b = a + 1; b < corners.size(); ++b)
            if (survivor[v[corners[a]]] == survivor[v[corners[b]]]) return {};
    return corners;
}

}  // namespace

MeshStatus mergeVertices(const MeshGeometry& in, const std::vector<int>& vertices, double distance,
                         bool alwaysMergeTwo, MeshGeometry& out) {
    if (!(distance >= 0) || !std::isfinite(distance))
        return MeshStatus::failure("the merge distance must be a finite number of at least 0");
    std::vector<int> ids = vertices;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (int v : ids)
        if (v < 0 || v >= in.numVertices())
            return MeshStatus::failure("vertex " + std::to_string(v) + " does not exist");

    Groups groups(ids.size());
    if (alwaysMergeTwo && ids.size() == 2) {
        groups.join(0, 1);
    } else {
        std::vector<Vec3> points;
        for (int v : ids) points.push_back(in.point(v));
        joinClosePoints(points, distance, groups);
    }

    // Each group becomes its lowest vertex (ids are ascending, so the root's).
    std::vector<int> survivor(in.numVertices());
    std::iota(survivor.begin(), survivor.end(), 0);
    std::vector<Vec3> sum(ids.size());
    std::vector<int> members(ids.size(), 0);
    for (size_t i = 0; i < ids.size(); ++i) {
        const size_t r = groups.root(i);
        survivor[ids[i]] = ids[r];
        sum[r] += in.point(ids[i]);
        ++members[r];
    }
    std::vector<Vec3> points = in.points();
    for (size_t i = 0; i < ids.size(); ++i)
        if (members[i] > 1) points[ids[i]] = sum[i] / members[i];

    MeshPlan plan;
    std::vector<char> usedBefore(in.numVertices(), 0), usedAfter(in.numVertices(), 0);
    std::vector<int> keptCorners;
    plan.counts.reserve(in.numFaces());
    plan.vertices.reserve(in.numFaceVertices());
    plan.sources.reserve(in.numFaceVertices());
    auto keep = [&](int f, std::span<const int> v, int k) {
        plan.vertices.push_back(survivor[v[k]]);
        plan.sources.push_back(in.faceOffsets()[f] + k);
        usedAfter[survivor[v[k]]] = 1;
    };
    for (int f = 0; f < in.numFaces(); ++f) {
        std::span<const int> v = in.faceVertices(f);
        bool touched = false;
        for (int vertex : v) {
            usedBefore[vertex] = 1;
            touched = touched || survivor[vertex] != vertex;
        }
        // Most polygons keep every corner: only those touching a merge are redone.
        if (!touched) {
            plan.counts.push_back(static_cast<int>(v.size()));
            for (int k = 0; k < static_cast<int>(v.size()); ++k) keep(f, v, k);
            continue;
        }
        std::vector<int> corners = mergedCorners(in, f, survivor);
        if (corners.empty()) continue;
        plan.counts.push_back(static_cast<int>(corners.size()));
        for (int k : corners) keep(f, v, k);
    }
    // Keep the merged groups' survivors and every vertex still used (or never used).
    plan.vertexMap.assign(in.numVertices(), -1);
    for (int v = 0; v < in.numVertices(); ++v) {
        const bool kept = survivor[v] == v && (usedAfter[v] || !usedBefore[v]);
        if (!kept) continue;
        plan.vertexMap[v] = static_cast<int>(plan.points.size());
        plan.points.push_back(points[v]);
    }
    for (int& vertex : plan.vertices) vertex = plan.vertexMap[vertex];
    // Hard edges of merged vertices carry over to the vertex they became.
    for (int v = 0; v < in.numVertices(); ++v)
        if (survivor[v] != v) plan.vertexMap[v] = plan.vertexMap[survivor[v]];
    return buildFromPlan(in, plan, out);
}

}  // namespace ehost
