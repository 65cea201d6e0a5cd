#pragma once
// Node types contributed by plug-ins: their classes are built from the
// plug-in's creator and attribute initializer.

#include <maya/MPxNode.h>

#include <string>

#include "host/src/dg/Graph.h"

namespace ehost {

MStatus registerPluginNodeType(const std::string& typeName, const MTypeId& id,
                               MCreatorFunction creator, MInitializeFunction initialize,
                               MPxNode::Type type, const std::string& classification,
                               const std::string& pluginName);
MStatus deregisterPluginNodeType(const MTypeId& id);

void addLocatorAttributes(NodeClass& cls);

}  // namespace ehost
