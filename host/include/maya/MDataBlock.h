#pragma once
#include <maya/MDGContext.h>
#include <maya/MDataHandle.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

class MPlug;
class MArrayDataHandle;

namespace ehost {
class Node;
struct ApiAccess;
}  // namespace ehost

//! A node's values during compute: inputs are evaluated on request, outputs
//! are written through their handles.
class OPENMAYA_EXPORT MDataBlock {
public:
    MDataBlock() = default;

    MDataHandle inputValue(const MObject& attribute, MStatus* status = NULL);
    MDataHandle inputValue(const MPlug& plug, MStatus* status = NULL);
    MDataHandle outputValue(const MObject& attribute, MStatus* status = NULL);
    MDataHandle outputValue(const MPlug& plug, MStatus* status = NULL);
    MArrayDataHandle inputArrayValue(const MObject& attribute, MStatus* status = NULL);
    MArrayDataHandle outputArrayValue(const MObject& attribute, MStatus* status = NULL);
    MStatus setClean(const MPlug& plug);
    MStatus setClean(const MObject& attribute);
    bool isClean(const MObject& attribute, MStatus* status = NULL);
    bool isClean(const MPlug& plug, MStatus* status = NULL);
    MDGContext context(MStatus* status = NULL);

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        ehost::Node* node = nullptr;
    };
    Impl impl_;
};
