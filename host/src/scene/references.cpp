#include "scene/references.h"

#include "graph/graph.h"
#include "scene/mayaAsciiWriter.h"
#include "scene/rawValues.h"
#include "scene/sceneCommands.h"
#include "scene/valueText.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <sys/stat.h>

namespace host {

namespace {

std::vector<std::string>& addedFolders() {
    static std::vector<std::string> folders;
    return folders;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> searchFolders() {
    std::vector<std::string> folders = addedFolders();
    if (const char* variable = std::getenv("QUILLO_REFERENCE_PATH")) {
        std::string list = variable;
        size_t start = 0;
        while (start <= list.size()) {
            const size_t colon = list.find(':', start);
            const std::string folder = list.substr(start, colon - start);
            if (!folder.empty())
                folders.push_back(folder);
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    return folders;
}

SceneToken word(const std::string& text, bool quoted = true) {
    SceneToken token;
    token.text = text;
    token.quoted = quoted;
    return token;
}

// The index k of a placeholder plug "RN.placeHolderList[k]" or "RN.phl[k]"; -1 for another.
int placeholderIndex(const std::string& plug, std::string& node) {
    const size_t dot = plug.find('.');
    if (dot == std::string::npos)
        return -1;
    node = plug.substr(0, dot);
    const std::string path = plug.substr(dot + 1);
    for (const char* name : {"placeHolderList[", "phl["})
        if (path.compare(0, std::string(name).size(), name) == 0 && path.back() == ']') {
            int index = -1;
            const size_t open = std::string(name).size();
            if (parseIntText(path.substr(open, path.size() - open - 1), index))
                return index;
        }
    return -1;
}

bool isPlaceholderPath(const std::string& path, int index) {
    const std::string number = "[" + std::to_string(index) + "]";
    return path == "phl" + number || path == "placeHolderList" + number;
}

std::string plugText(const PlugRef& plug) {
    return Graph::plugName(plug, false);
}

// The reference whose file a node's reference is nested in, up to the scene's own.
int topReference(int reference) {
    const std::vector<LoadedReference>& loaded = SceneState::instance().loadedReferences;
    while (reference >= 0 && loaded[static_cast<size_t>(reference)].parent >= 0)
        reference = loaded[static_cast<size_t>(reference)].parent;
    return reference;
}

// Runs the scene commands of reference edits as the file being read.
class EditRunner {
  public:
    EditRunner(ReadState& reading, Node& referenceNode, const ReferenceWarning& warn)
        : reading_(reading), referenceNode_(referenceNode), warn_(warn) {}

    void apply(const ReferenceEdit& edit) {
        const std::vector<SceneToken>& words = edit.words;
        auto text = [&](size_t k) { return k < words.size() ? words[k].text : std::string(); };
        switch (edit.kind) {
        case 0: { // parent: child, parent, flags
            std::vector<SceneToken> args = lexArguments(text(2));
            args.push_back(word(nodeNamed(text(0))));
            if (!text(1).empty())
                args.push_back(word(nodeNamed(text(1))));
            run(edit, "parent", args);
            return;
        }
        case 1: { // addAttr: node, long name, short name, flags
            std::vector<SceneToken> args = lexArguments(text(3));
            for (const SceneToken& token : {word("-ln", false), word(text(1)), word("-sn", false),
                                            word(text(2)), word(nodeNamed(text(0)))})
                args.push_back(token);
            run(edit, "addAttr", args);
            return;
        }
        case 2: { // setAttr: node, attribute, flags and values
            std::vector<SceneToken> args{word(nodeNamed(text(0)) + "." + text(1))};
            for (const SceneToken& token : lexArguments(text(2)))
                args.push_back(token);
            run(edit, "setAttr", args);
            return;
        }
        case 3: // disconnectAttr: source, destination
            if (words.size() >= 2)
                run(edit, "disconnectAttr",
                    {word(plugNamed(text(words.size() - 2))),
                     word(plugNamed(text(words.size() - 1)))});
            return;
        case 4: // deleteAttr: node, attribute
            deleteAttribute(edit, nodeNamed(text(0)), text(1));
            return;
        case 5:
            connect(edit);
            return;
        case 8:
        case 9:
            run(edit, "setAttr",
                {word("-l", false), word(edit.kind == 8 ? "on" : "off", false),
                 word(nodeNamed(text(0)) + "." + text(1))});
            return;
        default:
            if (unapplied_.insert(edit.kind).second)
                warn_("reference edits of kind " + std::to_string(edit.kind) + " in '" +
                      referenceNode_.name() +
                      "' are not applied; they are kept and saved back as they are.");
        }
    }

  private:
    std::string editText(const ReferenceEdit& edit) const {
        std::string text = std::to_string(edit.kind);
        for (const SceneToken& token : edit.words)
            text += " " + tokenText(token);
        return text;
    }

    // A node an edit names by a path that no longer leads to it (its parents in the file that
    // made the edit were not as they are now): found by its own name, when that is one node's.
    std::string nodeNamed(const std::string& name) {
        CommandRun lookup("", &reading_, nullptr);
        if (name.empty() || findNodeNamed(lookup, name))
            return name;
        const std::string leaf = name.substr(name.rfind('|') + 1);
        Node* node = leaf != name ? findNodeNamed(lookup, leaf) : nullptr;
        return node ? ":" + node->name() : name;
    }

    std::string plugNamed(const std::string& plug) {
        const size_t dot = plug.find('.');
        return dot == std::string::npos ? nodeNamed(plug)
                                        : nodeNamed(plug.substr(0, dot)) + plug.substr(dot);
    }

    bool run(const ReferenceEdit& edit, const std::string& name, std::vector<SceneToken> args) {
        const SceneCommandSyntax* syntax = findSceneCommand(name);
        std::string failure;
        CommandRun run(name, &reading_, [&](MessageKind kind, const std::string& text) {
            if (kind == MessageKind::kError)
                failure = text;
            else
                warn_("reference edit '" + editText(edit) + "' of '" + referenceNode_.name() +
                      "': " + text);
        });
        const int errors = reading_.errors;
        const std::vector<std::weak_ptr<Node>> targets = reading_.targets;
        std::string error;
        bool done = syntax && parseSceneArgs(*syntax, args, false, run.args, error);
        if (!done)
            failure = name + ": " + error + ".";
        done = done && runSceneCommand(*syntax, run) && !run.failed();
        // A failed edit is Maya's warning, not an error of the file.
        reading_.errors = errors;
        reading_.targets = targets;
        if (!done)
            warn_("reference edit '" + editText(edit) + "' of '" + referenceNode_.name() +
                  "' is not applied: " + failure);
        return done;
    }

    // Removes a dynamic attribute the referenced file added, with its connections first: a
    // connection must not outlive the attribute it names.
    void deleteAttribute(const ReferenceEdit& edit, const std::string& nodeName,
                         const std::string& attributeName) {
        CommandRun lookup("deleteAttr", &reading_, nullptr);
        Node* node = findNodeNamed(lookup, nodeName);
        const AttributeDef* attribute = node ? node->findAttribute(attributeName) : nullptr;
        if (!attribute || !attribute->dynamic) {
            warn_("reference edit '" + editText(edit) + "' of '" + referenceNode_.name() +
                  "' is not applied: " +
                  (!node ? "no node '" + nodeName + "'"
                         : "'" + node->name() + "' has no dynamic attribute '" + attributeName +
                               "'") +
                  ".");
            return;
        }
        while (attribute->parent)
            attribute = attribute->parent;
        Graph& graph = Graph::instance();
        std::string ignored;
        auto onAttribute = [&](const PlugRef& plug) {
            return plug.node == node && plug.attribute->chain().front() == attribute;
        };
        for (bool found = true; found;) {
            found = false;
            for (const std::shared_ptr<Connection>& c : node->incoming)
                if (onAttribute(c->destination)) {
                    graph.disconnect(c->source, c->destination, &ignored);
                    found = true;
                    break;
                }
            for (const std::shared_ptr<Connection>& c : node->outgoing)
                if (!found && onAttribute(c->source)) {
                    graph.disconnect(c->source, c->destination, &ignored);
                    found = true;
                    break;
                }
        }
        node->removeDynamicAttribute(attribute);
    }

    // 3 or 4, the reference node, source, destination, flags. A placeholder end stands for the
    // plugs the scene connects to it: the destinations it feeds, or the sources feeding it.
    void connect(const ReferenceEdit& edit) {
        if (edit.words.size() < 4) {
            run(edit, "connectAttr", {});
            return;
        }
        const std::string source = plugNamed(edit.words[2].text),
                          destination = plugNamed(edit.words[3].text);
        const std::vector<SceneToken> flags =
            edit.words.size() > 4 ? lexArguments(edit.words[4].text) : std::vector<SceneToken>();
        std::string node;
        CommandRun lookup("connectAttr", &reading_, nullptr);
        RawConnectionList& raw = SceneState::instance().rawConnections;
        // Plugs of nodes found in the scene are named from the root (":node.attr"), so that
        // the file's namespace does not apply to them again.
        auto connectPair = [&](const std::string& from, const std::string& to) {
            std::vector<SceneToken> args = flags;
            args.push_back(word(from));
            args.push_back(word(to));
            run(edit, "connectAttr", args);
        };
        if (int index = placeholderIndex(destination, node);
            index >= 0 && edit.words[0].text == "4") {
            // 4: the referenced plug is the destination of what the scene connects into the
            // placeholder (an animation curve driving a rig's control, a shape joining a
            // referenced set); an array plug named whole takes the next free element.
            Node* placeholder = findNodeNamed(lookup, node);
            const bool nextFree = isWholeArray(lookup, source);
            for (const RawConnection* c : raw.into(placeholder))
                if (placeholder && isPlaceholderPath(c->destinationPath, index)) {
                    RawConnection kept = *c;
                    raw.remove(c);
                    std::vector<SceneToken> args = flags;
                    if (nextFree)
                        args.push_back(word("-na", false));
                    args.push_back(word(":" + kept.source.lock()->name() + "." + kept.sourcePath));
                    args.push_back(word(source));
                    run(edit, "connectAttr", args);
                    raw.add(kept);
                }
            return;
        }
        if (int index = placeholderIndex(destination, node); index >= 0) {
            Node* placeholder = findNodeNamed(lookup, node);
            for (const RawConnection* c : raw.all())
                if (c->source.lock().get() == placeholder && placeholder &&
                    isPlaceholderPath(c->sourcePath, index)) {
                    // The placeholder's connection stays for saving; the real one takes its
                    // place in the graph.
                    RawConnection kept = *c;
                    raw.remove(c);
                    connectPair(source,
                                ":" + kept.destination.lock()->name() + "." + kept.destinationPath);
                    raw.add(kept);
                }
            return;
        }
        if (int index = placeholderIndex(source, node); index >= 0) {
            Node* placeholder = findNodeNamed(lookup, node);
            for (const RawConnection* c : raw.into(placeholder))
                if (placeholder && isPlaceholderPath(c->destinationPath, index))
                    connectPair(":" + c->source.lock()->name() + "." + c->sourcePath, destination);
            return;
        }
        connectPair(source, destination);
    }

    // Whether `plug` names an array attribute without an element ("set.dagSetMembers").
    static bool isWholeArray(const CommandRun& lookup, const std::string& plug) {
        const size_t dot = plug.find('.');
        if (dot == std::string::npos || plug.back() == ']')
            return false;
        const Node* node = findNodeNamed(lookup, plug.substr(0, dot));
        const AttributeDef* attribute =
            node ? node->findAttribute(plug.substr(plug.rfind('.') + 1)) : nullptr;
        return attribute && attribute->array;
    }

    ReadState& reading_;
    Node& referenceNode_;
    const ReferenceWarning& warn_;
    std::set<int> unapplied_;
};

// The setAttr line "\tsetAttr -k on \".t\" -type \"double3\" 1 2 3;" as a setAttr edit's plug
// path and flags-and-values text.
bool splitValueLine(const std::string& line, std::string& path, std::string& rest) {
    const size_t start = line.find("setAttr");
    const size_t end = line.rfind(';');
    if (start == std::string::npos || end == std::string::npos || end < start)
        return false;
    std::vector<SceneToken> tokens = lexArguments(line.substr(start + 7, end - start - 7));
    std::vector<SceneToken> others;
    for (SceneToken& token : tokens) {
        if (path.empty() && token.quoted && !token.text.empty() && token.text[0] == '.')
            path = token.text.substr(1);
        else
            others.push_back(std::move(token));
    }
    rest = " " + joinTokens(others);
    return !path.empty();
}

std::vector<std::string> referencedConnectionKeys() {
    std::vector<std::string> keys;
    for (Node* node : Graph::instance().nodes())
        for (const auto& c : node->outgoing)
            if (isReferenced(c->source.node) || isReferenced(c->destination.node))
                keys.push_back(connectionKey(plugText(c->source), plugText(c->destination)));
    for (const RawConnection* c : SceneState::instance().rawConnections.all()) {
        Node* from = c->source.lock().get();
        Node* to = c->destination.lock().get();
        if (isReferenced(from) || isReferenced(to))
            keys.push_back(connectionKey(from->name() + "." + c->sourcePath,
                                         to->name() + "." + c->destinationPath));
    }
    return keys;
}

} // namespace

void addReferenceSearchFolder(const std::string& folder) {
    addedFolders().push_back(folder);
}

void clearReferenceSearchFolders() {
    addedFolders().clear();
}

std::string findReferencedFile(const std::string& written, const std::vector<std::string>& near,
                               std::vector<std::string>& tried) {
    std::string path = written;
    std::replace(path.begin(), path.end(), '\\', '/');
    const bool absolute = !path.empty() && path[0] == '/';
    const bool otherMachine = path.size() > 1 && path[1] == ':'; // a Windows drive
    const std::string name = path.substr(path.rfind('/') + 1);
    std::vector<std::string> candidates;
    if (absolute || otherMachine)
        candidates.push_back(path);
    for (const std::string& folder : near)
        candidates.push_back(folder + "/" + (absolute || otherMachine ? name : path));
    for (const std::string& folder : searchFolders()) {
        if (!absolute && !otherMachine)
            candidates.push_back(folder + "/" + path);
        candidates.push_back(folder + "/" + name);
    }
    tried.clear();
    for (const std::string& candidate : candidates) {
        if (std::find(tried.begin(), tried.end(), candidate) != tried.end())
            continue;
        tried.push_back(candidate);
        if (isRegularFile(candidate))
            return candidate;
    }
    return std::string();
}

void applyReferenceEdits(ReadState& reading, Node& referenceNode, const ReferenceWarning& warn) {
    auto raw = referenceNode.rawValues.find("ed");
    if (raw == referenceNode.rawValues.end())
        raw = referenceNode.rawValues.find("edits");
    if (raw == referenceNode.rawValues.end())
        return;
    ReferenceEdits edits;
    std::string error;
    if (!readReferenceEdits(decodeRawSetting(raw->second).values, edits, error)) {
        warn("the reference edits of '" + referenceNode.name() + "' cannot be read (" + error +
             "); they are kept as written but not applied.");
        return;
    }
    EditRunner runner(reading, referenceNode, warn);
    for (const ReferenceEditSection& section : edits.sections)
        for (const ReferenceEdit& edit : section.edits)
            runner.apply(edit);
}

int referenceOf(const Node* node) {
    const NodeExtras* extras = node ? SceneState::instance().extras(node, false) : nullptr;
    return extras ? extras->reference : -1;
}

Node* writtenParentOf(Node* node) {
    Node* parent = node->parent();
    if (!parent || !isReferenced(parent))
        return parent;
    const NodeExtras* extras = SceneState::instance().extras(node, false);
    auto fileParent = extras ? extras->fileParent.lock() : nullptr;
    return fileParent && fileParent->alive() && !isReferenced(fileParent.get()) ? fileParent.get()
                                                                                : nullptr;
}

std::string connectionKey(const std::string& from, const std::string& to) {
    return from + " " + to;
}

void takeReferenceBaseline() {
    SceneState& state = SceneState::instance();
    for (Node* node : Graph::instance().nodes()) {
        NodeExtras* extras = state.extras(node, false);
        if (!extras || extras->reference < 0 || extras->referenceBaseline)
            continue;
        const std::vector<std::string> lines = nodeValueLines(*node);
        extras->baselineValues = std::set<std::string>(lines.begin(), lines.end());
        extras->baselineParent = node->parent() ? longNameOf(node->parent()) : "";
        extras->referenceBaseline = true;
        state.referencedNodes.emplace_back(node->shared_from_this(), node->name());
    }
    for (Node* node : Graph::instance().nodes())
        if (!isReferenced(node) && node->parent() && isReferenced(node->parent()))
            state.referenceBaselineParents.insert(
                connectionKey(node->name(), node->parent()->name()));
    for (const std::string& key : referencedConnectionKeys())
        state.referenceBaselineConnections.insert(key);
}

std::vector<NewReferenceEdits> referenceEditsSinceLoading(std::vector<std::string>& warnings) {
    SceneState& state = SceneState::instance();
    std::map<int, NewReferenceEdits> byReference;
    auto editsFor = [&](int reference) -> std::vector<ReferenceEdit>* {
        const int top = topReference(reference);
        if (top < 0)
            return nullptr;
        NewReferenceEdits& entry = byReference[top];
        if (!entry.referenceNode) {
            entry.referenceNode = Graph::instance().find(
                state.loadedReferences[static_cast<size_t>(top)].referenceNode);
            if (!entry.referenceNode)
                return nullptr;
        }
        return &entry.edits;
    };
    auto edit = [](int kind, std::vector<SceneToken> words) {
        ReferenceEdit made;
        made.kind = kind;
        made.words = std::move(words);
        return made;
    };
    for (const auto& [weak, name] : state.referencedNodes) {
        auto node = weak.lock();
        if (!node || !node->alive()) {
            warnings.push_back("'" + name +
                               "' comes from a referenced file and has been deleted; a reference "
                               "cannot lose nodes, so it is back when the scene is opened again.");
            continue;
        }
        const NodeExtras* extras = state.extras(node.get(), false);
        std::vector<ReferenceEdit>* edits = editsFor(extras->reference);
        if (!edits)
            continue;
        const std::string nodeName = longNameOf(node.get());
        const std::string parent = node->parent() ? longNameOf(node->parent()) : "";
        if (parent != extras->baselineParent)
            edits->push_back(
                edit(0, {word(nodeName), word(parent), word(parent.empty() ? "-w " : "-r ")}));
        const std::vector<std::string> lines = nodeValueLines(*node);
        const std::set<std::string> current(lines.begin(), lines.end());
        std::set<std::string> currentPaths;
        for (const std::string& line : lines) {
            std::string path, rest;
            if (!splitValueLine(line, path, rest))
                continue;
            currentPaths.insert(path);
            if (!extras->baselineValues.count(line))
                edits->push_back(edit(2, {word(nodeName), word(path), word(rest)}));
        }
        // A plug a connection feeds now takes its value from there.
        auto fed = [&](const std::string& path) {
            PlugRef plug;
            if (!resolvePlug(node.get(), path.substr(0, path.find('[')), plug))
                return false;
            for (const auto& c : node->incoming)
                if (c->destination.overlaps(plug))
                    return true;
            return false;
        };
        for (const std::string& line : extras->baselineValues) {
            std::string path, rest;
            if (current.count(line) || !splitValueLine(line, path, rest) ||
                currentPaths.count(path) || fed(path))
                continue; // unchanged, changed and said by its new line, or connected
            // A flag turned off (-l on, -k on, -cb on gone); anything else cannot be undone.
            const size_t on = rest.rfind(" on");
            if (rest.size() > 3 && rest[1] == '-' && on == rest.size() - 3 &&
                rest.find(' ', 2) == on)
                edits->push_back(
                    edit(2, {word(nodeName), word(path), word(rest.substr(0, on) + " off")}));
            else
                warnings.push_back("'" + node->name() + "." + path +
                                   "' has lost its value or elements since the reference was "
                                   "loaded; reference edits cannot remove them, so they are back "
                                   "when the scene is opened again.");
        }
    }
    // Scene nodes put under referenced ones since: saved under their file parent, moved back.
    for (Node* node : Graph::instance().nodes()) {
        Node* parent = node->parent();
        if (isReferenced(node) || !parent || !isReferenced(parent) ||
            state.referenceBaselineParents.count(connectionKey(node->name(), parent->name())))
            continue;
        std::vector<ReferenceEdit>* edits = editsFor(referenceOf(parent));
        if (!edits)
            continue;
        Node* written = writtenParentOf(node);
        if (node->type()->shape && !written) {
            warnings.push_back("the shape '" + node->name() +
                               "' has been put under the "
                               "referenced '" +
                               parent->name() +
                               "' and has no parent of its own to be saved under; it is saved "
                               "under a new transform.");
            continue;
        }
        edits->push_back(
            edit(0, {word((written ? longNameOf(written) : "") + "|" + node->name()),
                     word(longNameOf(parent)), word(node->type()->shape ? "-s -r " : "-r ")}));
    }
    const std::vector<std::string> keys = referencedConnectionKeys();
    const std::set<std::string> current(keys.begin(), keys.end());
    auto ends = [](const std::string& key, std::string& from, std::string& to) {
        const size_t space = key.find(' ');
        from = key.substr(0, space);
        to = key.substr(space + 1);
    };
    auto referenceOfPlug = [](const std::string& plug) {
        return referenceOf(Graph::instance().find(plug.substr(0, plug.find('.'))));
    };
    for (const std::string& key : keys) {
        if (state.referenceBaselineConnections.count(key))
            continue;
        std::string from, to;
        ends(key, from, to);
        const int source = referenceOfPlug(from), destination = referenceOfPlug(to);
        std::vector<ReferenceEdit>* edits = editsFor(destination >= 0 ? destination : source);
        if (edits)
            edits->push_back(
                edit(5, {word(source >= 0 ? "3" : "4", false),
                         word(byReference[topReference(destination >= 0 ? destination : source)]
                                  .referenceNode->name()),
                         word(from), word(to), word("")}));
    }
    for (const std::string& key : state.referenceBaselineConnections) {
        if (current.count(key))
            continue;
        std::string from, to;
        ends(key, from, to);
        auto exists = [](const std::string& plug) {
            return Graph::instance().find(plug.substr(0, plug.find('.'))) != nullptr;
        };
        if (!exists(from) || !exists(to))
            continue; // a node deleted: said above, or a scene node the save leaves out
        const int destination = referenceOfPlug(to), source = referenceOfPlug(from);
        if (std::vector<ReferenceEdit>* edits = editsFor(destination >= 0 ? destination : source))
            edits->push_back(edit(3, {word(from), word(to)}));
    }
    std::vector<NewReferenceEdits> result;
    for (auto& [index, entry] : byReference)
        if (!entry.edits.empty())
            result.push_back(std::move(entry));
    return result;
}

} // namespace host
