// MItDag and MItSelectionList, as the host documents them.

#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>
#include <maya/MItDag.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "tests/host/HostFixture.h"

namespace {

class IteratorTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        // a
        // |- b
        // |  |- bShape (mesh)
        // |  `- c
        // `- d
        // e
        ASSERT_TRUE(
            ehost::runCommands("createNode transform -n a; createNode transform -n b -p a; "
                               "createNode mesh -n bShape -p b; createNode transform -n c -p b; "
                               "createNode transform -n d -p a; createNode transform -n e",
                               {false, true}));
    }
    static std::vector<std::string> walk(MItDag& it) {
        std::vector<std::string> out;
        for (; !it.isDone(); it.next())
            out.push_back(MFnDagNode(it.currentItem()).name().asChar() + std::string(":") +
                          std::to_string(it.depth()));
        return out;
    }
    static MObject node(const char* name) {
        MSelectionList l;
        l.add(name);
        MObject o;
        l.getDependNode(0, o);
        return o;
    }
};

using Names = std::vector<std::string>;

TEST_F(IteratorTest, TheWalkStartsAtTheWorldAndGoesDepthFirstByDefault) {
    MItDag it;
    ASSERT_FALSE(it.isDone());
    EXPECT_EQ(it.currentItem().apiType(), MFn::kWorld) << "the root is visited first";
    EXPECT_EQ(it.depth(), 0u);
    EXPECT_EQ(it.getType(), MItDag::kDepthFirst);
    it.next();
    // The new scene's camera comes first: it was made first.
    EXPECT_EQ(walk(it),
              (Names{"persp:1", "perspShape:2", "a:1", "b:2", "bShape:3", "c:3", "d:2", "e:1"}));
    EXPECT_FALSE(it.next()) << "nothing is left to visit";
    EXPECT_TRUE(it.currentItem().isNull());
}

TEST_F(IteratorTest, ResetToARootBreadthFirstAndFiltered) {
    MItDag it;
    ASSERT_TRUE(it.reset(node("a"), MItDag::kBreadthFirst));
    EXPECT_EQ(walk(it), (Names{"a:0", "b:1", "d:1", "bShape:2", "c:2"}));
    EXPECT_TRUE(it.root() == node("a"));

    ASSERT_TRUE(it.reset(node("a"), MItDag::kDepthFirst, MFn::kTransform));
    EXPECT_EQ(walk(it), (Names{"a:0", "b:1", "c:2", "d:1"}))
        << "the walk goes through the shape it does not show";
    ASSERT_TRUE(it.reset());
    EXPECT_EQ(walk(it), (Names{"a:0", "b:1", "c:2", "d:1"})) << "reset keeps root and filter";

    MItDag meshes(MItDag::kDepthFirst, MFn::kMesh);
    ASSERT_FALSE(meshes.isDone());
    MDagPath p;
    ASSERT_TRUE(meshes.getPath(p));
    EXPECT_EQ(p.fullPathName(), MString("|a|b|bShape"));
    EXPECT_EQ(meshes.fullPathName(), MString("|a|b|bShape"));
    EXPECT_EQ(meshes.partialPathName(), MString("bShape"));
    meshes.next();
    EXPECT_TRUE(meshes.isDone());

    MDagPath bPath = MDagPath::getAPathTo(node("b"));
    ASSERT_TRUE(it.reset(bPath, MItDag::kBreadthFirst, MFn::kInvalid));
    EXPECT_EQ(walk(it), (Names{"b:0", "bShape:1", "c:1"}));
    EXPECT_FALSE(it.reset(MObject()));
    EXPECT_FALSE(it.reset(node("a"), MItDag::kInvalidType));
}

TEST_F(IteratorTest, PruneSkipsWhatIsBelowTheCurrentNode) {
    MItDag it;
    it.reset(node("a"));
    Names seen;
    for (; !it.isDone(); it.next()) {
        std::string n = MFnDagNode(it.currentItem()).name().asChar();
        seen.push_back(n);
        if (n == "b") it.prune();
    }
    EXPECT_EQ(seen, (Names{"a", "b", "d"}));
}

TEST_F(IteratorTest, SelectionIteratorFiltersAndLetsTransformsStandForTheirShapes) {
    ASSERT_TRUE(ehost::runCommands("polyCube -n box; createNode objectSet -n set1", {false, true}));
    MSelectionList list;
    for (const char* n : {"box", "e", "set1", "box.translateX", "boxShape.vtx[2:3]"})
        ASSERT_TRUE(list.add(n)) << n;

    MItSelectionList all(list);
    std::vector<MItSelectionList::selItemType> kinds;
    for (; !all.isDone(); all.next()) kinds.push_back(all.itemType());
    EXPECT_EQ(kinds, (std::vector<MItSelectionList::selItemType>{
                         MItSelectionList::kDagSelectionItem, MItSelectionList::kDagSelectionItem,
                         MItSelectionList::kDNselectionItem, MItSelectionList::kPlugSelectionItem,
                         MItSelectionList::kDagSelectionItem}));
    EXPECT_EQ(all.itemType(), MItSelectionList::kUnknownItem);
    EXPECT_FALSE(all.next());

    MItSelectionList meshes(list, MFn::kMesh);
    Names paths;
    for (; !meshes.isDone(); meshes.next()) {
        MDagPath p;
        MObject component;
        ASSERT_TRUE(meshes.getDagPath(p, component));
        paths.push_back(p.fullPathName().asChar() +
                        std::string(component.isNull() ? "" : " with components"));
    }
    EXPECT_EQ(paths, (Names{"|box|boxShape", "|box|boxShape with components"}))
        << "the selected transform stands for its mesh";

    MItSelectionList vertices(list, MFn::kMeshVertComponent);
    ASSERT_FALSE(vertices.isDone());
    EXPECT_TRUE(vertices.hasComponents());
    MStringArray strings;
    vertices.getStrings(strings);
    ASSERT_EQ(strings.length(), 1u);
    EXPECT_EQ(strings[0], MString("boxShape.vtx[2:3]"));
    vertices.next();
    EXPECT_TRUE(vertices.isDone());

    ASSERT_TRUE(vertices.setFilter(MFn::kTransform));
    Names transforms;
    for (; !vertices.isDone(); vertices.next()) {
        MObject o;
        vertices.getDependNode(o);
        transforms.push_back(MFnDagNode(o).name().asChar());
    }
    EXPECT_EQ(transforms, (Names{"box", "e"}));
    vertices.reset();
    EXPECT_FALSE(vertices.isDone());

    MItSelectionList plugs(list);
    plugs.next();
    plugs.next();
    plugs.next();
    MPlug plug;
    ASSERT_TRUE(plugs.getPlug(plug));
    EXPECT_EQ(plug.name(), MString("box.translateX"));
    MDagPath none;
    EXPECT_FALSE(MItSelectionList(list, MFn::kCamera).getDagPath(none))
        << "nothing of the kind: the walk is over at once";
}

}  // namespace
