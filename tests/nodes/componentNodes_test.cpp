// The component nodes through a fresh scene: attributes and what dirties what, compute on
// small meshes (paths, used ids, UVs and grow ids, kept markers, bad elements), the feather
// node growing feathers from their outputs, and the markers drawn, read back through OpenGL
// feedback.

#include "componentMeshes.h"
#include "featherNodeFixture.h"

#include "graph/nodeType.h"
#include "nodes/component/quilloComponent.h"
#include "nodes/component/quilloComponentArray.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/featherTurtleData.h"

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPluginData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class ComponentNodeTest : public FeatherNodeTest {
  protected:
    // A mesh shape holding the data's mesh under a new transform moved by `offset`; its name.
    std::string meshShape(const std::string& name, MObject data,
                          const MVector& offset = MVector()) {
        return addMeshShape(scene, name, data, offset);
    }
    std::string create(const std::string& type, const std::string& parent = "") {
        std::string created;
        EXPECT_TRUE(scene.createNode(type, "", parent, &created)) << scene.lastError();
        return created;
    }
    template <class Node> Node& user(const std::string& name) {
        return *static_cast<Node*>(MFnDependencyNode(scene.findNode(name)).userNode());
    }
    std::string text(const std::string& plug) {
        std::string value;
        EXPECT_TRUE(scene.getAttr(plug, value)) << plug;
        return value;
    }
    const turtleRecord* single(const std::string& component) {
        MPlug plug;
        EXPECT_TRUE(scene.findPlug(component + ".outFeatherTurtleData", plug));
        MObject data = plug.asMObject();
        auto* turtle = static_cast<featherTurtleData*>(MFnPluginData(data).data());
        return turtle ? &turtle->turtle : nullptr;
    }
    std::vector<turtleRecord> records(const std::string& array) {
        MPlug plug;
        EXPECT_TRUE(scene.findPlug(array + ".outFeatherTurtleDataArray", plug));
        MObject data = plug.asMObject();
        auto* list = static_cast<featherTurtleArrayData*>(MFnPluginData(data).data());
        return list ? list->turtles : std::vector<turtleRecord>();
    }
    // A component array walking "0:3" by 4 over two 8-vertex strips, the second 5 along z.
    std::string walkingArray() {
        const std::string a = stripA = meshShape("stripA", stripMesh(3));
        const std::string b = meshShape("stripB", stripMesh(3), MVector(0, 0, 5));
        const std::string array = create("quilloComponentArray");
        EXPECT_TRUE(scene.connectAttr(a + ".worldMesh[0]", array + ".inMesh[0]"));
        EXPECT_TRUE(scene.connectAttr(b + ".worldMesh[0]", array + ".inMesh[1]"));
        EXPECT_TRUE(scene.setAttr(array + ".vertexGroup", std::string("0:3")));
        EXPECT_TRUE(scene.setAttr(array + ".walkStep", 4.0));
        return array;
    }
    std::string stripA;
};

void expectVector(const MVector& v, double x, double y, double z, const std::string& what) {
    EXPECT_NEAR(v.x, x, 1e-6) << what;
    EXPECT_NEAR(v.y, y, 1e-6) << what;
    EXPECT_NEAR(v.z, z, 1e-6) << what;
}

struct attributeRow {
    const char* longName;
    const char* shortName;
    bool keyable, storable, writable, hidden, connectable, array;
    MFnAttribute::DisconnectBehavior disconnect;
};

