// The scene commands through MEL: the queries the plug-in's scripts make (ls, listRelatives,
// nodeType, listConnections, getAttr -multiIndices), selection-relative setAttr, units, delete
// and file -new, on scenes read from files.

#include "mayaAsciiFixture.h"

#include <host/mel.h>

#include <cmath>

namespace {

class MayaAsciiMel : public MayaAsciiMelTest {
  protected:
    host::MelValue run(const std::string& text) {
        host::MelValue result;
        EXPECT_EQ(host::melExecute(text, &result), MS::kSuccess) << text << "\n"
                                                                 << joined(errors());
        return result;
    }
    std::vector<std::string> strings(const std::string& text) { return run(text).asStringArray(); }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(MayaAsciiMel, QueriesFindNodesOfARealScene) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("mayatools_setupCPOS.ma")), MS::kSuccess);
    EXPECT_EQ(strings("ls -type nurbsSurface"), Names{"test_multiAxisRigPlaneShape"});
    EXPECT_EQ(strings("ls -long -type nurbsSurface"),
              Names{"|test_multiAxisRigGrp|test_multiAxisRigPlane|test_multiAxisRigPlaneShape"});
    EXPECT_EQ(strings("ls -type pointConstraint"),
              (Names{"test_multiAxisRigPlanePointConst", "test_multiAxisRigLocPointConst"}));
    EXPECT_EQ(strings("ls \"joint*\""), (Names{"joint1", "joint2", "joint3"}));
    EXPECT_EQ(run("nodeType test_multiAxisRigPlaneShape").asString(), "nurbsSurface");
    EXPECT_EQ(run("nodeType \"|joint1|joint2\"").asString(), "joint");
    // A transform's shapes, not its constraints or child transforms.
    EXPECT_EQ(strings("listRelatives -shapes test_multiAxisRigPlane"),
              Names{"test_multiAxisRigPlaneShape"});
    EXPECT_EQ(strings("listRelatives -shapes -fullPath control"),
              Names{"|joint1|control|controlShape"});
    EXPECT_EQ(strings("listRelatives -children joint1"), (Names{"joint2", "control"}));
    EXPECT_EQ(strings("listRelatives -parent joint3"), Names{"joint2"});
    EXPECT_EQ(strings("listRelatives -allDescendents -type joint joint1"),
              (Names{"joint2", "joint3"}));
    // Connections, graph and kept ones alike; a shape stands for its transform unless -shapes.
    EXPECT_EQ(strings("listConnections -source true -destination false "
                      "test_multiAxisRigLocGeoConst.tg"),
              (Names{"test_multiAxisRigPlane", "test_multiAxisRigLocGeoConst"}));
    EXPECT_EQ(strings("listConnections -source true -destination false -shapes true "
                      "-type nurbsSurface test_multiAxisRigLocGeoConst.tg"),
              Names{"test_multiAxisRigPlaneShape"});
    EXPECT_EQ(strings("listConnections -plugs true -source true -destination false joint2.is"),
              Names{"joint1.scale"});
    // Plugs of attributes the host defines come by their long names, kept ones as written.
    EXPECT_EQ(strings("listConnections -s false -d true -c true joint1.s"),
              (Names{"joint1.scale", "joint2", "joint1.s", "test_multiAxisRigGrpParentConst"}));
    EXPECT_EQ(strings("listConnections -s false -d true -c true -p true joint1.s"),
              (Names{"joint1.scale", "joint2.inverseScale", "joint1.s",
                     "test_multiAxisRigGrpParentConst.tg[0].ts"}));
    EXPECT_EQ(run("getAttr -multiIndices lightLinker1.lnk").asIntArray(), (std::vector<int>{0, 1}));
    EXPECT_EQ(run("getAttr -size lightLinker1.slnk").asInt(), 2);
}

