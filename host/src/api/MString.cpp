#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "host/src/core/NumberText.h"

MString& MString::operator=(double value) {
    s_ = ehost::shortestText(value);
    return *this;
}

MString& MString::operator+=(double value) {
    s_ += ehost::shortestText(value);
    return *this;
}

MString& MString::operator+=(float value) {
    s_ += ehost::shortestText(value);
    return *this;
}

MString& MString::operator+=(int value) {
    s_ += std::to_string(value);
    return *this;
}

MString& MString::operator+=(unsigned int value) {
    s_ += std::to_string(value);
    return *this;
}

MString& MString::operator+=(long value) {
    s_ += std::to_string(value);
    return *this;
}

MString& MString::operator+=(unsigned long value) {
    s_ += std::to_string(value);
    return *this;
}

MString& MString::set(double value) {
    return *this = value;
}

MString& MString::set(double value, int precision) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(precision, 0, 30), value);
    s_ = buf;
    return *this;
}

int MString::index(char c) const {
    auto p = s_.find(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int MString::rindex(char c) const {
    auto p = s_.rfind(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int MString::indexW(const MString& text) const {
    auto p = s_.find(text.s_);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int MString::rindexW(const MString& text) const {
    auto p = s_.rfind(text.s_);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

MString MString::substring(int start, int end) const {
    int n = static_cast<int>(s_.size());
    start = std::max(start, 0);
    end = std::min(end, n - 1);
    if (start > end) return MString();
    return MString(s_.substr(start, end - start + 1));
}

MStatus MString::split(char separator, MStringArray& parts) const {
    parts.clear();
    std::string::size_type begin = 0;
    while (begin <= s_.size()) {
        auto end = s_.find(separator, begin);
        if (end == std::string::npos) end = s_.size();
        // Like the host, runs of separators produce no empty pieces.
        if (end > begin) parts.append(MString(s_.substr(begin, end - begin)));
        begin = end + 1;
    }
    return MStatus::kSuccess;
}

MString& MString::toUpperCase() {
    for (auto& c : s_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}

MString& MString::toLowerCase() {
    for (auto& c : s_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}

namespace {

template <class T>
bool parsesAs(const std::string& s, T& out) {
    const char* b = s.data();
    const char* e = b + s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(*b))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(e[-1]))) --e;
    if (b < e && *b == '+') ++b;
    if (b == e) return false;
    auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e;
}

}  // namespace

bool MString::isShort() const {
    short v;
    return parsesAs(s_, v);
}
bool MString::isInt() const {
    int v;
    return parsesAs(s_, v);
}
bool MString::isUnsigned() const {
    unsigned v;
    return parsesAs(s_, v);
}
bool MString::isFloat() const {
    float v;
    return parsesAs(s_, v);
}
bool MString::isDouble() const {
    double v;
    return parsesAs(s_, v);
}
short MString::asShort() const {
    short v = 0;
    return parsesAs(s_, v) ? v : static_cast<short>(std::atoi(s_.c_str()));
}
int MString::asInt() const {
    int v = 0;
    return parsesAs(s_, v) ? v : std::atoi(s_.c_str());
}
unsigned int MString::asUnsigned() const {
    unsigned v = 0;
    return parsesAs(s_, v) ? v : static_cast<unsigned>(std::strtoul(s_.c_str(), nullptr, 10));
}
float MString::asFloat() const {
    float v = 0;
    return parsesAs(s_, v) ? v : std::strtof(s_.c_str(), nullptr);
}
double MString::asDouble() const {
    double v = 0;
    return parsesAs(s_, v) ? v : std::strtod(s_.c_str(), nullptr);
}

MString& MString::substitute(const MString& match, const MString& replacement) {
    if (match.s_.empty()) return *this;
    std::string out;
    std::string::size_type pos = 0, hit;
    while ((hit = s_.find(match.s_, pos)) != std::string::npos) {
        out.append(s_, pos, hit - pos);
        out += replacement.s_;
        pos = hit + match.s_.size();
    }
    out.append(s_, pos, std::string::npos);
    s_ = std::move(out);
    return *this;
}

MString& MString::substituteFirst(const MString& match, const MString& replacement) {
    auto hit = match.s_.empty() ? std::string::npos : s_.find(match.s_);
    if (hit != std::string::npos) s_.replace(hit, match.s_.size(), replacement.s_);
    return *this;
}

MString MString::expandEnvironmentVariablesAndTilde(MStatus* status) const {
    std::string out;
    for (std::string::size_type i = 0; i < s_.size(); ++i) {
        char c = s_[i];
        if (c == '~' && i == 0) {
            const char* home = std::getenv("HOME");
            out += home ? home : "~";
        } else if (c == '$') {
            std::string::size_type j = i + 1;
            bool braced = j < s_.size() && s_[j] == '{';
            if (braced) ++j;
            std::string::size_type k = j;
            while (k < s_.size() &&
                   (std::isalnum(static_cast<unsigned char>(s_[k])) || s_[k] == '_'))
                ++k;
            const char* value = std::getenv(s_.substr(j, k - j).c_str());
            if (value) out += value;
            if (braced && k < s_.size() && s_[k] == '}') ++k;
            i = k - 1;
        } else {
            out += c;
        }
    }
    if (status) *status = MStatus::kSuccess;
    return MString(out);
}

std::ostream& operator<<(std::ostream& os, const MString& s) {
    return os << s.s_;
}
