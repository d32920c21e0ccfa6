// Maya ASCII scenes: the real files in shared/scenes/maya open, report their nodes, save and open
// again to the same scene; values keep their units, locks, dynamic attributes and escapes;
// geometry the files store evaluates; history the host does not evaluate is reported.

#include "mayaAsciiFixture.h"

#include <maya/MCallbackIdArray.h>
#include <maya/MDGMessage.h>
#include <maya/MDagPath.h>
#include <maya/MFileIO.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MMessage.h>
#include <maya/MPlug.h>
#include <maya/MPoint.h>
#include <maya/MSceneMessage.h>

#include <chrono>
#include <cmath>
#include <algorithm>
#include <regex>
#include <set>

namespace {

// The nodes a file creates with createNode: name -> type.
struct CreatedNode {
    std::string type, name, parent; // parent as written, "" when none
    // The path that names the node: its name under the parent as written.
    std::string path() const { return parent.empty() ? name : parent + "|" + name; }
};

std::vector<CreatedNode> createdNodes(const std::string& text) {
    std::vector<CreatedNode> nodes;
    std::regex pattern("createNode (\\w+)[^;]*? -(?:n|name) \"([^\"]+)\"(?:[^;]*? -(?:p|parent) "
                       "\"([^\"]+)\")?");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        nodes.push_back({(*it)[1], (*it)[2], (*it)[3]});
    return nodes;
}

// (name, parent) of every node a file creates.
std::multiset<std::pair<std::string, std::string>> namesAndParents(const std::string& text) {
    std::multiset<std::pair<std::string, std::string>> pairs;
    for (const CreatedNode& node : createdNodes(text))
        pairs.emplace(node.name, node.parent);
    return pairs;
}

struct SharedScene {
    const char* file;
    // Fragments of the errors the file must give, in order: what the host cannot take.
    std::vector<std::string> errors;
    // Fragments of warnings the file must give.
    std::vector<std::string> warnings;
};

const SharedScene kSharedScenes[] = {
    {"cgkit_objects.ma",
     {},
     {"cgkit_objects.ma line 88: 'pCubeShape1' gets its geometry from the construction history "
      "node 'polyCube1' (polyCube)"}},
    {"rigbuilder_cube2011.ma", {}, {}},
    {"mayatools_createPlane.ma", {}, {}},
    {"mayatools_createRig.ma", {}, {}},
    {"mayatools_setupCPOS.ma", {}, {}},
    // The file adds testRed to testColor twice; Maya refuses the second one too.
    {"studiolib_sphere.ma",
     {"studiolib_sphere.ma line 103: addAttr: 'sphere' already has an attribute named 'testRed'."},
     {"line 380: 'sphereShape' gets its geometry from the construction history node "
      "'srcPolySphere'",
      "line 382: 'pCubeShape1' gets its geometry from the construction history node 'polyCube1'",
      "'sphere.testColor' has 2 of the 3 children"}},
    {"anim_pre_post_infinity_locator_maya2017_win.ma", {}, {}},
    {"anim_tangents_weighted_locators_maya2017_win.ma", {}, {}},
    {"blendshape_squash_skin_anim_maya2020_mac.ma", {}, {}},
    {"longnames_skin_deltamush_maya2022_win.ma", {}, {}},
    {"mesh_two_uvsets_exportsel_maya2024.ma", {}, {}},
    {"nurbs_cc_skin_blendshape_maya2016_linux.ma", {}, {}},
    // References found beside the shot, nested, with edits; a referenced file alone.
    {"references/ref_shot_anim_lattice_rig_maya2017_win.ma", {}, {}},
    {"references/testRig.ma", {}, {}},
    {"references/testGeometry.ma", {}, {}},
    {"references/testGpuCache.ma", {}, {}},
    // References by a Windows path that is nowhere here.
    {"ref_shot_bake_connected_sphere_maya2013_linux.ma",
     {},
     {"the reference 'srcSphereRN' is not loaded: its file 'C:/Users/hovel/",
      "the reference 'dstSphereRN' is not loaded"}},
};

bool containsAll(const std::vector<std::string>& texts, const std::vector<std::string>& fragments,
                 std::string& missing) {
    for (const std::string& fragment : fragments) {
        bool found = false;
        for (const std::string& text : texts)
            found = found || text.find(fragment) != std::string::npos;
        if (!found) {
            missing = fragment;
            return false;
        }
    }
    return true;
}

MPlug plugOf(const std::string& name) {
    MPlug plug;
    EXPECT_TRUE(host::Scene::current().findPlug(name, plug)) << name;
    return plug;
}

double number(const std::string& plug) {
    double value = NAN;
    EXPECT_TRUE(host::Scene::current().getAttr(plug, value)) << plug;
    return value;
}

constexpr double kDegree = M_PI / 180.0;

} // namespace

