#include "host/src/view/Snapshot.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "host/src/core/Files.h"
#include "host/src/mesh/MeshGeometry.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/view/Panel.h"
#include "host/src/view/Raster.h"

namespace fs = std::filesystem;

namespace ehost {

namespace {

constexpr double kPi = std::numbers::pi;
const MColor kSurface{0.62f, 0.62f, 0.64f, 1.0f};
const MColor kWire{0.09f, 0.09f, 0.11f, 0.6f};

Vec3 transformPoint(const MMatrix& m, const Vec3& p) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

//! Two unit vectors spanning the plane with the given normal.
void planeBasis(const Vec3& normal, Vec3& e1, Vec3& e2) {
    Vec3 n = normalized(normal);
    if (lengthSquared(n) == 0) n = {0, 0, 1};
    Vec3 helper = std::abs(n.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    e1 = normalized(cross(helper, n));
    e2 = cross(n, e1);
}

struct Pixel {
    double x = 0, y = 0;
};

//! Drawing onto the cairo surface, in cairo's pixels (origin top left).
class Canvas {
public:
    Canvas(cairo_t* cr, const ViewFrame& view) : cr_(cr), view_(view), height_(view.height()) {}

    cairo_t* cr() const { return cr_; }
    const ViewFrame& view() const { return view_; }
    //! A view pixel (origin bottom left).
    Pixel fromView(const Vec3& p) const { return {p.x, height_ - p.y}; }
    //! A world point in front of the near clip plane.
    bool fromWorld(const Vec3& p, Pixel& out) const {
        if (!view_.ortho() && view_.depth(p) < view_.nearClip()) return false;
        double x, y;
        if (!view_.project(p, x, y)) return false;
        out = {x, height_ - y};
        return true;
    }
    //! A primitive's point, 2D or 3D.
    bool at(const Primitive& p, const Vec3& point, Pixel& out) const {
        if (p.is2D) {
            out = fromView(point);
            return true;
        }
        return fromWorld(point, out);
    }
    void color(const MColor& c) const { cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a); }

    //! The part of a world segment in front of the near plane, in pixels.
    bool segment(Vec3 a, Vec3 b, Pixel& pa, Pixel& pb) const {
        if (!view_.ortho()) {
            double n = view_.nearClip(), da = view_.depth(a), db = view_.depth(b);
            if (da < n && db < n) return false;
            if (da < n) a = a + (b - a) * ((n - da) / (db - da));
            if (db < n) b = b + (a - b) * ((n - db) / (da - db));
        }
        return fromWorld(a, pa) && fromWorld(b, pb);
    }

private:
    cairo_t* cr_;
    const ViewFrame& view_;
    int height_;
};

// ---------------------------------------------------------------- background and meshes

void paintBackground(const Canvas& c, const ClearState& clear) {
    cairo_t* cr = c.cr();
    if (clear.gradient) {
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, c.view().height());
        cairo_pattern_add_color_stop_rgb(g, 0, clear.top.r, clear.top.g, clear.top.b);
        cairo_pattern_add_color_stop_rgb(g, 1, clear.bottom.r, clear.bottom.g, clear.bottom.b);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        return;
    }
    cairo_set_source_rgb(cr, clear.top.r, clear.top.g, clear.top.b);
    cairo_paint(cr);
}

struct ShadedFace {
    double depth;
    std::vector<Pixel> corners;
    MColor fill;
};

void collectFaces(const Canvas& c, const ShadedShape& s, std::vector<ShadedFace>& out) {
    auto* mesh = dynamic_cast<MeshShape*>(s.shape.get());
    if (!mesh || !mesh->alive) return;
    auto geometry = mesh->output();
    const MMatrix& toWorld = s.world;
    std::vector<Vec3> world;
    world.reserve(geometry->points().size());
    for (const Vec3& p : geometry->points()) world.push_back(transformPoint(toWorld, p));
    MColor base = s.overrideColor ? s.color : kSurface;
    const ViewFrame& view = c.view();
    for (int f = 0; f < geometry->numFaces(); ++f) {
        auto vertices = geometry->faceVertices(f);
        if (vertices.size() < 3) continue;
        ShadedFace face;
        Vec3 centre, normal;
        bool visible = true;
        for (size_t k = 0; k < vertices.size() && visible; ++k) {
            const Vec3& p = world[vertices[k]];
            const Vec3& q = world[vertices[(k + 1) % vertices.size()]];
            centre += p;
            // Newell's normal: sound for any planar-ish polygon.
            normal += Vec3{(p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x),
                           (p.x - q.x) * (p.y + q.y)};
            Pixel px;
            visible = c.fromWorld(p, px);
            face.corners.push_back(px);
        }
        if (!visible) continue;
        centre = centre / static_cast<double>(vertices.size());
        Vec3 toEye = view.ortho() ? -view.forward() : normalized(view.eye() - centre);
        double light = std::abs(dot(normalized(normal), toEye));
        double shade = 0.22 + 0.78 * light;
        face.fill = MColor(static_cast<float>(base.r * shade), static_cast<float>(base.g * shade),
                           static_cast<float>(base.b * shade), base.a);
        face.depth = view.depth(centre);
        out.push_back(std::move(face));
    }
}

void paintShapes(const Canvas& c, const std::vector<ShadedShape>& shapes) {
    std::vector<ShadedFace> faces;
    for (const ShadedShape& s : shapes) collectFaces(c, s, faces);
    // Far to near, each face with its outline, so that nearer faces hide
    // what lies behind them (wires included).
    std::stable_sort(faces.begin(), faces.end(),
                     [](const ShadedFace& a, const ShadedFace& b) { return a.depth > b.depth; });
    cairo_t* cr = c.cr();
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (const ShadedFace& f : faces) {
        cairo_move_to(cr, f.corners[0].x, f.corners[0].y);
        for (size_t k = 1; k < f.corners.size(); ++k)
            cairo_line_to(cr, f.corners[k].x, f.corners[k].y);
        cairo_close_path(cr);
        c.color(f.fill);
        cairo_fill_preserve(cr);
        c.color(kWire);
        cairo_stroke(cr);
    }
}

// ---------------------------------------------------------------- UI primitives

//! Dash lengths of a 16-bit stipple pattern (bit 0 first), scaled by factor.
std::vector<double> stippleDashes(unsigned factor, unsigned short pattern, double& offset) {
    std::vector<double> runs;
    bool on = pattern & 1;
    int run = 0;
    for (int bit = 0; bit < 16; ++bit) {
        bool b = (pattern >> bit) & 1;
        if (b == on) {
            ++run;
            continue;
        }
        runs.push_back(run * static_cast<double>(factor));
        on = b;
        run = 1;
    }
    runs.push_back(run * static_cast<double>(factor));
    offset = 0;
    if (!(pattern & 1)) {
        // Start with the gap: rotate it to the end and offset into it.
        offset = runs.front();
        runs.push_back(runs.front());
        runs.erase(runs.begin());
    }
    if (runs.size() % 2) runs.push_back(0);
    return runs;
}

void applyLine(cairo_t* cr, const DrawState& s) {
    double w = std::max(0.5, static_cast<double>(s.lineWidth));
    cairo_set_line_width(cr, w);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    double u = std::max(1.0, w);
    std::vector<double> dashes;
    double offset = 0;
    if (s.stippleFactor > 0 && s.stipplePattern != 0 && s.stipplePattern != 0xffff) {
        dashes = stippleDashes(s.stippleFactor, s.stipplePattern, offset);
    } else {
        switch (s.lineStyle) {
            case UIDraw::kSolid:
                break;
            case UIDraw::kShortDotted:
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                dashes = {0.01, 2.2 * u};
                break;
            case UIDraw::kDotted:
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                dashes = {0.01, 3.5 * u};
                break;
            case UIDraw::kShortDashed:
                dashes = {3 * u, 2 * u};
                break;
            case UIDraw::kDashed:
                dashes = {7 * u, 4 * u};
                break;
        }
    }
    cairo_set_dash(cr, dashes.empty() ? nullptr : dashes.data(), static_cast<int>(dashes.size()),
                   offset);
}

void finish(cairo_t* cr, bool filled) {
    if (filled)
        cairo_fill(cr);
    else
        cairo_stroke(cr);
}

//! A path through points; a point that cannot be drawn (behind the eye)
//! breaks it, and so does every second point of a list.
void polyline(const Canvas& c, const Primitive& p, const std::vector<Vec3>& points, bool pairs,
              bool closed) {
    cairo_t* cr = c.cr();
    auto seg = [&](const Vec3& a, const Vec3& b, bool connected) {
        Pixel pa, pb;
        if (p.is2D) {
            pa = c.fromView(a);
            pb = c.fromView(b);
        } else if (!c.segment(a, b, pa, pb)) {
            return false;
        }
        if (!connected) cairo_move_to(cr, pa.x, pa.y);
        cairo_line_to(cr, pb.x, pb.y);
        return true;
    };
    bool connected = false;
    size_t step = pairs ? 2 : 1;
    for (size_t i = 0; i + 1 < points.size(); i += step) {
        bool ok = seg(points[i], points[i + 1], connected && !pairs);
        connected = ok;
    }
    if (closed && points.size() > 2) seg(points.back(), points.front(), connected);
    cairo_stroke(cr);
}

void drawPoints(const Canvas& c, const Primitive& p) {
    double size = std::max(1.0, static_cast<double>(p.state.pointSize));
    for (const Vec3& q : p.points) {
        Pixel px;
        if (!c.at(p, q, px)) continue;
        cairo_rectangle(c.cr(), px.x - size / 2, px.y - size / 2, size, size);
    }
    cairo_fill(c.cr());
}

//! Points around a circle or arc in a plane of the world, for 3D primitives.
void planarPath(const Canvas& c, const Vec3& centre, const Vec3& e1, const Vec3& e2, double radius,
                double from, double sweep, bool pie) {
    cairo_t* cr = c.cr();
    int steps = std::max(8, static_cast<int>(64 * sweep / (2 * kPi)));
    bool started = false;
    Pixel px;
    if (pie && c.fromWorld(centre, px)) {
        cairo_move_to(cr, px.x, px.y);
        started = true;
    }
    for (int i = 0; i <= steps; ++i) {
        double a = from + sweep * i / steps;
        Vec3 q = centre + e1 * (radius * std::cos(a)) + e2 * (radius * std::sin(a));
        if (!c.fromWorld(q, px)) continue;
        if (started)
            cairo_line_to(cr, px.x, px.y);
        else
            cairo_move_to(cr, px.x, px.y);
        started = true;
    }
    if (pie) cairo_close_path(cr);
}

double sweepBetween(double from, double to) {
    double sweep = to - from;
    while (sweep <= 1e-12) sweep += 2 * kPi;
    return sweep;
}

void drawCircle(const Canvas& c, const Primitive& p) {
    if (p.points.empty()) return;
    if (p.is2D) {
        Pixel px = c.fromView(p.points[0]);
        cairo_new_sub_path(c.cr());
        cairo_arc(c.cr(), px.x, px.y, p.radius, 0, 2 * kPi);
    } else {
        Vec3 e1, e2;
        planeBasis(p.normal, e1, e2);
        cairo_new_path(c.cr());
        planarPath(c, p.points[0], e1, e2, p.radius, 0, 2 * kPi, false);
        cairo_close_path(c.cr());
    }
    finish(c.cr(), p.filled);
}

void drawArc(const Canvas& c, const Primitive& p) {
    if (p.points.empty()) return;
    cairo_t* cr = c.cr();
    if (p.is2D) {
        // Counter-clockwise on the screen (y up) from start to end; cairo's
        // y runs down, so its angles turn the other way.
        double from = std::atan2(p.start.y, p.start.x), to = std::atan2(p.end.y, p.end.x);
        double sweep = sweepBetween(from, to);
        Pixel px = c.fromView(p.points[0]);
        cairo_new_path(cr);
        if (p.filled) cairo_move_to(cr, px.x, px.y);
        cairo_arc_negative(cr, px.x, px.y, p.radius, -from, -from - sweep);
        if (p.filled) cairo_close_path(cr);
    } else {
        Vec3 n = normalized(p.normal);
        Vec3 e1 = normalized(p.start - n * dot(p.start, n));
        if (lengthSquared(e1) == 0) {
            Vec3 unused;
            planeBasis(n, e1, unused);
        }
        Vec3 e2 = cross(n, e1);
        double to = std::atan2(dot(p.end, e2), dot(p.end, e1));
        cairo_new_path(cr);
        planarPath(c, p.points[0], e1, e2, p.radius, 0, sweepBetween(0, to), p.filled);
    }
    finish(cr, p.filled);
}

void drawRect(const Canvas& c, const Primitive& p) {
    if (p.points.empty()) return;
    cairo_t* cr = c.cr();
    Vec3 up, right;
    if (p.is2D) {
        up = normalized(Vec3{p.up.x, p.up.y, 0});
        if (lengthSquared(up) == 0) up = {0, 1, 0};
        right = {up.y, -up.x, 0};
    } else {
        up = normalized(p.up);
        right = normalized(cross(up, p.normal));
    }
    const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    cairo_new_path(cr);
    for (const auto& k : corners) {
        Vec3 q = p.points[0] + right * (k[0] * p.scaleX) + up * (k[1] * p.scaleY);
        Pixel px;
        if (!c.at(p, q, px)) return;
        cairo_line_to(cr, px.x, px.y);
    }
    cairo_close_path(cr);
    finish(cr, p.filled);
}

void drawText(const Canvas& c, const Primitive& p) {
    if (p.points.empty() || p.text.empty()) return;
    Pixel at;
    if (!c.at(p, p.points[0], at)) return;
    cairo_t* cr = c.cr();
    const DrawState& s = p.state;
    std::string family = s.fontName.empty() ? "Sans" : s.fontName;
    cairo_select_font_face(
        cr, family.c_str(),
        s.fontIncline == UIDraw::kInclineItalic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        s.fontWeight >= UIDraw::kWeightDemiBold ? CAIRO_FONT_WEIGHT_BOLD
                                                : CAIRO_FONT_WEIGHT_NORMAL);
    // Font sizes are points; the viewport shows 96 pixels to the inch.
    double size = std::max(6.0, s.fontSize * 4.0 / 3.0);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, p.text.c_str(), &ext);
    double left = at.x;
    if (p.alignment == UIDraw::kCenter) left -= ext.x_advance / 2;
    if (p.alignment == UIDraw::kRight) left -= ext.x_advance;
    if (p.hasBackground) {
        double w = p.backgroundSize[0] > 0 ? p.backgroundSize[0] : ext.x_advance + 6;
        double h = p.backgroundSize[1] > 0 ? p.backgroundSize[1] : size * 1.3;
        c.color(p.backgroundColor);
        cairo_rectangle(cr, left - 3, at.y - size, w, h);
        cairo_fill(cr);
        c.color(s.color);
    }
    cairo_move_to(cr, left, at.y);
    cairo_show_text(cr, p.text.c_str());
    cairo_new_path(cr);
}

