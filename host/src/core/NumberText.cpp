#include "host/src/core/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace ehost {

namespace {

template <class T>
std::string shortest(T value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    if (value == 0) return std::signbit(value) ? "-0" : "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

}  // namespace

std::string shortestText(double value) {
    return shortest(value);
}
std::string shortestText(float value) {
    return shortest(value);
}

bool parseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+') ++b;
    if (b == e) return false;
    auto r = std::from_chars(b, e, out);
    if (r.ec == std::errc() && r.ptr == e) return true;
    // from_chars refuses forms such as "1." or ".5" on some inputs; strtod takes them.
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

}  // namespace ehost
