// Long sessions: the plug-in loaded and unloaded many times, and a scene using every node type
// built, evaluated and deleted a thousand times, with File > New between. Memory must come
// back each time; the sanitized build runs the same loops under LeakSanitizer.

#include "fullSceneFixture.h"

#include "plugin/plugin.h"
#include "plugin/sharedObjects.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <gtest/gtest.h>

#include <memory>

extern "C" MStatus initializePlugin(MObject obj);
extern "C" MStatus uninitializePlugin(MObject obj);

namespace {

// Growth allowed between the end of the warm-up and the end of the loop: far below what a
// leak of a node, a feather or a registry entry per round would add, far above allocator
// noise.
constexpr std::size_t heapSlack = 512 * 1024;
constexpr std::size_t residentSlack = 32 * 1024 * 1024;

void expectStable(std::size_t heapAfterWarmUp, std::size_t residentAfterWarmUp, int rounds) {
    const std::size_t heap = heapInUse();
    EXPECT_LE(heap, heapAfterWarmUp + heapSlack)
        << "heap grew by " << (heap - heapAfterWarmUp) << " bytes over " << rounds << " rounds";
    // With AddressSanitizer freed blocks sit in its quarantine, so the resident size grows
    // anyway; LeakSanitizer checks that run instead.
    if (!addressSanitized()) {
        const std::size_t resident = residentBytes();
        EXPECT_LE(resident, residentAfterWarmUp + residentSlack)
            << "resident size grew by " << (resident - residentAfterWarmUp) << " bytes";
    }
}

TEST(PluginSoak, LoadsAndUnloadsAHundredTimesWithANodeEachTime) {
    host::addScriptPath(QUILLO_SOURCE_DIR "/mel");
    host::Scene& scene = host::Scene::current();
    host::MessageCapture quiet;
    const std::size_t baseNodes = scene.nodeNames().size();
    std::size_t heapAfterWarmUp = 0, residentAfterWarmUp = 0;
    const int rounds = 100, warmUp = 10;
    for (int round = 0; round < rounds; ++round) {
        MObject plugin(std::make_shared<host::Plugin>());
        host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
        ASSERT_TRUE(initializePlugin(plugin)) << "round " << round;
        host::Plugin::setActive(nullptr);
        std::string feather;
        ASSERT_TRUE(scene.createNode("quillo", "", "", &feather)) << scene.lastError();
        ASSERT_TRUE(scene.evaluate(feather + ".outputMesh")) << scene.lastError();
        ASSERT_TRUE(scene.deleteNode(feather)) << scene.lastError();
        scene.fileNew();
        ASSERT_TRUE(uninitializePlugin(plugin)) << "round " << round;
        EXPECT_EQ(theFeatherGenerator, nullptr);
        EXPECT_EQ(turtleRegistry, nullptr);
        ASSERT_EQ(scene.nodeNames().size(), baseNodes) << "round " << round;
        if (round + 1 == warmUp) {
            heapAfterWarmUp = heapInUse();
            residentAfterWarmUp = residentBytes();
        }
    }
    expectStable(heapAfterWarmUp, residentAfterWarmUp, rounds - warmUp);
}

TEST_F(FullSceneTest, EveryNodeTypeCreatedEvaluatedAndDeletedAThousandTimes) {
    host::MessageCapture quiet;
    const std::size_t baseNodes = scene.nodeNames().size();
    std::size_t heapAfterWarmUp = 0, residentAfterWarmUp = 0;
    const int rounds = 1000, warmUp = 50;
    for (int round = 0; round < rounds; ++round) {
        const fullScene s = createFullScene();
        ASSERT_TRUE(evaluateAll(s)) << "round " << round;
        if (round == 0) {
            // The scene really builds: a soak over empty computes would prove nothing.
            EXPECT_FALSE(featherNode(s.feather).builtFeathers().empty());
            EXPECT_EQ(quiet.count(host::MessageKind::kError), 0u);
        }
        // A feather node goes with its last outgoing connection (the system's), so each node
        // is deleted only if still there.
        for (const std::string& node : s.nodes()) {
            if (!scene.findNode(node).isNull()) {
                ASSERT_TRUE(scene.deleteNode(node)) << node << ": " << scene.lastError();
            }
        }
        scene.fileNew();
        ASSERT_EQ(scene.nodeNames().size(), baseNodes) << "round " << round;
        EXPECT_EQ(turtleEntries(), 0) << "round " << round;
        EXPECT_EQ(descriptionEntries(), 0) << "round " << round;
        if (round + 1 == warmUp) {
            heapAfterWarmUp = heapInUse();
            residentAfterWarmUp = residentBytes();
        }
    }
    expectStable(heapAfterWarmUp, residentAfterWarmUp, rounds - warmUp);
}

} // namespace
