#include "studio/WebRoot.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace tessark_studio {

namespace {

//! Each segment of a relative path is a plain name: no "..", ".", empty
//! segment, backslash or control character.
bool plainPath(const std::string& path) {
    if (path.empty()) return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..") return false;
        for (unsigned char c : segment)
            if (c < 0x20 || c == 0x7f || c == '\\' || c == '%') return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool WebRoot::check(std::string& why) const {
    std::error_code ec;
    const fs::path root(folder_);
    if (!fs::is_regular_file(root / "index.html", ec)) {
        why = "the page is not in " + folder_ + " (no index.html there; give --web DIR)";
        return false;
    }
    if (!fs::is_regular_file(root / "node_modules/three/build/three.module.js", ec)) {
        why = "three.js is not installed in " + folder_ +
              " (run ./run.sh build, or npm ci in that folder)";
        return false;
    }
    return true;
}

bool WebRoot::resolve(const std::string& target, std::string& file) const {
    std::string path = target.substr(0, target.find_first_of("?#"));
    fs::path relative;
    if (path == "/" || path == "/index.html") {
        relative = "index.html";
    } else if (path.starts_with("/src/") && plainPath(path.substr(5))) {
        relative = fs::path("src") / path.substr(5);
    } else if (path.starts_with("/three/") && plainPath(path.substr(7))) {
        relative = fs::path("node_modules/three") / path.substr(7);
    } else {
        return false;
    }
    const fs::path full = fs::path(folder_) / relative;
    std::error_code ec;
    if (!fs::is_regular_file(full, ec)) return false;
    file = full.string();
    return true;
}

std::string WebRoot::mediaType(const std::string& file) {
    const std::string ext = fs::path(file).extension().string();
    if (ext == ".html") return "text/html; charset=utf-8";
    if (ext == ".js" || ext == ".mjs") return "text/javascript; charset=utf-8";
    if (ext == ".css") return "text/css; charset=utf-8";
    if (ext == ".json") return "application/json";
    if (ext == ".png") return "image/png";
    if (ext == ".svg") return "image/svg+xml";
    return "application/octet-stream";
}

}  // namespace tessark_studio
