// Scenes that move: the time node and the scene's time unit and ranges, curves driven by time
// and by other plugs, joints, and the deformers on a skinned strip.

#include "mayaAsciiFixture.h"
#include "sceneProbes.h"

#include "builtin/transformNode.h"
#include "data/matrixData.h"
#include "geometry/meshNode.h"
#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceNode.h"

#include <maya/MAnimControl.h>
#include <maya/MDagPath.h>
#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>

#include <cmath>

namespace {

class AnimationTest : public MayaAsciiTest {
  protected:
    void open(const std::string& body) {
        const std::string path = write("scene.ma", "//Maya ASCII 2013 scene\n"
                                                   "requires maya \"2013\";\n" +
                                                       body);
        ASSERT_EQ(scene.openFile(path), MS::kSuccess);
        ASSERT_EQ(errors(), std::vector<std::string>());
    }
    void frame(double f) {
        ASSERT_EQ(MAnimControl::setCurrentTime(MTime(f, MTime::uiUnit())), MS::kSuccess);
    }
    double number(const std::string& plug) {
        double value = 0.0;
        EXPECT_EQ(scene.getAttr(plug, value), MS::kSuccess) << plug;
        return value;
    }
};

// A degree-1 strip along x from 0 to 4, one unit wide in z, lifted to y = 1 by its transform;
// CV index u * 2 + v. Two joints: joint1 at the origin, joint2 at x = 2, its rotateZ keyed
// from 0 at frame 1 to 90 at frame 10.
const char* const kStrip =
    "currentUnit -l centimeter -a degree -t film;\n"
    "createNode joint -n \"joint1\";\n"
    "createNode joint -n \"joint2\" -p \"joint1\";\n"
    "\tsetAttr \".t\" -type \"double3\" 2 0 0 ;\n"
    "createNode transform -n \"strip\";\n"
    "\tsetAttr \".t\" -type \"double3\" 0 1 0 ;\n"
    "createNode nurbsSurface -n \"stripShape\" -p \"strip\";\n"
    "createNode nurbsSurface -n \"stripShapeOrig\" -p \"strip\";\n"
    "\tsetAttr \".io\" yes;\n"
    "\tsetAttr \".cc\" -type \"nurbsSurface\" 1 1 0 0 no 5 0 1 2 3 4 2 0 1 10\n"
    "\t\t0 0 0 0 0 1 1 0 0 1 0 1 2 0 0 2 0 1 3 0 0 3 0 1 4 0 0 4 0 1 ;\n"
    "createNode skinCluster -n \"skinCluster1\";\n"
    "\tsetAttr -s 10 \".wl\";\n"
    "\tsetAttr \".wl[0:9].w\" 1 0 1 1 0 1 1 0 1 1 0 1 2 0 0.5 1 0.5 2 0 0.5 1 0.5\n"
    "\t\t1 1 1 1 1 1 1 1 1 1 1 1;\n"
    "\tsetAttr \".pm[1]\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 -2 0 0 1;\n"
    "\tsetAttr \".gm\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 0 1 0 1;\n"
    "createNode animCurveTA -n \"joint2_rotateZ\";\n"
    "\tsetAttr \".tan\" 2;\n"
    "\tsetAttr \".wgt\" no;\n"
    "\tsetAttr -s 2 \".ktv[0:1]\" 1 0 10 90;\n"
    "connectAttr \"joint2_rotateZ.o\" \"joint2.rz\";\n"
    "connectAttr \"joint1.s\" \"joint2.is\";\n"
    "connectAttr \"joint1.wm\" \"skinCluster1.ma[0]\";\n"
    "connectAttr \"joint2.wm\" \"skinCluster1.ma[1]\";\n";

// Where linear blending puts a strip CV (local space) with joint2 turned by `degrees` about z.
MPoint blended(const MPoint& local, double joint2Weight, double degrees) {
    const double a = degrees * M_PI / 180.0;
    const MPoint world(local.x, local.y + 1.0, local.z);
    const double x = world.x - 2.0, y = world.y;
    const MPoint turned(2.0 + x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a),
                        world.z);
    const double w = joint2Weight;
    return MPoint((1 - w) * world.x + w * turned.x, (1 - w) * world.y + w * turned.y - 1.0,
                  world.z);
}

} // namespace

