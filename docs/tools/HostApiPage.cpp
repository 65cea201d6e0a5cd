// Writes the page that lists what the embedded host provides of the host
// API: every class of the API headers with its public member functions, and
// every built-in command with its flags, read from the command registry.
//
//   host_api_page INCLUDE_DIR --write PAGE    writes the page
//   host_api_page INCLUDE_DIR --check PAGE    fails (exit 1) when PAGE differs

#include <maya/MSyntax.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/core/Object.h"
#include "host/src/session/Session.h"

namespace {

namespace fs = std::filesystem;

struct ApiClass {
    std::string name, header, brief, bases;
    std::vector<std::string> members;  // public member functions, first-declared order
    std::vector<std::string> enums;
};

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    size_t b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

//! Reads the classes a header declares, with their public functions and enums.
//! The headers are written one declaration a line, which is all this expects.
std::vector<ApiClass> readHeader(const fs::path& path) {
    static const std::regex classStart(
        R"(^\s*(class|struct)\s+(?:OPENMAYA\w*_EXPORT\s+)?(\w+)\b(?:\s*final)?\s*(:[^{;]*)?\{?\s*$)");
    static const std::regex function(R"((~?[A-Za-z_]\w*)\s*\()");
    static const std::regex enumStart(R"(^\s*enum\s+(?:class\s+)?(\w+))");
    static const std::regex nsStart(R"(^\s*namespace\s+(\w+)\s*\{)");

    std::ifstream in(path);
    std::vector<ApiClass> out;
    std::string line, pendingBrief, ns;
    const size_t kNested = static_cast<size_t>(-1);
    struct Open {
        size_t index;
        int depth;  // brace depth of the class body
        bool isPublic;
    };
    std::vector<Open> open;
    int depth = 0;
    while (std::getline(in, line)) {
        const std::string t = trim(line);
        std::smatch m;
        if (t.rfind("//!", 0) == 0) {
            pendingBrief += (pendingBrief.empty() ? "" : " ") + trim(t.substr(3));
            continue;
        }
        if (std::regex_search(line, m, nsStart) && m[1] != "ehost" && open.empty()) ns = m[1];
        bool startsClass = std::regex_match(line, m, classStart) && t.back() != ';';
        if (startsClass && !open.empty()) {
            // A nested type (an implementation detail): only its braces count.
            open.push_back({kNested, depth + 1, false});
        } else if (startsClass) {
            ApiClass c;
            c.name = (ns.empty() || ns == "std" ? "" : ns + "::") + std::string(m[2]);
            c.header = path.filename().string();
            c.brief = pendingBrief;
            c.bases = m[3];
            out.push_back(c);
            open.push_back({out.size() - 1, depth + 1, m[1] == "struct"});
        } else if (!open.empty() && open.back().index != kNested && depth == open.back().depth) {
            Open& o = open.back();
            if (t == "public:") o.isPublic = true;
            if (t == "private:" || t == "protected:") o.isPublic = false;
            // Declarations only: no typedefs, friends, using-declarations or the
            // continuation of a constructor's initializer list.
            if (o.isPublic && t.rfind("typedef", 0) != 0 && t.rfind("friend", 0) != 0 &&
                t.rfind("using", 0) != 0 && t.rfind(":", 0) != 0 && t.rfind("//", 0) != 0 &&
                t.rfind("#", 0) != 0) {
                ApiClass& c = out[o.index];
                if (std::regex_search(t, m, enumStart)) {
                    c.enums.push_back(m[1]);
                } else if (std::regex_search(t, m, function) &&
                           t.find("operator") == std::string::npos) {
                    std::string name = m[1];
                    bool known =
                        std::find(c.members.begin(), c.members.end(), name) != c.members.end();
                    std::string bare = c.name.substr(
                        c.name.rfind(':') == std::string::npos ? 0 : c.name.rfind(':') + 1);
                    if (!known && name != "OPENMAYA_ENUM" && name != bare && name != "~" + bare)
                        c.members.push_back(name);
                }
            }
        }
        if (t.rfind("//", 0) != 0) pendingBrief.clear();
        for (char ch : line) {
            if (ch == '{') ++depth;
            if (ch == '}') {
                --depth;
                if (!open.empty() && depth < open.back().depth) open.pop_back();
                if (open.empty() && depth == 0) ns.clear();
            }
        }
    }
    return out;
}

struct CommandFlags {
    std::vector<std::string> flags;
    bool query = false, edit = false;
};

CommandFlags commandFlags(const ehost::CommandDef& def) {
    CommandFlags out;
    if (!def.syntax) return out;
    MSyntax syntax = def.syntax();
    const auto& impl = *ehost::ApiAccess::impl(syntax);
    for (const auto& f : impl.flags) out.flags.push_back(f.shortName + "/" + f.longName);
    out.query = impl.query;
    out.edit = impl.edit;
    return out;
}

std::string code(const std::string& s) {
    return "`" + s + "`";
}

std::string join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : ", ") + code(i);
    return out;
}

