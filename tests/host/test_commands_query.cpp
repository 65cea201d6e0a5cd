// nodeType, objExists, isConnected, listConnections, attributeQuery, print,
// ls, select, getAttr's flags and plug locks, as the host documents them.

#include <maya/MFnDependencyNode.h>
#include <maya/MSelectionList.h>

#include <unistd.h>

#include <filesystem>

#include "host/src/io/SceneFile.h"
#include "tests/host/test_commands_fixture.h"

namespace {

class QueryCommandTest : public CommandTextTest {
protected:
    void SetUp() override {
        CommandTextTest::SetUp();
        // box (from history: polyCube1 -> boxShape.inMesh), a driver transform
        // feeding two plugs of t, and a grouping g above t.
        ASSERT_TRUE(
            run("polyCube -n box; createNode transform -n driver; "
                "createNode transform -n g; createNode transform -n t -p g; "
                "connectAttr driver.translateX t.translateY; "
                "connectAttr driver.rotateZ t.rotateX; select -cl"))
            << lastError();
    }
};

TEST_F(QueryCommandTest, NodeTypeNamesTheTypeItsApiKindAndWhatItInherits) {
    EXPECT_EQ(result("nodeType box"), "transform");
    EXPECT_EQ(result("nodeType boxShape"), "mesh");
    EXPECT_EQ(result("nodeType \"boxShape.vtx[0]\""), "mesh") << "a component's node";
    EXPECT_EQ(result("nodeType box.translateX"), "transform") << "an attribute's node";
    EXPECT_EQ(result("nodeType -api box"), "kTransform");
    EXPECT_EQ(result("nodeType -apiType boxShape"), "kMesh");
    EXPECT_EQ(result("nodeType -i boxShape"), "dagNode shape mesh");
    EXPECT_EQ(result("nodeType -inherited box"), "dagNode transform");
    EXPECT_EQ(result("nodeType -isTypeName -i camera"), "dagNode shape camera");
    EXPECT_EQ(failure("nodeType nothingHere"), "nodeType: No object matches name: nothingHere");
    EXPECT_EQ(failure("nodeType -itn noSuchType"), "nodeType: Unknown object type: noSuchType");
    EXPECT_EQ(failure("nodeType"), "nodeType: Not enough objects or values.");
}

TEST_F(QueryCommandTest, ObjExistsForNodesPathsAttributesAndComponents) {
    EXPECT_EQ(result("objExists box"), "1");
    EXPECT_EQ(result("objExists |box|boxShape"), "1");
    EXPECT_EQ(result("objExists box.translateX"), "1");
    EXPECT_EQ(result("objExists \"boxShape.vtx[7]\""), "1");
    EXPECT_EQ(result("objExists \"boxShape.vtx[8]\""), "0") << "a cube has 8 vertices";
    EXPECT_EQ(result("objExists box.noSuchAttr"), "0");
    EXPECT_EQ(result("objExists ghost"), "0");
    EXPECT_EQ(result("objExists |g|box"), "0") << "box is not under g";
    EXPECT_TRUE(ehost::session().messages().errorCount() == 0 || lastError().empty() ||
                lastError().find("objExists") == std::string::npos)
        << "a missing object is an answer, not an error";
}

TEST_F(QueryCommandTest, IsConnectedTellsADirectConnectionFromSourceToDestination) {
    EXPECT_EQ(result("isConnected driver.translateX t.translateY"), "1");
    EXPECT_EQ(result("isConnected t.translateY driver.translateX"), "0") << "direction matters";
    EXPECT_EQ(result("isConnected driver.translateX t.translateX"), "0");
    EXPECT_EQ(result("isConnected polyCube1.output boxShape.inMesh"), "1");
    EXPECT_EQ(failure("isConnected driver.nothing t.translateY"),
              "isConnected: driver.nothing: no attribute \"nothing\" on node type transform");
    EXPECT_EQ(failure("isConnected driver t.translateY"),
              "isConnected: \"driver\" is not an attribute");
}

TEST_F(QueryCommandTest, ListConnectionsBySideAsNodesPlugsOrPairs) {
    EXPECT_EQ(result("listConnections t"), "driver driver");
    EXPECT_EQ(result("listConnections -s 0 t"), "");
    EXPECT_EQ(result("listConnections -d 1 -s 0 driver"), "t t");
    EXPECT_EQ(result("listConnections -p 1 t"), "driver.translateX driver.rotateZ")
        << "in the order of t's attributes: translate before rotate";
    EXPECT_EQ(result("listConnections -c 1 -p 1 t"),
              "t.translateY driver.translateX t.rotateX driver.rotateZ");
    EXPECT_EQ(result("listConnections -c 1 driver"), "driver.translateX t driver.rotateZ t");
    EXPECT_EQ(result("listConnections t.rotateX"), "driver");
    EXPECT_EQ(result("listConnections t.translateX"), "");
    EXPECT_EQ(result("listConnections -fnn 1 driver.translateX"), "|g|t");
    // A connected shape is named by its transform unless shapes are asked for.
    EXPECT_EQ(result("listConnections -d 1 -s 0 polyCube1"), "box");
    EXPECT_EQ(result("listConnections -d 1 -s 0 -sh 1 polyCube1"), "boxShape");
    EXPECT_EQ(result("listConnections -d 1 -s 0 -p 1 polyCube1"), "boxShape.inMesh");
    EXPECT_EQ(result("listConnections -t polyCube boxShape"), "polyCube1");
    EXPECT_EQ(result("listConnections -t transform boxShape"), "");
    EXPECT_EQ(result("listConnections -s 1 -d 0 -t transform t"), "driver driver");
    EXPECT_EQ(failure("listConnections ghost"), "listConnections: No object matches name: ghost");
}

TEST_F(QueryCommandTest, AttributeQueryAnswersQuestionsAboutAnAttribute) {
    EXPECT_EQ(result("attributeQuery -n box -ex translateX"), "1");
    EXPECT_EQ(result("attributeQuery -n box -ex noSuchAttr"), "0");
    EXPECT_EQ(result("attributeQuery -n box -ln tx"), "translateX");
    EXPECT_EQ(result("attributeQuery -n box -sn translateX"), "tx");
    EXPECT_EQ(result("attributeQuery -n box -nn translateX"), "Translate X");
    EXPECT_EQ(result("attributeQuery -n box -nn rotateOrder"), "Rotate Order");
    EXPECT_EQ(result("attributeQuery -n box -at translate"), "double3");
    EXPECT_EQ(result("attributeQuery -n box -at rotateX"), "doubleAngle");
    EXPECT_EQ(result("attributeQuery -n box -at visibility"), "bool");
    EXPECT_EQ(result("attributeQuery -n box -at rotateOrder"), "enum");
    EXPECT_EQ(result("attributeQuery -n boxShape -at inMesh"), "typed");
    EXPECT_EQ(result("attributeQuery -n box -at message"), "message");
    EXPECT_EQ(result("attributeQuery -n box -lc translate"), "translateX translateY translateZ");
    EXPECT_EQ(result("attributeQuery -n box -lp translateY"), "translate");
    EXPECT_EQ(result("attributeQuery -n box -ls translateY"), "translateX translateZ");
    EXPECT_EQ(result("attributeQuery -n box -nc scale"), "3");
    EXPECT_EQ(result("attributeQuery -n box -ld scale"), "1 1 1");
    EXPECT_EQ(result("attributeQuery -n box -le rotateOrder"), "xyz:yzx:zxy:xzy:yxz:zyx");
    EXPECT_EQ(result("attributeQuery -n box -k translateX"), "1");
    EXPECT_EQ(result("attributeQuery -n boxShape -m pnts"), "1");
    EXPECT_EQ(result("attributeQuery -n box -m translate"), "0");
    // Several yes-or-no questions are answered together: all must hold.
    EXPECT_EQ(result("attributeQuery -n box -w -r -s translateX"), "1");
    EXPECT_EQ(result("attributeQuery -n box -k -m translateX"), "0");
    EXPECT_EQ(result("attributeQuery -typ transform -ex rotate"), "1");
    EXPECT_EQ(result("attributeQuery -typ mesh -ex rotate"), "0");
    EXPECT_EQ(result("attributeQuery -n box -mne translateX"), "0");
    EXPECT_EQ(failure("attributeQuery -n box -ln noSuchAttr"),
              "attributeQuery: No attribute named 'noSuchAttr' on node 'box'.");
    EXPECT_EQ(failure("attributeQuery -ex translateX"),
              "attributeQuery: Must specify a node (-node) or a node type (-type).");
    EXPECT_EQ(failure("attributeQuery -n box -ln -sn translateX"),
              "attributeQuery: only yes-or-no questions can be asked together");
    EXPECT_EQ(failure("attributeQuery -n box -min translateX"),
              "attributeQuery: attribute 'translateX' has no such limit");
    EXPECT_EQ(failure("attributeQuery -n ghost -ex tx"),
              "attributeQuery: No object matches name: ghost");
}

TEST_F(QueryCommandTest, PrintWritesItsArgumentAsItIs) {
    ASSERT_TRUE(run("print \"hello\\n\""));
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Output), "hello\n");
    ASSERT_TRUE(run("print 3.5"));
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Output), "3.5");
    ASSERT_TRUE(run("print a b"));
    EXPECT_EQ(lastMessage(ehost::MessageLog::Kind::Output), "a\nb\n") << "an array, a line each";
    EXPECT_EQ(failure("print"), "print: needs something to print");
}

