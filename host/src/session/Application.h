#pragma once
// What the host application needs of the engine, and no more: start the
// host, run command text and learn how it went, read the problems reported.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ehost::application {

//! Starts the host (once per process): option variables kept in prefsDir ("":
//! the default location), plug-ins searched on pluginPath before the default
//! directory.
void start(const std::string& prefsDir, const std::vector<std::string>& pluginPath);

//! Whether the host prints its messages as they come; they are kept either way.
void setEcho(bool on);

//! One command of a text, as written, and the source line it starts on.
struct Step {
    std::string text;
    int line = 0;
};

struct RunOptions {
    int firstLine = 1;       // the source line the text starts on
    bool display = true;     // show each command's result
    bool keepGoing = false;  // run the rest after a failing command
    //! Keep the commands in the undo queue, as commands typed at the host's
    //! command line are; off for set-up work that must not be undone.
    bool undoable = true;
    //! A text that ends inside a string or comment runs nothing and reports
    //! nothing: later lines may complete it.
    bool waitIfUnterminated = false;
    std::function<void(const Step&)> beforeEach;
    std::function<void(const Step&, bool ok)> afterEach;
};

//! How a command text went.
struct Outcome {
    bool ok = true;             // valid command text, and every command that ran succeeded
    bool invalidText = false;   // not command text: none of it ran
    bool unterminated = false;  // invalid only because a string or comment is still open
    int line = 0;               // source line of the fault, or of the first failing command
    std::string reason;         // why the text is not command text
    std::string failedCommand;  // the first failing command, as written
    int failures = 0;           // commands that failed (more than one only with keepGoing)
};

//! Runs the commands of a text in order, undoably (unless told otherwise) like
//! commands typed at the host's command line; stops at the first failure unless keepGoing.
Outcome run(const std::string& text, const RunOptions& options);

//! Command text that arrives a line at a time (standard input). Each line is
//! lexed once, where the text before it left off: a string or comment open
//! over many lines costs no more per line than any other line.
class LineFeed {
public:
    LineFeed();
    ~LineFeed();
    LineFeed(const LineFeed&) = delete;
    LineFeed& operator=(const LineFeed&) = delete;

    //! Adds one line (without its line end). True when the text so far ends
    //! outside any string or comment: its commands are then ready to run.
    //! While it ends inside one, they wait for the lines that close it.
    bool addLine(const std::string& line);
    //! Runs the commands completed so far, as run() does; their lines count
    //! from the first line added (options.firstLine).
    Outcome runReady(const RunOptions& options);
    //! Ends the input. A string or comment still open makes what waits for it
    //! invalid text: none of it runs, and the outcome says where it opened.
    Outcome finish(const RunOptions& options);

private:
    struct State;
    std::unique_ptr<State> state_;
};

//! Reports an error as the host reports its own.
void reportError(const std::string& text);

//! The text as a quoted string of command text, read back as the same text.
std::string quoted(const std::string& text);

struct Problem {
    enum class Kind { Warning, Error };
    Kind kind = Kind::Error;
    std::string text;
};
//! The warnings and errors reported since the messages were last cleared.
std::vector<Problem> problems();

//! Everything reported since the messages were last cleared, in order:
//! information, warnings, errors and the results commands showed.
struct Message {
    enum class Kind { Info, Warning, Error, Result };
    Kind kind = Kind::Info;
    std::string text;
};
std::vector<Message> messages();
void clearMessages();

}  // namespace ehost::application
