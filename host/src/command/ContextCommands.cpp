#include "host/src/command/ContextCommands.h"

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Session.h"

namespace ehost {

// Tool contexts come with the views; until a context command is run in a
// view, the tool command works as a plain command from the command line.
MStatus addContextCommand(const std::string& name, MCreatorFunction contextCommandCreator,
                          const std::string& toolName, MCreatorFunction toolCreator,
                          MCreateSyntaxFunction toolSyntax, const std::string& plugin) {
    Commands& commands = session().commands();
    if (!contextCommandCreator) return MStatus(MStatus::kInvalidParameter, "context command " + name + " needs a creator");
    if (commands.find(name)) return MStatus(MStatus::kFailure, "a command named " + name + " is already registered");
    if (!toolName.empty() && commands.find(toolName))
        return MStatus(MStatus::kFailure, "a command named " + toolName + " is already registered");
    if (!toolName.empty()) {
        CommandDef tool;
        tool.name = toolName;
        tool.creator = toolCreator;
        tool.syntax = toolSyntax;
        tool.plugin = plugin;
        MStatus st = commands.add(std::move(tool));
        if (!st) return st;
    }
    CommandDef ctx;
    ctx.name = name;
    ctx.plugin = plugin;
    ctx.runner = [name](const MArgList&) {
        std::string text = name + ": tool contexts are not available in this host build";
        session().messages().error(text);
        return MStatus(MStatus::kNotImplemented, text);
    };
    return commands.add(std::move(ctx));
}

MStatus removeContextCommand(const std::string& name, const std::string& toolName) {
    Commands& commands = session().commands();
    MStatus st = commands.remove(name);
    if (!toolName.empty()) {
        MStatus t = commands.remove(toolName);
        if (st) st = t;
    }
    return st;
}

}  // namespace ehost
