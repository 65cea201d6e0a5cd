#include "studio/BlobSource.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>

namespace tessark_studio {

namespace {

double radius(double t, double p) {
    return 5 * (1 + 0.10 * std::sin(3 * t) * std::cos(2 * p) +
                0.04 * std::sin(7 * t + 1) * std::sin(5 * p) +
                0.012 * std::sin(19 * t) * std::sin(17 * p));
}

//! Lines are put together in a buffer: a million faces through formatted
//! stream output would take seconds.
class ObjText {
public:
    void vertex(double x, double y, double z) {
        text_ += 'v';
        for (double c : {x, y, z}) {
            text_ += ' ';
            char buffer[32];
            auto [end, ec] =
                std::to_chars(buffer, buffer + sizeof buffer, c, std::chars_format::fixed, 6);
            text_.append(buffer, ec == std::errc() ? end : buffer);
        }
        text_ += '\n';
    }
    void face(long a, long b, long c) {
        text_ += 'f';
        for (long i : {a, b, c}) {
            text_ += ' ';
            text_ += std::to_string(i);
        }
        text_ += '\n';
    }
    void comment(const std::string& line) { text_ += "# " + line + "\n"; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace

bool writeBlobObj(const std::string& path, const BlobSize& size, std::string& why) {
    if (size.rings < 3 || size.segments < 3) {
        why = "a blob needs 3 rings and 3 segments at least";
        return false;
    }
    const double pi = std::numbers::pi;
    const long rings = size.rings, segments = size.segments;
    ObjText obj;
    obj.comment("dense blob: " + std::to_string(rings) + " rings, " + std::to_string(segments) +
                " segments");
    obj.vertex(0, radius(0, 0), 0);
    for (long i = 1; i < rings; ++i) {
        const double t = pi * static_cast<double>(i) / static_cast<double>(rings);
        for (long j = 0; j < segments; ++j) {
            const double p = 2 * pi * static_cast<double>(j) / static_cast<double>(segments);
            const double r = radius(t, p);
            obj.vertex(r * std::sin(t) * std::cos(p), r * std::cos(t),
                       r * std::sin(t) * std::sin(p));
        }
    }
    obj.vertex(0, -radius(pi, 0), 0);
    // Vertex 1 is the top pole, then ring i (1-based) starts at 2 + (i - 1) * segments.
    for (long j = 0; j < segments; ++j) obj.face(1, 2 + (j + 1) % segments, 2 + j);
    for (long i = 1; i < rings - 1; ++i) {
        const long a = 2 + (i - 1) * segments, b = a + segments;
        for (long j = 0; j < segments; ++j) {
            const long k = (j + 1) % segments;
            obj.face(a + j, a + k, b + k);
            obj.face(a + j, b + k, b + j);
        }
    }
    const long last = 2 + (rings - 1) * segments, a = 2 + (rings - 2) * segments;
    for (long j = 0; j < segments; ++j) obj.face(a + j, a + (j + 1) % segments, last);

    std::ofstream out(path, std::ios::binary);
    if (out) out << obj.text();
    if (out) out.close();
    if (!out) {
        why = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace tessark_studio
