// The Quillo menu on a real scene: the plug-in loads, sources its scripts and builds the menu;
// each item's procedure is run on a small scene and the nodes and connections it made are
// checked.

#include "componentMeshes.h"
#include "featherNodeFixture.h"
#include "nodes/system/quilloSystem.h"
#include "plugin/plugin.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/ui.h>

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnSet.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MSelectionList.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

extern "C" MStatus initializePlugin(MObject obj);
extern "C" MStatus uninitializePlugin(MObject obj);

namespace {

using host::MelValue;
using host::MessageKind;
using Strings = std::vector<std::string>;

class MelMenuTest : public FeatherNodeTest {
  protected:
    static void SetUpTestSuite() {
        FeatherNodeTest::SetUpTestSuite();
        host::Scene::registerMelCommands();
    }
    static void TearDownTestSuite() { host::Scene::deregisterMelCommands(); }

    // Runs MEL that must succeed, with the errors it showed in the failure message.
    MelValue mel(const std::string& text) {
        host::MessageCapture capture;
        MelValue result;
        MStatus status = host::melExecute(text, &result);
        EXPECT_EQ(status, MS::kSuccess)
            << text << "\n"
            << testing::PrintToString(capture.texts(MessageKind::kError));
        errors = capture.texts(MessageKind::kError);
        warnings = capture.texts(MessageKind::kWarning);
        return result;
    }
    // Runs MEL that must fail; its errors are kept in `errors`.
    void melFails(const std::string& text) {
        host::MessageCapture capture;
        EXPECT_EQ(host::melExecute(text), MS::kFailure) << text;
        errors = capture.texts(MessageKind::kError);
    }
    std::string allErrors() const { return testing::PrintToString(errors); }

    // The source plugs of a destination plug, as "node.attribute" with short node names.
    Strings sourcesOf(const std::string& plug) {
        return mel("listConnections -source true -destination false -plugs true \"" + plug + "\"")
            .asStringArray();
    }
    // A set's members: shape names, and "shape.f[i]" per face of a face member.
    Strings membersOf(const std::string& set) {
        MFnSet fn(scene.findNode(set));
        MSelectionList members;
        EXPECT_TRUE(fn.getMembers(members, false));
        Strings names;
        for (unsigned int i = 0; i < members.length(); ++i) {
            MDagPath path;
            MObject component;
            EXPECT_TRUE(members.getDagPath(i, path, component));
            std::string shape = MFnDependencyNode(path.node()).name().asChar();
            if (component.isNull()) {
                names.push_back(shape);
                continue;
            }
            MFnSingleIndexedComponent faces(component);
            for (int k = 0; k < faces.elementCount(); ++k)
                names.push_back(shape + ".f[" + std::to_string(faces.element(k)) + "]");
        }
        return names;
    }
    // Evaluates the system's "outFeatherMesh"; the number of feathers it then holds.
    size_t grow(const std::string& system) {
        MPlug out;
        EXPECT_TRUE(scene.findPlug(system + ".outFeatherMesh", out));
        MObject mesh;
        out.getValue(mesh);
        MFnDependencyNode fn(scene.findNode(system));
        return static_cast<quilloSystem*>(fn.userNode())->builtFeathers().size();
    }
    std::string systemOf(const std::string& systemShape) {
        return host::Scene::current().parentOf(systemShape);
    }

