#pragma once
// Named host events and the callbacks registered on them.

#include <maya/MTypes.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ehost {

class Events {
public:
    using Callback = std::function<void()>;

    //! Whether the host ever fires an event of that name.
    static bool known(const std::string& name);
    static std::vector<std::string> knownNames();

    MCallbackId add(const std::string& name, Callback callback);
    bool remove(MCallbackId id);
    //! Runs the callbacks of the event in registration order.
    void fire(const std::string& name);
    size_t count(const std::string& name) const;
    //! The callback running now (0 outside callbacks).
    MCallbackId running() const { return running_; }
    //! Marks a callback kept elsewhere as the one running; returns the one before.
    MCallbackId setRunning(MCallbackId id) {
        MCallbackId before = running_;
        running_ = id;
        return before;
    }
    //! A fresh id for a callback kept elsewhere (ids never repeat across kinds).
    MCallbackId newId() { return next_++; }

    //! Fires a check event: false when one of its callbacks vetoed.
    bool check(const std::string& name);
    //! Called by a check callback that answers no.
    void veto() { vetoed_ = true; }

private:
    struct Entry {
        MCallbackId id;
        std::string name;
        Callback callback;
    };
    std::vector<Entry> entries_;
    MCallbackId next_ = 1;
    MCallbackId running_ = 0;
    bool vetoed_ = false;
};

//! The running session's events.
Events& theEvents();

}  // namespace ehost
