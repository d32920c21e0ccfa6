// The feather node's attributes as scenes store them (names, types, defaults, limits, flags,
// enum fields, what affects "outputMesh"), and its default ramp entries.

#include "attributeTable.h"
#include "featherNodeFixture.h"

#include "graph/nodeType.h"

#include <maya/MFileIO.h>
#include <maya/MFloatArray.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MRampAttribute.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace host {
extern bool readingFile;
}

namespace {

// The attribute table as scenes know it: long name, short name, type, default (components
// separated by commas), minimum, maximum ("-": none), flags (K keyable, nS not storable, nW not
// writable, H hidden, A array, Dd / Dr disconnect behaviour delete / reset), and whether it
// affects "outputMesh". Children of "guidSurfaceInfo" are marked with a leading '.'.
const char* const expectedTable = R"(
displayQuality dispqua int 20 0 100 K yes
displayAs disas enum 0 - - K yes
uniformWidth uniwi bool 1 - - K yes
multiInstances multiInst bool 1 - - K yes
active active bool 1 - - K yes
render render bool 1 - - K no
curveType curvetype enum 1 - - K yes
surfaceFeather surfea bool 0 - - K yes
direction dir enum 0 - - K yes
rachisRenderAs rachra enum 0 - - K no
rachisSegment racseg int 4 1 - K yes
rachisPosition racpos double 0.5 0 1 K yes
rachisSides racsides int 4 3 - K yes
rachisThick racthick double 0.5 0 - K yes
rachisStart racstart double 0 0 1 K yes
rachisEnd racend double 1 0 1 K yes
rachisThickScale racthS ramp - - - - yes
barbuleNum barn int 100 0 - K yes
barbuleDensity barden ramp - - - - yes
forcePerSegmentScale forpss ramp - - - - yes
forceRotateScale forrs ramp - - - - yes
forcePerSegment forceperseg double 0 0 - K yes
turnAtForce turnaf double 1 0 1 K yes
rotateDegree rotdeg double 5 - - K yes
rachisNoiseFrequency racnoisefre double 10 0 - K yes
barbuleNoiseFrequency barnoisefre double 20 0 - K yes
noisePhase noisephase double2 0,0 - - K yes
upDownLength updowl double 0 - - K yes
keyBarbuleStepAngle kbsd double 10 -180 180 K yes
barbuleGapThreshold bargapth double 1 0 1 K yes
barbuleGapFrequency bargapf double 5 - - K yes
barbuleGapPhase bargapp double 0 - - K yes
barbuleGapSize bargs double 5 - - K yes
keyBarbulePos1 kbp1 double 0 0 1 K yes
keyBarbulePos2 kbp2 double 0.2 0 1 K yes
keyBarbulePos3 kbp3 double 0.8 0 1 K yes
keyBarbulePos4 kbp4 double 1 0 1 K yes
keyBarbuleStartAngle1 kbsa1 double 60 0 180 K yes
keyBarbuleStartAngle2 kbsa2 double 40 0 180 - yes
keyBarbuleStartAngle3 kbsa3 double 20 0 180 - yes
keyBarbuleStartAngle4 kbsa4 double 10 0 180 - yes
kbRotate1 kbr1 ramp - - - - yes
kbRotate2 kbr2 ramp - - - - yes
kbRotate3 kbr3 ramp - - - - yes
kbRotate4 kbr4 ramp - - - - yes
barbuleLengthRandScale barls double 0 0 1 K yes
shapeSymmetry shapesym bool 1 - - K yes
barbuleSegments bars int 8 1 - K yes
leftBarbuleLengthScale lbarbls ramp - - - - yes
barbuleLength barl double 0.2 0 - K yes
rightBarbuleLengthScale rbarbls ramp - - - - yes
barbuleThick barth double 0.3 0 - K yes
barbuleRandThick barrath double 0 0 1 K yes
barbuleThickScale barbts ramp - - - - yes
barbuleThickAdjust barbtadj ramp - - - - yes
barbuleUpDownBarbule barbudb ramp - - - - yes
barbuleUpDownRachis barbudrs ramp - - - - yes
upDownNoise updown bool 1 - - K yes
randSeed randseed int 4352 - - - yes
displayProxyBoundingBox dispPBB bool 0 - - K yes
proxyBoundingBoxScale pbbs double3 0,0,0.1 - - K yes
uvProjectScale uvprosc double 1 0 - K yes
projectTexUV protuv bool 1 - - K no
autoConvertTex autoct bool 1 - - K no
barbuleColorTex barcoltex string - - - - no
textureProcedure texpro string - - - - no
rootColor rtc colour 0.7,0.7,0.7 - - K yes
tipColor tpc colour 1,1,1 - - K yes
fadeStart fadestart double 0.9 0 1 K no
mainColor mainc colour 0,0,0 - - nS yes
rootOpacity rooto double 1 0 1 K no
tipOpacity tipo double 1 0 1 K no
barbuleDiffuse bardif double 0.5 0 1 K no
barbuleSpecular barsp double 1 0 1 K no
barbuleSpecularColor barspecc colour 1,1,1 - - K no
barbuleGloss bargl double 0.09 0 0.1 K no
selfShadow selfshadow double 1 0 1 K no
hueVar huevar int 0 0 360 K no
satVar satvar double 0 0 1 K no
valueVar valvar double 0 0 1 K no
varFrequency varfreq double 325.12 0 - K no
preFeatherRib prefr string - - - - no
postFeatherRib postfr string - - - - no
preFeatherMeshRib prefmr string - - - - no
postFeatherMeshRib postfmr string - - - - no
rachisRootColor rartc colour 0.3,0.3,0.3 - - K yes
rachisTipColor rattc colour 0.8,0.8,0.8 - - K yes
guidSurfaceInfo gsinf compound - - - H,A,Dd yes
.guidSurface guis nurbsSurface - - - nS,H,Dr yes
.guidUV guv float2 0,0 0 1 K yes
.guidSurfaceID gsurid int 0 0 - K,nS,Dr yes
inFeatherTurtleData infeatd turtle - - - H,A,Dd yes
inFeatherTurtleArrayData infeatarrayd turtleArray - - - H,A,Dd yes
outputMesh outputm mesh - - - nS,nW,H no
featherInfoID feaid int -1 - - nS,nW,H no
outputFeatherMesh outfeamesh bool 0 - - K yes
combineBarbules combbarb bool 0 - - K yes
barbuleLengthThreshold barlenth double 0 0 - K yes
)";

