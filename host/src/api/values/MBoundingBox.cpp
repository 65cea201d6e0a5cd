#include <maya/MBoundingBox.h>
#include <maya/MMatrix.h>

#include <algorithm>
#include <ostream>

namespace {

MPoint cartesian(const MPoint& p) {
    MPoint c(p);
    return c.cartesianize();
}

MPoint lower(const MPoint& a, const MPoint& b) {
    return MPoint(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}

MPoint upper(const MPoint& a, const MPoint& b) {
    return MPoint(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}

}  // namespace

MBoundingBox::MBoundingBox(const MPoint& corner1, const MPoint& corner2) {
    expand(corner1);
    expand(corner2);
}

void MBoundingBox::transformUsing(const MMatrix& matrix) {
    if (empty_) return;
    const MPoint lo = min_, hi = max_;
    clear();
    for (int corner = 0; corner < 8; ++corner) {
        const MPoint p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y,
                       (corner & 4) ? hi.z : lo.z);
        expand(p * matrix);
    }
}

void MBoundingBox::expand(const MPoint& point) {
    const MPoint p = cartesian(point);
    if (empty_) {
        min_ = max_ = p;
        empty_ = false;
        return;
    }
    min_ = lower(min_, p);
    max_ = upper(max_, p);
}

void MBoundingBox::expand(const MBoundingBox& box) {
    if (box.empty_) return;
    expand(box.min_);
    expand(box.max_);
}

bool MBoundingBox::contains(const MPoint& point) const {
    if (empty_) return false;
    const MPoint p = cartesian(point);
    return p.x >= min_.x && p.x <= max_.x && p.y >= min_.y && p.y <= max_.y && p.z >= min_.z &&
           p.z <= max_.z;
}

bool MBoundingBox::intersects(const MBoundingBox& box, double tol) const {
    if (empty_ || box.empty_) return false;
    return min_.x <= box.max_.x + tol && box.min_.x <= max_.x + tol && min_.y <= box.max_.y + tol &&
           box.min_.y <= max_.y + tol && min_.z <= box.max_.z + tol && box.min_.z <= max_.z + tol;
}

MPoint MBoundingBox::center() const {
    if (empty_) return MPoint::origin;
    return MPoint((min_.x + max_.x) * 0.5, (min_.y + max_.y) * 0.5, (min_.z + max_.z) * 0.5);
}

std::ostream& operator<<(std::ostream& os, const MBoundingBox& box) {
    return os << "[" << box.min() << ", " << box.max() << "]";
}