void checkAttributes(const std::string& typeName, const std::vector<attributeRow>& rows,
                     const std::map<std::string, std::set<std::string>>& affects) {
    host::NodeType* type = host::TypeRegistry::instance().findNode(typeName);
    ASSERT_NE(type, nullptr);
    const host::AttributeDef* first = type->findAttribute(rows[0].longName);
    ASSERT_NE(first, nullptr);
    const size_t start = static_cast<size_t>(type->topIndex(first));
    ASSERT_EQ(type->attributes.size() - start, rows.size()) << typeName;
    for (size_t k = 0; k < rows.size(); ++k) {
        const attributeRow& row = rows[k];
        SCOPED_TRACE(row.longName);
        EXPECT_EQ(type->attributes[start + k]->name, row.longName) << "added in table order";
        EXPECT_EQ(type->attributes[start + k]->shortName, row.shortName);
    }
    std::map<std::string, std::set<std::string>> declared;
    for (const auto& [from, to] : type->affects) {
        if (type->topIndex(from->top()) < static_cast<int>(start))
            continue;
        for (const host::AttributeDef* output : to)
            declared[from->name].insert(output->name);
    }
    EXPECT_EQ(declared, affects) << typeName;
}

void checkFlags(MObject node, const std::vector<attributeRow>& rows) {
    MFnDependencyNode fn(node);
    for (const attributeRow& row : rows) {
        SCOPED_TRACE(row.longName);
        MFnAttribute a(fn.attribute(row.longName));
        EXPECT_EQ(a.isKeyable(), row.keyable);
        EXPECT_EQ(a.isStorable(), row.storable);
        EXPECT_EQ(a.isWritable(), row.writable);
        EXPECT_EQ(a.isHidden(), row.hidden);
        EXPECT_EQ(a.isConnectable(), row.connectable);
        EXPECT_EQ(a.isArray(), row.array);
        EXPECT_TRUE(a.isReadable());
        EXPECT_EQ(a.disconnectBehavior(), row.disconnect);
    }
}

const auto kN = MFnAttribute::kNothing;

} // namespace

