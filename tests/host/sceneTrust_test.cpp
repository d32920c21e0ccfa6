// Safe loading: a scene file runs only the commands that describe a scene unless it is trusted;
// files that open or source themselves are refused, by any route.

#include "mayaAsciiFixture.h"

#include "scene/sceneTrust.h"

#include <host/mel.h>

#include <filesystem>

namespace {

using Strings = std::vector<std::string>;

class SceneTrust : public MayaAsciiTest {
  protected:
    void TearDown() override {
        host::deregisterMelCommand("customSetting");
        host::Scene::deregisterMelCommands();
        MayaAsciiTest::TearDown();
    }

    // Opens a scene written from text after a header (lines 1 and 2).
    void open(const std::string& name, const std::string& body) {
        messages->clear();
        ASSERT_EQ(scene.openFile(write(name, "//Maya ASCII 2013 scene\n"
                                             "requires maya \"2013\";\n" +
                                                 body)),
                  MS::kSuccess);
    }

    std::vector<std::string> skipped() const {
        std::vector<std::string> names;
        for (const std::string& warning : warnings())
            if (size_t end = warning.find("' was not run ("); end != std::string::npos)
                names.push_back(
                    warning.substr(warning.find(": '") + 3, end - warning.find(": '") - 3) + " " +
                    warning.substr(end + 15, warning.find(',', end) - end - 15));
        return names;
    }
};

// Lines 3 to 11: what a file may hold besides the commands that describe a scene.
std::string untrustedBody(const std::string& script) {
    return "createNode transform -n \"first\";\n"
           "customSetting \"one\";\n"
           "eval \"createNode transform -n evalMade\";\n"
           "global proc madeByProc() { createNode transform; }\n"
           "frobnicate -all 3;\n"
           "python(\"import os\");\n"
           "customSetting \"two\";\n"
           "source \"" +
           script +
           "\";\n"
           "createNode transform -n \"last\";\n";
}

} // namespace

TEST_F(SceneTrust, ByDefaultOnlyTheCommandsThatDescribeTheSceneRun) {
    std::vector<std::string> seen;
    host::registerMelCommand(
        "customSetting",
        [&seen](host::MelCall& call) {
            seen.push_back(call.args().at(0).asString());
            return MStatus(MS::kSuccess);
        },
        host::MelSyntax{{}, false, false, 1, 1});
    host::Scene::registerMelCommands();
    const std::string body =
        untrustedBody(write("madeBySource.mel", "createNode transform -n \"sourced\";\n"));

    open("untrusted.ma", body);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_EQ(scene.typeOf("first"), "transform");
    EXPECT_EQ(scene.typeOf("last"), "transform");
    for (const char* made : {"evalMade", "sourced"})
        EXPECT_EQ(scene.typeOf(made), "") << made;
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(host::melProcedureExists("madeByProc"));
    // One warning per name, with its count, the first line and how to allow it.
    EXPECT_EQ(skipped(), (Strings{"customSetting 2 times", "eval 1 time", "global proc 1 time",
                                  "frobnicate 1 time", "python 1 time", "source 1 time"}))
        << joined(warnings());
    EXPECT_NE(warnings()[0].find("first at line 4"), std::string::npos) << warnings()[0];
    EXPECT_NE(warnings()[0].find("--trust-scene"), std::string::npos) << warnings()[0];

    // Trusted, the same file runs everything, as Maya would; what the host has no command for
    // is an error.
    host::Scene::setTrustScenes(true);
    open("untrusted.ma", body);
    EXPECT_TRUE(skipped().empty()) << joined(warnings());
    EXPECT_EQ(seen, (Strings{"one", "two"}));
    for (const char* made : {"evalMade", "sourced", "last"})
        EXPECT_EQ(scene.typeOf(made), "transform") << made;
    EXPECT_TRUE(host::melProcedureExists("madeByProc"));
    ASSERT_EQ(errors().size(), 2u) << joined(errors());
    EXPECT_NE(errors()[0].find("line 7: unknown command 'frobnicate'; it is skipped."),
              std::string::npos);
    EXPECT_NE(errors()[1].find("line 8: unknown command 'python'"), std::string::npos);
}

TEST_F(SceneTrust, ScriptNodesAreKeptAndNeverRunEvenWhenTrusted) {
    host::Scene::setTrustScenes(true);
    ASSERT_EQ(scene.openFile(dataScene("strings.ma")), MS::kSuccess);
    for (const char* made : {"fromScriptNode", "fromSceneConfiguration", "afterScript"})
        EXPECT_EQ(scene.typeOf(made), "") << made;
    std::string code;
    ASSERT_TRUE(scene.getAttr("sceneConfigurationScriptNode.a", code));
    EXPECT_EQ(code, "createNode transform -n \"afterScript\";");
}

TEST_F(SceneTrust, RealScenesHoldOnlyCommandsThatDescribeThem) {
    std::vector<std::string> files;
    for (const char* folder : {"/examples", "/tests/data/maya"})
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(QUILLO_SOURCE_DIR) + folder))
            if (entry.path().extension() == ".ma")
                files.push_back(entry.path().string());
    if (sharedScenesPresent())
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(sharedScenesFolder()))
            if (entry.path().extension() == ".ma")
                files.push_back(entry.path().string());
    for (const std::string& file : files) {
        messages->clear();
        ASSERT_EQ(scene.openFile(file), MS::kSuccess) << file;
        EXPECT_TRUE(skipped().empty()) << file << "\n" << joined(warnings());
    }
    EXPECT_GE(files.size(), 7u);
}

TEST_F(SceneTrust, AFileThatOpensImportsOrSourcesItselfIsRefused) {
    host::Scene::setTrustScenes(true);
    host::Scene::registerMelCommands();
    const std::string self = scratch() + "/self.ma";
    const std::string quoted = "\\\"" + self + "\\\"";
    open("self.ma", "createNode transform -n \"first\";\n"
                    "file -f -o \"" +
                        self +
                        "\";\n"
                        "file -i \"" +
                        self +
                        "\";\n"
                        "eval \"file -f -o " +
                        quoted +
                        "\";\n"
                        "source \"" +
                        self +
                        "\";\n"
                        "createNode transform -n \"last\";\n");
    EXPECT_EQ(scene.typeOf("last"), "transform");
    EXPECT_EQ(scene.currentFile(), self);
    size_t refusals = 0;
    for (const std::string& error : errors())
        refusals += error.find("'" + self + "' is already being read") != std::string::npos;
    EXPECT_EQ(refusals, 4u) << joined(errors());

    // A script that evaluates itself stops at a bound instead of exhausting the stack.
    EXPECT_FALSE(host::melExecute("global proc again() { eval \"again\"; } again;"));
    EXPECT_TRUE(messages->contains(host::MessageKind::kError, "scripts nested too deeply"));
}
