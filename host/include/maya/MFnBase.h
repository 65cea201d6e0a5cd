#pragma once
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

//! Base of every function set: holds the object the set is attached to.
class OPENMAYA_EXPORT MFnBase {
public:
    MFnBase() = default;
    virtual ~MFnBase() = default;

    //! The kind of object this function set works on.
    virtual MFn::Type type() const { return MFn::kBase; }
    bool hasObj(MFn::Type kind) const;
    bool hasObj(const MObject& object) const;
    MObject object(MStatus* status = NULL) const;
    virtual MStatus setObject(MObject& object);
    virtual MStatus setObject(const MObject& object);

protected:
    //! Attaches when object is compatible with this set's kind; reports otherwise.
    MStatus attach(const MObject& object);

    MObject obj_;
};
