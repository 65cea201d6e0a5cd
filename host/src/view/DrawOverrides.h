#pragma once
// Draw overrides: the creators plug-ins register by draw classification, and
// the one override instance per node the host makes on first need and
// deletes when the node leaves the scene or its creator goes.

#include <maya/MDrawRegistry.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/src/dg/Graph.h"

class MUserData;
namespace MHWRender {
class MPxDrawOverride;
}

namespace ehost {

class DrawOverrides {
public:
    struct Creator {
        std::string classification, registrant, plugin;
        MHWRender::MDrawRegistry::DrawOverrideCreator make = nullptr;
    };
    struct Instance {
        std::weak_ptr<Node> node;
        std::string classification, registrant;
        MHWRender::MPxDrawOverride* override = nullptr;
        MUserData* data = nullptr;     // what prepareForDraw returned last
        unsigned long dirtyMarks = 0;  // setGeometryDrawDirty calls
        unsigned long draws = 0;
    };

    DrawOverrides() = default;
    ~DrawOverrides();
    DrawOverrides(const DrawOverrides&) = delete;
    DrawOverrides& operator=(const DrawOverrides&) = delete;

    MStatus add(Creator creator);
    //! Removes a creator and deletes the overrides it made.
    MStatus remove(const std::string& classification, const std::string& registrant);
    //! The creator for a node type's draw classification, if any.
    const Creator* creatorFor(const NodeClass& cls) const;
    const std::vector<Creator>& creators() const { return creators_; }

    //! The node's override, made by the creator on first need (null when the
    //! creator makes none).
    Instance* instanceFor(Node& node, const Creator& creator);
    Instance* find(const Node& node);
    size_t instanceCount() const { return instances_.size(); }
    //! Deletes the overrides of nodes that left the scene.
    void sweep();
    void removePlugin(const std::string& plugin);
    void clear();

private:
    void destroy(Instance& instance);
    std::vector<Creator> creators_;
    std::unordered_map<const Node*, Instance> instances_;
};

}  // namespace ehost
