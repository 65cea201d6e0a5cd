#pragma once
// Which inputs a harness lets through to the engine.
//
// Files: every file a command names must lie in the scratch directory (the
// working directory), so no token may hold a '/' (no absolute path, no way
// out through ".."), and the environment is not consulted ('$', a leading
// '~'). Plug-ins are searched for by name on the plug-in path only, so
// loadPlugin can open nothing but the plug-ins built beside the harness.
//
// Work: the engine refuses or clamps counts beyond its limits (4096
// subdivisions, an 8192-pixel view ...), but a count within them can still
// ask for millions of faces, which is no fault and takes minutes under the
// sanitizers. So no number may exceed kLargestCount; NaN and the infinities
// still come through (their refusals are what is worth fuzzing), and the
// refusals of large finite counts are tested in tests/host.

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "host/src/command/Lexer.h"
#include "host/src/core/NumberText.h"

namespace fuzz {

inline constexpr double kLargestCount = 256;

inline bool boundedNumber(const std::string& word) {
    double value;
    if (!ehost::parseDouble(word, value) || !std::isfinite(value)) return true;
    return std::abs(value) <= kLargestCount;
}

//! Command text that names files in the scratch directory only and asks for bounded work.
inline bool commandTextAllowed(const std::string& text) {
    std::vector<ehost::CommandText> commands;
    ehost::SplitError error;
    // Text that does not split runs nothing at all.
    if (!ehost::splitCommands(text, commands, error)) return true;
    for (const auto& command : commands)
        for (const auto& token : command.tokens) {
            if (token.text.find_first_of("/$") != std::string::npos ||
                (!token.text.empty() && token.text[0] == '~'))
                return false;
            if (token.kind == ehost::Token::Kind::Word && !boundedNumber(token.text)) return false;
        }
    return true;
}

//! A scene file whose numeric attribute values ("set PLUG N...") ask for bounded work: a
//! procedural node's subdivisions are the only counts a file does not pay for in bytes.
inline bool sceneFileAllowed(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line.substr(start, 4) != "set ") continue;
        std::size_t k = start;
        while (k < line.size()) {
            std::size_t b = line.find_first_not_of(" \t\r", k);
            if (b == std::string_view::npos) break;
            std::size_t e = line.find_first_of(" \t\r", b);
            if (e == std::string_view::npos) e = line.size();
            if (!boundedNumber(std::string(line.substr(b, e - b)))) return false;
            k = e;
        }
    }
    return true;
}

}  // namespace fuzz
