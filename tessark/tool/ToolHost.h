#pragma once
// The narrow interface through which the tool's state machine acts on the
// scene. The tool context implements it with the plug-in's actions and its
// rail-node gateway; tests implement it with a fake that records each call.

#include <optional>
#include <string>
#include <vector>

#include "geometry/point.h"

namespace tessark::tool {

class ToolHost {
public:
    virtual ~ToolHost() = default;

    //! The front-facing point of the source mesh under a view position, if any.
    virtual std::optional<geo::Point> captureSurfacePoint(short x, short y) = 0;
    //! A border vertex of the retopology mesh strictly within radius pixels of
    //! a view position, or -1.
    virtual int pickBorderVertex(double radius, short x, short y) = 0;

    //! The status ("Tessark_info1") and hint ("Tessark_info2") prompt lines.
    virtual void setStatus(const std::string& text) = 0;
    virtual void setHint(const std::string& text) = 0;

    //! Redraws the active view, or every view.
    virtual void refreshActiveView() = 0;
    virtual void refreshAllViews() = 0;
};

}  // namespace tessark::tool
