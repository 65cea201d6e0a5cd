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

Outcome run(const std::string& text, const RunOptions& options) {
    Outcome out;
    std::vector<CommandText> commands;
    SplitError why;
    if (!splitCommands(text, commands, why)) {
        out.ok = false;
        out.invalidText = true;
        out.unterminated = why.unterminated;
        if (out.unterminated && options.waitIfUnterminated) return out;
        out.line = options.firstLine + why.line - 1;
        out.reason = why.reason;
        return out;
    }
    for (const auto& command : commands) {
        Step step{command.source, options.firstLine + command.line - 1};
        if (options.beforeEach) options.beforeEach(step);
        // Each command runs on its own, so that a failure is located in its source.
        bool ok = runCommands(step.text, {.display = options.display, .undoable = true});
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

void reportError(const std::string& text) {
    theMessages().error(text);
}

std::vector<Problem> problems() {
    std::vector<Problem> out;
    for (const auto& m : theMessages().entries()) {
        if (m.kind == MessageLog::Kind::Error) out.push_back({Problem::Kind::Error, m.text});
        if (m.kind == MessageLog::Kind::Warning) out.push_back({Problem::Kind::Warning, m.text});
    }
    return out;
}

void clearMessages() {
    theMessages().clear();
}

}  // namespace ehost::application
