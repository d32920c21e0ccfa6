// Feathers built on several workers equal those built on one, bit for bit and in the same
// order: the example scene's system and a feather node with many inputs, with polygon meshes
// on, at 1, 2 and 8 workers.

#include "featherNodeFixture.h"

#include "feather/buildWorkers.h"
#include "feather/featherGeometry.h"
#include "nodes/system/quilloSystem.h"

#include <maya/MFnDependencyNode.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every byte of a feather's fields, in a fixed order; equal bytes mean equal floats, -0 and
// NaN payloads included.
class featherBytes {
  public:
    explicit featherBytes(const featherGeometry& g) {
        add(g.rachisPoints);
        add(g.rachisThickness);
        add(g.rachisNormals);
        add(g.rachisLength);
        for (const auto* side : {&g.leftBarbules, &g.rightBarbules}) {
            add(static_cast<unsigned int>(side->size()));
            for (const MFloatPointArray& curve : *side)
                add(curve);
        }
        for (const auto* side : {&g.leftNormals, &g.rightNormals}) {
            add(static_cast<unsigned int>(side->size()));
            for (const MFloatVectorArray& normals : *side)
                add(normals);
        }
        for (const MFloatArray* floats :
             {&g.leftPositions, &g.leftLengths, &g.leftThickness, &g.rightPositions,
              &g.rightLengths, &g.rightThickness, &g.barbuleThickness})
            add(*floats);
        add(g.u);
        add(g.v);
        add(g.mainColor.r);
        add(g.mainColor.g);
        add(g.mainColor.b);
        add(g.mainColor.a);
        add(g.seed);
        for (const MBoundingBox* box : {&g.proxyBox, &g.meshBox})
            for (const MPoint& corner : {box->min(), box->max()}) {
                add(corner.x);
                add(corner.y);
                add(corner.z);
            }
        for (const featherMeshData* mesh : {&g.rachisMesh, &g.barbuleMesh}) {
            add(mesh->polygonCounts);
            add(mesh->polygonConnects);
            add(mesh->points);
            add(mesh->uArray);
            add(mesh->vArray);
            add(mesh->uvIds);
        }
        const std::string name = g.name.asChar();
        add(static_cast<unsigned int>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
    }

    std::vector<unsigned char> bytes;

  private:
    template <typename Value> void add(const Value& value) {
        unsigned char raw[sizeof(Value)];
        std::memcpy(raw, &value, sizeof(Value));
        bytes.insert(bytes.end(), raw, raw + sizeof(Value));
    }
    template <typename Array> void addArray(const Array& array) {
        add(array.length());
        for (unsigned int k = 0; k < array.length(); ++k)
            add(array[k]);
    }
    void add(const MFloatArray& a) { addArray(a); }
    void add(const MIntArray& a) { addArray(a); }
    void add(const MFloatPointArray& a) { addArray(a); }
    void add(const MFloatVectorArray& a) { addArray(a); }
};

std::vector<std::vector<unsigned char>> bytesOf(const std::vector<featherGeometry>& feathers) {
    std::vector<std::vector<unsigned char>> all;
    for (const featherGeometry& feather : feathers)
        all.push_back(featherBytes(feather).bytes);
    return all;
}

size_t barbuleCurves(const std::vector<featherGeometry>& feathers) {
    size_t curves = 0;
    for (const featherGeometry& feather : feathers)
        curves += feather.leftBarbules.size() + feather.rightBarbules.size();
    return curves;
}

size_t meshPoints(const std::vector<featherGeometry>& feathers) {
    size_t points = 0;
    for (const featherGeometry& feather : feathers)
        points += feather.barbuleMesh.points.length() + feather.rachisMesh.points.length();
    return points;
}

class ParallelBuildTest : public FeatherNodeTest {
  protected:
    void SetUp() override {
        FeatherNodeTest::SetUp();
        host::MessageCapture quiet;
        ASSERT_TRUE(scene.openFile(QUILLO_SOURCE_DIR "/examples/featherGuides.ma"))
            << scene.lastError();
        // The system borrows the guide paths and description the feather node's build fills.
        build(feather);
    }
    void TearDown() override {
        setBuildWorkerCount(0);
        FeatherNodeTest::TearDown();
    }

    void set(const std::string& plug, double value) {
        ASSERT_TRUE(scene.setAttr(plug, value)) << scene.lastError();
    }

