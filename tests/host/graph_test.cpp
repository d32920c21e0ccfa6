// The dependency graph through the Maya API a plug-in uses and the host's scene interface.

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MArrayDataHandle.h>
#include <maya/MCallbackIdArray.h>
#include <maya/MDGMessage.h>
#include <maya/MDagPath.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MMessage.h>
#include <maya/MPlugArray.h>
#include <maya/MPxNode.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

namespace {

// sum = a + b; total = sum of the elements of inputs, recording the logical order it saw.
class Adder : public MPxNode {
  public:
    static MObject a, b, sum, inputs, total, clamped;
    static int computeCount;
    static std::vector<unsigned int> seenOrder;
    struct Hook {
        std::string plug, other;
        bool asSrc;
        bool made;
    };
    static std::vector<Hook> hooks;

    static void* creator() { return new Adder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        a = n.create("inputA", "a", MFnNumericData::kFloat, 1.0);
        b = n.create("inputB", "b", MFnNumericData::kFloat, 2.0);
        sum = n.create("sum", "s", MFnNumericData::kFloat, 0.0);
        n.setWritable(false);
        n.setStorable(false);
        inputs = n.create("inputs", "in", MFnNumericData::kDouble, 0.0);
        n.setArray(true);
        total = n.create("total", "tot", MFnNumericData::kDouble, 0.0);
        n.setWritable(false);
        clamped = n.create("clamped", "cl", MFnNumericData::kInt, 5);
        n.setMin(2);
        n.setMax(10);
        for (MObject* attribute : {&a, &b, &sum, &inputs, &total, &clamped})
            addAttribute(*attribute);
        attributeAffects(a, sum);
        attributeAffects(b, sum);
        attributeAffects(inputs, total);
        return MS::kSuccess;
    }
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug == sum) {
            ++computeCount;
            float value = data.inputValue(a).asFloat() + data.inputValue(b).asFloat();
            data.outputValue(sum).set(value);
            data.setClean(plug);
            return MS::kSuccess;
        }
        if (plug == total) {
            seenOrder.clear();
            MArrayDataHandle elements = data.inputArrayValue(inputs);
            double value = 0.0;
            for (unsigned int i = 0; i < elements.elementCount(); ++i, elements.next()) {
                seenOrder.push_back(elements.elementIndex());
                value += elements.inputValue().asDouble();
            }
            data.outputValue(total).set(value);
            data.setClean(plug);
            return MS::kSuccess;
        }
        return MS::kUnknownParameter;
    }
    MStatus connectionMade(const MPlug& plug, const MPlug& other, bool asSrc) override {
        hooks.push_back({plug.name().asChar(), other.name().asChar(), asSrc, true});
        return MPxNode::connectionMade(plug, other, asSrc);
    }
    MStatus connectionBroken(const MPlug& plug, const MPlug& other, bool asSrc) override {
        hooks.push_back({plug.name().asChar(), other.name().asChar(), asSrc, false});
        return MPxNode::connectionBroken(plug, other, asSrc);
    }
};
MObject Adder::a, Adder::b, Adder::sum, Adder::inputs, Adder::total, Adder::clamped;
int Adder::computeCount = 0;
std::vector<unsigned int> Adder::seenOrder;
std::vector<Adder::Hook> Adder::hooks;

// A compound array whose elements go when their connection breaks, like a guide list.
class Holder : public MPxNode {
  public:
    static MObject guides, guideValue, guideWeight;
    static void* creator() { return new Holder; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        guideValue = n.create("guideValue", "gv", MFnNumericData::kDouble, 0.0);
        guideWeight = n.create("guideWeight", "gw", MFnNumericData::kDouble, 1.0);
        MFnCompoundAttribute c;
        guides = c.create("guides", "gd");
        c.addChild(guideValue);
        c.addChild(guideWeight);
        c.setArray(true);
        c.setDisconnectBehavior(MFnAttribute::kDelete);
        addAttribute(guides);
        return MS::kSuccess;
    }
};
MObject Holder::guides, Holder::guideValue, Holder::guideWeight;

class GraphTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        auto& types = host::TypeRegistry::instance();
        ASSERT_TRUE(types.registerNode("testAdder", MTypeId(0x7f001), &Adder::creator,
                                       &Adder::initialize, MPxNode::kDependNode, nullptr, &error))
            << error;
        ASSERT_TRUE(types.registerNode("testHolder", MTypeId(0x7f002), &Holder::creator,
                                       &Holder::initialize, MPxNode::kDependNode, nullptr, &error))
            << error;
    }
    void SetUp() override {
        scene.fileNew();
        Adder::computeCount = 0;
        Adder::hooks.clear();
    }
    void TearDown() override {
        // Callbacks first: the data they were given may have gone with the test's locals.
        MMessage::removeCallbacks(callbacks);
        scene.fileNew();
    }

    std::string create(const std::string& type) {
        std::string name;
        EXPECT_TRUE(scene.createNode(type, "", "", &name));
        return name;
    }
    double get(const std::string& plug) {
        double value = -1.0;
        EXPECT_TRUE(scene.getAttr(plug, value)) << plug;
        return value;
    }

    host::Scene& scene = host::Scene::current();
    MCallbackIdArray callbacks; // removed however the test ends
    host::MessageCapture capture;
};

TEST_F(GraphTest, ComputesLazilyOnPullAndOnlyWhenDirty) {
    std::string n = create("testAdder");
    EXPECT_EQ(Adder::computeCount, 0);
    EXPECT_DOUBLE_EQ(get(n + ".sum"), 3.0);
    EXPECT_EQ(Adder::computeCount, 1);
    EXPECT_DOUBLE_EQ(get(n + ".sum"), 3.0);
    EXPECT_EQ(Adder::computeCount, 1) << "a clean output must not compute again";

    ASSERT_TRUE(scene.setAttr(n + ".inputA", 10.0));
    EXPECT_EQ(Adder::computeCount, 1) << "setting an input must not compute";
    EXPECT_DOUBLE_EQ(get(n + ".s"), 12.0);
    EXPECT_EQ(Adder::computeCount, 2);
    // An attribute that affects nothing leaves the output clean.
    ASSERT_TRUE(scene.setAttr(n + ".clamped", 4.0));
    EXPECT_DOUBLE_EQ(get(n + ".sum"), 12.0);
    EXPECT_EQ(Adder::computeCount, 2);
}

TEST_F(GraphTest, DirtinessFlowsThroughConnectionsAndHooksSeeBothEnds) {
    std::string up = create("testAdder"), down = create("testAdder");
    ASSERT_TRUE(scene.connectAttr(up + ".sum", down + ".inputA"));
    ASSERT_EQ(Adder::hooks.size(), 2u);
    EXPECT_EQ(Adder::hooks[0].plug, down + ".inputA");
    EXPECT_FALSE(Adder::hooks[0].asSrc);
    EXPECT_EQ(Adder::hooks[1].plug, up + ".sum");
    EXPECT_EQ(Adder::hooks[1].other, down + ".inputA");
    EXPECT_TRUE(Adder::hooks[1].asSrc);

    EXPECT_DOUBLE_EQ(get(down + ".sum"), 5.0); // (1 + 2) + 2
    ASSERT_TRUE(scene.setAttr(up + ".inputB", 7.0));
    EXPECT_DOUBLE_EQ(get(down + ".sum"), 10.0);

    // A connected destination cannot be set from outside.
    EXPECT_FALSE(scene.setAttr(down + ".inputA", 1.0));
    EXPECT_NE(scene.lastError().find("incoming connection"), std::string::npos);

    Adder::hooks.clear();
    ASSERT_TRUE(scene.disconnectAttr(up + ".sum", down + ".inputA"));
    ASSERT_EQ(Adder::hooks.size(), 2u);
    EXPECT_FALSE(Adder::hooks[0].made);
    EXPECT_EQ(Adder::hooks[0].plug, down + ".inputA");
    // The destination keeps its last value and can be set again.
    EXPECT_DOUBLE_EQ(get(down + ".inputA"), 8.0);
    EXPECT_TRUE(scene.setAttr(down + ".inputA", 1.0));
    EXPECT_DOUBLE_EQ(get(down + ".sum"), 3.0);
}