TEST_F(ComponentNodeTest, AttributesFlagsAndDependenciesAreStable) {
    const std::vector<attributeRow> single = {
        {"inMesh", "inm", false, false, true, true, true, false, MFnAttribute::kReset},
        {"vertexGroup", "vergrp", false, true, true, false, true, false, kN},
        {"featherUV", "feauv", true, true, true, false, true, false, kN},
        {"growVertexID", "grvid", true, true, true, false, true, false, kN},
        {"locatorSize", "locs", true, true, true, false, true, false, kN},
        {"outVertexGroup", "outvergrp", false, false, false, true, false, false, kN},
        {"outFeatherTurtleData", "outfeatd", false, false, false, true, true, false, kN},
    };
    checkAttributes("quilloComponent", single,
                    {{"vertexGroup", {"outVertexGroup", "outFeatherTurtleData"}},
                     {"inMesh", {"outVertexGroup", "outFeatherTurtleData"}},
                     {"locatorSize", {"outVertexGroup"}},
                     {"featherUV", {"outFeatherTurtleData"}},
                     {"growVertexID", {"outFeatherTurtleData"}}});
    const std::string component = create("quilloComponent");
    checkFlags(scene.findNode(component), single);

    const std::vector<attributeRow> array = {
        {"walkStep", "walks", true, true, true, false, true, false, kN},
        {"walkTimes", "walkt", true, true, true, false, true, false, kN},
        {"vertexGroup", "vergrp", false, true, true, false, true, false, kN},
        {"useGrowVertexID", "usegrid", true, true, true, false, true, false, kN},
        {"locatorSize", "locs", true, true, true, false, true, false, kN},
        {"uvSet", "uvs", false, true, true, false, true, false, kN},
        {"inMesh", "inm", false, false, true, true, true, true, MFnAttribute::kDelete},
        {"inGrowMesh", "ingm", false, false, true, true, true, false, MFnAttribute::kReset},
        {"outFeatherTurtleDataArray", "outfeatda", false, false, false, true, true, false, kN},
    };
    std::map<std::string, std::set<std::string>> all;
    for (size_t k = 0; k + 1 < array.size(); ++k)
        all[array[k].longName] = {"outFeatherTurtleDataArray"};
    checkAttributes("quilloComponentArray", array, all);
    const std::string walker = create("quilloComponentArray");
    checkFlags(scene.findNode(walker), array);

    // Defaults and hard limits.
    double value = 0.0;
    std::vector<double> pair;
    EXPECT_TRUE(scene.getAttr(component + ".locatorSize", value));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(scene.getAttr(component + ".featherUV", pair));
    EXPECT_EQ(pair, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(text(component + ".vertexGroup"), "");
    EXPECT_EQ(text(walker + ".uvSet"), "map1");
    EXPECT_TRUE(scene.getAttr(walker + ".walkTimes", value));
    EXPECT_EQ(value, -1.0);
    EXPECT_TRUE(scene.getAttr(walker + ".walkStep", value));
    EXPECT_EQ(value, 1.0);
    host::MessageCapture quiet;
    EXPECT_TRUE(scene.setAttr(walker + ".walkStep", -7.0));
    EXPECT_TRUE(scene.setAttr(walker + ".walkTimes", -7.0));
    EXPECT_TRUE(scene.setAttr(component + ".locatorSize", 3.0));
    EXPECT_TRUE(scene.setAttr(component + ".featherUV", std::vector<double>{-1.0, 2.0}));
    EXPECT_TRUE(scene.getAttr(walker + ".walkStep", value));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(scene.getAttr(walker + ".walkTimes", value));
    EXPECT_EQ(value, -1.0);
    EXPECT_TRUE(scene.getAttr(component + ".locatorSize", value));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(scene.getAttr(component + ".featherUV", pair));
    EXPECT_EQ(pair, (std::vector<double>{0.0, 1.0}));
}

TEST_F(ComponentNodeTest, ComponentBuildsOnePathAndKeepsItsMarkerWhenTheTextEmpties) {
    const std::string mesh = meshShape("tri", triangleMesh(), MVector(0, 2, 0));
    const std::string component = create("quilloComponent");
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", component + ".inMesh"));
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("0:4")));
    ASSERT_TRUE(scene.setAttr(component + ".featherUV", std::vector<double>{0.25, 0.75}));
    ASSERT_TRUE(scene.setAttr(component + ".growVertexID", 6.0));

    EXPECT_EQ(text(component + ".outVertexGroup"), "0 1 2 ");
    const turtleRecord* turtle = single(component);
    ASSERT_NE(turtle, nullptr);
    ASSERT_EQ(turtle->points.length(), 3u);
    ASSERT_EQ(turtle->normals.length(), 3u);
    expectVector(turtle->points[0], 0, 2, 0, "root in world space");
    expectVector(turtle->points[1], 1, 2, 0, "second");
    expectVector(turtle->points[2], 0, 2, 1, "third");
    for (unsigned int k = 0; k < 3; ++k)
        expectVector(turtle->normals[k], 0, 1, 0, "normal");
    EXPECT_EQ(turtle->u, 0.25f);
    EXPECT_EQ(turtle->v, 0.75f);
    EXPECT_EQ(turtle->growVertexID, 6);
    const MPointArray& marker = user<quilloComponent>(component).markers();
    ASSERT_EQ(marker.length(), 3u);
    expectVector(MVector(marker[0]), 1, 2, 0, "tip on the second vertex at size 1");

    // "locatorSize" moves the marker through "outVertexGroup", the output draw pulls.
    ASSERT_TRUE(scene.setAttr(component + ".locatorSize", 0.5));
    EXPECT_EQ(text(component + ".outVertexGroup"), "0 1 2 ");
    expectVector(MVector(user<quilloComponent>(component).markers()[0]), 0.5, 2, 0, "halfway");
    // "featherUV" and "growVertexID" reach the record.
    ASSERT_TRUE(scene.setAttr(component + ".growVertexID", 2.0));
    ASSERT_TRUE(scene.setAttr(component + ".featherUV", std::vector<double>{1.0, 0.5}));
    turtle = single(component);
    ASSERT_NE(turtle, nullptr);
    EXPECT_EQ(turtle->growVertexID, 2);
    EXPECT_EQ(turtle->u, 1.0f);
    EXPECT_EQ(turtle->v, 0.5f);

    // An emptied text leaves the outputs and the marker as they were.
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("")));
    EXPECT_EQ(text(component + ".outVertexGroup"), "0 1 2 ");
    EXPECT_EQ(user<quilloComponent>(component).markers().length(), 3u);
    ASSERT_NE(single(component), nullptr);
    EXPECT_EQ(single(component)->points.length(), 3u);

    // One id: an empty path, the user's UV and id, no marker.
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("1")));
    EXPECT_EQ(text(component + ".outVertexGroup"), "");
    turtle = single(component);
    ASSERT_NE(turtle, nullptr);
    EXPECT_EQ(turtle->points.length(), 0u);
    EXPECT_EQ(turtle->normals.length(), 0u);
    EXPECT_EQ(turtle->u, 1.0f);
    EXPECT_EQ(turtle->growVertexID, 2);
    EXPECT_EQ(user<quilloComponent>(component).markers().length(), 0u);

    // Hostile texts give what the grammar says, quickly.
    ASSERT_TRUE(
        scene.setAttr(component + ".vertexGroup", std::string("-1 1:2:3 \xc3\xa9 0:4294967295")));
    EXPECT_EQ(text(component + ".outVertexGroup"), "0 1 2 ");

    // No mesh: nothing changes, nothing fails.
    ASSERT_TRUE(scene.disconnectAttr(mesh + ".worldMesh[0]", component + ".inMesh"));
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("2 1")));
    EXPECT_EQ(text(component + ".outVertexGroup"), "0 1 2 ");
    EXPECT_EQ(user<quilloComponent>(component).markers().length(), 3u);

    // Removal empties the marker.
    MObject removed = scene.findNode(component);
    quilloComponent::nodeRemoved(removed, nullptr);
    EXPECT_EQ(user<quilloComponent>(component).markers().length(), 0u);
}

