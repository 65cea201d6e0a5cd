#include "host/src/view/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "host/src/mesh/MeshGeometry.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/view/Panel.h"

namespace ehost {

namespace {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

Rgb mix(const Rgb& under, const Rgb& over, float alpha) {
    return {under.r + (over.r - under.r) * alpha, under.g + (over.g - under.g) * alpha,
            under.b + (over.b - under.b) * alpha};
}

Vec3 transformPoint(const MMatrix& m, const Vec3& p) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

//! A vertex on the sample grid (origin top left). The key grows towards the
//! eye and varies linearly across the screen: the reciprocal of the depth
//! in a perspective view, the negated depth in an orthographic one.
struct Projected {
    double x = 0, y = 0, key = 0;
    bool ok = false;
};

constexpr double kNothing = -std::numeric_limits<double>::infinity();

class Samples {
public:
    Samples(const ViewFrame& view, int supersample)
        : view_(view),
          ss_(supersample),
          width_(view.width() * supersample),
          height_(view.height() * supersample),
          color_(static_cast<size_t>(width_) * height_),
          key_(color_.size(), kNothing),
          wire_(color_.size(), 0) {}

    void background(const ClearState& clear) {
        const Rgb top{clear.top.r, clear.top.g, clear.top.b};
        const Rgb bottom{clear.bottom.r, clear.bottom.g, clear.bottom.b};
        for (int y = 0; y < height_; ++y) {
            // Where a linear gradient from the top row to the bottom one stands.
            const float t = clear.gradient ? static_cast<float>((y + 0.5) / height_) : 0.0f;
            std::fill_n(color_.begin() + static_cast<ptrdiff_t>(y) * width_, width_,
                        mix(top, bottom, t));
        }
    }

    Projected project(const Vec3& p) const {
        Projected out;
        const double depth = view_.depth(p);
        if (!view_.ortho() && depth < view_.nearClip()) return out;
        double x, y;
        if (!view_.project(p, x, y)) return out;
        out.x = x * ss_;
        out.y = (view_.height() - y) * ss_;
        out.key = view_.ortho() ? -depth : 1.0 / depth;
        out.ok = std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.key);
        return out;
    }

    //! Fills a triangle where it is nearer than what the samples hold.
    void fill(const Projected& a, const Projected& b, const Projected& c, const Rgb& color,
              float alpha) {
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (area == 0 || !std::isfinite(area)) return;
        const double minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
        const double minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
        if (maxX < 0 || maxY < 0 || minX >= width_ || minY >= height_) return;
        const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
        const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(maxX)));
        const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
        const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(maxY)));
        const double inverse = 1.0 / area;
        // Edge functions, each positive on the triangle's side, stepped per sample.
        auto edge = [&](const Projected& p, const Projected& q, double& dx, double& dy,
                        double& at) {
            dx = -(q.y - p.y) * inverse;
            dy = (q.x - p.x) * inverse;
            const double sx = x0 + 0.5, sy = y0 + 0.5;
            at = ((q.x - p.x) * (sy - p.y) - (q.y - p.y) * (sx - p.x)) * inverse;
        };
        double ax, ay, wa, bx, by, wb, cx, cy, wc;
        edge(b, c, ax, ay, wa);  // weight of a
        edge(c, a, bx, by, wb);  // weight of b
        edge(a, b, cx, cy, wc);  // weight of c
        for (int y = y0; y <= y1; ++y) {
            double ua = wa, ub = wb, uc = wc;
            const size_t row = static_cast<size_t>(y) * width_;
            for (int x = x0; x <= x1; ++x) {
                if (ua >= 0 && ub >= 0 && uc >= 0) {
                    const double key = ua * a.key + ub * b.key + uc * c.key;
                    const size_t i = row + x;
                    if (key > key_[i]) {
                        key_[i] = key;
                        color_[i] = alpha >= 1 ? color : mix(color_[i], color, alpha);
                    }
                }
                ua += ax;
                ub += bx;
                uc += cx;
            }
            wa += ay;
            wb += by;
            wc += cy;
        }
    }

    //! Marks the samples of a segment that lie on the nearest surface (or
    //! in front of it): two samples wide, so that a wire keeps about one
    //! pixel once averaged down.
    void wire(const Projected& a, const Projected& b, double slack) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double span = std::max(std::abs(dx), std::abs(dy));
        if (!std::isfinite(span)) return;
        const int steps = std::max(1, static_cast<int>(std::ceil(span)));
        if (steps > 4 * (width_ + height_) &&
            !(inside(a.x, a.y) || inside(b.x, b.y)))  // far outside: not worth walking
            return;
        const bool alongX = std::abs(dx) >= std::abs(dy);
        for (int k = 0; k <= steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            const double x = a.x + dx * t, y = a.y + dy * t;
            const double key = a.key + (b.key - a.key) * t;
            const double across = alongX ? y : x;
            for (double offset : {-0.5, 0.5}) {
                const int sx = static_cast<int>(std::floor(alongX ? x : across + offset));
                const int sy = static_cast<int>(std::floor(alongX ? across + offset : y));
                if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_) continue;
                const size_t i = static_cast<size_t>(sy) * width_ + sx;
                if (key >= key_[i] - slack * std::abs(key_[i]) - slack) wire_[i] = 1;
            }
        }
    }

    void applyWires(const Rgb& color, float alpha) {
        for (size_t i = 0; i < color_.size(); ++i)
            if (wire_[i]) color_[i] = mix(color_[i], color, alpha);
    }

    //! Averages each pixel's samples into the image.
    void resolve(unsigned char* pixels, int stride) const {
        const int w = view_.width(), h = view_.height();
        const float scale = 255.0f / static_cast<float>(ss_ * ss_);
        auto channel = [&](float sum) {
            return static_cast<std::uint32_t>(std::clamp(sum * scale + 0.5f, 0.0f, 255.0f));
        };
        for (int y = 0; y < h; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
            for (int x = 0; x < w; ++x) {
                Rgb sum;
                for (int j = 0; j < ss_; ++j) {
                    const Rgb* s = &color_[static_cast<size_t>(y * ss_ + j) * width_ + x * ss_];
                    for (int i = 0; i < ss_; ++i) {
                        sum.r += s[i].r;
                        sum.g += s[i].g;
                        sum.b += s[i].b;
                    }
                }
                row[x] = 0xff000000u | channel(sum.r) << 16 | channel(sum.g) << 8 | channel(sum.b);
            }
        }
    }

