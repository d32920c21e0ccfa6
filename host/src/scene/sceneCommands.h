#pragma once
// The commands scene files are made of (createNode, setAttr, addAttr, connectAttr, ...) and the
// queries the plug-in's MEL scripts use (ls, listRelatives, nodeType, listConnections, getAttr).
// One handler each: the Maya ASCII reader runs them directly, MEL through registerMelCommand.
//
// A handler reports through its CommandRun: errors and warnings come out prefixed with the
// command, and with the file and line when a file is being read ("scene.ma line 12: setAttr:
// ..."). Handlers never throw; a failed command changes nothing it has not reported.

#include "scene/mayaAsciiLexer.h"
#include "scene/sceneState.h"

#include <host/mel.h>
#include <host/messages.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace host {

class Node;

struct FlagSyntax {
    std::string shortName;
    std::string longName;
    int values = 0;
};

struct ParsedArgs {
    struct Use {
        const FlagSyntax* flag = nullptr;
        std::vector<SceneToken> values;
    };
    std::vector<Use> flags; // in the order written
    std::vector<SceneToken> positional;
    bool query = false;

    bool has(const std::string& longName) const;
    // The k-th value of the last use of a flag; null when absent.
    const SceneToken* value(const std::string& longName, size_t k = 0) const;
    std::vector<const Use*> uses(const std::string& longName) const;
};

// The state of one file being read.
struct ReadState {
    std::string path;
    bool importing = false;
    SceneUnits units; // the file's own
    // Nodes by the name the file gave them (the host may have had to rename some).
    std::unordered_map<std::string, std::vector<std::weak_ptr<Node>>> byName;
    std::unordered_map<const Node*, std::string> fileName;
    // Names that some createNode -p or parent command uses as a parent.
    std::set<std::string> parentNames;
    // The nodes relative plugs (".t") apply to: the last created or selected.
    std::vector<std::weak_ptr<Node>> targets;
    // Top-level attribute names (as written) each node had set by the file.
    std::unordered_map<const Node*, std::set<std::string>> written;
    // Shapes whose geometry input the file connects, and the line; their history is checked
    // once the whole file is read.
    struct History {
        std::weak_ptr<Node> shape;
        int line = 0;
    };
    std::vector<History> history;
    int errors = 0;

    // A referenced file is read into a namespace ("rig", "rig:geo" for one it references in
    // turn): the names it gives and uses are in it, save those in the root (":time1").
    // Its scene settings (units, requirements, file information) and what the host does not
    // apply stay its own: the scene saves the reference, not the file's contents.
    std::string nameSpace;
    const ReadState* referencing = nullptr; // the file that references this one
    int reference = -1;                     // this file's entry in SceneState::loadedReferences
    bool referenced() const { return referencing != nullptr; }
    // A shared node the scene has already: a referenced file's block for it is not applied.
    bool skipBlock = false;
    // `file -rdi` lines: reference node (as named in this file) -> unloaded when saved (-dr 1).
    std::map<std::string, bool> referenceDepthInfo;
    // `file -r` lines, loaded once the file is read.
    struct PendingReference {
        std::string nameSpace, referenceNode, path;
        int line = 0;
    };
    std::vector<PendingReference> pendingReferences;

    void remember(Node* node, const std::string& name);
    // A name as this file writes it, in the file's namespace ("Main" -> "rig:Main", "|a|b" ->
    // "|rig:a|rig:b"; ":time1" stays in the root).
    std::string inNamespace(const std::string& name) const;
};

// One run of a command, from a file or from MEL.
class CommandRun {
  public:
    using Sink = std::function<void(MessageKind, const std::string&)>;
    CommandRun(std::string command, ReadState* reading, Sink sink);

    const std::string& command() const { return command_; }
    ParsedArgs args;
    // Set when a file's command is too long to hold at once (setAttr only): args holds the
    // first part, and each call gives the next part of the values, false after the last, or
    // when the file breaks off inside the command (reported, and the run then failed()).
    using MoreValues = std::function<bool(std::vector<SceneToken>& part)>;
    MoreValues moreValues;
    ReadState* reading; // null when MEL runs the command
    int line = 0;       // of the command in the file being read
    MelValue result;

