// Sets: objectSet membership made the way scene files make it (whole shapes through
// "shape.iog", faces through "shape.iog.og[k]" and its component list), MFnSet, MSelectionList,
// the "componentList" text form, and the groupId and groupParts nodes.

#include "geometry/componentList.h"
#include "scene/typedValues.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MFnSet.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MSelectionList.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> tokenize(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) {
        if (token.size() >= 2 && token.front() == '"' && token.back() == '"')
            token = token.substr(1, token.size() - 2);
        tokens.push_back(token);
    }
    return tokens;
}

std::vector<int> ints(const MIntArray& array) {
    std::vector<int> values;
    for (unsigned int i = 0; i < array.length(); ++i)
        values.push_back(array[i]);
    return values;
}

std::vector<std::string> strings(const MStringArray& array) {
    std::vector<std::string> values;
    for (unsigned int i = 0; i < array.length(); ++i)
        values.push_back(array[i].asChar());
    return values;
}

MObject component(MFn::Type kind, const std::vector<int>& elements) {
    MFnSingleIndexedComponent fn;
    MObject object = fn.create(kind);
    for (int e : elements)
        fn.addElement(e);
    return object;
}

// The elements of an item's component, or {-1} for a whole node.
std::vector<int> elementsOf(const MSelectionList& list, unsigned int index) {
    MDagPath path;
    MObject parts;
    if (!list.getDagPath(index, path, parts))
        return {-2};
    if (parts.isNull())
        return {-1};
    MIntArray elements;
    MFnSingleIndexedComponent(parts).getElements(elements);
    return ints(elements);
}

class SetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scene.fileNew();
        // A cube shape with six faces, as a file with history would give it.
        ASSERT_TRUE(scene.createNode("transform", "pCube1"));
        MFloatPointArray points;
        const float h = 0.5f;
        for (int i = 0; i < 8; ++i)
            points.append(i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? h : -h);
        const int connects[] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4,
                                2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};
        MIntArray counts(6, 4), list(connects, 24);
        MObject parent = scene.findNode("pCube1");
        MStatus status;
        MObject shape = MFnMesh().create(8, 6, points, counts, list, parent, &status);
        ASSERT_TRUE(status);
        ASSERT_TRUE(scene.rename(MFnDependencyNode(shape).name().asChar(), "pCubeShape1"));
    }
    void TearDown() override { scene.fileNew(); }

    ::testing::AssertionResult setComponentList(const std::string& plugName,
                                                const std::string& text) {
        const host::TypedValueFormat* format = host::findTypedValueFormat("componentList");
        if (!format)
            return ::testing::AssertionFailure() << "no componentList format";
        std::vector<std::string> tokens = tokenize(text);
        size_t pos = 0;
        MObject value;
        std::string error;
        if (!format->parse(tokens, pos, value, error))
            return ::testing::AssertionFailure() << error;
        MPlug plug;
        if (!scene.findPlug(plugName, plug) || !plug.setValue(value))
            return ::testing::AssertionFailure() << "cannot set " << plugName;
        return ::testing::AssertionSuccess();
    }

    MObject node(const std::string& name) { return scene.findNode(name); }
    MDagPath path(const std::string& name) {
        MDagPath result;
        EXPECT_TRUE(MDagPath::getAPathTo(node(name), result));
        return result;
    }
    MSelectionList membersOf(const std::string& set, bool flatten = false) {
        MSelectionList members;
        MStatus status;
        MFnSet fn(node(set), &status);
        EXPECT_TRUE(status) << set;
        EXPECT_TRUE(fn.getMembers(members, flatten));
        return members;
    }

    host::Scene& scene = host::Scene::current();
    host::MessageCapture capture;
};

// ---------------------------------------------------------------------------------------------
// Membership as files write it