void drawMesh(const Canvas& c, const Primitive& p) {
    std::vector<unsigned> order = p.indices;
    if (order.empty())
        for (unsigned i = 0; i < p.points.size(); ++i) order.push_back(i);
    auto valid = [&](unsigned i) { return i < p.points.size(); };
    bool perVertex = p.colors.size() >= p.points.size() && !p.points.empty();
    cairo_t* cr = c.cr();
    auto triangle = [&](unsigned a, unsigned b, unsigned d) {
        if (!valid(a) || !valid(b) || !valid(d)) return;
        Pixel pa, pb, pd;
        if (!c.at(p, p.points[a], pa) || !c.at(p, p.points[b], pb) || !c.at(p, p.points[d], pd))
            return;
        if (perVertex) {
            const MColor& x = p.colors[a];
            const MColor& y = p.colors[b];
            const MColor& z = p.colors[d];
            c.color(MColor((x.r + y.r + z.r) / 3, (x.g + y.g + z.g) / 3, (x.b + y.b + z.b) / 3,
                           (x.a + y.a + z.a) / 3));
        }
        cairo_move_to(cr, pa.x, pa.y);
        cairo_line_to(cr, pb.x, pb.y);
        cairo_line_to(cr, pd.x, pd.y);
        cairo_close_path(cr);
        if (perVertex) cairo_fill(cr);
    };
    std::vector<Vec3> ordered;
    for (unsigned i : order)
        if (valid(i)) ordered.push_back(p.points[i]);
    switch (p.meshMode) {
        case UIDraw::kTriangles:
            for (size_t i = 0; i + 2 < order.size(); i += 3)
                triangle(order[i], order[i + 1], order[i + 2]);
            if (!perVertex) cairo_fill(cr);
            break;
        case UIDraw::kTriStrip:
            for (size_t i = 0; i + 2 < order.size(); ++i)
                triangle(order[i], order[i + 1], order[i + 2]);
            if (!perVertex) cairo_fill(cr);
            break;
        case UIDraw::kLines:
            polyline(c, p, ordered, true, false);
            break;
        case UIDraw::kLineStrip:
            polyline(c, p, ordered, false, false);
            break;
        case UIDraw::kClosedLine:
            polyline(c, p, ordered, false, true);
            break;
        case UIDraw::kPoints: {
            Primitive dots = p;
            dots.points = ordered;
            drawPoints(c, dots);
            break;
        }
    }
}

