#pragma once
// The studio's side of the host: sets the session up on a source (the
// plug-ins, the source mesh or a saved scene, the rail node, the overlay,
// the tool), carries out what the page asks, one message at a time, and
// tells the page what changed. It runs on the one thread that runs the host
// and knows nothing of the network.
//
// One page drives the session at a time. Whatever a page sends, the scene is
// changed only by host commands that ran whole: a message is checked before
// it runs, a drag or a release needs its press, nothing but the drag itself
// runs while a button is down, and a page that goes away in the middle of a
// drag has its button released where it last was, so that the tool ends the
// gesture as it would for a person letting go.

#include <optional>
#include <string>
#include <vector>

#include "studio/FrameMessages.h"
#include "studio/Requests.h"

namespace tessark_studio {

struct StudioSetup {
    //! An OBJ or OFF mesh to retopologize, or a scene saved by the host
    //! (.tsk); "" for the built-in source, a sculpted blob of a million triangles.
    std::string source;
    //! Where the built-in source is written while it is imported.
    std::string scratchDir;
    int width = 960, height = 720;
    //! The tool context's name (contexts outlive scenes: one per session).
    std::string context = "tc";
};

class StudioSession {
public:
    //! Needs the host started. False with the reason when the session could
    //! not be set up (the failing command's errors).
    bool setUp(const StudioSetup& setup, std::string& why);

    //! A page connected: it has nothing yet, so its first frame is whole.
    void pageOpened();
    //! The page went away: a button it held down is released.
    void pageClosed();

    //! Carries out one message of the page; the replies to send at once
    //! (the welcome, a command's result, what the host reported, errors).
    std::vector<Outgoing> handle(const std::string& message);

    //! Whether the view may have changed since the page's last frame.
    bool frameWanted() const { return frameWanted_; }
    //! Draws the view and tells the page what changed (see FrameDiff).
    std::vector<Outgoing> frame();

    const std::string& sourceName() const { return source_; }
    const std::string& railName() const { return rail_; }
    const std::string& contextName() const { return context_; }
    //! How many groups the last frame sent in full (for tests).
    int lastSentGroups() const { return diff_.lastSentGroups(); }

private:
    //! Runs command text; its messages are kept for the reply.
    bool run(const std::string& text, bool display);
    std::vector<Outgoing> pointer(const PointerRequest& r);
    std::vector<Outgoing> command(const CommandRequest& r);
    //! What the host reported while a request ran, as one message; none when nothing was.
    std::vector<Outgoing> reported();
    bool setUpSource(const StudioSetup& setup, std::string& why);
    bool setUpScene(const StudioSetup& setup, std::string& why);

    struct Held {
        PointerRequest::Button button;
        PointerRequest last;
    };
    std::optional<Held> held_;
    bool frameWanted_ = true;
    FrameDiff diff_;
    std::string source_, rail_, context_ = "tc", sceneFile_;
};

}  // namespace tessark_studio
