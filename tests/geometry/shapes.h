#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/border_mesh_view.h"
#include "geometry/point.h"

namespace geo::testing {

inline Polyline line(Point from, Point to, int points) {
    Polyline out;
    for (int i = 0; i < points; ++i) out.push_back(from + (to - from) * (double(i) / (points - 1)));
    return out;
}

// Points on a circle of radius 1 around the origin, from angle 0 to `turn` (in full turns).
inline Polyline arc(double turn, int points) {
    Polyline out;
    for (int k = 0; k < points; ++k) {
        const double angle = 2.0 * std::numbers::pi * turn * k / (points - 1);
        out.push_back({std::cos(angle), std::sin(angle), 0.0});
    }
    return out;
}

// A cols x rows grid of quads in the plane z = 0, vertex (i, j) at (x + i, y + j) with id
// first + j * (cols + 1) + i; faces wound counter-clockwise seen from +z.
inline void addGrid(std::vector<Point>& points, std::vector<std::vector<int>>& faces, int cols,
                    int rows, double x = 0, double y = 0) {
    const int first = static_cast<int>(points.size());
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= cols; ++i) points.push_back({x + i, y + j, 0.0});
    const auto id = [&](int i, int j) { return first + j * (cols + 1) + i; };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            faces.push_back({id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)});
}

inline BorderMeshView gridView(int cols, int rows) {
    std::vector<Point> points;
    std::vector<std::vector<int>> faces;
    addGrid(points, faces, cols, rows);
    return makeBorderMeshView(points, faces);
}

// The edge joining two vertices, or kNoIndex.
inline int edgeBetween(const BorderMeshView& view, int a, int b) {
    for (int e : view.edgesAround(a))
        if (view.ends(e)[0] == b || view.ends(e)[1] == b) return e;
    return kNoIndex;
}

}  // namespace geo::testing
