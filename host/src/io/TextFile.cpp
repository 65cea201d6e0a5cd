#include "host/src/io/TextFile.h"

#include <maya/MString.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace ehost::io {

std::string ParseError::describe() const {
    return line_ > 0 ? "line " + std::to_string(line_) + ": " + what() : std::string(what());
}

std::string statusText(const MStatus& status) {
    std::string s = status.errorString().str();
    if (!s.empty() && s.front() == '(') {
        if (auto close = s.find("): "); close != std::string::npos) return s.substr(close + 3);
    }
    return s;
}

// ---------------------------------------------------------------- reading

bool readWholeFile(const std::string& path, std::string& out, std::string& error) {
    std::string reason;
    int fd = files::openForReading(path, reason);
    if (fd < 0) {
        error = "cannot open " + path + ": " + reason;
        return false;
    }
    bool ok = files::readAll(fd, out, reason);
    ::close(fd);
    if (!ok) error = "cannot read " + path + ": " + reason;
    return ok;
}

// ---------------------------------------------------------------- scanning

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isSpace(s[i])) ++i;
    return s.substr(i);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool LineScanner::next() {
    while (pos_ < text_.size()) {
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        lineStart_ = pos_;
        line_ = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++lineNumber_;
        if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
        rest_ = line_;
        if (trailingComments_) {
            if (auto hash = rest_.find('#'); hash != std::string_view::npos)
                rest_ = rest_.substr(0, hash);
        }
        std::string_view content = trimLeft(rest_);
        if (content.empty() || content.front() == '#') continue;
        return true;
    }
    line_ = rest_ = {};
    return false;
}

void LineScanner::rewindTo(std::size_t offset, int lineNumber) {
    pos_ = offset;
    lineNumber_ = lineNumber - 1;
}

bool LineScanner::atLineEnd() {
    rest_ = trimLeft(rest_);
    return rest_.empty();
}

bool LineScanner::tryToken(std::string_view& out) {
    rest_ = trimLeft(rest_);
    if (rest_.empty()) return false;
    std::size_t n = 0;
    while (n < rest_.size() && !isSpace(rest_[n])) ++n;
    out = rest_.substr(0, n);
    rest_ = rest_.substr(n);
    return true;
}

std::string_view LineScanner::token(const char* what) {
    std::string_view t;
    if (!tryToken(t)) fail(std::string("the line ends where ") + what + " was expected");
    return t;
}

void LineScanner::expectKeyword(std::string_view keyword) {
    std::string_view t;
    if (!tryToken(t)) fail("the line ends where \"" + std::string(keyword) + "\" was expected");
    if (t != keyword)
        fail("expected \"" + std::string(keyword) + "\", found \"" + std::string(t) + "\"");
}

std::size_t LineScanner::count(const char* what, std::size_t bytesPerItem) {
    auto n = number<long long>(what);
    if (n < 0) fail(std::string(what) + " cannot be negative (" + std::to_string(n) + ")");
    std::size_t left = text_.size() - static_cast<std::size_t>(rest_.data() - text_.data());
    if (static_cast<unsigned long long>(n) > left / bytesPerItem + 1)
        fail(std::string(what) + " " + std::to_string(n) +
             " is more than the rest of the file holds");
    return static_cast<std::size_t>(n);
}

std::string LineScanner::quoted(const char* what) {
    rest_ = trimLeft(rest_);
    if (rest_.empty()) fail(std::string("the line ends where ") + what + " was expected");
    if (rest_.front() != '"') fail(std::string(what) + " must be a string in double quotes");
    std::string out;
    std::size_t i = 1;
    for (;;) {
        if (i >= rest_.size()) fail(std::string(what) + " has no closing quote");
        char c = rest_[i++];
        if (c == '"') break;
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (i >= rest_.size()) fail(std::string(what) + " has no closing quote");
        char e = rest_[i++];
        if (e == '\\' || e == '"') {
            out.push_back(e);
        } else if (e == 'x' && i + 1 < rest_.size() && hexDigit(rest_[i]) >= 0 &&
                   hexDigit(rest_[i + 1]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(rest_[i]) * 16 + hexDigit(rest_[i + 1])));
            i += 2;
        } else {
            fail(std::string(what) + " has an unknown escape \\" + std::string(1, e));
        }
    }
    if (i < rest_.size() && !isSpace(rest_[i]))
        fail(std::string(what) + " runs into other text after its closing quote");
    rest_ = rest_.substr(i);
    return out;
}

void LineScanner::expectLineEnd() {
    if (!atLineEnd()) {
        std::string_view extra;
        tryToken(extra);
        fail("unexpected \"" + std::string(extra) + "\" at the end of the line");
    }
}

// ---------------------------------------------------------------- writing

TextWriter& TextWriter::quoted(std::string_view text) {
    static const char* const hex = "0123456789abcdef";
    separate();
    buffer_.push_back('"');
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            buffer_.push_back('\\');
            buffer_.push_back(c);
        } else if (u < 0x20 || u == 0x7f) {
            // Control characters would break the line structure or hide in an editor.
            buffer_ += "\\x";
            buffer_.push_back(hex[u >> 4]);
            buffer_.push_back(hex[u & 15]);
        } else {
            buffer_.push_back(c);
        }
    }
    buffer_.push_back('"');
    return *this;
}

bool TextWriter::flush() {
    std::size_t done = 0;
    while (errorCode_ == 0 && done < buffer_.size()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            errorCode_ = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += done;
    buffer_.clear();
    return errorCode_ == 0;
}

// ---------------------------------------------------------------- replacing

bool ReplacingFile::open(std::string& error) {
    std::string reason;
    if (!file_.open(reason)) {
        error = "cannot save " + (target_.empty() ? std::string("\"\"") : target_) + ": " + reason;
        return false;
    }
    writer_ = TextWriter(file_.fd());
    return true;
}

bool ReplacingFile::commit(std::string& error) {
    if (!writer_.flush()) file_.failed(writer_.errorCode());
    std::string reason;
    if (file_.commit(reason)) return true;
    error = "cannot save " + target_ + ": " + reason;
    return false;
}

}  // namespace ehost::io