std::string page(const fs::path& includeDir) {
    std::vector<fs::path> headers;
    for (const auto& e : fs::directory_iterator(includeDir))
        if (e.path().extension() == ".h") headers.push_back(e.path());
    std::sort(headers.begin(), headers.end());
    std::vector<ApiClass> classes;
    for (const auto& h : headers)
        for (auto& c : readHeader(h)) classes.push_back(std::move(c));
    // Engine bases the API classes share (the value arrays): their members
    // are the classes' own.
    std::vector<ApiClass> shared;
    for (const auto& e : fs::directory_iterator(includeDir / "detail"))
        if (e.path().extension() == ".h")
            for (auto& c : readHeader(e.path())) shared.push_back(std::move(c));
    for (auto& c : classes)
        for (const auto& base : shared)
            if (c.bases.find("ehost::" + base.name + "<") != std::string::npos ||
                c.bases.find("ehost::" + base.name + " ") != std::string::npos)
                for (const auto& m : base.members)
                    if (std::find(c.members.begin(), c.members.end(), m) == c.members.end() &&
                        m != base.name)
                        c.members.push_back(m);
    std::stable_sort(classes.begin(), classes.end(),
                     [](const ApiClass& a, const ApiClass& b) { return a.name < b.name; });

    ehost::startIsolatedSession();
    auto& commands = ehost::session().commands();
    std::vector<std::string> names;
    for (const auto& n : commands.names())
        if (const ehost::CommandDef* d = commands.find(n); d && d->plugin.empty())
            names.push_back(n);
    std::sort(names.begin(), names.end());

    std::ostringstream out;
    out << "# What the embedded host provides of the host API\n\n"
        << "This page is generated: `docs/tools/HostApiPage.cpp` reads the API headers\n"
        << "(`host/include/maya/`) and the host's command registry. Do not edit it by hand;\n"
        << "`cmake --build build --target host-api-page` writes it again, and the test\n"
        << "`docs.host_api_page_is_current` fails while it is stale.\n\n"
        << "Each class keeps the host's name and the documented behaviour of the members\n"
        << "listed; each command takes the flags listed, with the host's short and long\n"
        << "names.\n\n";
    out << "## Classes (" << classes.size() << ")\n\n"
        << "| Class | Header | What it is | Public members |\n|---|---|---|---|\n";
    for (const auto& c : classes) {
        std::string members = join(c.members);
        if (!c.enums.empty()) members += (members.empty() ? "" : "; enums ") + join(c.enums);
        out << "| " << code(c.name) << " | " << c.header << " | " << c.brief << " | " << members
            << " |\n";
    }
    out << "\n## Commands (" << names.size() << ")\n\n"
        << "| Command | Modes | Flags |\n|---|---|---|\n";
    for (const auto& n : names) {
        CommandFlags f = commandFlags(*commands.find(n));
        std::string modes = f.query && f.edit ? "query, edit"
                            : f.query         ? "query"
                            : f.edit          ? "edit"
                                              : "";
        out << "| " << code(n) << " | " << modes << " | " << join(f.flags) << " |\n";
    }
    ehost::stopSession();
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::string(argv[2]) != "--write" && std::string(argv[2]) != "--check")) {
        std::cerr << "usage: host_api_page INCLUDE_DIR --write|--check PAGE\n";
        return 2;
    }
    const std::string text = page(argv[1]);
    const fs::path target = argv[3];
    if (std::string(argv[2]) == "--write") {
        std::ofstream(target) << text;
        return 0;
    }
    std::ifstream in(target);
    std::stringstream current;
    current << in.rdbuf();
    if (current.str() == text) return 0;
    std::cerr << target.string() << " is stale: run `cmake --build build --target host-api-page`\n";
    return 1;
}
