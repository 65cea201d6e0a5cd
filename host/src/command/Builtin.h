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

namespace ehost {

//! Each command source file registers its commands with one of these.
struct BuiltinRegistrar {
    explicit BuiltinRegistrar(void (*add)(Commands&));
};

template <class T>
void addBuiltin(Commands& commands, const char* name, MSyntax (*syntax)()) {
    CommandDef def;
    def.name = name;
    def.creator = []() -> void* { return new T; };
    def.syntax = syntax;
    commands.add(std::move(def));
}

class BuiltinCommand : public MPxCommand {
protected:
    //! Reads the arguments against the command's syntax; on failure shows
    //! "name: reason" and returns the failure.
    MStatus parse(const MArgList& args, MArgDatabase& db);
    //! Shows "name: text" as an error and returns a failure with the text.
    MStatus error(const std::string& text, MStatus::MStatusCode code = MStatus::kInvalidParameter);
    std::string name() const;
};

//! A command whose whole effect is a modifier's: undo and redo replay it.
class ModifierCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus undoIt() override { return modifier.undoIt(); }
    MStatus redoIt() override { return modifier.doIt(); }

protected:
    MDagModifier modifier;
};

}  // namespace ehost
