#include "scene/mayaAsciiReader.h"

#include "foundation/filesBeingRead.h"
#include "foundation/regularFile.h"

#include "graph/graph.h"
#include "scene/geometryHistory.h"
#include "scene/rawValues.h"
#include "scene/references.h"
#include "scene/sceneCommands.h"
#include "scene/sceneTrust.h"

#include "anim/sceneTime.h"

#include <host/mel.h>
#include <host/messages.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace host {

extern bool readingFile;

namespace {

// Errors a file reports one by one; past this many they are only counted.
constexpr int kMaxReportedErrors = 100;
// Arguments the lexer hands over at once: a mesh of a million vertices is read a part at a
// time, never as one list of millions of words.
constexpr size_t kArgumentsPerPart = 1 << 16;

bool isSceneCommand(const std::string& name) {
    return findSceneCommand(name) != nullptr;
}

// How a skipped statement is named in its warning.
std::string statementName(const SceneCommand& command) {
    if (command.name == "global" && !command.args.empty() && command.args[0].text == "proc")
        return "global proc";
    return command.name;
}

// The names some createNode -p or parent command uses as a parent, so that nodes of types the
// host does not know can be made DAG nodes when they are created.
void collectParentNames(const std::string& text, ReadState& state) {
    MayaAsciiLexer lexer(text, &isSceneCommand);
    lexer.setArgumentLimit(kArgumentsPerPart);
    SceneCommand command;
    int line = 0;
    std::string error;
    MayaAsciiLexer::Result result;
    while ((result = lexer.next(command, line, error)) != MayaAsciiLexer::Result::kEnd) {
        if (result != MayaAsciiLexer::Result::kCommand)
            continue;
        const std::vector<SceneToken>& args = command.args;
        if (command.name == "createNode") {
            for (size_t i = 0; i + 1 < args.size(); ++i)
                if (!args[i].quoted && (args[i].text == "-p" || args[i].text == "-parent"))
                    state.parentNames.insert(state.inNamespace(
                        args[i + 1].text.substr(args[i + 1].text.rfind('|') + 1)));
        } else if (command.name == "parent" && !args.empty() && !args.back().isFlag()) {
            bool world = false;
            for (const SceneToken& token : args)
                world = world || (!token.quoted && (token.text == "-w" || token.text == "-world"));
            if (!world)
                state.parentNames.insert(
                    state.inNamespace(args.back().text.substr(args.back().text.rfind('|') + 1)));
        }
    }
}

class FileReader {
  public:
    FileReader(const std::string& path, bool importing) {
        state_.path = path;
        state_.importing = importing;
        state_.units = importing ? SceneState::instance().units : SceneUnits();
    }

    // A referenced file, read into its namespace like an import.
    FileReader(const std::string& path, const std::string& nameSpace, int reference,
               const ReadState& referencing)
        : FileReader(path, true) {
        state_.nameSpace = nameSpace;
        state_.reference = reference;
        state_.referencing = &referencing;
    }

    int read(const std::string& text) {
        Graph& graph = Graph::instance();
        const bool wasHolding = graph.holdsOrphans();
        graph.holdOrphans(true);
        collectParentNames(text, state_);
        MayaAsciiLexer lexer(text, &isSceneCommand);
        lexer.setArgumentLimit(kArgumentsPerPart);
        SceneCommand command;
        int line = 0;
        std::string error;
        while (true) {
            MayaAsciiLexer::Result result = lexer.next(command, line, error);
            if (result == MayaAsciiLexer::Result::kEnd)
                break;
            if (result == MayaAsciiLexer::Result::kError) {
                ++state_.errors;
                report(MessageKind::kError, line, error + ".");
                if (!state_.referenced())
                    SceneState::instance().unkeptText.push_back("line " + std::to_string(line) +
                                                                " of '" + state_.path + "' (" +
                                                                error + ")");
                continue;
            }
            const bool applied = result == MayaAsciiLexer::Result::kPart
                                     ? runInParts(lexer, command, text)
                                     : run(command, text);
            if (!applied)
                keep(command, text);
            if (command.name == "connectAttr" || command.name == "disconnectAttr" ||
                command.name == "relationship")
                pastNodes_ = true;
            reportOrphans(command.line);
        }
        graph.holdOrphans(wasHolding);
        for (const std::string& warning : skipped_.warnings())
            report(MessageKind::kWarning, 0, warning);
        loadReferences();
        if (!state_.referenced() && !SceneState::instance().loadedReferences.empty())
            takeReferenceBaseline();
        finish();
        return state_.errors;
    }

  private:
    void report(MessageKind kind, int line, const std::string& text) {
        if (kind == MessageKind::kError && state_.errors > kMaxReportedErrors) {
            if (!silenced_)
                displayMessage(kind, state_.path + ": more than " +
                                         std::to_string(kMaxReportedErrors) +
                                         " errors; the rest are not shown.");
            silenced_ = true;
            return;
        }
        displayMessage(kind, state_.path + (line > 0 ? " line " + std::to_string(line) : "") +
                                 ": " + text);
    }

