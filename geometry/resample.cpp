#include "geometry/resample.h"

#include <cmath>

namespace geo {
namespace {

// Closed strokes search for a chord length that gives exactly the wanted count: the step first
// shrinks toward kSmallestStep, then grows, by kStepChange per pass.
constexpr double kStepChange = 0.001;
constexpr double kSmallestStep = 0.002;
constexpr std::uint32_t kLastPass = 99999;

// Chooses which input point the next chord aims at: the one whose distance from the anchor is the
// closer fit to the step, the current one or the one before it.
std::size_t chordTarget(std::size_t i, double lastInside, double beyond, double step) {
    if (std::abs(lastInside - step) > std::abs(beyond - step)) return i;
    return i > 1 ? i - 1 : i;
}

// chordWalk into a caller's buffer, so that the closed-stroke search does not allocate per pass.
void walkChordsInto(const Polyline& input, double step, std::uint32_t spans, Polyline& out) {
    out.clear();
    if (input.empty()) return;
    out.push_back(input.front());
    Point anchor = input.front();
    double lastInside = 0.0;
    const std::uint64_t wanted = std::uint64_t{spans} + 1;
    for (std::size_t i = 0; out.size() < wanted && i < input.size(); ++i) {
        const double l = distance(input[i], anchor);
        // A point at exactly the step is neither inside nor beyond the chord.
        if (l < step) lastInside = l;
        if (l > step) {
            const Point& target = input[chordTarget(i, lastInside, l, step)];
            if (const auto x = raySphereIntersect(anchor, target, anchor, step)) {
                out.push_back(*x);
                anchor = *x;
            }
        }
    }
    out.push_back(input.back());
}

}  // namespace

std::optional<Point> raySphereIntersect(const Point& p, const Point& q, const Point& c, double r) {
    const Vector d = q - p;
    const double a = dot(d, d);
    if (a == 0.0) return std::nullopt;
    const double b = 2.0 * dot(p - c, d);
    const double cc = lengthSquared(c - p) - r * r;
    const double disc = b * b - 4.0 * a * cc;
    // A tangent line (disc 0) or a NaN counts as a miss.
    if (!(disc > 0.0)) return std::nullopt;
    const double t = (std::sqrt(disc) - b) / (2.0 * a);
    return p + d * t;
}

Polyline chordWalk(const Polyline& input, double step, std::uint32_t spans) {
    Polyline out;
    walkChordsInto(input, step, spans, out);
    return out;
}

double polylineLength(const Polyline& line) {
    double total = 0.0;
    for (std::size_t k = 0; k + 1 < line.size(); ++k) total += distance(line[k + 1], line[k]);
    return total;
}

Polyline resampleStroke(const Polyline& input, std::uint32_t spans, const ClosedFlag& isClosed) {
    if (input.size() < 3 || input.size() - 1 == spans) return input;
    if (spans == 0 || spans == kNoResample) return {};

    double step = polylineLength(input) / spans;
    bool decreasing = true;
    Polyline result;
    for (std::uint32_t pass = 0;; ++pass) {
        walkChordsInto(input, step, spans, result);
        if (decreasing) step -= kStepChange;
        if (step < kSmallestStep) {
            decreasing = false;
            step += kStepChange;
        } else if (!decreasing) {
            step += kStepChange;
        }
        if (pass >= kLastPass) break;
        // Read after the pass, so an open stroke always gets exactly one.
        if (!isClosed || !isClosed()) break;
        if (result.size() == spans) break;
    }
    return result;
}

}  // namespace geo
