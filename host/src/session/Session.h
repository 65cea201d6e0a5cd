#pragma once
// The composition root: the one object that owns the host's process-wide
// state (one scene, one registry of node types, one set of preferences, one
// undo queue ... per process, as in the real host), and the only part of the
// engine that knows every floor.
//
// The engine is built in floors; a floor includes only the floors below it:
//
//   session   this composition root, the application's facade, MLibrary
//   api       the implementation of the host API (host/include/maya)
//   builtins  the host's own commands
//   io        scene files; OBJ and OFF import, OBJ export
//   plugin    plug-in modules, the node types they register, refusals
//   command   lexer, interpreter, command registry, undo, context commands
//   view      panels, projection, tools and input, drawing, render
//             overrides, snapshots
//   nodes     the built-in node types (transform, mesh, sets, poly nodes,
//             camera) and the edits that know them (history, duplication)
//   dag       DAG nodes and paths, scene edits, selection, name resolution
//   dg        dependency graph: attributes, nodes, evaluation, node
//             registry, the scene
//   mesh      the mesh kernel: geometry, topology, editing, ray queries
//   core      value helpers, preferences, events, the message log, the
//             guard at the API edge
//
// Each floor declares the accessor of its own process-wide object
// (theScene() in dg, theCommands() in command ...); only this floor defines
// them, so no lower floor needs the session.

#include <memory>
#include <string>

#include "host/src/command/Commands.h"
#include "host/src/core/Events.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Preferences.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/view/Views.h"

namespace ehost {

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
    Plugins& plugins() { return *plugins_; }

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
    std::unique_ptr<Plugins> plugins_;
};

//! The running session; started (isolated) on first use if nothing started it.
Session& session();
bool sessionRunning();
void startSession(const std::string& prefsDir);
//! A session whose option variables live in memory only: for tests and
//! benchmarks, which must neither read nor change the user's preferences.
void startIsolatedSession();
//! Ends the session as the host quits: the scene goes, then every plug-in is
//! uninitialized and unloaded, the last loaded first. (A session still running
//! at exit is torn down without uninitializing its plug-ins.)
void stopSession();

}  // namespace ehost
