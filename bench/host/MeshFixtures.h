#pragma once
// Meshes and query sets shared by the mesh benchmarks. Everything is generated
// from fixed seeds so runs compare.

#include "host/src/core/Vec3.h"
#include "host/src/mesh/MeshGeometry.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace bench {

using ehost::MeshGeometry;
using ehost::Vec3;

struct PolygonArrays {
    std::vector<Vec3> points;
    std::vector<int> counts, connects;
};

// A bumpy latitude/longitude sphere of radius about 1: triangle fans at the
// poles, quads elsewhere; 2 * lon * (lat - 1) triangles.
inline PolygonArrays bumpySphere(int lat, int lon) {
    PolygonArrays a;
    auto at = [](double theta, double phi) {
        const double r = 1 + 0.04 * std::sin(9 * theta) * std::sin(11 * phi) +
                         0.01 * std::sin(40 * theta + 3 * phi);
        return Vec3(r * std::sin(theta) * std::cos(phi), r * std::sin(theta) * std::sin(phi),
                    r * std::cos(theta));
    };
    const double pi = std::numbers::pi;
    a.points.push_back(at(0, 0));
    for (int i = 1; i < lat; ++i)
        for (int j = 0; j < lon; ++j) a.points.push_back(at(pi * i / lat, 2 * pi * j / lon));
    a.points.push_back(at(pi, 0));
    const int south = static_cast<int>(a.points.size()) - 1;
    auto ring = [lon](int i, int j) { return 1 + (i - 1) * lon + (j % lon); };
    for (int j = 0; j < lon; ++j) {
        a.counts.push_back(3);
        a.connects.insert(a.connects.end(), {0, ring(1, j), ring(1, j + 1)});
    }
    for (int i = 1; i < lat - 1; ++i)
        for (int j = 0; j < lon; ++j) {
            a.counts.push_back(4);
            a.connects.insert(a.connects.end(),
                              {ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1)});
        }
    for (int j = 0; j < lon; ++j) {
        a.counts.push_back(3);
        a.connects.insert(a.connects.end(), {ring(lat - 1, j), south, ring(lat - 1, j + 1)});
    }
    return a;
}

// About a million triangles (998,000), built once per process.
inline const MeshGeometry& millionTriangleSphere() {
    static const MeshGeometry mesh = [] {
        const PolygonArrays a = bumpySphere(500, 1000);
        MeshGeometry m;
        m.create(a.points, a.counts, a.connects);
        return m;
    }();
    return mesh;
}

// A flat grid of n by n unit-spaced quads in the creation format.
inline PolygonArrays quadGrid(int n) {
    PolygonArrays a;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) a.points.push_back({double(i), double(j), 0});
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int v = j * (n + 1) + i;
            a.counts.push_back(4);
            a.connects.insert(a.connects.end(), {v, v + 1, v + n + 2, v + n + 1});
        }
    return a;
}

struct Ray {
    Vec3 origin, dir;
};

// Rays from a sphere of radius 3 towards points near the centre: each crosses
// the surface twice. Directions are not normalized.
inline std::vector<Ray> sphereRays(int count) {
    std::mt19937 rng(12345);
    std::normal_distribution<double> gauss;
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<Ray> rays;
    while (static_cast<int>(rays.size()) < count) {
        Vec3 o(gauss(rng), gauss(rng), gauss(rng));
        if (ehost::length(o) < 1e-3) continue;
        o = ehost::normalized(o) * 3;
        const Vec3 target(0.5 * unit(rng), 0.5 * unit(rng), 0.5 * unit(rng));
        rays.push_back({o, target - o});
    }
    return rays;
}

// Points near the surface of the unit sphere, inside and outside (where surface
// capture and snapping ask; from the centre every triangle is about as near).
inline std::vector<Vec3> shellPoints(int count) {
    std::mt19937 rng(6789);
    std::normal_distribution<double> gauss;
    std::uniform_real_distribution<double> radius(0.8, 1.25);
    std::vector<Vec3> points;
    while (static_cast<int>(points.size()) < count) {
        Vec3 d(gauss(rng), gauss(rng), gauss(rng));
        if (ehost::length(d) < 1e-3) continue;
        points.push_back(ehost::normalized(d) * radius(rng));
    }
    return points;
}

}  // namespace bench
