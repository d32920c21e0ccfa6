// The MEL interpreter, MGlobal's script and message calls, the menu model, and the plug-in's two
// scripts run in the host.

#include "host/mel.h"
#include "host/messages.h"
#include "host/ui.h"

#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

using host::MelValue;
using host::MessageKind;

const std::string kScriptDir = std::string(QUILLO_SOURCE_DIR) + "/mel";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = old ? old : "";
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    std::string old_;
};

// A fresh MEL session per test, with every message captured and kept off the streams.
class Mel : public ::testing::Test {
  protected:
    void SetUp() override { host::melResetSession(); }
    void TearDown() override { host::melResetSession(); }

    MelValue run(const std::string& text) {
        MelValue result;
        MStatus status = host::melExecute(text, &result);
        EXPECT_EQ(status, MS::kSuccess) << text << "\n" << errors();
        return result;
    }
    bool fails(const std::string& text) { return host::melExecute(text) != MS::kSuccess; }
    std::string errors() const { return joined(messages.texts(MessageKind::kError)); }
    std::size_t errorCount() const { return messages.count(MessageKind::kError); }

    // A scratch directory on the script path, removed with the test.
    std::string scratchDir() {
        if (scratch_.empty()) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "melTestXXXXXX").string();
            scratch_ = mkdtemp(pattern.data()) ? pattern : std::string();
            host::addScriptPath(scratch_);
        }
        return scratch_;
    }
    std::string writeScript(const std::string& name, const std::string& text) {
        std::string path = scratchDir() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    ~Mel() override {
        if (!scratch_.empty())
            std::filesystem::remove_all(scratch_);
    }

    host::MessageCapture messages;

  private:
    std::string scratch_;
};

// ---- The language ----------------------------------------------------------------------------

TEST_F(Mel, ProceduresTakeTypedArgumentsAndReturnValues) {
    run("global proc int factorial(int $n) { if ($n <= 1) return 1; return $n * factorial($n - 1); "
        "}"
        "global proc string greet(string $who, int $times) {"
        "  string $s = \"\"; int $i;"
        "  for ($i = 0; $i < $times; $i++) $s += \"hi \" + $who + \" \";"
        "  return $s; }"
        "global proc float[] halves(int $n) { float $r[]; int $i;"
        "  for ($i = 0; $i < $n; $i++) $r[$i] = $i / 2.0; return $r; }");
    EXPECT_EQ(run("factorial(6)").asInt(), 720);
    EXPECT_EQ(run("factorial 5").asInt(), 120); // command syntax
    EXPECT_EQ(run("greet(\"bob\", 2)").asString(), "hi bob hi bob ");
    EXPECT_EQ(run("halves(3)").asFloatArray(), (std::vector<double>{0.0, 0.5, 1.0}));
    // Arguments convert to the parameter types; a float argument to an int parameter truncates.
    EXPECT_EQ(run("factorial(\"4\")").asInt(), 24);
    EXPECT_EQ(run("factorial(3.9)").asInt(), 6);

    EXPECT_TRUE(fails("factorial(1, 2)"));
    EXPECT_NE(errors().find("Wrong number of arguments on call to factorial"), std::string::npos);
    EXPECT_TRUE(fails("string $a[] = {\"x\"}; factorial($a)"));
}

TEST_F(Mel, ArraysArePassedByReferenceScalarsByValue) {
    run("global proc append(string $list[], string $item) { $list[size($list)] = $item; $item = "
        "\"\"; }"
        "global proc int bump(int $v) { $v++; return $v; }");
    EXPECT_EQ(
        run("string $names[] = {\"a\"}; string $b = \"b\"; append($names, $b); append($names, $b);"
            "$names")
            .asStringArray(),
        (std::vector<std::string>{"a", "b", "b"}));
    EXPECT_EQ(run("$b").asString(), "b");
    EXPECT_EQ(run("int $v = 1; bump($v); $v").asInt(), 1);
}

TEST_F(Mel, ExpressionsFollowMelArithmetic) {
    EXPECT_EQ(run("7 / 2").asInt(), 3);
    EXPECT_DOUBLE_EQ(run("7 / 2.0").asFloat(), 3.5);
    EXPECT_EQ(run("-7 % 3").asInt(), -1);
    EXPECT_EQ(run("\"n\" + 1 + 2").asString(), "n12");
    EXPECT_EQ(run("1 + 2 + \"n\"").asString(), "3n");
    EXPECT_EQ(run("\"v=\" + 0.5").asString(), "v=0.5");
    EXPECT_EQ(run("\"\" + (1.0 / 3)").asString(), "0.3333333333");
    EXPECT_EQ(run("\"\" + 2.0").asString(), "2");
    EXPECT_EQ(run("2 + 3 * 4 - 6 / 2").asInt(), 11);
    EXPECT_EQ(run("(1 < 2) && !(2 < 1) || 0").asInt(), 1);
    EXPECT_EQ(run("\"abc\" == \"abc\" && \"abc\" != \"abd\" && \"a\" < \"b\"").asInt(), 1);
    EXPECT_EQ(run("5 > 3 ? \"yes\" : \"no\"").asString(), "yes");
    EXPECT_EQ(run("(int)3.99 + (int)\"12abc\"").asInt(), 15);
    EXPECT_EQ(run("(string)7 + (float)\"2.5\"").asString(), "72.5");
    EXPECT_EQ(run("int $i = 5; $i += 2; $i *= 3; $i--; $i").asInt(), 20);
    EXPECT_EQ(run("int $j = 1; int $k = $j++ + ++$j; $k").asInt(), 4);
    EXPECT_EQ(run("on + yes + true + off").asInt(), 3);
    EXPECT_EQ(run("2147483647 + 1").asInt(), -2147483647 - 1); // 32-bit ints wrap
    EXPECT_EQ(run("0x1F").asInt(), 31);

    EXPECT_TRUE(fails("1 / 0"));
    EXPECT_TRUE(fails("\"a\" - 1"));
    EXPECT_TRUE(fails("$undeclared + 1"));
    EXPECT_NE(errors().find("\"$undeclared\" is an undeclared variable"), std::string::npos);
}

TEST_F(Mel, ControlFlow) {
    EXPECT_EQ(
        run("int $sum = 0; int $i;"
            "for ($i = 0; $i < 10; $i++) { if ($i == 2) continue; if ($i == 6) break; $sum += $i; }"
            "$sum")
            .asInt(),
        0 + 1 + 3 + 4 + 5);
    EXPECT_EQ(run("string $out = \"\"; string $w;"
                  "for ($w in {\"x\", \"y\", \"z\"}) $out = $w + $out; $out")
                  .asString(),
              "zyx");
    EXPECT_EQ(run("int $total = 0; for (int $v in {3, 4}) $total += $v; $total").asInt(), 7);
    EXPECT_EQ(run("int $n = 0; while ($n < 5) $n += 2; $n").asInt(), 6);
    EXPECT_EQ(run("int $m = 10; do { $m++; } while ($m < 5); $m").asInt(), 11);
    EXPECT_EQ(
        run("string $r; int $x = 2; if ($x == 1) $r = \"one\"; else if ($x == 2) $r = \"two\";"
            "else $r = \"many\"; $r")
            .asString(),
        "two");
    // switch: matching case, fall-through to the next break, default.
    run("global proc string kind(string $v) { string $k = \"?\";"
        " switch ($v) { case \"a\": case \"b\": $k = \"ab\"; break; case \"c\": $k = \"c\"; break;"
        " default: $k = \"other\"; } return $k; }");
    EXPECT_EQ(run("kind(\"b\")").asString(), "ab");
    EXPECT_EQ(run("kind(\"c\")").asString(), "c");
    EXPECT_EQ(run("kind(\"z\")").asString(), "other");
    // A return inside nested loops leaves the procedure.
    run("global proc int firstOver(int $limit) { int $i; int $j;"
        " for ($i = 0; $i < 10; $i++) for ($j = 0; $j < 10; $j++) if ($i * $j > $limit) return $i "
        "* 100 + $j;"
        " return -1; }");
    EXPECT_EQ(run("firstOver(20)").asInt(), 307);
}

