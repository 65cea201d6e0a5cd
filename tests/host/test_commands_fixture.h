#pragma once
// A fixture for tests of the host's commands run as command text: results as
// the host prints them and the error a failure reported.

#include <maya/MCommandResult.h>

#include <string>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "tests/host/HostFixture.h"

class CommandTextTest : public HostTest {
protected:
    static MStatus run(const std::string& text, MCommandResult* result = nullptr) {
        return ehost::runCommands(text, {false, true}, result);
    }
    static std::string lastMessage(ehost::MessageLog::Kind kind) {
        const auto& entries = ehost::session().messages().entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            if (it->kind == kind) return it->text;
        return "";
    }
    static std::string lastError() { return lastMessage(ehost::MessageLog::Kind::Error); }
    //! The result of a command that must succeed, as its words joined by blanks.
    static std::string result(const std::string& text) {
        MCommandResult r;
        MStatus st = run(text, &r);
        EXPECT_TRUE(st) << text << ": " << lastError();
        return r.stringResult().str();
    }
    //! The error of a command that must fail.
    static std::string failure(const std::string& text) {
        EXPECT_FALSE(run(text)) << text << " should fail";
        return lastError();
    }
};
