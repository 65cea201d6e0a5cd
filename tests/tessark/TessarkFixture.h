#pragma once
// A host session with the Tessark plug-in loaded from the build's plug-in
// directory, and helpers to drive it with command text.

#include <maya/MCommandResult.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MSelectionList.h>

#include <gtest/gtest.h>

#include <string>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/session/Session.h"

class TessarkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ehost::startIsolatedSession();
        ehost::session().newScene();
        ehost::session().messages().echo = false;
        ehost::session().messages().clear();
        ehost::clearRefusals();
        if (!ehost::isPluginLoaded("Tessark_2020")) {
            MStatus st = ehost::loadPlugin("Tessark_2020");
            ASSERT_TRUE(st) << st.errorString();
        }
    }
    void TearDown() override {
        ehost::session().newScene();
        ehost::session().messages().echo = true;
    }

    //! Runs command text (undoable, as typed by a user); false on failure.
    bool run(const std::string& text) { return ehost::runCommands(text, {false, true}); }
    std::string result(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(ehost::runCommands(text, {false, true}, &r)) << text << ": " << lastError();
        return r.stringResult().str();
    }
    std::string lastError() const {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Error) return it->text;
        return "";
    }
    static MObject node(const std::string& name) {
        MSelectionList list;
        MObject o;
        if (list.add(name.c_str())) list.getDependNode(0, o);
        return o;
    }
    static MDagPath path(const std::string& name) {
        MSelectionList list;
        MDagPath p;
        if (list.add(name.c_str())) list.getDagPath(0, p);
        return p;
    }
};
