#include "tessark/tool/ContextState.h"

namespace tessark::tool {

ToolState toolState(const ContextState& state) {
    if (!state.magnetPoints.empty())
        return state.magnetPoints.size() >= 2 ? ToolState::magnets : ToolState::magnet;
    if (state.playerStart.empty()) return ToolState::idle;
    if (state.playerStart.size() == 1) return ToolState::onePin;
    if (state.fuseEdges.empty()) return ToolState::player;
    return state.weldVertices.empty() ? ToolState::bridge : ToolState::weld;
}

const char* toolStateName(ToolState state) {
    switch (state) {
        case ToolState::idle:
            return "Idle";
        case ToolState::onePin:
            return "One pin";
        case ToolState::player:
            return "Player";
        case ToolState::bridge:
            return "Bridge";
        case ToolState::weld:
            return "Weld";
        case ToolState::magnet:
            return "Magnet";
        case ToolState::magnets:
            return "Magnets";
    }
    return "";
}

}  // namespace tessark::tool
