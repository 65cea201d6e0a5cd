#pragma once
// How a camera maps the world onto a viewport of pixels: view pixels have
// their origin at the bottom left and grow right and up; pixel (x, y) is the
// continuous point (x, y), so that projecting back what was cast from a
// pixel lands on that pixel again.

#include <maya/MMatrix.h>

#include "host/src/core/Vec3.h"
#include "host/src/nodes/Camera.h"

namespace ehost {

//! A camera seen through a port of width x height pixels. The vertical field
//! of view is kept; the horizontal one follows from the port's aspect.
class ViewFrame {
public:
    ViewFrame() = default;
    ViewFrame(const CameraPose& pose, int width, int height);

    //! The points of a pixel on the near and far clip planes.
    void ray(double x, double y, Vec3& nearPoint, Vec3& farPoint) const;
    //! The pixel a world point falls on; false for a point level with or
    //! behind the eye of a perspective camera (it has no pixel).
    bool project(const Vec3& p, double& x, double& y) const {
        Vec3 v = p - eye_;
        double z = dot(v, forward_);
        if (ortho_) {
            x = width_ * 0.5 + dot(v, right_) * pixelsPerUnit_;
            y = height_ * 0.5 + dot(v, up_) * pixelsPerUnit_;
            return true;
        }
        if (!(z > 0)) return false;
        double s = focalPixels_ / z;
        x = width_ * 0.5 + dot(v, right_) * s;
        y = height_ * 0.5 + dot(v, up_) * s;
        return true;
    }
    //! Distance of a point in front of the eye, along the view direction.
    double depth(const Vec3& p) const { return dot(p - eye_, forward_); }
    bool insidePort(double x, double y) const {
        return x >= 0 && y >= 0 && x <= width_ && y <= height_;
    }

    //! World to camera space (the camera looks down its -Z), row-vector convention.
    MMatrix viewMatrix() const;
    //! Camera to clip space, OpenGL depth range, row-vector convention.
    MMatrix projectionMatrix() const;

    const Vec3& eye() const { return eye_; }
    const Vec3& forward() const { return forward_; }
    const Vec3& right() const { return right_; }
    const Vec3& up() const { return up_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool ortho() const { return ortho_; }
    double nearClip() const { return near_; }
    double farClip() const { return far_; }
    double verticalFov() const { return verticalFov_; }

private:
    Vec3 eye_{0, 0, 0}, forward_{0, 0, -1}, right_{1, 0, 0}, up_{0, 1, 0};
    int width_ = 640, height_ = 480;
    bool ortho_ = false;
    double verticalFov_ = 0.6605;
    double focalPixels_ = 1;    // perspective: pixels per unit of x/z
    double pixelsPerUnit_ = 1;  // orthographic
    double near_ = 0.1, far_ = 10000;
};

//! An orthonormal frame looking from eye to target with up as close to the
//! given up as possible; degenerate input falls back to sensible axes.
void lookAtFrame(const Vec3& eye, const Vec3& target, const Vec3& upHint, Vec3& forward,
                 Vec3& right, Vec3& up);

}  // namespace ehost