TEST_F(ComponentNodeTest, AVertexGroupBeyondTheLimitIsAnErrorNamingTheNodeAndTheLimit) {
    // 2,100 ranges over a 2,002-vertex strip: about 4.2 million ids, past the 4,194,304 limit.
    const std::string mesh = meshShape("long", stripMesh(1000));
    std::string text;
    for (int k = 0; k < 2100; ++k)
        text += "0:2001 ";
    const std::string component = create("quilloComponent");
    const std::string array = create("quilloComponentArray");
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", component + ".inMesh"));
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", array + ".inMesh[0]"));
    for (const std::string& node : {component, array}) {
        ASSERT_TRUE(scene.setAttr(node + ".vertexGroup", text));
        host::MessageCapture capture;
        if (node == component)
            EXPECT_EQ(single(component)->points.length(), 0u);
        else
            EXPECT_TRUE(records(array).empty());
        const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
        ASSERT_EQ(errors.size(), 1u) << node;
        EXPECT_EQ(errors[0].rfind(node + ": \"vertexGroup\"", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find("more than the limit of 4194304 vertex ids"), std::string::npos)
            << errors[0];
    }
}

TEST_F(ComponentNodeTest, ArrayWalksEveryMeshInElementOrder) {
    const std::string array = walkingArray();
    std::vector<turtleRecord> list = records(array);
    ASSERT_EQ(list.size(), 4u);
    // Strip vertex k sits at (k / 2, 0, k % 2); the second strip is moved 5 along z.
    const double roots[4][3] = {{0, 0, 0}, {2, 0, 0}, {0, 0, 5}, {2, 0, 5}};
    for (size_t r = 0; r < 4; ++r) {
        ASSERT_EQ(list[r].points.length(), 4u) << r;
        expectVector(list[r].points[0], roots[r][0], roots[r][1], roots[r][2],
                     "root of record " + std::to_string(r));
        expectVector(list[r].points[3], roots[r][0] + 1, 0, roots[r][2] + 1, "last point");
        EXPECT_EQ(list[r].u, 0.0f);
        EXPECT_EQ(list[r].growVertexID, 0);
    }
    EXPECT_EQ(user<quilloComponentArray>(array).markers().length(), 12u);

    ASSERT_TRUE(scene.setAttr(array + ".walkTimes", 1.0));
    list = records(array);
    ASSERT_EQ(list.size(), 2u);
    expectVector(list[1].points[0], 0, 0, 5, "the second mesh's base group");

    // An element with no mesh gives nothing and leaves the others alone.
    const std::string bare = create("mesh");
    ASSERT_TRUE(scene.connectAttr(bare + ".worldMesh[0]", array + ".inMesh[7]"));
    ASSERT_TRUE(scene.setAttr(array + ".walkTimes", -1.0));
    EXPECT_EQ(records(array).size(), 4u);

    // An emptied text keeps the old output and markers.
    ASSERT_TRUE(scene.setAttr(array + ".vertexGroup", std::string("")));
    EXPECT_EQ(records(array).size(), 4u);
    EXPECT_EQ(user<quilloComponentArray>(array).markers().length(), 12u);

    // The huge and hostile: a million tokens, walk limits.
    std::string huge;
    for (int k = 0; k < 1000000; ++k)
        huge += k % 2 ? "1 " : "0 ";
    ASSERT_TRUE(scene.setAttr(array + ".vertexGroup", huge));
    ASSERT_TRUE(scene.setAttr(array + ".walkStep", 2147483647.0));
    list = records(array);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].points.length(), 1000000u);
    ASSERT_TRUE(scene.setAttr(array + ".vertexGroup", std::string("1:2:3 -1 \xe2\x82\xac")));
    EXPECT_EQ(records(array).size(), 0u);
    EXPECT_EQ(user<quilloComponentArray>(array).markers().length(), 0u);

    // With no meshes at all: an empty list, no markers.
    ASSERT_TRUE(scene.setAttr(array + ".vertexGroup", std::string("0:3")));
    const std::string lonely = create("quilloComponentArray");
    ASSERT_TRUE(scene.setAttr(lonely + ".vertexGroup", std::string("0:3")));
    MPlug plug;
    ASSERT_TRUE(scene.findPlug(lonely + ".outFeatherTurtleDataArray", plug));
    MObject data = plug.asMObject();
    ASSERT_FALSE(data.isNull()) << "an empty list is still written";
    EXPECT_EQ(records(lonely).size(), 0u);
    EXPECT_EQ(user<quilloComponentArray>(lonely).markers().length(), 0u);

    // Disconnecting a mesh deletes its element.
    ASSERT_TRUE(scene.setAttr(array + ".walkStep", 4.0));
    ASSERT_TRUE(scene.disconnectAttr(stripA + ".worldMesh[0]", array + ".inMesh[0]"));
    EXPECT_EQ(records(array).size(), 2u);
}

