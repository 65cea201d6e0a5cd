#include <maya/MFnCamera.h>

#include <cmath>

#include "host/src/dg/Api.h"
#include "host/src/nodes/Camera.h"
#include "host/src/view/Projection.h"

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

struct Frame {
    Vec3 forward, right, up;
};

//! The camera's orthonormal frame in the given space.
Frame frameIn(DagNode& n, MSpace::Space space) {
    Vec3 eye = pointIn(n, read3(n, attrs().eyePoint), space);
    Vec3 coi = pointIn(n, read3(n, attrs().centerOfInterestPoint), space);
    Vec3 upHint = vectorIn(n, read3(n, attrs().upVector), space);
    Frame f;
    ehost::lookAtFrame(eye, coi, upHint, f.forward, f.right, f.up);
    return f;
}

MPoint toPoint(const Vec3& v) {
    return MPoint(v.x, v.y, v.z);
}
MVector toVector(const Vec3& v) {
    return MVector(v.x, v.y, v.z);
}

//! What read(camera) gives, or fallback when the function set is on no
//! camera; status says which.
template <class T, class Read>
T readCamera(const MObject& object, MStatus* status, T fallback, Read&& read) {
    MStatus st;
    DagNode* n = cameraOf(object, st);
    setStatus(status, st);
    return n ? read(*n) : fallback;
}

//! A number attribute of the camera (0 when the function set is on none).
double readNumber(const MObject& object, MStatus* status, const ehost::AttrPtr& attr) {
    return readCamera(object, status, 0.0, [&](DagNode& n) { return read1(n, attr); });
}

//! One axis of the camera's frame in a space.
MVector frameAxis(const MObject& object, MSpace::Space space, MStatus* status, Vec3 Frame::*axis) {
    return readCamera(object, status, MVector(),
                      [&](DagNode& n) { return toVector(frameIn(n, space).*axis); });
}

//! Runs edit(camera), which returns a status, when the function set is on a
//! camera; otherwise the reason it is not.
template <class Edit>
MStatus editCamera(const MObject& object, Edit&& edit) {
    MStatus st;
    DagNode* n = cameraOf(object, st);
    return n ? edit(*n) : st;
}

//! Writes a number attribute that must be positive.
MStatus writePositive(const MObject& object, const ehost::AttrPtr& attr, double value,
                      const char* refusal) {
    return editCamera(object, [&](DagNode& n) {
        if (!(value > 0)) return fail(MStatus::kInvalidParameter, refusal);
        write1(n, attr, value);
        return MStatus(MStatus::kSuccess);
    });
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
    return readCamera(obj_, ReturnStatus, MPoint(), [&](DagNode& n) {
        return toPoint(pointIn(n, read3(n, attrs().eyePoint), space));
    });
}

MVector MFnCamera::viewDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    return frameAxis(obj_, space, ReturnStatus, &Frame::forward);
}

MVector MFnCamera::upDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    return frameAxis(obj_, space, ReturnStatus, &Frame::up);
}

MVector MFnCamera::rightDirection(MSpace::Space space, MStatus* ReturnStatus) const {
    return frameAxis(obj_, space, ReturnStatus, &Frame::right);
}

MPoint MFnCamera::centerOfInterestPoint(MSpace::Space space, MStatus* ReturnStatus) const {
    return readCamera(obj_, ReturnStatus, MPoint(), [&](DagNode& n) {
        return toPoint(pointIn(n, read3(n, attrs().centerOfInterestPoint), space));
    });
}

