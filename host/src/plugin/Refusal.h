#pragma once
// A way for tests (and scripts, through hostRefuseRegistration) to make the
// host refuse a chosen registration, as a real host may.

#include <string>

namespace ehost {

enum class RegistrationKind { Node, Command, ContextCommand, DrawOverride, RenderOverride };

//! The next registration of that kind and name fails (until cleared).
void refuseRegistration(RegistrationKind kind, const std::string& name);
void clearRefusals();
//! Whether a registration must be refused; the caller then fails it.
bool isRefused(RegistrationKind kind, const std::string& name);

}  // namespace ehost