    // The file's references, once its own commands are read: each file found is read into its
    // namespace (as safely as this one), its nodes marked as the reference's, then the edits
    // this file stored for it are applied.
    void loadReferences() {
        SceneState& scene = SceneState::instance();
        for (const ReadState::PendingReference& pending : state_.pendingReferences) {
            const std::string nameSpace = state_.nameSpace.empty()
                                              ? pending.nameSpace
                                              : state_.nameSpace + ":" + pending.nameSpace;
            const std::string nodeName = state_.inNamespace(pending.referenceNode);
            const int index = static_cast<int>(scene.loadedReferences.size());
            scene.loadedReferences.push_back(
                LoadedReference{nameSpace, nodeName, pending.path, "", state_.reference});
            if (unloaded(pending.referenceNode, nodeName))
                continue;
            auto fail = [&](MessageKind kind, const std::string& why) {
                if (kind == MessageKind::kError)
                    ++state_.errors;
                report(kind, pending.line,
                       "the reference '" + nodeName + "' is not loaded: " + why +
                           "; its nodes are missing, and the reference is saved back as it is.");
            };
            std::vector<std::string> tried;
            const std::string file = findReferencedFile(pending.path, nearFolders(), tried);
            if (file.empty()) {
                std::string list;
                for (const std::string& path : tried)
                    list += (list.empty() ? "'" : ", '") + path + "'";
                fail(MessageKind::kWarning,
                     "its file '" + pending.path + "' was not found (looked for " + list + ")");
                continue;
            }
            FileBeingRead entered(file);
            std::string text, error;
            if (entered.refused() || !readSceneText(file, text, error)) {
                fail(MessageKind::kError, entered.refused() ? entered.error() : error);
                continue;
            }
            scene.loadedReferences[static_cast<size_t>(index)].file = file;
            const std::vector<Node*> before = Graph::instance().nodes();
            const std::set<const Node*> existing(before.begin(), before.end());
            state_.errors += FileReader(file, nameSpace, index, state_).read(text);
            for (Node* node : Graph::instance().nodes()) {
                if (existing.count(node))
                    continue;
                NodeExtras* extras = scene.extras(node, true);
                if (extras->reference < 0 && !extras->shared && !extras->implicit)
                    extras->reference = index;
            }
            CommandRun lookup("file", &state_, nullptr);
            if (Node* referenceNode = findNodeNamed(lookup, pending.referenceNode))
                applyReferenceEdits(state_, *referenceNode, [&](const std::string& text) {
                    report(MessageKind::kWarning, pending.line, text);
                });
        }
    }

    // Whether a reference was unloaded when the scene was saved: the outermost file's
    // `file -rdi ... -dr 1` line for it says so, else this file's own.
    bool unloaded(const std::string& fileName, const std::string& sceneName) const {
        const ReadState* top = &state_;
        while (top->referencing)
            top = top->referencing;
        auto found = top->referenceDepthInfo.find(sceneName);
        if (found != top->referenceDepthInfo.end())
            return found->second;
        found = state_.referenceDepthInfo.find(fileName);
        return found != state_.referenceDepthInfo.end() && found->second;
    }

    // The folders of this file and of the scene, where relative references are looked for.
    std::vector<std::string> nearFolders() const {
        auto folderOf = [](const std::string& path) {
            const size_t slash = path.rfind('/');
            return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
        };
        std::vector<std::string> folders{folderOf(state_.path)};
        const ReadState* top = &state_;
        while (top->referencing)
            top = top->referencing;
        if (folderOf(top->path) != folders.front())
            folders.push_back(folderOf(top->path));
        return folders;
    }

    // Keeps a command the host did not apply, to be saved back where it stood: among the
    // connections once they have begun, else in the block of the node it follows. A referenced
    // file's are its own: the scene saves the reference.
    void keep(const SceneCommand& command, const std::string& text) {
        if (state_.referenced())
            return;
        KeptCommand kept;
        kept.text = text.substr(command.start, command.end - command.start);
        kept.where = state_.path + " line " + std::to_string(command.line);
        kept.beforeValues = command.name == "addAttr";
        std::shared_ptr<Node> node;
        for (const std::weak_ptr<Node>& target : state_.targets)
            if (auto alive = target.lock(); alive && alive->alive())
                node = alive;
        if (pastNodes_ || command.name == "connectAttr" || command.name == "disconnectAttr") {
            kept.place = KeptCommand::Place::kTail;
        } else if (node) {
            kept.place = KeptCommand::Place::kNode;
            kept.node = node;
        }
        SceneState::instance().keptCommands.push_back(std::move(kept));
    }

