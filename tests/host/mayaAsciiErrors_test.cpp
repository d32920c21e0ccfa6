// Bad scene files: every malformed command gives an error naming the file and line and saying
// what was expected, reading goes on with the next command, and nothing crashes or hangs.
// Missing and binary files fail cleanly; a failed save keeps the file that was there.

#include "mayaAsciiFixture.h"

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

class MayaAsciiErrors : public MayaAsciiTest {};

struct BadCommand {
    const char* what;
    std::string body;  // after the header, which takes lines 1 and 2
    std::string error; // "line N: ..." fragment of the one error expected
};

const std::string kHeader = "//Maya ASCII 2013 scene\ncurrentUnit -l centimeter -a degree;\n";

const BadCommand kBadCommands[] = {
    {"unterminated string", "createNode transform -n \"broken;\n",
     "line 3: unterminated string: expected '\"' before the end of the line."},
    {"too few values", "createNode transform -n \"a\";\n\tsetAttr \".t\" -type \"double3\" 1 2;\n",
     "line 4: setAttr: expected 3 values for 'a.t', got 2."},
    {"too many values for a range",
     "createNode transform -n \"a\";\ncreateNode mesh -n \"aShape\" -p \"a\";\n"
     "\tsetAttr -s 2 \".vt[0:1]\" 0 0 0\n\t\t1 1 1 2;\n",
     "line 5: setAttr: expected 6 values (3 for each of 2 elements) for 'aShape.vt[0:1]', got 7."},
    {"a word where a number goes", "createNode transform -n \"a\";\n\tsetAttr \".tx\" abc;\n",
     "line 4: setAttr: expected a number for 'a.tx', got 'abc'."},
    {"unknown flag", "createNode transform -bogus 1 -n \"x\";\n",
     "line 3: createNode: unknown flag '-bogus'."},
    {"flag without its value", "createNode transform -n;\n",
     "line 3: createNode: flag '-n' expects 1 value."},
    {"index range backwards",
     "createNode transform -n \"a\";\ncreateNode mesh -n \"aShape\" -p \"a\";\n"
     "\tsetAttr \".vt[4:2]\" 0 0 0;\n",
     "line 5: setAttr: index range '4:2' of 'vt' runs backwards."},
    {"index too large", "createNode transform -n \"a\";\n\tsetAttr \".iog[99999999999]\";\n",
     "line 4: setAttr: index '99999999999' of 'iog' is out of range"},
    {"index on a plain attribute", "createNode transform -n \"a\";\n\tsetAttr \".tx[0]\" 1;\n",
     "line 4: setAttr: 'a.tx[0]': 'tx' is not an array attribute and takes no index."},
    {"missing node in connectAttr",
     "createNode transform -n \"a\";\nconnectAttr \"ghost.t\" \"a.t\";\n",
     "line 4: connectAttr: no node named 'ghost'."},
    {"connection of mismatched plugs",
     "createNode transform -n \"a\";\ncreateNode transform -n \"b\";\n"
     "connectAttr \"a.msg\" \"b.tx\";\n",
     "line 5: connectAttr: The attribute 'a.message' cannot be connected to 'b.translateX'"},
    {"binary junk", "createNode transform -n \"a\";\n\x01\x02\xff\xfe junk;\n",
     "line 4: unexpected byte 0x01 (not text): expected a command."},
    {"relative plug with no node", "setAttr \".tx\" 1;\n",
     "line 3: setAttr: '.tx' names no node: create or select one first."},
    {"data short of its elements",
     "createNode transform -n \"a\";\ncreateNode mesh -n \"aShape\" -p \"a\";\n"
     "\tsetAttr -s 2 \".fc[0:1]\" -type \"polyFaces\" f 3 0 1 2;\n",
     "line 5: setAttr: 'aShape.fc[0:1]' element 1: polyFaces:"},
    {"unknown node in select", "select -ne nowhere;\n",
     "line 3: select: no object matches name 'nowhere'."},
    {"duplicate attribute",
     "createNode transform -n \"a\";\n\taddAttr -ln \"translate\" -at double3 -nc 3;\n",
     "line 4: addAttr: 'a' already has an attribute named 'translate'."},
    {"unknown attribute type",
     "createNode transform -n \"a\";\n\taddAttr -ln \"weight\" -at \"quaternion\";\n",
     "line 4: addAttr: unknown attribute type 'quaternion'."},
    {"string for a number",
     "createNode transform -n \"a\";\n\tsetAttr \".tx\" -type \"string\" \"one\";\n",
     "line 4: setAttr: 'a.tx' is not a string attribute."},
    {"matrix short of values",
     "createNode dagPose -n \"a\";\n"
     "\tsetAttr \".xm[0]\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0;\n",
     "line 4: setAttr: expected 16 values for 'a.xm[0]' (matrix), got 15."},
    {"matrix plug short of values",
     "createNode skinCluster -n \"a\";\n"
     "\tsetAttr \".gm\" -type \"matrix\" 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0;\n",
     "line 4: setAttr: 'a.gm': matrix: expected 16 numbers, got 15."},
    {"uneven values for an unknown attribute",
     "createNode polyCube -n \"p\";\n\tsetAttr \".uvs[0:1]\" 1 2 3;\n",
     "line 4: setAttr: expected the same number of values for each of the 2 elements of "
     "'p.uvs[0:1]', got 3 values."},
    {"bad unit", "currentUnit -a furlong;\n",
     "line 3: currentUnit: unknown angular unit 'furlong'"},
};

} // namespace

