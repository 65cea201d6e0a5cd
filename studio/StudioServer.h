#pragma once
// The studio's server: HTTP for the page's files and one WebSocket (/socket)
// for the page that drives the session, on one event loop on the calling
// thread, the thread that runs the host. Messages from the network reach the
// session only through that loop, so the host is never touched from two
// threads.
//
// A second page that connects while one drives the session is told so and
// closed; the first page goes on undisturbed. Frames are drawn only when
// the socket has sent what it had: a page that cannot keep up gets fewer
// frames, never a growing backlog.

#include <memory>
#include <string>

#include "studio/StudioSession.h"
#include "studio/WebRoot.h"

namespace tessark_studio {

struct ServerOptions {
    std::string address = "127.0.0.1";  // loopback only unless told otherwise
    unsigned short port = 8080;         // 0: any free port
};

class StudioServer {
public:
    StudioServer(StudioSession& session, WebRoot web, ServerOptions options);
    ~StudioServer();
    StudioServer(const StudioServer&) = delete;
    StudioServer& operator=(const StudioServer&) = delete;

    //! Opens the listening socket; false with the reason.
    bool listen(std::string& why);
    //! The port listened on (the one chosen when asked for any).
    unsigned short port() const;
    //! Serves until stop(), SIGINT or SIGTERM.
    void run();
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessark_studio