TEST_F(Mel, VariablesHaveBlockScopeAndGlobalsNeedDeclaring) {
    run("global int $gCounter = 5;");
    run("global int $gCounter = 99;"); // initialised once only
    EXPECT_EQ(host::melGlobal("$gCounter").asInt(), 5);
    run("global proc bumpCounter() { global int $gCounter; $gCounter++; }"
        "global proc int peekWithoutDeclaring() { return $gCounter; }");
    run("bumpCounter; bumpCounter;");
    EXPECT_EQ(host::melGlobal("gCounter").asInt(), 7);
    EXPECT_TRUE(fails("peekWithoutDeclaring()"));

    EXPECT_TRUE(fails("{ int $inner = 1; } $inner"));
    EXPECT_TRUE(fails("int $typed = 1; string $typed;"));
    EXPECT_NE(errors().find("Invalid redeclaration of variable \"$typed\""), std::string::npos);
    // Implicit declaration takes the type of the first value; later values convert to it.
    EXPECT_EQ(run("$implicit = 3; $implicit = 4.7; $implicit").asInt(), 4);
    // Top-level variables outlive the execution that declared them, as in the script editor.
    run("string $kept = \"still here\";");
    EXPECT_EQ(run("$kept").asString(), "still here");
    EXPECT_EQ(host::melGlobal("gMainWindow").asString(), "MayaWindow");
    // Reading past the end gives the default; writing past it grows the array.
    EXPECT_EQ(run("int $a[]; $a[3] = 9; size($a) + $a[1] + $a[10]").asInt(), 4);
}

TEST_F(Mel, AssignmentsConvertScalarsButNeverArraysToScalars) {
    EXPECT_EQ(run("string $s = 3.25; $s").asString(), "3.25");
    EXPECT_DOUBLE_EQ(run("float $f = \"2.5cm\"; $f").asFloat(), 2.5);
    EXPECT_EQ(run("int $ints[] = {1.9, -2.2}; $ints").asIntArray(), (std::vector<int>{1, -2}));
    EXPECT_EQ(run("string $strs[] = {1, 2.5}; $strs[1]").asString(), "2.5");
    EXPECT_EQ(run("float $sized[3]; size($sized)").asInt(), 3);

    EXPECT_TRUE(fails("int $bad[] = 5;"));
    EXPECT_NE(errors().find("Cannot convert data of type int to type int[]"), std::string::npos);
    EXPECT_TRUE(fails("string $one = {\"a\"};"));
    EXPECT_TRUE(fails("int $n = 1; $n[0] = 2;"));
    EXPECT_TRUE(fails("int $list[]; $list[-1] = 2;"));
    EXPECT_TRUE(fails("if ({1, 2}) print 1;"));
    EXPECT_TRUE(fails("{1} + 1"));
    EXPECT_EQ(errorCount(), 6u);
}