    void error(const std::string& what);
    void warning(const std::string& what);
    bool failed() const { return failed_; }
    // Fails the command over an error reported already.
    void markFailed() { failed_ = true; }

  private:
    std::string command_;
    Sink sink_;
    bool failed_ = false;
};

using SceneCommandHandler = bool (*)(CommandRun& run);

struct SceneCommandSyntax {
    std::string name;
    std::vector<FlagSyntax> flags;
    SceneCommandHandler handler = nullptr;
    bool queryable = false;
};

const std::vector<SceneCommandSyntax>& sceneCommandTable();
const SceneCommandSyntax* findSceneCommand(const std::string& name);
// Splits arguments by the command's flags; false with `error` set on an unknown flag or a flag
// short of values.
bool parseSceneArgs(const SceneCommandSyntax& syntax, const std::vector<SceneToken>& tokens,
                    bool query, ParsedArgs& out, std::string& error);
// Runs a command whose arguments are parsed into run.args.
bool runSceneCommand(const SceneCommandSyntax& syntax, CommandRun& run);

// ---- Helpers shared by the handlers -------------------------------------------------------

// The nodes a name names: "name", ":name" (the root namespace), "|a|b" or "a|b" (a DAG path).
// While a file is read the names it gave count first.
std::vector<Node*> nodesNamed(const CommandRun& run, const std::string& name);
// The one node a name names; null when none or several do.
Node* findNodeNamed(const CommandRun& run, const std::string& name);
// Why findNodeNamed found nothing: Maya's message when several nodes match, else `missing`.
std::string unresolvedName(const CommandRun& run, const std::string& name,
                           const std::string& missing);
// As findNodeNamed; while a file is read, a missing ":name" (a default node every Maya scene
// has, such as :time1) is created as a generic shared node.
Node* findOrCreateDefaultNode(CommandRun& run, const std::string& name);
// The nodes a relative plug (".attr") applies to.
std::vector<Node*> relativeTargets(CommandRun& run);
// The units values are read and written in: the file's while reading, else the scene's.
const SceneUnits& activeUnits(const CommandRun& run);

// The token as it would be written back: strings quoted, words as they are.
std::string tokenText(const SceneToken& token);
std::string joinTokens(const std::vector<SceneToken>& tokens);
// The arguments of a command as written, after its name.
std::string commandText(const std::string& name, const ParsedArgs& args);
bool tokenBool(const SceneToken& token, bool& value);

// The full DAG path of a node ("|group|shape"), or its name when it is not in the DAG.
std::string longNameOf(const Node* node);
// A DAG node that stands for a transform (a transform, a joint, a constraint, or any DAG node
// with children) rather than a shape.
bool isTransformLike(const Node* node);
bool isIntermediate(Node* node);
// True when the file gave the shape geometry of its own (".vt"/".fc", ".cc").
bool shapeStoresGeometry(const ReadState& reading, const Node* shape);
// Creates a node of a type, known or not (a generic node then); reports and returns null on
// failure. forceDag makes a generic node a DAG node.
Node* createNodeOfType(CommandRun& run, const std::string& type, const std::string& name,
                       Node* parent, bool forceDag);

// Handlers.
bool runRequires(CommandRun& run);
bool runCurrentUnit(CommandRun& run);
bool runFileInfo(CommandRun& run);
bool runWorkspace(CommandRun& run);
bool runRelationship(CommandRun& run);
bool runDataStructure(CommandRun& run);
bool runFile(CommandRun& run);
bool runCreateNode(CommandRun& run);
bool runRename(CommandRun& run);
bool runParent(CommandRun& run);
bool runSelect(CommandRun& run);
bool runLockNode(CommandRun& run);
bool runDelete(CommandRun& run);
bool runSetAttr(CommandRun& run);
bool runAddAttr(CommandRun& run);
bool runGetAttr(CommandRun& run);
bool runConnectAttr(CommandRun& run);
bool runDisconnectAttr(CommandRun& run);
bool runListConnections(CommandRun& run);
bool runLs(CommandRun& run);
bool runListRelatives(CommandRun& run);
bool runNodeType(CommandRun& run);
bool runCurrentTime(CommandRun& run);
bool runSets(CommandRun& run);

} // namespace host
