#include "host/src/command/ContextCommands.h"

#include <maya/MArgParser.h>
#include <maya/MPxContext.h>
#include <maya/MPxContextCommand.h>

#include <memory>

#include "host/src/command/Commands.h"
#include "host/src/core/Guard.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/StatusText.h"
#include "host/src/dg/Scene.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

struct ContextCommandDef {
    std::string name, toolName, plugin;
    MCreatorFunction creator = nullptr;
};

MStatus commandError(const std::string& command, const std::string& text,
                     MStatus::MStatusCode code = MStatus::kInvalidParameter) {
    theMessages().error(command + ": " + text);
    return MStatus(code, text);
}

//! The flags every context command has, before the tool's own.
MSyntax baseSyntax() {
    MSyntax s;
    s.addFlag("-ex", "-exists");
    s.addFlag("-i1", "-image1", MSyntax::kString);
    s.addFlag("-i2", "-image2", MSyntax::kString);
    s.addFlag("-i3", "-image3", MSyntax::kString);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    s.enableEdit(true);
    s.enableQuery(true);
    return s;
}

bool usesToolFlags(const MArgParser& parser) {
    unsigned host = 0;
    for (const char* f : {"-ex", "-i1", "-i2", "-i3"}) host += parser.isFlagSet(f) ? 1 : 0;
    return parser.numberOfFlagsUsed() > host;
}

void applyImages(MPxContext& context, const MArgParser& parser) {
    const char* flags[3] = {"-i1", "-i2", "-i3"};
    for (int k = 0; k < 3; ++k) {
        MString image;
        if (parser.isFlagSet(flags[k]) && parser.getFlagArgument(flags[k], 0, image))
            context.setImage(image, static_cast<MPxContext::ImageIndex>(k));
    }
}

//! Edit and query act on a named context, through the context-command
//! object that made it.
MStatus editOrQuery(const ContextCommandDef& def, const MSyntax& syntax, const MArgParser& parser) {
    MStringArray objects;
    parser.getObjects(objects);
    if (objects.length() != 1)
        return commandError(def.name, std::string(parser.isEdit() ? "-edit" : "-query") +
                                          " needs the name of a context");
    std::string name = objects[0].str();
    Tool* tool = theViews().tools().find(name);
    if (!tool || tool->contextCommand != def.name)
        return commandError(def.name, "no " + def.name + " context named \"" + name + "\"");
    if (parser.isQuery() && parser.isFlagSet("-ex")) {
        MPxCommand::setResult(true);
        return MStatus::kSuccess;
    }
    auto& owner = ApiAccess::impl(*tool->command);
    owner.syntax = syntax;
    owner.parser = parser;
    if (parser.isEdit()) {
        applyImages(*tool->context, parser);
        return guarded(def.name + ".doEditFlags", [&] { return tool->command->doEditFlags(); });
    }
    return guarded(def.name + ".doQueryFlags", [&] { return tool->command->doQueryFlags(); });
}

MStatus create(const ContextCommandDef& def, std::unique_ptr<MPxContextCommand> command,
               const MArgParser& parser) {
    MStringArray objects;
    parser.getObjects(objects);
    Tools& tools = theViews().tools();
    std::string name;
    if (objects.length() == 1) {
        name = objects[0].str();
        std::string why;
        if (!Scene::validName(name, &why)) return commandError(def.name, "context name: " + why);
        if (tools.find(name))
            return commandError(def.name, "a tool context named " + name + " already exists");
    } else {
        name = tools.uniqueName(def.name, true);
    }
    MStatus st;
    MPxContext* context = guarded(
        def.name + ".makeObj", static_cast<MPxContext*>(nullptr),
        [&] { return command->makeObj(); }, &st);
    if (!st) return st;
    if (!context) return commandError(def.name, "the command made no context", MStatus::kFailure);
    auto tool = std::make_unique<Tool>();
    tool->name = name;
    tool->contextCommand = def.name;
    tool->toolCommand = def.toolName;
    tool->plugin = def.plugin;
    tool->context = context;
    tool->command = command.release();
    Tool* made = tool.get();
    st = tools.add(std::move(tool));
    if (!st) return commandError(def.name, statusText(st));
    applyImages(*made->context, parser);
    // Flags given at creation set up the new context as an edit would.
    if (usesToolFlags(parser)) {
        st = guarded(def.name + ".doEditFlags", [&] { return made->command->doEditFlags(); });
        if (!st) return st;
    }
    MPxCommand::setResult(MString(name));
    return MStatus::kSuccess;
}