TEST_F(MayaAsciiTest, SharedScenesOpenSaveAndOpenAgainToTheSameScene) {
    SKIP_WITHOUT_SHARED_SCENES();
    for (const SharedScene& shared : kSharedScenes) {
        SCOPED_TRACE(shared.file);
        const std::string path = sharedScene(shared.file);
        const std::string text = read(path);
        ASSERT_FALSE(text.empty()) << "missing test scene " << path;
        messages->clear();
        ASSERT_EQ(scene.openFile(path), MS::kSuccess);
        EXPECT_EQ(scene.currentFile(), path);
        ASSERT_EQ(errors().size(), shared.errors.size()) << joined(errors());
        std::string missing;
        EXPECT_TRUE(containsAll(errors(), shared.errors, missing)) << missing;
        EXPECT_TRUE(containsAll(warnings(), shared.warnings, missing)) << missing << "\n"
                                                                       << joined(warnings());

        // Every node the file creates is there with its type, whether the host knows the type
        // or keeps the node as a generic one.
        const std::vector<CreatedNode> created = createdNodes(text);
        ASSERT_FALSE(created.empty());
        for (const CreatedNode& node : created) {
            // A name the file gives once names the node; shared ones need the path.
            const bool shared = std::count_if(created.begin(), created.end(), [&](auto& other) {
                                    return other.name == node.name;
                                }) > 1;
            const std::string name = shared ? node.path() : node.name;
            EXPECT_EQ(scene.typeOf(name), node.type) << name;
        }
        // Every connectAttr of the file made one connection (references make more).
        const Summary opened = summary();
        size_t connectAttrs = 0;
        for (size_t at = text.find("\nconnectAttr "); at != std::string::npos;
             at = text.find("\nconnectAttr ", at + 1))
            ++connectAttrs;
        if (text.find("\nfile -r ") == std::string::npos) {
            EXPECT_EQ(opened.connections, connectAttrs);
        }

        // The copy is saved elsewhere: its relative references are found through the search
        // path.
        std::string savedName = shared.file;
        std::replace(savedName.begin(), savedName.end(), '/', '_');
        const std::string saved = scratch() + "/" + savedName;
        host::Scene::addReferencePath(path.substr(0, path.rfind('/')));
        const std::vector<std::string> originalErrors = withoutPlaces(errors());
        const std::string openedDump = sceneDump();
        messages->clear();
        ASSERT_EQ(scene.saveFile(saved), MS::kSuccess) << joined(errors());
        EXPECT_TRUE(warnings().empty()) << joined(warnings());
        // Nodes keep the names the file gave them, short names shared under other parents too.
        EXPECT_EQ(namesAndParents(read(saved)), namesAndParents(text));
        messages->clear();
        ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
        // The saved file holds what the host refused as the original did: the same errors.
        EXPECT_EQ(withoutPlaces(errors()), originalErrors) << joined(errors());
        const Summary reopened = summary();
        EXPECT_EQ(reopened.types, opened.types);
        EXPECT_EQ(reopened.parents, opened.parents);
        EXPECT_EQ(reopened.connections, opened.connections);
        // Every value, connection and kept command comes back as it was read.
        EXPECT_EQ(sceneDump(), openedDump);

        // Saving what was read back writes the same file: nothing drifts.
        const std::string again = scratch() + "/again.ma";
        ASSERT_EQ(scene.saveFile(again), MS::kSuccess);
        EXPECT_EQ(withoutStamp(read(again)), withoutStamp(read(saved)));
    }
}

