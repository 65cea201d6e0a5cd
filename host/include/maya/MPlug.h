#pragma once
#include <maya/MDGContext.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

class MPlugArray;
class MDataHandle;
class MIntArray;
class MAngle;
class MDistance;

namespace ehost {
class Node;
class Attribute;
struct ApiAccess;
}  // namespace ehost

//! An attribute on a particular node (and, for arrays, a particular element):
//! where values are read and written and connections are made.
class OPENMAYA_EXPORT MPlug {
public:
    MPlug() = default;
    MPlug(const MObject& node, const MObject& attribute);
    MPlug(const MPlug&) = default;
    MPlug& operator=(const MPlug&) = default;
    ~MPlug() = default;

    MStatus setAttribute(MObject& attribute);
    MObject attribute(MStatus* status = NULL) const;
    MObject node(MStatus* status = NULL) const;
    //! "node.attr[3].child", with the node's name.
    MString name(MStatus* status = NULL) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false,
                        bool useFullAttributePath = false, bool useLongNames = false,
                        MStatus* status = NULL) const;
    MString info(MStatus* status = NULL) const;

    bool isNull(MStatus* status = NULL) const;
    bool isArray(MStatus* status = NULL) const;
    bool isElement(MStatus* status = NULL) const;
    bool isCompound(MStatus* status = NULL) const;
    bool isChild(MStatus* status = NULL) const;
    bool isConnected(MStatus* status = NULL) const;
    bool isSource(MStatus* status = NULL) const;
    bool isDestination(MStatus* status = NULL) const;
    bool isKeyable(MStatus* status = NULL) const;
    bool isLocked(MStatus* status = NULL) const;
    bool isNetworked(MStatus* status = NULL) const;
    bool isDynamic(MStatus* status = NULL) const;
    bool isFromReferencedFile(MStatus* status = NULL) const;
    MStatus setLocked(bool locked);

    unsigned int numElements(MStatus* status = NULL) const;
    unsigned int evaluateNumElements(MStatus* status = NULL) const;
    unsigned int numChildren(MStatus* status = NULL) const;
    unsigned int numConnectedElements(MStatus* status = NULL) const;
    MPlug child(const MObject& attribute, MStatus* status = NULL) const;
    MPlug child(unsigned int index, MStatus* status = NULL) const;
    MPlug parent(MStatus* status = NULL) const;
    MPlug array(MStatus* status = NULL) const;
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus* status = NULL) const;
    MPlug elementByPhysicalIndex(unsigned int physicalIndex, MStatus* status = NULL) const;
    unsigned int logicalIndex(MStatus* status = NULL) const;
    int getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status = NULL) const;
    MPlug operator[](const MObject& childAttribute) const { return child(childAttribute); }
    MPlug operator[](unsigned int logicalIndex) const {
        return elementByLogicalIndex(logicalIndex);
    }

    bool connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status = NULL) const;
    MPlug source(MStatus* status = NULL) const;
    bool destinations(MPlugArray& plugs, MStatus* status = NULL) const;

    MStatus getValue(MObject& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(double& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(float& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(int& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(short& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(bool& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(char& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MString& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MAngle& value, const MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MDistance& value, const MDGContext& ctx = MDGContext::fsNormal) const;

    MObject asMObject(MStatus* status = NULL) const;
    MObject asMObject(const MDGContext& ctx, MStatus* status = NULL) const;
    double asDouble(MStatus* status = NULL) const;
    double asDouble(const MDGContext& ctx, MStatus* status = NULL) const;
    float asFloat(MStatus* status = NULL) const;
    float asFloat(const MDGContext& ctx, MStatus* status = NULL) const;
    int asInt(MStatus* status = NULL) const;
    int asInt(const MDGContext& ctx, MStatus* status = NULL) const;
    short asShort(MStatus* status = NULL) const;
    short asShort(const MDGContext& ctx, MStatus* status = NULL) const;
    bool asBool(MStatus* status = NULL) const;
    bool asBool(const MDGContext& ctx, MStatus* status = NULL) const;
    char asChar(MStatus* status = NULL) const;
    MString asString(MStatus* status = NULL) const;
    MString asString(const MDGContext& ctx, MStatus* status = NULL) const;
    MDataHandle asMDataHandle(MStatus* status = NULL) const;
    MDataHandle asMDataHandle(const MDGContext& ctx, MStatus* status = NULL) const;
    void destructHandle(MDataHandle& handle) const;

    MStatus setValue(const MObject& value) const;
    MStatus setValue(MObject& value) const { return setValue(static_cast<const MObject&>(value)); }
    MStatus setValue(double value) const;
    MStatus setValue(float value) const;
    MStatus setValue(int value) const;
    MStatus setValue(short value) const;
    MStatus setValue(bool value) const;
    MStatus setValue(char value) const;
    MStatus setValue(const MString& value) const;
    MStatus setValue(const char* value) const { return setValue(MString(value)); }
    MStatus setValue(MDataHandle& handle) const;
    MStatus setValue(const MAngle& value) const;
    MStatus setValue(const MDistance& value) const;
    MStatus setMObject(const MObject& value) const { return setValue(value); }
    MStatus setDouble(double value) const { return setValue(value); }
    MStatus setFloat(float value) const { return setValue(value); }
    MStatus setInt(int value) const { return setValue(value); }
    MStatus setShort(short value) const { return setValue(value); }
    MStatus setBool(bool value) const { return setValue(value); }
    MStatus setChar(char value) const { return setValue(value); }
    MStatus setString(const MString& value) const { return setValue(value); }
    MStatus setMDataHandle(MDataHandle& handle) const { return setValue(handle); }

    bool operator==(const MPlug& other) const;
    bool operator!=(const MPlug& other) const { return !(*this == other); }
    bool operator==(const MObject& attribute) const;
    bool operator!=(const MObject& attribute) const { return !(*this == attribute); }

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::shared_ptr<ehost::Node> node;
        std::shared_ptr<ehost::Attribute> attr;
        int index = -1;
        //! An array plug's existing element indices, ascending, while the
        //! node is unchanged: a walk by physical index reads them once.
        mutable std::shared_ptr<const std::vector<int>> elements;
        mutable unsigned long long elementsAt = 0;
        mutable std::size_t elementsLinks = 0;
    };
    Impl impl_;
};
