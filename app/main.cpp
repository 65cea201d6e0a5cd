// tessark: the host application. Starts the embedded host, then runs host
// commands from the command line, script files or standard input.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/Options.h"
#include "app/ScriptRunner.h"
#include "host/src/session/Application.h"

namespace {

constexpr int kCommandFailed = 1;
constexpr int kBadUsage = 2;

int usageError(const std::string& text) {
    std::cerr << "tessark: " << text << "\nTry 'tessark --help'." << std::endl;
    return kBadUsage;
}

//! A script file's text; false with the reason. A pipe is a script too (a
//! shell's process substitution gives one), but a device is never read: it
//! may have no end.
bool readFile(const std::string& path, std::string& text, std::string& reason) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? "it is a directory" : "it is a device";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    if (in.bad()) reason = std::strerror(errno);
    return !in.bad();
}

struct Source {
    std::string name;  // as messages name it
    std::string text;
    bool standardInput = false;
};

}  // namespace

int main(int argc, char** argv) {
    using namespace tessark_app;
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) return usageError(error);
    if (options.help) {
        std::cout << usage();
        return 0;
    }
    if (options.version) {
        std::cout << "tessark " TESSARK_VERSION << std::endl;
        return 0;
    }

    // Every script is read before anything runs: a misspelt file name must
    // not leave half of the work done.
    std::vector<Source> sources;
    for (size_t i = 0; i < options.commands.size(); ++i)
        sources.push_back(
            {options.commands.size() == 1 ? "-c text" : "-c text " + std::to_string(i + 1),
             options.commands[i]});
    bool stdinUsed = false;
    for (const auto& script : options.scripts) {
        if (script == "-") {
            if (stdinUsed) return usageError("standard input (\"-\") can be read only once");
            stdinUsed = true;
            sources.push_back({"standard input", "", true});
            continue;
        }
        Source s{script, "", false};
        std::string reason;
        if (!readFile(script, s.text, reason))
            return usageError("cannot read script " + script + ": " + reason);
        sources.push_back(std::move(s));
    }
    if (sources.empty()) sources.push_back({"standard input", "", true});

    ehost::application::start(options.prefsDir, options.pluginPath);
    ehost::application::setEcho(!options.quiet);

    ScriptRunner runner(
        {.keepGoing = options.keepGoing, .quiet = options.quiet, .verbose = options.verbose});
    for (const auto& source : sources) {
        bool ok = source.standardInput
                      ? runner.runStream(std::cin, source.name, isatty(STDIN_FILENO) != 0)
                      : runner.runText(source.text, source.name);
        if (!ok && !options.keepGoing) return kCommandFailed;
    }
    return runner.anyFailed() ? kCommandFailed : 0;
}