TEST_F(Mel, BackticksAndBothCallSyntaxes) {
    run("global proc string[] pair(string $a, string $b) { string $r[] = {$a, $b}; return $r; }"
        "global proc string name() { return \"pSphere1\"; }");
    EXPECT_EQ(run("string $p[] = `pair first second`; $p[1]").asString(), "second");
    EXPECT_EQ(run("size(`pair a b`)").asInt(), 2);
    EXPECT_EQ(run("`name` + \".tx\"").asString(), "pSphere1.tx");
    // A parenthesised first argument followed by more arguments is command syntax.
    EXPECT_EQ(run("pair (`name` + \".t\") -5").asStringArray(),
              (std::vector<std::string>{"pSphere1.t", "-5"}));
    // Bare words are strings, including dots, brackets and bars.
    EXPECT_EQ(run("pair |grp|pCube1.vtx[2:5] 1e3").asStringArray(),
              (std::vector<std::string>{"|grp|pCube1.vtx[2:5]", "1000"}));
    EXPECT_EQ(run("string $s = \"tab\\there\\n\\\"q\\\"\\\\\"; $s").asString(),
              "tab\there\n\"q\"\\");
    EXPECT_EQ(run("eval(\"pair x y\")").asStringArray(), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(run("/* block\n comment */ size(\"abc\") // trailing").asInt(), 3);
}

TEST_F(Mel, SyntaxErrorsNameFileAndLineAndChangeNothing) {
    writeScript("goodProcs.mel", "global proc string version() { return \"one\"; }\n");
    ASSERT_EQ(host::melSourceFile("goodProcs.mel"), MS::kSuccess);
    std::string bad =
        writeScript("badProcs.mel", "// redefines version, then breaks\n"
                                    "global proc string version() { return \"two\"; }\n"
                                    "global proc extra() {}\n"
                                    "\n"
                                    "if ($x == 1 {\n"
                                    "    print \"never\";\n"
                                    "}\n");
    EXPECT_EQ(host::melSourceFile("badProcs.mel"), MS::kFailure);
    ASSERT_EQ(errorCount(), 1u);
    EXPECT_NE(errors().find(bad + " line 5: Syntax error"), std::string::npos) << errors();
    // Nothing of the broken file took effect.
    EXPECT_EQ(run("version()").asString(), "one");
    EXPECT_FALSE(host::melProcedureExists("extra"));
    EXPECT_EQ(messages.output(), "");

    // Malformed input of every kind is reported, never a crash.
    const char* broken[] = {"print \"unterminated;",
                            "global proc f( { }",
                            "{ print 1;",
                            "/* never closed",
                            "int $a = (1 + ;",
                            "proc inner() { proc nested() {} }",
                            "string $v = <<1, 2, 3>>;",
                            "$x = = 2;",
                            "`ls -sl",
                            "for ($i = 0; $i < 3) {}",
                            "switch (1) { case 1 print 1; }",
                            "@"};
    for (const char* text : broken) {
        messages.clear();
        EXPECT_TRUE(fails(text)) << text;
        EXPECT_EQ(errorCount(), 1u) << text;
        EXPECT_NE(errors().find("line "), std::string::npos) << text;
    }
    std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_TRUE(fails(deep));
    EXPECT_NE(errors().find("nesting too deep"), std::string::npos);
}

TEST_F(Mel, RuntimeErrorsStopTheScriptAndNameWhereTheyHappened) {
    std::string path = writeScript("runtimeError.mel", "global proc failingStep() {\n"
                                                       "    print \"before\\n\";\n"
                                                       "    error \"the step failed\";\n"
                                                       "    print \"after\\n\";\n"
                                                       "}\n");
    ASSERT_EQ(host::melSourceFile("runtimeError.mel"), MS::kSuccess);
    EXPECT_TRUE(fails("failingStep; print \"not reached\";"));
    EXPECT_EQ(messages.output(), "before\n");
    EXPECT_EQ(errors(), path + " line 3: the step failed\n");

    // catch shows the error and goes on; catchQuiet hides it.
    messages.clear();
    EXPECT_EQ(run("int $r = catch(`failingStep`); $r").asInt(), 1);
    EXPECT_EQ(errorCount(), 1u);
    EXPECT_EQ(run("catchQuiet(failingStep())").asInt(), 1);
    EXPECT_EQ(run("catch(size(\"ok\"))").asInt(), 0);
    EXPECT_EQ(errorCount(), 1u);

    messages.clear();
    EXPECT_TRUE(fails("global proc forever(int $n) { forever($n + 1); } forever(0);"));
    EXPECT_NE(errors().find("nested too deeply"), std::string::npos);
    EXPECT_TRUE(fails("noSuchProcedure 1 2"));
    EXPECT_NE(errors().find("line 1: Cannot find procedure \"noSuchProcedure\""),
              std::string::npos);
    // The session is still usable.
    EXPECT_EQ(run("size(\"four\")").asInt(), 4);
}

TEST_F(Mel, UnknownProceduresAreSourcedFromTheScriptPath) {
    writeScript("autoLoaded.mel", "global proc int autoLoaded(int $x) { return $x * 3; }\n");
    EXPECT_EQ(host::findScript("autoLoaded"), scratchDir() + "/autoLoaded.mel");
    EXPECT_EQ(run("whatIs autoLoaded").asString(),
              "Script found in: " + scratchDir() + "/autoLoaded.mel");
    EXPECT_EQ(run("autoLoaded(4)").asInt(), 12);
    EXPECT_EQ(run("whatIs autoLoaded").asString(),
              "Mel procedure found in: " + scratchDir() + "/autoLoaded.mel");
}

TEST_F(Mel, LocalProceduresStayInTheirFile) {
    writeScript("withHelper.mel", "proc string helper() { return \"inside\"; }\n"
                                  "global proc string usesHelper() { return helper(); }\n");
    ASSERT_EQ(host::melSourceFile("withHelper"), MS::kSuccess); // ".mel" is implied
    EXPECT_EQ(run("usesHelper()").asString(), "inside");
    EXPECT_FALSE(host::melProcedureExists("helper"));
    EXPECT_TRUE(fails("helper()"));
}

// ---- Built-in commands -----------------------------------------------------------------------

TEST_F(Mel, IntrospectionAndSessionCommands) {
    run("global proc myProc() {}");
    EXPECT_EQ(run("exists myProc").asInt(), 1);
    EXPECT_EQ(run("exists menuItem").asInt(), 1);
    EXPECT_EQ(run("exists(\"catch\")").asInt(), 1);
    EXPECT_EQ(run("exists noSuchThing").asInt(), 0);
    EXPECT_EQ(run("whatIs myProc").asString(), "Entered interactively");
    EXPECT_EQ(run("whatIs print").asString(), "Command");
    EXPECT_EQ(run("whatIs noSuchThing").asString(), "Unknown");
    EXPECT_EQ(run("string $s[]; whatIs \"$s\"").asString(), "string[] variable");
    EXPECT_EQ(run("about -version").asString(), "2013");
    EXPECT_EQ(run("about -batch").asInt(), MGlobal::mayaState() == MGlobal::kBatch ? 1 : 0);
    EXPECT_EQ(run("size({1, 2, 3}) + size(\"ab\")").asInt(), 5);

    run("optionVar -iv \"quilloCount\" 3 -sv \"quilloDir\" \"/tmp/rib\";"
        "optionVar -sva \"quilloList\" a -sva \"quilloList\" b;");
    EXPECT_EQ(run("optionVar -q quilloCount").asInt(), 3);
    EXPECT_EQ(run("optionVar -q quilloDir").asString(), "/tmp/rib");
    EXPECT_EQ(run("optionVar -q quilloList").asStringArray(), (std::vector<std::string>{"a", "b"}));
    run("optionVar -remove quilloDir");
    EXPECT_EQ(run("optionVar -exists quilloDir").asInt(), 0);
}

TEST_F(Mel, PrintWarningAndErrorGoThroughTheMessageLog) {
    run("print \"plain\"; print {\"a\", \"b\"}; print 2.50;");
    EXPECT_EQ(messages.output(), "plaina\nb\n2.5");
    run("warning \"careful\"");
    EXPECT_EQ(messages.texts(MessageKind::kWarning), (std::vector<std::string>{"careful"}));
    EXPECT_TRUE(fails("error -noContext \"bare\""));
    EXPECT_EQ(errors(), "bare\n");
}

TEST_F(Mel, DeferredCommandsRunWhenTheOutermostExecutionEnds) {
    run("global string $gLog = \"\";"
        "global proc note(string $s) { global string $gLog; $gLog += $s; }");
    run("evalDeferred \"note later\"; evalDeferred -evaluateNext \"note first\"; note(\"now\");"
        "eval \"note nested\"; note(\"-\");");
    EXPECT_EQ(host::melGlobal("gLog").asString(), "nownested-firstlater");
    // A command that keeps queuing itself is stopped with a warning instead of hanging.
    run("global proc requeue() { evalDeferred \"requeue\"; } requeue;");
    EXPECT_EQ(messages.count(MessageKind::kWarning), 1u);
    host::melResetSession();
    EXPECT_TRUE(run("evalDeferred -list").asStringArray().empty());
}

TEST_F(Mel, StringAndArrayFunctions) {
    EXPECT_EQ(run("string $parts[]; int $n = tokenize(\"a:b::c\", \":\", $parts);"
                  "$n + \" \" + $parts[2]")
                  .asString(),
              "3 c");
    EXPECT_EQ(run("string $w[]; tokenize(\"  one two \", $w); $w").asStringArray(),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(run("substitute(\"[0-9]+$\", \"pCube12\", \"\")").asString(), "pCube");
    EXPECT_EQ(run("match(\"[0-9]+\", \"pSphere1.vtx[42]\")").asString(), "1");
    EXPECT_EQ(run("match(\"\\\\[[0-9]+\\\\]$\", \"pSphere1.vtx[42]\")").asString(), "[42]");
    EXPECT_EQ(run("gmatch(\"quilloShape3\", \"quillo*\")").asInt(), 1);
    EXPECT_EQ(run("strip(\"  x y \\n\")").asString(), "x y");
    EXPECT_EQ(run("substring(\"feather\", 2, 4)").asString(), "eat");
    EXPECT_EQ(run("toupper(\"ab\") + tolower(\"CD\")").asString(), "ABcd");
    EXPECT_EQ(
        run("startsWith(\"quilloSystem\", \"quillo\") + endsWith(\"a.mel\", \".ma\")").asInt(), 1);
    EXPECT_EQ(run("sort({\"b\", \"c\", \"a\"})").asStringArray(),
              (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(run("abs(-3) + max(2, 7) + min(1.5, 4)").asString(), "11.5");
    EXPECT_EQ(run("int $c[] = {1, 2}; clear($c); size($c)").asInt(), 0);
    EXPECT_TRUE(fails("match(\"[\", \"x\")"));
}

// ---- Commands registered by other host layers ------------------------------------------------

class MelCommands : public Mel {
  protected:
    void SetUp() override {
        Mel::SetUp();
        host::MelSyntax syntax;
        syntax.queryable = true;
        syntax.flag("n", "name", 1)
            .flag("p", "parent", 1)
            .flag("s", "shared")
            .flag("v", "value", 2, true);
        host::registerMelCommand(
            "makeThing",
            [this](host::MelCall& call) {
                lastCall = describe(call);
                if (call.args().empty()) {
                    call.error("makeThing: give the type.");
                    return MStatus(MS::kFailure);
                }
                call.setResult(MelValue(call.stringValue("name", "thing1")));
                return MStatus(MS::kSuccess);
            },
            syntax);
        host::registerMelCommand("silentFailure",
                                 [](host::MelCall&) { return MStatus(MS::kFailure); });
    }
    void TearDown() override {
        host::deregisterMelCommand("makeThing");
        host::deregisterMelCommand("silentFailure");
        Mel::TearDown();
    }

    static std::string describe(const host::MelCall& call) {
        std::ostringstream out;
        out << (call.isQuery() ? "query " : "");
        for (const char* flag : {"name", "parent", "shared"})
            if (call.has(flag))
                out << flag << "=" << call.stringValue(flag) << " ";
        for (const auto& use : call.uses("v"))
            out << "value=" << use[0].asString() << "," << use[1].asString() << " ";
        for (const MelValue& v : call.args())
            out << "[" << v.asString() << "]";
        return out.str();
    }

    std::string lastCall;
};

TEST_F(MelCommands, ArgumentsAreSplitByTheSyntax) {
    EXPECT_EQ(run("makeThing -n \"a\" -shared transform -parent |grp -v 1 2 -v x -3.5").asString(),
              "a");
    EXPECT_EQ(lastCall, "name=a parent=|grp shared= value=1,2 value=x,-3.5 [transform]");
    // Function syntax: strings that name the command's flags are flags.
    EXPECT_EQ(run("makeThing(\"-name\", \"b\", \"mesh\")").asString(), "b");
    EXPECT_EQ(lastCall, "name=b [mesh]");
    EXPECT_EQ(run("string $t = `makeThing -p \"-n\" locator`; $t").asString(), "thing1");
    EXPECT_EQ(lastCall, "parent=-n [locator]");
    // Query mode: flags take no values.
    run("makeThing -q -name -parent x");
    EXPECT_EQ(lastCall, "query name= parent= [x]");
    EXPECT_TRUE(host::melCommandExists("makeThing"));
}

TEST_F(MelCommands, BadArgumentsAndFailuresAreReported) {
    EXPECT_TRUE(fails("makeThing -bogus transform"));
    EXPECT_NE(errors().find("line 1: makeThing: Invalid flag '-bogus'"), std::string::npos);
    EXPECT_TRUE(fails("makeThing transform -v 1"));
    EXPECT_NE(errors().find("Flag '-v' needs 2 values"), std::string::npos);

    messages.clear();
    EXPECT_TRUE(fails("print \"a\"; makeThing; print \"b\";"));
    EXPECT_EQ(messages.output(), "a");
    EXPECT_EQ(errors(), "line 1: makeThing: give the type.\n");

    // A failure the handler does not explain gets a generic message, once.
    messages.clear();
    EXPECT_TRUE(fails("\n\nsilentFailure"));
    EXPECT_EQ(errors(), "line 3: silentFailure: command failed.\n");

    // A procedure of the same name is called instead of the command.
    run("global proc string makeThing(string $t) { return \"proc \" + $t; }");
    EXPECT_EQ(run("makeThing cube").asString(), "proc cube");
}

TEST_F(MelCommands, SceneFileStatementsReachTheirCommands) {
    // Values are tagged by type: i int, f float, s string.
    std::vector<std::string> seen;
    auto record = [&seen](host::MelCall& call) {
        std::string line = call.command();
        for (const char* flag : {"type", "keyable", "size", "name", "noExpand"})
            if (call.has(flag))
                line += " -" + std::string(flag) + "=" + call.stringValue(flag);
        for (const MelValue& v : call.args())
            line += std::string(" ") +
                    (v.type() == MelValue::Type::kInt     ? "i"
                     : v.type() == MelValue::Type::kFloat ? "f"
                                                          : "s") +
                    v.asString();
        seen.push_back(line);
        bool failing = !call.args().empty() && call.args()[0].asString() == ".fail";
        return failing ? MStatus(MS::kFailure) : MStatus(MS::kSuccess);
    };
    host::registerMelCommand(
        "setAttr", record,
        host::MelSyntax().flag("type", "type", 1).flag("k", "keyable", 1).flag("s", "size", 1));
    host::registerMelCommand("createNode", record, host::MelSyntax().flag("n", "name", 1));
    host::registerMelCommand("select", record, host::MelSyntax().flag("ne", "noExpand"));

    std::string scene = writeScript("plane.ma", "//Maya ASCII 2013 scene\n"
                                                "createNode transform -n \"pPlane1\";\n"
                                                "\tsetAttr \".t\" -type \"double3\" 1.5 -2e-3 4 ;\n"
                                                "\tsetAttr -k off \".v\" no;\n"
                                                "\tsetAttr -s 2 \".vt[0:1]\"  -0.5 0 .5\n"
                                                "\t\t 1e+20 -1 0;\n"
                                                "\tsetAttr \".fc[0]\" -type \"polyFaces\" \n"
                                                "\t\tf 3 0 1 -2\n"
                                                "\t\tmu 0 3 0 1 2;\n"
                                                "select -ne :time1;\n"
                                                "// End of plane.ma\n");
    EXPECT_EQ(host::melRunFile(scene), MS::kSuccess) << errors();
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "createNode -name=pPlane1 stransform",
                        "setAttr -type=double3 s.t f1.5 f-0.002 i4", "setAttr -keyable=0 s.v i0",
                        "setAttr -size=2 s.vt[0:1] f-0.5 i0 f0.5 f1e+20 i-1 i0",
                        "setAttr -type=polyFaces s.fc[0] sf i3 i0 i1 i-2 smu i0 i3 i0 i1 i2",
                        "select -noExpand= s:time1"}));

    // A failing command stops the file and is reported at its line.
    seen.clear();
    std::string broken = writeScript("broken.ma", "setAttr \".a\" 1;\n"
                                                  "setAttr \".fail\" 2;\n"
                                                  "setAttr \".b\" 3;\n");
    EXPECT_EQ(host::melRunFile(broken), MS::kFailure);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(errors(), broken + " line 2: setAttr: command failed.\n");
    EXPECT_EQ(host::melRunFile(scratchDir() + "/absent.ma"), MS::kFailure);
    EXPECT_NE(errors().find("Cannot open file \"" + scratchDir() + "/absent.ma\""),
              std::string::npos);
    for (const char* name : {"setAttr", "createNode", "select"})
        host::deregisterMelCommand(name);
}

TEST_F(MelCommands, HandlersMayRunMelThemselves) {
    host::registerMelCommand(
        "nested",
        [](host::MelCall& call) {
            MString result;
            std::string text = "makeThing -name " + call.args()[0].asString() + " x";
            MStatus status = MGlobal::executeCommand(text.c_str(), result);
            call.setResult(MelValue(std::string("got ") + result.asChar()));
            return status;
        },
        host::MelSyntax{{}, false, false, 1, 1});
    EXPECT_EQ(run("nested inner").asString(), "got inner");
    // The nested text is broken: its syntax error is the only message.
    EXPECT_TRUE(fails("nested \"\\\"\""));
    EXPECT_EQ(errorCount(), 1u);
    EXPECT_NE(errors().find("Syntax error"), std::string::npos);
    host::deregisterMelCommand("nested");
}

// ---- MGlobal ---------------------------------------------------------------------------------

TEST_F(Mel, ExecuteCommandResultOverloads) {
    run("global proc string[] names() { string $n[] = {\"a\", \"b\"}; return $n; }");
    int i = -1;
    EXPECT_EQ(MGlobal::executeCommand("2 * 21", i), MS::kSuccess);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(MGlobal::executeCommand("\"17\"", i), MS::kSuccess);
    EXPECT_EQ(i, 17);
    double d = 0.0;
    EXPECT_EQ(MGlobal::executeCommand("1.0 / 4", d), MS::kSuccess);
    EXPECT_DOUBLE_EQ(d, 0.25);
    MString s;
    EXPECT_EQ(MGlobal::executeCommand("about -version", s), MS::kSuccess);
    EXPECT_EQ(s, "2013");
    MStringArray a;
    EXPECT_EQ(MGlobal::executeCommand("names()", a), MS::kSuccess);
    ASSERT_EQ(a.length(), 2u);
    EXPECT_EQ(a[1], "b");
    EXPECT_EQ(MGlobal::executeCommand("string $one = \"x\"; $one", a), MS::kSuccess);
    EXPECT_EQ(a.length(), 1u);

    // Values that do not read as the type asked for leave the result alone.
    i = 5;
    EXPECT_EQ(MGlobal::executeCommand("names()", i), MS::kInvalidParameter);
    EXPECT_EQ(MGlobal::executeCommand("\"pSphere1\"", i), MS::kInvalidParameter);
    EXPECT_EQ(MGlobal::executeCommand("names()", s), MS::kInvalidParameter);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(s, "2013");
    EXPECT_EQ(errorCount(), 0u);

    EXPECT_EQ(MGlobal::executeCommand("noSuchCommand", i), MS::kFailure);
    EXPECT_EQ(MGlobal::executeCommand("print (", s), MS::kFailure);
    EXPECT_EQ(errorCount(), 2u);

    // display echoes the command through displayInfo.
    EXPECT_EQ(MGlobal::executeCommand("print \"x\"", true), MS::kSuccess);
    EXPECT_EQ(messages.texts(MessageKind::kInfo), (std::vector<std::string>{"print \"x\""}));
}

TEST_F(Mel, SourceFileSearchesTheScriptPath) {
    std::string dir = scratchDir();
    EXPECT_EQ(MGlobal::sourceFile("missingScript.mel"), MS::kFailure);
    ASSERT_EQ(errorCount(), 1u);
    EXPECT_NE(errors().find("\"missingScript.mel\""), std::string::npos);
    EXPECT_NE(errors().find(dir), std::string::npos) << "the searched directories are named";

    // MAYA_SCRIPT_PATH directories are searched first.
    std::string envDir = dir + "/fromEnv";
    std::filesystem::create_directory(envDir);
    writeScript("which.mel", "global proc string which() { return \"added\"; }");
    std::ofstream(envDir + "/which.mel") << "global proc string which() { return \"env\"; }";
    {
        ScopedEnv path("MAYA_SCRIPT_PATH", "/nonexistent::" + envDir);
        EXPECT_EQ(host::scriptPath().front(), "/nonexistent");
        EXPECT_EQ(MGlobal::sourceFile("which.mel"), MS::kSuccess);
    }
    EXPECT_EQ(run("which()").asString(), "env");
    EXPECT_EQ(MGlobal::sourceFile("which.mel"), MS::kSuccess);
    EXPECT_EQ(run("which()").asString(), "added");
    // A path is taken as it is.
    EXPECT_EQ(MGlobal::sourceFile((envDir + "/which.mel").c_str()), MS::kSuccess);
    EXPECT_EQ(run("which()").asString(), "env");

    // From MEL the message also says where the source statement is.
    messages.clear();
    EXPECT_TRUE(fails("\nsource \"alsoMissing.mel\";"));
    EXPECT_NE(errors().find("line 2: Cannot find file \"alsoMissing.mel\""), std::string::npos);
}

TEST(MelMessages, DisplayFormatsOnTheStreams) {
    std::ostringstream out, err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    {
        host::MessageCapture seen(host::MessageCapture::Echo::kPassThrough);
        MGlobal::displayInfo("quillo 1.6.5 loaded!");
        MGlobal::displayWarning("mind the gap");
        MGlobal::displayError("it broke");
        {
            host::MessageCapture hidden; // the innermost capture is silent
            MGlobal::displayError("recorded only");
            EXPECT_EQ(hidden.count(MessageKind::kError), 1u);
        }
        EXPECT_EQ(seen.count(MessageKind::kError), 2u);
        EXPECT_TRUE(seen.contains(MessageKind::kWarning, "gap"));
    }
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    EXPECT_EQ(out.str(), "quillo 1.6.5 loaded!\n");
    EXPECT_EQ(err.str(), "// Warning: mind the gap\n// Error: it broke\n");
}

// ---- Menus -----------------------------------------------------------------------------------

TEST_F(Mel, MenusHoldItemsInOrderWithGeneratedAndUniqueNames) {
    std::string path =
        run("menu -label \"Tools\" -parent MayaWindow -allowOptionBoxes true tools").asString();
    EXPECT_EQ(path, "MayaWindow|tools");
    std::string first = run("menuItem -label \"One\" -command \"print 1\"").asString();
    EXPECT_EQ(first, "MayaWindow|tools|menuItem1");
    run("menuItem -optionBox true -command \"print 11\";"
        "menuItem -divider true;"
        "menuItem -label \"More\" -subMenu true more;"
        "  menuItem -label \"Deep\" -command \"print 2\" deep;"
        "setParent -menu ..;"
        "menuItem -label \"Last\" last;");
    EXPECT_EQ(host::ui::itemLabels("tools"),
              (std::vector<std::string>{"One", "", "", "More", "Last"}));
    EXPECT_EQ(host::ui::itemNames("more"), (std::vector<std::string>{"deep"}));
    EXPECT_EQ(host::ui::fullPath("deep"), "MayaWindow|tools|more|deep");
    EXPECT_TRUE(host::ui::element("menuItem2")->optionBox);
    EXPECT_EQ(run("menu -q -numberOfItems tools").asInt(), 5);
    EXPECT_EQ(run("menuItem -q -label MayaWindow|tools|more").asString(), "More");

    // A taken name gets a number; trailing numbers are incremented.
    EXPECT_EQ(run("menu -label \"Tools again\" tools").asString(), "MayaWindow|tools1");
    EXPECT_EQ(run("menu tools").asString(), "MayaWindow|tools2");
    EXPECT_EQ(run("menuItem -parent tools -label x last").asString(), "MayaWindow|tools|last1");

    // Choosing an item runs its command.
    messages.clear();
    EXPECT_EQ(host::ui::invokeMenuItem(host::ui::findItemByLabel("more", "Deep")), MS::kSuccess);
    EXPECT_EQ(messages.output(), "2");
    run("menuItem -e -enable false deep");
    EXPECT_EQ(host::ui::invokeMenuItem("deep"), MS::kFailure);

    // Deleting a menu deletes what it holds, sub-menus included.
    run("deleteUI -menu tools");
    EXPECT_FALSE(host::ui::exists("tools"));
    EXPECT_FALSE(host::ui::exists("deep"));
    EXPECT_FALSE(host::ui::exists("menuItem1"));
    EXPECT_EQ(host::ui::menusOf(), (std::vector<std::string>{"tools1", "tools2"}));
    EXPECT_EQ(run("menu -exists tools").asInt(), 0);
    EXPECT_EQ(run("menu -exists tools1").asInt(), 1);
}

TEST_F(Mel, MenusCanBeQueriedAndEdited) {
    run("menu -label \"Edit me\" m; menuItem -label a ia; menuItem -label c ic;"
        "menuItem -label b -insertAfter ia ib; menuItem -label z -insertAfter \"\" iz;");
    EXPECT_EQ(run("menu -q -itemArray m").asStringArray(),
              (std::vector<std::string>{"iz", "ia", "ib", "ic"}));
    EXPECT_EQ(run("setParent -q -menu").asString(), "MayaWindow|m");
    run("menu -e -label \"Renamed\" m; menuItem -e -label \"A\" -command \"print 1\" ia;");
    EXPECT_EQ(run("menu -q -label m").asString(), "Renamed");
    EXPECT_EQ(run("menuItem -q -command ia").asString(), "print 1");
    EXPECT_EQ(host::ui::itemLabels("m"), (std::vector<std::string>{"z", "A", "b", "c"}));

    run("menu -e -deleteAllItems m");
    EXPECT_TRUE(host::ui::itemNames("m").empty());
    EXPECT_EQ(run("menuItem -exists ia").asInt(), 0);
    run("setParent -menu ..");
    EXPECT_EQ(run("setParent -q -menu").asString(), "NONE");
    EXPECT_TRUE(fails("menuItem -label orphan"));
}

TEST_F(Mel, MenuCommandsRejectWhatMayaRejects) {
    EXPECT_TRUE(fails("menuItem -label \"orphan\"")); // no current menu
    run("menu plain; menuItem -label a;");
    EXPECT_TRUE(fails("menuItem -optionBox true")); // the menu does not allow them
    EXPECT_TRUE(fails("menu -parent noSuchWindow x"));
    EXPECT_TRUE(fails("deleteUI -menu menuItem1")); // not a menu
    EXPECT_TRUE(fails("deleteUI noSuchMenu"));
    EXPECT_NE(errors().find("Object 'noSuchMenu' not found"), std::string::npos);
    EXPECT_TRUE(fails("setParent -menu noSuchMenu"));
    run("menu -allowOptionBoxes true boxes; menuItem -divider true;");
    EXPECT_TRUE(fails("menuItem -optionBox true")); // nothing to be the option box of
    EXPECT_EQ(errorCount(), 7u);
    EXPECT_EQ(host::ui::itemLabels("plain"), (std::vector<std::string>{"a"}));
}

TEST_F(Mel, DialogsAnswerFromTheQueueOrWithTheirDefault) {
    // Nothing queued: the default button, else the dismiss string, else "dismiss".
    EXPECT_EQ(run("confirmDialog -title \"T\" -message \"Sure?\" -button Yes -button No "
                  "-defaultButton No -cancelButton No -dismissString No")
                  .asString(),
              "No");
    EXPECT_EQ(run("confirmDialog -message m -button A -dismissString gone").asString(), "gone");
    EXPECT_EQ(run("confirmDialog -message m").asString(), "dismiss");
    std::vector<host::ui::ShownDialog> shown = host::ui::shownDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].command, "confirmDialog");
    EXPECT_EQ(shown[0].title, "T");
    EXPECT_EQ(shown[0].message, "Sure?");
    EXPECT_EQ(shown[0].buttons, (std::vector<std::string>{"Yes", "No"}));

    // Queued answers are taken oldest first, one per dialog, whatever the dialog.
    host::ui::queueDialogAnswer({"Yes", ""});
    host::ui::queueDialogAnswer({"OK", "typed"});
    EXPECT_EQ(run("confirmDialog -button Yes -button No -defaultButton No").asString(), "Yes");
    EXPECT_EQ(run("promptDialog -text start -button OK -button Cancel").asString(), "OK");
    EXPECT_EQ(run("promptDialog -query -text").asString(), "typed");
    EXPECT_EQ(run("promptDialog -text start -button OK -defaultButton OK").asString(), "OK");
    EXPECT_EQ(run("promptDialog -q -tx").asString(), "start"); // the default keeps its text

    // fileDialog2: cancelled unless a path is queued; an empty path is a cancel too.
    EXPECT_EQ(run("size(`fileDialog2 -fileMode 0 -caption Save`)").asInt(), 0);
    host::ui::queueDialogAnswer({"", "/tmp/a.rib"});
    host::ui::queueDialogAnswer({"Cancel", ""});
    EXPECT_EQ(run("fileDialog2 -fm 0 -ff \"RIB (*.rib)\"").asStringArray(),
              (std::vector<std::string>{"/tmp/a.rib"}));
    EXPECT_EQ(run("size(`fileDialog2 -fm 0`)").asInt(), 0);
    EXPECT_EQ(host::ui::shownDialogs().back().command, "fileDialog2");
    EXPECT_EQ(errorCount(), 0u) << errors();

    EXPECT_TRUE(fails("confirmDialog -noSuchFlag 1"));
    EXPECT_TRUE(fails("confirmDialog -button"));
    EXPECT_TRUE(fails("confirmDialog extra"));
    EXPECT_TRUE(fails("promptDialog -query -message"));
    EXPECT_TRUE(fails("fileDialog2 -fileMode 7"));
    ASSERT_EQ(errorCount(), 5u);
    for (const char* command : {"confirmDialog", "promptDialog", "fileDialog2"})
        EXPECT_NE(errors().find(command), std::string::npos) << command << ": " << errors();

    // A fresh session forgets answers and records.
    host::ui::queueDialogAnswer({"Left", ""});
    host::melResetSession();
    EXPECT_TRUE(host::ui::shownDialogs().empty());
    EXPECT_EQ(run("confirmDialog -defaultButton Right").asString(), "Right");
}

