#include "host/src/dg/Watch.h"

#include <algorithm>

#include "host/src/core/Events.h"

namespace ehost {

bool GraphWatch::remove(MCallbackId id) {
    auto it = std::find_if(watchers_.begin(), watchers_.end(),
                           [&](const auto& w) { return w.first == id; });
    if (it == watchers_.end()) return false;
    watchers_.erase(it);
    return true;
}

void GraphWatch::dispatch(const GraphChange& change) {
    // A watcher may add or remove watchers (itself too): run over the ids as
    // they are now, skipping those gone meanwhile.
    std::vector<MCallbackId> ids;
    ids.reserve(watchers_.size());
    for (const auto& w : watchers_) ids.push_back(w.first);
    for (MCallbackId id : ids) {
        auto it = std::find_if(watchers_.begin(), watchers_.end(),
                               [&](const auto& w) { return w.first == id; });
        if (it == watchers_.end()) continue;
        Watcher watcher = it->second;
        MCallbackId outer = theEvents().setRunning(id);
        watcher(change);
        theEvents().setRunning(outer);
    }
}

}  // namespace ehost