double MFnCamera::centerOfInterest(MStatus* ReturnStatus) const {
    return readCamera(obj_, ReturnStatus, 0.0, [](DagNode& n) {
        return ehost::length(read3(n, attrs().centerOfInterestPoint) - read3(n, attrs().eyePoint));
    });
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
    return editCamera(obj_, [&](DagNode& n) {
        write3(n, attrs().eyePoint, pointToObject(n, eyeLocation, space));
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnCamera::setCenterOfInterestPoint(const MPoint& centerOfInterest, MSpace::Space space) {
    return editCamera(obj_, [&](DagNode& n) {
        write3(n, attrs().centerOfInterestPoint, pointToObject(n, centerOfInterest, space));
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnCamera::setCenterOfInterest(double dist) {
    return editCamera(obj_, [&](DagNode& n) {
        if (!(dist > 0))
            return fail(MStatus::kInvalidParameter,
                        "the centre of interest must lie in front of the eye");
        const Vec3 eye = read3(n, attrs().eyePoint);
        write3(n, attrs().centerOfInterestPoint, eye + frameIn(n, MSpace::kObject).forward * dist);
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnCamera::setUpDirection(const MVector& up, MSpace::Space space) {
    return editCamera(obj_, [&](DagNode& n) {
        MVector v = world(space) ? up * n.worldMatrix().inverse() : up;
        write3(n, attrs().upVector, {v.x, v.y, v.z});
        return MStatus(MStatus::kSuccess);
    });
}

double MFnCamera::verticalFieldOfView(MStatus* ReturnStatus) const {
    return readNumber(obj_, ReturnStatus, attrs().verticalFieldOfView);
}

double MFnCamera::horizontalFieldOfView(MStatus* ReturnStatus) const {
    return readCamera(obj_, ReturnStatus, 0.0, [](DagNode& n) {
        double v = read1(n, attrs().verticalFieldOfView);
        return 2 * std::atan(std::tan(v / 2) * read1(n, attrs().aspectRatio));
    });
}

namespace {

//! Sets the vertical field of view to what vertical(camera, fov) makes of a
//! valid field of view.
template <class Vertical>
MStatus setFieldOfView(const MObject& object, double fov, Vertical&& vertical) {
    return editCamera(object, [&](DagNode& n) {
        if (!(fov > 0 && fov < 3.14159))
            return fail(MStatus::kInvalidParameter,
                        "a field of view lies between 0 and pi radians");
        write1(n, attrs().verticalFieldOfView, vertical(n, fov));
        return MStatus(MStatus::kSuccess);
    });
}

}  // namespace

MStatus MFnCamera::setVerticalFieldOfView(double fov) {
    return setFieldOfView(obj_, fov, [](DagNode&, double v) { return v; });
}

MStatus MFnCamera::setHorizontalFieldOfView(double fov) {
    return setFieldOfView(obj_, fov, [](DagNode& n, double h) {
        return 2 * std::atan(std::tan(h / 2) / read1(n, attrs().aspectRatio));
    });
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
    return readNumber(obj_, ReturnStatus, attrs().aspectRatio);
}

MStatus MFnCamera::setAspectRatio(double aspectRatio) {
    return writePositive(obj_, attrs().aspectRatio, aspectRatio,
                         "the aspect ratio must be positive");
}

bool MFnCamera::isOrtho(MStatus* ReturnStatus) const {
    return readNumber(obj_, ReturnStatus, attrs().orthographic) != 0;
}

MStatus MFnCamera::setIsOrtho(bool orthoState, double useDist) {
    return editCamera(obj_, [&](DagNode& n) {
        write1(n, attrs().orthographic, orthoState ? 1 : 0);
        if (orthoState && useDist > 0) write1(n, attrs().orthographicWidth, useDist);
        return MStatus(MStatus::kSuccess);
    });
}

double MFnCamera::orthoWidth(MStatus* ReturnStatus) const {
    return readNumber(obj_, ReturnStatus, attrs().orthographicWidth);
}

MStatus MFnCamera::setOrthoWidth(double orthoWidth) {
    return writePositive(obj_, attrs().orthographicWidth, orthoWidth,
                         "the orthographic width must be positive");
}

double MFnCamera::nearClippingPlane(MStatus* ReturnStatus) const {
    return readNumber(obj_, ReturnStatus, attrs().nearClipPlane);
}

double MFnCamera::farClippingPlane(MStatus* ReturnStatus) const {
    return readNumber(obj_, ReturnStatus, attrs().farClipPlane);
}

MStatus MFnCamera::setNearClippingPlane(double dNear) {
    return editCamera(obj_, [&](DagNode& n) {
        if (!(dNear > 0) || !(dNear < read1(n, attrs().farClipPlane)))
            return fail(MStatus::kInvalidParameter,
                        "the near clip plane must lie between the eye and the far clip plane");
        write1(n, attrs().nearClipPlane, dNear);
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnCamera::setFarClippingPlane(double dFar) {
    return editCamera(obj_, [&](DagNode& n) {
        if (!(dFar > read1(n, attrs().nearClipPlane)))
            return fail(MStatus::kInvalidParameter,
                        "the far clip plane must lie beyond the near clip plane");
        write1(n, attrs().farClipPlane, dFar);
        return MStatus(MStatus::kSuccess);
    });
}

MFloatMatrix MFnCamera::projectionMatrix(MStatus* ReturnStatus) const {
    return readCamera(obj_, ReturnStatus, MFloatMatrix(), [](DagNode& n) {
        ehost::CameraPose pose = ehost::cameraPose(n);
        // Any port of the camera's own aspect gives the same matrix.
        const int height = 1000;
        int width = static_cast<int>(std::lround(height * read1(n, attrs().aspectRatio)));
        MMatrix m = ehost::ViewFrame(pose, width, height).projectionMatrix();
        double values[4][4];
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) values[r][c] = m(r, c);
        return MFloatMatrix(values);
    });
}
