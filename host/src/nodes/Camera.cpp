#include "host/src/nodes/Camera.h"

#include <cmath>

#include "host/src/dag/DagOps.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

// A 35 mm lens on the host's default film back (0.945 in high).
const double kDefaultVerticalFov = 2 * std::atan(0.945 * 25.4 * 0.5 / 35.0);

AttrPtr point3(const char* name, const char* shortName, const char* const names[3],
               const char* const shorts[3], double defaultValue) {
    return compound3(name, shortName, names, shorts, MFnNumericData::kDouble, defaultValue);
}

Vec3 read3(DagNode& n, const AttrPtr& a) {
    const Cell& c = evaluate(n, {a.get(), -1});
    return {c.num[0], c.num[1], c.num[2]};
}

double read1(DagNode& n, const AttrPtr& a) {
    return evaluate(n, {a.get(), -1}).num[0];
}

void write3(DagNode& n, const AttrPtr& a, const Vec3& v) {
    const double values[3] = {v.x, v.y, v.z};
    writeNumeric(n, {a.get(), -1}, values, 3);
}

void write1(DagNode& n, const AttrPtr& a, double v) {
    writeNumeric(n, {a.get(), -1}, &v, 1);
}

Vec3 transformPoint(const MMatrix& m, const Vec3& p) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

Vec3 transformVector(const MMatrix& m, const Vec3& v) {
    return {v.x * m(0, 0) + v.y * m(1, 0) + v.z * m(2, 0),
            v.x * m(0, 1) + v.y * m(1, 1) + v.z * m(2, 1),
            v.x * m(0, 2) + v.y * m(1, 2) + v.z * m(2, 2)};
}

}  // namespace

const CameraAttributes& cameraAttributes() {
    static const CameraAttributes c = [] {
        static const char* const en[3] = {"eyePointX", "eyePointY", "eyePointZ"};
        static const char* const es[3] = {"epx", "epy", "epz"};
        static const char* const cn[3] = {"centerOfInterestPointX", "centerOfInterestPointY",
                                          "centerOfInterestPointZ"};
        static const char* const cs[3] = {"cpx", "cpy", "cpz"};
        static const char* const un[3] = {"upVectorX", "upVectorY", "upVectorZ"};
        static const char* const us[3] = {"upx", "upy", "upz"};
        CameraAttributes a;
        a.eyePoint = point3("eyePoint", "ep", en, es, 0);
        a.centerOfInterestPoint = point3("centerOfInterestPoint", "cp", cn, cs, 0);
        a.centerOfInterestPoint->children[2]->defaults[0] = -5;
        a.upVector = point3("upVector", "upv", un, us, 0);
        a.upVector->children[1]->defaults[0] = 1;
        a.verticalFieldOfView =
            numericAttr("verticalFieldOfView", "vfv", MFnNumericData::kDouble, kDefaultVerticalFov);
        a.verticalFieldOfView->isAngle = true;
        a.aspectRatio = numericAttr("aspectRatio", "ar", MFnNumericData::kDouble, 4.0 / 3.0);
        a.orthographic = numericAttr("orthographic", "o", MFnNumericData::kBoolean, 0);
        a.orthographicWidth = numericAttr("orthographicWidth", "ow", MFnNumericData::kDouble, 30);
        a.nearClipPlane = numericAttr("nearClipPlane", "ncp", MFnNumericData::kDouble, 0.1);
        a.farClipPlane = numericAttr("farClipPlane", "fcp", MFnNumericData::kDouble, 10000);
        return a;
    }();
    return c;
}

void registerCameraType(Registry& registry) {
    auto cls = std::make_unique<NodeClass>();
    cls->typeName = "camera";
    cls->typeId = MTypeId(0x4443414d);
    cls->kind = MFn::kCamera;
    cls->role = NodeRole::Shape;
    cls->make = [](NodeClass* c) { return std::make_shared<DagNode>(c); };
    addInheritedAttributes(*cls);
    const auto& a = cameraAttributes();
    for (const auto& attr :
         {a.eyePoint, a.centerOfInterestPoint, a.upVector, a.verticalFieldOfView, a.aspectRatio,
          a.orthographic, a.orthographicWidth, a.nearClipPlane, a.farClipPlane})
        cls->addAttribute(attr);
    registry.addClass(std::move(cls));
}

bool isCamera(const Node& node) {
    return node.cls->kind == MFn::kCamera;
}

DagNode* findCamera(const std::string& name) {
    DagNode* node = findDag(name);
    if (!node) return nullptr;
    if (isCamera(*node)) return node;
    if (node->cls->role != NodeRole::Transform) return nullptr;
    for (auto& child : node->children)
        if (isCamera(*child)) return static_cast<DagNode*>(child.get());
    return nullptr;
}

CameraPose cameraPose(DagNode& camera) {
    const auto& a = cameraAttributes();
    MMatrix world = camera.worldMatrix();
    CameraPose pose;
    pose.eye = transformPoint(world, read3(camera, a.eyePoint));
    pose.centerOfInterest = transformPoint(world, read3(camera, a.centerOfInterestPoint));
    pose.up = transformVector(world, read3(camera, a.upVector));
    pose.verticalFov = read1(camera, a.verticalFieldOfView);
    pose.ortho = read1(camera, a.orthographic) != 0;
    pose.orthoWidth = read1(camera, a.orthographicWidth);
    pose.nearClip = read1(camera, a.nearClipPlane);
    pose.farClip = read1(camera, a.farClipPlane);
    return pose;
}

void placeCamera(DagNode& camera, const Vec3& eye, const Vec3& centerOfInterest, const Vec3& up) {
    const auto& a = cameraAttributes();
    MMatrix toObject = camera.worldMatrix().inverse();
    write3(camera, a.eyePoint, transformPoint(toObject, eye));
    write3(camera, a.centerOfInterestPoint, transformPoint(toObject, centerOfInterest));
    write3(camera, a.upVector, transformVector(toObject, up));
}

void setVerticalFov(DagNode& camera, double radians) {
    write1(camera, cameraAttributes().verticalFieldOfView, radians);
}

DagNode* createDefaultCamera() {
    NodeClass* cls = theRegistry().findClass("camera");
    if (!cls) return nullptr;
    MStatus st;
    Created made = createNode(*cls, "perspShape", nullptr, &st);
    auto* shape = dynamic_cast<DagNode*>(made.node.get());
    if (!shape) return nullptr;
    placeCamera(*shape, {28, 21, 28}, {0, 0, 0}, {0, 1, 0});
    return shape;
}

}  // namespace ehost
