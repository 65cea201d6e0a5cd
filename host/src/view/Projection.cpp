#include "host/src/view/Projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ehost {

void lookAtFrame(const Vec3& eye, const Vec3& target, const Vec3& upHint, Vec3& forward,
                 Vec3& right, Vec3& up) {
    forward = normalized(target - eye);
    if (lengthSquared(forward) == 0) forward = {0, 0, -1};
    right = normalized(cross(forward, upHint));
    // An up along the view direction says nothing: take world Y, or Z when
    // looking straight up or down.
    if (lengthSquared(right) < 1e-24) right = normalized(cross(forward, {0, 1, 0}));
    if (lengthSquared(right) < 1e-24) right = normalized(cross(forward, {0, 0, 1}));
    up = cross(right, forward);
}

ViewFrame::ViewFrame(const CameraPose& pose, int width, int height)
    : eye_(pose.eye),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      ortho_(pose.ortho),
      verticalFov_(pose.verticalFov),
      near_(pose.nearClip),
      far_(pose.farClip) {
    lookAtFrame(pose.eye, pose.centerOfInterest, pose.up, forward_, right_, up_);
    double fov = std::clamp(pose.verticalFov, 1e-6, std::numbers::pi - 1e-6);
    focalPixels_ = height_ * 0.5 / std::tan(fov * 0.5);
    pixelsPerUnit_ = width_ / std::max(pose.orthoWidth, 1e-12);
}

void ViewFrame::ray(double x, double y, Vec3& nearPoint, Vec3& farPoint) const {
    double dx = x - width_ * 0.5, dy = y - height_ * 0.5;
    if (ortho_) {
        Vec3 onPlane = eye_ + right_ * (dx / pixelsPerUnit_) + up_ * (dy / pixelsPerUnit_);
        nearPoint = onPlane + forward_ * near_;
        farPoint = onPlane + forward_ * far_;
        return;
    }
    // A direction whose forward component is 1 reaches the clip planes at
    // their distances.
    Vec3 d = forward_ + right_ * (dx / focalPixels_) + up_ * (dy / focalPixels_);
    nearPoint = eye_ + d * near_;
    farPoint = eye_ + d * far_;
}

MMatrix ViewFrame::viewMatrix() const {
    Vec3 back = -forward_;
    const double m[4][4] = {{right_.x, up_.x, back.x, 0},
                            {right_.y, up_.y, back.y, 0},
                            {right_.z, up_.z, back.z, 0},
                            {-dot(right_, eye_), -dot(up_, eye_), -dot(back, eye_), 1}};
    return MMatrix(m);
}

MMatrix ViewFrame::projectionMatrix() const {
    double aspect = static_cast<double>(width_) / height_;
    double n = near_, f = far_;
    if (ortho_) {
        double w = width_ / pixelsPerUnit_, h = w / aspect;
        const double m[4][4] = {{2 / w, 0, 0, 0},
                                {0, 2 / h, 0, 0},
                                {0, 0, -2 / (f - n), 0},
                                {0, 0, -(f + n) / (f - n), 1}};
        return MMatrix(m);
    }
    double sy = 2 * focalPixels_ / height_, sx = sy / aspect;
    const double m[4][4] = {{sx, 0, 0, 0},
                            {0, sy, 0, 0},
                            {0, 0, (f + n) / (n - f), -1},
                            {0, 0, 2 * f * n / (n - f), 0}};
    return MMatrix(m);
}

}  // namespace ehost
