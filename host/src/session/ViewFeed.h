#pragma once
// What an application that shows the host's views somewhere else (the
// studio's page in a browser) reads of them, as plain data: what the active
// panel drew (its camera, its background, the meshes it shaded and every
// primitive its draw lists recorded) and the geometry of a shaded mesh.
// Nothing of the engine shows through.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ehost::application {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
    bool operator==(const Rgba&) const = default;
};

using Triple = std::array<double, 3>;
//! A 4 x 4 matrix, row after row, in the host's row-vector convention
//! (a point p maps to p * M; the translation is the last row).
using Matrix = std::array<double, 16>;

//! The camera as the panel's port sees it.
struct ViewCamera {
    Triple eye{0, 0, 0}, forward{0, 0, -1}, right{1, 0, 0}, up{0, 1, 0};
    Triple centerOfInterest{0, 0, -1};  // where the camera turns about
    double verticalFov = 0;             // radians
    bool ortho = false;
    double nearClip = 0.1, farClip = 10000;
    int width = 0, height = 0;  // the port, in view pixels
    //! World to camera space (the camera looks down its -Z), and camera to
    //! clip space with OpenGL's depth range.
    Matrix viewMatrix{}, projectionMatrix{};
};

//! A mesh the frame shaded.
struct ShadedMesh {
    std::string path;  // the shape's full DAG path
    //! Changes whenever the mesh's points or polygons do (never repeats).
    std::uint64_t geometry = 0;
    bool overrideColor = false;  // a shader override gave it colour
    Rgba color;
    Matrix world{};  // object to world
};

//! One primitive a draw manager recorded, with the state it was drawn in.
//! Names are the host's: kinds "line", "lineList", "lineStrip", "points",
//! "rect", "circle", "arc", "text", "mesh"; line styles "solid",
//! "shortDotted", "shortDashed", "dashed", "dotted"; mesh modes "points",
//! "lines", "lineStrip", "closedLine", "triangles", "triStrip"; alignments
//! "left", "center", "right".
struct DrawnPrimitive {
    std::string kind;
    bool is2D = false;  // view pixels (origin bottom left), else world space
    Rgba color;
    float lineWidth = 1, pointSize = 1;
    std::string lineStyle = "solid";
    unsigned stippleFactor = 0, stipplePattern = 0;  // a custom stipple when the factor is not 0
    unsigned depthPriority = 0;
    bool xray = false;
    std::string fontName;  // "" : the host's default
    unsigned fontSize = 12, fontWeight = 50;
    bool italic = false;
    std::vector<double> points;     // x y z, point after point
    std::vector<float> colors;      // mesh: r g b a per vertex
    std::vector<unsigned> indices;  // mesh: empty means the points in order
    std::string meshMode = "triangles";
    Triple normal{0, 0, 1}, up{0, 1, 0}, start{0, 0, 0}, end{0, 0, 0};
    double radius = 0, scaleX = 0, scaleY = 0;
    bool filled = false;
    std::string text;
    std::string alignment = "left";
    bool hasBackground = false;
    Rgba backgroundColor;
    int backgroundWidth = 0, backgroundHeight = 0;  // 0: fitted to the text
    bool operator==(const DrawnPrimitive&) const = default;
};

//! What one host call drew: a draw override for a node, a render operation,
//! the tool's feedback or its last event handler.
struct DrawnGroup {
    //! "drawOverride", "sceneRender", "userOperation", "hud", "toolFeedback", "toolEvent".
    std::string source;
    std::string name;  // the node's path, the operation's or the tool context's name
    std::vector<DrawnPrimitive> primitives;
    bool operator==(const DrawnGroup&) const = default;
};

struct DrawnFrame {
    std::string panel;
    ViewCamera camera;
    bool gradient = true;
    Rgba top, bottom;  // the background (top only, without a gradient)
    std::vector<ShadedMesh> meshes;
    //! In draw order: the frame's own, then the tool's last event's.
    std::vector<DrawnGroup> groups;
    std::string renderer;  // the render override's name, "" for the normal renderer
};

//! Draws the active panel now and tells what it drew; false with the reason
//! when it cannot be drawn (no camera to look through).
bool drawActivePanel(DrawnFrame& out, std::string& why);

//! The geometry of a mesh the active panel's last frame shaded, in object
//! space: points (x y z, as floats), the polygons split into fan triangles,
//! and the edges (vertex pairs).
struct MeshGeometryRecord {
    std::uint64_t geometry = 0;
    std::vector<float> points;
    std::vector<std::uint32_t> triangles;
    std::vector<std::uint32_t> edges;
    int polygons = 0;
};

//! False with the reason when the last frame shaded no mesh of that path.
bool shadedMeshGeometry(const std::string& path, MeshGeometryRecord& out, std::string& why);

}  // namespace ehost::application
