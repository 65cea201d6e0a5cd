// The host's polygon primitives, vertex and face order included, so that
// component ids written against a fresh primitive name the expected corners.

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

#include "host/src/mesh/ops/MeshOps.h"

namespace ehost {

namespace {

//! Polygons with their vertex ids and UV ids corner by corner.
struct Builder {
    std::vector<Vec3> points;
    std::vector<float> u, v;
    std::vector<int> counts, vertices, uvIds;

    int point(const Vec3& p) {
        points.push_back(p);
        return static_cast<int>(points.size()) - 1;
    }
    int uv(double uu, double vv) {
        u.push_back(static_cast<float>(uu));
        v.push_back(static_cast<float>(vv));
        return static_cast<int>(u.size()) - 1;
    }
    void polygon(std::initializer_list<std::pair<int, int>> corners) {
        counts.push_back(static_cast<int>(corners.size()));
        for (auto [vertex, uvId] : corners) {
            vertices.push_back(vertex);
            uvIds.push_back(uvId);
        }
    }
    MeshGeometry finish() const {
        MeshGeometry mesh;
        mesh.create(points, counts, vertices);
        mesh.setUVs(u, v);
        mesh.assignUVs(counts, uvIds);
        return mesh;
    }
};

}  // namespace

MeshGeometry makeSphere(double radius, int axisDivisions, int heightDivisions) {
    const int sx = axisDivisions, sy = heightDivisions, rings = sy - 1;
    const double pi = std::numbers::pi;
    Builder b;
    for (int j = 1; j <= rings; ++j) {
        const double phi = -pi / 2 + pi * j / sy;
        const double y = radius * std::sin(phi), ring = radius * std::cos(phi);
        // The host's first vertex of a ring lies one step clockwise from +X
        // (seen from above); ids run on clockwise, so quads face outwards.
        for (int i = 0; i < sx; ++i) {
            const double theta = -2 * pi * (i + 1) / sx;
            b.point({ring * std::cos(theta), y, ring * std::sin(theta)});
        }
    }
    const int bottom = b.point({0, -radius, 0});
    const int top = b.point({0, radius, 0});
    auto vertex = [&](int ring, int i) { return (ring - 1) * sx + i % sx; };
    for (int j = 1; j <= rings; ++j)
        for (int i = 0; i <= sx; ++i)
            b.uv(static_cast<double>(i) / sx, static_cast<double>(j) / sy);
    auto uvAt = [&](int ring, int i) { return (ring - 1) * (sx + 1) + i; };
    std::vector<int> bottomUVs, topUVs;
    for (int i = 0; i < sx; ++i) bottomUVs.push_back(b.uv((i + 0.5) / sx, 0));
    for (int i = 0; i < sx; ++i) topUVs.push_back(b.uv((i + 0.5) / sx, 1));
    for (int j = 1; j < rings; ++j)
        for (int i = 0; i < sx; ++i)
            b.polygon({{vertex(j, i), uvAt(j, i)},
                       {vertex(j, i + 1), uvAt(j, i + 1)},
                       {vertex(j + 1, i + 1), uvAt(j + 1, i + 1)},
                       {vertex(j + 1, i), uvAt(j + 1, i)}});
    for (int i = 0; i < sx; ++i)
        b.polygon({{vertex(1, i), uvAt(1, i)},
                   {bottom, bottomUVs[i]},
                   {vertex(1, i + 1), uvAt(1, i + 1)}});
    for (int i = 0; i < sx; ++i)
        b.polygon({{vertex(rings, i), uvAt(rings, i)},
                   {vertex(rings, i + 1), uvAt(rings, i + 1)},
                   {top, topUVs[i]}});
    return b.finish();
}

namespace {

//! Vertex and UV numbering of a subdivided cube. The "loop" is the ring of
//! (y, z) grid points around the X axis: up the front (z = +), back over the
//! top, down the back and forward along the bottom.
struct CubeGrid {
    int sx, sy, sz;