TEST_F(SetTest, WholeShapesAndOtherNodesFromFileConnections) {
    ASSERT_TRUE(scene.createNode("objectSet", "set1"));
    ASSERT_TRUE(scene.createNode("groupId", "groupId1"));
    std::string connected;
    ASSERT_TRUE(scene.connectAttr("pCubeShape1.iog", "set1.dsm", false, true, &connected));
    EXPECT_EQ(connected, "set1.dagSetMembers[0]");
    ASSERT_TRUE(scene.connectAttr("pCube1.iog", "set1.dsm", false, true));
    ASSERT_TRUE(scene.connectAttr("groupId1.msg", "set1.dnsm", false, true));

    MSelectionList members = membersOf("set1");
    ASSERT_EQ(members.length(), 3u);
    MDagPath first;
    MObject parts = component(MFn::kMeshVertComponent, {0});
    ASSERT_TRUE(members.getDagPath(0, first, parts));
    EXPECT_EQ(first.fullPathName(), MString("|pCube1|pCubeShape1"));
    EXPECT_TRUE(parts.isNull()); // the whole shape
    EXPECT_EQ(elementsOf(members, 1), (std::vector<int>{-1}));
    MDagPath second;
    ASSERT_TRUE(members.getDagPath(1, second));
    EXPECT_EQ(second.node(), node("pCube1"));
    // The groupId is no DAG node: it has no path, only its node.
    MDagPath none;
    EXPECT_EQ(members.getDagPath(2, none), MS::kFailure);
    MObject third;
    ASSERT_TRUE(members.getDependNode(2, third));
    EXPECT_EQ(third, node("groupId1"));
    EXPECT_TRUE(MObject::kNullObj.isNull());

    MFnSet fn(node("set1"));
    EXPECT_TRUE(fn.isMember(node("pCubeShape1")));
    EXPECT_TRUE(fn.isMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {2, 3})));
    EXPECT_FALSE(fn.isMember(node("set1")));

    // Disconnecting with the plug names of the file takes the member out.
    ASSERT_TRUE(scene.disconnectAttr("pCubeShape1.iog", "set1.dsm[0]"));
    members = membersOf("set1");
    ASSERT_EQ(members.length(), 2u);
    MObject remaining;
    members.getDependNode(0, remaining);
    EXPECT_EQ(remaining, node("pCube1"));
}

