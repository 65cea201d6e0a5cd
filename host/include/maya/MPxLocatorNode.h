#pragma once
#include <maya/MBoundingBox.h>
#include <maya/MPxNode.h>

//! Base class of plug-in locators: DAG shapes that draw but render nothing.
class OPENMAYA_EXPORT MPxLocatorNode : public MPxNode {
public:
    MPxLocatorNode();
    ~MPxLocatorNode() override;

    Type type() const override { return kLocatorNode; }
    virtual bool isBounded() const;
    virtual MBoundingBox boundingBox() const;
    virtual bool isTransparent() const { return false; }
    virtual bool drawLast() const { return false; }
    virtual bool excludeAsLocator() const { return true; }

    static MObject localPosition;
    static MObject localPositionX;
    static MObject localPositionY;
    static MObject localPositionZ;
    static MObject worldPosition;
    static MObject localScale;
    static MObject localScaleX;
    static MObject localScaleY;
    static MObject localScaleZ;
    static MObject underWorldObject;
};