TEST_F(MayaAsciiTest, OpeningSendsItsMessagesAndReadsAsAFile) {
    SKIP_WITHOUT_SHARED_SCENES();
    struct Record {
        std::vector<std::string> events;
        int createdWhileReading = 0, createdOtherwise = 0;
    } record;
    auto onMessage = [](void* data) { static_cast<Record*>(data)->events.push_back("message"); };
    MCallbackIdArray& ids = callbacks;
    ids.append(MSceneMessage::addCallback(
        MSceneMessage::kBeforeOpen,
        [](void* data) { static_cast<Record*>(data)->events.push_back("before"); }, &record));
    ids.append(MSceneMessage::addCallback(
        MSceneMessage::kAfterOpen,
        [](void* data) { static_cast<Record*>(data)->events.push_back("after"); }, &record));
    ids.append(MSceneMessage::addCallback(MSceneMessage::kAfterNew, onMessage, &record));
    ids.append(MDGMessage::addNodeAddedCallback(
        [](MObject&, void* data) {
            auto* r = static_cast<Record*>(data);
            (MFileIO::isReadingFile() ? r->createdWhileReading : r->createdOtherwise)++;
        },
        "dependNode", &record));

    ASSERT_TRUE(scene.createNode("transform", "leftOver"));
    ASSERT_EQ(scene.openFile(sharedScene("rigbuilder_cube2011.ma")), MS::kSuccess);
    MMessage::removeCallbacks(ids);
    ids.clear();

    // Opening is not File > New: no kAfterNew, and what was there before is gone.
    EXPECT_EQ(record.events, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(scene.typeOf("leftOver"), "");
    EXPECT_EQ(record.createdOtherwise, 1);
    EXPECT_GE(record.createdWhileReading, 2);
    EXPECT_FALSE(MFileIO::isReadingFile());
    EXPECT_EQ(std::string(MFileIO::currentFile().asChar()), sharedScene("rigbuilder_cube2011.ma"));
    scene.fileNew();
    EXPECT_EQ(scene.currentFile(), "");
}

TEST_F(MayaAsciiTest, TransformValuesKeepTheirUnits) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("mayatools_createPlane.ma")), MS::kSuccess);
    // Degrees in the file, radians in the host.
    EXPECT_DOUBLE_EQ(number("persp.tx"), 5.4504792117551943);
    EXPECT_DOUBLE_EQ(number("persp.rx"), -9.3383527296158011 * kDegree);
    EXPECT_DOUBLE_EQ(number("persp.ry"), 27.00000000000011 * kDegree);
    EXPECT_EQ(number("persp.v"), 0.0);
    EXPECT_EQ(scene.parentOf("perspShape"), "persp");
    EXPECT_EQ(scene.parentOf("joint3"), "joint2");

    const std::string saved = scratch() + "/plane.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    EXPECT_NE(text.find("currentUnit -l centimeter -a degree -t film;"), std::string::npos);
    // The shortest text that reads back to the same radians.
    EXPECT_NE(text.find("setAttr \".r\" -type \"double3\" -89.99999999999999 0 0 ;"),
              std::string::npos)
        << text;
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_DOUBLE_EQ(number("persp.rx"), -9.3383527296158011 * kDegree);
    EXPECT_DOUBLE_EQ(number("top.rx"), -89.999999999999986 * kDegree);
    EXPECT_DOUBLE_EQ(number("persp.tz"), 8.6274213044817056);

    // A file in radians keeps radians, and saves back in radians.
    ASSERT_EQ(scene.openFile(dataScene("radians.ma")), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_DOUBLE_EQ(number("turned.rx"), 1.5);
    EXPECT_DOUBLE_EQ(number("turned.rz"), -3.0);
    EXPECT_DOUBLE_EQ(number("turned.ray"), 0.5);
    EXPECT_DOUBLE_EQ(number("turned.tilt"), 0.75);
    EXPECT_DOUBLE_EQ(number("turned.ty"), 2.0);
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    EXPECT_NE(read(saved).find("-a radian"), std::string::npos);
    EXPECT_NE(read(saved).find("\"double3\" 1.5 0.25 -3 ;"), std::string::npos) << read(saved);
    EXPECT_NE(
        read(saved).find("setAttr \".i[0]\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1;"),
        std::string::npos);
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_DOUBLE_EQ(number("turned.rx"), 1.5);
    EXPECT_DOUBLE_EQ(number("turned.tilt"), 0.75);
}