TEST_F(SetTest, FacesFromObjectGroups) {
    ASSERT_TRUE(scene.createNode("objectSet", "faces"));
    ASSERT_TRUE(scene.createNode("groupId", "groupId1"));
    ASSERT_TRUE(scene.setAttr("groupId1.id", 7.0));
    ASSERT_TRUE(setComponentList("pCubeShape1.iog[0].og[0].gcl", "1 \"f[0:3]\""));
    ASSERT_TRUE(scene.connectAttr("groupId1.id", "pCubeShape1.iog.og[0].gid"));
    ASSERT_TRUE(scene.connectAttr("pCubeShape1.iog.og[0]", "faces.dsm", false, true));
    double id = 0;
    ASSERT_TRUE(scene.getAttr("pCubeShape1.iog[0].og[0].gid", id));
    EXPECT_EQ(id, 7.0);

    MSelectionList members = membersOf("faces");
    ASSERT_EQ(members.length(), 1u);
    MDagPath shape;
    MObject parts;
    ASSERT_TRUE(members.getDagPath(0, shape, parts));
    EXPECT_EQ(shape.node(), node("pCubeShape1"));
    ASSERT_TRUE(parts.hasFn(MFn::kMeshPolygonComponent));
    EXPECT_EQ(elementsOf(members, 0), (std::vector<int>{0, 1, 2, 3}));
    MStringArray names;
    ASSERT_TRUE(members.getSelectionStrings(names));
    EXPECT_EQ(strings(names), (std::vector<std::string>{"pCubeShape1.f[0:3]"}));

    // More groups: faces of one shape merge into one member, vertices are another.
    ASSERT_TRUE(setComponentList("pCubeShape1.iog[0].og[1].gcl", "2 \"f[5]\" \"vtx[2:3]\""));
    ASSERT_TRUE(scene.connectAttr("pCubeShape1.iog.og[1]", "faces.dsm", false, true));
    members = membersOf("faces");
    ASSERT_EQ(members.length(), 2u);
    EXPECT_EQ(elementsOf(members, 0), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(elementsOf(members, 1), (std::vector<int>{2, 3}));
    ASSERT_TRUE(members.getSelectionStrings(names));
    EXPECT_EQ(strings(names), (std::vector<std::string>{"pCubeShape1.f[0:3]", "pCubeShape1.f[5]",
                                                        "pCubeShape1.vtx[2:3]"}));
    MFnSet fn(node("faces"));
    EXPECT_TRUE(fn.isMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {5, 1})));
    EXPECT_FALSE(fn.isMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {4})));
    EXPECT_FALSE(fn.isMember(path("pCubeShape1")));

    // [*] stands for every face the shape has.
    ASSERT_TRUE(setComponentList("pCubeShape1.iog[0].og[1].gcl", "1 \"f[*]\""));
    members = membersOf("faces");
    ASSERT_EQ(members.length(), 1u);
    EXPECT_EQ(elementsOf(members, 0), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(SetTest, ComponentListTextFailsSayingWhatWasExpected) {
    const host::TypedValueFormat* format = host::findTypedValueFormat("componentList");
    ASSERT_NE(format, nullptr);
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"2 \"f[0:3]\"", "expected 2 components, got 1"},
        {"one \"f[0]\"", "expected the number of components, got 'one'"},
        {"1 \"x[0]\"", "got the kind 'x'"},
        {"1 \"f[3:1]\"", "from low to high"},
        {"1 \"f[a]\"", "expected a component such as"},
        {"1 \"f0\"", "expected a component such as"},
        {"1 \"vtx[1][2]\"", "expected a component such as"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> tokens = tokenize(c.text);
        size_t pos = 0;
        MObject value;
        std::string error;
        EXPECT_FALSE(format->parse(tokens, pos, value, error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.text << " gave: " << error;
        EXPECT_EQ(pos, 0u);
    }
    std::vector<std::string> tokens = tokenize("3 \"f[0:75]\" \"vtx[4]\" \"e[*]\" next");
    size_t pos = 0;
    MObject value;
    std::string error;
    ASSERT_TRUE(format->parse(tokens, pos, value, error)) << error;
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(format->format(value), "3 \"f[0:75]\" \"vtx[4]\" \"e[*]\"");
    EXPECT_TRUE(format->owns(value));
}

// ---------------------------------------------------------------------------------------------
// MFnSet

TEST_F(SetTest, AddAndRemoveMembersThroughTheFunctionSet) {
    MSelectionList start;
    ASSERT_TRUE(start.add(node("pCube1")));
    MFnSet fn;
    MStatus status;
    MObject set = fn.create(start, MFnSet::kFacetsOnly, false, &status);
    ASSERT_TRUE(status);
    EXPECT_TRUE(set.hasFn(MFn::kSet));
    EXPECT_EQ(fn.restriction(), MFnSet::kFacetsOnly);
    EXPECT_TRUE(fn.isMember(node("pCube1")));

    // Faces of the shape: held in an object group, written as a file would hold it.
    ASSERT_TRUE(
        fn.addMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {4, 1, 2})));
    MPlug list;
    ASSERT_TRUE(scene.findPlug("pCubeShape1.iog[0].og[0].gcl", list));
    EXPECT_EQ(host::findTypedValueFormat("componentList")->format(list.asMObject()),
              "2 \"f[1:2]\" \"f[4]\"");
    MSelectionList members;
    ASSERT_TRUE(fn.getMembers(members, false));
    ASSERT_EQ(members.length(), 2u);
    EXPECT_EQ(elementsOf(members, 1), (std::vector<int>{1, 2, 4}));

    // Taking out some faces rewrites the group; taking out the rest drops it.
    ASSERT_TRUE(fn.removeMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {2})));
    members.clear();
    ASSERT_TRUE(fn.getMembers(members, false));
    EXPECT_EQ(elementsOf(members, 1), (std::vector<int>{1, 4}));
    ASSERT_TRUE(
        fn.removeMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {1, 4})));
    members.clear();
    ASSERT_TRUE(fn.getMembers(members, false));
    EXPECT_EQ(members.length(), 1u);

    // The whole shape takes the place of its components; components of a whole member cannot
    // be taken out alone.
    ASSERT_TRUE(fn.addMember(path("pCubeShape1"), component(MFn::kMeshVertComponent, {0})));
    ASSERT_TRUE(fn.addMember(path("pCubeShape1")));
    members.clear();
    ASSERT_TRUE(fn.getMembers(members, false));
    ASSERT_EQ(members.length(), 2u);
    EXPECT_EQ(elementsOf(members, 1), (std::vector<int>{-1}));
    EXPECT_EQ(fn.removeMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {0})),
              MS::kFailure);
    ASSERT_TRUE(fn.removeMember(node("pCube1")));
    EXPECT_EQ(fn.removeMember(node("pCube1")), MS::kNotFound);
    EXPECT_FALSE(fn.isMember(node("pCube1")));
    ASSERT_TRUE(fn.clear());
    members.clear();
    ASSERT_TRUE(fn.getMembers(members, false));
    EXPECT_EQ(members.length(), 0u);

    // Not a set.
    MFnSet wrong(node("pCube1"), &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_EQ(wrong.getMembers(members, false), MS::kFailure);
    // An empty component adds nothing.
    ASSERT_TRUE(fn.addMember(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {})));
    members.clear();
    ASSERT_TRUE(fn.getMembers(members, false));
    EXPECT_EQ(members.length(), 0u);
}