private:
    bool inside(double x, double y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    const ViewFrame& view_;
    int ss_, width_, height_;
    std::vector<Rgb> color_;
    std::vector<double> key_;
    std::vector<unsigned char> wire_;
};

//! One shape's vertices on the sample grid, with their world positions.
struct ShapeOnGrid {
    std::shared_ptr<const MeshGeometry> geometry;
    std::vector<Vec3> world;
    std::vector<Projected> grid;
    MColor color;
};

}  // namespace

void rasterShapes(const ViewFrame& view, const ClearState& clear,
                  const std::vector<ShadedShape>& shapes, const RasterLook& look,
                  unsigned char* pixels, int stride) {
    if (view.width() <= 0 || view.height() <= 0) return;
    Samples samples(view, std::max(1, look.supersample));
    samples.background(clear);

    std::vector<ShapeOnGrid> placed;
    for (const ShadedShape& s : shapes) {
        auto* mesh = dynamic_cast<MeshShape*>(s.shape.get());
        if (!mesh || !mesh->alive) continue;
        ShapeOnGrid shape;
        shape.geometry = mesh->output();
        shape.color = s.overrideColor ? s.color : look.surface;
        const auto& points = shape.geometry->points();
        shape.world.reserve(points.size());
        shape.grid.reserve(points.size());
        for (const Vec3& p : points) {
            shape.world.push_back(transformPoint(s.world, p));
            shape.grid.push_back(samples.project(shape.world.back()));
        }
        placed.push_back(std::move(shape));
    }

    // Faces first, every shape, so that the wires are tested against the
    // nearest surface of the whole picture.
    for (const ShapeOnGrid& shape : placed) {
        const MeshGeometry& g = *shape.geometry;
        const Rgb base{shape.color.r, shape.color.g, shape.color.b};
        for (int f = 0; f < g.numFaces(); ++f) {
            auto vertices = g.faceVertices(f);
            if (vertices.size() < 3) continue;
            bool visible = true;
            Vec3 centre, normal;
            for (size_t k = 0; k < vertices.size() && visible; ++k) {
                const Vec3& p = shape.world[vertices[k]];
                const Vec3& q = shape.world[vertices[(k + 1) % vertices.size()]];
                centre += p;
                // Newell's normal: sound for any planar-ish polygon.
                normal += Vec3{(p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x),
                               (p.x - q.x) * (p.y + q.y)};
                visible = shape.grid[vertices[k]].ok;
            }
            if (!visible) continue;
            centre = centre / static_cast<double>(vertices.size());
            const Vec3 toEye = view.ortho() ? -view.forward() : normalized(view.eye() - centre);
            const double light = std::abs(dot(normalized(normal), toEye));
            const float shade =
                static_cast<float>(0.22 + 0.78 * (std::isfinite(light) ? light : 0));
            const Rgb color{base.r * shade, base.g * shade, base.b * shade};
            const Projected& first = shape.grid[vertices[0]];
            for (size_t k = 1; k + 1 < vertices.size(); ++k)
                samples.fill(first, shape.grid[vertices[k]], shape.grid[vertices[k + 1]], color,
                             shape.color.a);
        }
    }
    constexpr double kSlack = 2e-3;
    for (const ShapeOnGrid& shape : placed) {
        const MeshGeometry& g = *shape.geometry;
        for (int f = 0; f < g.numFaces(); ++f) {
            auto vertices = g.faceVertices(f);
            if (vertices.size() < 3) continue;
            bool visible = true;
            for (int v : vertices) visible = visible && shape.grid[v].ok;
            if (!visible) continue;
            for (size_t k = 0; k < vertices.size(); ++k)
                samples.wire(shape.grid[vertices[k]],
                             shape.grid[vertices[(k + 1) % vertices.size()]], kSlack);
        }
    }
    samples.applyWires({look.wire.r, look.wire.g, look.wire.b}, look.wire.a);
    samples.resolve(pixels, stride);
}

}  // namespace ehost