    int loopLength() const { return 2 * (sy + sz); }
    //! Position on the loop of the border point (yi, zi), yi in [0, sy], zi in [0, sz].
    int loopIndex(int yi, int zi) const {
        if (zi == sz && yi < sy) return yi;                 // front, going up
        if (yi == sy && zi > 0) return sy + (sz - zi);      // top, going back
        if (zi == 0 && yi > 0) return sy + sz + (sy - yi);  // back, going down
        return (2 * sy + sz + zi) % loopLength();           // bottom, coming forward
    }
    int loopVertex(int row, int column) const { return (row % loopLength()) * (sx + 1) + column; }
    //! +X side when right, else -X side.
    int sideVertex(bool right, int yi, int zi) const {
        if (yi == 0 || yi == sy || zi == 0 || zi == sz)
            return loopVertex(loopIndex(yi, zi), right ? sx : 0);
        const int inner = (sy - 1) * (sz - 1);
        return loopLength() * (sx + 1) + (right ? 0 : inner) + (yi - 1) * (sz - 1) + (zi - 1);
    }
};

}  // namespace

MeshGeometry makeCube(double width, double height, double depth, int widthDivisions,
                      int heightDivisions, int depthDivisions) {
    const CubeGrid g{widthDivisions, heightDivisions, depthDivisions};
    const int sx = g.sx, sy = g.sy, sz = g.sz, loop = g.loopLength();
    auto x = [&](int i) { return -width / 2 + width * i / sx; };
    auto y = [&](int i) { return -height / 2 + height * i / sy; };
    auto z = [&](int i) { return -depth / 2 + depth * i / sz; };
    // Loop position -> (yi, zi).
    std::vector<std::pair<int, int>> border(loop);
    for (int yi = 0; yi <= sy; ++yi)
        for (int zi = 0; zi <= sz; ++zi)
            if (yi == 0 || yi == sy || zi == 0 || zi == sz) border[g.loopIndex(yi, zi)] = {yi, zi};
    Builder b;
    for (int row = 0; row < loop; ++row)
        for (int i = 0; i <= sx; ++i) b.point({x(i), y(border[row].first), z(border[row].second)});
    for (bool right : {true, false})
        for (int yi = 1; yi < sy; ++yi)
            for (int zi = 1; zi < sz; ++zi) b.point({right ? width / 2 : -width / 2, y(yi), z(zi)});

    // UVs: the loop unrolled as a strip in u 0.375..0.625 (front 0..0.25,
    // top, back, bottom up to 1), the +X side to its right and the -X side to
    // its left, both beside the front.
    auto stripV = [&](int row) {
        auto [yi, zi] = border[row % loop];
        if (row < sy) return 0.25 * yi / sy;
        if (row < sy + sz) return 0.25 + 0.25 * (sz - zi) / sz;
        if (row < 2 * sy + sz) return 0.5 + 0.25 * (sy - yi) / sy;
        return 0.75 + 0.25 * (row - (2 * sy + sz)) / sz;
    };
    for (int row = 0; row <= loop; ++row)
        for (int i = 0; i <= sx; ++i) b.uv(0.375 + 0.25 * i / sx, stripV(row));
    auto stripUV = [&](int row, int i) { return row * (sx + 1) + i; };
    // The sides share the front's outer columns (rows 0..sy of the strip).
    std::vector<int> rightUV((sy + 1) * (sz + 1)), leftUV((sy + 1) * (sz + 1));
    auto at = [&](int yi, int zi) { return yi * (sz + 1) + zi; };
    for (int yi = 0; yi <= sy; ++yi) {
        rightUV[at(yi, sz)] = stripUV(yi, sx);
        leftUV[at(yi, sz)] = stripUV(yi, 0);
    }
    for (int step = 1; step <= sz; ++step)
        for (int yi = 0; yi <= sy; ++yi)
            rightUV[at(yi, sz - step)] = b.uv(0.625 + 0.25 * step / sz, 0.25 * yi / sy);
    for (int zi = 0; zi < sz; ++zi)
        for (int yi = 0; yi <= sy; ++yi)
            leftUV[at(yi, zi)] = b.uv(0.125 + 0.25 * zi / sz, 0.25 * yi / sy);

    for (int row = 0; row < loop; ++row)
        for (int i = 0; i < sx; ++i)
            b.polygon({{g.loopVertex(row, i), stripUV(row, i)},
                       {g.loopVertex(row, i + 1), stripUV(row, i + 1)},
                       {g.loopVertex(row + 1, i + 1), stripUV(row + 1, i + 1)},
                       {g.loopVertex(row + 1, i), stripUV(row + 1, i)}});
    for (int a = 0; a < sz; ++a)
        for (int yi = 0; yi < sy; ++yi) {
            const int z0 = sz - a, z1 = sz - a - 1;
            b.polygon({{g.sideVertex(true, yi, z0), rightUV[at(yi, z0)]},
                       {g.sideVertex(true, yi, z1), rightUV[at(yi, z1)]},
                       {g.sideVertex(true, yi + 1, z1), rightUV[at(yi + 1, z1)]},
                       {g.sideVertex(true, yi + 1, z0), rightUV[at(yi + 1, z0)]}});
        }
    for (int zi = 0; zi < sz; ++zi)
        for (int yi = 0; yi < sy; ++yi)
            b.polygon({{g.sideVertex(false, yi, zi), leftUV[at(yi, zi)]},
                       {g.sideVertex(false, yi, zi + 1), leftUV[at(yi, zi + 1)]},
                       {g.sideVertex(false, yi + 1, zi + 1), leftUV[at(yi + 1, zi + 1)]},
                       {g.sideVertex(false, yi + 1, zi), leftUV[at(yi + 1, zi)]}});
    return b.finish();
}

MeshGeometry makePlane(double width, double height, int widthDivisions, int heightDivisions) {
    const int sx = widthDivisions, sy = heightDivisions;
    Builder b;
    for (int r = 0; r <= sy; ++r)
        for (int c = 0; c <= sx; ++c) {
            b.point({-width / 2 + width * c / sx, 0, height / 2 - height * r / sy});
            b.uv(static_cast<double>(c) / sx, static_cast<double>(r) / sy);
        }
    auto id = [&](int r, int c) { return r * (sx + 1) + c; };
    for (int r = 0; r < sy; ++r)
        for (int c = 0; c < sx; ++c)
            b.polygon({{id(r, c), id(r, c)},
                       {id(r, c + 1), id(r, c + 1)},
                       {id(r + 1, c + 1), id(r + 1, c + 1)},
                       {id(r + 1, c), id(r + 1, c)}});
    return b.finish();
}

}  // namespace ehost
