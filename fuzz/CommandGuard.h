#pragma once
// Which command texts a harness lets through to the engine: every file a
// command names must then lie in the scratch directory (the working
// directory), so no token may hold a '/' (no absolute path, no way out
// through ".."), and the environment is not consulted ('$', a leading '~').
// Plug-ins are searched for by name on the plug-in path only, so loadPlugin
// can open nothing but the plug-ins built beside the harness.

#include <string>
#include <vector>

#include "host/src/command/Lexer.h"

namespace fuzz {

inline bool staysInScratchDir(const std::string& text) {
    std::vector<ehost::CommandText> commands;
    ehost::SplitError error;
    // Text that does not split runs nothing at all.
    if (!ehost::splitCommands(text, commands, error)) return true;
    for (const auto& command : commands)
        for (const auto& token : command.tokens)
            if (token.text.find_first_of("/$") != std::string::npos ||
                (!token.text.empty() && token.text[0] == '~'))
                return false;
    return true;
}

}  // namespace fuzz
