// The feather node's ids and guide bookkeeping: its description id, one guide path per
// qualifying connection, and everything released when connections break or the node goes.

#include "featherNodeFixture.h"

#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "feather/turtlePath.h"
#include "graph/node.h"
#include "plugin/sharedObjects.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnTypedAttribute.h>

#include <algorithm>

namespace {

class FeatherNodeConnectionsTest : public FeatherNodeTest {
  protected:
    // The value stored on the plug, without evaluating it.
    int storedFeatherInfoID(const std::string& feather) {
        host::Node* node = host::nodeOf(scene.findNode(feather));
        const host::AttributeDef* attribute = node->findAttribute("featherInfoID");
        host::Slot* slot = node->slot(attribute, {}, true);
        return slot->number.i;
    }
    double featherInfoID(const std::string& feather) {
        double id = -100;
        EXPECT_TRUE(scene.getAttr(feather + ".featherInfoID", id)) << scene.lastError();
        return id;
    }
    static std::vector<int> pathIdsOf(const std::map<int, int>& paths) {
        std::vector<int> ids;
        for (const auto& entry : paths)
            ids.push_back(entry.second);
        return ids;
    }
    static std::vector<int> sorted(std::vector<int> ids) {
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(FeatherNodeConnectionsTest, FeatherInfoIdShowsTheIdFromTheFirstComputeOn) {
    const std::string a = createFeatherNode();
    const std::string b = createFeatherNode();
    EXPECT_EQ(featherNode(a).descriptionId(), 0);
    EXPECT_EQ(featherNode(b).descriptionId(), 1);
    EXPECT_EQ(descriptionEntries(), 2);
    ASSERT_NE(featherNode(a).description(), nullptr);
    int key = 0;
    EXPECT_EQ(descriptionRegistry->find(&key), featherNode(a).description())
        << "the description is registered under the node's id";

    EXPECT_EQ(storedFeatherInfoID(a), -1) << "before any compute";
    EXPECT_EQ(storedFeatherInfoID(b), -1);
    build(b);
    EXPECT_EQ(storedFeatherInfoID(a), -1);
    EXPECT_EQ(storedFeatherInfoID(b), 1) << "written by the build";
    EXPECT_EQ(featherInfoID(b), 1.0);
    // Reading the plug is itself a first compute: the id, whatever was asked for.
    EXPECT_EQ(featherInfoID(a), 0.0);
    EXPECT_EQ(featherNode(a).builtFeathers().size(), 0u);
}

TEST_F(FeatherNodeConnectionsTest, DescriptionIdsAreReusedAfterDeleteAndStartAgainAfterNew) {
    const std::string a = createFeatherNode();
    const std::string b = createFeatherNode();
    const std::string c = createFeatherNode();
    ASSERT_TRUE(scene.deleteNode(b)) << scene.lastError();
    EXPECT_EQ(descriptionEntries(), 2);
    EXPECT_EQ(featherNode(createFeatherNode()).descriptionId(), 1) << "the freed id first";
    EXPECT_EQ(featherNode(createFeatherNode()).descriptionId(), 3) << "then a new one";

    scene.fileNew();
    EXPECT_EQ(descriptionEntries(), 0);
    EXPECT_EQ(turtleEntries(), 0);
    EXPECT_EQ(featherNode(createFeatherNode()).descriptionId(), 0) << "a new scene starts at 0";
    EXPECT_EQ(featherNode(createFeatherNode()).descriptionId(), 1);
}

TEST_F(FeatherNodeConnectionsTest, ABrokenGuideFreesItsPathAndTheNextConnectionReusesIt) {
    const std::string feather = createFeatherNode();
    const std::string guide = createGuide("guide");
    const std::string other = createGuide("other", MPoint(0, 0, 3));
    const quillo& node = featherNode(feather);

    connectGuide(other, feather, 0);
    ASSERT_EQ(node.guidePaths().size(), 1u);
    const std::vector<int> before = node.description()->turtleIds;

    connectGuide(guide, feather, 3);
    ASSERT_EQ(node.guidePaths().count(3), 1u) << "keyed by the guidSurfaceInfo element";
    const int id = node.guidePaths().at(3);
    const turtlePath* path = static_cast<const turtlePath*>(turtleRegistry->find(&id));
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->frameCount(), 0u) << "an empty path until the first build";
    EXPECT_EQ(node.description()->turtleIds.size(), 2u);
    EXPECT_EQ(turtleEntries(), 2);

    disconnectGuide(guide, feather, 3);
    EXPECT_EQ(node.guidePaths().count(3), 0u);
    EXPECT_EQ(node.description()->turtleIds, before) << "turtleIds as before the connection";
    EXPECT_EQ(turtleRegistry->find(&id), nullptr);
    EXPECT_EQ(turtleEntries(), 1);
    MPlug element;
    ASSERT_TRUE(scene.findPlug(feather + ".guidSurfaceInfo", element));
    EXPECT_EQ(element.numElements(), 1u) << "the broken element is deleted";

    connectGuide(guide, feather, 7);
    EXPECT_EQ(node.guidePaths().at(7), id) << "the freed id is handed out again";
}

TEST_F(FeatherNodeConnectionsTest, OnlyNurbsSurfacesAndComponentTurtlesAreTracked) {
    const std::string feather = createFeatherNode();
    const quillo& node = featherNode(feather);

    // A surface shape with nothing in it holds no surface.
    EXPECT_TRUE(scene.createNode("transform", "empty"));
    EXPECT_TRUE(scene.createNode("nurbsSurface", "emptyShape", "empty"));
    connectGuide("emptyShape", feather, 0);
    EXPECT_TRUE(node.guidePaths().empty());

    testTurtle turtle;
    connectComponentTurtle(turtle, feather, 2);
    connectForeignTurtle(turtle, feather, 4);
    ASSERT_EQ(node.turtlePaths().size(), 1u) << "turtle data from another node type is not";
    EXPECT_EQ(node.turtlePaths().count(2), 1u);
    EXPECT_EQ(node.description()->turtleIds.size(), 1u);

    setTurtleArray(feather, 0, {turtle, turtle});
    EXPECT_TRUE(node.turtleArrayPaths().empty()) << "turtle arrays are made by the build";
    EXPECT_EQ(turtleEntries(), 1);

    build(feather);
    EXPECT_EQ(node.builtFeathers().size(), 3u) << "one single turtle, two array turtles";
    EXPECT_EQ(node.turtleArrayPaths().size(), 2u);
    EXPECT_EQ(turtleEntries(), 3);
}

TEST_F(FeatherNodeConnectionsTest, AGuideThatStopsBeingASurfaceIsReleasedWhenItsKeyIsReused) {
    // A source of any data type: a NURBS surface first, then a mesh.
    const std::string feather = createFeatherNode();
    const quillo& node = featherNode(feather);
    ASSERT_TRUE(scene.createNode("transform", "source"));
    MFnTypedAttribute typed;
    MObject anyData = typed.create("anyData", "ad", MFnData::kAny);
    ASSERT_TRUE(MFnDependencyNode(scene.findNode("source")).addAttribute(anyData));
    MPlug source;
    ASSERT_TRUE(scene.findPlug("source.anyData", source));
    MPointArray cvs;
    for (const MPoint& p : {MPoint(0, 0, 0), MPoint(0, 0, 1), MPoint(2, 0, 0), MPoint(2, 0, 1)})
        cvs.append(p);
    MObject surface = surfaceData(cvs, 1);
    ASSERT_TRUE(source.setValue(surface));
    const std::string destination = feather + ".guidSurfaceInfo[2].guidSurface";
    ASSERT_TRUE(scene.connectAttr("source.anyData", destination)) << scene.lastError();
    ASSERT_EQ(node.guidePaths().size(), 1u);
    const int firstId = node.guidePaths().at(2);
    build(feather);
    EXPECT_EQ(node.builtFeathers().size(), 1u);
    EXPECT_GT(node.builtFeathers()[0].rachisPoints.length(), 0u);

    // Now a mesh flows through the same connection: no feather, no crash.
    MFnMeshData meshFn;
    MObject mesh = meshFn.create();
    ASSERT_TRUE(source.setValue(mesh));
    build(feather);
    EXPECT_TRUE(node.builtFeathers().empty());

    // Its break does not qualify, so the entry stays...
    ASSERT_TRUE(scene.disconnectAttr("source.anyData", destination));
    EXPECT_EQ(node.guidePaths().size(), 1u);
    EXPECT_EQ(turtleEntries(), 1);
    // ...until a surface is connected on the same key: the old path is released first.
    ASSERT_TRUE(source.setValue(surface));
    ASSERT_TRUE(scene.connectAttr("source.anyData", destination)) << scene.lastError();
    EXPECT_EQ(node.guidePaths().size(), 1u);
    EXPECT_EQ(turtleEntries(), 1) << "no path leaked";
    EXPECT_EQ(node.description()->turtleIds, std::vector<int>{node.guidePaths().at(2)});
    EXPECT_EQ(node.guidePaths().at(2), firstId) << "the released id comes straight back";
    build(feather);
    EXPECT_EQ(node.builtFeathers().size(), 1u);
}

TEST_F(FeatherNodeConnectionsTest, DeletingANodeWithFiveGuidesFreesFiveIdsAndItsOwn) {
    const std::string feather = createFeatherNode();
    createFeatherNode(); // keeps its own id throughout
    std::vector<std::string> guides;
    for (int k = 0; k < 5; ++k) {
        guides.push_back(createGuide("guide" + std::to_string(k), MPoint(0, 0, 2.0 * k)));
        connectGuide(guides.back(), feather, k);
    }
    const std::vector<int> ids = sorted(pathIdsOf(featherNode(feather).guidePaths()));
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4}));
    build(feather);
    EXPECT_EQ(featherNode(feather).builtFeathers().size(), 5u);
    EXPECT_EQ(turtleEntries(), 5);

    ASSERT_TRUE(scene.deleteNode(feather)) << scene.lastError();
    EXPECT_EQ(turtleEntries(), 0) << "five paths freed";
    EXPECT_EQ(descriptionEntries(), 1);

    const std::string again = createFeatherNode();
    EXPECT_EQ(featherNode(again).descriptionId(), 0) << "the deleted node's id";
    for (int k = 0; k < 5; ++k)
        connectGuide(guides[static_cast<size_t>(k)], again, k);
    EXPECT_EQ(sorted(pathIdsOf(featherNode(again).guidePaths())), ids)
        << "the five freed ids are reused";
}

