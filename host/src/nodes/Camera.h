#pragma once
// The built-in camera shape. A camera stores where it looks from and to, its
// up vector and its vertical field of view as attributes in its object space
// (so they save with the scene); the transforms above it carry it into the
// world.

#include <string>

#include "host/src/core/Vec3.h"
#include "host/src/dag/Dag.h"

namespace ehost {

class Registry;

//! Where a camera is and how it sees, in world space.
struct CameraPose {
    Vec3 eye{28, 21, 28};
    Vec3 centerOfInterest{0, 0, 0};
    Vec3 up{0, 1, 0};
    double verticalFov = 0.6605;  // radians
    bool ortho = false;
    double orthoWidth = 30;  // world units across the view
    double nearClip = 0.1, farClip = 10000;
};

struct CameraAttributes {
    AttrPtr eyePoint, centerOfInterestPoint, upVector, verticalFieldOfView, aspectRatio,
        orthographic, orthographicWidth, nearClipPlane, farClipPlane;
};
const CameraAttributes& cameraAttributes();

void registerCameraType(Registry& registry);

//! The camera shape named, or the one under the transform named; null when
//! the name is no camera.
DagNode* findCamera(const std::string& name);
bool isCamera(const Node& node);

//! The camera's pose in world space.
CameraPose cameraPose(DagNode& camera);
//! Places the camera (world space); the transforms above it are kept.
void placeCamera(DagNode& camera, const Vec3& eye, const Vec3& centerOfInterest, const Vec3& up);
void setVerticalFov(DagNode& camera, double radians);

//! Every new scene's perspective camera, "persp" (shape "perspShape"),
//! looking at the origin; returns its shape.
DagNode* createDefaultCamera();

}  // namespace ehost
