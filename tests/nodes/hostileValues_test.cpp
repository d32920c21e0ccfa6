// Every numeric attribute of every node type of the plug-in pushed to the ends of its type, to
// NaN and to infinity, and every text attribute given a megabyte or bytes that are not UTF-8,
// in a scene using all the types at once; after each value the scene is evaluated and drawn.
// Nothing may crash, hang or run away with memory; a value refused or clamped is said, naming
// the plug; and once every value is put back the scene builds as it did at first.

#include "fullSceneFixture.h"

#include "graph/attributeDef.h"
#include "nodes/system/quilloSystem.h"
#include "graph/nodeType.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MFnDependencyNode.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

// One settable leaf: its plug path below the node (array levels at element 0) and definition.
struct settable {
    std::string path;
    const host::AttributeDef* def;
};

void collect(const host::AttributeDef& def, const std::string& prefix, std::vector<settable>& out) {
    const std::string path = prefix + def.name + (def.array ? "[0]" : "");
    if (!def.writable)
        return;
    if (def.kind == host::AttributeDef::Kind::Compound && !def.numericCompound) {
        for (const auto& child : def.children)
            collect(*child, path + ".", out);
        return;
    }
    const bool text =
        def.kind == host::AttributeDef::Kind::Typed && def.dataType == MFnData::kString;
    if (def.isNumericLike() || def.numericCompound || text)
        out.push_back({path, &def});
}

std::vector<settable> settablesOf(const std::string& typeName) {
    std::vector<settable> out;
    const host::NodeType* type = host::TypeRegistry::instance().findNode(typeName);
    EXPECT_NE(type, nullptr) << typeName;
    if (type)
        for (const auto& def : type->attributes)
            collect(*def, "", out);
    return out;
}

// The ends of the attribute's stored type, then the ends of double, which the type must cope
// with when stored (saturated) or refused.
std::vector<double> extremesFor(const host::AttributeDef& def) {
    const host::AttributeDef& leaf = def.numericCompound ? *def.children[0] : def;
    std::vector<double> values = {-DBL_MAX, DBL_MAX, -1.0, 0.0};
    if (leaf.kind == host::AttributeDef::Kind::Enum)
        values.insert(values.end(), {SHRT_MIN, SHRT_MAX});
    else if (leaf.numericType == MFnNumericData::kInt)
        values.insert(values.end(), {INT_MIN, INT_MAX, INT_MAX + 1.0});
    else if (leaf.numericType == MFnNumericData::kFloat)
        values.insert(values.end(), {-FLT_MAX, FLT_MAX, FLT_TRUE_MIN, 1e39});
    else if (leaf.numericType == MFnNumericData::kDouble)
        values.insert(values.end(), {DBL_TRUE_MIN, 1e300});
    return values;
}

std::vector<std::string> hostileTexts() {
    std::string megabyte;
    while (megabyte.size() < (1u << 20))
        megabyte += "0:4294967295 feather_\"\\%s;\n";
    return {megabyte,
            std::string("\xff\xfe\xc3\x28\xa0\xa1\xe2\x28\xa1\xf0\x28\x8c\xbc\xed\xa0\x80", 16),
            std::string("nul\0inside", 10), ""};
}

class HostileValuesTest : public FullSceneTest {
  protected:
    // Sets one value and checks what the user is told: a refusal or a clamp names the plug.
    void setAndCheck(const std::string& plug, const host::AttributeDef& def, double value) {
        host::MessageCapture capture;
        const size_t width = def.numericCompound ? def.children.size() : 1;
        const MStatus status = width == 1 ? scene.setAttr(plug, value)
                                          : scene.setAttr(plug, std::vector<double>(width, value));
        if (!std::isfinite(value)) {
            EXPECT_FALSE(status) << plug << " took " << value;
            EXPECT_NE(scene.lastError().find(plug.substr(plug.find('.') + 1)), std::string::npos)
                << "the refusal names the plug: " << scene.lastError();
        } else if (!status) {
            ADD_FAILURE() << plug << " refused " << value << ": " << scene.lastError();
        }
        for (const std::string& warning : capture.texts(host::MessageKind::kWarning)) {
            if (warning.find("clamped") != std::string::npos) {
                EXPECT_NE(warning.find(def.name), std::string::npos) << warning;
            }
        }
    }

