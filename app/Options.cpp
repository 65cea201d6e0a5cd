#include "app/Options.h"

#include <string_view>

namespace tessark_app {

namespace {

class ArgReader {
public:
    ArgReader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

    bool done() const { return next_ >= argc_; }
    std::string_view take() { return argv_[next_++]; }

    //! The value of an option given as "--name VALUE" or "--name=VALUE".
    bool value(std::string_view option, std::string_view inlineValue, bool hasInline,
               std::string& out, std::string& error) {
        if (hasInline) {
            out = inlineValue;
        } else if (done()) {
            error = "option " + std::string(option) + " needs a value";
            return false;
        } else {
            out = take();
        }
        return true;
    }

private:
    int argc_;
    const char* const* argv_;
    int next_ = 1;
};

bool readPort(const std::string& text, int& port) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > 65535) return false;
    port = value;
    return true;
}

//! The studio's options go with --serve only, and --serve with one source at most.
bool checkServe(const Options& out, bool studioOption, std::string& error) {
    if (!out.serve) {
        if (studioOption) error = "--port, --listen and --web go with --serve";
        return !studioOption;
    }
    if (!out.commands.empty()) {
        error = "--serve runs no -c text (the page's command line runs commands)";
        return false;
    }
    if (out.scripts.size() > 1) {
        error = "--serve takes one source (an OBJ or OFF mesh, or a saved scene)";
        return false;
    }
    if (!out.scripts.empty() && out.scripts[0] == "-") {
        error = "--serve reads no commands from standard input";
        return false;
    }
    return true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    ArgReader args(argc, argv);
    bool optionsEnded = false, studioOption = false;
    while (!args.done()) {
        std::string_view arg = args.take();
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            out.scripts.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = arg, inlineValue;
        bool hasInline = false;
        if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
            hasInline = true;
        }
        std::string value;
        if (name == "--prefs") {
            if (!args.value(name, inlineValue, hasInline, out.prefsDir, error)) return false;
            if (out.prefsDir.empty()) {
                error = "option --prefs needs a directory";
                return false;
            }
        } else if (name == "--plugin-path") {
            if (!args.value(name, inlineValue, hasInline, value, error)) return false;
            if (value.empty()) {
                error = "option --plugin-path needs a directory";
                return false;
            }
            out.pluginPath.push_back(value);
        } else if (name == "-c" || name == "--command") {
            if (!args.value(name, inlineValue, hasInline, value, error)) return false;
            out.commands.push_back(value);
        } else if (name == "--port") {
            studioOption = true;
            if (!args.value(name, inlineValue, hasInline, value, error)) return false;
            if (!readPort(value, out.port)) {
                error = "option --port needs a port number from 0 to 65535, not \"" + value + "\"";
                return false;
            }
        } else if (name == "--listen") {
            studioOption = true;
            if (!args.value(name, inlineValue, hasInline, out.listen, error)) return false;
            if (out.listen.empty()) {
                error = "option --listen needs an address";
                return false;
            }
        } else if (name == "--web") {
            studioOption = true;
            if (!args.value(name, inlineValue, hasInline, out.webDir, error)) return false;
            if (out.webDir.empty()) {
                error = "option --web needs a directory";
                return false;
            }
        } else if (hasInline) {
            error = "option " + std::string(name) + " takes no value";
            return false;
        } else if (name == "-k" || name == "--keep-going") {
            out.keepGoing = true;
        } else if (name == "-q" || name == "--quiet") {
            out.quiet = true;
        } else if (name == "-v" || name == "--verbose") {
            out.verbose = true;
        } else if (name == "-h" || name == "--help") {
            out.help = true;
        } else if (name == "--version") {
            out.version = true;
        } else if (name == "--serve") {
            out.serve = true;
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    if (out.quiet && out.verbose) {
        error = "--quiet and --verbose cannot be used together";
        return false;
    }
    return checkServe(out, studioOption, error);
}

std::string usage() {
    return "usage: tessark [options] [script ...]\n"
           "       tessark --serve [--port N] [--listen ADDRESS] [source.obj|scene.tsk]\n"
           "\n"
           "Runs host commands headless: each -c text, then each script file, in order.\n"
           "With neither, or with the script \"-\", commands are read from standard input.\n"
           "\n"
           "With --serve, the studio: retopology in a browser. The host is set up on the\n"
           "source (an OBJ or OFF mesh, or a scene the host saved; without one, a\n"
           "generated blob of a million triangles) and serves the page that drives it.\n"
           "\n"
           "options:\n"
           "  --prefs DIR          keep preferences (option variables) in DIR\n"
           "                       (default: $TESSARK_PREFS, else ~/.tessark)\n"
           "  --plugin-path DIR    search DIR for plug-ins before the default directory;\n"
           "                       may be repeated (replaces $TESSARK_PLUGIN_PATH)\n"
           "  -c, --command TEXT   run TEXT; may be repeated\n"
           "  -k, --keep-going     go on after a failing command (the exit code still says 1)\n"
           "  -q, --quiet          print no results or information, only warnings and errors\n"
           "  -v, --verbose        print each command before running it\n"
           "  -h, --help           print this text\n"
           "      --version        print the version\n"
           "      --serve          start the studio (see above)\n"
           "      --port N         the studio's port (default 8080; 0: any free port)\n"
           "      --listen ADDRESS the address it serves on (default 127.0.0.1: this\n"
           "                       machine only)\n"
           "      --web DIR        the page's files (default: the tree's web/)\n"
           "\n"
           "Results print as \"// Result: ... //\" on standard output, errors as\n"
           "\"// Error: ... //\" on standard error.\n"
           "Exit status: 0 when every command succeeded, 1 when a command failed,\n"
           "2 on bad usage.\n";
}

}  // namespace tessark_app
