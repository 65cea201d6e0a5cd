#pragma once
// A loaded plug-in module and what it registered.

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/src/core/Object.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/plugin/Refusal.h"

namespace ehost {

class Plugin : public Object {
public:
    MFn::Type apiType() const override { return MFn::kPluginObject; }
    PluginInfo info;
    void* handle = nullptr;
    std::vector<std::string> commands;                                 // registered command names
    std::vector<unsigned> nodeTypes;                                   // registered node type ids
    std::vector<std::pair<std::string, std::string>> contextCommands;  // (context, tool)
};

//! A session's plug-in modules and what it is told about registering them.
struct Plugins {
    std::vector<std::shared_ptr<Plugin>> loaded;  // in load order
    Plugin* beingLoaded = nullptr;                // whose entry point is running
    std::vector<std::string> pathOverride;        // setPluginPath
    std::set<std::pair<RegistrationKind, std::string>> refused;
};

//! The running session's plug-ins.
Plugins& thePlugins();

//! The plug-in whose entry point is running (registrations belong to it).
Plugin* pluginBeingLoaded();

}  // namespace ehost