TEST_F(QueryCommandTest, LsListsByTypeSelectionAndDagWithLongNames) {
    EXPECT_EQ(result("ls -type transform"), "persp box driver g t");
    EXPECT_EQ(result("ls -transforms"), "persp box driver g t");
    EXPECT_EQ(result("ls -shapes"), "perspShape boxShape");
    EXPECT_EQ(result("ls -type mesh -type camera"), "perspShape boxShape");
    EXPECT_EQ(result("ls -long t boxShape"), "|g|t |box|boxShape");
    EXPECT_EQ(result("ls ghost t"), "t") << "names matching nothing are left out";
    EXPECT_EQ(result("ls \"d*\""), "driver");
    EXPECT_EQ(result("ls -sl"), "");
    ASSERT_TRUE(run("select t box"));
    EXPECT_EQ(result("ls -sl"), "t box") << "in the order selected";
    EXPECT_EQ(result("ls -sl -type transform -l"), "|g|t |box");
    EXPECT_EQ(result("ls -sl -shapes"), "");
    // -dag with objects lists them and everything below them, depth first.
    EXPECT_EQ(result("ls -dag g box"), "g t box boxShape");
    EXPECT_EQ(result("ls -dag -shapes box"), "boxShape");
    EXPECT_EQ(result("ls -dag -long"),
              "|persp |persp|perspShape |box |box|boxShape |driver |g |g|t");
    EXPECT_EQ(result("ls -showType box polyCube1"), "box transform polyCube1 polyCube");
    EXPECT_EQ(result("ls -exactType dagNode"), "") << "no node is exactly the abstract type";
    EXPECT_EQ(result("ls -type dagNode -transforms"), "persp box driver g t");
    ASSERT_TRUE(run("select -r \"boxShape.vtx[0:2]\" \"boxShape.vtx[5]\""));
    EXPECT_EQ(result("ls -sl"), "boxShape.vtx[0:2] boxShape.vtx[5]");
    EXPECT_EQ(result("ls -sl -flatten"),
              "boxShape.vtx[0] boxShape.vtx[1] boxShape.vtx[2] boxShape.vtx[5]");
    EXPECT_EQ(result("ls -sl -objectsOnly"), "boxShape");
    EXPECT_EQ(result("ls -head 2 -type transform"), "persp box");
    EXPECT_EQ(result("ls -tail 2 -type transform"), "g t");
}

