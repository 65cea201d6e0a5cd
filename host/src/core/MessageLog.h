#pragma once
// What the host shows the user: info, warnings, errors and results. Printed
// as the host prints them and kept for tests to read.

#include <string>
#include <vector>

namespace ehost {

class MessageLog {
public:
    enum class Kind { Info, Warning, Error, Result, Output };
    struct Entry {
        Kind kind;
        std::string text;
    };

    void info(const std::string& text);
    void warning(const std::string& text);
    void error(const std::string& text);
    void result(const std::string& text);
    //! Text the user asked to be written (print), exactly as given.
    void print(const std::string& text);

    const std::vector<Entry>& entries() const { return entries_; }
    //! Errors reported so far, including those the bounded log has dropped.
    unsigned long long errorCount() const { return errors_; }
    void clear() { entries_.clear(); }
    //! Whether messages are printed (the application and tests can silence them).
    bool echo = true;

private:
    void add(Kind kind, const std::string& text);
    std::vector<Entry> entries_;
    unsigned long long errors_ = 0;
};

//! The running session's messages.
MessageLog& theMessages();

}  // namespace ehost
