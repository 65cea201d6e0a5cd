// The command language through the whole engine: the text is split, every
// command is parsed against its syntax and run, undoably, as the application
// runs a script (a failing command does not stop the rest). Each input gets a
// fresh session with option variables in memory only, and whatever files it
// writes land in a scratch directory emptied after it. The Tessark and
// Vintrel plug-ins built beside the harness load by name.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/InputGuards.h"
#include "fuzz/PluginModules.h"
#include "fuzz/ScratchDir.h"
#include "host/src/core/MessageLog.h"
#include "host/src/session/Application.h"
#include "host/src/session/Session.h"

namespace {

// Long enough for the example scripts; longer texts only repeat what these can do.
constexpr std::size_t kMaxText = 16 * 1024;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::ScratchDir::enter(argc, argv);
    // Only the plug-ins of this build, whatever the environment says.
    ::unsetenv("TESSARK_PLUGIN_PATH");
    fuzz::keepPluginModulesMapped();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxText) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!fuzz::commandTextAllowed(text)) return 0;
    ehost::startIsolatedSession();
    ehost::session().messages().echo = false;
    ehost::application::RunOptions options;
    options.display = true;  // results are formatted as the application shows them
    options.keepGoing = true;
    ehost::application::run(text, options);
    ehost::stopSession();
    fuzz::ScratchDir::get().wipe();
    return 0;
}