TEST_F(AnimationTest, TheSceneTimeSetsUnitsRangesAndDrivesCurves) {
    open("currentUnit -l centimeter -a degree -t pal;\n"
         "createNode script -n \"sceneConfigurationScriptNode\";\n"
         "\tsetAttr \".b\" -type \"string\" \"playbackOptions -min 5 -max 30 -ast 1 -aet 40 \";\n"
         "\tsetAttr \".st\" 6;\n"
         "createNode transform -n \"mover\";\n"
         "createNode animCurveTL -n \"mover_tx\";\n"
         "\tsetAttr \".tan\" 2;\n"
         "\tsetAttr \".wgt\" no;\n"
         "\tsetAttr -s 2 \".ktv[0:1]\" 1 0 25 12;\n"
         "connectAttr \"mover_tx.o\" \"mover.tx\";\n"
         "select -ne :time1;\n"
         "\tsetAttr \".o\" 13;\n");
    EXPECT_EQ(MTime::uiUnit(), MTime::kPALFrame);
    EXPECT_DOUBLE_EQ(MAnimControl::minTime().value(), 5.0);
    EXPECT_DOUBLE_EQ(MAnimControl::maxTime().value(), 30.0);
    EXPECT_DOUBLE_EQ(MAnimControl::animationStartTime().value(), 1.0);
    EXPECT_DOUBLE_EQ(MAnimControl::animationEndTime().value(), 40.0);
    EXPECT_DOUBLE_EQ(MTime(25.0, MTime::kPALFrame).as(MTime::kSeconds), 1.0);
    EXPECT_DOUBLE_EQ(MTime(12.0, MTime::kFilm).as(MTime::kNTSCFrame), 15.0);

    // The file's time, then the time set through the API and on the time node itself.
    EXPECT_DOUBLE_EQ(MAnimControl::currentTime().value(), 13.0);
    EXPECT_DOUBLE_EQ(worldOf("mover")(3, 0), 6.0);
    frame(7);
    EXPECT_DOUBLE_EQ(worldOf("mover")(3, 0), 3.0);
    ASSERT_EQ(scene.setAttr("time1.o", 19.0), MS::kSuccess);
    EXPECT_DOUBLE_EQ(worldOf("mover")(3, 0), 9.0);
    EXPECT_DOUBLE_EQ(MAnimControl::currentTime().value(), 19.0);

    // A file without playbackOptions text keeps the default range and says why.
    open("createNode script -n \"sceneConfigurationScriptNode\";\n"
         "\tsetAttr \".b\" -type \"string\" \"playbackOptions -min one\";\n");
    EXPECT_DOUBLE_EQ(MAnimControl::minTime().value(), 1.0);
    EXPECT_TRUE(messages->contains(host::MessageKind::kWarning, "sceneConfigurationScriptNode"));
}

TEST_F(AnimationTest, DrivenKeysFollowTheirDriverThroughUnitConversion) {
    open("createNode transform -n \"driver\";\n"
         "createNode transform -n \"driven\";\n"
         "createNode unitConversion -n \"toDegrees\";\n"
         "\tsetAttr \".cf\" 57.295779513082323;\n"
         "createNode animCurveUL -n \"driven_ty\";\n"
         "\tsetAttr -s 2 \".ktv[0:1]\" 0 0 90 9;\n"
         "\tsetAttr -s 2 \".kit[0:1]\" 2 2;\n"
         "\tsetAttr -s 2 \".kot[0:1]\" 2 2;\n"
         "connectAttr \"driver.rz\" \"toDegrees.i\";\n"
         "connectAttr \"toDegrees.o\" \"driven_ty.i\";\n"
         "connectAttr \"driven_ty.o\" \"driven.ty\";\n");
    ASSERT_EQ(scene.setAttr("driver.rz", M_PI / 4), MS::kSuccess);
    EXPECT_NEAR(number("driven.ty"), 4.5, 1e-12);
    frame(50); // time does not move a driven key
    EXPECT_NEAR(number("driven.ty"), 4.5, 1e-12);
}

