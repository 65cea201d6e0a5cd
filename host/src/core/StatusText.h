#pragma once
// The reason a status gives, without its "(kCode): " prefix, for messages
// that name what failed in their own words.

#include <maya/MStatus.h>

#include <string>

namespace ehost {

inline std::string statusText(const MStatus& status) {
    std::string text = status.errorString().str();
    auto close = text.find("): ");
    return close == std::string::npos ? text : text.substr(close + 3);
}

}  // namespace ehost
