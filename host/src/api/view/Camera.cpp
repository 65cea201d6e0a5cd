#include <maya/MFnCamera.h>

#include <cmath>

#include "host/src/dg/Api.h"
#include "host/src/view/Camera.h"

using ehost::DagNode;
using ehost::Vec3;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

const ehost::CameraAttributes& attrs() {
    return ehost::cameraAttributes();
}

DagNode* cameraOf(const MObject& object, MStatus& status) {
    auto node = ehost::ApiAccess::as<DagNode>(object);
    if (!node || !ehost::isCamera(*node)) {
        status = fail(MStatus::kInvalidParameter, "the function set is not attached to a camera");
        return nullptr;
    }
    status = MStatus::kSuccess;
    return node.get();
}

Vec3 read3(DagNode& n, const ehost::AttrPtr& a) {
    const ehost::Cell& c = ehost::evaluate(n, {a.get(), -1});
    return {c.num[0], c.num[1], c.num[2]};
}

double read1(DagNode& n, const ehost::AttrPtr& a) {
    return ehost::evaluate(n, {a.get(), -1}).num[0];
}

void write3(DagNode& n, const ehost::AttrPtr& a, const Vec3& v) {
    const double values[3] = {v.x, v.y, v.z};
    ehost::writeNumeric(n, {a.get(), -1}, values, 3);
}

void write1(DagNode& n, const ehost::AttrPtr& a, double v) {
    ehost::writeNumeric(n, {a.get(), -1}, &v, 1);
}

bool world(MSpace::Space space) {
    return space == MSpace::kWorld;
}

Vec3 pointIn(DagNode& n, const Vec3& objectPoint, MSpace::Space space) {
    if (!world(space)) return objectPoint;
    MPoint p = MPoint(objectPoint.x, objectPoint.y, objectPoint.z) * n.worldMatrix();
    return {p.x, p.y, p.z};
}

Vec3 vectorIn(DagNode& n, const Vec3& objectVector, MSpace::Space space) {
    if (!world(space)) return objectVector;
    MVector v = MVector(objectVector.x, objectVector.y, objectVector.z) * n.worldMatrix();
    return {v.x, v.y, v.z};
}

Vec3 pointToObject(DagNode& n, const MPoint& p, MSpace::Space space) {
    MPoint q = world(space) ? p * n.worldMatrix().inverse() : p;
    return {q.x, q.y, q.z};
}

//! The camera's orthonormal frame in the given space.
void frameIn(DagNode& n, MSpace::Space space, Vec3& forward, Vec3& right, Vec3& up) {
    Vec3 eye = pointIn(n, read3(n, attrs().eyePoint), space);
    Vec3 coi = pointIn(n, read3(n, attrs().centerOfInterestPoint), space);
    Vec3 upHint = vectorIn(n, read3(n, attrs().upVector), space);
    ehost::lookAtFrame(eye, coi, upHint, forward, right, up);
}

MPoint toPoint(const Vec3& v) {
    return MPoint(v.x, v.y, v.z);
}
MVector toVector(const Vec3& v) {
    return MVector(v.x, v.y, v.z);
}

}  // namespace

MFnCamera::MFnCamera(const MObject& object, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, attach(object));
}

MFnCamera::MFnCamera(const MDagPath& object, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, setObject(object));
}

MObject MFnCamera::create(MStatus* ReturnStatus) {
    return MFnDagNode::create("camera", MObject::kNullObj, ReturnStatus);
}

MObject MFnCamera::create(MObject& parent, MStatus* ReturnStatus) {
    return MFnDagNode::create("camera", parent, ReturnStatus);
}

MPoint MFnCamera::eyePoint(MSpace::Space space, MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? toPoint(pointIn(*n, read3(*n, attrs().eyePoint), space)) : MPoint();
}

MVector MFnCamera::viewDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    if (!n) return MVector();
    Vec3 forward, right, up;
    frameIn(*n, space, forward, right, up);
    return toVector(forward);
}

MVector MFnCamera::upDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    if (!n) return MVector();
    Vec3 forward, right, up;
    frameIn(*n, space, forward, right, up);
    return toVector(up);
}

MVector MFnCamera::rightDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    if (!n) return MVector();
    Vec3 forward, right, up;
    frameIn(*n, space, forward, right, up);
    return toVector(right);
}

MPoint MFnCamera::centerOfInterestPoint(MSpace::Space space, MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? toPoint(pointIn(*n, read3(*n, attrs().centerOfInterestPoint), space)) : MPoint();
}

double MFnCamera::centerOfInterest(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? ehost::length(read3(*n, attrs().centerOfInterestPoint) - read3(*n, attrs().eyePoint))
             : 0.0;
}

MStatus MFnCamera::set(const MPoint& wsEyeLocation, const MVector& wsViewDirection,
                       const MVector& wsUpDirection, double horizFieldOfView, double aspectRatio) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (wsViewDirection.length() == 0)
        return fail(MStatus::kInvalidParameter, "the view direction is zero");
    if (!(aspectRatio > 0))
        return fail(MStatus::kInvalidParameter, "the aspect ratio must be positive");
    double distance = centerOfInterest();
    if (!(distance > 0)) distance = 1;
    MPoint eye = wsEyeLocation;
    MPoint coi = eye + wsViewDirection.normal() * distance;
    ehost::placeCamera(*n, {eye.x, eye.y, eye.z}, {coi.x, coi.y, coi.z},
                       {wsUpDirection.x, wsUpDirection.y, wsUpDirection.z});
    write1(*n, attrs().aspectRatio, aspectRatio);
    return setHorizontalFieldOfView(horizFieldOfView);
}