TEST_F(AnimationTest, JointsComposeOrientAndCompensateTheirParentsScale) {
    // Joint orients from a published skeleton; its bind pose gives joint2's world matrix.
    open("createNode joint -n \"joint1\";\n"
         "\tsetAttr \".t\" -type \"double3\" -0.1339 0.2140 0 ;\n"
         "\tsetAttr \".jo\" -type \"double3\" 0 0 2.5353 ;\n"
         "createNode joint -n \"joint2\" -p \"joint1\";\n"
         "\tsetAttr \".t\" -type \"double3\" 4.2613 0 0 ;\n"
         "\tsetAttr \".jo\" -type \"double3\" 0 0 -50.4793 ;\n"
         "connectAttr \"joint1.s\" \"joint2.is\";\n");
    const MMatrix chain = worldOf("joint2");
    EXPECT_NEAR(chain(0, 0), 0.669856, 1e-5);
    EXPECT_NEAR(chain(0, 1), -0.742491, 1e-5);
    EXPECT_NEAR(chain(3, 0), 4.123295, 1e-4);
    EXPECT_NEAR(chain(3, 1), 0.402453, 1e-4);

    // Scaling joint1 moves joint2 but, compensated, does not scale it; without compensation
    // it does.
    ASSERT_EQ(scene.setAttr("joint1.s", std::vector<double>{2.0, 2.0, 2.0}), MS::kSuccess);
    const MMatrix compensated = worldOf("joint2");
    EXPECT_NEAR(std::hypot(compensated(0, 0), compensated(0, 1)), 1.0, 1e-12);
    EXPECT_NEAR(compensated(3, 0), 2 * chain(3, 0) + 0.1339, 2e-4);
    ASSERT_EQ(scene.setAttr("joint2.ssc", 0.0), MS::kSuccess);
    EXPECT_NEAR(std::hypot(worldOf("joint2")(0, 0), worldOf("joint2")(0, 1)), 2.0, 1e-12);
    // The matrix outputs follow, as plugs other nodes connect to.
    host::Node* joint2 = host::Graph::instance().find("joint2");
    host::Slot* wm = host::Graph::instance().pull(
        host::PlugRef{joint2, host::attributeDef(host::TransformNode::worldMatrix), {0}});
    ASSERT_NE(wm, nullptr);
    EXPECT_TRUE(host::matrixIn(wm->data).isEquivalent(worldOf("joint2")));

    // A transform that does not inherit its parent's is placed by its own matrix alone.
    open("createNode transform -n \"parent\";\n"
         "\tsetAttr \".t\" -type \"double3\" 5 0 0 ;\n"
         "createNode transform -n \"child\" -p \"parent\";\n"
         "\tsetAttr \".t\" -type \"double3\" 0 1 0 ;\n"
         "\tsetAttr \".it\" no;\n");
    EXPECT_DOUBLE_EQ(worldOf("child")(3, 0), 0.0);
    EXPECT_DOUBLE_EQ(worldOf("child")(3, 1), 1.0);
}