    // A command too long to hold at once, its first part in `command`. setAttr takes its
    // values part by part; every other command gets them all. The lexer is past the command
    // afterwards, whatever the command did, and `command` spans all of its text. True when the
    // command was applied.
    bool runInParts(MayaAsciiLexer& lexer, SceneCommand& command, const std::string& text) {
        SceneCommand rest = command;
        rest.args.clear();
        bool last = false, broken = false;
        int errorLine = 0;
        std::string error;
        auto more = [&](std::vector<SceneToken>& part) {
            part.clear();
            if (last)
                return false;
            const MayaAsciiLexer::Result result = lexer.next(rest, errorLine, error);
            last = result != MayaAsciiLexer::Result::kPart;
            if (result == MayaAsciiLexer::Result::kError) {
                ++state_.errors;
                report(MessageKind::kError, errorLine, error + ".");
                if (!state_.referenced())
                    SceneState::instance().unkeptText.push_back(
                        "the " + command.name + " command at line " + std::to_string(command.line) +
                        " of '" + state_.path + "' (" + error + ")");
                broken = true;
                return false;
            }
            part = std::move(rest.args);
            return true;
        };
        std::vector<SceneToken> part;
        bool applied = false;
        if (!sceneMayRun(command.name)) {
            skipped_.add(statementName(command), command.line);
        } else if (command.name == "setAttr") {
            applied = run(command, text, more);
        } else {
            while (more(part))
                for (SceneToken& token : part)
                    command.args.push_back(std::move(token));
            command.end = rest.end;
            applied = !broken && run(command, text);
        }
        while (more(part))
            continue;
        command.end = std::max(command.end, rest.end);
        return applied || broken; // a broken command has no end to keep it by
    }

    // Runs one command; true when the host applied it.
    bool run(const SceneCommand& command, const std::string& text,
             const CommandRun::MoreValues& more = nullptr) {
        if (!sceneMayRun(command.name)) {
            skipped_.add(statementName(command), command.line);
            return false;
        }
        // The block of a shared node the scene has already, in a referenced file: not the
        // scene's to take.
        if (state_.skipBlock && (command.name == "setAttr" || command.name == "addAttr" ||
                                 command.name == "lockNode" || command.name == "rename"))
            return true;
        const SceneCommandSyntax* syntax = findSceneCommand(command.name);
        if (!syntax) {
            // A trusted scene runs the rest as MEL, as Maya would: commands other layers or
            // plug-ins register, procedures, MEL statements.
            if (melCommandExists(command.name) || melProcedureExists(command.name) ||
                isMelBlockStatement(command.name)) {
                if (!melExecute(text.substr(command.start, command.end - command.start), nullptr,
                                state_.path + " line " + std::to_string(command.line))) {
                    ++state_.errors;
                    return false;
                }
                return true;
            }
            ++state_.errors;
            report(MessageKind::kError, command.line,
                   "unknown command '" + command.name + "'; it is skipped.");
            return false;
        }
        int line = command.line;
        CommandRun run(
            command.name, &state_,
            [this, line](MessageKind kind, const std::string& text) { report(kind, line, text); });
        run.line = line;
        if (more)
            run.moreValues = [&run, &more, this](std::vector<SceneToken>& part) {
                const int errors = state_.errors;
                if (more(part))
                    return true;
                if (state_.errors != errors)
                    run.markFailed(); // the file broke off inside the command, as reported
                return false;
            };
        std::string error;
        if (!parseSceneArgs(*syntax, command.args, false, run.args, error)) {
            run.error(error + ".");
            return false;
        }
        return runSceneCommand(*syntax, run) && !run.failed();
    }

    // The playback range from the scene configuration script node's text, read, never run.
    void readPlaybackRange() {
        Node* node = nullptr;
        auto found = state_.byName.find("sceneConfigurationScriptNode");
        if (found != state_.byName.end() && !found->second.empty())
            node = found->second.back().lock().get();
        if (!node || !node->alive())
            return;
        std::string text;
        if (!scriptText(*node, text))
            return;
        PlaybackRange range = SceneTime::instance().range;
        std::string error;
        if (!readPlaybackOptions(text, range, error)) {
            report(MessageKind::kWarning, 0,
                   "the playback range in '" + node->name() + "' cannot be read (" + error +
                       "); the scene keeps the default range.");
            return;
        }
        SceneTime::instance().range = range;
    }

    // The "before" text of a script node, kept raw or held by a plug.
    static bool scriptText(Node& node, std::string& text) {
        for (const char* name : {"b", "before"}) {
            auto raw = node.rawValues.find(name);
            if (raw != node.rawValues.end()) {
                RawSetting setting = decodeRawSetting(raw->second);
                if (setting.values.size() != 1)
                    return false;
                text = setting.values[0].text;
                return true;
            }
            PlugRef ref;
            if (resolvePlug(&node, name, ref) && ref.attribute->kind == AttributeDef::Kind::Typed)
                if (Slot* slot = Graph::instance().pull(ref)) {
                    text = slot->text.asChar();
                    return true;
                }
        }
        return false;
    }