    void evaluateAndDraw(const fullScene& s, const std::string& what) {
        host::MessageCapture quiet;
        ASSERT_TRUE(evaluateAll(s)) << what;
        ASSERT_TRUE(drawAll()) << what;
    }

    // The numbers of feathers built, to compare the scene before and after.
    std::vector<size_t> builtCounts(const fullScene& s) {
        EXPECT_TRUE(evaluateAll(s));
        const auto* system = static_cast<const quilloSystem*>(
            MFnDependencyNode(scene.findNode(s.system)).userNode());
        return {featherNode(s.feather).builtFeathers().size(), system->builtFeathers().size()};
    }

    void walk(const fullScene& s, const std::string& node) {
        const std::vector<settable> leaves = settablesOf(scene.typeOf(node));
        ASSERT_FALSE(leaves.empty()) << node;
        for (const settable& leaf : leaves) {
            const std::string plug = node + "." + leaf.path;
            host::MessageCapture quiet;
            if (leaf.def->kind == host::AttributeDef::Kind::Typed) {
                std::string original;
                if (!scene.getAttr(plug, original))
                    continue; // a connected or unreadable text: nothing to put back
                for (const std::string& text : hostileTexts()) {
                    EXPECT_TRUE(scene.setAttr(plug, text)) << plug << ": " << scene.lastError();
                    evaluateAndDraw(s, plug + " = " + std::to_string(text.size()) + " bytes");
                }
                EXPECT_TRUE(scene.setAttr(plug, original)) << plug;
                continue;
            }
            std::vector<double> original;
            if (!scene.getAttr(plug, original) || original.empty())
                continue;
            if (!scene.setAttr(plug, original)) // connected: the source decides its value
                continue;
            std::vector<double> values = extremesFor(*leaf.def);
            values.insert(values.end(), {nan, inf, -inf});
            for (double value : values) {
                setAndCheck(plug, *leaf.def, value);
                evaluateAndDraw(s, plug + " = " + std::to_string(value));
            }
            EXPECT_TRUE(scene.setAttr(plug, original)) << plug;
            ++walked;
        }
    }

    int walked = 0;
};

TEST_F(HostileValuesTest, EveryNumberAndTextOfEveryNodeTypeAtItsExtremes) {
    const fullScene s = createFullScene();
    const std::vector<size_t> before = builtCounts(s);
    ASSERT_GT(before[0], 0u) << "the scene builds feathers to begin with";
    for (const std::string& node : {s.feather, s.component, s.array, s.system, s.globals}) {
        SCOPED_TRACE(node);
        walk(s, node);
    }
    EXPECT_GT(walked, 100) << "the walk reached the plug-in's attributes";
    EXPECT_EQ(builtCounts(s), before) << "every value put back builds the scene as before";
}

// NaN and infinity cannot be typed in, but they arrive through connections from other nodes'
// outputs; every number the plug-in reads must cope.
TEST_F(HostileValuesTest, NaNAndInfinityArrivingThroughConnections) {
    const fullScene s = createFullScene();
    const std::vector<size_t> before = builtCounts(s);
    std::string source;
    ASSERT_TRUE(scene.createNode("testNotANumber", "", "", &source)) << scene.lastError();
    int connected = 0;
    for (const std::string& node : {s.feather, s.component, s.array, s.system, s.globals}) {
        for (const settable& leaf : settablesOf(scene.typeOf(node))) {
            if (leaf.def->kind == host::AttributeDef::Kind::Typed)
                continue;
            std::vector<std::string> plugs;
            if (leaf.def->numericCompound)
                for (const auto& child : leaf.def->children)
                    plugs.push_back(node + "." + leaf.path + "." + child->name);
            else
                plugs.push_back(node + "." + leaf.path);
            for (const std::string& plug : plugs) {
                host::MessageCapture quiet;
                double original = 0.0;
                if (!scene.getAttr(plug, original))
                    continue;
                for (const char* output : {".nan", ".infinity"}) {
                    if (!scene.connectAttr(source + output, plug))
                        continue; // already connected, or not a destination
                    ++connected;
                    evaluateAndDraw(s, plug + " from " + output);
                    ASSERT_TRUE(scene.disconnectAttr(source + output, plug)) << plug;
                    // A plug keeps the last value it was given.
                    EXPECT_TRUE(scene.setAttr(plug, original)) << plug << ": " << scene.lastError();
                }
            }
        }
    }
    EXPECT_GT(connected, 100);
    EXPECT_EQ(builtCounts(s), before);
}

} // namespace
