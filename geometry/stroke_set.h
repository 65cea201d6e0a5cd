#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/point.h"

namespace geo {

// Several strokes stored flat, as the rail node keeps them: stroke i is the sizes[i] points after
// the points of the strokes before it.
//
// The node's arrays come from scene files and other tools, so they may disagree. Every operation
// here reads a set through its consistent prefix (see clippedStrokeSet) and never reads out of
// bounds; the operations themselves only produce consistent sets.
struct StrokeSet {
    std::vector<Point> points;
    std::vector<std::int32_t> sizes;

    friend bool operator==(const StrokeSet&, const StrokeSet&) = default;
};

// Sizes sum to the point count and none is negative.
bool isConsistent(const StrokeSet& set);

// The set as far as it can be read: a negative size counts as an empty stroke, a size running
// past the points is cut to the points left, and points after the last stroke are dropped.
StrokeSet clippedStrokeSet(const StrokeSet& set);

std::vector<Polyline> splitStrokes(const StrokeSet& set);
StrokeSet joinStrokes(std::span<const Polyline> strokes);

void appendStroke(StrokeSet& set, const Polyline& stroke);
// Puts the stroke in front, as the first stroke; used when a patch grows from the player.
void prependStroke(StrokeSet& set, const Polyline& stroke);
// False, with the set untouched, when there is no stroke.
bool removeLastStroke(StrokeSet& set);
// Makes every stroke a loop by overwriting its last point with its first.
void closeStrokes(StrokeSet& set);

// The first stroke, or nothing for an empty set.
Polyline firstStroke(const StrokeSet& set);
// The last stroke's size, or -1 for an empty set.
std::int32_t lastSize(const StrokeSet& set);

}  // namespace geo
