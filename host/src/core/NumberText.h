#pragma once
// Number formatting shared by MString, command results and scene files: the
// shortest text that reads back to exactly the same value.

#include <string>

namespace ehost {

std::string shortestText(double value);
std::string shortestText(float value);
//! Parses a whole string as a double (decimal or exponent form, inf, nan).
bool parseDouble(const std::string& text, double& out);

}  // namespace ehost
