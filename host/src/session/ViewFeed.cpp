#include "host/src/session/ViewFeed.h"

#include <maya/MString.h>

#include "host/src/core/StatusText.h"
#include "host/src/mesh/MeshGeometry.h"
#include "host/src/nodes/Camera.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/view/Views.h"

namespace ehost::application {

namespace {

Triple triple(const Vec3& v) {
    return {v.x, v.y, v.z};
}

Rgba rgba(const MColor& c) {
    return {c.r, c.g, c.b, c.a};
}

Matrix matrix(const MMatrix& m) {
    Matrix out{};
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c) out[r * 4 + c] = m(r, c);
    return out;
}

const char* lineStyleName(UIDraw::LineStyle style) {
    switch (style) {
        case UIDraw::kSolid:
            return "solid";
        case UIDraw::kShortDotted:
            return "shortDotted";
        case UIDraw::kShortDashed:
            return "shortDashed";
        case UIDraw::kDashed:
            return "dashed";
        case UIDraw::kDotted:
            return "dotted";
    }
    return "solid";
}

const char* meshModeName(UIDraw::Primitive mode) {
    switch (mode) {
        case UIDraw::kPoints:
            return "points";
        case UIDraw::kLines:
            return "lines";
        case UIDraw::kLineStrip:
            return "lineStrip";
        case UIDraw::kClosedLine:
            return "closedLine";
        case UIDraw::kTriangles:
            return "triangles";
        case UIDraw::kTriStrip:
            return "triStrip";
    }
    return "triangles";
}

const char* alignmentName(UIDraw::TextAlignment alignment) {
    switch (alignment) {
        case UIDraw::kLeft:
            return "left";
        case UIDraw::kCenter:
            return "center";
        case UIDraw::kRight:
            return "right";
    }
    return "left";
}

ViewCamera cameraOf(const ViewFrame& v) {
    ViewCamera c;
    c.eye = triple(v.eye());
    c.forward = triple(v.forward());
    c.right = triple(v.right());
    c.up = triple(v.up());
    c.verticalFov = v.verticalFov();
    c.ortho = v.ortho();
    c.nearClip = v.nearClip();
    c.farClip = v.farClip();
    c.width = v.width();
    c.height = v.height();
    c.viewMatrix = matrix(v.viewMatrix());
    c.projectionMatrix = matrix(v.projectionMatrix());
    return c;
}

DrawnPrimitive primitiveOf(const Primitive& p) {
    DrawnPrimitive out;
    out.kind = primitiveKindName(p.kind);
    out.is2D = p.is2D;
    const DrawState& s = p.state;
    out.color = rgba(s.color);
    out.lineWidth = s.lineWidth;
    out.pointSize = s.pointSize;
    out.lineStyle = lineStyleName(s.lineStyle);
    out.stippleFactor = s.stippleFactor;
    out.stipplePattern = s.stipplePattern;
    out.depthPriority = s.depthPriority;
    out.xray = s.xray;
    out.fontName = s.fontName;
    out.fontSize = s.fontSize;
    out.fontWeight = s.fontWeight;
    out.italic = s.fontIncline == UIDraw::kInclineItalic;
    out.points.reserve(p.points.size() * 3);
    for (const Vec3& q : p.points) out.points.insert(out.points.end(), {q.x, q.y, q.z});
    out.colors.reserve(p.colors.size() * 4);
    for (const MColor& c : p.colors) out.colors.insert(out.colors.end(), {c.r, c.g, c.b, c.a});
    out.indices = p.indices;
    out.meshMode = meshModeName(p.meshMode);
    out.normal = triple(p.normal);
    out.up = triple(p.up);
    out.start = triple(p.start);
    out.end = triple(p.end);
    out.radius = p.radius;
    out.scaleX = p.scaleX;
    out.scaleY = p.scaleY;
    out.filled = p.filled;
    out.text = p.text;
    out.alignment = alignmentName(p.alignment);
    out.hasBackground = p.hasBackground;
    out.backgroundColor = rgba(p.backgroundColor);
    out.backgroundWidth = p.backgroundSize[0];
    out.backgroundHeight = p.backgroundSize[1];
    return out;
}

DrawnGroup groupOf(const Drawable& d) {
    DrawnGroup out;
    out.source = drawableSourceName(d.source);
    out.name = d.name;
    out.primitives.reserve(d.primitives.size());
    for (const Primitive& p : d.primitives) out.primitives.push_back(primitiveOf(p));
    return out;
}

std::string pathOf(const Node& node) {
    auto* dag = dynamic_cast<const DagNode*>(&node);
    return dag ? dag->fullPath() : node.name;
}

}  // namespace

bool drawActivePanel(DrawnFrame& out, std::string& why) {
    Views& views = theViews();
    Panel& panel = views.activePanel();
    MStatus st = views.refresh(panel);
    if (!st) {
        why = statusText(st);
        return false;
    }
    const Frame& frame = panel.frame;
    out = DrawnFrame();
    out.panel = panel.name;
    out.camera = cameraOf(frame.view);
    if (panel.hasCamera())
        out.camera.centerOfInterest = triple(cameraPose(*panel.camera).centerOfInterest);
    out.gradient = frame.clear.gradient;
    out.top = rgba(frame.clear.top);
    out.bottom = rgba(frame.clear.bottom);
    out.renderer = frame.renderer;
    for (const ShadedShape& s : frame.shapes) {
        auto* mesh = dynamic_cast<MeshShape*>(s.shape.get());
        if (!mesh || !mesh->alive) continue;
        ShadedMesh m;
        m.path = pathOf(*mesh);
        m.geometry = mesh->output()->version();
        m.overrideColor = s.overrideColor;
        m.color = rgba(s.color);
        m.world = matrix(s.world);
        out.meshes.push_back(std::move(m));
    }
    for (const Drawable* d : panel.drawables()) out.groups.push_back(groupOf(*d));
    return true;
}

bool shadedMeshGeometry(const std::string& path, MeshGeometryRecord& out, std::string& why) {
    for (const ShadedShape& s : theViews().activePanel().frame.shapes) {
        auto* mesh = dynamic_cast<MeshShape*>(s.shape.get());
        if (!mesh || !mesh->alive || pathOf(*mesh) != path) continue;
        std::shared_ptr<const MeshGeometry> g = mesh->output();
        out = MeshGeometryRecord();
        out.geometry = g->version();
        out.polygons = g->numFaces();
        out.points.reserve(g->points().size() * 3);
        for (const Vec3& p : g->points())
            out.points.insert(out.points.end(), {static_cast<float>(p.x), static_cast<float>(p.y),
                                                 static_cast<float>(p.z)});
        for (int f = 0; f < g->numFaces(); ++f)
            for (int t = 0; t < g->numFaceTriangles(f); ++t)
                for (int v : g->faceTriangleVertices(f, t))
                    out.triangles.push_back(static_cast<std::uint32_t>(v));
        const int edges = g->numEdges();
        out.edges.reserve(static_cast<size_t>(edges) * 2);
        for (int e = 0; e < edges; ++e) {
            EdgeVertices ends = g->edgeVertices(e);
            out.edges.push_back(static_cast<std::uint32_t>(ends.first));
            out.edges.push_back(static_cast<std::uint32_t>(ends.second));
        }
        return true;
    }
    why = "the last frame of " + theViews().activePanel().name + " shaded no mesh " + path;
    return false;
}

}  // namespace ehost::application
