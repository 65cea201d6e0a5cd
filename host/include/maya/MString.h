#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>
#include <string>

class MStringArray;

//! The host's string. Joining a number to a string writes the shortest text
//! that reads back to the same value.
class OPENMAYA_EXPORT MString {
public:
    MString() = default;
    MString(const char* text) : s_(text ? text : "") {}
    MString(const char* text, int length) : s_(text ? std::string(text, length) : std::string()) {}
    MString(const std::string& text) : s_(text) {}
    MString(const MString&) = default;
    MString(MString&&) noexcept = default;
    ~MString() = default;

    MString& operator=(const MString&) = default;
    MString& operator=(MString&&) noexcept = default;
    MString& operator=(const char* text) {
        s_ = text ? text : "";
        return *this;
    }
    MString& operator=(double value);

    MString& operator+=(const MString& other) {
        s_ += other.s_;
        return *this;
    }
    MString& operator+=(const char* text) {
        if (text) s_ += text;
        return *this;
    }
    MString& operator+=(char c) {
        s_ += c;
        return *this;
    }
    MString& operator+=(double value);
    MString& operator+=(float value);
    MString& operator+=(int value);
    MString& operator+=(unsigned int value);
    MString& operator+=(long value);
    MString& operator+=(unsigned long value);
    MString& operator+=(short value) { return *this += static_cast<int>(value); }

    MString operator+(const MString& other) const { return MString(s_ + other.s_); }
    MString operator+(const char* text) const { return MString(s_ + (text ? text : "")); }
    MString operator+(double value) const {
        MString r(*this);
        r += value;
        return r;
    }
    MString operator+(float value) const {
        MString r(*this);
        r += value;
        return r;
    }
    MString operator+(int value) const {
        MString r(*this);
        r += value;
        return r;
    }
    MString operator+(unsigned int value) const {
        MString r(*this);
        r += value;
        return r;
    }
    MString operator+(long value) const {
        MString r(*this);
        r += value;
        return r;
    }
    MString operator+(unsigned long value) const {
        MString r(*this);
        r += value;
        return r;
    }

    bool operator==(const MString& other) const { return s_ == other.s_; }
    bool operator==(const char* text) const { return s_ == (text ? text : ""); }
    bool operator!=(const MString& other) const { return s_ != other.s_; }
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator<(const MString& other) const { return s_ < other.s_; }

    const char* asChar() const { return s_.c_str(); }
    const char* asChar(int& length) const {
        length = static_cast<int>(s_.size());
        return s_.c_str();
    }
    const char* asUTF8() const { return s_.c_str(); }
    unsigned int length() const { return static_cast<unsigned int>(s_.size()); }
    unsigned int numChars() const { return length(); }
    bool isEmpty() const { return s_.empty(); }
    void clear() { s_.clear(); }

    MString& set(const char* text) { return *this = text; }
    MString& set(double value);
    MString& set(double value, int precision);

    //! Index of the first (last) occurrence of c, or -1.
    int index(char c) const;
    int rindex(char c) const;
    int indexW(const MString& text) const;
    int rindexW(const MString& text) const;
    //! Characters start..end, both included.
    MString substring(int start, int end) const;
    MString substringW(int start, int end) const { return substring(start, end); }
    MStatus split(char separator, MStringArray& parts) const;
    MString& toUpperCase();
    MString& toLowerCase();

    bool isShort() const;
    bool isInt() const;
    bool isUnsigned() const;
    bool isFloat() const;
    bool isDouble() const;
    short asShort() const;
    int asInt() const;
    unsigned int asUnsigned() const;
    float asFloat() const;
    double asDouble() const;

    MString& substitute(const MString& match, const MString& replacement);
    MString& substituteFirst(const MString& match, const MString& replacement);
    MString expandEnvironmentVariablesAndTilde(MStatus* status = NULL) const;

    //! The text as a standard string (for engine code and tests).
    const std::string& str() const { return s_; }

    friend std::ostream& operator<<(std::ostream& os, const MString& s);
    friend MString operator+(const char* text, const MString& s) {
        return MString(std::string(text ? text : "") + s.s_);
    }

private:
    std::string s_;
};
