#pragma once
// Small meshes for the plug-in's tests, made through the host API.

#include <maya/MFloatArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include <memory>
#include <string>

#include "host/src/dg/Api.h"
#include "host/src/nodes/MeshShape.h"

//! An n x n grid of quads in the XZ plane (y = height), with a UV per
//! vertex, under a transform renamed `name` with shape `name`Shape.
inline MObject makeGrid(const std::string& name, int n = 2, double size = 2.0,
                        double height = 0.0) {
    MPointArray points;
    MFloatArray us, vs;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            points.append(MPoint(-size / 2 + size * i / n, height, -size / 2 + size * j / n));
            us.append(static_cast<float>(i) / n);
            vs.append(static_cast<float>(j) / n);
        }
    MIntArray counts, connects;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            counts.append(4);
            // Counter-clockwise seen from +y: the faces look up.
            connects.append(a);
            connects.append(a + n + 1);
            connects.append(a + n + 2);
            connects.append(a + 1);
        }
    MFnMesh fn;
    MStatus status;
    MObject transform = fn.create(points.length(), counts.length(), points, counts, connects, us,
                                  vs, MObject::kNullObj, &status);
    fn.assignUVs(counts, connects);
    MFnDagNode t(transform);
    MFnDagNode(t.child(0)).setName((name + "Shape").c_str());
    t.setName(name.c_str());
    return transform;
}

//! The evaluated output geometry of a mesh shape (by name).
inline std::shared_ptr<const ehost::MeshGeometry> meshOf(const MObject& shape) {
    auto* mesh = dynamic_cast<ehost::MeshShape*>(ehost::api::nodeOf(shape).get());
    return mesh ? mesh->output() : nullptr;
}