TEST_F(SetTest, FlattenReplacesNestedSetsByTheirMembers) {
    ASSERT_TRUE(scene.createNode("objectSet", "inner"));
    ASSERT_TRUE(scene.createNode("objectSet", "outer"));
    ASSERT_TRUE(scene.createNode("groupId", "loose"));
    MFnSet inner(node("inner")), outer(node("outer"));
    ASSERT_TRUE(inner.addMember(node("pCubeShape1")));
    ASSERT_TRUE(outer.addMember(node("inner")));
    ASSERT_TRUE(outer.addMember(node("loose")));
    // A cycle must not hang flattening.
    ASSERT_TRUE(inner.addMember(node("outer")));

    MSelectionList plain = membersOf("outer");
    ASSERT_EQ(plain.length(), 2u);
    MObject first;
    plain.getDependNode(0, first);
    EXPECT_EQ(first, node("inner"));

    MSelectionList flat = membersOf("outer", true);
    ASSERT_EQ(flat.length(), 2u);
    MObject a, b;
    flat.getDependNode(0, a);
    flat.getDependNode(1, b);
    EXPECT_EQ(a, node("pCubeShape1"));
    EXPECT_EQ(b, node("loose"));
}

// ---------------------------------------------------------------------------------------------
// MSelectionList