TEST_F(QueryCommandTest, SelectAddsRemovesAndTogglesAndReportsWhatIsMissing) {
    ASSERT_TRUE(run("select box"));
    ASSERT_TRUE(run("select -add t driver"));
    EXPECT_EQ(result("ls -sl"), "box t driver");
    ASSERT_TRUE(run("select -add box"));
    EXPECT_EQ(result("ls -sl"), "box t driver") << "adding a selected object changes nothing";
    ASSERT_TRUE(run("select -d t"));
    EXPECT_EQ(result("ls -sl"), "box driver");
    ASSERT_TRUE(run("select -tgl box g"));
    EXPECT_EQ(result("ls -sl"), "driver g");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(result("ls -sl"), "box driver") << "selection changes are undone";
    ASSERT_TRUE(run("select -r g"));
    EXPECT_EQ(result("ls -sl"), "g");
    ASSERT_TRUE(run("select -af t"));
    EXPECT_EQ(result("ls -sl"), "t g") << "-addFirst puts the objects at the head";
    ASSERT_TRUE(run("select -hi g"));
    EXPECT_EQ(result("ls -sl"), "g t") << "-hierarchy takes everything below";
    EXPECT_EQ(failure("select ghost"), "select: No object matches name: ghost");
    EXPECT_EQ(result("ls -sl"), "g t") << "a failed select changes nothing";
    ASSERT_TRUE(run("select -cl"));
    EXPECT_EQ(result("ls -sl"), "");
}

TEST_F(QueryCommandTest, GetAttrSizeCountsTheElementsOfAMulti) {
    EXPECT_EQ(result("getAttr -size boxShape.pnts"), "0");
    ASSERT_TRUE(run("setAttr boxShape.pnts[0] 1 0 0; setAttr boxShape.pnts[5] 0 1 0"));
    EXPECT_EQ(result("getAttr -s boxShape.pnts"), "2") << "existing elements, not the last index";
    EXPECT_EQ(result("getAttr -size box.translateX"), "1") << "a plain attribute has size 1";
    EXPECT_EQ(failure("getAttr -size box.nothing"),
              "getAttr: box.nothing: no attribute \"nothing\" on node type transform");
}