TEST_F(FeatherNodeTest, AttributesAreExactlyTheTable) {
    const std::vector<expectedAttribute> rows = parseAttributeTable(expectedTable);
    ASSERT_EQ(rows.size(), 98u);
    host::NodeType* type = host::TypeRegistry::instance().findNode("quillo");
    ASSERT_NE(type, nullptr);

    // The node's own attributes follow the inherited ones, in table order.
    const host::AttributeDef* first = type->findAttribute("displayQuality");
    ASSERT_NE(first, nullptr);
    std::vector<std::string> own;
    for (size_t k = static_cast<size_t>(type->topIndex(first)); k < type->attributes.size(); ++k) {
        own.push_back(type->attributes[k]->name);
        for (const auto& child : type->attributes[k]->children)
            if (type->attributes[k]->name == "guidSurfaceInfo")
                own.push_back(child->name);
    }
    std::vector<std::string> expectedNames;
    for (const expectedAttribute& row : rows)
        expectedNames.push_back(row.longName);
    EXPECT_EQ(own, expectedNames);

    MFnDependencyNode node(scene.findNode(createFeatherNode()));
    std::set<std::string> affecting;
    for (const expectedAttribute& row : rows) {
        SCOPED_TRACE(row.longName);
        MObject attribute = node.attribute(row.longName.c_str());
        ASSERT_FALSE(attribute.isNull());
        MFnAttribute fn(attribute);
        EXPECT_EQ(fn.shortName().asChar(), row.shortName);
        EXPECT_EQ(!fn.parent().isNull(), row.child);
        if (row.flags != "-" || row.type != "ramp") {
            EXPECT_EQ(fn.isKeyable(), tableHasFlag(row.flags, "K"));
            EXPECT_EQ(fn.isStorable(), !tableHasFlag(row.flags, "nS"));
            EXPECT_EQ(fn.isWritable(), !tableHasFlag(row.flags, "nW"));
            EXPECT_EQ(fn.isHidden(), tableHasFlag(row.flags, "H"));
            EXPECT_EQ(fn.isArray(), tableHasFlag(row.flags, "A"));
            EXPECT_TRUE(fn.isReadable());
        }
        const MFnAttribute::DisconnectBehavior behavior =
            tableHasFlag(row.flags, "Dd")   ? MFnAttribute::kDelete
            : tableHasFlag(row.flags, "Dr") ? MFnAttribute::kReset
                                            : MFnAttribute::kNothing;
        EXPECT_EQ(fn.disconnectBehavior(), behavior);
        checkAttributeKind(attribute, row);
        if (row.affects)
            affecting.insert(row.longName);
    }

    // 74 declarations, every one onto "outputMesh", nothing else affecting anything.
    EXPECT_EQ(affecting.size(), 74u);
    std::set<std::string> declared;
    const host::AttributeDef* output = type->findAttribute("outputMesh");
    for (const auto& [from, to] : type->affects) {
        if (type->topIndex(from->top()) < type->topIndex(first))
            continue; // inherited
        ASSERT_EQ(to.size(), 1u) << from->name;
        EXPECT_EQ(to[0], output) << from->name;
        declared.insert(from->name);
    }
    EXPECT_EQ(declared, affecting);
}

