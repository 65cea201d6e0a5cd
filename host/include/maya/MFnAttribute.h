#pragma once
#include <maya/MFnBase.h>
#include <maya/MFnData.h>
#include <maya/MString.h>

//! Reads and sets the name and flags of an attribute.
class OPENMAYA_EXPORT MFnAttribute : public MFnBase {
public:
    enum DisconnectBehavior { kDelete, kReset, kNothing };

    MFnAttribute() = default;
    MFnAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kAttribute; }

    MString name(MStatus* status = NULL) const;
    MString shortName(MStatus* status = NULL) const;
    MObject parent(MStatus* status = NULL) const;
    bool accepts(MFnData::Type type, MStatus* status = NULL) const;

    bool isReadable(MStatus* status = NULL) const;
    bool isWritable(MStatus* status = NULL) const;
    bool isConnectable(MStatus* status = NULL) const;
    bool isStorable(MStatus* status = NULL) const;
    bool isCached(MStatus* status = NULL) const;
    bool isArray(MStatus* status = NULL) const;
    bool indexMatters(MStatus* status = NULL) const;
    bool isKeyable(MStatus* status = NULL) const;
    bool isChannelBoxFlagSet(MStatus* status = NULL) const;
    bool isHidden(MStatus* status = NULL) const;
    bool isWorldSpace(MStatus* status = NULL) const;
    bool usesArrayDataBuilder(MStatus* status = NULL) const;
    bool internal(MStatus* status = NULL) const;
    bool isDynamic(MStatus* status = NULL) const;

    MStatus setReadable(bool state);
    MStatus setWritable(bool state);
    MStatus setConnectable(bool state);
    MStatus setStorable(bool state);
    MStatus setCached(bool state);
    MStatus setArray(bool state);
    MStatus setIndexMatters(bool state);
    MStatus setKeyable(bool state);
    MStatus setChannelBox(bool state);
    MStatus setHidden(bool state);
    MStatus setUsedAsColor(bool state);
    MStatus setWorldSpace(bool state);
    MStatus setAffectsWorldSpace(bool state);
    MStatus setAffectsAppearance(bool state);
    MStatus setUsesArrayDataBuilder(bool state);
    MStatus setInternal(bool state);
    MStatus setDisconnectBehavior(DisconnectBehavior behavior);
    MStatus setNiceNameOverride(const MString& name);

protected:
    //! Makes a new attribute object and attaches this set to it.
    MObject make(int kind, const MString& fullName, const MString& briefName, MStatus* status);
};
