#include "app/Studio.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "host/src/session/Application.h"
#include "studio/StudioServer.h"

namespace fs = std::filesystem;

namespace tessark_app {

namespace {

//! The page's files: as given, else beside an installed application
//! (share/tessark/web), else the source tree's web/ folder.
std::string webFolder(const Options& options) {
    if (!options.webDir.empty()) return options.webDir;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed = exe.parent_path().parent_path() / "share/tessark/web";
        if (fs::is_regular_file(installed / "index.html", ec)) return installed.string();
    }
    return TESSARK_WEB_DIR;
}

//! A folder of its own for the built-in source while it is imported; gone at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "tessark-studio.XXXXXX").string();
        if (ec) pattern = "/tmp/tessark-studio.XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

int fail(const std::string& text) {
    std::cerr << "tessark: " << text << std::endl;
    return 1;
}

}  // namespace

int serveStudio(const Options& options) {
    using Clock = std::chrono::steady_clock;
    tessark_studio::WebRoot web(webFolder(options));
    std::string why;
    if (!web.check(why)) return fail(why);

    ehost::application::start(options.prefsDir, options.pluginPath);
    ehost::application::setEcho(options.verbose);

    tessark_studio::StudioSetup setup;
    if (!options.scripts.empty()) setup.source = options.scripts[0];
    ScratchDir scratch;
    if (setup.source.empty() && scratch.path().empty())
        return fail("cannot make a folder for the built-in source: " +
                    std::string(std::strerror(errno)));
    setup.scratchDir = scratch.path();
    const std::string shown =
        setup.source.empty() ? "the built-in blob (1,000,000 triangles)" : setup.source;
    if (!options.quiet) std::cout << "tessark studio: setting up on " << shown << std::endl;
    const auto start = Clock::now();
    tessark_studio::StudioSession session;
    if (!session.setUp(setup, why)) return fail("the studio could not be set up: " + why);

    tessark_studio::ServerOptions serverOptions;
    serverOptions.address = options.listen;
    serverOptions.port = static_cast<unsigned short>(options.port);
    tessark_studio::StudioServer server(session, web, serverOptions);
    if (!server.listen(why)) return fail(why);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const std::string host =
        options.listen.find(':') != std::string::npos ? "[" + options.listen + "]" : options.listen;
    std::cout << "tessark studio: ready in " << static_cast<int>(seconds * 10 + 0.5) / 10.0
              << " s; open http://" << host << ":" << server.port()
              << "/ in a browser (Ctrl+C stops the studio)" << std::endl;
    server.run();
    if (!options.quiet) std::cout << "tessark studio: stopped" << std::endl;
    return 0;
}

}  // namespace tessark_app
