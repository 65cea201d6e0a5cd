#pragma once
// The tool context's transient state: the gesture in progress and the
// artist's border selections on the retopology mesh. Everything persistent
// lives on the rail node instead.

#include <vector>

#include "geometry/point.h"

namespace tessark::tool {

struct ViewPosition {
    short x = 0;
    short y = 0;
};

struct ContextState {
    ViewPosition pressPosition;  // cursor at the last press
    ViewPosition dragPosition;   // cursor at the last drag or pointer move
    geo::Polyline liveStroke;    // surface points of the current left drag
    bool redrawFlag = false;     // the current drag is a Ctrl drag
    bool pathFlag = false;       // the current drag is a Shift drag
    double spinAngle = 0.0;      // angle of the stroke feedback arcs

    std::vector<int> magnetPoints;  // 0 to 2 border vertices picked for a merge
    std::vector<int> playerStart;   // the pin points, 0 to 2 border vertices
    std::vector<int> playerEdges;   // border edges between the pins, from the first
    std::vector<int> fuseEdges;     // border edges of the fuse loop
    std::vector<int> fuseVertices;  // the fuse loop's vertices, one per player vertex
    std::vector<int> weldVertices;  // fuseVertices for a weld, empty for a bridge

    bool brushMode = false;
    double brushRadius = 0.0;    // view pixels
    double brushStrength = 0.0;  // four times the intensity given
    geo::Polyline brushRestPositions;
};

//! Where the artist's selections stand; strokes are independent of it.
enum class ToolState { idle, onePin, player, bridge, weld, magnet, magnets };

ToolState toolState(const ContextState& state);
const char* toolStateName(ToolState state);

}  // namespace tessark::tool
