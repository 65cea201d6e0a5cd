#include "geometry/stroke_set.h"

#include <algorithm>
#include <limits>

namespace geo {
namespace {

std::int32_t sizeOf(const Polyline& stroke) {
    // A stroke of more than 2^31 points cannot be stored in the node's 32-bit sizes.
    constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(stroke.size(), kLargest));
}

}  // namespace

bool isConsistent(const StrokeSet& set) {
    std::size_t total = 0;
    for (std::int32_t size : set.sizes) {
        if (size < 0) return false;
        total += static_cast<std::size_t>(size);
    }
    return total == set.points.size();
}

StrokeSet clippedStrokeSet(const StrokeSet& set) {
    if (isConsistent(set)) return set;
    StrokeSet clipped;
    clipped.sizes.reserve(set.sizes.size());
    std::size_t offset = 0;
    for (std::int32_t size : set.sizes) {
        const std::size_t wanted = size > 0 ? static_cast<std::size_t>(size) : 0;
        const std::size_t taken = std::min(wanted, set.points.size() - offset);
        clipped.sizes.push_back(static_cast<std::int32_t>(taken));
        offset += taken;
    }
    clipped.points.assign(set.points.begin(), set.points.begin() + offset);
    return clipped;
}

std::vector<Polyline> splitStrokes(const StrokeSet& set) {
    const StrokeSet clipped = clippedStrokeSet(set);
    std::vector<Polyline> strokes;
    strokes.reserve(clipped.sizes.size());
    auto next = clipped.points.begin();
    for (std::int32_t size : clipped.sizes) {
        strokes.emplace_back(next, next + size);
        next += size;
    }
    return strokes;
}

StrokeSet joinStrokes(std::span<const Polyline> strokes) {
    StrokeSet set;
    for (const Polyline& stroke : strokes) appendStroke(set, stroke);
    return set;
}

void appendStroke(StrokeSet& set, const Polyline& stroke) {
    set = clippedStrokeSet(set);
    const std::int32_t size = sizeOf(stroke);
    set.points.insert(set.points.end(), stroke.begin(), stroke.begin() + size);
    set.sizes.push_back(size);
}

void prependStroke(StrokeSet& set, const Polyline& stroke) {
    set = clippedStrokeSet(set);
    const std::int32_t size = sizeOf(stroke);
    set.points.insert(set.points.begin(), stroke.begin(), stroke.begin() + size);
    set.sizes.insert(set.sizes.begin(), size);
}

bool removeLastStroke(StrokeSet& set) {
    if (set.sizes.empty()) return false;
    set = clippedStrokeSet(set);
    set.points.resize(set.points.size() - static_cast<std::size_t>(set.sizes.back()));
    set.sizes.pop_back();
    return true;
}

void closeStrokes(StrokeSet& set) {
    set = clippedStrokeSet(set);
    std::size_t offset = 0;
    for (std::int32_t size : set.sizes) {
        if (size > 0) set.points[offset + size - 1] = set.points[offset];
        offset += static_cast<std::size_t>(size);
    }
}

Polyline firstStroke(const StrokeSet& set) {
    const StrokeSet clipped = clippedStrokeSet(set);
    if (clipped.sizes.empty()) return {};
    return Polyline(clipped.points.begin(), clipped.points.begin() + clipped.sizes.front());
}

std::int32_t lastSize(const StrokeSet& set) {
    if (set.sizes.empty()) return -1;
    return clippedStrokeSet(set).sizes.back();
}

}  // namespace geo
