#include "geometry/overlay.h"

namespace geo {

double backFacing(const Polyline& polygon, const Point& eye) {
    if (polygon.size() < 3) return 0.0;
    const Point& p0 = polygon[0];
    return dot(p0 - eye, cross(polygon[1] - p0, polygon[2] - p0));
}

OverlayLists overlayLists(std::span<const Polyline> polygons, const Point& eye,
                          double cullThreshold) {
    OverlayLists lists;
    for (const Polyline& polygon : polygons) {
        const std::size_t n = polygon.size();
        if (n < 2 || backFacing(polygon, eye) > cullThreshold) continue;
        for (std::size_t i = 2; i < n; ++i) {
            lists.triangles.insert(lists.triangles.end(), {polygon[0], polygon[i - 1], polygon[i]});
        }
        for (std::size_t j = 0; j < n; ++j) {
            lists.edges.insert(lists.edges.end(), {polygon[j], polygon[(j + 1) % n]});
        }
    }
    return lists;
}

}  // namespace geo
