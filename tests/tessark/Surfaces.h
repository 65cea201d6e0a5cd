#pragma once
// Source surfaces for the plug-in's tests and strokes drawn on them: a
// sphere's meridians and a bumpy height field with lines across it.

#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include <cmath>
#include <string>

inline constexpr double kRadius = 5.0;

//! A point of the sphere of radius kRadius (y up) at a latitude and longitude in degrees.
inline MPoint onSphere(double latitude, double longitude) {
    double la = latitude * M_PI / 180, lo = longitude * M_PI / 180;
    return MPoint(kRadius * std::cos(la) * std::cos(lo), kRadius * std::sin(la),
                  kRadius * std::cos(la) * std::sin(lo));
}

//! A stroke along a meridian, from latitude -30 to 30, densely sampled.
inline MPointArray meridian(double longitude, int samples = 60) {
    MPointArray p;
    for (int i = 0; i < samples; ++i) p.append(onSphere(-30 + 60.0 * i / (samples - 1), longitude));
    return p;
}

inline double bump(double x, double z) {
    return 0.4 * std::sin(x) * std::cos(0.8 * z);
}

//! A bumpy height field, 100 x 100 quads over [-5, 5]^2.
inline void makeBumpyGround(const std::string& name) {
    const int n = 100;
    MPointArray points;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            double x = -5 + 10.0 * i / n, z = -5 + 10.0 * j / n;
            points.append(MPoint(x, bump(x, z), z));
        }
    MIntArray counts, connects;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            counts.append(4);
            for (int v : {a, a + n + 1, a + n + 2, a + 1}) connects.append(v);
        }
    MFnMesh fn;
    MObject t = fn.create(points.length(), counts.length(), points, counts, connects);
    MFnDagNode(MFnDagNode(t).child(0)).setName((name + "Shape").c_str());
    MFnDagNode(t).setName(name.c_str());
}

inline MPointArray groundLine(double z, int samples = 60) {
    MPointArray p;
    for (int i = 0; i < samples; ++i) {
        double x = -3 + 6.0 * i / (samples - 1);
        p.append(MPoint(x, bump(x, z), z));
    }
    return p;
}