TEST_F(MayaAsciiTest, LocksAndDynamicAttributesSurviveSaving) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("studiolib_sphere.ma")), MS::kSuccess);
    const std::string saved = scratch() + "/sphere.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "as read" : "saved and read again");
        EXPECT_TRUE(plugOf("offset.tx").isLocked());
        EXPECT_TRUE(plugOf("offset.visibility").isLocked());
        EXPECT_FALSE(plugOf("sphere.tx").isLocked());
        EXPECT_TRUE(plugOf("sphere.testLocked").isLocked());
        EXPECT_FALSE(scene.setAttr("offset.tx", 1.0));
        host::Node* locked = host::Graph::instance().find("lockedNode");
        ASSERT_NE(locked, nullptr);
        EXPECT_TRUE(locked->locked);
        EXPECT_FALSE(scene.deleteNode("lockedNode"));

        const host::AttributeDef* fruit =
            host::Graph::instance().find("sphere")->findAttribute("testEnum");
        ASSERT_NE(fruit, nullptr);
        EXPECT_EQ(fruit->kind, host::AttributeDef::Kind::Enum);
        ASSERT_EQ(fruit->enumFields.size(), 3u);
        EXPECT_EQ(fruit->enumFields[1].first, "Lemon");
        EXPECT_EQ(fruit->enumFields[2].second, 2);
        EXPECT_EQ(number("sphere.testEnum"), 2.0);
        EXPECT_TRUE(plugOf("sphere.testEnum").isKeyable());

        const host::AttributeDef* limit =
            host::Graph::instance().find("sphere")->findAttribute("testLimit");
        ASSERT_NE(limit, nullptr);
        EXPECT_EQ(limit->defaultValue, 5.0);
        EXPECT_TRUE(limit->hasMin && limit->hasMax);
        EXPECT_EQ(limit->minValue, -10.0);
        EXPECT_EQ(number("sphere.testLimit"), 10.0);
        EXPECT_EQ(number("sphere.testVectorY"), 0.0);
        std::string id;
        ASSERT_TRUE(scene.getAttr("sphere.cbId", id));
        EXPECT_EQ(id, "62456ef9fe6ba96f68524f32:6cd56e6bba7a");
        // A proxy attribute keeps its flag; the message attribute its connection.
        EXPECT_NE(read(saved).find("addAttr -ci true -uap -k true -sn \"testProxy\""),
                  std::string::npos);
        EXPECT_NE(read(saved).find("connectAttr \"sphere.msg\" \"group.testMessage\" -l on;"),
                  std::string::npos);
        messages->clear();
        ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
        EXPECT_EQ(withoutPlaces(errors()),
                  (std::vector<std::string>{
                      "addAttr: 'sphere' already has an attribute named 'testRed'."}));
    }
}

