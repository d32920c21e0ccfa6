// The feather system's attributes as scenes store them (names, types, defaults, limits, flags,
// what affects "outFeatherMesh"), its members after creation and removal, and a compute that
// produces nothing yet.

#include "attributeTable.h"
#include "featherNodeFixture.h"

#include "graph/nodeType.h"
#include "nodes/system/quilloSystem.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>

#include <set>
#include <sstream>

namespace {

// Long name, short name, type, default (components separated by commas), minimum, maximum
// ("-": none), flags ("-": the usual readable, writable, storable, shown and keyable; nK not
// keyable, nS not storable, nW not writable, H hidden), and whether it affects
// "outFeatherMesh".
const char* const expectedTable = R"(
active active bool 1 - - - yes
displayQuality dispqua int 20 0 100 - yes
displayBarbuleQuality dispbarqua int 10 0 100 - yes
renderQuality renqua int 100 0 100 - no
useUVIFile uuvi bool 0 - - - yes
uviFile uvif string "" - - nK yes
uSegment useg int 10 - - - yes
vSegment vseg int 10 - - - yes
jitterDistance jitterdis float 0.1 - - - yes
jitterFrequency jitterfre float 15 - - - yes
guidsPerFeather gpf int 1 1 - - yes
gloalScale gloalScale float 1 0 - - yes
randScale randScale float 0 0 1 - yes
radius radius float 10 0 - - yes
power power float 1 0 - - yes
colorTex colorTex colour 0,0,0 - - nK yes
scaleTex scaleTex float 1 - - nK yes
baldnessTex baldnessTex float 1 - - nK yes
radiusTex radiusTex float 1 - - nK yes
uvOffset uvOffset double2 0,0 -1 1 - yes
uvTranslate uvTranslate float2 0,0 -1 1 - yes
randomSeed rands int 5 - - - yes
displayProxyBoundingBox dispPBB bool 0 - - - yes
uvSetName uvsn string "map1" - - nK yes
inRenderFeather inrf int -1 - - nK,H yes
growthSet growthSet message - - - nK,H yes
inputGrowSurface ingrs nurbsSurface - - - nK,H yes
inputGrowMesh ingrm mesh - - - nK,H,nS yes
inputGrowMeshID inmeshid int -1 - - nK,H yes
inFeatherMesh infm mesh - - - nK,H yes
outFeatherMesh outfm mesh - - - nK,nS,nW,H no
outputFeatherMesh outfeamesh bool 0 - - nK no
)";

class FeatherSystemTest : public FeatherNodeTest {
  protected:
    std::string createSystem(const std::string& name = "") {
        std::string created;
        EXPECT_TRUE(scene.createNode("quilloSystem", name, "", &created)) << scene.lastError();
        return created;
    }
    quilloSystem& system(const std::string& name) {
        MFnDependencyNode fn(scene.findNode(name));
        EXPECT_EQ(fn.typeId(), quilloSystem::id);
        return *static_cast<quilloSystem*>(fn.userNode());
    }
    double value(const std::string& plug) {
        double result = -12345.0;
        EXPECT_TRUE(scene.getAttr(plug, result)) << plug << ": " << scene.lastError();
        return result;
    }
};

TEST_F(FeatherSystemTest, AttributesAreExactlyTheTable) {
    const std::vector<expectedAttribute> rows = parseAttributeTable(expectedTable);
    ASSERT_EQ(rows.size(), 32u);
    host::NodeType* type = host::TypeRegistry::instance().findNode("quilloSystem");
    ASSERT_NE(type, nullptr);

    // The node's own attributes follow the inherited ones, in table order.
    const host::AttributeDef* first = type->findAttribute("active");
    ASSERT_NE(first, nullptr);
    std::vector<std::string> own, expectedNames;
    for (size_t k = static_cast<size_t>(type->topIndex(first)); k < type->attributes.size(); ++k)
        own.push_back(type->attributes[k]->name);
    for (const expectedAttribute& row : rows)
        expectedNames.push_back(row.longName);
    EXPECT_EQ(own, expectedNames);

    MFnDependencyNode node(scene.findNode(createSystem()));
    std::set<std::string> affecting;
    for (const expectedAttribute& row : rows) {
        SCOPED_TRACE(row.longName);
        MObject attribute = node.attribute(row.longName.c_str());
        ASSERT_FALSE(attribute.isNull());
        MFnAttribute fn(attribute);
        EXPECT_EQ(fn.shortName().asChar(), row.shortName);
        EXPECT_EQ(fn.isKeyable(), !tableHasFlag(row.flags, "nK"));
        EXPECT_EQ(fn.isStorable(), !tableHasFlag(row.flags, "nS"));
        EXPECT_EQ(fn.isWritable(), !tableHasFlag(row.flags, "nW"));
        EXPECT_EQ(fn.isHidden(), tableHasFlag(row.flags, "H"));
        EXPECT_TRUE(fn.isReadable());
        EXPECT_FALSE(fn.isArray());
        checkAttributeKind(attribute, row);
        if (row.affects)
            affecting.insert(row.longName);
    }

    // 29 declarations, every one onto "outFeatherMesh"; "renderQuality" and
    // "outputFeatherMesh" mark nothing dirty.
    EXPECT_EQ(affecting.size(), 29u);
    std::set<std::string> declared;
    const host::AttributeDef* output = type->findAttribute("outFeatherMesh");
    for (const auto& [from, to] : type->affects) {
        if (type->topIndex(from->top()) < type->topIndex(first))
            continue; // inherited
        ASSERT_EQ(to.size(), 1u) << from->name;
        EXPECT_EQ(to[0], output) << from->name;
        declared.insert(from->name);
    }
    EXPECT_EQ(declared, affecting);
}

