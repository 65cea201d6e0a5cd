#pragma once
// Runs command text through the host's interpreter one command at a time, so
// that a failure can be located in its script and, when asked, passed over.

#include <istream>
#include <string>

#include "host/src/session/Application.h"

namespace tessark_app {

struct RunSettings {
    bool keepGoing = false;  // go on after a failing command
    bool quiet = false;      // no results or information, only warnings and errors
    bool verbose = false;    // print each command before it runs
};

class ScriptRunner {
public:
    explicit ScriptRunner(RunSettings settings) : settings_(settings) {}

    //! Runs the commands of a whole text; source names it in messages. False
    //! when the text is not valid command text (nothing of it runs) or a
    //! command failed (the rest runs only with keepGoing).
    bool runText(const std::string& text, const std::string& source);
    //! Runs commands as lines arrive: each line is run once it is complete; a
    //! string or comment left open waits for the lines that close it.
    //! Interactive input prompts and never stops at a failure.
    bool runStream(std::istream& in, const std::string& source, bool interactive);

    bool anyFailed() const { return failures_ > 0; }

private:
    //! firstLine is the source line the text starts on. An unterminated text
    //! runs nothing when waitIfUnterminated; the result is then "wait".
    enum class Ran { Ok, Failed, Wait };
    Ran runPart(const std::string& text, const std::string& source, int firstLine, bool keepGoing,
                bool waitIfUnterminated = false);

    ehost::application::RunOptions options(const std::string& source, int firstLine,
                                           bool keepGoing);
    //! Reports text that is not command text; true when the outcome is good.
    bool report(const ehost::application::Outcome& outcome, const std::string& source);

    RunSettings settings_;
    int failures_ = 0;
};

}  // namespace tessark_app
