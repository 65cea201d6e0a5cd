#pragma once
// The session's old home, kept for the plug-in tests and benchmarks that
// still include it; nothing in the engine does (see host/src/session/).
#include "host/src/session/Session.h"