MStatus runContextCommand(const ContextCommandDef& def, const MArgList& args) {
    MStatus st;
    std::unique_ptr<MPxContextCommand> command(static_cast<MPxContextCommand*>(guarded(
        def.name + ".creator", static_cast<void*>(nullptr), [&] { return def.creator(); }, &st)));
    if (!st) return st;
    if (!command)
        return commandError(def.name, "the context command could not be created",
                            MStatus::kFailure);
    MSyntax syntax = baseSyntax();
    ApiAccess::impl(*command).syntax = syntax;
    st = guardEntry("appendSyntax", [&] { return command->appendSyntax(); });
    if (!st)
        return commandError(def.name, "appendSyntax failed: " + statusText(st), st.statusCode());
    MArgParser parser(syntax, args, &st);
    if (!st) return commandError(def.name, statusText(st), st.statusCode());
    ApiAccess::impl(*command).parser = parser;
    if (parser.isEdit() || parser.isQuery()) return editOrQuery(def, syntax, parser);
    if (parser.isFlagSet("-ex")) {
        MStringArray objects;
        parser.getObjects(objects);
        Tool* tool = objects.length() == 1 ? theViews().tools().find(objects[0].str()) : nullptr;
        MPxCommand::setResult(tool != nullptr && tool->contextCommand == def.name);
        return MStatus::kSuccess;
    }
    return create(def, std::move(command), parser);
}

}  // namespace

MStatus addContextCommand(const std::string& name, MCreatorFunction contextCommandCreator,
                          const std::string& toolName, MCreatorFunction toolCreator,
                          MCreateSyntaxFunction toolSyntax, const std::string& plugin) {
    Commands& commands = theCommands();
    if (!contextCommandCreator)
        return MStatus(MStatus::kInvalidParameter, "context command " + name + " needs a creator");
    if (commands.find(name))
        return MStatus(MStatus::kFailure, "a command named " + name + " is already registered");
    if (!toolName.empty() && commands.find(toolName))
        return MStatus(MStatus::kFailure, "a command named " + toolName + " is already registered");
    // The tool command also runs as a plain command from the command line.
    if (!toolName.empty()) {
        CommandDef tool;
        tool.name = toolName;
        tool.creator = toolCreator;
        tool.syntax = toolSyntax;
        tool.plugin = plugin;
        MStatus st = commands.add(std::move(tool));
        if (!st) return st;
    }
    ContextCommandDef def{name, toolName, plugin, contextCommandCreator};
    CommandDef ctx;
    ctx.name = name;
    ctx.plugin = plugin;
    ctx.runner = [def](const MArgList& args) { return runContextCommand(def, args); };
    MStatus st = commands.add(std::move(ctx));
    if (!st && !toolName.empty()) commands.remove(toolName);
    return st;
}

MStatus removeContextCommand(const std::string& name, const std::string& toolName) {
    Commands& commands = theCommands();
    // The contexts it made go first: they are objects of the module that
    // registered the command.
    theViews().tools().removeMadeBy(name);
    MStatus st = commands.remove(name);
    if (!toolName.empty()) {
        MStatus t = commands.remove(toolName);
        if (st) st = t;
    }
    return st;
}

}  // namespace ehost
