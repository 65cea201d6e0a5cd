#include "geometry/densify.h"

#include <algorithm>

namespace geo {
namespace {

constexpr std::size_t kDensifyTarget = 100;
constexpr std::size_t kNondestructSubdivisions = 5;

// Appends the segment's start, `subdivisions` - 1 evenly spaced points and its end.
void appendSubdividedSegments(const Polyline& stroke, std::size_t subdivisions, Polyline& out) {
    for (std::size_t i = 0; i + 1 < stroke.size(); ++i) {
        const Point& from = stroke[i];
        const Vector along = stroke[i + 1] - from;
        for (std::size_t k = 0; k < subdivisions; ++k) {
            out.push_back(from +
                          along * static_cast<double>(k) / static_cast<double>(subdivisions));
        }
        out.push_back(stroke[i + 1]);
    }
}

}  // namespace

Polyline densifyStroke(const Polyline& stroke) {
    if (stroke.size() < 2) return {};
    const std::size_t subdivisions = std::max<std::size_t>(1, kDensifyTarget / stroke.size());
    Polyline out;
    out.reserve((stroke.size() - 1) * (subdivisions + 1));
    appendSubdividedSegments(stroke, subdivisions, out);
    return out;
}

std::optional<StrokeSet> nondestructStrokes(const StrokeSet& current) {
    const std::vector<Polyline> strokes = splitStrokes(current);
    if (strokes.size() < 2) return std::nullopt;
    StrokeSet dense;
    for (const Polyline& stroke : strokes) {
        Polyline out;
        appendSubdividedSegments(stroke, kNondestructSubdivisions, out);
        appendStroke(dense, out);
    }
    return dense;
}

}  // namespace geo
