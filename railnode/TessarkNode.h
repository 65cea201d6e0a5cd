#pragma once
// The rail node: a locator holding all persistent state of the rail tool
// (strokes, shadow and non-destructive strokes, player, pin, magnet and fuse
// previews, flags). It computes nothing; its dependencies only carry
// dirtiness so that writes redraw it.

#include <maya/MPxLocatorNode.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class Tessark : public MPxLocatorNode {
public:
    Tessark() = default;
    ~Tessark() override = default;

    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    MStatus preEvaluation(const MDGContext& context,
                          const MEvaluationNode& evaluationNode) override;
    bool isBounded() const override;
    //! When the source mesh is connected (or a scene with it is opened), its
    //! ray structure is built then, not inside the artist's first stroke.
    MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;

    static void* creator();
    static MStatus initialize();

    static const MTypeId id;
    static const MString drawDbClassification;
    static const MString drawRegistrantId;

    static MObject strokes;
    static MObject sizes;
    static MObject playersLine;
    static MObject strokesShadow;
    static MObject sizesShadow;
    static MObject strokesNondestruct;
    static MObject sizesNondestruct;
    static MObject locked;
    static MObject close;
    static MObject newFaces;
    static MObject displayInfo;
    static MObject isLastPlayer;
    static MObject TessarkMesh;
    static MObject toMerge;
    static MObject playerpts;
    static MObject magnetPt;
    static MObject fusept;
    static MObject fusemesh;
    static MObject fuseindices;
    static MObject mode;
};
