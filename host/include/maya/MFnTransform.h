#pragma once
#include <maya/MEulerRotation.h>
#include <maya/MFnDagNode.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

//! Reads and sets a transform's translation, rotation and scale.
class OPENMAYA_EXPORT MFnTransform : public MFnDagNode {
public:
    MFnTransform() = default;
    MFnTransform(const MObject& object, MStatus* status = NULL);
    MFnTransform(const MDagPath& path, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kTransform; }

    MObject create(const MObject& parent = MObject::kNullObj, MStatus* status = NULL);
    MTransformationMatrix transformation(MStatus* status = NULL) const;
    MStatus set(const MTransformationMatrix& transform);
    MVector getTranslation(MSpace::Space space, MStatus* status = NULL) const;
    MVector translation(MSpace::Space space, MStatus* status = NULL) const {
        return getTranslation(space, status);
    }
    MStatus setTranslation(const MVector& vector, MSpace::Space space);
    MStatus getRotation(MEulerRotation& rotation) const;
    MStatus setRotation(const MEulerRotation& rotation);
    MStatus getScale(double scale[3]) const;
    MStatus setScale(const double scale[3]);
};
