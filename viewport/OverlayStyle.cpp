#include "viewport/OverlayStyle.h"

#include <maya/MGlobal.h>

#include <cmath>
#include <limits>

namespace {

double preference(const char* name, double fallback) {
    bool exists = false;
    const double value = MGlobal::optionVarDoubleValue(name, &exists);
    return exists ? value : fallback;
}

}  // namespace

unsigned int depthPriorityOf(double value) {
    // Converting a double outside the integer range is undefined: clamp first.
    constexpr double kMax = std::numeric_limits<unsigned int>::max();
    if (!(value > 0.0)) return 0;
    if (value >= kMax) return std::numeric_limits<unsigned int>::max();
    return static_cast<unsigned int>(std::trunc(value));
}

OverlayStyle readOverlayStyle() {
    OverlayStyle style;
    const auto channel = [](const char* name, double fallback) {
        return static_cast<float>(preference(name, fallback));
    };
    style.surface = MColor(channel("kvCutSurfCr", 0.14), channel("kvCutSurfCg", 0.14),
                           channel("kvCutSurfCb", 0.17), channel("kvCutSa", 0.3));
    style.line = MColor(channel("kvCutLineCr", 0.08), channel("kvCutLineCg", 0.06),
                        channel("kvCutLineCb", 0.17), 1.0f);
    style.lineWidth = channel("kvCutLw", 2.5);
    const double depth = preference("kvCutDp", 2.5);
    style.surfaceDepthPriority = depthPriorityOf(depth);
    style.lineDepthPriority = depthPriorityOf(2.0 * depth);
    style.cullThreshold = preference("kvCutBf", 0.0);
    return style;
}