    // The system's feathers, rebuilt on `workers` workers.
    std::vector<std::vector<unsigned char>> systemBuild(unsigned int workers) {
        setBuildWorkerCount(workers);
        // Another seed and back: the system is dirty, its feathers unchanged.
        set(system + ".randomSeed", 12.0);
        set(system + ".randomSeed", 11.0);
        EXPECT_TRUE(scene.evaluate(system + ".outFeatherMesh")) << scene.lastError();
        const std::vector<featherGeometry>& built = systemNode().builtFeathers();
        lastFeatherCount = built.size();
        lastCurveCount = barbuleCurves(built);
        lastMeshPoints = meshPoints(built);
        return bytesOf(built);
    }

    // The feather node's feathers, rebuilt on `workers` workers.
    std::vector<std::vector<unsigned char>> featherNodeBuild(unsigned int workers) {
        setBuildWorkerCount(workers);
        set(feather + ".outputFeatherMesh", 0.0);
        set(feather + ".outputFeatherMesh", 1.0);
        build(feather);
        const std::vector<featherGeometry>& built = featherNode(feather).builtFeathers();
        lastFeatherCount = built.size();
        lastCurveCount = barbuleCurves(built);
        lastMeshPoints = meshPoints(built);
        return bytesOf(built);
    }

    const quilloSystem& systemNode() {
        return *static_cast<quilloSystem*>(MFnDependencyNode(scene.findNode(system)).userNode());
    }

    const std::string system = "quilloSystemShape1";
    const std::string feather = "quilloShape";
    size_t lastFeatherCount = 0;
    size_t lastCurveCount = 0;
    size_t lastMeshPoints = 0;
};

TEST_F(ParallelBuildTest, SystemFeathersAreTheSameOnAnyNumberOfWorkers) {
    set(system + ".outputFeatherMesh", 1.0);
    const auto oneWorker = systemBuild(1);
    // Enough feathers, barbules and mesh points that every worker gets work and every field is
    // compared with something in it.
    ASSERT_GT(lastFeatherCount, 16u);
    ASSERT_GT(lastCurveCount, lastFeatherCount);
    ASSERT_GT(lastMeshPoints, 0u);

    for (unsigned int workers : {2u, 8u}) {
        const auto parallel = systemBuild(workers);
        ASSERT_EQ(parallel.size(), oneWorker.size()) << workers << " workers";
        for (size_t k = 0; k < oneWorker.size(); ++k)
            ASSERT_TRUE(parallel[k] == oneWorker[k])
                << "feather " << k << ", " << workers << " workers";
    }
}

TEST_F(ParallelBuildTest, SystemFeathersWithoutMeshesAreTheSameOnAnyNumberOfWorkers) {
    set(system + ".displayBarbuleQuality", 60.0);
    const auto oneWorker = systemBuild(1);
    ASSERT_GT(lastFeatherCount, 16u);
    EXPECT_EQ(lastMeshPoints, 0u);
    EXPECT_TRUE(systemBuild(8) == oneWorker);
    EXPECT_TRUE(systemBuild(2) == oneWorker);
}

TEST_F(ParallelBuildTest, FeatherNodeFeathersAreTheSameOnAnyNumberOfWorkers) {
    // Guide surfaces plus a dozen turtles with a seed per input, so that the builds differ in
    // path, seed and description seed.
    std::vector<testTurtle> turtles;
    for (int k = 0; k < 12; ++k) {
        testTurtle turtle;
        turtle.points = 4 + static_cast<unsigned int>(k % 4);
        turtle.root = MVector(0.5 * k, 0.0, 0.25 * k);
        turtle.along = MVector(1.0, 0.1 * k, 0.0);
        turtle.u = 0.05f * static_cast<float>(k);
        turtles.push_back(turtle);
    }
    setTurtleArray(feather, 0, turtles);
    set(feather + ".multiInstances", 1.0);

    const auto oneWorker = featherNodeBuild(1);
    ASSERT_EQ(lastFeatherCount, 15u) << "three guide surfaces and twelve turtles";
    ASSERT_GT(lastCurveCount, lastFeatherCount);
    ASSERT_GT(lastMeshPoints, 0u);
    for (unsigned int workers : {2u, 8u}) {
        const auto parallel = featherNodeBuild(workers);
        ASSERT_EQ(parallel.size(), oneWorker.size()) << workers << " workers";
        for (size_t k = 0; k < oneWorker.size(); ++k)
            ASSERT_TRUE(parallel[k] == oneWorker[k])
                << "feather " << k << ", " << workers << " workers";
    }
    // Each input has its own seed, so no two feathers may coincide: a worker reusing another
    // feather's description seed would show here.
    for (size_t k = 1; k < oneWorker.size(); ++k)
        EXPECT_FALSE(oneWorker[k] == oneWorker[k - 1]) << "feathers " << k - 1 << " and " << k;
}

} // namespace
