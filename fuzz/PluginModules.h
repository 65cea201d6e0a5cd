#pragma once
// libFuzzer cannot have an instrumented module unmapped under it: its
// coverage counters live in the module, and it clears them before every run.
// A session that ends unloads its plug-ins (dlclose), so the harnesses that
// load plug-ins open every module on the plug-in path once more, for the
// life of the process, with RTLD_NODELETE: the host's dlopen and dlclose then
// count references to a module that stays where it is.

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "host/src/plugin/Plugins.h"
#include "host/src/session/Session.h"

namespace fuzz {

inline void keepPluginModulesMapped() {
    std::error_code ec;
    for (const std::string& dir : ehost::pluginPath())
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
            if (entry.path().extension() == ".so")
                ::dlopen(entry.path().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    // pluginPath() started a session to ask; each input starts its own.
    ehost::stopSession();
}

}  // namespace fuzz
