#pragma once
// Render overrides registered with the renderer (the plug-in keeps each
// object), and the shader instances the shader manager handed out.

#include <maya/MStatus.h>

#include <set>
#include <string>
#include <vector>

namespace MHWRender {
class MRenderOverride;
class MShaderInstance;
}  // namespace MHWRender

namespace ehost {

class RenderOverrides {
public:
    struct Entry {
        const MHWRender::MRenderOverride* override = nullptr;
        std::string name, plugin;
    };

    RenderOverrides() = default;
    ~RenderOverrides();
    RenderOverrides(const RenderOverrides&) = delete;
    RenderOverrides& operator=(const RenderOverrides&) = delete;

    MStatus add(const MHWRender::MRenderOverride* override, const std::string& plugin);
    //! Forgets an override; returns its name ("" when it was not registered).
    std::string remove(const MHWRender::MRenderOverride* override);
    MHWRender::MRenderOverride* find(const std::string& name) const;
    const std::vector<Entry>& all() const { return entries_; }
    //! Forgets a plug-in's overrides; returns their names.
    std::vector<std::string> removePlugin(const std::string& plugin);

    void keepShader(MHWRender::MShaderInstance* shader) { shaders_.insert(shader); }
    //! Deletes a shader this host handed out; false for any other pointer.
    bool releaseShader(MHWRender::MShaderInstance* shader);
    void clear();

private:
    std::vector<Entry> entries_;
    std::set<MHWRender::MShaderInstance*> shaders_;
};

}  // namespace ehost
