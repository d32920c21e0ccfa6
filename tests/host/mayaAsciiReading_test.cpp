// The pieces of the Maya ASCII reader: splitting text into commands, plug paths, values kept for
// attributes the host does not define, and how files name nodes (DAG paths, clashing names,
// shared nodes, instancing, history cleanup).

#include "mayaAsciiFixture.h"

#include "scene/mayaAsciiLexer.h"
#include "scene/plugPath.h"
#include "scene/rawValues.h"
#include "scene/sceneCommands.h"

#include <host/mel.h>

#include <maya/MPlug.h>

namespace {

struct Lexed {
    std::vector<std::string> commands; // "name|arg|arg" with quoted args in <>
    std::vector<std::string> errors;   // "line: text"
};

Lexed lex(const std::string& text) {
    Lexed out;
    host::MayaAsciiLexer lexer(text, [](const std::string& name) { return name == "setAttr"; });
    host::SceneCommand command;
    int line = 0;
    std::string error;
    while (true) {
        auto result = lexer.next(command, line, error);
        if (result == host::MayaAsciiLexer::Result::kEnd)
            break;
        if (result == host::MayaAsciiLexer::Result::kError) {
            out.errors.push_back(std::to_string(line) + ": " + error);
            continue;
        }
        std::string text = std::to_string(command.line) + " " + command.name;
        for (const host::SceneToken& token : command.args)
            text += "|" + (token.quoted ? "<" + token.text + ">" : token.text);
        out.commands.push_back(text);
    }
    return out;
}

using Strings = std::vector<std::string>;

class MayaAsciiReading : public MayaAsciiTest {
  protected:
    // Opens a scene written from text after a standard header (lines 1 and 2).
    void open(const std::string& body) {
        messages->clear();
        ASSERT_EQ(scene.openFile(write("scene.ma", "//Maya ASCII 2013 scene\n"
                                                   "currentUnit -l centimeter -a degree;\n" +
                                                       body)),
                  MS::kSuccess);
    }
    // Saves the scene and opens what was saved.
    std::string saveAndReopen() {
        const std::string saved = scratch() + "/saved.ma";
        EXPECT_EQ(scene.saveFile(saved), MS::kSuccess);
        // What the host refused is saved back, and refused again.
        const size_t refused = errors().size();
        messages->clear();
        EXPECT_EQ(scene.openFile(saved), MS::kSuccess);
        EXPECT_EQ(errors().size(), refused) << joined(errors());
        return read(saved);
    }
    static host::Node* node(const std::string& name) { return host::Graph::instance().find(name); }
};

} // namespace

TEST(MayaAsciiLexer, SplitsCommandsAsFilesWriteThem) {
    Lexed lexed = lex("//Maya ASCII 2013 scene\n"
                      "createNode transform -n \"a b\"; ;;\n"
                      "\tsetAttr \".t\" -type \"double3\" 1 -2e-3\n"
                      "\t\t.5 ; /* a comment\n"
                      "over lines */ setAttr \".s\" -5 \"-k\" // trailing comment\n"
                      "\t\t;\r\n"
                      "setAttr \".b\" -type \"string\" ( \"one \\\"1\\\"\\n\"\n"
                      "\t\t+ \"two\\\\\" );\n");
    EXPECT_TRUE(lexed.errors.empty()) << lexed.errors.front();
    EXPECT_EQ(
        lexed.commands,
        (Strings{"2 createNode|transform|-n|<a b>", "3 setAttr|<.t>|-type|<double3>|1|-2e-3|.5",
                 "5 setAttr|<.s>|-5|<-k>", "7 setAttr|<.b>|-type|<string>|<one \"1\"\ntwo\\>"}));
    // Words that look like numbers are values, "-k" in quotes too; only -letter is a flag.
    host::SceneToken minus{"-5", false, 1}, flag{"-k", false, 1}, quoted{"-k", true, 1};
    EXPECT_FALSE(minus.isFlag());
    EXPECT_TRUE(flag.isFlag());
    EXPECT_FALSE(quoted.isFlag());
}