MStatus MFnCamera::setEyePoint(const MPoint& eyeLocation, MSpace::Space space) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    write3(*n, attrs().eyePoint, pointToObject(*n, eyeLocation, space));
    return MStatus::kSuccess;
}

MStatus MFnCamera::setCenterOfInterestPoint(const MPoint& centerOfInterest, MSpace::Space space) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    write3(*n, attrs().centerOfInterestPoint, pointToObject(*n, centerOfInterest, space));
    return MStatus::kSuccess;
}

MStatus MFnCamera::setCenterOfInterest(double dist) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!(dist > 0))
        return fail(MStatus::kInvalidParameter,
                    "the centre of interest must lie in front of the eye");
    Vec3 eye = read3(*n, attrs().eyePoint);
    Vec3 forward, right, up;
    frameIn(*n, MSpace::kObject, forward, right, up);
    write3(*n, attrs().centerOfInterestPoint, eye + forward * dist);
    return MStatus::kSuccess;
}

MStatus MFnCamera::setUpDirection(const MVector& up, MSpace::Space space) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    MVector v = world(space) ? up * n->worldMatrix().inverse() : up;
    write3(*n, attrs().upVector, {v.x, v.y, v.z});
    return MStatus::kSuccess;
}

double MFnCamera::verticalFieldOfView(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? read1(*n, attrs().verticalFieldOfView) : 0.0;
}

double MFnCamera::horizontalFieldOfView(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    if (!n) return 0.0;
    double v = read1(*n, attrs().verticalFieldOfView);
    return 2 * std::atan(std::tan(v / 2) * read1(*n, attrs().aspectRatio));
}

namespace {

bool validFov(double fov) {
    return fov > 0 && fov < 3.14159;
}

}  // namespace

MStatus MFnCamera::setVerticalFieldOfView(double fov) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!validFov(fov))
        return fail(MStatus::kInvalidParameter, "a field of view lies between 0 and pi radians");
    write1(*n, attrs().verticalFieldOfView, fov);
    return MStatus::kSuccess;
}

MStatus MFnCamera::setHorizontalFieldOfView(double fov) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!validFov(fov))
        return fail(MStatus::kInvalidParameter, "a field of view lies between 0 and pi radians");
    write1(*n, attrs().verticalFieldOfView,
           2 * std::atan(std::tan(fov / 2) / read1(*n, attrs().aspectRatio)));
    return MStatus::kSuccess;
}

MStatus MFnCamera::getPortFieldOfView(int width, int height, double& horizontalFOV,
                                      double& verticalFOV) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (width <= 0 || height <= 0)
        return fail(MStatus::kInvalidParameter, "a port has a positive size");
    verticalFOV = read1(*n, attrs().verticalFieldOfView);
    horizontalFOV = 2 * std::atan(std::tan(verticalFOV / 2) * width / height);
    return MStatus::kSuccess;
}

double MFnCamera::aspectRatio(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? read1(*n, attrs().aspectRatio) : 0.0;
}

MStatus MFnCamera::setAspectRatio(double aspectRatio) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!(aspectRatio > 0))
        return fail(MStatus::kInvalidParameter, "the aspect ratio must be positive");
    write1(*n, attrs().aspectRatio, aspectRatio);
    return MStatus::kSuccess;
}

bool MFnCamera::isOrtho(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n && read1(*n, attrs().orthographic) != 0;
}

MStatus MFnCamera::setIsOrtho(bool orthoState, double useDist) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    write1(*n, attrs().orthographic, orthoState ? 1 : 0);
    if (orthoState && useDist > 0) write1(*n, attrs().orthographicWidth, useDist);
    return MStatus::kSuccess;
}

double MFnCamera::orthoWidth(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? read1(*n, attrs().orthographicWidth) : 0.0;
}

MStatus MFnCamera::setOrthoWidth(double orthoWidth) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!(orthoWidth > 0))
        return fail(MStatus::kInvalidParameter, "the orthographic width must be positive");
    write1(*n, attrs().orthographicWidth, orthoWidth);
    return MStatus::kSuccess;
}

double MFnCamera::nearClippingPlane(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? read1(*n, attrs().nearClipPlane) : 0.0;
}

double MFnCamera::farClippingPlane(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    return n ? read1(*n, attrs().farClipPlane) : 0.0;
}

MStatus MFnCamera::setNearClippingPlane(double dNear) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!(dNear > 0) || !(dNear < read1(*n, attrs().farClipPlane)))
        return fail(MStatus::kInvalidParameter,
                    "the near clip plane must lie between the eye and the far clip plane");
    write1(*n, attrs().nearClipPlane, dNear);
    return MStatus::kSuccess;
}

MStatus MFnCamera::setFarClippingPlane(double dFar) {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    if (!n) return st;
    if (!(dFar > read1(*n, attrs().nearClipPlane)))
        return fail(MStatus::kInvalidParameter,
                    "the far clip plane must lie beyond the near clip plane");
    write1(*n, attrs().farClipPlane, dFar);
    return MStatus::kSuccess;
}

MFloatMatrix MFnCamera::projectionMatrix(MStatus* ReturnStatus) const {
    MStatus st;
    DagNode* n = cameraOf(obj_, st);
    setStatus(ReturnStatus, st);
    if (!n) return MFloatMatrix();
    ehost::CameraPose pose = ehost::cameraPose(*n);
    // Any port of the camera's own aspect gives the same matrix.
    const int height = 1000;
    int width = static_cast<int>(std::lround(height * read1(*n, attrs().aspectRatio)));
    MMatrix m = ehost::ViewFrame(pose, width, height).projectionMatrix();
    double values[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) values[r][c] = m(r, c);
    return MFloatMatrix(values);
}