TEST_F(GraphTest, ArrayElementsAreSparseAndWalkedInLogicalOrder) {
    std::string n = create("testAdder"), src = create("testAdder");
    ASSERT_TRUE(scene.setAttr(n + ".inputs[5]", 5.0));
    ASSERT_TRUE(scene.setAttr(n + ".inputs[0]", 1.0));
    ASSERT_TRUE(scene.setAttr(n + ".in[2]", 2.0));
    EXPECT_DOUBLE_EQ(get(n + ".total"), 8.0);
    EXPECT_EQ(Adder::seenOrder, (std::vector<unsigned int>{0, 2, 5}));

    // A connection into a new element adds it, and its upstream change reaches the total.
    ASSERT_TRUE(scene.connectAttr(src + ".sum", n + ".inputs[9]"));
    EXPECT_DOUBLE_EQ(get(n + ".total"), 11.0);
    EXPECT_EQ(Adder::seenOrder, (std::vector<unsigned int>{0, 2, 5, 9}));
    ASSERT_TRUE(scene.setAttr(src + ".inputA", 4.0));
    EXPECT_DOUBLE_EQ(get(n + ".total"), 14.0);

    MPlug array;
    ASSERT_TRUE(scene.findPlug(n + ".inputs", array));
    EXPECT_TRUE(array.isArray());
    EXPECT_EQ(array.numElements(), 4u);
    EXPECT_EQ(array.elementByPhysicalIndex(1).logicalIndex(), 2u);
    EXPECT_EQ(array.numConnectedElements(), 1u);
    MIntArray indices;
    array.getExistingArrayAttributeIndices(indices);
    ASSERT_EQ(indices.length(), 4u);
    EXPECT_EQ(indices[3], 9);

    // -na picks the element after the last one.
    std::string connected;
    ASSERT_TRUE(scene.connectAttr(src + ".sum", n + ".inputs", false, true, &connected));
    EXPECT_EQ(connected, n + ".inputs[10]");
}

TEST_F(GraphTest, ArrayDataHandleJumps) {
    std::string n = create("testAdder");
    for (int i : {7, 3, 11})
        ASSERT_TRUE(scene.setAttr(n + ".inputs[" + std::to_string(i) + "]", double(i)));
    MObject node = scene.findNode(n);
    host::Node* hostNode = host::nodeOf(node);
    MDataBlock block(hostNode);
    MArrayDataHandle handle = block.inputArrayValue(Adder::inputs);
    ASSERT_EQ(handle.elementCount(), 3u);
    ASSERT_TRUE(handle.jumpToElement(11));
    EXPECT_DOUBLE_EQ(handle.inputValue().asDouble(), 11.0);
    EXPECT_EQ(handle.jumpToElement(4), MS::kInvalidParameter);
    ASSERT_TRUE(handle.jumpToArrayElement(1));
    EXPECT_EQ(handle.elementIndex(), 7u);
    EXPECT_FALSE(handle.jumpToArrayElement(3));
    EXPECT_TRUE(handle.next());
    EXPECT_FALSE(handle.next()) << "past the last element";
}

TEST_F(GraphTest, DisconnectBehaviourDeleteRemovesTheElement) {
    std::string holder = create("testHolder"), src = create("testAdder");
    ASSERT_TRUE(scene.connectAttr(src + ".sum", holder + ".guides[3].guideValue"));
    ASSERT_TRUE(scene.connectAttr(src + ".sum", holder + ".guides[4].guideValue"));
    EXPECT_DOUBLE_EQ(get(holder + ".guides[3].guideValue"), 3.0);
    MPlug guides;
    ASSERT_TRUE(scene.findPlug(holder + ".guides", guides));
    EXPECT_EQ(guides.numElements(), 2u);
    ASSERT_TRUE(scene.disconnectAttr(src + ".sum", holder + ".guides[3].guideValue"));
    EXPECT_EQ(guides.numElements(), 1u);
    EXPECT_EQ(guides.elementByPhysicalIndex(0).logicalIndex(), 4u);
    EXPECT_EQ(guides.elementByPhysicalIndex(0).child(0).name().asChar(),
              holder + ".guides[4].guideValue");
}

