#include "host/src/core/Events.h"

#include <algorithm>

#include "host/src/core/Guard.h"

namespace ehost {

std::vector<std::string> Events::knownNames() {
    return {"Undo",
            "Redo",
            "ToolChanged",
            "modelEditorChanged",
            "SelectionChanged",
            "NewSceneOpened",
            "SceneOpened",
            "SceneSaved",
            "timeChanged",
            "idle",
            "PostToolChanged",
            "DagObjectCreated",
            "ActiveViewChanged"};
}

bool Events::known(const std::string& name) {
    auto names = knownNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

MCallbackId Events::add(const std::string& name, Callback callback) {
    MCallbackId id = next_++;
    entries_.push_back({id, name, std::move(callback)});
    return id;
}

bool Events::remove(MCallbackId id) {
    auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

void Events::fire(const std::string& name) {
    // A callback may add or remove callbacks: run over a snapshot of the ids.
    std::vector<MCallbackId> ids;
    for (auto& e : entries_)
        if (e.name == name) ids.push_back(e.id);
    for (MCallbackId id : ids) {
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& e) { return e.id == id; });
        if (it == entries_.end()) continue;
        Callback cb = it->callback;
        MCallbackId outer = running_;
        running_ = id;
        guarded([&] { return "a callback on event \"" + name + "\""; }, cb);
        running_ = outer;
    }
}

bool Events::check(const std::string& name) {
    bool outer = vetoed_;
    vetoed_ = false;
    fire(name);
    bool passed = !vetoed_;
    vetoed_ = outer;
    return passed;
}

size_t Events::count(const std::string& name) const {
    return std::count_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return e.name == name; });
}

}  // namespace ehost
