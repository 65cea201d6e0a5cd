#include <maya/MArgList.h>

#include <algorithm>

#include "host/src/command/Commands.h"
#include "host/src/core/Guard.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Object.h"
#include "host/src/core/StatusText.h"

namespace ehost {

const CommandDef* Commands::find(const std::string& name) const {
    for (const auto& d : defs_)
        if (d.name == name) return &d;
    return nullptr;
}

MStatus Commands::add(CommandDef def) {
    if (def.name.empty()) return MStatus(MStatus::kInvalidParameter, "a command needs a name");
    if (find(def.name))
        return MStatus(MStatus::kFailure, "a command named " + def.name + " is already registered");
    if (!def.creator && !def.runner)
        return MStatus(MStatus::kInvalidParameter, "command " + def.name + " needs a creator");
    defs_.push_back(std::move(def));
    return MStatus::kSuccess;
}

MStatus Commands::remove(const std::string& name) {
    auto it = std::find_if(defs_.begin(), defs_.end(),
                           [&](const CommandDef& d) { return d.name == name; });
    if (it == defs_.end()) return MStatus(MStatus::kNotFound, "no command named " + name);
    defs_.erase(it);
    return MStatus::kSuccess;
}

std::vector<std::string> Commands::names() const {
    std::vector<std::string> out;
    for (const auto& d : defs_) out.push_back(d.name);
    return out;
}

CommandItem::CommandItem(MPxCommand* command, std::string journal,
                         std::unique_ptr<UndoCapture> nested)
    : command_(command), nested_(std::move(nested)) {
    text = std::move(journal);
}
CommandItem::~CommandItem() {
    delete command_;
}
namespace {

auto commandCall(const MPxCommand& command, const char* method) {
    return [&command, method] { return ApiAccess::impl(command).name.str() + "." + method; };
}

}  // namespace

void CommandItem::undo() {
    guarded(commandCall(*command_, "undoIt"), [&] { return command_->undoIt(); });
    if (nested_) nested_->undoAll();
}
void CommandItem::redo() {
    if (nested_) nested_->redoAll();
    guarded(commandCall(*command_, "redoIt"), [&] { return command_->redoIt(); });
}

void prepareCommand(MPxCommand& command, const CommandDef& def, const std::string& source) {
    auto& i = ApiAccess::impl(command);
    i.name = MString(def.name);
    i.syntax = def.syntax;
    i.commandString = MString(source);
}

namespace {

MArgList argsOf(const CommandText& cmd) {
    MArgList args;
    auto& list = ApiAccess::impl(args).args;
    for (size_t i = 1; i < cmd.tokens.size(); ++i)
        list.push_back({cmd.tokens[i].text, cmd.tokens[i].kind == Token::Kind::String});
    return args;
}

struct ResultScope {
    ResultScope() {
        auto& c = theCommands();
        c.results.emplace_back();
        ++c.depth;
    }
    ~ResultScope() {
        auto& c = theCommands();
        c.results.pop_back();
        --c.depth;
    }
    MCommandResult& result() { return theCommands().results.back(); }
};

MStatus runOne(const CommandText& cmd, const RunOptions& options, bool multiLine,
               MCommandResult& out) {
    const std::string& name = cmd.tokens[0].text;
    std::string where = multiLine ? "line " + std::to_string(cmd.line) + ": " : "";
    Commands& commands = theCommands();
    const CommandDef* def = commands.find(name);
    if (!def || cmd.tokens[0].kind != Token::Kind::Word) {
        std::string text = where + "Cannot find procedure \"" + name + "\".";
        theMessages().error(text);
        return MStatus(MStatus::kInvalidParameter, text);
    }
    MArgList args = argsOf(cmd);
    const auto errorsBefore = theMessages().errorCount();
    ResultScope scope;
    MStatus st;
    MPxCommand* command = nullptr;
    std::unique_ptr<UndoCapture> nested;
    if (def->runner) {
        st = guarded([&] { return where + name; }, [&] { return def->runner(args); });
    } else {
        MStatus made;
        command = static_cast<MPxCommand*>(guarded([&] { return where + name + ".creator"; },
                                                   static_cast<void*>(nullptr),
                                                   [&] { return def->creator(); }, &made));
        if (!command) {
            if (!made) return made;
            std::string text = where + name + ": the command could not be created";
            theMessages().error(text);
            return MStatus(MStatus::kFailure, text);
        }
        prepareCommand(*command, *def, cmd.source);
        // What the command runs undoably from its doIt belongs to its own
        // undo step; with recording off (during undo and redo) it stays off.
        UndoSink* outer = currentSink();
        if (outer) nested = std::make_unique<UndoCapture>();
        SinkScope scope(nested.get());
        st = guarded([&] { return where + name + ".doIt"; }, [&] { return command->doIt(args); });
        // A chunk left open by what it ran ends with the command.
        if (nested) nested->closeAllChunks();
    }
    out = scope.result();
    if (!st && theMessages().errorCount() == errorsBefore)
        theMessages().error(where + name + ": " + statusText(st));
    if (command) {
        UndoSink* sink = options.undoable && st && command->isUndoable() ? currentSink() : nullptr;
        if (sink) {
            sink->record(std::make_unique<CommandItem>(command, cmd.source, std::move(nested)));
        } else {
            delete command;
            // Not kept for undo itself: what it ran undoably stays undoable on its own.
            if (UndoSink* outer = currentSink(); outer && nested)
                for (auto& item : nested->items) outer->record(std::move(item));
        }
    }
    if (st && options.display) {
        std::string text = out.stringResult().str();
        if (out.resultType() != MCommandResult::kInvalid) theMessages().result(text);
    }
    return st;
}

}  // namespace

namespace {

MStatus runAll(const std::string& text, const RunOptions& options, MCommandResult* result) {
    std::vector<CommandText> cmds;
    std::string error;
    if (!splitCommands(text, cmds, error)) {
        theMessages().error(error);
        return MStatus(MStatus::kInvalidParameter, error);
    }
    bool multiLine = text.find('\n') != std::string::npos;
    MCommandResult last;
    MStatus st;
    for (const auto& cmd : cmds) {
        st = runOne(cmd, options, multiLine, last);
        if (!st) break;
    }
    if (result) *result = last;
    return st;
}

//! The command text as messages quote it: its start, when it is long.
std::string excerpt(const std::string& text) {
    constexpr size_t kMax = 60;
    return text.size() <= kMax ? text : text.substr(0, kMax) + "...";
}

}  // namespace

MStatus runCommands(const std::string& text, const RunOptions& options, MCommandResult* result) {
    // Each command's own calls are guarded where they are made; this catches
    // what the interpreter itself may throw (no memory for the text's words).
    return guarded([&] { return "running \"" + excerpt(text) + "\""; },
                   [&] { return runAll(text, options, result); });
}

}  // namespace ehost
