#pragma once
// The patch node: builds the retopology mesh from a complete description
// held in array attributes (the patch arrays), or passes its input mesh
// through while the arrays are empty or the node has no effect.

#include <maya/MPxNode.h>
#include <maya/MTypeId.h>

class kvPatchNode : public MPxNode {
public:
    kvPatchNode() = default;
    ~kvPatchNode() override = default;

    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    MStatus setDependentsDirty(const MPlug& plug, MPlugArray& plugArray) override;

    static void* creator();
    static MStatus initialize();

    static const MTypeId id;

    static MObject numpolys;
    static MObject numverts;
    static MObject polycount;
    static MObject polyconnect;
    static MObject headmerge;
    static MObject tailmerge;
    static MObject uarray;
    static MObject varray;
    static MObject vertexarray;
    static MObject reverse;
    static MObject normalsin;
    static MObject facelist;
    static MObject vertexlist;
    static MObject hardenvalues;
    static MObject edgesharden;
    static MObject polycountUV;
    static MObject polyconnUV;
    static MObject inMesh;
    static MObject outMesh;
};