void drawPrimitive(const Canvas& c, const Primitive& p) {
    cairo_t* cr = c.cr();
    cairo_new_path(cr);
    c.color(p.state.color);
    applyLine(cr, p.state);
    switch (p.kind) {
        case PrimitiveKind::Line:
            polyline(c, p, p.points, true, false);
            break;
        case PrimitiveKind::LineList:
            polyline(c, p, p.points, true, false);
            break;
        case PrimitiveKind::LineStrip:
            polyline(c, p, p.points, false, false);
            break;
        case PrimitiveKind::Points:
            drawPoints(c, p);
            break;
        case PrimitiveKind::Rect:
            drawRect(c, p);
            break;
        case PrimitiveKind::Circle:
            drawCircle(c, p);
            break;
        case PrimitiveKind::Arc:
            drawArc(c, p);
            break;
        case PrimitiveKind::Text:
            drawText(c, p);
            break;
        case PrimitiveKind::Mesh:
            drawMesh(c, p);
            break;
    }
}

void paintPrimitives(const Canvas& c, const std::vector<const Drawable*>& drawables) {
    std::vector<const Primitive*> all;
    for (const Drawable* d : drawables)
        for (const Primitive& p : d->primitives) all.push_back(&p);
    // X-ray drawing shows through everything else; within each, a higher
    // depth priority wins, and draw order decides the rest.
    std::stable_sort(all.begin(), all.end(), [](const Primitive* a, const Primitive* b) {
        if (a->state.xray != b->state.xray) return !a->state.xray;
        return a->state.depthPriority < b->state.depthPriority;
    });
    for (const Primitive* p : all) drawPrimitive(c, *p);
}

