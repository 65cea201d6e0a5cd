#include "host/src/view/RenderOverrides.h"

#include <maya/MRenderOverride.h>
#include <maya/MShaderInstance.h>

#include <algorithm>

namespace ehost {

RenderOverrides::~RenderOverrides() {
    clear();
}

MStatus RenderOverrides::add(const MHWRender::MRenderOverride* override,
                             const std::string& plugin) {
    if (!override) return MStatus(MStatus::kInvalidParameter, "no render override given");
    std::string name = override->name().str();
    if (name.empty()) return MStatus(MStatus::kInvalidParameter, "a render override needs a name");
    for (const Entry& e : entries_) {
        if (e.override == override)
            return MStatus(MStatus::kFailure, "render override " + name + " is already registered");
        if (e.name == name)
            return MStatus(MStatus::kFailure,
                           "a render override named " + name + " is already registered");
    }
    entries_.push_back({override, name, plugin});
    return MStatus::kSuccess;
}

std::string RenderOverrides::remove(const MHWRender::MRenderOverride* override) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.override == override; });
    if (it == entries_.end()) return "";
    std::string name = it->name;
    entries_.erase(it);
    return name;
}

MHWRender::MRenderOverride* RenderOverrides::find(const std::string& name) const {
    for (const Entry& e : entries_)
        // The renderer runs the override's (non-const) operations; the
        // plug-in registered it as const only by the API's signature.
        if (e.name == name) return const_cast<MHWRender::MRenderOverride*>(e.override);
    return nullptr;
}

std::vector<std::string> RenderOverrides::removePlugin(const std::string& plugin) {
    std::vector<std::string> names;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!plugin.empty() && it->plugin == plugin) {
            names.push_back(it->name);
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    return names;
}

bool RenderOverrides::releaseShader(MHWRender::MShaderInstance* shader) {
    auto it = shaders_.find(shader);
    if (it == shaders_.end()) return false;
    shaders_.erase(it);
    delete shader;
    return true;
}

void RenderOverrides::clear() {
    entries_.clear();
    auto shaders = std::move(shaders_);
    shaders_.clear();
    for (auto* s : shaders) delete s;
}

}  // namespace ehost