TEST_F(FeatherNodeConnectionsTest, RemovalAndBrokenConnectionsTolerateEitherOrder) {
    const std::string feather = createFeatherNode();
    for (int k = 0; k < 3; ++k)
        connectGuide(createGuide("guide" + std::to_string(k), MPoint(0, 0, 2.0 * k)), feather, k);
    testTurtle turtle;
    connectComponentTurtle(turtle, feather, 0);
    setTurtleArray(feather, 1, {turtle});
    build(feather);
    EXPECT_EQ(turtleEntries(), 5);
    EXPECT_EQ(featherNode(feather).builtFeathers().size(), 5u);

    // The removal callback first (as another host may order it), then the deletion with its
    // breaks and a second callback: every entry released once, nothing touched twice.
    MObject object = scene.findNode(feather);
    quillo::nodeRemoved(object, nullptr);
    const quillo& node = featherNode(feather);
    EXPECT_EQ(turtleEntries(), 0);
    EXPECT_EQ(descriptionEntries(), 0);
    EXPECT_EQ(node.description(), nullptr);
    EXPECT_EQ(node.descriptionId(), -1);
    EXPECT_TRUE(node.builtFeathers().empty());
    ASSERT_TRUE(scene.deleteNode(feather)) << scene.lastError();
    EXPECT_EQ(turtleEntries(), 0);

    // A node with no connections removed twice over.
    const std::string lone = createFeatherNode();
    MObject loneObject = scene.findNode(lone);
    quillo::nodeRemoved(loneObject, nullptr);
    quillo::nodeRemoved(loneObject, nullptr);
    EXPECT_EQ(descriptionEntries(), 0);
    EXPECT_EQ(featherNode(createFeatherNode()).descriptionId(), 0);
}

} // namespace