//! The world axes in the bottom left corner, as the viewport shows them.
void paintAxes(const Canvas& c) {
    cairo_t* cr = c.cr();
    const ViewFrame& v = c.view();
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const MColor colors[3] = {
        {0.86f, 0.2f, 0.2f, 1.0f}, {0.3f, 0.8f, 0.3f, 1.0f}, {0.3f, 0.45f, 0.95f, 1.0f}};
    const char* names[3] = {"x", "y", "z"};
    Pixel origin = c.fromView({28, 28, 0});
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_line_width(cr, 2);
    cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 10);
    for (int k = 0; k < 3; ++k) {
        double dx = dot(axes[k], v.right()) * 18, dy = dot(axes[k], v.up()) * 18;
        c.color(colors[k]);
        cairo_move_to(cr, origin.x, origin.y);
        cairo_line_to(cr, origin.x + dx, origin.y - dy);
        cairo_stroke(cr);
        cairo_move_to(cr, origin.x + dx * 1.25 - 3, origin.y - dy * 1.25 + 4);
        cairo_show_text(cr, names[k]);
    }
}

//! Pictures go through the depth buffer (its cost does not grow with
//! sorting a dense mesh's faces); vector files keep faces as shapes of their
//! own, painted far to near.
void paint(cairo_t* cr, const Panel& panel, cairo_surface_t* image) {
    const Frame& frame = panel.frame;
    Canvas canvas(cr, frame.view);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
    if (image) {
        cairo_surface_flush(image);
        // No pixels when the surface could not be made: its status says why.
        if (unsigned char* pixels = cairo_image_surface_get_data(image))
            rasterShapes(frame.view, frame.clear, frame.shapes, RasterLook{kSurface, kWire, 2},
                         pixels, cairo_image_surface_get_stride(image));
        cairo_surface_mark_dirty(image);
    } else {
        paintBackground(canvas, frame.clear);
        paintShapes(canvas, frame.shapes);
    }
    paintAxes(canvas);
    paintPrimitives(canvas, panel.drawables());
}

