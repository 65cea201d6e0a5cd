#include "host/src/plugin/Plugins.h"

#include <maya/MObject.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "host/src/command/Commands.h"
#include "host/src/command/ContextCommands.h"
#include "host/src/core/Guard.h"
#include "host/src/core/StatusText.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/ModuleFile.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/plugin/PluginNodes.h"
#include "host/src/view/Views.h"

namespace fs = std::filesystem;

namespace ehost {

namespace {

std::vector<std::shared_ptr<Plugin>>& loaded() {
    return thePlugins().loaded;
}

Plugin*& current() {
    return thePlugins().beingLoaded;
}

//! The directory the host library lives in: plug-ins built with it sit in ../plug-ins.
std::string libraryDir() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&loadPlugin), &info) && info.dli_fname)
        return fs::path(info.dli_fname).parent_path().string();
    return ".";
}

std::string moduleName(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0)
        name.resize(name.size() - 3);
    return name;
}

std::shared_ptr<Plugin> findLoaded(const std::string& name) {
    for (auto& p : loaded())
        if (p->info.name == name) return p;
    return nullptr;
}

//! The module file for a name or path, or "" when none exists. Something in
//! the way that is no regular file is returned too, for the check to say so.
std::string locate(const std::string& nameOrPath) {
    std::error_code ec;
    if (nameOrPath.find('/') != std::string::npos)
        return fs::exists(nameOrPath, ec) ? nameOrPath : "";
    std::string other;
    for (const auto& dir : pluginPath())
        for (const std::string& file :
             {nameOrPath, nameOrPath + ".so", "lib" + nameOrPath + ".so"}) {
            fs::path candidate = fs::path(dir) / file;
            if (fs::is_regular_file(candidate, ec)) return candidate.string();
            if (other.empty() && fs::exists(candidate, ec) && !fs::is_directory(candidate, ec))
                other = candidate.string();
        }
    return other;
}

using EntryPoint = MStatus (*)(MObject);

//! An entry point of a module: declared with PLUGIN_EXPORT it has C linkage;
//! written as the API reference's examples write it, a plain
//! "MStatus initializePlugin(MObject obj)", it has C++ linkage and the
//! compiler's name for a function of one MObject.
EntryPoint findEntryPoint(void* handle, const std::string& name) {
    if (void* c = dlsym(handle, name.c_str())) return reinterpret_cast<EntryPoint>(c);
    const std::string mangled = "_Z" + std::to_string(name.size()) + name + "7MObject";
    return reinterpret_cast<EntryPoint>(dlsym(handle, mangled.c_str()));
}

void forgetRegistrations(Plugin& p) {
    Commands& commands = theCommands();
    // Its tool contexts, draw overrides and render overrides first: they are
    // objects of the module.
    theViews().forgetPlugin(p.info.name);
    for (auto& [ctx, tool] : p.contextCommands) removeContextCommand(ctx, tool);
    for (auto& name : p.commands) commands.remove(name);
    for (unsigned id : p.nodeTypes) deregisterPluginNodeType(MTypeId(id));
    p.contextCommands.clear();
    p.commands.clear();
    p.nodeTypes.clear();
}

}  // namespace

Plugin* pluginBeingLoaded() {
    return current();
}

void setPluginPath(const std::vector<std::string>& dirs) {
    thePlugins().pathOverride = dirs;
}

std::vector<std::string> pluginPath() {
    std::vector<std::string> dirs = thePlugins().pathOverride;
    if (dirs.empty())
        if (const char* env = std::getenv("TESSARK_PLUGIN_PATH"); env && *env) {
            std::string all = env;
            size_t b = 0;
            while (b <= all.size()) {
                size_t e = all.find(':', b);
                if (e == std::string::npos) e = all.size();
                if (e > b) dirs.push_back(all.substr(b, e - b));
                b = e + 1;
            }
        }
    dirs.push_back((fs::path(libraryDir()) / ".." / "plug-ins").lexically_normal().string());
    return dirs;
}