TEST_F(FeatherSystemTest, AFreshNodeHasTheDefaults) {
    const std::string name = createSystem();
    EXPECT_EQ(value(name + ".active"), 1.0);
    EXPECT_EQ(value(name + ".displayQuality"), 20.0);
    EXPECT_EQ(value(name + ".displayBarbuleQuality"), 10.0);
    EXPECT_EQ(value(name + ".uSegment"), 10.0);
    EXPECT_EQ(value(name + ".vSegment"), 10.0);
    EXPECT_FLOAT_EQ(static_cast<float>(value(name + ".jitterDistance")), 0.1f);
    EXPECT_EQ(value(name + ".jitterFrequency"), 15.0);
    EXPECT_EQ(value(name + ".guidsPerFeather"), 1.0);
    EXPECT_EQ(value(name + ".radius"), 10.0);
    EXPECT_EQ(value(name + ".power"), 1.0);
    EXPECT_EQ(value(name + ".randomSeed"), 5.0);
    EXPECT_EQ(value(name + ".inRenderFeather"), -1.0);
    std::string uvSet, uvFile = "unread";
    EXPECT_TRUE(scene.getAttr(name + ".uvSetName", uvSet));
    EXPECT_EQ(uvSet, "map1");
    EXPECT_TRUE(scene.getAttr(name + ".uviFile", uvFile));
    EXPECT_EQ(uvFile, "");
}

TEST_F(FeatherSystemTest, HardLimitsRefuseValuesOutsideTheirRange) {
    const std::string name = createSystem();
    host::MessageCapture quiet; // the clamping warnings
    const struct {
        const char* attribute;
        double set, kept;
    } cases[] = {
        {"displayQuality", 150, 100},
        {"displayQuality", -3, 0},
        {"displayBarbuleQuality", 101, 100},
        {"renderQuality", -1, 0},
        {"guidsPerFeather", 0, 1},
        {"guidsPerFeather", -7, 1},
        {"randScale", 2, 1},
        {"randScale", -0.5, 0},
        {"radius", -1, 0},
        {"gloalScale", -2, 0},
        {"power", -1, 0},
        {"uSegment", 1000, 1000},
    };
    for (const auto& c : cases) {
        const std::string plug = name + "." + c.attribute;
        scene.setAttr(plug, c.set);
        EXPECT_EQ(value(plug), c.kept) << c.attribute << " set to " << c.set;
    }
    for (const char* pair : {"uvOffset", "uvTranslate"}) {
        const std::string plug = name + "." + pair;
        scene.setAttr(plug, std::vector<double>{3.0, -3.0});
        std::vector<double> kept;
        ASSERT_TRUE(scene.getAttr(plug, kept));
        EXPECT_EQ(kept, (std::vector<double>{1.0, -1.0})) << pair;
        scene.setAttr(plug, std::vector<double>{0.25, -0.5});
        ASSERT_TRUE(scene.getAttr(plug, kept));
        EXPECT_EQ(kept, (std::vector<double>{0.25, -0.5})) << pair << " within the limits";
    }
}

TEST_F(FeatherSystemTest, MembersAfterCreationAndRemoval) {
    const std::string name = createSystem();
    quilloSystem& node = system(name);
    EXPECT_TRUE(node.builtFeathers().empty());
    EXPECT_EQ(node.drawColors().length(), 4u);
    EXPECT_TRUE(node.isBounded());
    EXPECT_FALSE(node.excludeAsLocator());

    // The removal handler empties the colours.
    MObject object = scene.findNode(name);
    quilloSystem::nodeRemoved(object, nullptr);
    EXPECT_EQ(node.drawColors().length(), 0u);
    EXPECT_TRUE(node.builtFeathers().empty());

    // Deleting the node runs the handler through the scene without trouble.
    EXPECT_TRUE(scene.deleteNode(name)) << scene.lastError();
    EXPECT_TRUE(scene.findNode(name).isNull());
}

TEST_F(FeatherSystemTest, NothingIsComputedYet) {
    const std::string name = createSystem();
    host::MessageCapture quiet;
    std::vector<double> none;
    // The output is not produced: evaluating it is harmless and builds no feathers.
    scene.getAttr(name + ".outFeatherMesh", none);
    EXPECT_TRUE(system(name).builtFeathers().empty());
    EXPECT_EQ(system(name).drawColors().length(), 4u);
}

} // namespace
