// Scene files: any bytes opened as a scene (the plug-ins a file requires
// load as they would in the application). A file that opens must then save,
// open again and save to the same bytes, and every computed value of the
// scene it made must evaluate and draw (fuzz/SceneChecks.h). Each input gets
// a fresh session. Files whose procedural nodes ask for more than a few
// thousand faces are left out (fuzz/InputGuards.h).

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/InputGuards.h"
#include "fuzz/PluginModules.h"
#include "fuzz/SceneChecks.h"
#include "fuzz/ScratchDir.h"
#include "host/src/core/MessageLog.h"
#include "host/src/io/SceneFile.h"
#include "host/src/session/Session.h"

namespace {

constexpr std::size_t kMaxFile = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::ScratchDir::enter(argc, argv);
    ::unsetenv("TESSARK_PLUGIN_PATH");
    fuzz::keepPluginModulesMapped();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxFile) return 0;
    if (!fuzz::sceneFileAllowed({reinterpret_cast<const char*>(data), size})) return 0;
    const fuzz::ScratchDir& dir = fuzz::ScratchDir::get();
    const std::string path = dir.file("input.tsk");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    ehost::startIsolatedSession();
    ehost::session().messages().echo = false;
    std::string error;
    if (ehost::openScene(path, &error)) {
        fuzz::expectSaveOpenRoundTrip();
        fuzz::pullEverything();
    }
    ehost::stopSession();
    dir.wipe();
    return 0;
}
