#pragma once

#include <optional>

#include "geometry/point.h"
#include "geometry/stroke_set.h"

namespace geo {

// Subdivides every segment so that a stroke of n points has about 100 of them: each segment
// gives floor(100 / n) + 1 points, its start, the evenly spaced points between and its end, so
// inner points appear twice in a row. At least one subdivision is made per segment, so a stroke
// of more than 100 points keeps every input point (2 per segment). A stroke of fewer than two
// points has no segment and gives nothing.
Polyline densifyStroke(const Polyline& stroke);

// The copy of the current strokes kept for rebuilding a patch non-destructively: every segment
// split in five, six points per segment. Nothing (keep the stored copy) with fewer than two
// strokes, since a single stroke builds no patch.
std::optional<StrokeSet> nondestructStrokes(const StrokeSet& current);

}  // namespace geo
