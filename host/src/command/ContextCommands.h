#pragma once
// Context commands: a command that makes tool contexts (MPxContextCommand)
// registered together with the tool command its contexts create.

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>

#include <string>

namespace ehost {

MStatus addContextCommand(const std::string& name, MCreatorFunction contextCommandCreator,
                          const std::string& toolName, MCreatorFunction toolCreator,
                          MCreateSyntaxFunction toolSyntax, const std::string& plugin);
MStatus removeContextCommand(const std::string& name, const std::string& toolName);

}  // namespace ehost
