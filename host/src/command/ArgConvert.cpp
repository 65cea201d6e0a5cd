#include "host/src/command/ArgConvert.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "host/src/core/NumberText.h"

namespace ehost {

bool parseBool(const std::string& text, bool& out) {
    std::string t = text;
    std::transform(t.begin(), t.end(), t.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (t == "true" || t == "on" || t == "yes" || t == "1") {
        out = true;
        return true;
    }
    if (t == "false" || t == "off" || t == "no" || t == "0") {
        out = false;
        return true;
    }
    return false;
}

bool parseInt(const std::string& text, int& out) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') ++b;
    auto r = std::from_chars(b, e, out);
    if (r.ec == std::errc() && r.ptr == e && b != e) return true;
    // "3.0" reads as 3, as the host accepts whole numbers written as decimals.
    double d;
    if (parseDouble(text, d) && std::isfinite(d) && d == std::trunc(d) &&
        std::fabs(d) < 2147483648.0) {
        out = static_cast<int>(d);
        return true;
    }
    return false;
}

bool parseUnsigned(const std::string& text, unsigned& out) {
    int v;
    if (!parseInt(text, v) || v < 0) return false;
    out = static_cast<unsigned>(v);
    return true;
}

bool parseNumber(const std::string& text, double& out) {
    return parseDouble(text, out);
}

}  // namespace ehost