TEST_F(MayaAsciiTest, SharedShortNamesSurviveSavingByTheirPaths) {
    const std::string path = write("shared.ma", R"(//Maya ASCII 2017 scene
createNode transform -n "parent";
createNode transform -n "childA" -p "parent";
createNode locator -n "childAShape" -p "|parent|childA";
createNode transform -n "childB" -p "parent";
createNode transform -n "childA" -p "childB";
	setAttr -l on ".ry";
createNode locator -n "childAShape" -p "|parent|childB|childA";
createNode animCurveTL -n "curve";
setAttr "childA.ty" 2;
setAttr "childB|childA.tz" 3;
connectAttr "curve.o" "|parent|childB|childA.tx";
)");
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    // A short name two nodes share is refused as Maya refuses it; a path is not.
    EXPECT_EQ(withoutPlaces(errors()),
              (std::vector<std::string>{"setAttr: More than one object matches name: childA"}));
    EXPECT_EQ(number("|parent|childB|childA.tz"), 3.0);
    // Listed by the shortest names that find each node alone, as quillo info lists them.
    std::vector<std::string> listed;
    for (const std::string& name : scene.nodeNames())
        if (name.find("childA") != std::string::npos)
            listed.push_back(name + " " + scene.typeOf(name));
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "parent|childA transform", "parent|childA|childAShape locator",
                          "childB|childA transform", "childB|childA|childAShape locator"}));
    const std::string saved = scratch() + "/sharedSaved.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    for (const char* line : {"createNode transform -n \"childA\" -p \"childB\";",
                             "createNode locator -n \"childAShape\" -p \"|parent|childA\";",
                             "createNode locator -n \"childAShape\" -p \"|parent|childB|childA\";",
                             "connectAttr \"curve.o\" \"|parent|childB|childA.tx\";"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

    const Summary opened = summary();
    messages->clear();
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_EQ(withoutPlaces(errors()),
              (std::vector<std::string>{"setAttr: More than one object matches name: childA"}))
        << "the refused command is kept";
    const Summary reopened = summary();
    EXPECT_EQ(reopened.types, opened.types);
    EXPECT_EQ(reopened.parents, opened.parents);
    EXPECT_EQ(reopened.connections, 1u);
    EXPECT_TRUE(plugOf("childB|childA.ry").isLocked());
    EXPECT_STREQ(plugOf("childB|childA.tx").name().asChar(), "childB|childA.translateX");
}

TEST_F(MayaAsciiTest, StringsKeepTheirEscapesAndScriptNodesNeverRun) {
    ASSERT_EQ(scene.openFile(dataScene("strings.ma")), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    std::string label;
    ASSERT_TRUE(scene.getAttr("labelled.label", label));
    EXPECT_EQ(label, "line one\nline \"two\"\t\\end");
    // The code of script nodes is kept, never run.
    for (const char* made : {"fromScriptNode", "fromSceneConfiguration", "afterScript"})
        EXPECT_EQ(scene.typeOf(made), "") << made;
    std::string code;
    ASSERT_TRUE(scene.getAttr("uiConfigurationScriptNode.b", code));
    EXPECT_EQ(code,
              "createNode transform -n \"fromScriptNode\";\nerror \"script node code ran\";\n");

    const std::string saved = scratch() + "/strings.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    EXPECT_NE(text.find("fileInfo \"note\" \"tab\\there \\\"quoted\\\" back\\\\slash\";"),
              std::string::npos)
        << text;
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    ASSERT_TRUE(scene.getAttr("labelled.label", label));
    EXPECT_EQ(label, "line one\nline \"two\"\t\\end");
    ASSERT_TRUE(scene.getAttr("uiConfigurationScriptNode.b", code));
    EXPECT_EQ(code,
              "createNode transform -n \"fromScriptNode\";\nerror \"script node code ran\";\n");
    EXPECT_EQ(scene.typeOf("afterScript"), "");
}