// ---- The plug-in's scripts -------------------------------------------------------------------

class QuilloScripts : public Mel {
  protected:
    void SetUp() override {
        Mel::SetUp();
        host::addScriptPath(kScriptDir);
        ASSERT_EQ(MGlobal::sourceFile("quilloScripts.mel"), MS::kSuccess) << errors();
        ASSERT_EQ(MGlobal::sourceFile("quilloDelight.mel"), MS::kSuccess) << errors();
    }
};

TEST_F(QuilloScripts, MenuIsBuiltRebuiltAndRemovedWithoutMessages) {
    ASSERT_EQ(MGlobal::executeCommand("quilloMenu"), MS::kSuccess);
    ASSERT_TRUE(host::ui::menuExists("quilloMainMenu"));
    EXPECT_EQ(host::ui::element("quilloMainMenu")->label, "Quillo");
    EXPECT_EQ(host::ui::element("quilloMainMenu")->parent, "MayaWindow");
    EXPECT_EQ(host::ui::itemLabels("quilloMainMenu"),
              (std::vector<std::string>{"Create Feather", "Connect Guide Surfaces",
                                        "Create Feather System", "Create Component",
                                        "Create Render Globals", "", "Export Feathers..."}));
    // Every item runs a procedure the scripts define.
    for (const std::string& item : host::ui::itemNames("quilloMainMenu")) {
        auto e = host::ui::element(item);
        if (e->divider)
            continue;
        EXPECT_TRUE(host::melProcedureExists(e->command)) << e->label << ": " << e->command;
    }
    // The menu procedure leaves no current menu behind for others' items to land in.
    EXPECT_EQ(host::ui::currentMenu(), "");

    // Running it again replaces the menu: one menu, the old items gone, the same labels.
    std::vector<std::string> firstItems = host::ui::itemNames("quilloMainMenu");
    std::vector<std::string> labels = host::ui::itemLabels("quilloMainMenu");
    ASSERT_EQ(MGlobal::executeCommand("quilloMenu"), MS::kSuccess);
    EXPECT_EQ(host::ui::menusOf(), (std::vector<std::string>{"quilloMainMenu"}));
    for (const std::string& item : firstItems)
        EXPECT_FALSE(host::ui::exists(item)) << item;
    EXPECT_EQ(host::ui::itemLabels("quilloMainMenu"), labels);

    ASSERT_EQ(MGlobal::executeCommand("qoUninstalMenu"), MS::kSuccess);
    EXPECT_TRUE(host::ui::menusOf().empty());
    EXPECT_EQ(MGlobal::executeCommand("qoUninstalMenu"), MS::kSuccess);
    EXPECT_EQ(messages.messages().size(), 0u) << errors();
}

