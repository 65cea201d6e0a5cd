#pragma once
// Conversions between engine objects and API objects, for the engine's
// implementation of the API.

#include <maya/MDataBlock.h>
#include <maya/MEvaluationNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>

#include <string>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost::api {

inline void setStatus(MStatus* out, const MStatus& value) {
    if (out) *out = value;
}
inline MStatus fail(MStatus::MStatusCode code, const std::string& text) {
    return MStatus(code, text);
}

MObject wrap(const ObjectPtr& obj);
NodePtr nodeOf(const MObject& obj);
AttrPtr attrOf(const MObject& obj);
DataPtr dataOf(const MObject& obj);
AttrPtr share(const Attribute* attr);

MPlug makePlug(const NodePtr& node, const PlugAddr& addr);
PlugRef plugRef(const MPlug& plug);
NodePtr plugNode(const MPlug& plug);
PlugAddr plugAddr(const MPlug& plug);
MDataBlock makeDataBlock(Node& node);
MEvaluationNode makeEvaluationNode(const NodePtr& node, const std::vector<PlugAddr>& dirty);

}  // namespace ehost::api
