#pragma once
// Changes to the graph told to whoever watches them: the host API's node and
// dependency-graph messages (MNodeMessage, MDGMessage) are built on this.

#include <maya/MTypes.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

struct GraphChange {
    enum class Kind {
        NodeAdded,         // the node entered the scene (made, or its deletion undone)
        NodeRemoved,       // the node is about to leave the scene
        Renamed,           // previousName holds the name before
        AttributeSet,      // a value was written to plug
        Connected,         // plug is this node's end, other the far end
        Disconnected,      // the same, after the connection was broken
        AttributeAdded,    // a dynamic attribute (plug.attr) was added
        AttributeRemoved,  // a dynamic attribute is about to be removed
        PlugDirty,         // plug was marked dirty
    };
    GraphChange(Kind k, Node* n, PlugAddr p = {}, PlugRef o = {}, bool in = false)
        : kind(k), node(n), plug(p), other(o), incoming(in) {}

    Kind kind;
    Node* node = nullptr;
    PlugAddr plug;
    PlugRef other;
    bool incoming = false;  // Connected/Disconnected: plug is the destination
    std::string previousName;
};

class GraphWatch {
public:
    using Watcher = std::function<void(const GraphChange&)>;

    void add(MCallbackId id, Watcher watcher) { watchers_.emplace_back(id, std::move(watcher)); }
    bool remove(MCallbackId id);
    //! Tells every watcher; nothing to do (and nothing built) while none watch.
    void notify(const GraphChange& change) {
        if (!watchers_.empty()) dispatch(change);
    }
    bool watched() const { return !watchers_.empty(); }

private:
    void dispatch(const GraphChange& change);
    std::vector<std::pair<MCallbackId, Watcher>> watchers_;
};

}  // namespace ehost