TEST(MayaAsciiLexer, BrokenTextGivesOneErrorAndResumesAtTheNextCommand) {
    Lexed lexed = lex("setAttr \".a\" \"open\n"
                      "\t\t1 2 3;\n"
                      "setAttr \".b\" 1;\n"
                      "123 setAttr;\n"
                      "setAttr \".c\" ( \"x\" - \"y\" );\n"
                      "setAttr \".d\" 2;\n"
                      "/* never closed\n");
    EXPECT_EQ(lexed.commands, (Strings{"3 setAttr|<.b>|1", "6 setAttr|<.d>|2"}));
    EXPECT_EQ(lexed.errors,
              (Strings{"1: unterminated string: expected '\"' before the end of the line",
                       "4: expected a command name, got '123'",
                       "5: expected '+' or ')' after a string inside '(...)', got '-'",
                       "7: a comment that starts here is never closed (expected '*/')"}));
    lexed = lex("setAttr \".e\" 1 2");
    EXPECT_EQ(lexed.errors,
              Strings{"1: the file ends inside the 'setAttr' command that starts here (expected "
                      "';')"});
}

TEST(MayaAsciiLexer, OldMacAndMixedLineEndsEndLinesAsNewlinesDo) {
    // The same file with "\n", a lone "\r" and "\r\n" line ends: the same commands on the
    // same lines; a "//" comment ends at a lone "\r" too.
    const std::string text = "//Maya ASCII 2013 scene\n"
                             "createNode transform -n \"a\"; // comment\n"
                             "setAttr \".t\" -type \"double3\" 1 2\n"
                             "\t3;\n"
                             "setAttr \".s\" \"open\n"
                             "setAttr \".v\" 1;\n";
    const Lexed newlines = lex(text);
    ASSERT_EQ(newlines.commands.size(), 3u);
    ASSERT_EQ(newlines.errors.size(), 1u);
    for (const std::string& ending : {std::string("\r"), std::string("\r\n")}) {
        std::string converted;
        for (const char c : text)
            converted += c == '\n' ? ending : std::string(1, c);
        const Lexed lexed = lex(converted);
        EXPECT_EQ(lexed.commands, newlines.commands) << (ending == "\r" ? "CR" : "CR LF");
        EXPECT_EQ(lexed.errors, newlines.errors);
    }
    std::string mixed = text;
    mixed[mixed.find('\n')] = '\r';
    EXPECT_EQ(lex(mixed).commands, newlines.commands);
}

TEST(MayaAsciiLexer, MelBlocksEndAtTheBraceThatClosesThem) {
    Lexed lexed = lex("global proc p() { setAttr \".a\" 1; if ($x) { print \"}\"; } }\n"
                      "if ($y) { a; }\n else { b; };\n"
                      "do { c; } while ($z);\n"
                      "for ($i = 0; $i < 2; $i++) { d; }\n"
                      "setAttr \".b\" 2;\n");
    EXPECT_TRUE(lexed.errors.empty()) << lexed.errors.front();
    EXPECT_EQ(lexed.commands,
              (Strings{"1 global|proc|p()|{|setAttr|<.a>|1;|if|($x)|{|print|<}>|;|}|}",
                       "2 if|($y)|{|a;|}|else|{|b;|}", "4 do|{|c;|}|while|($z)",
                       "5 for|($i|=|0;|$i|<|2;|$i++)|{|d;|}", "6 setAttr|<.b>|2"}));
}

TEST(MayaAsciiPlugPath, ParsesIndicesAndRanges) {
    std::vector<host::PlugPathPart> parts;
    std::string error;
    ASSERT_TRUE(host::parsePlugPath("iog[0].og[12:15].gcl", parts, error)) << error;
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].first, 0);
    EXPECT_FALSE(parts[0].range);
    EXPECT_TRUE(parts[1].range);
    EXPECT_EQ(parts[1].first, 12);
    EXPECT_EQ(parts[1].last, 15);
    EXPECT_EQ(host::plugPathText(parts), "iog[0].og[12:15].gcl");
    for (const char* bad : {"", "a..b", "a[", "a[1", "a[-1]", "a[x]", "a[1:2].b[3:4]", "a b",
                            "a[3:1]", "a[2147483648]", "[0]"})
        EXPECT_FALSE(host::parsePlugPath(bad, parts, error)) << bad;
}

