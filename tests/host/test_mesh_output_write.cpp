// Writing a mesh shape's geometry: a mesh written to the output of a shape
// without history becomes its own geometry, and a vertex moved back to its
// place keeps no tweak.

#include <maya/MCommandResult.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPointArray.h>
#include <maya/MSelectionList.h>

#include <string>

#include "tests/host/HostFixture.h"

namespace {

class OutputWriteTest : public HostTest {
protected:
    static bool run(const char* text) { return MGlobal::executeCommand(text); }
    static std::string result(const std::string& text) {
        MString out;
        MGlobal::executeCommand(text.c_str(), out);
        return out.asChar();
    }
    MPlug plug(const char* node, const char* attr) {
        MSelectionList list;
        list.add(node);
        MObject o;
        list.getDependNode(0, o);
        return MFnDependencyNode(o).findPlug(attr, true);
    }
    int faces(const char* mesh) {
        return std::stoi(result(std::string("polyEvaluate -f ") + mesh));
    }
};

TEST_F(OutputWriteTest, AWrittenOutputStaysTheShapesGeometry) {
    ASSERT_TRUE(run("polyPlane -n flat -sx 2 -sy 2 -ch off; polyCube -n box -ch off"));
    MObject cube = plug("boxShape", "outMesh").asMObject();
    ASSERT_TRUE(plug("flatShape", "outMesh").setValue(cube));
    EXPECT_EQ(faces("flat"), 6);
    // A tweak dirties the output: it is computed again, from the mesh written.
    ASSERT_TRUE(run("setAttr flatShape.pnts[0] 0 1 0"));
    EXPECT_EQ(faces("flat"), 6);
    EXPECT_EQ(result("getAttr flatShape.pnts[0]"), "0 1 0");
}

TEST_F(OutputWriteTest, AVertexMovedBackToItsPlaceKeepsNoTweak) {
    ASSERT_TRUE(run("polyPlane -n flat -sx 2 -sy 2; move -r 0 1 0 flat.vtx[4]"));
    EXPECT_EQ(result("getAttr -size flatShape.pnts"), "1");
    MSelectionList list;
    list.add("flat");
    MDagPath path;
    list.getDagPath(0, path);
    MFnMesh mesh(path);
    MPointArray points;
    mesh.getPoints(points);
    points[4].y -= 1;
    ASSERT_TRUE(mesh.setPoints(points));
    EXPECT_EQ(result("getAttr -size flatShape.pnts"), "0") << "the zero tweak is dropped";
    EXPECT_EQ(result("pointPosition flat.vtx[4]"), "0 0 0");
}

}  // namespace