TEST_F(ComponentNodeTest, GrowMeshGivesUvsAndGrowIdsUntilItIsDisconnected) {
    const std::string array = walkingArray();
    // A 4 x 4 quad under the strips: UV (x / 4, z / 4) in "map1" only.
    const std::string grow = meshShape("grow", growQuad());
    ASSERT_TRUE(scene.setAttr("grow.s", std::vector<double>{2.0, 1.0, 2.0}));
    ASSERT_TRUE(scene.connectAttr(grow + ".worldMesh[0]", array + ".inGrowMesh"));

    std::vector<turtleRecord> list = records(array);
    ASSERT_EQ(list.size(), 4u);
    // Roots (0,0,0), (2,0,0), (0,0,5) and (2,0,5); the last two lie past the quad's edge z = 4.
    const float expected[4][2] = {{0.0f, 0.0f}, {0.5f, 0.0f}, {0.0f, 1.0f}, {0.5f, 1.0f}};
    for (size_t r = 0; r < 4; ++r) {
        EXPECT_NEAR(list[r].u, expected[r][0], 1e-6) << r;
        EXPECT_NEAR(list[r].v, expected[r][1], 1e-6) << r;
        EXPECT_EQ(list[r].growVertexID, 0) << "not asked for";
    }

    ASSERT_TRUE(scene.setAttr(array + ".useGrowVertexID", 1.0));
    list = records(array);
    ASSERT_EQ(list.size(), 4u);
    // (2, 0, 0) lies 2 from corners 1 and 0, and (2, 0, 5) sqrt(5) from corners 3 and 2: the
    // corner listed first in the polygon (1 0 3 2) wins each tie.
    const int ids[4] = {0, 1, 3, 3};
    for (size_t r = 0; r < 4; ++r)
        EXPECT_EQ(list[r].growVertexID, ids[r]) << r;

    // An empty set name reads "map1"; a set the mesh lacks gives (0, 0).
    ASSERT_TRUE(scene.setAttr(array + ".uvSet", std::string("")));
    EXPECT_NEAR(records(array)[1].u, 0.5f, 1e-6);
    ASSERT_TRUE(scene.setAttr(array + ".uvSet", std::string("elsewhere")));
    for (const turtleRecord& r : records(array)) {
        EXPECT_EQ(r.u, 0.0f);
        EXPECT_EQ(r.v, 0.0f);
    }

    ASSERT_TRUE(scene.setAttr(array + ".uvSet", std::string("map1")));
    ASSERT_TRUE(scene.disconnectAttr(grow + ".worldMesh[0]", array + ".inGrowMesh"));
    list = records(array);
    ASSERT_EQ(list.size(), 4u);
    for (const turtleRecord& r : list) {
        EXPECT_EQ(r.u, 0.0f);
        EXPECT_EQ(r.v, 0.0f);
        EXPECT_EQ(r.growVertexID, 0);
    }
}

