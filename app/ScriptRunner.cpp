#include "app/ScriptRunner.h"

#include <charconv>
#include <iostream>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/session/Session.h"

namespace tessark_app {

namespace {

//! The lexer names lines from the start of the text it was given; scripts
//! fed line by line need them counted from the start of the source.
std::string shiftLineNumber(const std::string& error, int firstLine) {
    constexpr std::string_view prefix = "line ";
    if (firstLine == 1 || error.compare(0, prefix.size(), prefix) != 0) return error;
    int line = 0;
    const char* begin = error.data() + prefix.size();
    auto [end, ec] = std::from_chars(begin, error.data() + error.size(), line);
    if (ec != std::errc()) return error;
    return "line " + std::to_string(line + firstLine - 1) +
           error.substr(static_cast<size_t>(end - error.data()));
}

std::string shortened(const std::string& text) {
    constexpr size_t kMax = 120;
    return text.size() <= kMax ? text : text.substr(0, kMax) + "...";
}

//! In quiet mode the host echoes nothing; warnings and errors are printed
//! here after each command instead.
void printProblems() {
    for (const auto& m : ehost::session().messages().entries()) {
        if (m.kind == ehost::MessageLog::Kind::Error)
            std::cerr << "// Error: " << m.text << " //" << std::endl;
        if (m.kind == ehost::MessageLog::Kind::Warning)
            std::cerr << "// Warning: " << m.text << " //" << std::endl;
    }
}

}  // namespace

bool ScriptRunner::runText(const std::string& text, const std::string& source) {
    return runSplit(text, source, 1, settings_.keepGoing);
}

bool ScriptRunner::runSplit(const std::string& text, const std::string& source, int firstLine,
                            bool keepGoing) {
    std::vector<ehost::CommandText> commands;
    std::string error;
    if (!ehost::splitCommands(text, commands, error)) {
        if (settings_.quiet) ehost::session().messages().clear();
        ehost::session().messages().error(source + ": " + shiftLineNumber(error, firstLine));
        if (settings_.quiet) printProblems();
        ++failures_;
        return false;
    }
    bool ok = true;
    for (const auto& command : commands) {
        if (runCommand(command, source, firstLine + command.line - 1)) continue;
        ok = false;
        if (!keepGoing) break;
    }
    return ok;
}

bool ScriptRunner::runCommand(const ehost::CommandText& command, const std::string& source,
                              int line) {
    if (settings_.verbose) std::cout << command.source << ";" << std::endl;
    auto& messages = ehost::session().messages();
    if (settings_.quiet) messages.clear();
    // Undoable like commands typed at the host's command line, so that the
    // script's own undo and redo reach them.
    MStatus st =
        ehost::runCommands(command.source, {.display = !settings_.quiet, .undoable = true});
    if (settings_.quiet) printProblems();
    if (st) return true;
    ++failures_;
    std::cerr << "tessark: " << source << ", line " << line
              << ": failed: " << shortened(command.source) << std::endl;
    return false;
}

bool ScriptRunner::runStream(std::istream& in, const std::string& source, bool interactive) {
    std::string pending, lineText;
    int firstLine = 1, lineNumber = 0;
    bool ok = true;
    auto prompt = [&] {
        if (interactive) std::cout << (pending.empty() ? "tessark> " : "      > ") << std::flush;
    };
    prompt();
    while (std::getline(in, lineText)) {
        ++lineNumber;
        if (pending.empty()) firstLine = lineNumber;
        pending += lineText;
        pending += '\n';
        std::vector<ehost::CommandText> probe;
        std::string error;
        // An open string or comment may close on a later line.
        if (!ehost::splitCommands(pending, probe, error) &&
            error.find("unterminated") != std::string::npos) {
            prompt();
            continue;
        }
        bool ran = runSplit(pending, source, firstLine, settings_.keepGoing || interactive);
        pending.clear();
        if (!ran) {
            ok = false;
            if (!settings_.keepGoing && !interactive) return false;
        }
        prompt();
    }
    if (interactive) std::cout << std::endl;
    // Whatever is still open at the end is reported as the lexer sees it.
    if (!pending.empty() && !runSplit(pending, source, firstLine, settings_.keepGoing)) ok = false;
    return ok;
}

}  // namespace tessark_app
