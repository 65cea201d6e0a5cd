#pragma once
// The host's process-wide state: one scene, one registry of node types, one
// set of preferences and one undo queue per process, as in the real host.

#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <memory>
#include <string>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

class Scene;
class Preferences;
class Selection;
class Events;
class MessageLog;
class Commands;
class Views;

class Registry {
public:
    NodeClass* findClass(const std::string& typeName) const;
    NodeClass* findClass(const MTypeId& id) const;
    //! Adds a node type; its name and id must be new.
    MStatus addClass(std::unique_ptr<NodeClass> cls);
    //! Removes a node type; refused while nodes of it exist.
    MStatus removeClass(const MTypeId& id);
    const std::vector<std::unique_ptr<NodeClass>>& classes() const { return classes_; }

    //! The node type whose attributes are being defined (MPxNode::addAttribute).
    NodeClass* initializing = nullptr;

private:
    std::vector<std::unique_ptr<NodeClass>> classes_;
};

class Session {
public:
    Session();
    ~Session();

    Scene& scene() { return *scene_; }
    Registry& registry() { return *registry_; }
    Preferences& prefs() { return *prefs_; }
    Selection& selection() { return *selection_; }
    Events& events() { return *events_; }
    MessageLog& messages() { return *messages_; }
    Commands& commands() { return *commands_; }
    Views& views() { return *views_; }

    //! Empties the scene (and the undo queue) and puts back what every new scene has.
    void newScene();

private:
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<Preferences> prefs_;
    std::unique_ptr<Selection> selection_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<MessageLog> messages_;
    std::unique_ptr<Commands> commands_;
    std::unique_ptr<Views> views_;
};

//! The running session; started (isolated) on first use if nothing started it.
Session& session();
bool sessionRunning();
void startSession(const std::string& prefsDir);
//! A session whose option variables live in memory only: for tests and
//! benchmarks, which must neither read nor change the user's preferences.
void startIsolatedSession();
void stopSession();

}  // namespace ehost