    Strings errors, warnings;
};

TEST_F(MelMenuTest, TheMenuComesWithThePluginAndGoesWithIt) {
    // Loaded by the fixture: every item runs a procedure the scripts define.
    ASSERT_TRUE(host::ui::menuExists("quilloMainMenu"));
    Strings labels = host::ui::itemLabels("quilloMainMenu");
    for (const char* label : {"Create Feather", "Connect Guide Surfaces", "Create Feather System",
                              "Create Component", "Create Render Globals", "Export Feathers..."}) {
        std::string item = host::ui::findItemByLabel("quilloMainMenu", label);
        ASSERT_NE(item, "") << label;
        EXPECT_TRUE(host::melProcedureExists(host::ui::element(item)->command)) << label;
    }
    {
        host::MessageCapture quiet;
        uninitializePlugin(plugin);
    }
    EXPECT_FALSE(host::ui::menuExists("quilloMainMenu"));
    EXPECT_TRUE(host::ui::findItemByLabel("quilloMainMenu", "Create Feather").empty());

    // Loading again builds it again, with no error shown.
    host::MessageCapture capture;
    host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
    ASSERT_TRUE(initializePlugin(plugin));
    host::Plugin::setActive(nullptr);
    EXPECT_EQ(capture.count(MessageKind::kError), 0u)
        << testing::PrintToString(capture.texts(MessageKind::kError));
    EXPECT_EQ(host::ui::itemLabels("quilloMainMenu"), labels);
}

TEST_F(MelMenuTest, CreateFeatherFromTheMenuMakesASelectedLocatorUnderATransform) {
    ASSERT_EQ(
        host::ui::invokeMenuItem(host::ui::findItemByLabel("quilloMainMenu", "Create Feather")),
        MS::kSuccess);
    ASSERT_EQ(scene.typeOf("quilloShape1"), "quillo");
    EXPECT_EQ(scene.typeOf(scene.parentOf("quilloShape1")), "transform");
    EXPECT_EQ(mel("ls -selection").asStringArray(), Strings{"quilloShape1"});
    EXPECT_EQ(mel("quilloCreateFeather").asString(), "quilloShape2");
    EXPECT_EQ(scene.parentOf("quilloShape2"), "quillo2");
}

TEST_F(MelMenuTest, ConnectGuideSurfacesBuildsOneFeatherPerGuide) {
    std::string feather = mel("quilloCreateFeather").asString();
    std::string wing = createGuide("wing");
    std::string tail = createGuide("tail", MPoint(0, 0, 3));
    mel("select -replace " + feather + " wing tail; quilloConnectGuideSurfaces;");
    EXPECT_EQ(sourcesOf(feather + ".guidSurfaceInfo[0].guidSurface"),
              Strings{wing + ".worldSpace[0]"});
    EXPECT_EQ(sourcesOf(feather + ".guidSurfaceInfo[1].guidSurface"),
              Strings{tail + ".worldSpace[0]"});
    build(feather);
    EXPECT_EQ(featherNode(feather).builtFeathers().size(), 2u);

    // Already connected guides are skipped; nothing selected to guide is an error.
    mel("select -replace " + feather + " wing; quilloConnectGuideSurfaces;");
    EXPECT_EQ(mel("getAttr -multiIndices " + feather + ".guidSurfaceInfo").asIntArray(),
              (std::vector<int>{0, 1}));
    melFails("select -replace " + feather + "; quilloConnectGuideSurfaces;");
    EXPECT_NE(allErrors().find("select the NURBS surfaces"), std::string::npos) << allErrors();
}

TEST_F(MelMenuTest, CreateFeatherSystemOnASurfaceBorrowsTheSelectedFeather) {
    std::string feather = mel("quilloCreateFeather").asString();
    std::string body = createGuide("body", MPoint(), 4.0, 4.0);
    mel("select -replace body " + feather);
    std::string system = mel("quilloCreateFeatherSystem").asString();
    ASSERT_EQ(scene.typeOf(system), "quilloSystem");
    EXPECT_EQ(scene.typeOf(systemOf(system)), "transform");
    EXPECT_EQ(sourcesOf(system + ".inRenderFeather"), Strings{feather + ".featherInfoID"});
    EXPECT_EQ(sourcesOf(system + ".inputGrowSurface"), Strings{body + ".worldSpace[0]"});
    EXPECT_TRUE(sourcesOf(system + ".inputGrowMesh").empty());
    Strings set = sourcesOf(system + ".growthSet");
    ASSERT_EQ(set.size(), 1u);
    std::string setName = set[0].substr(0, set[0].find('.'));
    EXPECT_EQ(scene.typeOf(setName), "objectSet");
    EXPECT_EQ(membersOf(setName), Strings{"bodyShape"});
    EXPECT_EQ(mel("ls -selection").asStringArray(), Strings{system});

    // What the item connected is enough for the system to grow feathers once the feather node
    // it borrows from has a guide.
    mel("select -replace " + feather + " " + createGuide("guide", MPoint(0, 0, 6)) +
        "; quilloConnectGuideSurfaces;");
    build(feather);
    EXPECT_GT(grow(system), 0u);
}

TEST_F(MelMenuTest, CreateFeatherSystemOnMeshFacesPutsTheFacesInTheSet) {
    mel("quilloCreateFeather; quilloCreateFeather;");
    std::string mesh = addMeshShape(scene, "skin", stripMesh(4));
    mel("select -replace quilloShape2 " + createGuide("guide") + "; quilloConnectGuideSurfaces;");
    build("quilloShape2");
    // Two feather nodes, none selected: the dialog picks; headless, its queued answer.
    host::ui::queueDialogAnswer({"quilloShape2", ""});
    mel("select -replace skin.f[1:2]");
    const size_t dialogs = host::ui::shownDialogs().size();
    std::string system = mel("quilloCreateFeatherSystem").asString();
    ASSERT_FALSE(system.empty());
    ASSERT_EQ(host::ui::shownDialogs().size(), dialogs + 1);
    EXPECT_EQ(host::ui::shownDialogs().back().buttons,
              (Strings{"quilloShape1", "quilloShape2", "Cancel"}));
    EXPECT_EQ(sourcesOf(system + ".inRenderFeather"), Strings{"quilloShape2.featherInfoID"});
    EXPECT_EQ(sourcesOf(system + ".inputGrowMesh"), Strings{mesh + ".worldMesh[0]"});
    std::string set = sourcesOf(system + ".growthSet")[0];
    set = set.substr(0, set.find('.'));
    // The faces are members of the shape, though they were picked through the transform.
    EXPECT_EQ(membersOf(set), (Strings{mesh + ".f[1]", mesh + ".f[2]"}));
    EXPECT_GT(grow(system), 0u);

    // Cancelling the dialog creates nothing; without a dialog the default is the first node.
    host::ui::queueDialogAnswer({"Cancel", ""});
    EXPECT_EQ(mel("select -replace skin; quilloCreateFeatherSystem").asString(), "");
    EXPECT_EQ(mel("ls -type quilloSystem").asStringArray().size(), 1u);
    std::string second = mel("quilloCreateFeatherSystem").asString();
    EXPECT_EQ(sourcesOf(second + ".inRenderFeather"), Strings{"quilloShape1.featherInfoID"});
}

TEST_F(MelMenuTest, CreateFeatherSystemNeedsGrowthGeometryAndAFeather) {
    createGuide("body");
    melFails("select -replace body; quilloCreateFeatherSystem");
    EXPECT_NE(allErrors().find("create a feather node first"), std::string::npos) << allErrors();
    mel("quilloCreateFeather");
    melFails("select -clear; quilloCreateFeatherSystem");
    EXPECT_NE(allErrors().find("select a NURBS surface or a mesh"), std::string::npos)
        << allErrors();
    EXPECT_TRUE(mel("ls -type quilloSystem").asStringArray().empty());
    EXPECT_TRUE(mel("ls -type objectSet").asStringArray().empty());
}

TEST_F(MelMenuTest, CreateComponentFollowsThePickedVerticesAndGuidesTheSelectedFeather) {
    std::string mesh = addMeshShape(scene, "strip", stripMesh(4));
    std::string feather = mel("quilloCreateFeather").asString();
    mel("select -replace strip.vtx[0] strip.vtx[2] strip.vtx[4] " + feather);
    std::string component = mel("quilloCreateComponent").asString();
    ASSERT_EQ(scene.typeOf(component), "quilloComponent");
    EXPECT_EQ(mel("getAttr " + component + ".vertexGroup").asString(), "0 2 4");
    EXPECT_EQ(sourcesOf(component + ".inMesh"), Strings{mesh + ".worldMesh[0]"});
    EXPECT_EQ(sourcesOf(feather + ".inFeatherTurtleData[0]"),
              Strings{component + ".outFeatherTurtleData"});
    build(feather);
    EXPECT_EQ(featherNode(feather).builtFeathers().size(), 1u);

    // A range selection counts vertex by vertex; the next component takes the next input.
    mel("select -replace strip.vtx[1:3] " + feather);
    std::string second = mel("quilloCreateComponent").asString();
    EXPECT_EQ(mel("getAttr " + second + ".vertexGroup").asString(), "1 2 3");
    EXPECT_EQ(sourcesOf(feather + ".inFeatherTurtleData[1]"),
              Strings{second + ".outFeatherTurtleData"});

    melFails("select -replace strip.vtx[1]; quilloCreateComponent");
    EXPECT_NE(allErrors().find("two or more vertices"), std::string::npos) << allErrors();
}

TEST_F(MelMenuTest, RenderGlobalsAreCreatedOnceAndSelected) {
    ASSERT_EQ(host::ui::invokeMenuItem(
                  host::ui::findItemByLabel("quilloMainMenu", "Create Render Globals")),
              MS::kSuccess);
    EXPECT_EQ(mel("ls -type quilloGlobals").asStringArray(), Strings{"quilloGlobals"});
    EXPECT_EQ(mel("quilloCreateRenderGlobals").asString(), "quilloGlobals");
    EXPECT_EQ(mel("ls -type quilloGlobals").asStringArray(), Strings{"quilloGlobals"});
    EXPECT_EQ(mel("ls -selection").asStringArray(), Strings{"quilloGlobals"});
}

TEST_F(MelMenuTest, ExportWritesTheFileTheDialogNames) {
    std::string feather = mel("quilloCreateFeather").asString();
    createGuide("wing");
    mel("select -replace " + feather + " wing; quilloConnectGuideSurfaces;");
    build(feather);

    const std::string path =
        testing::TempDir() + "quilloMenuExport_" + std::to_string(::getpid()) + ".rib";
    std::remove(path.c_str());
    host::MessageCapture capture;
    // Cancelled (the headless default): nothing is written.
    ASSERT_EQ(
        host::ui::invokeMenuItem(host::ui::findItemByLabel("quilloMainMenu", "Export Feathers...")),
        MS::kSuccess);
    EXPECT_FALSE(std::ifstream(path).good());

    host::ui::queueDialogAnswer({"Export", path});
    ASSERT_EQ(
        host::ui::invokeMenuItem(host::ui::findItemByLabel("quilloMainMenu", "Export Feathers...")),
        MS::kSuccess);
    std::ifstream written(path);
    ASSERT_TRUE(written.good()) << path;
    std::stringstream text;
    text << written.rdbuf();
    EXPECT_FALSE(text.str().empty());
    EXPECT_TRUE(capture.contains(MessageKind::kOutput, path));
    EXPECT_EQ(capture.count(MessageKind::kError), 0u);
    std::remove(path.c_str());
}

TEST_F(MelMenuTest, ExportWithoutFeathersOnlyWarns) {
    const std::string path =
        testing::TempDir() + "quilloMenuEmpty_" + std::to_string(::getpid()) + ".rib";
    EXPECT_EQ(mel("quilloExportRenderFeathersTo(\"" + path + "\")").asInt(), 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("no feathers to export"), std::string::npos);
    EXPECT_FALSE(std::ifstream(path).good());
}

} // namespace
