#pragma once
// Plug-in modules: loading by name (searched on the plug-in path) or by file
// path, the entry points, what each module registered, and unloading.

#include <maya/MStatus.h>

#include <string>
#include <vector>

namespace ehost {

struct PluginInfo {
    std::string name;    // module name without directory and extension ("Tessark_2020")
    std::string path;    // the file that was opened
    std::string vendor;  // as given to MFnPlugin
    std::string version;
    std::string apiVersion;  // the module's exported MApiVersion, if any
};

//! Loads a module by name (searched on the plug-in path) or by file path,
//! and runs its initializePlugin. Loading one that is loaded already succeeds.
MStatus loadPlugin(const std::string& nameOrPath, std::string* loadedName = nullptr);
//! Runs uninitializePlugin and closes the module; refused while nodes of its
//! types exist in the scene.
MStatus unloadPlugin(const std::string& name, bool force = false);
//! Unloads every plug-in, the last loaded first (the host quitting); the
//! scene must hold no node of their types any more. Returns the failures.
std::vector<std::string> unloadAllPlugins();
bool isPluginLoaded(const std::string& name);
//! Loaded plug-ins, in load order.
std::vector<PluginInfo> loadedPlugins();
//! The plug-in that registered a node type, or "" for the host's own types.
std::string pluginOfNodeType(const std::string& typeName);

//! The directories searched for modules: the given list, else
//! $TESSARK_PLUGIN_PATH (':'-separated), else the directory the host library
//! was installed with.
void setPluginPath(const std::vector<std::string>& dirs);
std::vector<std::string> pluginPath();

}  // namespace ehost
