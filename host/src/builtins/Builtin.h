#pragma once
// Support for the host's own commands: registration from each source file,
// argument parsing that reports errors the host's way, and undo through a
// modifier.

#include <maya/MArgDatabase.h>
#include <maya/MDagModifier.h>
#include <maya/MPxCommand.h>
#include <maya/MSelectionList.h>
#include <maya/MSyntax.h>

#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/dag/Selection.h"

namespace ehost {

//! Each command source file registers its commands with one of these.
struct BuiltinRegistrar {
    explicit BuiltinRegistrar(void (*add)(Commands&));
};

//! Adds every built-in command to a session's commands.
void registerBuiltinCommands(Commands& commands);

template <class T>
void addBuiltin(Commands& commands, const char* name, MSyntax (*syntax)()) {
    CommandDef def;
    def.name = name;
    def.creator = []() -> void* { return new T; };
    def.syntax = syntax;
    commands.add(std::move(def));
}

struct Pick;

class BuiltinCommand : public MPxCommand {
public:
    //! Reads the arguments against the command's syntax, then runs the
    //! command; a failure to read is shown as "name: reason".
    MStatus doIt(const MArgList& args) final;

protected:
    virtual MStatus run(const MArgDatabase& db) = 0;
    //! Shows "name: text" as an error and returns a failure with the text.
    MStatus error(const std::string& text, MStatus::MStatusCode code = MStatus::kInvalidParameter);
    std::string name() const;

    //! The command's object arguments, as given.
    static MStringArray objectNames(const MArgDatabase& db);
    //! The host's error for a command left with nothing to act on.
    MStatus notEnoughObjects();
    //! Appends what each name stands for; a name that resolves to nothing is an error.
    MStatus resolveObjects(const MStringArray& names, std::vector<SelItem>& items);
    //! What the named objects stand for, or the active selection when none
    //! are named; a name that resolves to nothing, or nothing at all, is an error.
    MStatus objectsOrSelection(const MArgDatabase& db, std::vector<SelItem>& items);
    //! The same as picks, which also read mesh component names (see MeshTargets.h).
    MStatus objectsOrSelection(const MArgDatabase& db, std::vector<Pick>& picks);
};

//! A command whose whole effect is a modifier's: undo and redo replay it.
class ModifierCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return modifier.undoIt(); }
    MStatus redoIt() override { return modifier.doIt(); }

protected:
    //! Does what the modifier holds; a failure is shown as the command's error.
    MStatus applyModifier();

    MDagModifier modifier;
};

}  // namespace ehost
