#include "railnode/TessarkNode.h"

#include <maya/MDGContext.h>
#include <maya/MEvaluationNode.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MMeshIsectAccelParams.h>
#include <maya/MPlug.h>
#include <maya/MViewport2Renderer.h>

#include "railnode/ApiError.h"
#include "railnode/RailAttributes.h"

const MTypeId Tessark::id(0x80025);
const MString Tessark::drawDbClassification("drawdb/geometry/Tessark");
const MString Tessark::drawRegistrantId("Tessark");

MObject Tessark::strokes;
MObject Tessark::sizes;
MObject Tessark::playersLine;
MObject Tessark::strokesShadow;
MObject Tessark::sizesShadow;
MObject Tessark::strokesNondestruct;
MObject Tessark::sizesNondestruct;
MObject Tessark::locked;
MObject Tessark::close;
MObject Tessark::newFaces;
MObject Tessark::displayInfo;
MObject Tessark::isLastPlayer;
MObject Tessark::TessarkMesh;
MObject Tessark::toMerge;
MObject Tessark::playerpts;
MObject Tessark::magnetPt;
MObject Tessark::fusept;
MObject Tessark::fusemesh;
MObject Tessark::fuseindices;
MObject Tessark::mode;

void* Tessark::creator() {
    return new Tessark;
}

namespace {

// The flags set explicitly on each attribute; the others keep the host's defaults.
enum Flag : unsigned { S = 1, K = 2, H = 4, W = 8, C = 16 };

void setFlags(MFnAttribute& fn, unsigned flags) {
    if (flags & S) fn.setStorable(true);
    if (flags & K) fn.setKeyable(true);
    if (flags & H) fn.setHidden(true);
    if (flags & W) fn.setWritable(true);
    if (flags & C) fn.setCached(true);
}

MObject typed(tessark::rail::AttributeName name, MFnData::Type type, unsigned flags) {
    MFnTypedAttribute fn;
    MStatus status;
    MObject attr = fn.create(name.longName, name.shortName, type, MObject::kNullObj, &status);
    if (!status) status.perror(MString("cannot create attribute ") + name.longName);
    setFlags(fn, flags);
    return attr;
}

MObject boolean(tessark::rail::AttributeName name, bool value, unsigned flags) {
    MFnNumericAttribute fn;
    MStatus status;
    MObject attr =
        fn.create(name.longName, name.shortName, MFnNumericData::kBoolean, value ? 1 : 0, &status);
    TESSARK_REPORT_ERROR(status);
    setFlags(fn, flags);
    return attr;
}

}  // namespace

MStatus Tessark::initialize() {
    namespace rail = tessark::rail;
    strokes = typed(rail::strokes, MFnData::kPointArray, S | K | H | C);
    sizes = typed(rail::sizes, MFnData::kIntArray, S | H | W | C);
    playersLine = typed(rail::playersLine, MFnData::kPointArray, S | K | C | H);
    strokesShadow = typed(rail::strokesShadow, MFnData::kPointArray, S | K | H | C);
    sizesShadow = typed(rail::sizesShadow, MFnData::kIntArray, S | H | K | C);
    strokesNondestruct = typed(rail::strokesNondestruct, MFnData::kPointArray, S | H | K | C);
    sizesNondestruct = typed(rail::sizesNondestruct, MFnData::kIntArray, S | H | K | C);
    locked = boolean(rail::locked, true, S | W | C);
    close = boolean(rail::close, false, S | W | C);
    newFaces = typed(rail::newFaces, MFnData::kIntArray, S | H | W | C);
    displayInfo = boolean(rail::displayInfo, true, S | W | C);
    isLastPlayer = boolean(rail::isLastPlayer, false, S | H | W | C);
    {
        MFnGenericAttribute fn;
        MStatus status;
        TessarkMesh = fn.create(rail::TessarkMesh.longName, rail::TessarkMesh.shortName, &status);
        if (!status)
            status.perror(MString("cannot create attribute ") + rail::TessarkMesh.longName);
        fn.addAccept(MFnData::kMesh);
        setFlags(fn, K | H | S);
    }
    toMerge = typed(rail::toMerge, MFnData::kIntArray, S | W | C | H);
    playerpts = typed(rail::playerpts, MFnData::kPointArray, S | K | C | H);
    magnetPt = typed(rail::magnetPt, MFnData::kPointArray, S | W | C | H);
    fusept = typed(rail::fusept, MFnData::kPointArray, S | W | C | H);
    fusemesh = typed(rail::fusemesh, MFnData::kPointArray, S | K | C | H);
    fuseindices = typed(rail::fuseindices, MFnData::kIntArray, S | W | C | H);
    mode = boolean(rail::mode, true, S | W | C);

    for (MObject* attr :
         {&close,       &mode,         &sizes,         &locked,           &newFaces,
          &fusept,      &strokes,      &toMerge,       &playerpts,        &magnetPt,
          &fusemesh,    &TessarkMesh,  &playersLine,   &fuseindices,      &displayInfo,
          &sizesShadow, &isLastPlayer, &strokesShadow, &sizesNondestruct, &strokesNondestruct}) {
        MStatus status = addAttribute(*attr);
        if (!status) status.perror("addAttribute");
    }

    const std::pair<MObject*, MObject*> affects[] = {{&strokes, &sizes},
                                                     {&strokes, &newFaces},
                                                     {&TessarkMesh, &sizes},
                                                     {&strokes, &TessarkMesh},
                                                     {&displayInfo, &strokes},
                                                     {&displayInfo, &playerpts},
                                                     {&displayInfo, &playersLine},
                                                     {&displayInfo, &isLastPlayer},
                                                     {&newFaces, &sizesShadow},
                                                     {&sizesShadow, &newFaces},
                                                     {&newFaces, &strokesShadow},
                                                     {&strokesShadow, &newFaces},
                                                     {&strokesShadow, &isLastPlayer}};
    for (const auto& [when, affected] : affects) {
        MStatus status = attributeAffects(*when, *affected);
        if (!status) status.perror("attributeAffects");
    }
    // Attributes that could not be made are reported above; the node type
    // stays usable with the rest.
    return MStatus::kSuccess;
}

MStatus Tessark::compute(const MPlug& plug, MDataBlock&) {
    if (plug == strokes) return MStatus::kSuccess;
    return MStatus::kUnknownParameter;
}

MStatus Tessark::preEvaluation(const MDGContext& context, const MEvaluationNode& evaluationNode) {
    if (context.isNormal()) {
        MStatus status;
        if (evaluationNode.dirtyPlugExists(sizes, &status) && status)
            MHWRender::MRenderer::setGeometryDrawDirty(thisMObject());
    }
    return MStatus::kSuccess;
}

MStatus Tessark::connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) {
    if (plug == TessarkMesh) {
        MStatus status;
        MFnMesh source(otherPlug.node(), &status);
        if (status) {
            // One query builds the structure that every later query reuses.
            MFloatPoint hit;
            MMeshIsectAccelParams accel = source.autoUniformGridParams();
            source.closestIntersection(MFloatPoint(0, 0, 0), MFloatVector(0, 1, 0), NULL, NULL,
                                       false, MSpace::kObject, 1.0f, false, &accel, hit, NULL, NULL,
                                       NULL, NULL, NULL);
        }
    }
    return MPxLocatorNode::connectionMade(plug, otherPlug, asSrc);
}

bool Tessark::isBounded() const {
    return false;
}
