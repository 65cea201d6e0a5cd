#pragma once
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MMatrix;

//! An axis-aligned box. A new box is empty: it contains nothing, and the first
//! point it is expanded by becomes both corners.
class OPENMAYA_EXPORT MBoundingBox {
public:
    MBoundingBox() = default;
    MBoundingBox(const MBoundingBox&) = default;
    //! The box spanned by two opposite corners, in any order.
    MBoundingBox(const MPoint& corner1, const MPoint& corner2);
    ~MBoundingBox() = default;
    MBoundingBox& operator=(const MBoundingBox&) = default;

    void clear() { *this = MBoundingBox(); }
    //! Replaces the box by the box around its eight transformed corners.
    void transformUsing(const MMatrix& matrix);
    void expand(const MPoint& point);
    void expand(const MBoundingBox& box);
    //! Points on the faces count as inside.
    bool contains(const MPoint& point) const;
    //! True when the boxes overlap or are no further than tol apart.
    bool intersects(const MBoundingBox& box, double tol = 0.0) const;

    double width() const { return empty_ ? 0.0 : max_.x - min_.x; }
    double height() const { return empty_ ? 0.0 : max_.y - min_.y; }
    double depth() const { return empty_ ? 0.0 : max_.z - min_.z; }
    //! The centre, and the corners; the origin for an empty box.
    MPoint center() const;
    MPoint min() const { return min_; }
    MPoint max() const { return max_; }

private:
    MPoint min_;
    MPoint max_;
    bool empty_ = true;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MBoundingBox& box);
