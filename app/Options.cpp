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

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    ArgReader args(argc, argv);
    bool optionsEnded = false;
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
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    if (out.quiet && out.verbose) {
        error = "--quiet and --verbose cannot be used together";
        return false;
    }
    return true;
}

std::string usage() {
    return "usage: tessark [options] [script ...]\n"
           "\n"
           "Runs host commands headless: each -c text, then each script file, in order.\n"
           "With neither, or with the script \"-\", commands are read from standard input.\n"
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
           "\n"
           "Results print as \"// Result: ... //\" on standard output, errors as\n"
           "\"// Error: ... //\" on standard error.\n"
           "Exit status: 0 when every command succeeded, 1 when a command failed,\n"
           "2 on bad usage.\n";
}

}  // namespace tessark_app