enum class Format { Png, Svg };

bool formatOf(const std::string& path, Format& out) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char ch) { return std::tolower(ch); });
    if (ext == ".png")
        out = Format::Png;
    else if (ext == ".svg")
        out = Format::Svg;
    else
        return false;
    return true;
}

MStatus checkTarget(const std::string& path) {
    std::error_code ec;
    fs::path target(path);
    if (target.filename().empty() || fs::is_directory(target, ec))
        return MStatus(MStatus::kInvalidParameter, "snapshot path \"" + path + "\" names no file");
    fs::path dir = target.parent_path();
    if (!dir.empty() && !fs::is_directory(dir, ec))
        return MStatus(MStatus::kInvalidParameter, "cannot write snapshot \"" + path +
                                                       "\": directory " + dir.string() +
                                                       " does not exist");
    return MStatus::kSuccess;
}

//! Cairo's writers pour into the file written aside.
cairo_status_t pour(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<files::AsideFile*>(closure);
    return file->write({reinterpret_cast<const char*>(data), length}) ? CAIRO_STATUS_SUCCESS
                                                                      : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

MStatus writeSnapshot(const Panel& panel, const std::string& path) {
    if (!panel.frame.drawn)
        return MStatus(MStatus::kFailure,
                       "panel " + panel.name + " has not been drawn (refresh it first)");
    Format format;
    if (!formatOf(path, format))
        return MStatus(MStatus::kInvalidParameter,
                       "snapshot \"" + path + "\": the file must end in .png or .svg");
    MStatus st = checkTarget(path);
    if (!st) return st;
    auto failure = [&path](const std::string& reason) {
        return MStatus(MStatus::kFailure, "cannot write snapshot \"" + path + "\": " + reason);
    };
    files::AsideFile file(path);
    std::string reason;
    if (!file.open(reason)) return failure(reason);
    const ViewFrame& view = panel.frame.view;
    cairo_surface_t* surface =
        format == Format::Png
            ? cairo_image_surface_create(CAIRO_FORMAT_ARGB32, view.width(), view.height())
            : cairo_svg_surface_create_for_stream(pour, &file, view.width(), view.height());
    cairo_t* cr = cairo_create(surface);
    paint(cr, panel, format == Format::Png ? surface : nullptr);
    cairo_destroy(cr);
    cairo_status_t written = cairo_surface_status(surface);
    if (written == CAIRO_STATUS_SUCCESS && format == Format::Png)
        written = cairo_surface_write_to_png_stream(surface, pour, &file);
    cairo_surface_finish(surface);
    if (written == CAIRO_STATUS_SUCCESS) written = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (written == CAIRO_STATUS_WRITE_ERROR)
        file.failed(EIO);  // the writer's own error, when it kept one, comes first
    else if (written != CAIRO_STATUS_SUCCESS)
        return failure(cairo_status_to_string(written));
    if (!file.commit(reason)) return failure(reason);
    return MStatus::kSuccess;
}

}  // namespace ehost
