#pragma once
// Pictures of what a panel shows: its last frame's background, the visible
// meshes shaded with a head light and their wireframe, then the recorded UI
// primitives in draw order (X-ray ones on top), as PNG or SVG.

#include <maya/MStatus.h>

#include <string>

namespace ehost {

class Panel;

//! Writes the panel's last frame to path; the format follows the extension
//! (.png or .svg). The file is written aside and renamed, so a failed write
//! leaves an earlier file as it was.
MStatus writeSnapshot(const Panel& panel, const std::string& path);

}  // namespace ehost
