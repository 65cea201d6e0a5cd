#include "host/src/core/Object.h"

#include <unordered_map>

namespace ehost {

namespace {

// Each kind's parent in the host's kind hierarchy.
const std::unordered_map<int, MFn::Type>& parents() {
    static const std::unordered_map<int, MFn::Type> table = {
        {MFn::kNamedObject, MFn::kBase},
        {MFn::kDependencyNode, MFn::kNamedObject},
        {MFn::kDagNode, MFn::kDependencyNode},
        {MFn::kWorld, MFn::kDagNode},
        {MFn::kTransform, MFn::kDagNode},
        {MFn::kShape, MFn::kDagNode},
        {MFn::kCamera, MFn::kShape},
        {MFn::kMesh, MFn::kShape},
        {MFn::kLocator, MFn::kShape},
        {MFn::kPluginLocatorNode, MFn::kLocator},
        {MFn::kPluginShape, MFn::kShape},
        {MFn::kPluginDependNode, MFn::kDependencyNode},
        {MFn::kSet, MFn::kDependencyNode},
        {MFn::kShadingEngine, MFn::kSet},
        {MFn::kPolyTweak, MFn::kDependencyNode},
        {MFn::kPolyCreator, MFn::kDependencyNode},
        {MFn::kPolySphere, MFn::kPolyCreator},
        {MFn::kPolyCube, MFn::kPolyCreator},
        {MFn::kPolyPlane, MFn::kPolyCreator},
        {MFn::kPolyModifier, MFn::kDependencyNode},
        {MFn::kPolyMergeVert, MFn::kPolyModifier},
        {MFn::kPolyBridgeEdge, MFn::kPolyModifier},
        {MFn::kPolyAverageVertex, MFn::kPolyModifier},
        {MFn::kAttribute, MFn::kBase},
        {MFn::kNumericAttribute, MFn::kAttribute},
        {MFn::kTypedAttribute, MFn::kAttribute},
        {MFn::kGenericAttribute, MFn::kAttribute},
        {MFn::kCompoundAttribute, MFn::kAttribute},
        {MFn::kMessageAttribute, MFn::kAttribute},
        {MFn::kMatrixAttribute, MFn::kAttribute},
        {MFn::kEnumAttribute, MFn::kAttribute},
        {MFn::kUnitAttribute, MFn::kAttribute},
        {MFn::kData, MFn::kBase},
        {MFn::kNumericData, MFn::kData},
        {MFn::kPointArrayData, MFn::kData},
        {MFn::kIntArrayData, MFn::kData},
        {MFn::kFloatArrayData, MFn::kData},
        {MFn::kDoubleArrayData, MFn::kData},
        {MFn::kVectorArrayData, MFn::kData},
        {MFn::kStringData, MFn::kData},
        {MFn::kStringArrayData, MFn::kData},
        {MFn::kMatrixData, MFn::kData},
        {MFn::kComponentListData, MFn::kData},
        {MFn::kGeometryData, MFn::kData},
        {MFn::kMeshData, MFn::kGeometryData},
        {MFn::kPluginData, MFn::kData},
        {MFn::kComponent, MFn::kBase},
        {MFn::kSingleIndexedComponent, MFn::kComponent},
        {MFn::kMeshVertComponent, MFn::kSingleIndexedComponent},
        {MFn::kMeshEdgeComponent, MFn::kSingleIndexedComponent},
        {MFn::kMeshPolygonComponent, MFn::kSingleIndexedComponent},
        {MFn::kDoubleIndexedComponent, MFn::kComponent},
        {MFn::kMeshVtxFaceComponent, MFn::kDoubleIndexedComponent},
        {MFn::kPluginObject, MFn::kBase},
    };
    return table;
}

}  // namespace

bool kindIsA(MFn::Type kind, MFn::Type base) {
    if (base == MFn::kInvalid) return false;
    const auto& table = parents();
    for (MFn::Type k = kind;;) {
        if (k == base) return true;
        auto it = table.find(k);
        if (it == table.end()) return false;
        k = it->second;
    }
}

const char* kindName(MFn::Type kind) {
    switch (kind) {
        case MFn::kInvalid:
            return "kInvalid";
        case MFn::kBase:
            return "kBase";
        case MFn::kNamedObject:
            return "kNamedObject";
        case MFn::kDependencyNode:
            return "kDependencyNode";
        case MFn::kDagNode:
            return "kDagNode";
        case MFn::kWorld:
            return "kWorld";
        case MFn::kTransform:
            return "kTransform";
        case MFn::kShape:
            return "kShape";
        case MFn::kCamera:
            return "kCamera";
        case MFn::kMesh:
            return "kMesh";
        case MFn::kLocator:
            return "kLocator";
        case MFn::kPluginLocatorNode:
            return "kPluginLocatorNode";
        case MFn::kPluginShape:
            return "kPluginShape";
        case MFn::kPluginDependNode:
            return "kPluginDependNode";
        case MFn::kSet:
            return "kSet";
        case MFn::kShadingEngine:
            return "kShadingEngine";
        case MFn::kPolyTweak:
            return "kPolyTweak";
        case MFn::kPolyCreator:
            return "kPolyCreator";
        case MFn::kPolySphere:
            return "kPolySphere";
        case MFn::kPolyCube:
            return "kPolyCube";
        case MFn::kPolyPlane:
            return "kPolyPlane";
        case MFn::kPolyModifier:
            return "kPolyModifier";
        case MFn::kPolyMergeVert:
            return "kPolyMergeVert";
        case MFn::kPolyBridgeEdge:
            return "kPolyBridgeEdge";
        case MFn::kPolyAverageVertex:
            return "kPolyAverageVertex";
        case MFn::kAttribute:
            return "kAttribute";
        case MFn::kNumericAttribute:
            return "kNumericAttribute";
        case MFn::kTypedAttribute:
            return "kTypedAttribute";
        case MFn::kGenericAttribute:
            return "kGenericAttribute";
        case MFn::kCompoundAttribute:
            return "kCompoundAttribute";
        case MFn::kMessageAttribute:
            return "kMessageAttribute";
        case MFn::kMatrixAttribute:
            return "kMatrixAttribute";
        case MFn::kEnumAttribute:
            return "kEnumAttribute";
        case MFn::kUnitAttribute:
            return "kUnitAttribute";
        case MFn::kData:
            return "kData";
        case MFn::kNumericData:
            return "kNumericData";
        case MFn::kPointArrayData:
            return "kPointArrayData";
        case MFn::kIntArrayData:
            return "kIntArrayData";
        case MFn::kFloatArrayData:
            return "kFloatArrayData";
        case MFn::kDoubleArrayData:
            return "kDoubleArrayData";
        case MFn::kVectorArrayData:
            return "kVectorArrayData";
        case MFn::kStringData:
            return "kStringData";
        case MFn::kStringArrayData:
            return "kStringArrayData";
        case MFn::kMatrixData:
            return "kMatrixData";
        case MFn::kComponentListData:
            return "kComponentListData";
        case MFn::kMeshData:
            return "kMeshData";
        case MFn::kGeometryData:
            return "kGeometryData";
        case MFn::kPluginData:
            return "kPluginData";
        case MFn::kComponent:
            return "kComponent";
        case MFn::kSingleIndexedComponent:
            return "kSingleIndexedComponent";
        case MFn::kDoubleIndexedComponent:
            return "kDoubleIndexedComponent";
        case MFn::kMeshVertComponent:
            return "kMeshVertComponent";
        case MFn::kMeshEdgeComponent:
            return "kMeshEdgeComponent";
        case MFn::kMeshPolygonComponent:
            return "kMeshPolygonComponent";
        case MFn::kMeshVtxFaceComponent:
            return "kMeshVtxFaceComponent";
        case MFn::kPluginObject:
            return "kPluginObject";
        case MFn::kLast:
            return "kLast";
    }
    return "kUnknown";
}

}  // namespace ehost