TEST_F(QuilloScripts, NoMenuWithoutAMainWindow) {
    run("global string $gMainWindow; $gMainWindow = \"\"; quilloMenu;");
    EXPECT_TRUE(host::ui::menusOf().empty());
    EXPECT_EQ(messages.messages().size(), 0u);
}

TEST_F(QuilloScripts, ItemsNeedingSceneCommandsFailCleanly) {
    run("quilloMenu");
    std::string item = host::ui::findItemByLabel("quilloMainMenu", "Create Feather");
    EXPECT_EQ(host::ui::invokeMenuItem(item), MS::kFailure);
    ASSERT_EQ(errorCount(), 1u);
    EXPECT_NE(errors().find("quilloScripts.mel line "), std::string::npos) << errors();
    EXPECT_NE(errors().find("Cannot find procedure \"createNode\""), std::string::npos);
    EXPECT_TRUE(host::ui::menuExists("quilloMainMenu"));

    // Export first asks for the file; headless, nobody picks one, and nothing happens.
    messages.clear();
    EXPECT_EQ(
        host::ui::invokeMenuItem(host::ui::findItemByLabel("quilloMainMenu", "Export Feathers...")),
        MS::kSuccess);
    EXPECT_EQ(messages.messages().size(), 0u) << errors();
    ASSERT_EQ(host::ui::shownDialogs().size(), 1u);
    EXPECT_EQ(host::ui::shownDialogs()[0].command, "fileDialog2");
}

