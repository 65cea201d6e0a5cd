#pragma once
// Reading command arguments as values.

#include <string>

namespace ehost {

//! true/false, on/off, yes/no, 1/0 (any case).
bool parseBool(const std::string& text, bool& out);
bool parseInt(const std::string& text, int& out);
bool parseUnsigned(const std::string& text, unsigned& out);
//! Decimal or exponent notation, inf and nan.
bool parseNumber(const std::string& text, double& out);

}  // namespace ehost