TEST_F(MayaAsciiErrors, EachMalformedCommandIsReportedAndReadingGoesOn) {
    for (const BadCommand& bad : kBadCommands) {
        SCOPED_TRACE(bad.what);
        const std::string path =
            write("bad.ma", kHeader + bad.body + "createNode transform -n \"after\";\n");
        messages->clear();
        ASSERT_EQ(scene.openFile(path), MS::kSuccess);
        ASSERT_EQ(errors().size(), 1u) << joined(errors());
        EXPECT_EQ(errors()[0].rfind(path + " " + bad.error, 0), 0u)
            << errors()[0] << "\nexpected: " << path << " " << bad.error;
        // The command after the bad one ran.
        EXPECT_EQ(scene.typeOf("after"), "transform") << joined(errors());
    }
}

TEST_F(MayaAsciiErrors, AFileThatStopsMidCommandSaysWhere) {
    const std::string path = write("cut.ma", kHeader + "createNode transform -n \"a\";\n"
                                                       "\tsetAttr \".t\" -type \"double3\"\n"
                                                       "\t\t1 2");
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    ASSERT_EQ(errors().size(), 1u) << joined(errors());
    EXPECT_EQ(errors()[0], path + " line 4: the file ends inside the 'setAttr' command that "
                                  "starts here (expected ';').");
    EXPECT_EQ(scene.typeOf("a"), "transform");
    std::vector<double> t;
    ASSERT_TRUE(scene.getAttr("a.t", t));
    EXPECT_EQ(t, (std::vector<double>{0, 0, 0}));
}

TEST_F(MayaAsciiErrors, MissingAndBinaryFilesFailAndLeaveTheSceneAlone) {
    ASSERT_TRUE(scene.createNode("transform", "keep"));
    const std::string missing = scratch() + "/absent.ma";
    EXPECT_EQ(scene.openFile(missing), MS::kFailure);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Cannot open scene file '" + missing + "': No such file or directory.");
    EXPECT_EQ(scene.typeOf("keep"), "transform");
    EXPECT_EQ(scene.importFile(missing), MS::kFailure);
    EXPECT_EQ(scene.openFile(scratch()), MS::kFailure);
    EXPECT_NE(errors().back().find("it is a folder"), std::string::npos);

    const std::string binary = write("scene.mb", std::string("FOR8\0\0\0\x10Maya", 12));
    messages->clear();
    EXPECT_EQ(scene.openFile(binary), MS::kFailure);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("'" + binary + "' is not a Maya ASCII file"), std::string::npos);
    EXPECT_EQ(scene.typeOf("keep"), "transform");
    EXPECT_EQ(scene.currentFile(), "");
}

TEST_F(MayaAsciiErrors, ManyErrorsAreCountedNotFlooded) {
    std::string text = kHeader;
    for (int i = 0; i < 500; ++i)
        text += "createNode transform -bogus;\n";
    text += "createNode transform -n \"last\";\n";
    const std::string path = write("noisy.ma", text);
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    EXPECT_LE(errors().size(), 102u);
    EXPECT_NE(errors().back().find("more than 100 errors; the rest are not shown"),
              std::string::npos);
    EXPECT_EQ(scene.typeOf("last"), "transform");
}

TEST_F(MayaAsciiErrors, CutAndScrambledFilesNeverCrashOrHang) {
    SKIP_WITHOUT_SHARED_SCENES();
    const std::string text = read(sharedScene("cgkit_objects.ma"));
    ASSERT_FALSE(text.empty());
    // Every prefix of a real file (in steps), then the same file with random bytes changed.
    for (size_t length = 0; length < text.size(); length += 37) {
        const std::string path = write("cut.ma", text.substr(0, length));
        scene.openFile(path);
    }
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string scrambled = text;
        for (int k = 0; k < 30; ++k)
            scrambled[random() % scrambled.size()] = static_cast<char>(random() % 256);
        scene.openFile(write("scrambled.ma", scrambled));
        const std::string saved = scratch() + "/scrambled-saved.ma";
        ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
        scene.openFile(saved);
    }
    SUCCEED();
}

TEST_F(MayaAsciiErrors, AFailedSaveKeepsTheOldFile) {
    SKIP_WITHOUT_SHARED_SCENES();
    ASSERT_EQ(scene.openFile(sharedScene("mayatools_createPlane.ma")), MS::kSuccess);
    const std::string path = write("kept.ma", "//Maya ASCII 2013 scene\n// the old file\n");
    const std::string before = read(path);

    // A disk that fills up: writes past 64 bytes fail (as root too).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    MStatus status = scene.saveFile(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status, MS::kFailure);
    ASSERT_FALSE(errors().empty());
    EXPECT_EQ(errors().back().rfind("Cannot save the scene as '" + path + "': ", 0), 0u)
        << errors().back();
    EXPECT_EQ(read(path), before);
    // No temporary file is left behind.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(scene.currentFile(), sharedScene("mayatools_createPlane.ma"));

    // A folder that does not exist.
    messages->clear();
    EXPECT_EQ(scene.saveFile(scratch() + "/no/such/folder/scene.ma"), MS::kFailure);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("/no/such/folder/scene.ma"), std::string::npos);

    // And the same save with room to write replaces the old file.
    ASSERT_EQ(scene.saveFile(path), MS::kSuccess);
    EXPECT_NE(read(path).find("createNode joint -n \"joint1\";"), std::string::npos);
}
