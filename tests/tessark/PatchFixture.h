#pragma once
// A host session with the Tessark plug-in, a rail node on a chosen source
// surface, and the patch actions as the tool runs them, with readers of the
// retopology mesh they build.

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "kvpatchnode/StateSenders.h"
#include "patch/PatchPipeline.h"
#include "railnode/RailNodeOps.h"
#include "tests/tessark/MeshBuilders.h"
#include "tests/tessark/TessarkFixture.h"

class PatchTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        for (const char* v : {"kv_uspan", "kv_vspan", "kv_mergThreshold", "kv_distancesnap"})
            MGlobal::removeOptionVar(v);
    }
    void useSource(const std::string& source) {
        ASSERT_TRUE(run("createNode Tessark -n rail; connectAttr " + source +
                        "Shape.outMesh rail.TessarkMesh"));
        ASSERT_TRUE(run("select -cl"));
    }
    //! What ENTER does with two or more strokes and no pin points.
    MIntArray complete(const std::vector<MPointArray>& strokes) {
        for (const auto& s : strokes) tessark::appendStroke(s);
        tessark::saveNondestructStrokes();
        MIntArray row = tessark::createPatch(-1, MPointArray());
        tessark::clearStrokeSet();
        return row;
    }
    std::shared_ptr<const ehost::MeshGeometry> retopo() {
        MDagPath p;
        if (!tessark::selectedRetopologyMesh(p)) return nullptr;
        p.extendToShape();
        return meshOf(p.node());
    }
    //! Largest distance from a vertex of the retopology mesh to the source.
    double farthestFromSource(const std::string& source) {
        MFnMesh src(path(source));
        auto mesh = retopo();
        double worst = 0;
        for (int v = 0; v < mesh->numVertices(); ++v) {
            ehost::Vec3 q = mesh->point(v);
            MPoint closest;
            src.getClosestPoint(MPoint(q.x, q.y, q.z), closest, MSpace::kWorld);
            worst = std::max(worst, closest.distanceTo(MPoint(q.x, q.y, q.z)));
        }
        return worst;
    }
    //! World positions of the corners of the last patch's faces.
    std::vector<MPoint> lastPatchCorners() {
        MDagPath p;
        tessark::selectedRetopologyMesh(p);
        MFnMesh fn(p);
        MPointArray points;
        fn.getPoints(points, MSpace::kWorld);
        std::vector<MPoint> out;
        MIntArray faces = tessark::readNewFaces();
        for (unsigned f = 0; f < faces.length(); ++f) {
            MIntArray corners;
            fn.getPolygonVertices(faces[f], corners);
            for (unsigned k = 0; k < corners.length(); ++k) out.push_back(points[corners[k]]);
        }
        return out;
    }
    std::string patchNodeOf(const std::string& node, const char* input = "inMesh") {
        MSelectionList l;
        l.add((node + "." + input).c_str());
        MPlug p;
        l.getPlug(0, p);
        MPlugArray src;
        p.connectedTo(src, true, false);
        return src.length() ? MFnDependencyNode(src[0].node()).name().str() : "";
    }
};
