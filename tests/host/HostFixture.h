#pragma once
// A fresh embedded host session with an empty scene for each test.

#include <gtest/gtest.h>

#include "host/src/core/MessageLog.h"
#include "host/src/session/Session.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ehost::startIsolatedSession();
        ehost::session().newScene();
        ehost::session().messages().clear();
        ehost::session().messages().echo = false;
    }
    void TearDown() override {
        ehost::session().newScene();
        ehost::session().messages().echo = true;
    }
};
