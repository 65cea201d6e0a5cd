#pragma once

#include <span>
#include <vector>

#include "geometry/point.h"

namespace geo {

// What the cut-mesh overlay draws: triangles as consecutive point triples, edges as consecutive
// point pairs. An edge shared by two kept faces is listed once for each.
struct OverlayLists {
    std::vector<Point> triangles;
    std::vector<Point> edges;
};

// How much a polygon faces away from the eye: (p0 - eye) . ((p1 - p0) x (p2 - p0)), negative when
// it faces the eye. Not normalised, so it grows with the face's area and distance. A polygon of
// fewer than three points has no facing and gives 0.
double backFacing(const Polyline& polygon, const Point& eye);

// The overlay of a mesh given as its polygons' world positions: each polygon whose backFacing
// exceeds `cullThreshold` is left out; each kept one gives its fan triangles and its edges.
// Polygons of fewer than two points give nothing.
OverlayLists overlayLists(std::span<const Polyline> polygons, const Point& eye,
                          double cullThreshold);

// The same into `out`, whose earlier contents go; its storage is kept, so that an overlay
// rebuilt on every refresh allocates only when the mesh grows.
void overlayLists(std::span<const Polyline> polygons, const Point& eye, double cullThreshold,
                  OverlayLists& out);

}  // namespace geo