TEST_F(GraphTest, HardLimitsClampWithAWarningNamingThePlug) {
    std::string n = create("testAdder");
    ASSERT_TRUE(scene.setAttr(n + ".clamped", 50.0));
    EXPECT_DOUBLE_EQ(get(n + ".clamped"), 10.0);
    EXPECT_TRUE(capture.contains(host::MessageKind::kWarning, n + ".clamped"));
    ASSERT_TRUE(scene.setAttr(n + ".clamped", -3.0));
    EXPECT_DOUBLE_EQ(get(n + ".clamped"), 2.0);
    // Non-numbers are refused outright.
    EXPECT_FALSE(scene.setAttr(n + ".inputA", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_DOUBLE_EQ(get(n + ".inputA"), 1.0);
}

// A number too large for the attribute's stored type saturates at the type's end instead of
// wrapping (the conversion would otherwise be undefined).
TEST_F(GraphTest, NumbersBeyondTheStoredTypeSaturate) {
    std::string n = create("testAdder");
    ASSERT_TRUE(scene.setAttr(n + ".inputA", 1e300));
    EXPECT_DOUBLE_EQ(get(n + ".inputA"), static_cast<double>(FLT_MAX));
    ASSERT_TRUE(scene.setAttr(n + ".inputA", -1e300));
    EXPECT_DOUBLE_EQ(get(n + ".inputA"), -static_cast<double>(FLT_MAX));
    std::string t = create("transform");
    ASSERT_TRUE(scene.setAttr(t + ".rotateOrder", 1e12));
    EXPECT_DOUBLE_EQ(get(t + ".rotateOrder"), static_cast<double>(SHRT_MAX));
    ASSERT_TRUE(scene.setAttr(t + ".rotateOrder", -1e12));
    EXPECT_DOUBLE_EQ(get(t + ".rotateOrder"), static_cast<double>(SHRT_MIN));
}

TEST_F(GraphTest, MissingNamesAreErrorsThatNameThem) {
    std::string n = create("testAdder");
    EXPECT_FALSE(scene.setAttr("ghost.inputA", 1.0));
    EXPECT_NE(scene.lastError().find("ghost"), std::string::npos);
    EXPECT_FALSE(scene.setAttr(n + ".nothingHere", 1.0));
    EXPECT_NE(scene.lastError().find("nothingHere"), std::string::npos);
    EXPECT_FALSE(scene.connectAttr(n + ".sum", "ghost.inputA"));
    EXPECT_FALSE(scene.createNode("noSuchType"));
    EXPECT_NE(scene.lastError().find("noSuchType"), std::string::npos);
    EXPECT_FALSE(scene.deleteNode("ghost"));
    EXPECT_FALSE(scene.setAttr(n + ".inputs[x]", 1.0));
    EXPECT_FALSE(scene.setAttr(n + ".inputs[99999999999]", 1.0));
    EXPECT_FALSE(scene.connectAttr(n + ".sum", n + ".sum")) << "outputs are not writable";
    EXPECT_GE(capture.count(host::MessageKind::kError), 7u);
}

int removedCount = 0;
std::vector<std::string> removedNames;
void onRemoved(MObject& node, void* clientData) {
    ++removedCount;
    removedNames.push_back(MFnDependencyNode(node).name().asChar());
    // Connections are already broken when the callback runs.
    MPlugArray plugs;
    MFnDependencyNode(node).getConnections(plugs);
    EXPECT_EQ(plugs.length(), 0u);
    *static_cast<int*>(clientData) += 1;
}

TEST_F(GraphTest, NodeRemovedCallbacksAreFilteredByTypeAndRemovable) {
    int calls = 0;
    removedCount = 0;
    removedNames.clear();
    MStatus status;
    MCallbackId id = MDGMessage::addNodeRemovedCallback(&onRemoved, "testHolder", &calls, &status);
    ASSERT_TRUE(status);
    callbacks.append(id);
    std::string adder = create("testAdder"), holder = create("testHolder");
    ASSERT_TRUE(scene.connectAttr(adder + ".sum", holder + ".guides[0].guideValue"));
    ASSERT_TRUE(scene.deleteNode(adder));
    EXPECT_EQ(calls, 0) << "filtered by type";
    ASSERT_TRUE(scene.deleteNode(holder));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(removedNames, std::vector<std::string>{holder});

    ASSERT_TRUE(MMessage::removeCallback(id));
    callbacks.clear();
    EXPECT_FALSE(MMessage::removeCallback(id)) << "an id is removed once";
    create("testHolder");
    scene.fileNew();
    EXPECT_EQ(calls, 1);
}

TEST_F(GraphTest, CyclesDoNotHang) {
    std::string x = create("testAdder"), y = create("testAdder");
    ASSERT_TRUE(scene.connectAttr(x + ".sum", y + ".inputA"));
    ASSERT_TRUE(scene.connectAttr(y + ".sum", x + ".inputA"));
    ASSERT_TRUE(scene.setAttr(x + ".inputB", 1.0));
    double value = 0.0;
    EXPECT_TRUE(scene.getAttr(y + ".sum", value));
}

TEST_F(GraphTest, DagParentingAndNames) {
    std::string t1 = create("transform"), t2 = create("transform");
    EXPECT_EQ(t1, "transform1");
    EXPECT_EQ(t2, "transform2");
    ASSERT_TRUE(scene.parent(t2, t1));
    EXPECT_EQ(scene.parentOf(t2), t1);
    EXPECT_FALSE(scene.parent(t1, t2)) << "no parenting under a descendant";
    ASSERT_TRUE(scene.rename(t2, "child"));
    EXPECT_EQ(scene.parentOf("child"), t1);
    ASSERT_TRUE(scene.setAttr("child.translate", std::vector<double>{1, 2, 3}));
    std::vector<double> t;
    ASSERT_TRUE(scene.getAttr("child.t", t));
    EXPECT_EQ(t, (std::vector<double>{1, 2, 3}));
    EXPECT_FALSE(scene.setAttr("child.translate", std::vector<double>{1, 2}));
    // Deleting the parent takes the child along.
    ASSERT_TRUE(scene.deleteNode(t1));
    EXPECT_TRUE(scene.findNode("child").isNull());
}

TEST_F(GraphTest, DagNamesNeedOnlyBeUniqueAmongSiblings) {
    auto make = [&](const std::string& type, const std::string& name, const std::string& parent) {
        std::string created;
        EXPECT_TRUE(scene.createNode(type, name, parent, &created)) << scene.lastError();
        return created;
    };
    make("transform", "g1", "");
    make("transform", "g2", "");
    EXPECT_EQ(make("transform", "a", "g1"), "a");
    EXPECT_EQ(make("transform", "a", "g2"), "a") << "another parent: the name is kept";
    EXPECT_EQ(make("transform", "a", ""), "a") << "at the world too";
    EXPECT_EQ(make("transform", "a", "g1"), "a1") << "a sibling has it";
    // A dependency node's name is unique among all nodes, and DAG nodes leave it alone.
    EXPECT_EQ(make("testAdder", "a", ""), "a2");
    EXPECT_EQ(make("transform", "a2", "g2"), "a1");

    // A short name that several nodes share names none of them; paths do.
    EXPECT_TRUE(scene.findNode("a").isNull());
    EXPECT_FALSE(scene.rename("a", "b"));
    EXPECT_EQ(scene.lastError(), "rename: More than one object matches name: a");
    EXPECT_EQ(scene.fullPathOf("g2|a"), "|g2|a");
    EXPECT_EQ(scene.fullPathOf("|a"), "|a");
    EXPECT_EQ(scene.typeOf("|g1|a1"), "transform");
    EXPECT_TRUE(scene.findNode("|g1|g2|a").isNull()) << "a full path starts at the world";

    // Renaming and reparenting keep the name unless a new sibling has it.
    ASSERT_TRUE(scene.rename("g2|a1", "b"));
    ASSERT_TRUE(scene.rename("b", "a1"));
    EXPECT_EQ(scene.fullPathOf("g2|a1"), "|g2|a1");
    ASSERT_TRUE(scene.parent("g2|a1", "g1"));
    EXPECT_EQ(scene.fullPathOf("g1|a3"), "|g1|a3") << "a, a1 under g1 and a2 are taken";
    ASSERT_TRUE(scene.parent("g2|a", ""));
    EXPECT_EQ(scene.fullPathOf("|a1"), "|a1") << "a is taken at the world";

    // Names shown are the shortest unique paths; locks survive a name change around them.
    MPlug plug;
    ASSERT_TRUE(scene.findPlug("g1|a.tx", plug));
    EXPECT_STREQ(plug.name().asChar(), "g1|a.translateX");
    EXPECT_STREQ(plug.partialName(false).asChar(), "tx");
    ASSERT_TRUE(plug.setLocked(true));
    MDagPath path;
    ASSERT_TRUE(MDagPath::getAPathTo(plug.node(), path));
    EXPECT_STREQ(path.partialPathName().asChar(), "g1|a");
    EXPECT_STREQ(path.fullPathName().asChar(), "|g1|a");
    ASSERT_TRUE(scene.deleteNode("|a"));
    EXPECT_STREQ(plug.name().asChar(), "a.translateX");
    EXPECT_TRUE(plug.isLocked());
}

TEST_F(GraphTest, PlugLocksFollowARenamedNode) {
    std::string n = create("testAdder");
    MPlug plug;
    ASSERT_TRUE(scene.findPlug(n + ".inputA", plug));
    ASSERT_TRUE(plug.setLocked(true));
    ASSERT_TRUE(scene.rename(n, "renamedAdder"));
    ASSERT_TRUE(scene.findPlug("renamedAdder.inputA", plug));
    EXPECT_TRUE(plug.isLocked());
    EXPECT_FALSE(scene.setAttr("renamedAdder.inputA", 3.0)) << "still locked after the rename";
}

TEST_F(GraphTest, UnknownTypesBecomeGenericNodesKeepingRawValues) {
    std::string name;
    ASSERT_TRUE(scene.createNode("lightLinker", "lightLinker1", "", &name, true));
    EXPECT_EQ(scene.typeOf(name), "lightLinker");
    ASSERT_TRUE(scene.setAttr(name + ".lnk[0].llnk", std::string(":initialShadingGroup")));
    std::string text;
    ASSERT_TRUE(scene.getAttr(name + ".lnk[0].llnk", text));
    EXPECT_EQ(text, ":initialShadingGroup");
}

} // namespace