    // Nodes that may not exist without an outgoing connection and lost their last one: Maya
    // deletes them, but a file deletes nothing it made by rewiring, so they stay, and say so.
    void reportOrphans(int line) {
        for (const std::weak_ptr<Node>& weak : Graph::instance().takeOrphans()) {
            auto node = weak.lock();
            if (node && node->alive() && !node->existWithoutOut && node->outgoing.empty())
                report(MessageKind::kWarning, line,
                       "'" + node->name() + "' (" + node->typeName() +
                           ") has no outgoing connection left; it is kept, though Maya deletes "
                           "such a node.");
        }
    }

    // What only the whole file shows: history the host does not evaluate, compounds left short
    // of children.
    void finish() {
        if (!state_.importing)
            readPlaybackRange();
        std::vector<std::string> kept;
        std::set<const Node*> checked;
        for (const ReadState::History& history : state_.history) {
            auto shape = history.shape.lock();
            if (!shape || !shape->alive() || !checked.insert(shape.get()).second)
                continue;
            Node* source = firstUnevaluatedHistory(*shape);
            if (!source)
                continue;
            if (shapeStoresGeometry(state_, shape.get())) {
                kept.push_back("'" + shape->name() + "' (history '" + source->name() + "')");
                continue;
            }
            report(MessageKind::kWarning, history.line,
                   "'" + shape->name() +
                       "' gets its geometry from the construction history node '" + source->name() +
                       "' (" + source->typeName() +
                       "), which the host does not evaluate, and the file stores no geometry of "
                       "its own for it, so the shape is empty. Delete the history of '" +
                       shape->name() +
                       "' in Maya (Edit > Delete by Type > History) before saving "
                       "the scene.");
        }
        if (!kept.empty()) {
            std::string list;
            for (size_t i = 0; i < kept.size() && i < 5; ++i)
                list += (i ? ", " : "") + kept[i];
            if (kept.size() > 5)
                list += " and " + std::to_string(kept.size() - 5) + " more";
            report(MessageKind::kWarning, 0,
                   "construction history is not re-evaluated: " + list +
                       (kept.size() == 1 ? " keeps" : " keep") +
                       " the geometry stored in the file.");
        }
        std::set<const Node*> seen;
        for (const auto& entry : state_.byName)
            for (const auto& weak : entry.second) {
                auto node = weak.lock();
                if (!node || !node->alive() || !seen.insert(node.get()).second)
                    continue;
                for (const AttributeDef* top : node->topAttributes())
                    checkChildren(node.get(), top);
            }
    }

    void checkChildren(const Node* node, const AttributeDef* attribute) {
        if (!attribute->dynamic || !attribute->isCompound())
            return;
        const DynamicAttributeInfo* info = SceneState::instance().attributeInfo(attribute, false);
        if (info && info->declaredChildren >= 0 &&
            static_cast<size_t>(info->declaredChildren) != attribute->children.size())
            report(MessageKind::kWarning, 0,
                   "the compound attribute '" + node->name() + "." + attribute->name + "' has " +
                       std::to_string(attribute->children.size()) + " of the " +
                       std::to_string(info->declaredChildren) + " children its addAttr declared.");
        for (const auto& child : attribute->children)
            checkChildren(node, child.get());
    }

    ReadState state_;
    SkippedCommands skipped_;
    bool silenced_ = false;
    bool pastNodes_ = false; // the file's connections have begun
};

} // namespace

bool readSceneText(const std::string& path, std::string& text, std::string& error) {
    std::string why;
    if (!readRegularFile(path, text, &why)) {
        error = "Cannot open scene file '" + path + "': " + why + ".";
        return false;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    if (text.compare(0, 4, "FOR4") == 0 || text.compare(0, 4, "FOR8") == 0 ||
        text.find('\0') < std::min<size_t>(text.size(), 4096)) {
        error = "'" + path +
                "' is not a Maya ASCII file: it holds binary data (a Maya binary "
                "scene can only be read as Maya ASCII here).";
        return false;
    }
    return true;
}

int readScene(const std::string& path, const std::string& text, bool importing) {
    if (text.compare(0, 12, "//Maya ASCII") != 0)
        displayMessage(MessageKind::kWarning,
                       path + " line 1: expected the '//Maya ASCII' header; reading the file "
                              "as a scene anyway.");
    bool wasReading = readingFile;
    readingFile = true;
    int errors = FileReader(path, importing).read(text);
    readingFile = wasReading;
    SceneState::instance().selection.clear();
    return errors;
}

} // namespace host
