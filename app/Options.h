#pragma once
// The application's command line.

#include <string>
#include <vector>

namespace tessark_app {

struct Options {
    std::string prefsDir;                 // "" : the host's default location
    std::vector<std::string> pluginPath;  // searched before the default directory
    std::vector<std::string> commands;    // -c texts, run first, in order
    std::vector<std::string> scripts;     // then these files; "-" is standard input
    bool keepGoing = false;
    bool quiet = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
    //! --serve: the studio, a server for the page in a browser, on the source
    //! named as the one script (none: the built-in source).
    bool serve = false;
    int port = 8080;                   // 0: any free port
    std::string listen = "127.0.0.1";  // the address served on
    std::string webDir;                // the page's files ("" : the tree's web/)
};

//! Reads argv[1..]; false with a one-line reason in error on bad usage.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);

//! The --help text.
std::string usage();

}  // namespace tessark_app
