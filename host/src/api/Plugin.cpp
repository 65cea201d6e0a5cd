#define MNoVersionString
#include <maya/MFnPlugin.h>

#include <algorithm>
#include <filesystem>

#include "host/src/command/Commands.h"
#include "host/src/command/ContextCommands.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Registry.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/plugin/PluginNodes.h"
#include "host/src/plugin/Refusal.h"

using ehost::RegistrationKind;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

ehost::Plugin* pluginOf(const MObject& o) {
    return ehost::ApiAccess::as<ehost::Plugin>(o).get();
}

MString infoField(const MObject& o, std::string ehost::PluginInfo::*field, MStatus* status) {
    auto* p = pluginOf(o);
    setStatus(status,
              p ? MStatus(MStatus::kSuccess) : fail(MStatus::kInvalidParameter, "no plug-in"));
    return p ? MString(p->info.*field) : MString();
}

MStatus refused(const std::string& what) {
    return fail(MStatus::kFailure, "the host refused to register " + what);
}

}  // namespace

MFnPlugin::MFnPlugin(MObject& object, const char* vendor, const char* version,
                     const char* requiredApiVersion, MStatus* status) {
    MStatus st = attach(object);
    if (st) {
        ehost::Plugin* p = pluginOf(object);
        // Only the function set opened during loading names the vendor.
        if (vendor && std::string(vendor) != "Unknown") p->info.vendor = vendor;
        if (version && std::string(version) != "Unknown") p->info.version = version;
        (void)requiredApiVersion;
    }
    setStatus(status, st);
}

MString MFnPlugin::vendor(MStatus* status) const {
    return infoField(obj_, &ehost::PluginInfo::vendor, status);
}

MString MFnPlugin::version(MStatus* status) const {
    return infoField(obj_, &ehost::PluginInfo::version, status);
}

MString MFnPlugin::apiVersion(MStatus* status) const {
    return infoField(obj_, &ehost::PluginInfo::apiVersion, status);
}

MString MFnPlugin::name(MStatus* status) const {
    return infoField(obj_, &ehost::PluginInfo::name, status);
}

MString MFnPlugin::loadPath(MStatus* status) const {
    auto* p = pluginOf(obj_);
    setStatus(status,
              p ? MStatus(MStatus::kSuccess) : fail(MStatus::kInvalidParameter, "no plug-in"));
    return p ? MString(std::filesystem::path(p->info.path).parent_path().string()) : MString();
}

MStatus MFnPlugin::setName(const MString& newName, bool) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    p->info.name = newName.str();
    return MStatus::kSuccess;
}

MStatus MFnPlugin::setVersion(const MString& newVersion) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    p->info.version = newVersion.str();
    return MStatus::kSuccess;
}

MStatus MFnPlugin::registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   MCreateSyntaxFunction createSyntaxFunction) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    if (ehost::isRefused(RegistrationKind::Command, commandName.str()))
        return refused("command " + commandName.str());
    ehost::CommandDef def;
    def.name = commandName.str();
    def.creator = creatorFunction;
    def.syntax = createSyntaxFunction;
    def.plugin = p->info.name;
    MStatus st = ehost::theCommands().add(std::move(def));
    if (st) p->commands.push_back(commandName.str());
    return st;
}

MStatus MFnPlugin::deregisterCommand(const MString& commandName) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    auto it = std::find(p->commands.begin(), p->commands.end(), commandName.str());
    if (it == p->commands.end())
        return fail(MStatus::kFailure,
                    "command " + commandName.str() + " was not registered by " + p->info.name);
    MStatus st = ehost::theCommands().remove(commandName.str());
    if (st) p->commands.erase(it);
    return st;
}

MStatus MFnPlugin::registerContextCommand(const MString& commandName,
                                          MCreatorFunction creatorFunction) {
    return registerContextCommand(commandName, creatorFunction, MString(), nullptr, nullptr);
}

MStatus MFnPlugin::registerContextCommand(const MString& commandName,
                                          MCreatorFunction creatorFunction,
                                          const MString& toolCmdName,
                                          MCreatorFunction toolCmdCreator,
                                          MCreateSyntaxFunction toolCmdSyntax) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    if (ehost::isRefused(RegistrationKind::ContextCommand, commandName.str()))
        return refused("context command " + commandName.str());
    MStatus st = ehost::addContextCommand(commandName.str(), creatorFunction, toolCmdName.str(),
                                          toolCmdCreator, toolCmdSyntax, p->info.name);
    if (st) p->contextCommands.push_back({commandName.str(), toolCmdName.str()});
    return st;
}

MStatus MFnPlugin::deregisterContextCommand(const MString& commandName) {
    return deregisterContextCommand(commandName, MString());
}

MStatus MFnPlugin::deregisterContextCommand(const MString& commandName,
                                            const MString& toolCmdName) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    auto it = std::find_if(p->contextCommands.begin(), p->contextCommands.end(),
                           [&](const auto& c) { return c.first == commandName.str(); });
    if (it == p->contextCommands.end())
        return fail(MStatus::kFailure, "context command " + commandName.str() +
                                           " was not registered by " + p->info.name);
    MStatus st = ehost::removeContextCommand(commandName.str(),
                                             toolCmdName.length() ? toolCmdName.str() : it->second);
    if (st) p->contextCommands.erase(it);
    return st;
}

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId,
                                MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                                MPxNode::Type type, const MString* classification) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    if (ehost::isRefused(RegistrationKind::Node, typeName.str()))
        return refused("node type " + typeName.str());
    MStatus st =
        ehost::registerPluginNodeType(typeName.str(), typeId, creatorFunction, initFunction, type,
                                      classification ? classification->str() : "", p->info.name);
    if (st) p->nodeTypes.push_back(typeId.id());
    return st;
}

MStatus MFnPlugin::deregisterNode(const MTypeId& typeId) {
    auto* p = pluginOf(obj_);
    if (!p) return fail(MStatus::kInvalidParameter, "no plug-in");
    auto it = std::find(p->nodeTypes.begin(), p->nodeTypes.end(), typeId.id());
    if (it == p->nodeTypes.end())
        return fail(MStatus::kFailure, "node type id " + std::to_string(typeId.id()) +
                                           " was not registered by " + p->info.name);
    MStatus st = ehost::deregisterPluginNodeType(typeId);
    if (st) p->nodeTypes.erase(it);
    return st;
}

MObject MFnPlugin::findPlugin(const MString&) {
    return MObject();
}

bool MFnPlugin::isNodeRegistered(const MString& typeName) {
    return ehost::theRegistry().findClass(typeName.str()) != nullptr;
}