MStatus loadPlugin(const std::string& nameOrPath, std::string* loadedName) {
    std::string path = locate(nameOrPath);
    if (path.empty()) {
        std::string where;
        for (const auto& d : pluginPath()) where += (where.empty() ? "" : ":") + d;
        return MStatus(
            MStatus::kNotFound,
            "plug-in \"" + nameOrPath + "\" was not found" +
                (nameOrPath.find('/') == std::string::npos ? " on the plug-in path " + where : ""));
    }
    std::string name = moduleName(path);
    if (loadedName) *loadedName = name;
    if (findLoaded(name)) return MStatus::kSuccess;
    std::string why;
    if (!checkModuleFile(path, why)) return MStatus(MStatus::kFailure, why);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return MStatus(MStatus::kFailure,
                       std::string("cannot open plug-in ") + path + ": " + dlerror());
    EntryPoint init = findEntryPoint(handle, "initializePlugin");
    EntryPoint uninit = findEntryPoint(handle, "uninitializePlugin");
    if (!init || !uninit) {
        dlclose(handle);
        return MStatus(MStatus::kFailure,
                       path + " is not a plug-in: it lacks initializePlugin or uninitializePlugin");
    }
    auto plugin = std::make_shared<Plugin>();
    plugin->handle = handle;
    plugin->info.name = name;
    plugin->info.path = path;
    if (auto* version = static_cast<const char*>(dlsym(handle, "MApiVersion")))
        plugin->info.apiVersion = version;
    // The module stays loaded even when its initialization fails: whatever it
    // registered before failing keeps pointing into it.
    loaded().push_back(plugin);
    current() = plugin.get();
    // The caller reports the failure, naming the plug-in.
    MStatus st = guardEntry("initializePlugin", [&] { return init(ApiAccess::wrap(plugin)); });
    current() = nullptr;
    if (!st)
        return MStatus(st.statusCode(),
                       "initializePlugin of " + name + " failed: " + statusText(st));
    return MStatus::kSuccess;
}

MStatus unloadPlugin(const std::string& name, bool force) {
    auto plugin = findLoaded(name);
    if (!plugin) return MStatus(MStatus::kNotFound, "plug-in \"" + name + "\" is not loaded");
    for (auto& n : theScene().nodes())
        if (std::count(plugin->nodeTypes.begin(), plugin->nodeTypes.end(), n->cls->typeId.id()))
            return MStatus(MStatus::kFailure, "plug-in " + name + " is in use: node " + n->name +
                                                  " is of type " + n->cls->typeName +
                                                  " (delete it first)");
    // Commands kept for undo may belong to the plug-in: forget them first.
    theCommands().undoQueue.flush();
    dropPendingToolCommands();
    EntryPoint uninit = findEntryPoint(plugin->handle, "uninitializePlugin");
    current() = plugin.get();
    MStatus st = guardEntry("uninitializePlugin", [&] { return uninit(ApiAccess::wrap(plugin)); });
    current() = nullptr;
    (void)force;
    // What the module still registers would point into unloaded code: remove
    // it all before closing, whatever uninitializePlugin reported.
    forgetRegistrations(*plugin);
    loaded().erase(std::remove(loaded().begin(), loaded().end(), plugin), loaded().end());
    dlclose(plugin->handle);
    plugin->handle = nullptr;
    if (!st)
        return MStatus(st.statusCode(),
                       "uninitializePlugin of " + name + " failed: " + statusText(st));
    return MStatus::kSuccess;
}

std::vector<std::string> unloadAllPlugins() {
    std::vector<std::string> names, failures;
    for (const auto& p : loaded()) names.push_back(p->info.name);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        if (MStatus st = unloadPlugin(*it); !st) failures.push_back(statusText(st));
    return failures;
}

bool isPluginLoaded(const std::string& name) {
    return findLoaded(name) != nullptr;
}

std::vector<PluginInfo> loadedPlugins() {
    std::vector<PluginInfo> out;
    for (auto& p : loaded()) out.push_back(p->info);
    return out;
}

std::string pluginOfNodeType(const std::string& typeName) {
    NodeClass* cls = theRegistry().findClass(typeName);
    return cls ? cls->pluginName : "";
}

}  // namespace ehost