TEST_F(QueryCommandTest, GetAttrTellsIndicesStatesAndEnumNames) {
    ASSERT_TRUE(run("setAttr boxShape.pnts[2] 1 0 0; setAttr boxShape.pnts[7] 0 1 0"));
    EXPECT_EQ(result("getAttr -mi boxShape.pnts"), "2 7");
    EXPECT_EQ(failure("getAttr -mi box.translateX"),
              "getAttr: box.translateX is not a multi attribute");
    EXPECT_EQ(result("getAttr -mi -sl box.translateX"), "") << "-silent says nothing";
    EXPECT_EQ(result("getAttr -k box.translateX"), "1");
    EXPECT_EQ(result("getAttr -cb box.translateX"), "0");
    EXPECT_EQ(result("getAttr -se box.translateX"), "1");
    EXPECT_EQ(result("getAttr -se t.translateY"), "0") << "a connected destination is not settable";
    EXPECT_EQ(result("getAttr -l box.translateX"), "0");
    ASSERT_TRUE(run("setAttr box.rotateOrder 2"));
    EXPECT_EQ(result("getAttr -as box.rotateOrder"), "zxy");
    EXPECT_EQ(result("getAttr box.rotateOrder"), "2");
}

TEST_F(QueryCommandTest, LockedPlugsRefuseValuesAndConnectionsUntilUnlocked) {
    ASSERT_TRUE(run("setAttr -l true box.translateX"));
    EXPECT_EQ(result("getAttr -l box.translateX"), "1");
    EXPECT_EQ(result("getAttr -se box.translateX"), "0");
    EXPECT_EQ(result("getAttr -l box.translateY"), "0") << "one plug, not its siblings";
    EXPECT_EQ(failure("setAttr box.translateX 5"),
              "setAttr: The attribute 'box.translateX' is locked or connected and cannot be "
              "modified.");
    EXPECT_NE(failure("connectAttr driver.translateX box.translateX").find("locked"),
              std::string::npos);
    MSelectionList l;
    l.add("box.translateX");
    MPlug tx;
    l.getPlug(0, tx);
    EXPECT_TRUE(tx.isLocked());
    EXPECT_FALSE(tx.setValue(3.0)) << "the API refuses it too";
    EXPECT_EQ(result("getAttr box.translateX"), "0");
    ASSERT_TRUE(run("setAttr -l true box.translate"));
    EXPECT_EQ(result("getAttr -l box.translateZ"), "1") << "a locked compound locks its children";

    ASSERT_TRUE(run("undo; undo"));
    EXPECT_EQ(result("getAttr -l box.translateX"), "0") << "locking is undone";
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(result("getAttr -l box.translateX"), "1");
    ASSERT_TRUE(run("setAttr -l false box.translateX 4"));
    EXPECT_EQ(result("getAttr box.translateX"), "4") << "unlocked, then set";
    ASSERT_TRUE(run("setAttr -l true box.translateY 6"));
    EXPECT_EQ(result("getAttr box.translateY"), "6") << "set, then locked";
    EXPECT_EQ(result("getAttr -l box.translateY"), "1");
    ASSERT_TRUE(tx.setLocked(true));
    EXPECT_EQ(result("getAttr -l box.translateX"), "1");

    ASSERT_TRUE(run("setAttr -k false box.translateZ; setAttr -cb true box.visibility"));
    EXPECT_EQ(result("getAttr -k box.translateZ"), "0");
    EXPECT_EQ(result("attributeQuery -k -n box translateZ"), "1")
        << "the attribute of the type stays keyable";
    EXPECT_EQ(result("getAttr -k t.translateZ"), "1") << "and so do other nodes' plugs";
    EXPECT_EQ(result("getAttr -cb box.visibility"), "1");

    // Scene files and duplicates keep plug states.
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tessark-locks-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "locks.tsk").string();
    std::string why;
    ASSERT_TRUE(ehost::saveScene(file, &why)) << why;
    ASSERT_TRUE(run("file -new"));
    ASSERT_TRUE(ehost::openScene(file, &why)) << why;
    std::filesystem::remove_all(dir);
    EXPECT_EQ(result("getAttr -l box.translateX"), "1");
    EXPECT_EQ(result("getAttr -l box.translateY"), "1");
    EXPECT_EQ(result("getAttr box.translateY"), "6");
    EXPECT_EQ(result("getAttr -k box.translateZ"), "0");
    EXPECT_EQ(result("getAttr -cb box.visibility"), "1");
    EXPECT_EQ(result("isConnected driver.translateX t.translateY"), "1");
    ASSERT_TRUE(run("duplicate -n box2 box"));
    EXPECT_EQ(result("getAttr -l box2.translateX"), "1");
}

}  // namespace
