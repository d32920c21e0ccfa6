// Plug-in commands: MFnPlugin::registerCommand puts an MPxCommand on MEL, its arguments reach
// doIt as an MArgList, a syntax checks them before doIt, results come back to MEL, and
// deregistration takes the command away. Also MItDependencyNodes over the scene.

#include "plugin/plugin.h"

#include "host/mel.h"
#include "host/messages.h"
#include "host/scene.h"

#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MFnDependencyNode.h>
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using host::MelValue;
using host::MessageCapture;
using host::MessageKind;

int doItCalls = 0;
MArgList lastArgs;

// "-c/-count" int, "-n/-name" string (multi-use), "-s/-scale" double, "-v/-verbose" no value,
// then any objects.
MSyntax echoSyntax() {
    MSyntax syntax;
    syntax.addFlag("-c", "-count", MSyntax::kLong);
    syntax.addFlag("-n", "-name", MSyntax::kString);
    syntax.makeFlagMultiUse("-n");
    syntax.addFlag("-s", "-scale", MSyntax::kDouble);
    syntax.addFlag("-v", "-verbose");
    syntax.setObjectType(MSyntax::kStringObjects);
    return syntax;
}

// Returns, as a string array: count, every name, scale and verbose, then the objects.
class echoCommand : public MPxCommand {
  public:
    MStatus doIt(const MArgList& args) override {
        ++doItCalls;
        lastArgs = args;
        MStatus status;
        MArgDatabase db(echoSyntax(), args, &status);
        if (!status)
            return status;
        int count = 0;
        if (db.isFlagSet("c"))
            db.getFlagArgument("count", 0, count);
        appendToResult(("count=" + std::to_string(count)).c_str());
        for (unsigned int i = 0; i < db.numberOfFlagUses("-name"); ++i) {
            MArgList use;
            db.getFlagArgumentList("-n", i, use);
            appendToResult((std::string("name=") + use.asString(0).asChar()).c_str());
        }
        double scale = 1.0;
        if (db.isFlagSet("-scale"))
            scale = db.flagArgumentDouble("-s", 0);
        appendToResult(("scale=" + host::melFormatFloat(scale)).c_str());
        appendToResult(db.isFlagSet("-verbose") ? "verbose" : "quiet");
        MStringArray objects;
        db.getObjects(objects);
        appendToResult(objects);
        return MS::kSuccess;
    }
    static void* creator() { return new echoCommand; }
};

// No syntax: the arguments arrive as written; fails when asked to with "-fail".
class rawCommand : public MPxCommand {
  public:
    MStatus doIt(const MArgList& args) override {
        ++doItCalls;
        lastArgs = args;
        if (args.flagIndex("fail") != MArgList::kInvalidArgIndex) {
            displayError("rawCommand: asked to fail");
            return MS::kFailure;
        }
        setResult(static_cast<int>(args.length()));
        return MS::kSuccess;
    }
    static void* creator() { return new rawCommand; }
};

class PluginCommandTest : public testing::Test {
  protected:
    void SetUp() override {
        doItCalls = 0;
        lastArgs = MArgList();
        plugin = std::make_shared<host::Plugin>();
        plugin->name = "commandTestPlugin";
        object = MObject(plugin);
    }
    void TearDown() override {
        for (const std::string& name : std::vector<std::string>(plugin->commands))
            MFnPlugin(object).deregisterCommand(name.c_str());
    }
    std::shared_ptr<host::Plugin> plugin;
    MObject object;
};