TEST_F(AnimationTest, ASkinnedStripFollowsTheLinearBlendOfItsJoints) {
    open(std::string(kStrip) + "connectAttr \"stripShapeOrig.ws\" \"skinCluster1.ip[0].ig\";\n"
                               "connectAttr \"stripShapeOrig.local\" \"skinCluster1.orggeom[0]\";\n"
                               "connectAttr \"skinCluster1.og[0]\" \"stripShape.cr\";\n");
    const std::vector<MPoint> bind = localCVsOf("stripShapeOrig");
    ASSERT_EQ(bind.size(), 10u);
    frame(1);
    std::vector<MPoint> deformed = localCVsOf("stripShape");
    ASSERT_EQ(deformed.size(), 10u);
    for (size_t i = 0; i < bind.size(); ++i)
        EXPECT_LT(deformed[i].distanceTo(bind[i]), 1e-12) << i;

    const double weights[5] = {0, 0, 0.5, 1, 1}; // joint2's, by u
    for (double f : {4.0, 10.0}) {
        frame(f);
        deformed = localCVsOf("stripShape");
        const double degrees = 90.0 * (f - 1) / 9;
        for (size_t i = 0; i < bind.size(); ++i)
            EXPECT_LT(deformed[i].distanceTo(blended(bind[i], weights[i / 2], degrees)), 1e-9)
                << "frame " << f << " CV " << i;
    }

    // Dual quaternions turn the half-and-half CVs halfway about the elbow instead.
    ASSERT_EQ(scene.setAttr("skinCluster1.skm", 1.0), MS::kSuccess);
    deformed = localCVsOf("stripShape");
    const double r = std::sqrt(0.5);
    EXPECT_LT(deformed[4].distanceTo(MPoint(2 - r, r - 1, 0)), 1e-9) << deformed[4];
    EXPECT_LT(deformed[8].distanceTo(blended(bind[8], 1.0, 90.0)), 1e-9);
    // The envelope blends back towards the input.
    ASSERT_EQ(scene.setAttr("skinCluster1.en", 0.0), MS::kSuccess);
    EXPECT_LT(localCVsOf("stripShape")[8].distanceTo(bind[8]), 1e-12);
}

TEST_F(AnimationTest, TheLegacyChainTweaksAndSkinsOnlyItsGroup) {
    // groupParts tag the CVs each deformer works on; the tweak lifts CV 9, the skin only moves
    // the CVs of u 0 to 3.
    open(std::string(kStrip) +
         "createNode tweak -n \"tweak1\";\n"
         "\tsetAttr \".pl[0].cp[9]\" -type \"double3\" 0 0.5 0 ;\n"
         "createNode groupId -n \"groupId1\";\n"
         "createNode groupParts -n \"groupParts1\";\n"
         "\tsetAttr \".ic\" -type \"componentList\" 1 \"cv[*][*]\";\n"
         "createNode groupId -n \"skinCluster1GroupId\";\n"
         "createNode groupParts -n \"skinCluster1GroupParts\";\n"
         "\tsetAttr \".ic\" -type \"componentList\" 1 \"cv[0:3][*]\";\n"
         "connectAttr \"stripShapeOrig.ws\" \"groupParts1.ig\";\n"
         "connectAttr \"groupId1.id\" \"groupParts1.gi\";\n"
         "connectAttr \"groupParts1.og\" \"tweak1.ip[0].ig\";\n"
         "connectAttr \"groupId1.id\" \"tweak1.ip[0].gi\";\n"
         "connectAttr \"tweak1.og[0]\" \"skinCluster1GroupParts.ig\";\n"
         "connectAttr \"skinCluster1GroupId.id\" \"skinCluster1GroupParts.gi\";\n"
         "connectAttr \"skinCluster1GroupParts.og\" \"skinCluster1.ip[0].ig\";\n"
         "connectAttr \"skinCluster1GroupId.id\" \"skinCluster1.ip[0].gi\";\n"
         "connectAttr \"skinCluster1.og[0]\" \"stripShape.cr\";\n");
    const std::vector<MPoint> bind = localCVsOf("stripShapeOrig");
    frame(10);
    const std::vector<MPoint> deformed = localCVsOf("stripShape");
    ASSERT_EQ(deformed.size(), 10u);
    EXPECT_LT(deformed[6].distanceTo(blended(bind[6], 1.0, 90.0)), 1e-9);
    EXPECT_LT(deformed[8].distanceTo(bind[8]), 1e-12);
    EXPECT_LT(deformed[9].distanceTo(bind[9] + MVector(0, 0.5, 0)), 1e-12);
}

