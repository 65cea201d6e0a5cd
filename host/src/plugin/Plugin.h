#pragma once
// A loaded plug-in module and what it registered.

#include <string>
#include <vector>

#include "host/src/core/Object.h"
#include "host/src/plugin/Plugins.h"

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

//! The plug-in whose entry point is running (registrations belong to it).
Plugin* pluginBeingLoaded();

}  // namespace ehost