TEST(MayaAsciiRawValues, LaterSettingsMergeIntoTheKeptOne) {
    host::RawSetting kept{host::lexArguments("-k on -type \"double3\""),
                          host::lexArguments("1 2 3")};
    host::mergeRawSetting(kept, host::RawSetting{host::lexArguments("-l on"), {}});
    EXPECT_EQ(host::joinTokens(kept.flags), "-k on -type \"double3\" -l on");
    EXPECT_EQ(host::joinTokens(kept.values), "1 2 3");
    // New values bring their own type; a flag given again replaces the old one.
    host::mergeRawSetting(kept, host::RawSetting{host::lexArguments("-k off -type \"string\""),
                                                 host::lexArguments("\"a \\\"b\\\"\"")});
    EXPECT_EQ(host::joinTokens(kept.flags), "-k off -l on -type \"string\"");
    EXPECT_EQ(host::rawType(kept), "string");
    host::RawSetting decoded = host::decodeRawSetting(host::encodeRawSetting(kept));
    EXPECT_EQ(host::joinTokens(decoded.flags), host::joinTokens(kept.flags));
    ASSERT_EQ(decoded.values.size(), 1u);
    EXPECT_EQ(decoded.values[0].text, "a \"b\"");
}

TEST_F(MayaAsciiReading, DagPathsFindNodesWhoseNamesClash) {
    // Maya allows one name under two parents; both keep it and the file's paths find each.
    open("createNode transform -n \"left\";\n"
         "createNode transform -n \"box\" -p \"left\";\n"
         "createNode transform -n \"right\";\n"
         "createNode transform -n \"box\" -p \"right\";\n"
         "\tsetAttr \".tx\" 2;\n"
         "createNode transform -n \"target\";\n"
         "connectAttr \"|right|box.tx\" \"target.ty\";\n"
         "connectAttr \"left|box.tx\" \"target.tz\";\n");
    EXPECT_TRUE(warnings().empty()) << warnings().front();
    EXPECT_EQ(scene.parentOf("right|box"), "right");
    double y = 0, z = 0;
    ASSERT_TRUE(scene.getAttr("target.ty", y));
    ASSERT_TRUE(scene.getAttr("target.tz", z));
    EXPECT_EQ(y, 2.0);
    EXPECT_EQ(z, 0.0);
    saveAndReopen();
    ASSERT_TRUE(scene.getAttr("target.ty", y));
    EXPECT_EQ(y, 2.0);
    EXPECT_EQ(scene.parentOf("right|box"), "right");
}

TEST_F(MayaAsciiReading, SharedNodesAreReusedAndSkipSelectKeepsTheTarget) {
    open("createNode transform -s -n \"persp\";\n"
         "\tsetAttr \".tx\" 1;\n"
         "createNode transform -s -n \"persp\";\n"
         "\tsetAttr \".ty\" 2;\n"
         "createNode lightLinker -s -n \"lightLinker1\";\n"
         "createNode displayLayer -ss -n \"layer\";\n"
         "\tsetAttr \".do\" 1;\n"
         "createNode camera -s -n \"persp\";\n");
    // The second createNode -s of a node found it; a clash of types is an error.
    EXPECT_EQ(scene.nodeNames().size(), 3u);
    double x = 0, y = 0;
    ASSERT_TRUE(scene.getAttr("persp.tx", x));
    ASSERT_TRUE(scene.getAttr("persp.ty", y));
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
    std::string order;
    ASSERT_TRUE(scene.getAttr("layer.do", order));
    EXPECT_EQ(order, "1");
    ASSERT_EQ(errors().size(), 1u) << joined(errors());
    EXPECT_NE(errors()[0].find("line 10: createNode: a node named 'persp' of type 'transform' "
                               "already exists; it cannot be shared as a 'camera'."),
              std::string::npos)
        << errors()[0];
    const std::string text = saveAndReopen();
    EXPECT_NE(text.find("createNode transform -s -n \"persp\";"), std::string::npos);
    EXPECT_NE(text.find("createNode lightLinker -s -n \"lightLinker1\";"), std::string::npos);
    EXPECT_NE(text.find("createNode displayLayer -n \"layer\";\n\tsetAttr \".do\" 1;"),
              std::string::npos)
        << text;
}

