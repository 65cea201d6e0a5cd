#pragma once
// What a viewport draws on top of the shaded scene: every primitive issued
// through a draw manager, with the state in force when it was issued, grouped
// by the host call that drew it (one drawable per draw override and node, per
// render operation, per tool callback), in draw order. Tests read it; a
// snapshot turns it into a picture.

#include <maya/MColor.h>
#include <maya/MUIDrawManager.h>

#include <string>
#include <vector>

#include "host/src/core/Vec3.h"

namespace ehost {

using UIDraw = MHWRender::MUIDrawManager;

struct DrawState {
    MColor color{1.0f, 1.0f, 1.0f, 1.0f};
    float lineWidth = 1.0f;
    float pointSize = 1.0f;
    UIDraw::LineStyle lineStyle = UIDraw::kSolid;
    //! A custom stipple (setLineStyle(factor, pattern)); 0 = the style's own.
    unsigned int stippleFactor = 0;
    unsigned short stipplePattern = 0;
    UIDraw::PaintStyle paintStyle = UIDraw::kFlat;
    unsigned int depthPriority = 0;
    bool xray = false;
    std::string fontName;  // empty: the host's default font
    unsigned int fontSize = UIDraw::kDefaultFontSize;
    unsigned int fontWeight = UIDraw::kWeightNormal;
    int fontIncline = UIDraw::kInclineNormal;
    int fontLine = UIDraw::kLineNone;
    int fontStretch = UIDraw::kStretchUnstretched;
};

enum class PrimitiveKind { Line, LineList, LineStrip, Points, Rect, Circle, Arc, Text, Mesh };

const char* primitiveKindName(PrimitiveKind kind);

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Line;
    //! 2D primitives are in view pixels (origin bottom left), 3D ones in world space.
    bool is2D = false;
    DrawState state;
    //! Positions: line ends, strip and list points, the centre of a circle,
    //! arc or rect, the anchor of a text, mesh vertices.
    std::vector<Vec3> points;
    std::vector<Vec3> normals;      // mesh
    std::vector<MColor> colors;     // mesh, per vertex
    std::vector<unsigned> indices;  // mesh; empty: the points in order
    UIDraw::Primitive meshMode = UIDraw::kTriangles;
    Vec3 normal{0, 0, 1}, up{0, 1, 0};  // circle, arc and rect planes
    Vec3 start, end;                    // arc: from start towards end
    double radius = 0;
    double scaleX = 0, scaleY = 0;  // rect half-sizes
    bool filled = false;
    std::string text;
    UIDraw::TextAlignment alignment = UIDraw::kLeft;
    bool hasBackground = false;
    MColor backgroundColor;
    int backgroundSize[2] = {0, 0};  // 0: fitted to the text
    bool dynamic = false;
    //! Which beginDrawable of its drawable it was issued in (0 before any).
    unsigned int group = 0;
};

struct Drawable {
    enum class Source { DrawOverride, SceneRender, UserOperation, HUD, ToolFeedback, ToolEvent };
    Source source = Source::DrawOverride;
    //! The node's full path, the operation's name or the tool context's name.
    std::string name;
    std::vector<Primitive> primitives;
};

const char* drawableSourceName(Drawable::Source source);

//! The engine behind an MUIDrawManager: the current state and the drawable
//! primitives go to.
class DrawRecorder {
public:
    explicit DrawRecorder(Drawable& target) : target_(&target) {}

    void add(Primitive primitive) {
        primitive.state = state;
        primitive.group = group_;
        target_->primitives.push_back(std::move(primitive));
    }
    //! A new drawable group starts from the default state.
    void beginDrawable() {
        ++group_;
        state = DrawState();
    }
    void endDrawable() { state.xray = false; }

    DrawState state;

private:
    Drawable* target_;
    unsigned int group_ = 0;
};

}  // namespace ehost