TEST_F(AnimationTest, BlendShapesAddStoredTargetsThroughInBetweens) {
    // CVs 8 and 9 (u = 4) go up by 2 at weight 0.5 and by 1 at weight 1; the weight is keyed.
    // A deltaMush after it passes the geometry on and says so once.
    open("createNode transform -n \"strip\";\n"
         "createNode nurbsSurface -n \"stripShape\" -p \"strip\";\n"
         "createNode nurbsSurface -n \"stripShapeOrig\" -p \"strip\";\n"
         "\tsetAttr \".io\" yes;\n"
         "\tsetAttr \".cc\" -type \"nurbsSurface\" 1 1 0 0 no 5 0 1 2 3 4 2 0 1 10\n"
         "\t\t0 0 0 0 0 1 1 0 0 1 0 1 2 0 0 2 0 1 3 0 0 3 0 1 4 0 0 4 0 1 ;\n"
         "createNode blendShape -n \"blendShape1\";\n"
         "\tsetAttr \".it[0].itg[0].iti[5500].ipt\" -type \"pointArray\" 2 0 2 0 1 0 2 0 1 ;\n"
         "\tsetAttr \".it[0].itg[0].iti[5500].ict\" -type \"componentList\" 1 \"cv[4][*]\";\n"
         "\tsetAttr \".it[0].itg[0].iti[6000].ipt\" -type \"pointArray\" 1 0 1 0 1 ;\n"
         "\tsetAttr \".it[0].itg[0].iti[6000].ict\" -type \"componentList\" 1 \"cv[4][1]\";\n"
         "createNode animCurveTU -n \"blendShape1_w0\";\n"
         "\tsetAttr \".tan\" 2;\n"
         "\tsetAttr \".wgt\" no;\n"
         "\tsetAttr -s 2 \".ktv[0:1]\" 0 0 100 1;\n"
         "createNode deltaMush -n \"deltaMush1\";\n"
         "connectAttr \"blendShape1_w0.o\" \"blendShape1.w[0]\";\n"
         "connectAttr \"stripShapeOrig.ws\" \"blendShape1.ip[0].ig\";\n"
         "connectAttr \"blendShape1.og[0]\" \"deltaMush1.ip[0].ig\";\n"
         "connectAttr \"deltaMush1.og[0]\" \"stripShape.cr\";\n");
    frame(25);
    std::vector<MPoint> cvs = localCVsOf("stripShape");
    ASSERT_EQ(cvs.size(), 10u);
    EXPECT_NEAR(cvs[8].y, 1.0, 1e-6);
    EXPECT_NEAR(cvs[9].y, 1.0, 1e-6);
    frame(75);
    cvs = localCVsOf("stripShape");
    EXPECT_NEAR(cvs[8].y, 1.0, 1e-6); // halfway from 2 to nothing
    EXPECT_NEAR(cvs[9].y, 1.5, 1e-6); // halfway from 2 to 1
    EXPECT_DOUBLE_EQ(cvs[6].y, 0.0);
    EXPECT_EQ(messages->count(host::MessageKind::kWarning), 1u) << joined(warnings());
    EXPECT_TRUE(messages->contains(host::MessageKind::kWarning, "'deltaMush1' (deltaMush)"));
}