TEST_F(PluginCommandTest, FlagsValuesAndObjectsReachDoItThroughTheSyntax) {
    MFnPlugin fn(object);
    ASSERT_TRUE(fn.registerCommand("testEcho", &echoCommand::creator, &echoSyntax));
    EXPECT_TRUE(host::melCommandExists("testEcho"));
    EXPECT_EQ(plugin->commands, std::vector<std::string>{"testEcho"});

    MelValue result;
    ASSERT_TRUE(host::melExecute(
        "testEcho -count 3 -n \"first\" -name second -s 0.25 -v objA objB;", &result));
    EXPECT_EQ(doItCalls, 1);
    EXPECT_EQ(result, MelValue(std::vector<std::string>{"count=3", "name=first", "name=second",
                                                        "scale=0.25", "verbose", "objA", "objB"}));
    // The MArgList holds the call as written: flags with their '-', then values.
    ASSERT_EQ(lastArgs.length(), 11u);
    EXPECT_EQ(std::string(lastArgs.asString(0).asChar()), "-count");
    EXPECT_EQ(lastArgs.asInt(1), 3);
    EXPECT_EQ(lastArgs.flagIndex("s", "scale"), 6u);
    EXPECT_DOUBLE_EQ(lastArgs.asDouble(7), 0.25);
    MStatus status;
    lastArgs.asInt(3, &status); // "first"
    EXPECT_EQ(status, MS::kInvalidParameter);
    lastArgs.asString(11, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);

    // Function syntax: "-flag" strings of the syntax are flags there too; flags left out keep
    // their defaults.
    ASSERT_TRUE(host::melExecute("testEcho(\"-c\", 7)", &result));
    EXPECT_EQ(result, MelValue(std::vector<std::string>{"count=7", "scale=1", "quiet"}));
}

TEST_F(PluginCommandTest, BadArgumentsFailBeforeDoItWithAMessageNamingTheProblem) {
    ASSERT_TRUE(MFnPlugin(object).registerCommand("testEcho", &echoCommand::creator, &echoSyntax));
    struct Case {
        const char* call;
        const char* message;
    };
    const Case cases[] = {
        {"testEcho -bogus 1", "testEcho: Invalid flag '-bogus'."},
        {"testEcho -count", "testEcho: Flag '-count' needs 1 value."},
        {"testEcho -c -v", "testEcho: Flag '-c' needs 1 value."},
        {"testEcho -c many", "testEcho: Flag '-c' takes an integer, not 'many'."},
        {"testEcho -c 2.5", "testEcho: Flag '-c' takes an integer, not '2.5'."},
        {"testEcho -s wide", "testEcho: Flag '-s' takes a number, not 'wide'."},
        {"testEcho -c 1 -count 2", "testEcho: Flag '-count' can only be used once."},
    };
    for (const Case& c : cases) {
        MessageCapture capture;
        EXPECT_FALSE(host::melExecute(c.call)) << c.call;
        EXPECT_TRUE(capture.contains(MessageKind::kError, c.message)) << c.call;
        EXPECT_EQ(capture.count(MessageKind::kError), 1u) << c.call;
    }
    EXPECT_EQ(doItCalls, 0);

    // A failed command stops the script; the statement after it does not run.
    MessageCapture capture;
    EXPECT_FALSE(host::melExecute("testEcho -nope; testEcho -c 1;"));
    EXPECT_EQ(doItCalls, 0);
}

TEST_F(PluginCommandTest, WithoutASyntaxEveryArgumentReachesDoItAndFailureIsReported) {
    ASSERT_TRUE(MFnPlugin(object).registerCommand("testRaw", &rawCommand::creator));
    int count = 0;
    ASSERT_TRUE(MGlobal::executeCommand("testRaw -anything 1 -x \"y\" {1, 2, 3}", count));
    EXPECT_EQ(count, 7); // arrays arrive as their elements
    EXPECT_EQ(lastArgs.flagIndex("-x"), 2u);
    EXPECT_EQ(lastArgs.flagIndex("missing"), MArgList::kInvalidArgIndex);
    unsigned int at = 4;
    MStringArray rest = lastArgs.asStringArray(at);
    ASSERT_EQ(rest.length(), 3u);
    EXPECT_EQ(std::string(rest[2].asChar()), "3");
    EXPECT_EQ(at, 7u);

    MessageCapture capture;
    EXPECT_FALSE(host::melExecute("testRaw -fail"));
    EXPECT_TRUE(capture.contains(MessageKind::kError, "rawCommand: asked to fail"));
    // The command explained itself: no second, generic error.
    EXPECT_EQ(capture.count(MessageKind::kError), 1u);
}