TEST_F(MayaAsciiTest, NurbsSurfaceOfTheRigSceneEvaluates) {
    SKIP_WITHOUT_SHARED_SCENES();
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "as read" : "saved and read again");
        if (pass == 0) {
            ASSERT_EQ(scene.openFile(sharedScene("mayatools_setupCPOS.ma")), MS::kSuccess);
        } else {
            const std::string saved = scratch() + "/cpos.ma";
            ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
            ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
        }
        MStatus status;
        MDagPath path;
        ASSERT_TRUE(MDagPath::getAPathTo(scene.findNode("test_multiAxisRigPlaneShape"), path));
        MFnNurbsSurface fn(path, &status);
        ASSERT_TRUE(status);
        EXPECT_EQ(fn.numCVsInU(), 4);
        EXPECT_EQ(fn.numCVsInV(), 4);
        // A bicubic Bezier patch meets its corner CVs.
        MPoint corner;
        ASSERT_TRUE(fn.getPointAtParam(0.0, 0.0, corner));
        EXPECT_NEAR(corner.x, 1.0, 1e-12);
        EXPECT_NEAR(corner.y, 1.4998641241847173, 1e-12);
        EXPECT_NEAR(corner.z, -0.49986412418471754, 1e-12);
        MPoint middle;
        ASSERT_TRUE(fn.getPointAtParam(0.5, 0.5, middle));
        EXPECT_NEAR(middle.x, 1.0, 1e-9);
        EXPECT_NEAR(middle.y, 1.0, 1e-9);
        EXPECT_NEAR(middle.z, 0.0, 1e-9);
        // Its transform scales by 4 about the pivot (1, 1, 0); the constraint output the file
        // drives translate with is not evaluated, so translate keeps its stored zeros.
        MPoint world;
        ASSERT_TRUE(fn.getPointAtParam(0.0, 0.0, world, MSpace::kWorld));
        EXPECT_NEAR(world.y, 1.0 + 4.0 * (1.4998641241847173 - 1.0), 1e-9);
        EXPECT_NEAR(world.z, 4.0 * -0.49986412418471754, 1e-9);
    }
}

TEST_F(MayaAsciiTest, CubeMeshCarriesItsVerticesAndHistoryIsReported) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("cgkit_objects.ma")), MS::kSuccess);
    MStatus status;
    MFnMesh mesh(scene.findNode("meshShape"), &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(mesh.numVertices(), 8);
    EXPECT_EQ(mesh.numPolygons(), 6);
    EXPECT_EQ(mesh.numEdges(), 12);
    MPoint p;
    ASSERT_TRUE(mesh.getPoint(0, p));
    // .vt[0] plus the .pt[0] tweak.
    EXPECT_NEAR(p.x, -0.5 + 0.24999999, 1e-6);
    EXPECT_NEAR(p.y, 0.5, 1e-6);
    EXPECT_NEAR(p.z, 0.5 - 0.25, 1e-6);
    ASSERT_TRUE(mesh.getPoint(1, p));
    EXPECT_NEAR(p.y, -0.5, 1e-6);
    EXPECT_EQ(mesh.numUVs(), 14);

    // The cube fed only by its polyCube history has no geometry, and one warning says what to
    // do; the other mesh, with nothing upstream, gives none.
    std::vector<std::string> said = warnings();
    ASSERT_EQ(said.size(), 1u) << joined(said);
    EXPECT_NE(said[0].find("'pCubeShape1'"), std::string::npos);
    EXPECT_NE(said[0].find("'polyCube1'"), std::string::npos);
    EXPECT_NE(said[0].find("Delete the history"), std::string::npos);
    MFnMesh empty(scene.findNode("pCubeShape1"), &status);
    EXPECT_TRUE(!status || empty.numVertices() == 0);

    // A shape that stores its own geometry keeps it, with one warning for the file.
    messages->clear();
    ASSERT_EQ(scene.openFile(dataScene("historyWithGeometry.ma")), MS::kSuccess);
    said = warnings();
    ASSERT_EQ(said.size(), 1u) << joined(said);
    EXPECT_NE(said[0].find("construction history is not re-evaluated"), std::string::npos);
    EXPECT_NE(said[0].find("'pPlaneShape1'"), std::string::npos);
    MFnMesh plane(scene.findNode("pPlaneShape1"), &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(plane.numVertices(), 4);
    EXPECT_EQ(plane.numPolygons(), 1);
    // The history stays in the scene, and in the file it saves.
    const std::string saved = scratch() + "/plane.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    EXPECT_NE(read(saved).find("connectAttr \"polyPlane1.out\" \"pPlaneShape1.i\";"),
              std::string::npos);
}

