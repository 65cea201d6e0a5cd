#pragma once
// Known meshes and scene set-ups shared by the mesh API tests.

#include <maya/MDagPath.h>
#include <maya/MEulerRotation.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnTransform.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>

#include <numbers>
#include <vector>

#include "host/src/dg/Scene.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/session/Session.h"
#include "tests/host/HostFixture.h"

namespace meshtest {

struct MeshArrays {
    MPointArray points;
    MIntArray counts, connects;
};

inline MIntArray ints(std::initializer_list<int> values) {
    MIntArray a;
    for (int v : values) a.append(v);
    return a;
}

inline std::vector<int> vec(const MIntArray& a) {
    return std::vector<int>(a.begin(), a.end());
}

// Unit cube centred on the origin, outward winding:
// f0 z = -0.5, f1 z = +0.5, f2 y = -0.5, f3 y = +0.5, f4 x = -0.5, f5 x = +0.5.
inline MeshArrays cube() {
    MeshArrays m;
    const double c[8][3] = {{-.5, -.5, -.5}, {.5, -.5, -.5}, {.5, .5, -.5}, {-.5, .5, -.5},
                            {-.5, -.5, .5},  {.5, -.5, .5},  {.5, .5, .5},  {-.5, .5, .5}};
    for (const auto& p : c) m.points.append(MPoint(p[0], p[1], p[2]));
    m.counts = ints({4, 4, 4, 4, 4, 4});
    m.connects = ints({0, 3, 2, 1, 4, 5, 6, 7, 0, 1, 5, 4, 3, 7, 6, 2, 0, 4, 7, 3, 1, 2, 6, 5});
    return m;
}

// Four unit quads on z = 0, vertex (i, j) = j * 3 + i:
// f0 [0 1 4 3], f1 [1 2 5 4], f2 [3 4 7 6], f3 [4 5 8 7].
// Edges: e0 0-1, e1 1-4, e2 4-3, e3 3-0, e4 1-2, e5 2-5, e6 5-4, e7 4-7,
// e8 7-6, e9 6-3, e10 5-8, e11 8-7.
inline MeshArrays plane2x2() {
    MeshArrays m;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) m.points.append(MPoint(i, j, 0));
    m.counts = ints({4, 4, 4, 4});
    m.connects = ints({0, 1, 4, 3, 1, 2, 5, 4, 3, 4, 7, 6, 4, 5, 8, 7});
    return m;
}

class MeshApiTest : public HostTest {
protected:
    //! A new polySurface transform and shape holding the arrays; the path ends at the shape.
    MDagPath makeMesh(const MeshArrays& a) {
        MFnMesh fn;
        MStatus st;
        MObject top =
            fn.create(static_cast<int>(a.points.length()), static_cast<int>(a.counts.length()),
                      a.points, a.counts, a.connects, MObject::kNullObj, &st);
        EXPECT_TRUE(st) << st.errorString();
        MDagPath path;
        EXPECT_TRUE(MDagPath::getAPathTo(top, path));
        EXPECT_TRUE(path.extendToShape());
        return path;
    }

    //! Scale (2, 3, 4), then 90 degrees about Y, then translate (10, -4, 2):
    //! object x -> world -z, object z -> world +x. The unit cube then spans
    //! x 8..12, y -5.5..-2.5, z 1..3, its face f0 at x = 8 and f1 at x = 12.
    static void placeTransform(const MDagPath& shapePath) {
        MFnTransform t(shapePath.transform());
        const double scale[3] = {2, 3, 4};
        ASSERT_TRUE(t.setScale(scale));
        ASSERT_TRUE(t.setRotation(MEulerRotation(0, std::numbers::pi / 2, 0)));
        ASSERT_TRUE(t.setTranslation(MVector(10, -4, 2), MSpace::kTransform));
    }

    MDagPath makeTransformedCube() {
        MDagPath path = makeMesh(cube());
        placeTransform(path);
        return path;
    }

    //! A shape whose inMesh takes another shape's outMesh: the second has history.
    MDagPath makeMeshWithHistory(const MeshArrays& a) {
        MDagPath source = makeMesh(a);
        MDagPath target = makeMesh(a);
        const auto& attrs = ehost::meshAttributes();
        MStatus st = ehost::connect({&shape(source), {attrs.outMesh.get(), -1}},
                                    {&shape(target), {attrs.inMesh.get(), -1}});
        EXPECT_TRUE(st) << st.errorString();
        EXPECT_TRUE(shape(target).hasHistory());
        return target;
    }

    static ehost::MeshShape& shape(const MDagPath& path) {
        return *ehost::ApiAccess::as<ehost::MeshShape>(path.node());
    }

    static std::size_t nodeCount() { return ehost::session().scene().nodes().size(); }
};

}  // namespace meshtest
