#pragma once
// What a plug-in file must be before the loader maps it: a regular file
// holding a whole ELF shared object for this machine. The loader maps the
// file's segments into memory; a segment that runs past the end of a
// truncated file would fault (SIGBUS) on first touch, killing the host,
// instead of failing the load.

#include <string>

namespace ehost {

//! False with a reason naming the file when it is no loadable module.
bool checkModuleFile(const std::string& path, std::string& error);

}  // namespace ehost