TEST_F(MayaAsciiReading, KeptCommandsAndFlagsSaveBackAsWritten) {
    open("requires -nodeType \"renderSetup\" \"renderSetup.py\" \"1.0\";\n"
         "requires \"stereoCamera\" \"10.0\";\n"
         "fileInfo \"application\" \"maya\";\n"
         "fileInfo \"application\" \"quillo\";\n"
         "dataStructure -fmt \"raw\" -as \"name=Tag:string=value\";\n"
         "createNode transform -n \"a\";\n"
         "\trename -uid \"0123-ABCD\";\n"
         "\tsetAttr -k off -cb on \".tx\";\n"
         "\tsetAttr -l on \".ty\";\n"
         "\tsetAttr -av \".tz\" 4;\n"
         "createNode objectSet -n \"set\";\n"
         "connectAttr \"a.iog\" \"set.dsm\" -na;\n"
         "createNode animCurveTL -n \"curve\";\n"
         "\tsetAttr -s 2 \".ktv[0:1]\"  1 0 24 10;\n"
         "\tsetAttr -k on \".ktv\";\n"
         "relationship \"link\" \":lightLinker1\" \":initialShadingGroup.message\";\n"
         "lockNode -l 1 a;\n");
    EXPECT_TRUE(errors().empty()) << joined(errors());
    const std::string text = saveAndReopen();
    for (const char* line :
         {"requires -nt \"renderSetup\" \"renderSetup.py\" \"1.0\";\n",
          "requires \"stereoCamera\" \"10.0\";\n", "fileInfo \"application\" \"quillo\";\n",
          "dataStructure -fmt \"raw\" -as \"name=Tag:string=value\";\n",
          "\trename -uid \"0123-ABCD\";\n", "\tsetAttr \".t\" -type \"double3\" 0 0 4 ;\n",
          "\tsetAttr -k off -cb on \".tx\";\n", "\tsetAttr -l on \".translateY\";\n",
          "\tsetAttr -s 2 \".ktv[0:1]\" 1 0 24 10;\n", "\tsetAttr -k on \".ktv\";\n",
          "connectAttr \"a.iog[0]\" \"set.dsm\" -na;\n",
          "relationship \"link\" \":lightLinker1\" \":initialShadingGroup.message\";\n",
          "lockNode -l 1 ;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
    EXPECT_EQ(text.find("fileInfo \"application\" \"maya\""), std::string::npos);
    EXPECT_TRUE(node("a")->locked);
    MPlug ty;
    ASSERT_TRUE(scene.findPlug("a.ty", ty));
    EXPECT_TRUE(ty.isLocked());
}

TEST_F(MayaAsciiReading, ConnectionsReplaceOnlyWhenForcedAndDisconnect) {
    open("createNode transform -n \"a\";\n"
         "createNode transform -n \"b\";\n"
         "createNode transform -n \"c\";\n"
         "connectAttr \"a.tx\" \"c.tx\";\n"
         "connectAttr \"b.tx\" \"c.tx\";\n"
         "connectAttr -f \"b.ty\" \"c.tx\";\n"
         "createNode unknownThing -n \"u\";\n"
         "connectAttr \"u.out\" \"c.ty\";\n"
         "connectAttr \"a.ty\" \"c.ty\";\n"
         "connectAttr -f \"a.ty\" \"c.ty\";\n"
         "disconnectAttr \"a.tx\" \"c.tx\";\n"
         "connectAttr \"u.out\" \"u.in[0]\";\n"
         "connectAttr \"u.out\" \"u.in\" -na;\n"
         "disconnectAttr \"u.out\" \"u.in[0]\";\n");
    ASSERT_EQ(errors().size(), 3u) << joined(errors());
    EXPECT_NE(errors()[0].find("line 7: connectAttr: 'c.translateX' already has an incoming "
                               "connection from 'a.translateX'."),
              std::string::npos)
        << errors()[0];
    EXPECT_NE(errors()[1].find("line 11: connectAttr: 'c.ty' already has an incoming "
                               "connection from 'u.out'."),
              std::string::npos)
        << errors()[1];
    EXPECT_NE(errors()[2].find("line 13: disconnectAttr: 'a.tx' is not connected to 'c.tx'."),
              std::string::npos)
        << errors()[2];
    host::Scene::registerMelCommands();
    host::MelValue result;
    ASSERT_TRUE(host::melExecute("listConnections -p true -s true -d false c", &result));
    EXPECT_EQ(result.asStringArray(), (Strings{"b.translateY", "a.translateY"}));
    ASSERT_TRUE(host::melExecute("listConnections -p true -s false -d true u", &result));
    EXPECT_EQ(result.asStringArray(), (Strings{"u.in[1]"}));
    host::Scene::deregisterMelCommands();
    EXPECT_EQ(summary().connections, 3u);
    saveAndReopen();
    EXPECT_EQ(summary().connections, 3u);
}

TEST_F(MayaAsciiReading, InstancingAndDeletingHistoryAreHandled) {
    open("createNode transform -n \"a\";\n"
         "createNode mesh -n \"aShape\" -p \"a\";\n"
         "createNode transform -n \"b\";\n"
         "parent -s -nc -r -add \"|a|aShape\" \"b\";\n"
         "createNode polyCube -n \"cube\";\n"
         "connectAttr \"cube.out\" \"aShape.i\";\n"
         "parent -w \"b\";\n"
         "parent \"b\" \"a\";\n");
    EXPECT_TRUE(errors().empty()) << joined(errors());
    ASSERT_EQ(warnings().size(), 2u) << joined(warnings());
    EXPECT_NE(warnings()[0].find("line 6: parent: instancing is not supported"), std::string::npos);
    EXPECT_NE(warnings()[1].find("'aShape' gets its geometry from the construction history node "
                                 "'cube'"),
              std::string::npos);
    EXPECT_EQ(scene.parentOf("b"), "a");
    host::Scene::registerMelCommands();
    EXPECT_EQ(host::melExecute("delete -ch aShape"), MS::kSuccess);
    host::Scene::deregisterMelCommands();
    EXPECT_EQ(scene.typeOf("cube"), "");
    EXPECT_EQ(summary().connections, 0u);
}

TEST_F(MayaAsciiReading, ShapesLeftEmptyByHistoryAreReportedWhateverLiesBetween) {
    open("createNode transform -n \"a\";\n"
         "createNode mesh -n \"aShape\" -p \"a\";\n"
         "createNode polyPlane -n \"plane\";\n"
         "createNode groupParts -n \"parts\";\n"
         "connectAttr \"plane.out\" \"parts.ig\";\n"
         "connectAttr \"parts.og\" \"aShape.i\";\n"
         "createNode transform -n \"b\";\n"
         "createNode mesh -n \"bShape\" -p \"b\";\n"
         "createNode groupParts -n \"parts2\";\n"
         "createNode tweak -n \"tweak1\";\n"
         "connectAttr \"plane.out\" \"tweak1.ip[0].ig\";\n"
         "connectAttr \"tweak1.og[0]\" \"parts2.ig\";\n"
         "connectAttr \"parts2.og\" \"bShape.i\";\n"
         // A surface that stores its own geometry keeps it.
         "createNode transform -n \"c\";\n"
         "createNode nurbsSurface -n \"cShape\" -p \"c\";\n"
         "\tsetAttr \".cc\" -type \"nurbsSurface\" 1 1 0 0 no 2 0 1 2 0 1 4 0 0 0 0 0 1 1 0 0 "
         "1 0 1;\n"
         "createNode groupParts -n \"parts3\";\n"
         "connectAttr \"tweak1.og[1]\" \"parts3.ig\";\n"
         "connectAttr \"parts3.og\" \"cShape.cr\";\n");
    EXPECT_TRUE(errors().empty()) << joined(errors());
    ASSERT_EQ(warnings().size(), 3u) << joined(warnings());
    EXPECT_NE(warnings()[0].find("line 8: 'aShape' gets its geometry from the construction "
                                 "history node 'plane' (polyPlane)"),
              std::string::npos)
        << warnings()[0];
    // The tweak is evaluated: the history it passes on is what leaves the shape empty.
    EXPECT_NE(warnings()[1].find("line 15: 'bShape' gets its geometry from the construction "
                                 "history node 'plane' (polyPlane)"),
              std::string::npos)
        << warnings()[1];
    EXPECT_NE(warnings()[2].find("'cShape' (history 'plane') keeps the geometry stored"),
              std::string::npos)
        << warnings()[2];
    MPlug surface;
    ASSERT_TRUE(scene.findPlug("cShape.local", surface));
    EXPECT_FALSE(surface.asMObject().isNull());
}

TEST_F(MayaAsciiReading, AnArrayPlugWithoutAnIndexMeansElementZero) {
    open("createNode transform -n \"a\";\n"
         "\taddAttr -ci true -m -ln \"outs\" -at \"double\";\n"
         "\tsetAttr \".outs[0]\" 2.5;\n"
         "createNode transform -n \"b\";\n"
         "\taddAttr -ci true -ln \"in1\" -at \"double\";\n"
         "\taddAttr -ci true -m -ln \"ins\" -at \"double\";\n"
         "createNode objectSet -n \"s\";\n"
         "connectAttr \"a.outs\" \"b.in1\";\n"
         "connectAttr \"a.outs\" \"b.ins\";\n"
         "connectAttr \"b.msg\" \"s.dnsm\";\n"
         "connectAttr \"a.msg\" \"s.dnsm\" -na;\n");
    EXPECT_TRUE(errors().empty()) << joined(errors());
    double value = 0;
    ASSERT_TRUE(scene.getAttr("b.in1", value));
    EXPECT_EQ(value, 2.5);
    host::Scene::registerMelCommands();
    host::MelValue result;
    ASSERT_TRUE(host::melExecute("listConnections -p true -s true -d false s", &result));
    EXPECT_EQ(result.asStringArray(), (Strings{"b.message", "a.message"}));
    ASSERT_TRUE(host::melExecute("listConnections -p true -c true -s true -d false b", &result));
    host::Scene::deregisterMelCommands();
    EXPECT_EQ(result.asStringArray(), (Strings{"b.in1", "a.outs[0]", "b.ins", "a.outs"}));
    EXPECT_EQ(saveAndReopen().find("connectAttr \"a.outs\" \"b.in1\""), std::string::npos);
}

TEST_F(MayaAsciiReading, AttributeNamesMayBeginWithAnUnderscore) {
    open("createNode transform -n \"a\";\n"
         "\taddAttr -ci true -sn \"__flag\" -ln \"__flag\" -at \"bool\";\n"
         "\tsetAttr \".__flag\" yes;\n"
         "\taddAttr -ci true -sn \"2d\" -ln \"twoD\" -at \"bool\";\n"
         "\taddAttr -ci true -ln \"a-b\" -at \"bool\";\n");
    ASSERT_EQ(errors().size(), 2u) << joined(errors());
    EXPECT_NE(errors()[0].find("'2d' is not a valid attribute name"), std::string::npos);
    EXPECT_NE(errors()[1].find("'a-b' is not a valid attribute name"), std::string::npos);
    double flag = 0;
    ASSERT_TRUE(scene.getAttr("a.__flag", flag));
    EXPECT_EQ(flag, 1.0);
    const std::string text = saveAndReopen();
    EXPECT_NE(text.find("-sn \"__flag\""), std::string::npos) << text;
}

TEST_F(MayaAsciiReading, GenericNodesTakeValuesThroughTheSceneInterface) {
    ASSERT_TRUE(scene.createNode("someDeformer", "deformer1", "", nullptr, true));
    ASSERT_TRUE(scene.setAttr("deformer1.envelope", 0.25));
    ASSERT_TRUE(scene.setAttr("deformer1.weights", std::vector<double>{1, 0.5}));
    ASSERT_TRUE(scene.setAttr("deformer1.label", std::string("say \"hi\"")));
    const std::string text = saveAndReopen();
    EXPECT_NE(text.find("createNode someDeformer -n \"deformer1\";"), std::string::npos);
    EXPECT_NE(text.find("\tsetAttr \".label\" -type \"string\" \"say \\\"hi\\\"\";"),
              std::string::npos)
        << text;
    double envelope = 0;
    ASSERT_TRUE(scene.getAttr("deformer1.envelope", envelope));
    EXPECT_EQ(envelope, 0.25);
    std::vector<double> weights;
    ASSERT_TRUE(scene.getAttr("deformer1.weights", weights));
    EXPECT_EQ(weights, (std::vector<double>{1, 0.5}));
    std::string label;
    ASSERT_TRUE(scene.getAttr("deformer1.label", label));
    EXPECT_EQ(label, "say \"hi\"");
}

TEST_F(MayaAsciiReading, CommandsOtherLayersRegisterRunThroughMelInTrustedScenes) {
    host::Scene::setTrustScenes(true);
    std::vector<std::string> seen;
    host::registerMelCommand(
        "customSetting",
        [&seen](host::MelCall& call) {
            seen.push_back(call.args().at(0).asString());
            return MStatus(MS::kSuccess);
        },
        host::MelSyntax{{}, false, false, 1, 1});
    open("customSetting \"first\";\ncustomSetting \"second\";\n");
    host::deregisterMelCommand("customSetting");
    EXPECT_EQ(seen, (Strings{"first", "second"}));
    EXPECT_TRUE(errors().empty()) << joined(errors());
}
