#include "app/ScriptRunner.h"

#include <iostream>

#include "host/src/session/Application.h"

namespace tessark_app {

namespace host = ehost::application;

namespace {

std::string shortened(const std::string& text) {
    constexpr size_t kMax = 120;
    return text.size() <= kMax ? text : text.substr(0, kMax) + "...";
}

//! In quiet mode the host echoes nothing; warnings and errors are printed
//! here after each command instead.
void printProblems() {
    for (const auto& p : host::problems())
        std::cerr << (p.kind == host::Problem::Kind::Error ? "// Error: " : "// Warning: ")
                  << p.text << " //" << std::endl;
}

}  // namespace

bool ScriptRunner::runText(const std::string& text, const std::string& source) {
    return runPart(text, source, 1, settings_.keepGoing) == Ran::Ok;
}

ScriptRunner::Ran ScriptRunner::runPart(const std::string& text, const std::string& source,
                                        int firstLine, bool keepGoing, bool waitIfUnterminated) {
    host::RunOptions options;
    options.firstLine = firstLine;
    options.display = !settings_.quiet;
    options.keepGoing = keepGoing;
    options.waitIfUnterminated = waitIfUnterminated;
    options.beforeEach = [&](const host::Step& step) {
        if (settings_.verbose) std::cout << step.text << ";" << std::endl;
        if (settings_.quiet) host::clearMessages();
    };
    options.afterEach = [&](const host::Step& step, bool ok) {
        if (settings_.quiet) printProblems();
        if (ok) return;
        ++failures_;
        std::cerr << "tessark: " << source << ", line " << step.line
                  << ": failed: " << shortened(step.text) << std::endl;
    };
    const host::Outcome outcome = host::run(text, options);
    if (outcome.unterminated && waitIfUnterminated) return Ran::Wait;
    if (outcome.invalidText) {
        if (settings_.quiet) host::clearMessages();
        host::reportError(source + ": line " + std::to_string(outcome.line) + ": " +
                          outcome.reason);
        if (settings_.quiet) printProblems();
        ++failures_;
    }
    return outcome.ok ? Ran::Ok : Ran::Failed;
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
        // An open string or comment may close on a later line.
        Ran ran = runPart(pending, source, firstLine, settings_.keepGoing || interactive, true);
        if (ran == Ran::Wait) {
            prompt();
            continue;
        }
        pending.clear();
        if (ran == Ran::Failed) {
            ok = false;
            if (!settings_.keepGoing && !interactive) return false;
        }
        prompt();
    }
    if (interactive) std::cout << std::endl;
    // Whatever is still open at the end is reported as the lexer sees it.
    if (!pending.empty() && runPart(pending, source, firstLine, settings_.keepGoing) != Ran::Ok)
        ok = false;
    return ok;
}

}  // namespace tessark_app
