// MLibrary: a program that uses the host as a library starts and ends the
// session through it, so it lives with the session.

#include <maya/MLibrary.h>

#include <cstdlib>

#include "host/src/session/Session.h"

MStatus MLibrary::initialize(const char* applicationName, bool viewLicense) {
    return initialize(true, applicationName, viewLicense);
}

MStatus MLibrary::initialize(bool, const char*, bool) {
    ehost::startSession("");
    return MStatus::kSuccess;
}

void MLibrary::cleanup(int exitStatus, bool exitWhenDone) {
    ehost::stopSession();
    if (exitWhenDone) std::exit(exitStatus);
}
