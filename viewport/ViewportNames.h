#pragma once
// The names the plug-in registers under, and the override it registered.

class MRenderOverrideTester;

//! The render override and the command share this name.
inline constexpr const char* kViewportOverrideName = "PlexwendViewport";

//! The override this module made and registered; null while none is.
MRenderOverrideTester* registeredViewportOverride();
void setRegisteredViewportOverride(MRenderOverrideTester* override);
