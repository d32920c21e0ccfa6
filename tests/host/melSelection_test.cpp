// The MEL queries scripts make about names and the selection (objExists, filterExpand), and
// sets given components through a transform, on a scene with a cube and a NURBS patch.

#include "mayaAsciiFixture.h"

#include <host/mel.h>

#include <maya/MFloatPointArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>

namespace {

using Names = std::vector<std::string>;

class MelSelection : public MayaAsciiTest {
  protected:
    void SetUp() override {
        MayaAsciiTest::SetUp();
        host::Scene::registerMelCommands();
        ASSERT_TRUE(scene.createNode("transform", "pCube1"));
        MFloatPointArray points;
        for (int i = 0; i < 8; ++i)
            points.append(i & 1 ? 0.5f : -0.5f, i & 2 ? 0.5f : -0.5f, i & 4 ? 0.5f : -0.5f);
        const int connects[] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4,
                                2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};
        MIntArray counts(6, 4), list(connects, 24);
        MStatus status;
        MObject parent = scene.findNode("pCube1");
        MObject shape = MFnMesh().create(8, 6, points, counts, list, parent, &status);
        ASSERT_TRUE(status);
        ASSERT_TRUE(scene.rename(MFnDependencyNode(shape).name().asChar(), "pCubeShape1"));
        ASSERT_TRUE(scene.createNode("transform", "patch"));
        ASSERT_TRUE(scene.createNode("nurbsSurface", "patchShape", "patch"));
        ASSERT_TRUE(scene.createNode("transform", "empty"));
    }
    void TearDown() override {
        host::Scene::deregisterMelCommands();
        MayaAsciiTest::TearDown();
    }

    host::MelValue run(const std::string& text) {
        host::MelValue result;
        EXPECT_EQ(host::melExecute(text, &result), MS::kSuccess) << text << "\n"
                                                                 << joined(errors());
        return result;
    }
    Names strings(const std::string& text) { return run(text).asStringArray(); }
    bool fails(const std::string& text) { return host::melExecute(text) == MS::kFailure; }
};

TEST_F(MelSelection, ObjExistsKnowsNodesPathsAndAttributes) {
    EXPECT_EQ(run("objExists pCube1").asInt(), 1);
    EXPECT_EQ(run("objExists \"|pCube1|pCubeShape1\"").asInt(), 1);
    EXPECT_EQ(run("objExists \"|patch|pCubeShape1\"").asInt(), 0); // wrong parent
    EXPECT_EQ(run("objExists pCubeShape1.worldMesh[0]").asInt(), 1);
    EXPECT_EQ(run("objExists pCube1.translateX").asInt(), 1);
    EXPECT_EQ(run("objExists pCube1.noSuchAttribute").asInt(), 0);
    EXPECT_EQ(run("objExists nothingHere").asInt(), 0);
    EXPECT_EQ(run("objExists \"\"").asInt(), 0);
    EXPECT_TRUE(errors().empty());
    EXPECT_TRUE(fails("objExists"));
    EXPECT_TRUE(fails("objExists a b"));
    EXPECT_TRUE(fails("objExists -flag a"));
    ASSERT_EQ(errors().size(), 3u);
    for (const std::string& error : errors())
        EXPECT_NE(error.find("objExists"), std::string::npos) << error;
}

TEST_F(MelSelection, FilterExpandSortsTheSelectionByMask) {
    run("select -replace pCube1.f[1:3] pCube1.vtx[7] patch empty pCubeShape1");
    // Objects count through their shapes; masks pick kinds; ranges are expanded.
    EXPECT_EQ(strings("filterExpand -selectionMask 34"),
              (Names{"pCube1.f[1]", "pCube1.f[2]", "pCube1.f[3]"}));
    EXPECT_EQ(strings("filterExpand -sm 34 -expand false"), Names{"pCube1.f[1:3]"});
    EXPECT_EQ(strings("filterExpand -sm 31 -sm 10"), (Names{"pCube1.vtx[7]", "patch"}));
    EXPECT_EQ(strings("filterExpand -sm 12"), Names{"pCubeShape1"});
    EXPECT_EQ(strings("filterExpand -sm 10 -fullPath true"), Names{"|patch"});
    EXPECT_EQ(strings("filterExpand -sm 9").size(), 0u); // no curve anywhere
    // Without a mask, everything the host knows a mask for; a transform without shape is none.
    EXPECT_EQ(strings("filterExpand -ex false").size(), 4u);
    // Named items instead of the selection.
    EXPECT_EQ(strings("filterExpand -sm 32 pCube1.e[0:1] patch"),
              (Names{"pCube1.e[0]", "pCube1.e[1]"}));
    EXPECT_EQ(strings("filterExpand -sm 34 -ex 1 {\"pCube1.f[0]\", \"pCube1.f[0]\"}"),
              Names{"pCube1.f[0]"}); // listed once
    EXPECT_TRUE(errors().empty()) << joined(errors());

    EXPECT_TRUE(fails("filterExpand -sm faces"));
    EXPECT_TRUE(fails("filterExpand -sm 34 noSuchNode.f[0]"));
    EXPECT_TRUE(fails("filterExpand -noSuchFlag"));
    EXPECT_TRUE(fails("filterExpand -sm"));
    ASSERT_EQ(errors().size(), 4u);
    for (const std::string& error : errors())
        EXPECT_NE(error.find("filterExpand"), std::string::npos) << error;
    EXPECT_NE(errors()[1].find("noSuchNode.f[0]"), std::string::npos);
}

TEST_F(MelSelection, SetsTakeComponentsNamedThroughTheTransform) {
    const std::string set = run("sets -name faces pCube1.f[0:1]").asString();
    // The members sit on the shape, as Maya keeps components.
    EXPECT_EQ(strings("listConnections -source true -destination false -shapes true " + set),
              Names{"pCubeShape1"});
    EXPECT_TRUE(fails("sets empty.f[0]"));
    EXPECT_NE(joined(errors()).find("sets"), std::string::npos) << joined(errors());
}

} // namespace
