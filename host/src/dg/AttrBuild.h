#pragma once
// Building attributes from engine code (the host's own node types and the
// base attributes every node has).

#include <string>

#include "host/src/dg/Graph.h"

namespace ehost {

AttrPtr numericAttr(const std::string& name, const std::string& shortName,
                    MFnNumericData::Type type, double defaultValue = 0);
//! A compound of numeric children, e.g. translate = (translateX, translateY, translateZ).
AttrPtr compoundAttr(const std::string& name, const std::string& shortName,
                     std::vector<AttrPtr> children);
AttrPtr compound3(const std::string& name, const std::string& shortName, const char* const names[3],
                  const char* const shortNames[3], MFnNumericData::Type type,
                  double defaultValue = 0);
AttrPtr typedAttr(const std::string& name, const std::string& shortName, MFnData::Type type);
AttrPtr messageAttr(const std::string& name, const std::string& shortName);
AttrPtr matrixAttr(const std::string& name, const std::string& shortName);
AttrPtr enumAttr(const std::string& name, const std::string& shortName, int defaultValue,
                 std::vector<std::pair<std::string, int>> fields);

//! The attributes every node has, shared by all node types.
struct BaseAttributes {
    AttrPtr message, caching, state, frozen, isHistoricallyInteresting;
};
const BaseAttributes& baseAttributes();
//! The attributes every DAG node has.
struct DagAttributes {
    AttrPtr visibility, intermediateObject, instObjGroups;
};
const DagAttributes& dagAttributes();

//! Adds the base (and for DAG roles the DAG) attributes to a new node type.
void addInheritedAttributes(NodeClass& cls);

}  // namespace ehost
