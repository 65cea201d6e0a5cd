#pragma once
// Registered commands (the host's own and the plug-ins') and the interpreter
// that runs command text: each command is made from its creator, given its
// arguments, and kept in the undo queue when it can be undone.

#include <maya/MCommandResult.h>
#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/src/command/Lexer.h"
#include "host/src/command/Undo.h"

namespace ehost {

struct CommandDef {
    std::string name;
    MCreatorFunction creator = nullptr;  // makes an MPxCommand
    MCreateSyntaxFunction syntax = nullptr;
    std::string plugin;  // "" for the host's own commands
    //! Commands that are not plain MPxCommands (context commands) run here.
    std::function<MStatus(const MArgList& args)> runner;
};

class Commands {
public:
    const CommandDef* find(const std::string& name) const;
    MStatus add(CommandDef def);
    MStatus remove(const std::string& name);
    std::vector<std::string> names() const;

    Commands() = default;
    ~Commands();
    Commands(const Commands&) = delete;
    Commands& operator=(const Commands&) = delete;

    UndoQueue undoQueue;
    std::vector<UndoSink*> sinks;
    //! One result per running command; MPxCommand::setResult writes the innermost.
    std::vector<MCommandResult> results;
    //! Where results set outside any command go.
    MCommandResult looseResult;
    int depth = 0;
    //! While the undo queue takes back or performs again one of its items.
    bool undoing = false, redoing = false;
    //! Tool commands made for a context and not finalized yet (owned here until then).
    std::vector<MPxCommand*> pendingToolCommands;

private:
    std::vector<CommandDef> defs_;
};

//! The running session's commands and undo queue.
Commands& theCommands();

struct RunOptions {
    bool display = false;   // print each command's result
    bool undoable = false;  // record undoable commands
};

//! Runs every command of the text in order and stops at the first failure,
//! which is reported as "// Error: ... //". The result is the last command's.
MStatus runCommands(const std::string& text, const RunOptions& options,
                    MCommandResult* result = nullptr);

//! An undo-queue entry holding a command instance (deleted with the entry).
//! A command instance in the undo queue. What other commands did undoably
//! while it ran (its doIt's own command text) is part of the same step: undo
//! takes it back after the command's own undo, redo replays it before.
class CommandItem : public UndoItem {
public:
    CommandItem(MPxCommand* command, std::string journal,
                std::unique_ptr<UndoCapture> nested = nullptr);
    ~CommandItem() override;
    void undo() override;
    void redo() override;

private:
    MPxCommand* command_;
    std::unique_ptr<UndoCapture> nested_;
};

//! Gives a new command instance its name and syntax.
void prepareCommand(MPxCommand& command, const CommandDef& def, const std::string& source);

//! Tool commands the host made for a context: finalizing one hands it to the
//! undo queue. toolCommandFinalized is false for one the host did not make.
void trackToolCommand(MPxCommand* command);
bool toolCommandFinalized(MPxCommand* command);
//! Deletes tool commands that were made but never finalized.
void dropPendingToolCommands();

}  // namespace ehost
