// The plug-in's entry and exit and its shared objects across scene events, driven the way the
// host drives them.

#include "callbacks/callbackRegistry.h"
#include "feather/featherGenerator.h"
#include "feather/idRegistry.h"
#include "graph/nodeType.h"
#include "plugin/plugin.h"
#include "plugin/sharedObjects.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>
#include <host/ui.h>

#include <maya/MGlobal.h>
#include <maya/MObject.h>
#include <maya/MSceneMessage.h>

#include <gtest/gtest.h>

#include <memory>
#include <regex>

extern "C" MStatus initializePlugin(MObject obj);
extern "C" MStatus uninitializePlugin(MObject obj);

namespace {

class PluginLifecycleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { host::addScriptPath(QUILLO_SOURCE_DIR "/mel"); }
    void SetUp() override { plugin = MObject(std::make_shared<host::Plugin>()); }
    void TearDown() override {
        if (loaded)
            unload();
        host::Scene::current().fileNew();
    }
    void load() {
        host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
        ASSERT_TRUE(initializePlugin(plugin));
        host::Plugin::setActive(nullptr);
        loaded = true;
    }
    void unload() {
        ASSERT_TRUE(uninitializePlugin(plugin));
        loaded = false;
    }
    static std::vector<int> takeIds(idRegistry* registry, int count) {
        std::vector<int> ids;
        for (int i = 0; i < count; ++i)
            ids.push_back(registry->allocateId());
        return ids;
    }

    MObject plugin;
    bool loaded = false;
};

TEST_F(PluginLifecycleTest, LoadRegistersEverythingAndShowsTheInfoLine) {
    host::MessageCapture capture;
    load();
    EXPECT_EQ(capture.texts(host::MessageKind::kInfo),
              std::vector<std::string>{"quillo 1.6.5 loaded!"});
    EXPECT_EQ(capture.count(host::MessageKind::kError), 0u) << "scripts and menu load cleanly";
    auto& types = host::TypeRegistry::instance();
    for (const char* name :
         {"quillo", "quilloGlobals", "quilloSystem", "quilloComponent", "quilloComponentArray"})
        EXPECT_NE(types.findNode(name), nullptr) << name;
    EXPECT_EQ(types.findNode("quillo")->id.id(), 528432u);
    EXPECT_EQ(types.findNode("quilloComponentArray")->id.id(), 528441u);
    EXPECT_EQ(types.findData("featherTurtleData")->id.id(), 528438u);
    EXPECT_EQ(types.findData("featherTurtleArrayData")->id.id(), 528440u);
    EXPECT_EQ(types.findNode("quilloSystem")->kind, MPxNode::kLocatorNode);
    EXPECT_EQ(types.findNode("quilloGlobals")->kind, MPxNode::kDependNode);

    ASSERT_NE(theFeatherGenerator, nullptr);
    ASSERT_NE(descriptionRegistry, nullptr);
    ASSERT_NE(turtleRegistry, nullptr);
    EXPECT_EQ(descriptionRegistry->bucketCount(), 5);
    EXPECT_EQ(turtleRegistry->bucketCount(), 10);
    EXPECT_EQ(descriptionRegistry->poolLimit(), 20);
    EXPECT_EQ(turtleRegistry->poolLimit(), 1024);

    capture.clear();
    unload();
    EXPECT_EQ(capture.texts(host::MessageKind::kInfo),
              std::vector<std::string>{"quillo 1.6.5 unloaded!"});
    EXPECT_EQ(types.findNode("quillo"), nullptr);
    EXPECT_EQ(types.findData("featherTurtleData"), nullptr);
    EXPECT_EQ(theFeatherGenerator, nullptr);
    EXPECT_EQ(descriptionRegistry, nullptr);
}

