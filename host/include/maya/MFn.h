#pragma once
#include <maya/MTypes.h>

//! The kinds of objects the host API hands out; MObject::hasFn tests a kind
//! and everything it is derived from.
class OPENMAYA_EXPORT MFn {
public:
    enum Type {
        kInvalid = 0,
        kBase = 1,
        kNamedObject = 2,
        kDependencyNode = 4,
        kDagNode = 107,
        kTransform = 110,
        kShape = 248,
        kCamera = 250,
        kLocator = 281,
        kMesh = 296,
        kSet = 459,
        kShadingEngine = 320,
        kPolyTweak = 395,
        kPolyCreator = 396,
        kPolySphere = 434,
        kPolyCube = 435,
        kPolyPlane = 436,
        kPolyModifier = 397,
        kPolyMergeVert = 400,
        kPolyBridgeEdge = 401,
        kPolyAverageVertex = 402,
        kPluginDependNode = 454,
        kPluginLocatorNode = 455,
        kPluginShape = 456,
        kWorld = 258,

        kAttribute = 554,
        kNumericAttribute = 555,
        kTypedAttribute = 556,
        kGenericAttribute = 557,
        kCompoundAttribute = 558,
        kMessageAttribute = 559,
        kMatrixAttribute = 560,
        kEnumAttribute = 561,
        kUnitAttribute = 562,

        kData = 570,
        kNumericData = 571,
        kPointArrayData = 572,
        kIntArrayData = 573,
        kFloatArrayData = 574,
        kDoubleArrayData = 575,
        kVectorArrayData = 576,
        kStringData = 577,
        kStringArrayData = 578,
        kMatrixData = 579,
        kComponentListData = 580,
        kMeshData = 590,
        kGeometryData = 591,
        kPluginData = 592,

        kComponent = 530,
        kSingleIndexedComponent = 531,
        kDoubleIndexedComponent = 532,
        kMeshVertComponent = 550,
        kMeshEdgeComponent = 551,
        kMeshPolygonComponent = 548,
        kMeshVtxFaceComponent = 549,

        kPluginObject = 600,
        kLast = 1100
    };
};
