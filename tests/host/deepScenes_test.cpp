// Scenes deep enough to exhaust the stack of any walk done by recursion: hierarchies, chains
// of connections, sets within sets, nested compound attributes, wildcards that backtrack.

#include "mayaAsciiFixture.h"

#include <maya/MFnSet.h>
#include <maya/MSelectionList.h>

#include <sstream>

namespace {

std::string header() {
    return "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n";
}

} // namespace

TEST_F(MayaAsciiTest, AHundredThousandNestedParentsOpenSaveAndGo) {
    std::ostringstream text;
    text << header() << "createNode transform -n \"t0\";\n";
    for (int i = 1; i < 100000; ++i)
        text << "createNode transform -n \"t" << i << "\" -p \"t" << i - 1 << "\";\n";
    text << "\tsetAttr \".tx\" 1;\nselect -ne \"t0\";\n\tsetAttr \".ty\" 2;\n";
    ASSERT_EQ(scene.openFile(write("deep.ma", text.str())), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_EQ(scene.parentOf("t99999"), "t99998");
    ASSERT_EQ(scene.saveFile(scratch() + "/saved.ma"), MS::kSuccess);
    ASSERT_EQ(scene.openFile(scratch() + "/saved.ma"), MS::kSuccess);
    EXPECT_EQ(scene.nodeNames().size(), 100000u);
    EXPECT_TRUE(scene.deleteNode("t0")); // the whole hierarchy, deepest first
    EXPECT_TRUE(scene.nodeNames().empty());
}

TEST_F(MayaAsciiTest, AChainOfConnectionsLongerThanABoundIsCutWithAnError) {
    std::ostringstream text;
    text << header();
    const int length = 2 * static_cast<int>(host::Graph::kMaxPullDepth);
    for (int i = 0; i < length; ++i)
        text << "createNode transform -n \"c" << i << "\";\n";
    text << "\tsetAttr \".tx\" 7;\n"; // the end of the chain holds 7 until it is pulled
    for (int i = 0; i + 1 < length; ++i)
        text << "connectAttr \"c" << i << ".tx\" \"c" << i + 1 << ".tx\";\n";
    text << "\tsetAttr \"c0.tx\" 3;\n";
    ASSERT_EQ(scene.openFile(write("chain.ma", text.str())), MS::kSuccess);
    double value = 0;
    ASSERT_TRUE(scene.getAttr("c" + std::to_string(length - 1) + ".tx", value));
    ASSERT_EQ(errors().size(), 1u) << joined(errors());
    EXPECT_NE(errors()[0].find("depends on a chain of more than 2000 connections"),
              std::string::npos);
    // Pulled from its middle, the chain is short enough again.
    ASSERT_TRUE(scene.getAttr("c1000.tx", value));
    EXPECT_EQ(value, 3.0);
}

TEST_F(MayaAsciiTest, SetsWithinSetsAndDeepCompoundsAreWalkedSafely) {
    std::ostringstream text;
    text << header() << "createNode transform -n \"member\";\n";
    const int depth = 100000;
    for (int i = 0; i < depth; ++i)
        text << "createNode objectSet -n \"s" << i << "\";\n";
    text << "connectAttr \"member.msg\" \"s" << depth - 1 << ".dnsm\" -na;\n";
    for (int i = 0; i + 1 < depth; ++i)
        text << "connectAttr \"s" << i + 1 << ".msg\" \"s" << i << ".dnsm\" -na;\n";
    // Compounds nest 32 deep at most.
    text << "createNode transform -n \"holder\";\n\taddAttr -ln \"a0\" -at \"compound\" -nc 1;\n";
    for (int i = 1; i <= 32; ++i)
        text << "\taddAttr -ln \"a" << i << "\" -at \"compound\" -p \"a" << i - 1 << "\" -nc 1;\n";
    ASSERT_EQ(scene.openFile(write("sets.ma", text.str())), MS::kSuccess);
    ASSERT_EQ(errors().size(), 1u) << joined(errors());
    EXPECT_NE(errors()[0].find("'a32' would nest compound attributes more than 32 deep"),
              std::string::npos);

    MSelectionList list;
    ASSERT_TRUE(list.add("s0"));
    MObject set;
    ASSERT_TRUE(list.getDependNode(0, set));
    MSelectionList members;
    ASSERT_TRUE(MFnSet(set).getMembers(members, true));
    ASSERT_EQ(members.length(), 1u);

    // A wildcard that backtracks at every star takes time in proportion, not exponentially.
    ASSERT_TRUE(scene.createNode("transform", std::string(60, 'a')));
    MSelectionList matched;
    EXPECT_FALSE(matched.add("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}
