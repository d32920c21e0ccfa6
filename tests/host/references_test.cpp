// File references: a shot that references a rig that references the bird's back
// (tests/data/maya/references), loaded into nested namespaces with their edits, saved back as
// references with what changed as new edits; references not found, unloaded, or with edits of
// kinds the host does not apply.

#include "mayaAsciiFixture.h"

#include <host/mel.h>

#include <maya/MPlug.h>

namespace {

using Strings = std::vector<std::string>;

class References : public MayaAsciiMelTest {
  protected:
    static std::string shot() { return dataScene("references/birdShot.ma"); }

    static Strings sourcesOf(const std::string& node) {
        host::MelValue result;
        EXPECT_TRUE(host::melExecute(
            "listConnections -p true -c true -s true -d false \"" + node + "\"", &result));
        return result.asStringArray();
    }

    double number(const std::string& plug) {
        double value = -1;
        EXPECT_EQ(scene.getAttr(plug, value), MS::kSuccess) << plug;
        return value;
    }
};

TEST_F(References, NestedReferencesLoadIntoTheirNamespacesWithTheirEdits) {
    ASSERT_EQ(scene.openFile(shot()), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_TRUE(warnings().empty()) << joined(warnings());
    EXPECT_EQ(scene.parentOf("bird:systemShape"), "bird:system");
    EXPECT_EQ(scene.parentOf("bird:body:backShape"), "bird:body:back");
    EXPECT_EQ(scene.typeOf("bird:bodyRN"), "reference");
    // The shot's edits, one of them on the nested reference's node.
    EXPECT_EQ(number("bird:systemShape.gloalScale"), 0.3);
    EXPECT_EQ(number("bird:body:back.ty"), 1.0);
    // The shot's curve drives the rig's node through the placeholder it connects to.
    EXPECT_EQ(sourcesOf("bird:system"),
              (Strings{"bird:system.translateX", "system_translateX.output"}));
    // The rig's edits put the back in place of its placeholders.
    // (Without the plug-in its nodes keep their connections as written.)
    EXPECT_EQ(sourcesOf("bird:systemShape"),
              (Strings{"bird:systemShape.growthSet", "bird:backGrowthSet.msg",
                       "bird:systemShape.inRenderFeather", "bird:featherShape.featherInfoID",
                       "bird:systemShape.inputGrowSurface", "bird:body:backShape.worldSpace",
                       "bird:systemShape.inputGrowSurface", "bird:bodyRN.phl[2]"}));
    EXPECT_EQ(
        sourcesOf("bird:backGrowthSet"),
        (Strings{"bird:backGrowthSet.dagSetMembers[0]", "bird:body:backShape.instObjGroups[0]",
                 "bird:backGrowthSet.dsm[0]", "bird:bodyRN.phl[1]"}));
}

TEST_F(References, SavingWritesTheReferenceAndWhatChangedAsEdits) {
    ASSERT_EQ(scene.openFile(shot()), MS::kSuccess);
    ASSERT_EQ(scene.setAttr("bird:body:back.tz", 2.0), MS::kSuccess);
    ASSERT_EQ(scene.setAttr("bird:systemShape.gloalScale", 0.25), MS::kSuccess);
    ASSERT_EQ(scene.connectAttr("persp.ty", "bird:guide.ty"), MS::kSuccess);
    ASSERT_EQ(scene.parent("bird:feather", "persp"), MS::kSuccess);

    const std::string saved = scratch() + "/savedShot.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string text = read(saved);
    EXPECT_TRUE(warnings().empty()) << joined(warnings());
    EXPECT_NE(text.find("file -r -ns \"bird\" -dr 1 -rfn \"birdRN\""), std::string::npos);
    for (const char* referenced :
         {"createNode quillo", "-n \"bird:guide\"", "connectAttr \"persp.ty\""})
        EXPECT_EQ(text.find(referenced), std::string::npos) << referenced << "\n" << text;

    // The saved shot is elsewhere: the rig is found on the search path.
    host::Scene::addReferencePath(dataScene("references"));
    messages->clear();
    ASSERT_EQ(scene.openFile(saved), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    EXPECT_TRUE(warnings().empty()) << joined(warnings());
    EXPECT_EQ(number("bird:body:back.ty"), 1.0);
    EXPECT_EQ(number("bird:body:back.tz"), 2.0);
    EXPECT_EQ(number("bird:systemShape.gloalScale"), 0.25);
    EXPECT_EQ(sourcesOf("bird:guide"), (Strings{"bird:guide.translateY", "persp.translateY"}));
    EXPECT_EQ(scene.parentOf("bird:feather"), "persp");
    // Nothing changed since: saving again writes the same file.
    const std::string again = scratch() + "/again.ma";
    ASSERT_EQ(scene.saveFile(again), MS::kSuccess);
    EXPECT_EQ(withoutStamp(read(again)), withoutStamp(text));
}

TEST_F(References, MissingUnloadedAndUnappliedReferencesAreKept) {
    const std::string text = "//Maya ASCII 2017 scene\n"
                             "file -rdi 1 -ns \"gone\" -rfn \"goneRN\" \"lost/nowhere.ma\";\n"
                             "file -rdi 1 -ns \"off\" -dr 1 -rfn \"offRN\" \"birdBody.ma\";\n"
                             "file -rdi 1 -ns \"on\" -rfn \"onRN\" \"birdBody.ma\";\n"
                             "file -r -ns \"gone\" -dr 1 -rfn \"goneRN\" \"lost/nowhere.ma\";\n"
                             "file -r -ns \"off\" -dr 1 -rfn \"offRN\" \"birdBody.ma\";\n"
                             "file -r -ns \"on\" -dr 1 -rfn \"onRN\" \"birdBody.ma\";\n"
                             "createNode reference -n \"onRN\";\n"
                             "\tsetAttr \".ed\" -type \"dataReferenceEdits\" \"onRN\" \"onRN\" 4\n"
                             "\t\t6 \"|on:back\" \"someday\"\n"
                             "\t\t6 \"|on:back\" \"again\"\n"
                             "\t\t2 \"|on:back\" \"sx\" \" 3\"\n"
                             "\t\t4 \"|on:back\" \"oldTag\";\n";
    const std::string path = write("shot.ma", text);
    host::Scene::addReferencePath(dataScene("references"));
    ASSERT_EQ(scene.openFile(path), MS::kSuccess);
    EXPECT_TRUE(errors().empty()) << joined(errors());
    ASSERT_EQ(warnings().size(), 2u) << joined(warnings());
    EXPECT_NE(warnings()[0].find("line 5: the reference 'goneRN' is not loaded: its file "
                                 "'lost/nowhere.ma' was not found (looked for '" +
                                 scratch() + "/lost/nowhere.ma', '" + dataScene("references") +
                                 "/lost/nowhere.ma', '" + dataScene("references") +
                                 "/nowhere.ma')"),
              std::string::npos)
        << warnings()[0];
    EXPECT_NE(warnings()[1].find("reference edits of kind 6 in 'onRN' are not applied; they are "
                                 "kept"),
              std::string::npos)
        << warnings()[1];
    EXPECT_EQ(scene.typeOf("off:back"), "");
    EXPECT_EQ(number("on:back.sx"), 3.0);
    // The deleteAttr edit removed what the referenced file added; the other attribute stays.
    MPlug plug;
    EXPECT_FALSE(scene.findPlug("on:back.oldTag", plug));
    EXPECT_TRUE(scene.findPlug("on:back.featherZone", plug));

    const std::string saved = scratch() + "/saved.ma";
    ASSERT_EQ(scene.saveFile(saved), MS::kSuccess);
    const std::string written = read(saved);
    for (const char* line : {"file -r -ns \"gone\"", "file -rdi 1 -ns \"off\" -dr 1",
                             "\"onRN\" \"onRN\" 4 6 \"|on:back\" \"someday\" 6"})
        EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
}

} // namespace