TEST_F(AnimationTest, FarInfluenceIndicesAndShortWeightListsDoNoHarm) {
    // An influence at a logical index near the top of the range costs nothing; a compact weight
    // list shorter than its range is refused, naming the plug.
    const std::string path =
        write("far.ma", std::string("//Maya ASCII 2013 scene\n") + kStrip +
                            "setAttr \"skinCluster1.wl[0:2000000000].w\" 1 0;\n"
                            "connectAttr \"joint2.wm\" \"skinCluster1.ma[2000000000]\";\n"
                            "connectAttr \"stripShapeOrig.ws\" \"skinCluster1.ip[0].ig\";\n"
                            "connectAttr \"skinCluster1.og[0]\" \"stripShape.cr\";\n");
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    EXPECT_EQ(errors().size(), 1u) << joined(errors());
    EXPECT_TRUE(messages->contains(host::MessageKind::kError, "skinCluster1.wl[0:2000000000].w"));
    frame(10);
    EXPECT_EQ(localCVsOf("stripShape").size(), 10u);
}

TEST_F(AnimationTest, AMeshSkinsThroughItsTweakLikeTheStrip) {
    // The strip as two quads (vertices 0-2 at z = 0, 3-5 at z = 1, x = 0, 2, 4), in the legacy
    // chain: the tweak lifts vertex 5, the skin moves every vertex.
    open(std::string(kStrip) +
         "createNode mesh -n \"meshShapeOrig\" -p \"strip\";\n"
         "\tsetAttr \".io\" yes;\n"
         "\tsetAttr -s 6 \".vt[0:5]\" 0 0 0 2 0 0 4 0 0 0 0 1 2 0 1 4 0 1;\n"
         "\tsetAttr -s 7 \".ed[0:6]\" 0 1 0 1 2 0 3 4 0 4 5 0 0 3 0 1 4 0 2 5 0;\n"
         "\tsetAttr -s 2 \".fc[0:1]\" -type \"polyFaces\" f 4 0 5 -3 -5 f 4 1 6 -4 -6;\n"
         "createNode mesh -n \"meshShape\" -p \"strip\";\n"
         "createNode skinCluster -n \"meshSkin\";\n"
         "\tsetAttr \".wl[0:5].w\" 1 0 1 2 0 0.5 1 0.5 1 1 1 1 0 1 2 0 0.5 1 0.5 1 1 1;\n"
         "\tsetAttr \".pm[1]\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 -2 0 0 1;\n"
         "\tsetAttr \".gm\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 0 1 0 1;\n"
         "createNode tweak -n \"meshTweak\";\n"
         "\tsetAttr \".vl[0].vt[5]\" -type \"float3\" 0 0 0.5 ;\n"
         "createNode groupParts -n \"meshParts\";\n"
         "\tsetAttr \".ic\" -type \"componentList\" 1 \"vtx[*]\";\n"
         "connectAttr \"meshShapeOrig.w\" \"meshParts.ig\";\n"
         "connectAttr \"meshParts.og\" \"meshTweak.ip[0].ig\";\n"
         "connectAttr \"meshTweak.og[0]\" \"meshSkin.ip[0].ig\";\n"
         "connectAttr \"joint1.wm\" \"meshSkin.ma[0]\";\n"
         "connectAttr \"joint2.wm\" \"meshSkin.ma[1]\";\n"
         "connectAttr \"meshSkin.og[0]\" \"meshShape.i\";\n");
    frame(10);
    host::Node* shape = host::Graph::instance().find("meshShape");
    ASSERT_NE(shape, nullptr);
    const std::vector<MPoint> points = host::meshOfNode(*shape)->points;
    ASSERT_EQ(points.size(), 6u);
    const double weights[3] = {0, 0.5, 1}; // joint2's, by x
    for (size_t i = 0; i < 6; ++i) {
        const MPoint bind(2.0 * (i % 3), 0, i < 3 ? 0 : (i == 5 ? 1.5 : 1));
        EXPECT_LT(points[i].distanceTo(blended(bind, weights[i % 3], 90.0)), 1e-9) << i;
    }
    EXPECT_EQ(host::meshOfNode(*shape)->numPolygons(), 2);
}
