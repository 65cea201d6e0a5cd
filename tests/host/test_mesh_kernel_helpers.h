#pragma once
// Known meshes shared by the MeshGeometry (mesh kernel) tests.

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "host/src/mesh/MeshGeometry.h"

namespace meshkernel {

using ehost::MeshGeometry;
using ehost::Vec3;

inline std::vector<int> list(std::span<const int> s) {
    return {s.begin(), s.end()};
}

//! A mesh from the creation arrays, failing the test when they are refused.
inline MeshGeometry made(const std::vector<Vec3>& points, const std::vector<int>& counts,
                         const std::vector<int>& ids) {
    MeshGeometry m;
    const ehost::MeshStatus s = m.create(points, counts, ids);
    EXPECT_TRUE(s.ok()) << s.error;
    return m;
}

// The unit square at height z, one quad: fan triangles (0,1,2) and (0,2,3).
inline MeshGeometry square(double z = 0) {
    return made({{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}}, {4}, {0, 1, 2, 3});
}

// Two quads side by side: 0-1-2 along the bottom, 3-4-5 along the top.
inline MeshGeometry strip() {
    return made({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}}, {4, 4},
                {0, 1, 4, 3, 1, 2, 5, 4});
}

// Unit cube centred on offset, outward faces: front (z+), top, back, bottom,
// right (x+), left.
inline MeshGeometry cube(const Vec3& offset = {}) {
    std::vector<Vec3> points = {{-.5, -.5, .5}, {.5, -.5, .5}, {-.5, .5, .5},   {.5, .5, .5},
                                {-.5, .5, -.5}, {.5, .5, -.5}, {-.5, -.5, -.5}, {.5, -.5, -.5}};
    for (Vec3& p : points) p += offset;
    return made(points, {4, 4, 4, 4, 4, 4},
                {0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4});
}

// nx by ny quads of the given spacing from offset; face (i, j) has id j * nx + i.
inline MeshGeometry grid(int nx, int ny, double spacing = 1, const Vec3& offset = {}) {
    std::vector<Vec3> points;
    std::vector<int> counts, ids;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) points.push_back(offset + Vec3(i * spacing, j * spacing, 0));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int v = j * (nx + 1) + i;
            counts.push_back(4);
            ids.insert(ids.end(), {v, v + 1, v + nx + 2, v + nx + 1});
        }
    return made(points, counts, ids);
}

}  // namespace meshkernel
