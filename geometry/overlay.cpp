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
    overlayLists(polygons, eye, cullThreshold, lists);
    return lists;
}

void overlayLists(std::span<const Polyline> polygons, const Point& eye, double cullThreshold,
                  OverlayLists& out) {
    // Which polygons are kept, and so the lists' exact sizes, first: the lists are
    // filled in place without growing.
    std::vector<unsigned char> kept(polygons.size(), 0);
    std::size_t triangles = 0, edges = 0;
    for (std::size_t f = 0; f < polygons.size(); ++f) {
        const std::size_t n = polygons[f].size();
        if (n < 2 || backFacing(polygons[f], eye) > cullThreshold) continue;
        kept[f] = 1;
        triangles += n > 2 ? 3 * (n - 2) : 0;
        edges += 2 * n;
    }
    out.triangles.resize(triangles);
    out.edges.resize(edges);
    Point* t = out.triangles.data();
    Point* e = out.edges.data();
    for (std::size_t f = 0; f < polygons.size(); ++f) {
        if (!kept[f]) continue;
        const Polyline& polygon = polygons[f];
        const std::size_t n = polygon.size();
        for (std::size_t i = 2; i < n; ++i) {
            *t++ = polygon[0];
            *t++ = polygon[i - 1];
            *t++ = polygon[i];
        }
        for (std::size_t j = 0; j < n; ++j) {
            *e++ = polygon[j];
            *e++ = polygon[(j + 1) % n];
        }
    }
}

}  // namespace geo