TEST_F(MayaAsciiTest, DefaultNodesAndGenericNodesKeepWhatTheFileGaveThem) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("cgkit_objects.ma")), MS::kSuccess);
    // :time1 and the other default nodes are made when first used; connections to them hold.
    EXPECT_EQ(scene.typeOf("time1"), "time");
    EXPECT_EQ(scene.typeOf("initialShadingGroup"), "shadingEngine");
    EXPECT_DOUBLE_EQ(number("time1.o"), 0.80000000000000004);
    std::string text;
    ASSERT_TRUE(scene.getAttr("defaultHardwareRenderGlobals.res", text));
    EXPECT_EQ(text, "ntsc_4d 646 485 1.333");
    // A node of a type the host does not know keeps its values and its DAG place.
    EXPECT_EQ(scene.typeOf("polyCube1"), "polyCube");
    EXPECT_EQ(number("polyCube1.h"), 2.0);
    std::vector<double> axis;
    ASSERT_TRUE(scene.getAttr("polyCube1.ax", axis));
    EXPECT_EQ(axis, (std::vector<double>{1, 0, 0}));

    const std::string saved = scratch() + "/objects.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string file = read(saved);
    EXPECT_NE(file.find("select -ne :time1;\n\tsetAttr \".o\" 0.8;"), std::string::npos) << file;
    EXPECT_EQ(file.find("createNode time"), std::string::npos);
    EXPECT_NE(file.find("connectAttr \"lightLinker1.msg\" \":lightList1.ln\" -na;"),
              std::string::npos);
    EXPECT_NE(file.find("setAttr \".cd\" -type \"dataPolyComponent\" Index_Data Edge 0;"),
              std::string::npos);

    // Importing the same file again renames what clashes (the shape under its renamed parent
    // clashes with nothing) and shares the default nodes.
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    const size_t before = scene.nodeNames().size();
    messages->clear();
    ASSERT_EQ(scene.importFile(saved), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_EQ(scene.typeOf("mesh1|meshShape"), "mesh");
    EXPECT_EQ(scene.parentOf("mesh1|meshShape"), "mesh1");
    EXPECT_EQ(scene.typeOf("time2"), "");
    EXPECT_EQ(scene.nodeNames().size(), before + 6); // the file's own nodes, once more
    EXPECT_EQ(scene.currentFile(), saved);
}

TEST_F(MayaAsciiTest, LargeFilesLoadInSeconds) {
    // 20000 transforms with a generic shape each, 40000 connections, a mesh of 50000 vertices:
    // about 170000 lines. A reader that looks names up one by one takes minutes here.
    std::string text = "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n";
    const int nodes = 20000, vertices = 50000;
    for (int i = 0; i < nodes; ++i) {
        const std::string n = std::to_string(i);
        text += "createNode transform -n \"t" + n + "\";\n\tsetAttr \".t\" -type \"double3\" " + n +
                " 0 1 ;\ncreateNode locator -n \"t" + n + "Shape\" -p \"t" + n +
                "\";\ncreateNode multiplyDivide -n \"md" + n + "\";\n";
    }
    for (int i = 0; i < nodes; ++i) {
        const std::string n = std::to_string(i);
        text += "connectAttr \"t" + n + ".t\" \"md" + n + ".i1\";\nconnectAttr \"md" + n +
                ".o\" \"t" + std::to_string((i + 1) % nodes) + ".s\";\n";
    }
    text += "createNode transform -n \"big\";\ncreateNode mesh -n \"bigShape\" -p \"big\";\n";
    text += "\tsetAttr -s " + std::to_string(vertices) +
            " \".vt[0:" + std::to_string(vertices - 1) + "]\"";
    for (int v = 0; v < vertices; ++v)
        text += (v % 3 ? " " : "\n\t\t") + std::to_string(v) + " 0.5 -0.25";
    text += ";\n";
    const std::string path = write("large.ma", text);

    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_EQ(scene.nodeNames().size(), static_cast<size_t>(3 * nodes + 2));
    EXPECT_EQ(summary().connections, static_cast<size_t>(2 * nodes));
    std::vector<double> last;
    ASSERT_TRUE(scene.getAttr("bigShape.vt[" + std::to_string(vertices - 1) + "]", last));
    EXPECT_EQ(last, (std::vector<double>{vertices - 1.0, 0.5, -0.25}));
    EXPECT_LT(seconds, 20.0);
    start = std::chrono::steady_clock::now();
    ASSERT_EQ(scene.saveFile(scratch() + "/large-saved.ma"), MS::kSuccess);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              20.0);
}