TEST_F(FeatherNodeTest, EnumFieldsAreStable) {
    MFnDependencyNode node(scene.findNode(createFeatherNode()));
    const std::vector<std::pair<std::string, std::vector<std::string>>> enums = {
        {"displayAs", {"FinalFeather", "KeyBarbule"}},
        {"direction", {"U", "V"}},
        {"curveType", {"Linear Curve", "Cubic Curve"}},
        {"rachisRenderAs", {"Nurbs Curve", "Subdivision Mesh", "", "None"}},
    };
    for (const auto& [name, fields] : enums) {
        MFnEnumAttribute fn(node.attribute(name.c_str()));
        for (size_t k = 0; k < fields.size(); ++k) {
            MStatus status;
            MString field = fn.fieldName(static_cast<short>(k), &status);
            if (fields[k].empty()) {
                EXPECT_FALSE(status) << name << " has no field " << k;
            } else {
                EXPECT_TRUE(status) << name << " " << k;
                EXPECT_EQ(field.asChar(), fields[k]);
            }
        }
        EXPECT_FALSE(fn.fieldName(static_cast<short>(fields.size())).length() > 0) << name;
    }
}

// Entries of one ramp, in index order.
struct rampEntries {
    std::vector<int> indexes, interps;
    std::vector<float> positions, values;
    bool operator==(const rampEntries& other) const {
        return indexes == other.indexes && interps == other.interps &&
               positions == other.positions && values == other.values;
    }
};

rampEntries entriesOf(const MObject& node, const char* ramp) {
    MFnDependencyNode fn(node);
    MRampAttribute attribute(node, fn.attribute(ramp));
    MIntArray indexes, interps;
    MFloatArray positions, values;
    attribute.getEntries(indexes, positions, values, interps);
    rampEntries entries;
    for (unsigned int k = 0; k < indexes.length(); ++k) {
        entries.indexes.push_back(indexes[k]);
        entries.interps.push_back(interps[k]);
        entries.positions.push_back(positions[k]);
        entries.values.push_back(values[k]);
    }
    return entries;
}

float rampValue(const MObject& node, const char* ramp, float position) {
    MRampAttribute attribute(node, MFnDependencyNode(node).attribute(ramp));
    float value = -1.0f;
    attribute.getValueAtPosition(position, value);
    return value;
}

const char* const rampNames[] = {
    "rachisThickScale",
    "barbuleDensity",
    "forcePerSegmentScale",
    "forceRotateScale",
    "kbRotate1",
    "kbRotate2",
    "kbRotate3",
    "kbRotate4",
    "leftBarbuleLengthScale",
    "rightBarbuleLengthScale",
    "barbuleThickScale",
    "barbuleThickAdjust",
    "barbuleUpDownBarbule",
    "barbuleUpDownRachis",
};

