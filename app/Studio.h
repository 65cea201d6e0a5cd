#pragma once
// tessark --serve: the studio, the host driven from a page in a browser.

#include "app/Options.h"

namespace tessark_app {

//! Sets the host up on the source and serves the page until stopped; the
//! exit status (1 when the studio could not start).
int serveStudio(const Options& options);

}  // namespace tessark_app