TEST_F(PluginCommandTest, RegistrationIsRefusedForTakenNamesAndUndoneByDeregistration) {
    MFnPlugin fn(object);
    {
        MessageCapture capture;
        EXPECT_FALSE(fn.registerCommand("print", &rawCommand::creator));
        EXPECT_TRUE(capture.contains(MessageKind::kError, "'print'"));
        EXPECT_FALSE(fn.registerCommand("", &rawCommand::creator));
        EXPECT_FALSE(fn.registerCommand("testNoCreator", nullptr));
    }
    ASSERT_TRUE(fn.registerCommand("testRaw", &rawCommand::creator));
    {
        MessageCapture capture;
        EXPECT_FALSE(fn.registerCommand("testRaw", &rawCommand::creator));
    }
    // Another plug-in cannot take it away.
    auto other = std::make_shared<host::Plugin>();
    MObject otherObject(other);
    {
        MessageCapture capture;
        EXPECT_FALSE(MFnPlugin(otherObject).deregisterCommand("testRaw"));
        EXPECT_TRUE(capture.contains(MessageKind::kError, "did not register it"));
    }
    EXPECT_TRUE(host::melCommandExists("testRaw"));
    ASSERT_TRUE(fn.deregisterCommand("testRaw"));
    EXPECT_FALSE(host::melCommandExists("testRaw"));
    EXPECT_TRUE(plugin->commands.empty());
    MessageCapture capture;
    EXPECT_FALSE(host::melExecute("testRaw"));
}

TEST(SyntaxTest, FlagNamesAreCheckedWhenAdded) {
    MSyntax syntax;
    EXPECT_TRUE(syntax.addFlag("-f", "-file", MSyntax::kString));
    EXPECT_EQ(syntax.addFlag("-f", "-other"), MS::kInvalidParameter);     // short name taken
    EXPECT_EQ(syntax.addFlag("-o", "-file"), MS::kInvalidParameter);      // long name taken
    EXPECT_EQ(syntax.addFlag("-long", "-longer"), MS::kInvalidParameter); // short too long
    EXPECT_EQ(syntax.addFlag("-q", "-quiet"), MS::kInvalidParameter);     // reserved for query
    EXPECT_EQ(syntax.makeFlagMultiUse("-nothing"), MS::kInvalidParameter);
}

TEST(SyntaxTest, QueryModeTakesFlagsWithoutValues) {
    MSyntax syntax;
    syntax.addFlag("-w", "-width", MSyntax::kDouble);
    syntax.enableQuery();
    MArgList args;
    args.addArg(MString("-q")).addArg(MString("-width"));
    MStatus status;
    MArgDatabase db(syntax, args, &status);
    ASSERT_TRUE(status);
    EXPECT_TRUE(db.isQuery());
    EXPECT_TRUE(db.isFlagSet("w"));
    double width = 0.0;
    EXPECT_EQ(db.getFlagArgument("w", 0, width), MS::kInvalidParameter);

    // Without query support the same arguments do not fit.
    MSyntax plain;
    plain.addFlag("-w", "-width", MSyntax::kDouble);
    MArgDatabase refused(plain, args, &status);
    EXPECT_EQ(status, MS::kFailure);
    EXPECT_FALSE(refused.isFlagSet("w"));
}

TEST(DependencyNodeIteratorTest, VisitsTheSceneFilteredByFunctionSet) {
    host::Scene& scene = host::Scene::current();
    scene.fileNew();
    ASSERT_TRUE(scene.createNode("transform", "walkA"));
    ASSERT_TRUE(scene.createNode("nurbsSurface", "walkAShape", "walkA"));
    ASSERT_TRUE(scene.createNode("transform", "walkB"));

    std::vector<std::string> all, surfaces;
    for (MItDependencyNodes it; !it.isDone(); it.next())
        all.push_back(MFnDependencyNode(it.thisNode()).name().asChar());
    for (MItDependencyNodes it(MFn::kNurbsSurface); !it.isDone(); it.next())
        surfaces.push_back(MFnDependencyNode(it.item()).name().asChar());
    EXPECT_EQ(surfaces, std::vector<std::string>{"walkAShape"});
    for (const char* name : {"walkA", "walkAShape", "walkB"})
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;

    // A node deleted during the walk is skipped.
    MItDependencyNodes it(MFn::kTransform);
    std::vector<std::string> transforms;
    ASSERT_TRUE(scene.deleteNode("walkB"));
    for (; !it.isDone(); it.next())
        transforms.push_back(MFnDependencyNode(it.thisNode()).name().asChar());
    EXPECT_EQ(std::find(transforms.begin(), transforms.end(), "walkB"), transforms.end());
    EXPECT_NE(std::find(transforms.begin(), transforms.end(), "walkA"), transforms.end());
    EXPECT_TRUE(it.thisNode().isNull());
    scene.fileNew();
}

} // namespace
