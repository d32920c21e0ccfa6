// Real Maya files with animation and deformers, evaluated at several frames: values a hand
// computes from their curves, joints against the bind pose the file stores, skinned surfaces
// at that pose, and nothing reported while the frames are evaluated.

#include "mayaAsciiFixture.h"
#include "sceneProbes.h"

#include "geometry/meshNode.h"
#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceNode.h"

#include <maya/MAnimControl.h>
#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <cmath>

namespace {

class AnimatedScenesTest : public MayaAsciiTest {
  protected:
    // Opens a shared scene and forgets what reading said; a file missing from a folder that is
    // there fails the test.
    void open(const std::string& name) {
        const std::string path = sharedScene(name);
        ASSERT_TRUE(std::filesystem::exists(path)) << "missing test scene " << path;
        EXPECT_EQ(scene.openFile(path), MS::kSuccess);
        messages->clear();
    }
    // Sets the frame and evaluates every shape's world geometry and every transform's matrix.
    void evaluateAt(double frame) {
        ASSERT_EQ(MAnimControl::setCurrentTime(MTime(frame, MTime::uiUnit())), MS::kSuccess);
        for (host::Node* node : host::Graph::instance().nodes()) {
            for (const char* output : {"worldMesh", "worldSpace", "worldMatrix"}) {
                host::PlugRef plug;
                if (host::resolvePlug(node, output, plug)) {
                    plug.indices.assign(1, 0);
                    host::Graph::instance().pull(plug);
                }
            }
        }
        EXPECT_EQ(errors(), std::vector<std::string>()) << "frame " << frame;
    }
    // A matrix the file stores on a node for its own use (a joint's bind pose ".bps").
    MMatrix stored(const std::string& plug) {
        std::vector<double> values;
        EXPECT_EQ(scene.getAttr(plug, values), MS::kSuccess);
        MMatrix m;
        for (unsigned i = 0; i < 16 && i < values.size(); ++i)
            m(i / 4, i % 4) = values[i];
        return m;
    }
    double number(const std::string& plug) {
        double value = 0.0;
        EXPECT_EQ(scene.getAttr(plug, value), MS::kSuccess) << plug;
        return value;
    }
};

// Skips when the shared scenes are absent (a clone in a folder of its own), else opens one.
#define SKIP_WITHOUT_SHARED(name)                                                                  \
    SKIP_WITHOUT_SHARED_SCENES();                                                                  \
    ASSERT_NO_FATAL_FAILURE(open(name))

constexpr double kDegree = M_PI / 180.0;

} // namespace

TEST_F(AnimatedScenesTest, ALocatorFollowsFixedTangentsAndBothInfinities) {
    SKIP_WITHOUT_SHARED("anim_pre_post_infinity_locator_maya2017_win.ma");
    // translateY: keys at 29, 55 and 105, cycled with offset before and linear after.
    evaluateAt(55);
    EXPECT_NEAR(worldOf("locator1")(3, 1), 5.1648325476581238, 1e-12);
    // translateX: two auto keys (flat at both ends) from frame 1 to 120.
    const double s = 54.0 / 119.0;
    EXPECT_NEAR(worldOf("locator1")(3, 0),
                -9.2873433521447417 +
                    (11.162814692245593 + 9.2873433521447417) * (3 * s * s - 2 * s * s * s),
                1e-9);
    // After the last key, along its out tangent (x in seconds, y in cm).
    evaluateAt(130);
    EXPECT_NEAR(worldOf("locator1")(3, 1),
                -0.50690273916552187 + 25.0 / 24.0 * (-0.97563761472702026 / 0.21938848495483398),
                1e-9);
    // One whole range (76 frames) before the first key: the first value less the rise.
    evaluateAt(29 - 76);
    EXPECT_NEAR(worldOf("locator1")(3, 1),
                18.306379825595087 - (-0.50690273916552187 - 18.306379825595087), 1e-9);
    evaluateAt(29 - 76 + 26);
    EXPECT_NEAR(worldOf("locator1")(3, 1),
                5.1648325476581238 - (-0.50690273916552187 - 18.306379825595087), 1e-9);
}

TEST_F(AnimatedScenesTest, StepsAndWeightedCurvesOfALocatorHierarchy) {
    SKIP_WITHOUT_SHARED("anim_tangents_weighted_locators_maya2017_win.ma");
    EXPECT_DOUBLE_EQ(MAnimControl::maxTime().value(), 120.0);
    EXPECT_DOUBLE_EQ(MAnimControl::currentTime().value(), 17.0);
    // childBA.rx: a "step next" out of frame 32, a step out of frame 65.
    for (double frame : {1.0, 12.0, 24.0, 40.0, 70.0, 112.0, 150.0})
        evaluateAt(frame);
    evaluateAt(40);
    EXPECT_NEAR(number("childBA.rx"), 9.1116946702653472 * kDegree, 1e-12);
    evaluateAt(70);
    EXPECT_NEAR(number("childBA.rx"), 9.1116946702653472 * kDegree, 1e-12);
    evaluateAt(32);
    EXPECT_NEAR(number("childBA.rx"), -30.335331494916637 * kDegree, 1e-12);
    // The weighted childBA.rz passes through its keys and stays between smooth neighbours.
    evaluateAt(65);
    EXPECT_NEAR(number("childBA.rz"), 112.18945013053114 * kDegree, 1e-12);
    evaluateAt(76);
    const double between = number("childBA.rz") / kDegree;
    EXPECT_GT(between, 112.18945013053114);
    EXPECT_LT(between, 126.72790299174746 + 5);
}