TEST_F(FeatherNodeTest, UserCreatedNodesGetTheDefaultRampEntries) {
    const MObject node = scene.findNode(createFeatherNode());
    for (const char* ramp :
         {"rachisThickScale", "barbuleDensity", "forcePerSegmentScale", "forceRotateScale",
          "barbuleThickScale", "barbuleThickAdjust", "barbuleUpDownRachis"}) {
        SCOPED_TRACE(ramp);
        const rampEntries entries = entriesOf(node, ramp);
        EXPECT_EQ(entries.indexes, (std::vector<int>{0, 1})) << "no extra default entry";
        for (float t : {0.0f, 0.3f, 1.0f})
            EXPECT_FLOAT_EQ(rampValue(node, ramp, t), 1.0f);
    }
    for (const char* ramp : {"kbRotate1", "kbRotate2", "kbRotate3", "kbRotate4"})
        for (float t : {0.0f, 0.5f, 1.0f})
            EXPECT_FLOAT_EQ(rampValue(node, ramp, t), 0.5f) << ramp << " flat: no turn";

    // Short at the root, longest past the middle, short again at the tip.
    for (const char* ramp : {"leftBarbuleLengthScale", "rightBarbuleLengthScale"}) {
        SCOPED_TRACE(ramp);
        EXPECT_EQ(entriesOf(node, ramp).indexes.size(), 3u);
        const float root = rampValue(node, ramp, 0.0f), middle = rampValue(node, ramp, 0.5f);
        const float peak = rampValue(node, ramp, 0.6f), tip = rampValue(node, ramp, 1.0f);
        EXPECT_FLOAT_EQ(peak, 1.0f);
        EXPECT_LT(root, middle);
        EXPECT_LT(middle, peak);
        EXPECT_LT(tip, root);
        EXPECT_GT(tip, 0.0f) << "the tip still has barbules";
    }
    EXPECT_FLOAT_EQ(rampValue(node, "barbuleUpDownBarbule", 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(rampValue(node, "barbuleUpDownBarbule", 1.0f), 1.0f);

    // At the defaults a guide grows a full feather: every barbule index is kept.
    const std::string feather = MFnDependencyNode(node).name().asChar();
    connectGuide(createGuide("guide"), feather, 0);
    build(feather);
    ASSERT_EQ(featherNode(feather).builtFeathers().size(), 1u);
    const featherGeometry& built = featherNode(feather).builtFeathers()[0];
    EXPECT_EQ(built.leftBarbules.size(), 21u);
    EXPECT_EQ(built.rightBarbules.size(), 21u);
}

TEST_F(FeatherNodeTest, NodesMadeWhileAFileIsReadGetNoRampEntries) {
    host::readingFile = true;
    std::string name;
    const MStatus created = scene.createNode("quillo", "", "", &name);
    host::readingFile = false;
    ASSERT_TRUE(created) << scene.lastError();
    const MObject node = scene.findNode(name);
    for (const char* ramp : rampNames)
        EXPECT_TRUE(entriesOf(node, ramp).indexes.empty()) << ramp;
    EXPECT_EQ(featherNode(name).descriptionId(), 0) << "the node is made as usual otherwise";
}

TEST_F(FeatherNodeTest, EditedRampsReopenExactlyAsSaved) {
    const std::string feather = createFeatherNode("wing");
    MObject node = scene.findNode(feather);
    MFnDependencyNode fn(node);
    {
        // Sparse indices, unsorted positions and every interpolation.
        MRampAttribute ramp(node, fn.attribute("leftBarbuleLengthScale"));
        MFloatArray positions, values;
        MIntArray interps;
        for (const auto& [p, v, i] :
             {std::make_tuple(0.9f, 0.25f, 0), std::make_tuple(0.1f, 0.5f, 3),
              std::make_tuple(0.45f, 0.75f, 2)}) {
            positions.append(p);
            values.append(v);
            interps.append(i);
        }
        ramp.addEntries(positions, values, interps);
        MIntArray gone;
        gone.append(1);
        ramp.deleteEntries(gone);
        ramp.setValueAtIndex(0.125f, 0);
    }
    {
        // Every entry removed: the ramp must reopen empty, not with a default entry.
        MRampAttribute ramp(node, fn.attribute("barbuleDensity"));
        MIntArray all;
        all.append(0);
        all.append(1);
        ramp.deleteEntries(all);
    }
    {
        MRampAttribute ramp(node, fn.attribute("kbRotate3"));
        ramp.setPositionAtIndex(0.3f, 1);
        ramp.setInterpolationAtIndex(MRampAttribute::kNone, 0);
    }
    std::map<std::string, rampEntries> saved;
    for (const char* ramp : rampNames)
        saved[ramp] = entriesOf(node, ramp);
    EXPECT_TRUE(saved["barbuleDensity"].indexes.empty());
    EXPECT_EQ(saved["leftBarbuleLengthScale"].indexes, (std::vector<int>{0, 2, 3, 4, 5}));

    const std::string path = ::testing::TempDir() + "featherNodeRamps.ma";
    ASSERT_TRUE(scene.saveFile(path)) << scene.lastError();
    scene.fileNew();
    ASSERT_TRUE(scene.openFile(path)) << scene.lastError();
    MObject reopened = scene.findNode(feather);
    ASSERT_FALSE(reopened.isNull()) << "the node comes back under its name";
    for (const char* ramp : rampNames) {
        const rampEntries entries = entriesOf(reopened, ramp);
        EXPECT_TRUE(entries == saved[ramp])
            << ramp << ": " << entries.indexes.size() << " entries after reopening, "
            << saved[ramp].indexes.size() << " saved";
    }
    std::remove(path.c_str());
}

} // namespace