TEST_F(PluginLifecycleTest, UnloadTakesBackEveryCallbackAndTheMenu) {
    size_t before = host::CallbackRegistry::instance().count();
    load();
    EXPECT_EQ(host::CallbackRegistry::instance().count(), before + 8)
        << "four node-removed, four scene";
    EXPECT_TRUE(host::ui::menuExists("quilloMainMenu"));
    unload();
    EXPECT_EQ(host::CallbackRegistry::instance().count(), before);
    EXPECT_FALSE(host::ui::menuExists("quilloMainMenu"));
}

TEST_F(PluginLifecycleTest, NewSceneRebuildsOpenFlushesExitDestroys) {
    load();
    EXPECT_EQ(takeIds(descriptionRegistry, 3), (std::vector<int>{0, 1, 2}));
    // File > Open keeps the registries: ids go on counting.
    int keyA = 0, keyB = 1;
    descriptionRegistry->insert(&keyA, &keyA);
    descriptionRegistry->insert(&keyB, &keyB);
    descriptionRegistry->remove(&keyA);
    EXPECT_EQ(descriptionRegistry->freeNodeCount(), 1);
    host::Scene::current().sendMessage(MSceneMessage::kAfterOpen);
    EXPECT_EQ(descriptionRegistry->freeNodeCount(), 0) << "spare pool emptied";
    EXPECT_EQ(descriptionRegistry->poolLimit(), 20);
    EXPECT_EQ(descriptionRegistry->find(&keyB), &keyB) << "entries untouched";
    EXPECT_EQ(takeIds(descriptionRegistry, 2), (std::vector<int>{0, 3}))
        << "released id first, then the count goes on";

    // File > New: fresh registries and generator, ids from 0 again.
    theFeatherGenerator->seed(99);
    host::Scene::current().fileNew();
    EXPECT_EQ(takeIds(descriptionRegistry, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(takeIds(turtleRegistry, 1), (std::vector<int>{0}));
    featherGenerator reference;
    EXPECT_EQ(theFeatherGenerator->nextRandom(), reference.nextRandom()) << "generator reset";

    // Exiting destroys them; a second exit message finds nothing to destroy.
    host::Scene::current().sendMessage(MSceneMessage::kMayaExiting);
    EXPECT_EQ(theFeatherGenerator, nullptr);
    EXPECT_EQ(descriptionRegistry, nullptr);
    EXPECT_EQ(turtleRegistry, nullptr);
    host::Scene::current().sendMessage(MSceneMessage::kMayaExiting);
    unload();
}

TEST_F(PluginLifecycleTest, LoadingAgainGivesFreshSharedObjects) {
    load();
    takeIds(descriptionRegistry, 4);
    unload();
    load();
    EXPECT_EQ(takeIds(descriptionRegistry, 1), std::vector<int>{0});
}

TEST_F(PluginLifecycleTest, AFailedRegistrationIsReportedAndLoadingGoesOn) {
    // Another type already holds the name "quilloSystem".
    std::string error;
    auto& types = host::TypeRegistry::instance();
    ASSERT_TRUE(types.registerNode(
        "quilloSystem", MTypeId(0x7f0f0), [] { return static_cast<void*>(new MPxNode); }, nullptr,
        MPxNode::kDependNode, nullptr, &error));
    host::MessageCapture capture;
    testing::internal::CaptureStderr();
    load();
    std::string stderrText = testing::internal::GetCapturedStderr();
    std::smatch match;
    EXPECT_TRUE(std::regex_search(
        stderrText, match, std::regex("\nAPI error detected in pluginMain at line [0-9]+\n")))
        << stderrText;
    EXPECT_EQ(capture.texts(host::MessageKind::kInfo),
              std::vector<std::string>{"quillo 1.6.5 loaded!"});
    EXPECT_NE(types.findNode("quilloComponent"), nullptr) << "later registrations still run";
    EXPECT_NE(theFeatherGenerator, nullptr);
    unload();
    ASSERT_TRUE(types.deregisterNode(MTypeId(0x7f0f0), &error));
}

} // namespace
