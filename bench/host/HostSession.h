#pragma once
// The embedded host, started once per benchmark process with an empty scene
// and without echoing messages (they would drown the timings).

#include "host/src/core/MessageLog.h"
#include "host/src/session/Session.h"

namespace bench {

inline void startHost() {
    static const bool started = [] {
        ehost::startIsolatedSession();
        ehost::session().newScene();
        ehost::session().messages().echo = false;
        return true;
    }();
    (void)started;
}

}  // namespace bench
