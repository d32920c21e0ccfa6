// Saving a scene read from a file writes back what the host did not apply (refused and skipped
// commands) where it stood, so that open -> save -> open -> save gives the same file.

#include "mayaAsciiFixture.h"

namespace {

class LosslessSave : public MayaAsciiTest {
  protected:
    std::string save(const std::string& name) {
        const std::string path = scratch() + "/" + name;
        EXPECT_EQ(scene.saveFile(path), MS::kSuccess);
        return read(path);
    }
};

TEST_F(LosslessSave, RefusedAndSkippedCommandsAreWrittenBackWhereTheyStood) {
    const std::string original = write("kept.ma", "//Maya ASCII 2013 scene\n"
                                                  "requires maya \"2013\";\n"
                                                  "bogusHeadCommand -flag 1 \"two\";\n"
                                                  "createNode transform -n \"a\";\n"
                                                  "\taddAttr -ci true -ln \"a-b\" -at \"bool\";\n"
                                                  "\tsetAttr \".t\" -type \"double3\" 1 2;\n"
                                                  "\tsetAttr \".tx\" 4;\n"
                                                  "createNode transform -n \"b\";\n"
                                                  "\tsetAttr \".ty\" 5;\n"
                                                  "lockNode -l 1 ;\n"
                                                  "connectAttr \"a.tx\" \"b.tz\";\n"
                                                  "connectAttr \"nope.tx\" \"b.tx\";\n"
                                                  "python(\"print 1\");\n");
    ASSERT_EQ(scene.openFile(original), MS::kSuccess);
    const size_t errorCount = errors().size();
    EXPECT_EQ(errorCount, 3u) << joined(errors());
    const std::string first = save("first.ma");
    const std::vector<std::string> inOrder = {"bogusHeadCommand -flag 1 \"two\";\n",
                                              "createNode transform -n \"a\";\n",
                                              "\taddAttr -ci true -ln \"a-b\" -at \"bool\";\n",
                                              "\tsetAttr \".t\" -type \"double3\" 4 0 0 ;\n",
                                              "\tsetAttr \".t\" -type \"double3\" 1 2;\n",
                                              "createNode transform -n \"b\";\n",
                                              "\tsetAttr \".ty\" 5;\n",
                                              "lockNode -l 1 ;\n",
                                              "connectAttr \"a.tx\" \"b.tz\";\n",
                                              "connectAttr \"nope.tx\" \"b.tx\";\n",
                                              "python(\"print 1\");\n"};
    size_t at = 0;
    for (const std::string& text : inOrder) {
        const size_t found = first.find(text, at);
        ASSERT_NE(found, std::string::npos) << "'" << text << "' after " << at << " in\n" << first;
        at = found + text.size();
    }

    messages->clear();
    ASSERT_EQ(scene.openFile(scratch() + "/first.ma"), MS::kSuccess);
    EXPECT_EQ(errors().size(), errorCount) << joined(errors());
    EXPECT_EQ(withoutStamp(save("second.ma")), withoutStamp(first));
}

TEST_F(LosslessSave, WhatCannotBeKeptIsSaidWhenSaving) {
    ASSERT_EQ(scene.openFile(write("broken.ma", "createNode transform -n \"a\";\n"
                                                "\tsetAttr \".tx\" -type \"double3\" 1;\n"
                                                "createNode transform -n \"b\";\n"
                                                "\tsetAttr \".nn\" -type \"string\" \"open\n")),
              MS::kSuccess);
    ASSERT_EQ(scene.deleteNode("a"), MS::kSuccess);
    messages->clear();
    save("saved.ma");
    const std::vector<std::string> said = warnings();
    ASSERT_EQ(said.size(), 2u) << joined(said);
    EXPECT_NE(said[0].find("the command at " + scratch() +
                           "/broken.ma line 2 belonged to a node that has been deleted"),
              std::string::npos)
        << said[0];
    EXPECT_NE(said[1].find("line 4 of '" + scratch() + "/broken.ma'"), std::string::npos)
        << said[1];
    EXPECT_NE(said[1].find("is not saved"), std::string::npos) << said[1];
}

} // namespace