TEST_F(MayaAsciiMel, CommandsEditTheSceneInUserUnits) {
    EXPECT_EQ(run("createNode transform -n \"pivot\"").asString(), "pivot");
    EXPECT_EQ(run("createNode nurbsSurface -n \"pivotShape\" -p pivot").asString(), "pivotShape");
    // setAttr with a relative plug applies to the selection; angles are in degrees.
    run("select -r pivot; setAttr \".rx\" 90; setAttr \".t\" -type \"double3\" 1 2 3");
    double rx = 0.0;
    ASSERT_TRUE(scene.getAttr("pivot.rx", rx));
    EXPECT_DOUBLE_EQ(rx, M_PI / 2);
    EXPECT_DOUBLE_EQ(run("getAttr pivot.rx").asFloat(), 90.0);
    EXPECT_EQ(run("getAttr pivot.t").asFloatArray(), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(run("getAttr -type pivot.t").asString(), "double3");
    run("currentUnit -angle radian; setAttr pivot.ry 0.5");
    double ry = 0.0;
    ASSERT_TRUE(scene.getAttr("pivot.ry", ry));
    EXPECT_DOUBLE_EQ(ry, 0.5);
    EXPECT_EQ(run("currentUnit -q -angle").asString(), "rad");
    run("currentUnit -angle degree");

    EXPECT_EQ(strings("ls -selection"), Names{"pivot"});
    run("select -add pivotShape.cv[0:1]");
    EXPECT_EQ(strings("ls -selection -flatten"),
              (Names{"pivot", "pivotShape.cv[0]", "pivotShape.cv[1]"}));
    EXPECT_EQ(strings("ls -selection -objectsOnly"), (Names{"pivot", "pivotShape"}));
    run("select -cl");
    EXPECT_TRUE(strings("ls -sl").empty());

    run("addAttr -ln \"weight\" -at double -min 0 -max 1 -dv 0.5 pivot");
    EXPECT_DOUBLE_EQ(run("getAttr pivot.weight").asFloat(), 0.5);
    run("setAttr pivot.weight 3");
    EXPECT_DOUBLE_EQ(run("getAttr pivot.weight").asFloat(), 1.0); // clamped, with a warning
    EXPECT_FALSE(warnings().empty());
    run("setAttr -lock true pivot.weight");
    EXPECT_EQ(run("getAttr -lock pivot.weight").asInt(), 1);
    EXPECT_EQ(host::melExecute("setAttr pivot.weight 0.2"), MS::kFailure);
    EXPECT_NE(joined(errors()).find("setAttr: 'pivot.weight' is locked."), std::string::npos)
        << joined(errors());

    run("createNode transform -n other; connectAttr pivot.tx other.ty");
    EXPECT_EQ(strings("listConnections -plugs true other"), Names{"pivot.translateX"});
    run("disconnectAttr pivot.tx other.ty");
    EXPECT_TRUE(strings("listConnections other").empty());
    EXPECT_EQ(run("rename other renamed").asString(), "renamed");
    run("parent renamed pivot");
    EXPECT_EQ(scene.parentOf("renamed"), "pivot");
    run("lockNode -l on renamed");
    EXPECT_EQ(host::melExecute("delete renamed"), MS::kFailure);
    run("lockNode -l off renamed; delete renamed");
    EXPECT_EQ(scene.typeOf("renamed"), "");

    run("file -new -force");
    EXPECT_TRUE(scene.nodeNames().empty());
}

TEST_F(MayaAsciiMel, FileCommandOpensAndSavesScenes) {
    SKIP_WITHOUT_SHARED_SCENES();
    const std::string saved = scratch() + "/fromMel.ma";
    run("file -open \"" + sharedScene("rigbuilder_cube2011.ma") + "\"");
    EXPECT_EQ(run("file -q -sceneName").asString(), sharedScene("rigbuilder_cube2011.ma"));
    EXPECT_EQ(strings("ls -type nurbsCurve"), Names{"curveShape3"});
    run("file -rename \"" + saved + "\"; file -save");
    EXPECT_EQ(read(saved).rfind("//Maya ASCII 2011 scene\n", 0), 0u);
    run("file -new -force");
    EXPECT_EQ(run("file -q -sceneName").asString(), "");
    run("file -import \"" + saved + "\"");
    EXPECT_EQ(scene.parentOf("curveShape3"), "cube");
    EXPECT_EQ(run("fileInfo -q").asStringArray().size(), 0u); // importing keeps the scene's own
}

TEST_F(MayaAsciiMel, SetsCollectNodesAndFacesThatSaveBack) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("cgkit_objects.ma")), MS::kSuccess);
    EXPECT_EQ(run("sets -name \"wholeCube\" meshShape").asString(), "wholeCube");
    EXPECT_EQ(run("sets -name \"someFaces\" meshShape.f[0:2]").asString(), "someFaces");
    EXPECT_EQ(strings("listConnections -source true -destination false -shapes true wholeCube"),
              Names{"meshShape"});
    EXPECT_EQ(host::melExecute("sets -name \"broken\" meshShape.nothing[1]"), MS::kFailure);
    const std::string saved = scratch() + "/sets.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    EXPECT_NE(text.find("-type \"componentList\" 1 \"f[0:2]\""), std::string::npos) << text;
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_TRUE(errors().size() == 1) << joined(errors()); // the broken sets command only
    EXPECT_EQ(strings("listConnections -source true -destination false -shapes true someFaces"),
              Names{"meshShape"});
    EXPECT_EQ(scene.typeOf("someFaces"), "objectSet");
}
