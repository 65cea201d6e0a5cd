#pragma once

#include <cmath>
#include <vector>

namespace geo {

// A displacement; the difference of two points.
struct Vector {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A position in space. w is carried because the host stores points with it; every point this
// library makes has w = 1, and arithmetic ignores it.
struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 1.0;

    friend bool operator==(const Point&, const Point&) = default;
};

// An ordered list of points: a stroke, a rail or a row of a grid.
using Polyline = std::vector<Point>;

inline Vector operator-(const Point& a, const Point& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Point operator+(const Point& p, const Vector& v) {
    return {p.x + v.x, p.y + v.y, p.z + v.z};
}
inline Point operator-(const Point& p, const Vector& v) {
    return {p.x - v.x, p.y - v.y, p.z - v.z};
}

inline Vector operator+(const Vector& a, const Vector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector operator-(const Vector& a, const Vector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector operator*(const Vector& v, double s) {
    return {v.x * s, v.y * s, v.z * s};
}
inline Vector operator*(double s, const Vector& v) {
    return v * s;
}
inline Vector operator/(const Vector& v, double s) {
    return {v.x / s, v.y / s, v.z / s};
}

inline double dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double lengthSquared(const Vector& v) {
    return dot(v, v);
}
inline double length(const Vector& v) {
    return std::sqrt(lengthSquared(v));
}
inline double distance(const Point& a, const Point& b) {
    return length(a - b);
}

}  // namespace geo
