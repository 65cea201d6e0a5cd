#include "host/src/core/MessageLog.h"

#include <iostream>

namespace ehost {

void MessageLog::info(const std::string& text) {
    add(Kind::Info, text);
    if (echo) std::cout << text << std::endl;
}

void MessageLog::warning(const std::string& text) {
    add(Kind::Warning, text);
    if (echo) std::cerr << "// Warning: " << text << " //" << std::endl;
}

void MessageLog::error(const std::string& text) {
    ++errors_;
    add(Kind::Error, text);
    if (echo) std::cerr << "// Error: " << text << " //" << std::endl;
}

void MessageLog::result(const std::string& text) {
    add(Kind::Result, text);
    if (echo) std::cout << "// Result: " << text << " //" << std::endl;
}

void MessageLog::print(const std::string& text) {
    add(Kind::Output, text);
    if (echo) std::cout << text << std::flush;
}

void MessageLog::add(Kind kind, const std::string& text) {
    // Keep the log bounded: a long script must not grow memory without end.
    if (entries_.size() >= 10000) entries_.erase(entries_.begin(), entries_.begin() + 5000);
    entries_.push_back({kind, text});
}

}  // namespace ehost
