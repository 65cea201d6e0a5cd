#include "host/src/view/DrawList.h"

namespace ehost {

const char* primitiveKindName(PrimitiveKind kind) {
    switch (kind) {
        case PrimitiveKind::Line:
            return "line";
        case PrimitiveKind::LineList:
            return "lineList";
        case PrimitiveKind::LineStrip:
            return "lineStrip";
        case PrimitiveKind::Points:
            return "points";
        case PrimitiveKind::Rect:
            return "rect";
        case PrimitiveKind::Circle:
            return "circle";
        case PrimitiveKind::Arc:
            return "arc";
        case PrimitiveKind::Text:
            return "text";
        case PrimitiveKind::Mesh:
            return "mesh";
    }
    return "unknown";
}

const char* drawableSourceName(Drawable::Source source) {
    switch (source) {
        case Drawable::Source::DrawOverride:
            return "drawOverride";
        case Drawable::Source::SceneRender:
            return "sceneRender";
        case Drawable::Source::UserOperation:
            return "userOperation";
        case Drawable::Source::HUD:
            return "hud";
        case Drawable::Source::ToolFeedback:
            return "toolFeedback";
        case Drawable::Source::ToolEvent:
            return "toolEvent";
    }
    return "unknown";
}

}  // namespace ehost
