#include "host/src/session/Application.h"

#include "host/src/command/Commands.h"
#include "host/src/command/Lexer.h"
#include "host/src/core/MessageLog.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"

namespace ehost::application {

void start(const std::string& prefsDir, const std::vector<std::string>& pluginPath) {
    startSession(prefsDir);
    if (!pluginPath.empty()) setPluginPath(pluginPath);
}

void setEcho(bool on) {
    theMessages().echo = on;
}

namespace {

Outcome runEach(const std::vector<CommandText>& commands, const RunOptions& options) {
    Outcome out;
    for (const auto& command : commands) {
        Step step{command.source, options.firstLine + command.line - 1};
        if (options.beforeEach) options.beforeEach(step);
        // Each command runs on its own, so that a failure is located in its source.
        bool ok =
            runCommands(step.text, {.display = options.display, .undoable = options.undoable});
        if (options.afterEach) options.afterEach(step, ok);
        if (ok) continue;
        if (out.failures++ == 0) {
            out.ok = false;
            out.line = step.line;
            out.failedCommand = step.text;
        }
        if (!options.keepGoing) break;
    }
    return out;
}

Outcome invalidText(const SplitError& why, const RunOptions& options) {
    Outcome out;
    out.ok = false;
    out.invalidText = true;
    out.unterminated = why.unterminated;
    out.line = options.firstLine + why.line - 1;
    out.reason = why.reason;
    return out;
}

}  // namespace

Outcome run(const std::string& text, const RunOptions& options) {
    std::vector<CommandText> commands;
    SplitError why;
    if (!splitCommands(text, commands, why)) {
        if (why.unterminated && options.waitIfUnterminated) {
            Outcome out;
            out.ok = false;
            out.invalidText = out.unterminated = true;
            return out;
        }
        return invalidText(why, options);
    }
    return runEach(commands, options);
}

struct LineFeed::State {
    CommandSplitter splitter;
};

LineFeed::LineFeed() : state_(std::make_unique<State>()) {}
LineFeed::~LineFeed() = default;

bool LineFeed::addLine(const std::string& line) {
    state_->splitter.feed(line);
    state_->splitter.feed("\n");
    return !state_->splitter.open();
}

Outcome LineFeed::runReady(const RunOptions& options) {
    return runEach(state_->splitter.take(), options);
}

Outcome LineFeed::finish(const RunOptions& options) {
    SplitError why;
    if (!state_->splitter.finish(why)) {
        state_->splitter.take();
        return invalidText(why, options);
    }
    return runEach(state_->splitter.take(), options);
}

void reportError(const std::string& text) {
    theMessages().error(text);
}

std::string quoted(const std::string& text) {
    return ehost::quoted(text);
}

std::vector<Problem> problems() {
    std::vector<Problem> out;
    for (const auto& m : theMessages().entries()) {
        if (m.kind == MessageLog::Kind::Error) out.push_back({Problem::Kind::Error, m.text});
        if (m.kind == MessageLog::Kind::Warning) out.push_back({Problem::Kind::Warning, m.text});
    }
    return out;
}

std::vector<Message> messages() {
    std::vector<Message> out;
    for (const auto& m : theMessages().entries()) {
        Message::Kind kind = Message::Kind::Info;
        if (m.kind == MessageLog::Kind::Warning) kind = Message::Kind::Warning;
        if (m.kind == MessageLog::Kind::Error) kind = Message::Kind::Error;
        if (m.kind == MessageLog::Kind::Result) kind = Message::Kind::Result;
        out.push_back({kind, m.text});
    }
    return out;
}

void clearMessages() {
    theMessages().clear();
}

}  // namespace ehost::application
