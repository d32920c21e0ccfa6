#include "fullSceneFixture.h"

#include "componentMeshes.h"

#include <host/image.h>
#include <host/viewport.h>

#include <maya/MFnSet.h>
#include <maya/MSelectionList.h>

#include <fstream>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLO_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLO_TEST_ASAN 1
#endif
#endif

#ifdef QUILLO_TEST_ASAN
// From the sanitizer runtime's allocator interface (gcc installs no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

std::vector<std::string> fullScene::nodes() const {
    return {system,
            "systemTransform",
            "systemGrowthSet",
            growth,
            globals,
            array,
            component,
            mesh,
            feather,
            guide};
}

fullScene FullSceneTest::createFullScene() {
    fullScene s;
    s.feather = createFeatherNode();
    EXPECT_TRUE(scene.setAttr(s.feather + ".barbuleNum", 20.0)) << scene.lastError();
    s.guide = createGuide("guide");
    connectGuide(s.guide, s.feather, 0);

    s.mesh = addMeshShape(scene, "strip", stripMesh(4));
    EXPECT_TRUE(scene.createNode("quilloComponent", "", "", &s.component)) << scene.lastError();
    EXPECT_TRUE(scene.connectAttr(s.mesh + ".worldMesh[0]", s.component + ".inMesh"));
    EXPECT_TRUE(scene.setAttr(s.component + ".vertexGroup", std::string("0:6")));
    EXPECT_TRUE(scene.connectAttr(s.component + ".outFeatherTurtleData",
                                  s.feather + ".inFeatherTurtleData[0]"))
        << scene.lastError();

    EXPECT_TRUE(scene.createNode("quilloComponentArray", "", "", &s.array)) << scene.lastError();
    EXPECT_TRUE(scene.connectAttr(s.mesh + ".worldMesh[0]", s.array + ".inMesh[0]"));
    EXPECT_TRUE(scene.connectAttr(s.mesh + ".worldMesh[0]", s.array + ".inGrowMesh"));
    EXPECT_TRUE(scene.setAttr(s.array + ".vertexGroup", std::string("0:4")));
    EXPECT_TRUE(scene.setAttr(s.array + ".walkStep", 2.0));
    EXPECT_TRUE(scene.connectAttr(s.array + ".outFeatherTurtleDataArray",
                                  s.feather + ".inFeatherTurtleArrayData[0]"))
        << scene.lastError();

    s.system = "system";
    EXPECT_TRUE(scene.createNode("transform", "systemTransform")) << scene.lastError();
    EXPECT_TRUE(scene.createNode("quilloSystem", s.system, "systemTransform")) << scene.lastError();
    EXPECT_TRUE(scene.connectAttr(s.feather + ".featherInfoID", s.system + ".inRenderFeather"));
    EXPECT_TRUE(scene.setAttr(s.system + ".displayQuality", 100.0));
    EXPECT_TRUE(scene.setAttr(s.system + ".uSegment", 3.0));
    EXPECT_TRUE(scene.setAttr(s.system + ".vSegment", 3.0));
    s.growth = createGuide("growth", MPoint(-2, 0, -4), 4.0, 2.0);
    const std::string set = "systemGrowthSet";
    EXPECT_TRUE(scene.createNode("objectSet", set)) << scene.lastError();
    MSelectionList members;
    EXPECT_TRUE(members.add(MString(s.growth.c_str())));
    EXPECT_TRUE(MFnSet(scene.findNode(set)).addMembers(members));
    EXPECT_TRUE(scene.connectAttr(set + ".message", s.system + ".growthSet"));
    EXPECT_TRUE(scene.connectAttr(s.growth + ".worldSpace[0]", s.system + ".inputGrowSurface"));

    EXPECT_TRUE(scene.createNode("quilloGlobals", "", "", &s.globals)) << scene.lastError();
    return s;
}

::testing::AssertionResult FullSceneTest::evaluateAll(const fullScene& s) {
    for (const std::string& plug :
         {s.component + ".outFeatherTurtleData", s.component + ".outVertexGroup",
          s.array + ".outFeatherTurtleDataArray", s.feather + ".outputMesh",
          s.feather + ".featherInfoID", s.system + ".outFeatherMesh"})
        if (!scene.evaluate(plug))
            return ::testing::AssertionFailure() << plug << ": " << scene.lastError();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FullSceneTest::drawAll() {
    host::ViewSettings settings;
    settings.width = 64;
    settings.height = 48;
    host::Image image;
    if (!host::renderView(settings, image))
        return ::testing::AssertionFailure() << "the view could not be drawn";
    return ::testing::AssertionSuccess();
}

std::size_t heapInUse() {
#ifdef QUILLO_TEST_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

bool addressSanitized() {
#ifdef QUILLO_TEST_ASAN
    return true;
#else
    return false;
#endif
}