TEST_F(SetTest, SelectionListAddsByNameAndMergesComponents) {
    ASSERT_TRUE(scene.createNode("transform", "pCubeGuide"));
    MSelectionList list;
    ASSERT_TRUE(list.add("pCube*"));
    MStringArray names;
    list.getSelectionStrings(names);
    EXPECT_EQ(strings(names), (std::vector<std::string>{"pCube1", "pCubeShape1", "pCubeGuide"}));
    EXPECT_EQ(list.add("nothingLikeThis*"), MS::kInvalidParameter);
    EXPECT_EQ(list.length(), 3u);
    ASSERT_TRUE(list.add("pCube?"));
    EXPECT_EQ(list.length(), 3u); // pCube1 is there already

    // Components by name: a transform reaches its shape.
    MSelectionList faces;
    ASSERT_TRUE(faces.add("pCube1.f[4:5]"));
    ASSERT_TRUE(faces.add("|pCube1|pCubeShape1.f[1]"));
    ASSERT_TRUE(faces.add("pCubeShape1.vtx[*]"));
    ASSERT_EQ(faces.length(), 2u);
    EXPECT_EQ(elementsOf(faces, 0), (std::vector<int>{4, 5, 1}));
    EXPECT_EQ(elementsOf(faces, 1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    faces.getSelectionStrings(0, names);
    EXPECT_EQ(strings(names), (std::vector<std::string>{"pCubeShape1.f[1]", "pCubeShape1.f[4:5]"}));
    EXPECT_EQ(faces.add("pCube1.f[6]"), MS::kInvalidParameter); // the cube has faces 0..5
    EXPECT_EQ(faces.add("pCube1.cv[0]"), MS::kInvalidParameter);
    EXPECT_EQ(faces.add("nobody.f[0]"), MS::kInvalidParameter);
    EXPECT_TRUE(faces.hasItem(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {1, 5})));
    EXPECT_FALSE(faces.hasItem(path("pCubeShape1"), component(MFn::kMeshPolygonComponent, {0})));
    EXPECT_FALSE(faces.hasItem(path("pCubeShape1")));

    // The list keeps its own copy of a component it was given.
    MSelectionList copy;
    MObject mine = component(MFn::kMeshEdgeComponent, {3});
    ASSERT_TRUE(copy.add(path("pCubeShape1"), mine));
    MFnSingleIndexedComponent(mine).addElement(9);
    EXPECT_EQ(elementsOf(copy, 0), (std::vector<int>{3}));
    // Without merging a second component is an item of its own; a whole node merged in takes
    // the place of the components.
    ASSERT_TRUE(copy.add(path("pCubeShape1"), component(MFn::kMeshEdgeComponent, {4})));
    EXPECT_EQ(copy.length(), 2u);
    ASSERT_TRUE(copy.add(path("pCubeShape1"), MObject::kNullObj, true));
    ASSERT_EQ(copy.length(), 1u);
    EXPECT_EQ(elementsOf(copy, 0), (std::vector<int>{-1}));

    // Merging lists and removing items.
    ASSERT_TRUE(list.merge(faces));
    EXPECT_EQ(list.length(), 3u); // pCubeShape1 is there as a whole
    MSelectionList drop;
    drop.add(node("pCubeGuide"));
    ASSERT_TRUE(list.merge(drop, MSelectionList::kRemoveFromList));
    EXPECT_FALSE(list.hasItem(node("pCubeGuide")));
    ASSERT_TRUE(list.remove(0));
    EXPECT_EQ(list.remove(5), MS::kInvalidParameter);
    MObject out;
    EXPECT_EQ(list.getDependNode(5, out), MS::kInvalidParameter);
    ASSERT_TRUE(list.clear());
    EXPECT_TRUE(list.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// groupId and groupParts

TEST_F(SetTest, GroupPartsPassesItsGeometryOn) {
    ASSERT_TRUE(scene.createNode("groupParts", "groupParts1"));
    ASSERT_TRUE(scene.createNode("mesh", "downstream"));
    ASSERT_TRUE(scene.connectAttr("pCubeShape1.outMesh", "groupParts1.ig"));
    ASSERT_TRUE(scene.connectAttr("groupParts1.og", "downstream.i"));
    ASSERT_TRUE(setComponentList("groupParts1.ic", "1 \"f[0:2]\""));
    MFnMesh fn(scene.findNode("downstream"));
    EXPECT_EQ(fn.numPolygons(), 6);
    EXPECT_EQ(fn.numVertices(), 8);
    // Without its input the shape goes back to its own attributes: empty, and no error.
    ASSERT_TRUE(scene.disconnectAttr("groupParts1.og", "downstream.i"));
    EXPECT_EQ(fn.numPolygons(), 0);
    EXPECT_EQ(capture.count(host::MessageKind::kError), 0u);
}

} // namespace