TEST_F(QuilloScripts, RenderHelpers) {
    EXPECT_EQ(run("quilloMotionBlurOffsets(3, 1.0, 0.5)").asFloatArray(),
              (std::vector<double>{0.0, 0.25, 0.5}));
    EXPECT_EQ(run("quilloMotionBlurOffsets(1, 1.0, 1.0)").asFloatArray(),
              (std::vector<double>{0.0}));
    {
        ScopedEnv tmp("TMPDIR", "/scratch");
        EXPECT_EQ(run("quilloExpandTempDir(\"%temp%/ribs/%TEMP%\")").asString(),
                  "/scratch/ribs//scratch");
        EXPECT_EQ(run("quilloExpandTempDir(\"/fixed\")").asString(), "/fixed");
    }
    {
        ScopedEnv tmp("TMPDIR", "%temp%"); // never expands into itself
        EXPECT_EQ(run("quilloExpandTempDir(\"%temp%\")").asString(), "/tmp");
    }
    EXPECT_EQ(run("size(quilloExportSettingNames())").asInt(), 15);
}

// A small stand-in for the scene commands, enough to run the menu's procedures: nodes with a
// type and a parent, plug connections, attribute values and a selection.
class QuilloScriptsInAScene : public QuilloScripts {
  protected:
    struct Node {
        std::string type, parent;
    };

