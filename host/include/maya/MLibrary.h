#pragma once
#include <maya/MStatus.h>

//! Starts and stops the host inside any program (tests, benchmarks, tools).
//! Preferences live in $TESSARK_PREFS (else $HOME/.tessark).
class OPENMAYA_EXPORT MLibrary {
public:
    static MStatus initialize(const char* applicationName, bool viewLicense = false);
    static MStatus initialize(bool wantScriptOutput, const char* applicationName,
                              bool viewLicense = false);
    //! Stops the host; like the host's library mode, exits the process unless told not to.
    static void cleanup(int exitStatus = 0, bool exitWhenDone = true);
};