TEST_F(AnimatedScenesTest, KeyedJointsCarryTheirChildrenAndSkinnedMeshesEvaluate) {
    SKIP_WITHOUT_SHARED("blendshape_squash_skin_anim_maya2020_mac.ma");
    // joint2 at (0.641, 0, 1) oriented 90 degrees about y; joint3 two units along its x, its
    // orient turning back: at frame 1 joint3 sits at (0.641, 0, -1) unturned.
    evaluateAt(1);
    MMatrix expected;
    expected(3, 0) = 0.64126436912440976;
    expected(3, 2) = -1.0;
    EXPECT_TRUE(worldOf("joint3").isEquivalent(expected, 1e-12));
    // At frame 20 joint2 has turned by a = 69.92 degrees about its z and joint3's translateX
    // is 4.252: (4.252, 0, 0) · Rz(a) · Ry(90) + (0.641, 0, 1).
    evaluateAt(20);
    const double a = 69.920498253116563 * kDegree, x = 4.2522203846771003;
    const MMatrix moved = worldOf("joint3");
    EXPECT_NEAR(moved(3, 0), 0.64126436912440976, 1e-12);
    EXPECT_NEAR(moved(3, 1), x * std::sin(a), 1e-12);
    EXPECT_NEAR(moved(3, 2), 1.0 - x * std::cos(a), 1e-12);
    evaluateAt(10);
    // The squash (a nonLinear deformer) is reported once, whatever the frames.
    evaluateAt(15);
    EXPECT_EQ(messages->count(host::MessageKind::kWarning), 1u) << joined(warnings());
    EXPECT_TRUE(messages->contains(host::MessageKind::kWarning, "(nonLinear)"));
}

TEST_F(AnimatedScenesTest, SkinnedNurbsSurfacesSitOnTheirBindGeometry) {
    SKIP_WITHOUT_SHARED("nurbs_cc_skin_blendshape_maya2016_linux.ma");
    evaluateAt(1);
    EXPECT_TRUE(worldOf("jnt_layer1_01").isEquivalent(stored("jnt_layer1_01.bps"), 1e-9));
    const std::vector<MPoint> bind = localCVsOf("surface_layerShape1Orig");
    const std::vector<MPoint> skinned = localCVsOf("surface_layerShape1");
    ASSERT_EQ(skinned.size(), bind.size());
    ASSERT_FALSE(bind.empty());
    for (size_t i = 0; i < bind.size(); ++i)
        EXPECT_LT(skinned[i].distanceTo(bind[i]), 1e-9) << i;
    // Turning a joint moves the CVs it weighs on.
    ASSERT_EQ(scene.setAttr("jnt_layer1_02.rz", 0.5), MS::kSuccess);
    EXPECT_GT(localCVsOf("surface_layerShape1").back().distanceTo(bind.back()), 1e-3);
    evaluateAt(12);
}

TEST_F(AnimatedScenesTest, LongNameSkinsReadTheirWeightsAndADeltaMushIsReported) {
    SKIP_WITHOUT_SHARED("longnames_skin_deltamush_maya2022_win.ma");
    EXPECT_DOUBLE_EQ(number("skinCluster1.weightList[5].weights[0]"), 1.0);
    EXPECT_DOUBLE_EQ(MAnimControl::maxTime().value(), 40.0);
    EXPECT_EQ(MTime::uiUnit(), MTime::kNTSCFrame);
    for (double frame : {0.0, 12.0, 24.0})
        evaluateAt(frame);
    EXPECT_EQ(messages->count(host::MessageKind::kWarning), 1u) << joined(warnings());
    EXPECT_TRUE(messages->contains(host::MessageKind::kWarning, "'deltaMush1' (deltaMush)"));
}

TEST_F(AnimatedScenesTest, AShotWithReferencesEvaluatesItsOwnAnimation) {
    SKIP_WITHOUT_SHARED("references/ref_shot_anim_lattice_rig_maya2017_win.ma");
    EXPECT_DOUBLE_EQ(MAnimControl::maxTime().value(), 20.0);
    for (double frame : {1.0, 10.0, 20.0})
        evaluateAt(frame);
}