    void SetUp() override {
        QuilloScripts::SetUp();
        command("createNode", host::MelSyntax().flag("n", "name", 1).flag("p", "parent", 1),
                [this](host::MelCall& c) {
                    std::string name =
                        uniqueName(c.stringValue("name", c.args()[0].asString() + "1"));
                    nodes[name] = {c.args()[0].asString(), shortName(c.stringValue("parent"))};
                    created.push_back(name);
                    c.setResult(MelValue(name));
                });
        command("ls",
                host::MelSyntax()
                    .flag("sl", "selection")
                    .flag("os", "orderedSelection")
                    .flag("o", "objectsOnly")
                    .flag("fl", "flatten")
                    .flag("l", "long")
                    .flag("sn", "shortNames")
                    .flag("type", "type", 1, true),
                [this](host::MelCall& c) {
                    std::vector<std::string> names;
                    if (c.has("sl") || c.has("os"))
                        names = selection;
                    else
                        for (const MelValue& v : c.args())
                            names.push_back(v.asString());
                    if (names.empty() && !c.has("sl") && !c.has("os"))
                        for (const auto& n : nodes)
                            names.push_back(n.first);
                    std::vector<std::string> result;
                    for (std::string name : names) {
                        if (c.has("o"))
                            name = name.substr(0, name.find('.'));
                        bool typed = c.uses("type").empty();
                        for (const auto& t : c.uses("type"))
                            typed = typed || typeOf(name) == t[0].asString();
                        if (typed)
                            result.push_back(c.has("l")    ? fullPath(name)
                                             : c.has("sn") ? shortName(name)
                                                           : name);
                    }
                    c.setResult(MelValue(result));
                });
        command("select", host::MelSyntax().flag("r", "replace"), [this](host::MelCall& c) {
            selection.clear();
            for (const MelValue& v : c.args())
                selection.push_back(v.asString());
        });
        command("nodeType", host::MelSyntax(), [this](host::MelCall& c) {
            c.setResult(MelValue(typeOf(c.args()[0].asString())));
        });
        command("listRelatives",
                host::MelSyntax()
                    .flag("s", "shapes")
                    .flag("ni", "noIntermediate")
                    .flag("f", "fullPath"),
                [this](host::MelCall& c) {
                    std::vector<std::string> result;
                    for (const auto& n : nodes)
                        if (n.second.parent == shortName(c.args()[0].asString()))
                            result.push_back(c.has("f") ? fullPath(n.first) : n.first);
                    c.setResult(MelValue(result));
                });
        command("listConnections",
                host::MelSyntax()
                    .flag("s", "source", 1)
                    .flag("d", "destination", 1)
                    .flag("sh", "shapes", 1)
                    .flag("type", "type", 1),
                [this](host::MelCall& c) {
                    std::string plug = shortPlug(c.args()[0].asString());
                    std::vector<std::string> result;
                    for (const auto& link : connections)
                        if (link.second.compare(0, plug.size(), plug) == 0) {
                            std::string node = link.first.substr(0, link.first.find('.'));
                            if (typeOf(node) == c.stringValue("type", typeOf(node)))
                                result.push_back(node);
                        }
                    c.setResult(MelValue(result));
                });
        command("getAttr", host::MelSyntax().flag("mi", "multiIndices"), [this](host::MelCall& c) {
            std::string plug = shortPlug(c.args()[0].asString());
            std::vector<int> indices;
            for (const auto& link : connections)
                if (link.second.compare(0, plug.size() + 1, plug + "[") == 0)
                    indices.push_back(std::atoi(link.second.c_str() + plug.size() + 1));
            c.setResult(MelValue(indices));
        });
        command("connectAttr", host::MelSyntax(), [this](host::MelCall& c) {
            connections.emplace_back(shortPlug(c.args()[0].asString()),
                                     shortPlug(c.args()[1].asString()));
        });
        command("setAttr", host::MelSyntax().flag("type", "type", 1), [this](host::MelCall& c) {
            values[shortPlug(c.args()[0].asString())] = c.args()[1].asString();
        });
        // No component is ever selected here.
        command("filterExpand",
                host::MelSyntax().flag("sm", "selectionMask", 1, true).flag("ex", "expand", 1),
                [](host::MelCall& c) { c.setResult(MelValue(std::vector<std::string>{})); });
        command("sets", host::MelSyntax().flag("n", "name", 1), [this](host::MelCall& c) {
            std::string name = uniqueName(c.stringValue("name"));
            nodes[name] = {"objectSet", ""};
            c.setResult(MelValue(name));
        });
    }
    void TearDown() override {
        for (const std::string& name : registered)
            host::deregisterMelCommand(name);
        QuilloScripts::TearDown();
    }

