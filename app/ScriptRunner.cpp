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

host::RunOptions ScriptRunner::options(const std::string& source, int firstLine, bool keepGoing) {
    host::RunOptions options;
    options.firstLine = firstLine;
    options.display = !settings_.quiet;
    options.keepGoing = keepGoing;
    options.beforeEach = [this](const host::Step& step) {
        if (settings_.verbose) std::cout << step.text << ";" << std::endl;
        if (settings_.quiet) host::clearMessages();
    };
    options.afterEach = [this, source](const host::Step& step, bool ok) {
        if (settings_.quiet) printProblems();
        if (ok) return;
        ++failures_;
        std::cerr << "tessark: " << source << ", line " << step.line
                  << ": failed: " << shortened(step.text) << std::endl;
    };
    return options;
}

bool ScriptRunner::report(const host::Outcome& outcome, const std::string& source) {
    if (outcome.invalidText) {
        if (settings_.quiet) host::clearMessages();
        host::reportError(source + ": line " + std::to_string(outcome.line) + ": " +
                          outcome.reason);
        if (settings_.quiet) printProblems();
        ++failures_;
    }
    return outcome.ok;
}

ScriptRunner::Ran ScriptRunner::runPart(const std::string& text, const std::string& source,
                                        int firstLine, bool keepGoing, bool waitIfUnterminated) {
    host::RunOptions run = options(source, firstLine, keepGoing);
    run.waitIfUnterminated = waitIfUnterminated;
    const host::Outcome outcome = host::run(text, run);
    if (outcome.unterminated && waitIfUnterminated) return Ran::Wait;
    return report(outcome, source) ? Ran::Ok : Ran::Failed;
}

bool ScriptRunner::runStream(std::istream& in, const std::string& source, bool interactive) {
    // Each line is lexed once: text held open by a string or comment is not
    // read again from its start on every line that follows.
    host::LineFeed feed;
    const host::RunOptions run = options(source, 1, settings_.keepGoing || interactive);
    std::string lineText;
    bool ok = true, waiting = false;
    auto prompt = [&] {
        if (interactive) std::cout << (waiting ? "      > " : "tessark> ") << std::flush;
    };
    prompt();
    while (std::getline(in, lineText)) {
        waiting = !feed.addLine(lineText);
        if (!waiting && !report(feed.runReady(run), source)) {
            ok = false;
            if (!settings_.keepGoing && !interactive) return false;
        }
        prompt();
    }
    if (interactive) std::cout << std::endl;
    // Whatever is still open at the end is reported as the lexer sees it.
    host::RunOptions last = run;
    last.keepGoing = settings_.keepGoing;
    if (!report(feed.finish(last), source)) ok = false;
    return ok;
}

}  // namespace tessark_app