TEST_F(ComponentNodeTest, FeatherNodeGrowsFromBothOutputs) {
    const std::string array = walkingArray();
    const std::string mesh = meshShape("tri", triangleMesh());
    const std::string component = create("quilloComponent");
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", component + ".inMesh"));
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("0 1 2")));

    const std::string feather = createFeatherNode();
    ASSERT_TRUE(scene.connectAttr(component + ".outFeatherTurtleData",
                                  feather + ".inFeatherTurtleData[0]"));
    ASSERT_TRUE(scene.connectAttr(array + ".outFeatherTurtleDataArray",
                                  feather + ".inFeatherTurtleArrayData[0]"));
    EXPECT_EQ(featherNode(feather).turtlePaths().size(), 1u) << "a component qualifies";
    build(feather);
    EXPECT_EQ(featherNode(feather).turtleArrayPaths().size(), 4u);
    const std::vector<featherGeometry>& built = featherNode(feather).builtFeathers();
    ASSERT_EQ(built.size(), 5u);
    for (const featherGeometry& f : built)
        EXPECT_GT(f.rachisPoints.length(), 1u);
}

namespace {

struct fed {
    // x, y, r, g, b of each segment's start, and x, y of its end, in window coordinates.
    std::vector<std::vector<float>> vertices;
    std::vector<std::vector<float>> ends;
    // Segments that close a loop: each ends where the segment two before it began.
    int loops() const {
        int closed = 0;
        for (size_t k = 2; k < vertices.size(); k += 3)
            if (std::fabs(ends[k][0] - vertices[k - 2][0]) < 1e-3f &&
                std::fabs(ends[k][1] - vertices[k - 2][1]) < 1e-3f)
                ++closed;
        return closed;
    }
};

const double extent = 10.0;

fed drawAndFeedBack(host::Scene& scene, const std::string& name, MPxLocatorNode& node,
                    M3dView::DisplayStatus status) {
    fed result;
    MDagPath path;
    EXPECT_TRUE(MDagPath::getAPathTo(scene.findNode(name), path));
    M3dView view = M3dView::active3dView();
    EXPECT_TRUE(view.beginGL());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    const MMatrix world = path.inclusiveMatrix();
    glLoadMatrixd(&world.matrix[0][0]);
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    node.draw(view, path, M3dView::kWireFrame, status);
    const GLint count = glRenderMode(GL_RENDER);
    view.endGL();
    EXPECT_GE(count, 0);
    for (GLint k = 0; k < count;) {
        const GLint token = static_cast<GLint>(buffer[k++]);
        if (token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
        result.vertices.push_back(
            {buffer[k], buffer[k + 1], buffer[k + 3], buffer[k + 4], buffer[k + 5]});
        result.ends.push_back({buffer[k + 7], buffer[k + 8]});
        k += 14;
    }
    return result;
}

} // namespace

TEST_F(ComponentNodeTest, MarkersDrawOneClosedTriangleEachInTheStatusColour) {
    const std::string array = walkingArray();
    ASSERT_TRUE(scene.setAttr(array + ".walkTimes", 1.0)); // one record per mesh
    quilloComponentArray& node = user<quilloComponentArray>(array);

    const fed lead = drawAndFeedBack(scene, array, node, M3dView::kLead);
    ASSERT_EQ(node.markers().length(), 6u) << "draw pulled the output";
    EXPECT_EQ(lead.loops(), 2) << "six points are two triangles, not a hexagon";
    ASSERT_EQ(lead.vertices.size(), 6u);
    for (const auto& v : lead.vertices) {
        EXPECT_FLOAT_EQ(v[2], 0.0f);
        EXPECT_FLOAT_EQ(v[3], 1.0f);
        EXPECT_FLOAT_EQ(v[4], 1.0f);
    }
    const fed dormant = drawAndFeedBack(scene, array, node, M3dView::kDormant);
    ASSERT_EQ(dormant.vertices.size(), 6u);
    EXPECT_NEAR(dormant.vertices[0][3], 0.6f, 1e-6);
    EXPECT_FLOAT_EQ(dormant.vertices[0][4], 1.0f);
    const MColor other = node.colorRGB(M3dView::kActive);
    const fed active = drawAndFeedBack(scene, array, node, M3dView::kActive);
    ASSERT_EQ(active.vertices.size(), 6u);
    EXPECT_NEAR(active.vertices[0][2], other.r, 1e-6);
    EXPECT_NEAR(active.vertices[0][4], other.b, 1e-6);

    // Under a moved parent the markers still show at the vertices: the parent is undone.
    const std::string mesh = meshShape("tri", triangleMesh());
    ASSERT_TRUE(scene.createNode("transform", "holder"));
    ASSERT_TRUE(scene.setAttr("holder.t", std::vector<double>{3.0, -2.0, 0.0}));
    const std::string component = create("quilloComponent", "holder");
    ASSERT_TRUE(scene.connectAttr(mesh + ".worldMesh[0]", component + ".inMesh"));
    ASSERT_TRUE(scene.setAttr(component + ".vertexGroup", std::string("0 1")));
    quilloComponent& single = user<quilloComponent>(component);
    const fed drawn = drawAndFeedBack(scene, component, single, M3dView::kLead);
    EXPECT_EQ(drawn.loops(), 1);
    ASSERT_EQ(drawn.vertices.size(), 3u);
    GLint viewport[4];
    M3dView view = M3dView::active3dView();
    view.beginGL();
    glGetIntegerv(GL_VIEWPORT, viewport);
    view.endGL();
    // The tip is vertex 1, world (1, 0, 0).
    const float tipX = static_cast<float>(viewport[0] + (1.0 / extent + 1.0) * 0.5 * viewport[2]);
    const float tipY = static_cast<float>(viewport[1] + 0.5 * viewport[3]);
    EXPECT_NEAR(drawn.vertices[0][0], tipX, 1e-2);
    EXPECT_NEAR(drawn.vertices[0][1], tipY, 1e-2);

    // Emptied by the removal callback: nothing is drawn.
    MObject object = scene.findNode(array);
    quilloComponent::nodeRemoved(object, nullptr);
    EXPECT_EQ(node.markers().length(), 0u);
}