    template <typename F> void command(const std::string& name, host::MelSyntax syntax, F body) {
        host::registerMelCommand(
            name,
            [body](host::MelCall& c) {
                body(c);
                return MStatus(MS::kSuccess);
            },
            syntax);
        registered.push_back(name);
    }

    static std::string shortName(const std::string& path) {
        return path.substr(path.rfind('|') + 1);
    }
    std::string shortPlug(const std::string& plug) const {
        std::size_t dot = plug.find('.');
        return shortName(plug.substr(0, dot)) + plug.substr(dot);
    }
    std::string typeOf(const std::string& name) const {
        auto it = nodes.find(shortName(name));
        return it == nodes.end() ? "" : it->second.type;
    }
    std::string fullPath(const std::string& name) const {
        std::string path, node = shortName(name);
        while (!node.empty()) {
            path = "|" + node + path;
            auto it = nodes.find(node);
            node = it == nodes.end() ? "" : it->second.parent;
        }
        return path;
    }
    std::string uniqueName(std::string name) const {
        while (nodes.count(name)) {
            std::size_t digits = name.find_last_not_of("0123456789") + 1;
            int n = digits < name.size() ? std::atoi(name.c_str() + digits) : 0;
            name = name.substr(0, digits) + std::to_string(n + 1);
        }
        return name;
    }
    void addShape(const std::string& transform, const std::string& shape, const std::string& type) {
        nodes[transform] = {"transform", ""};
        nodes[shape] = {type, transform};
    }

    std::map<std::string, Node> nodes;
    std::vector<std::pair<std::string, std::string>> connections;
    std::map<std::string, std::string> values;
    std::vector<std::string> selection;
    std::vector<std::string> created;
    std::vector<std::string> registered;
};

TEST_F(QuilloScriptsInAScene, CreateFeatherMakesAShapeUnderItsTransform) {
    EXPECT_EQ(run("quilloCreateFeather()").asString(), "quilloShape1");
    EXPECT_EQ(run("quilloCreateFeather()").asString(), "quilloShape2");
    EXPECT_EQ(nodes["quilloShape2"].type, "quillo");
    EXPECT_EQ(nodes["quilloShape2"].parent, "quillo2");
    EXPECT_EQ(selection, (std::vector<std::string>{"quilloShape2"}));
}

TEST_F(QuilloScriptsInAScene, ConnectGuideSurfacesFillsTheNextElements) {
    addShape("feather", "featherShape", "quillo");
    addShape("wing1", "wingShape1", "nurbsSurface");
    addShape("wing2", "wingShape2", "nurbsSurface");
    addShape("wing3", "wingShape3", "nurbsSurface");
    addShape("body", "bodyShape", "mesh");
    // Transforms and shapes alike; other geometry is ignored.
    run("select -r feather wing1 |wing2|wingShape2 body; quilloConnectGuideSurfaces;");
    using Link = std::pair<std::string, std::string>;
    EXPECT_EQ(connections,
              (std::vector<Link>{
                  {"wingShape1.worldSpace[0]", "featherShape.guidSurfaceInfo[0].guidSurface"},
                  {"wingShape2.worldSpace[0]", "featherShape.guidSurfaceInfo[1].guidSurface"}}));
    // Connected surfaces are not connected again; a new one takes the next index.
    run("select -r featherShape wing3 wing1; quilloConnectGuideSurfaces;");
    ASSERT_EQ(connections.size(), 3u);
    EXPECT_EQ(connections[2],
              (Link{"wingShape3.worldSpace[0]", "featherShape.guidSurfaceInfo[2].guidSurface"}));
    EXPECT_EQ(messages.output(),
              "Quillo: connected 2 guide surface(s) to |feather|featherShape.\n"
              "Quillo: connected 1 guide surface(s) to |feather|featherShape.\n");

    EXPECT_TRUE(fails("select -r wing1; quilloConnectGuideSurfaces;"));
    EXPECT_NE(errors().find("select one feather node"), std::string::npos);
    EXPECT_EQ(connections.size(), 3u);
}

TEST_F(QuilloScriptsInAScene, CreateFeatherSystemBorrowsAFeatherAndGrowsOnTheSelection) {
    EXPECT_TRUE(fails("quilloCreateFeatherSystem"));
    EXPECT_NE(errors().find("select a NURBS surface or a mesh"), std::string::npos);
    addShape("body", "bodyShape", "mesh");
    EXPECT_TRUE(fails("select -r body; quilloCreateFeatherSystem"));
    EXPECT_NE(errors().find("create a feather node first"), std::string::npos);
    EXPECT_TRUE(created.empty());

    addShape("feather", "featherShape", "quillo");
    run("select -r body; quilloCreateFeatherSystem;");
    using Link = std::pair<std::string, std::string>;
    EXPECT_EQ(connections, (std::vector<Link>{
                               {"featherShape.featherInfoID", "quilloSystemShape1.inRenderFeather"},
                               {"quilloGrowthSet1.message", "quilloSystemShape1.growthSet"},
                               {"bodyShape.worldMesh[0]", "quilloSystemShape1.inputGrowMesh"}}));
    EXPECT_EQ(nodes["quilloSystemShape1"].parent, "quilloSystem1");
}

TEST_F(QuilloScriptsInAScene, CreateComponentFollowsThePickedVertices) {
    addShape("pPlane1", "pPlaneShape1", "mesh");
    run("select -r pPlane1.vtx[12] pPlane1.vtx[3] pPlane1.vtx[7]; quilloCreateComponent;");
    EXPECT_EQ(values["quilloComponentShape1.vertexGroup"], "12 3 7");
    using Link = std::pair<std::string, std::string>;
    EXPECT_EQ(connections,
              (std::vector<Link>{{"pPlaneShape1.worldMesh[0]", "quilloComponentShape1.inMesh"}}));

    addShape("pCube1", "pCubeShape1", "mesh");
    EXPECT_TRUE(fails("select -r pPlane1.vtx[1] pCube1.vtx[2]; quilloCreateComponent;"));
    EXPECT_NE(errors().find("one mesh"), std::string::npos);
    EXPECT_TRUE(fails("select -r pPlane1.vtx[1]; quilloCreateComponent;"));
}

TEST_F(QuilloScriptsInAScene, RenderGlobalsAreCreatedOnce) {
    EXPECT_EQ(run("quilloCreateRenderGlobals").asString(), "quilloGlobals");
    EXPECT_EQ(run("quilloGlobalsNode").asString(), "quilloGlobals");
    EXPECT_EQ(created, (std::vector<std::string>{"quilloGlobals"}));
}

} // namespace
