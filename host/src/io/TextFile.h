#pragma once
// Plumbing shared by the host's text file formats (scenes, OBJ, OFF): reading
// a whole file and scanning it line by line and token by token, and writing a
// file aside and renaming it over the target only once it is complete, so
// that a failed write never destroys the previous file.

#include <maya/MStatus.h>

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/src/core/Files.h"

namespace ehost::io {

//! A refusal of a file's content, at a line (0 when no line applies). The
//! readers throw it internally; the public functions turn it into text.
class ParseError : public std::runtime_error {
public:
    ParseError(int line, const std::string& reason) : std::runtime_error(reason), line_(line) {}
    int line() const { return line_; }
    //! "line N: reason", or the reason alone without a line.
    std::string describe() const;

private:
    int line_;
};

//! An MStatus's text without the "(kCode): " the host puts in front, for
//! messages that quote it.
std::string statusText(const MStatus& status);

//! The whole file as bytes; false with a reason naming the file on failure.
bool readWholeFile(const std::string& path, std::string& out, std::string& error);

//! Walks text line by line and each line token by token. Tokens are separated
//! by spaces and tabs; "\r\n" line ends are accepted. Blank lines and lines
//! whose first token starts with '#' are skipped.
class LineScanner {
public:
    explicit LineScanner(std::string_view text, bool trailingComments = false)
        : text_(text), trailingComments_(trailingComments) {}

    //! Moves to the next line with content; false at the end of the text.
    bool next();
    int lineNumber() const { return lineNumber_; }
    std::string_view line() const { return line_; }
    //! Where the line starts in the text (to find it again later).
    std::size_t lineOffset() const { return lineStart_; }
    //! Continues scanning at a line found earlier.
    void rewindTo(std::size_t offset, int lineNumber);

    bool atLineEnd();
    //! The next token; throws naming what was expected when the line has ended.
    std::string_view token(const char* what);
    bool tryToken(std::string_view& out);
    //! Puts back the token just taken.
    void unread(std::string_view token) {
        rest_ = std::string_view(token.data(), rest_.data() + rest_.size() - token.data());
    }
    void expectKeyword(std::string_view keyword);
    //! A whole token as a number of type T; throws naming what was expected.
    template <class T>
    T number(const char* what);
    //! A non-negative count that cannot exceed what is left of the text
    //! (a corrupt count must not make the reader reserve gigabytes).
    std::size_t count(const char* what, std::size_t bytesPerItem = 2);
    //! A double-quoted string with \\, \" and \xHH escapes.
    std::string quoted(const char* what);
    //! Throws when anything but whitespace is left on the line.
    void expectLineEnd();

    [[noreturn]] void fail(const std::string& reason) const {
        throw ParseError(lineNumber_, reason);
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0, lineStart_ = 0;
    int lineNumber_ = 0;
    std::string_view line_, rest_;
    bool trailingComments_;
};

//! Parses a whole token as T (integers and floating point; floating point
//! also takes inf and nan). Correctly rounded, so shortest text reads back
//! bit for bit.
template <class T>
bool parseNumber(std::string_view token, T& out) {
    if (token.empty()) return false;
    const char* end = token.data() + token.size();
    auto r = std::from_chars(token.data(), end, out);
    return r.ec == std::errc() && r.ptr == end;
}

template <class T>
T LineScanner::number(const char* what) {
    std::string_view t = token(what);
    T value{};
    if (!parseNumber(t, value)) fail("\"" + std::string(t) + "\" is not a valid " + what);
    return value;
}

//! Buffered text output into a file descriptor, with the number formats of
//! the host's files. Write errors are remembered and reported by the owner.
class TextWriter {
public:
    explicit TextWriter(int fd = -1) : fd_(fd) { buffer_.reserve(kFlushSize + 4096); }

    TextWriter& word(std::string_view text) {
        separate();
        buffer_.append(text);
        return *this;
    }
    //! Shortest text that reads back to exactly the same value (-0, inf, nan kept).
    TextWriter& number(double value) { return formatted(value); }
    TextWriter& number(float value) { return formatted(value); }
    TextWriter& number(long long value) { return formatted(value); }
    TextWriter& number(int value) { return formatted(value); }
    TextWriter& number(std::size_t value) { return formatted(value); }
    TextWriter& quoted(std::string_view text);
    void endLine() {
        buffer_.push_back('\n');
        lineStarted_ = false;
        if (buffer_.size() >= kFlushSize) flush();
    }

    //! Writes out the buffer; false (with errorCode set) once any write failed.
    bool flush();
    bool failed() const { return errorCode_ != 0; }
    int errorCode() const { return errorCode_; }
    std::uint64_t bytesWritten() const { return written_; }

private:
    static constexpr std::size_t kFlushSize = 1 << 20;

    void separate() {
        if (lineStarted_) buffer_.push_back(' ');
        lineStarted_ = true;
    }
    template <class T>
    TextWriter& formatted(T value) {
        separate();
        char text[64];
        auto r = std::to_chars(text, text + sizeof text, value);
        buffer_.append(text, r.ptr);
        return *this;
    }

    int fd_;
    std::string buffer_;
    bool lineStarted_ = false;
    int errorCode_ = 0;
    std::uint64_t written_ = 0;
};

//! A new version of a file written beside it and renamed over it on commit
//! (see files::AsideFile: links are written through, non-regular files
//! refused). Destroyed without a successful commit, it removes the temporary
//! and the target stays as it was.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target) : target_(target), file_(std::move(target)) {}
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    //! Creates the temporary; false with a reason naming the target.
    bool open(std::string& error);
    TextWriter& out() { return writer_; }
    //! Flushes, syncs and closes the temporary, then renames it over the target.
    bool commit(std::string& error);

private:
    std::string target_;
    files::AsideFile file_;
    TextWriter writer_;
};

}  // namespace ehost::io
