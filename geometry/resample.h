#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "geometry/point.h"

namespace geo {

// Asked for as the span count, it means "do not resample": resampleStroke returns nothing.
inline constexpr std::uint32_t kNoResample = 99999;

// Tells whether the strokes being resampled are closed loops. It is asked once per pass, because
// in the tool the answer is a node attribute that may change while a long closed search runs.
// An empty callable reads as "open".
using ClosedFlag = std::function<bool()>;

// Intersection of the line through p and q with the sphere of centre c and radius r: the root on
// the far side of p in the direction of q. Not found when p and q coincide or the line misses or
// only touches the sphere.
std::optional<Point> raySphereIntersect(const Point& p, const Point& q, const Point& c, double r);

// One resampling pass: walks the input and drops a point every `step` of chord length, at most one
// per input point and at most `spans` of them, then closes on the input's last point.
Polyline chordWalk(const Polyline& input, double step, std::uint32_t spans);

// The input resampled to `spans` spans of constant chord length. Open strokes get one pass; closed
// strokes are walked again with a changing step until a pass returns exactly `spans` points, for
// at most 100000 passes.
Polyline resampleStroke(const Polyline& input, std::uint32_t spans,
                        const ClosedFlag& isClosed = {});

// Sum of the segment lengths.
double polylineLength(const Polyline& line);

}  // namespace geo
