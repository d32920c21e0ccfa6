// createNode, rename, parent, select, lockNode and delete.

#include "scene/sceneCommands.h"

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "scene/valueText.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace host {

namespace {

// A DAG node of a type the host does not implement: like the generic node it keeps raw values,
// and it can have a parent and children.
class GenericDagNode : public MPxNode {
  public:
    static void* creator() { return new GenericDagNode; }
};

const char* const kGenericType = "unknown";
const char* const kGenericDagType = "unknownDag";

NodeType* genericDagType() {
    TypeRegistry& registry = TypeRegistry::instance();
    if (NodeType* type = registry.findNode(kGenericDagType))
        return type;
    NodeType* type =
        registry.registerBuiltin(kGenericDagType, MTypeId(0x0fff0010), &GenericDagNode::creator,
                                 MPxNode::kDependNode, MFn::kDagNode, true, false, nullptr);
    type->generic = true;
    return type;
}

// Maya node types that live in the DAG, for nodes of types the host does not know.
bool isDagTypeName(const std::string& type) {
    static const char* const names[] = {"transform",     "joint",           "camera",
                                        "locator",       "nurbsCurve",      "mesh",
                                        "nurbsSurface",  "subdiv",          "ikHandle",
                                        "ikEffector",    "lodGroup",        "place3dTexture",
                                        "particle",      "nParticle",       "fluidShape",
                                        "hairSystem",    "follicle",        "stroke",
                                        "pfxHair",       "annotationShape", "distanceDimShape",
                                        "clusterHandle", "lattice",         "baseLattice",
                                        "imagePlane",    "nurbsTessellate", "bezierCurve",
                                        "renderBox",     "renderSphere",    "renderCone",
                                        "sketchPlane",   "hikIKEffector",   "nCloth",
                                        "nRigid",        "nucleus"};
    for (const char* name : names)
        if (type == name)
            return true;
    for (const char* suffix : {"Constraint", "Light", "Shape", "Handle"})
        if (type.size() > std::strlen(suffix) &&
            type.compare(type.size() - std::strlen(suffix), std::string::npos, suffix) == 0)
            return true;
    return false;
}

bool validNodeName(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != ':')
            return false;
    return true;
}

// The default name of a new node: its type with a lower-case first letter and a number.
std::string defaultName(const std::string& type) {
    std::string name = type + "1";
    name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    return name;
}

void selectOnly(Node* node) {
    SceneState::instance().selection = {SelectionItem{node->shared_from_this(), ""}};
}

// Nodes named by the positional arguments, or the nodes relative plugs apply to.
bool namedOrTargets(CommandRun& run, std::vector<Node*>& nodes) {
    if (run.args.positional.empty()) {
        nodes = relativeTargets(run);
        return true;
    }
    for (const SceneToken& token : run.args.positional) {
        std::string name = token.text.substr(0, token.text.find('.'));
        Node* node = findNodeNamed(run, name);
        if (!node) {
            run.error(unresolvedName(run, name, "no node named '" + name + "'."));
            return false;
        }
        nodes.push_back(node);
    }
    return true;
}

} // namespace

Node* createNodeOfType(CommandRun& run, const std::string& type, const std::string& name,
                       Node* parent, bool forceDag) {
    Graph& graph = Graph::instance();
    NodeType* known = TypeRegistry::instance().findNode(type);
    std::string error;
    Node* node = nullptr;
    if (known && !known->generic) {
        if (parent && !known->dag) {
            run.error("a node of type '" + type + "' is not a DAG node and cannot have a parent.");
            return nullptr;
        }
        if (known->shape && !parent) {
            parent = graph.createNode("transform", "", nullptr, &error);
            if (!parent) {
                run.error(error);
                return nullptr;
            }
        }
        node = graph.createNode(type, name, parent, &error);
    } else {
        bool dag = parent || forceDag || isDagTypeName(type) ||
                   (run.reading && run.reading->parentNames.count(name));
        if (dag)
            genericDagType();
        node = graph.createNode(dag ? kGenericDagType : kGenericType,
                                name.empty() ? defaultName(type) : name, parent, &error);
        if (node)
            node->setGenericType(type);
    }
    if (!node)
        run.error(error);
    return node;
}

bool runCreateNode(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.size() != 1) {
        run.error("expected one node type, got " + std::to_string(args.positional.size()) +
                  " arguments.");
        return false;
    }
    const std::string type = args.positional[0].text;
    std::string name = args.value("name") ? args.value("name")->text : "";
    const bool shared = args.has("shared");
    const bool inRoot = shared || (!name.empty() && name[0] == ':');
    if (!name.empty() && name[0] == ':')
        name.erase(0, 1);
    if (!name.empty() && !validNodeName(name)) {
        run.error("'" + name + "' is not a valid node name.");
        return false;
    }
    if (run.reading) {
        run.reading->skipBlock = false;
        // The scene's own shared nodes (cameras, light linker) stay as the scene has them.
        if (shared && run.reading->referenced() && findNodeNamed(run, ":" + name)) {
            run.reading->targets.clear();
            run.reading->skipBlock = true;
            return true;
        }
        if (!inRoot && !name.empty())
            name = run.reading->inNamespace(name);
    }
    Node* parent = nullptr;
    if (const SceneToken* parentName = args.value("parent")) {
        parent = findNodeNamed(run, parentName->text);
        if (!parent) {
            run.error(unresolvedName(run, parentName->text,
                                     "the parent '" + parentName->text + "' of '" + name +
                                         "' does not exist."));
            return false;
        }
    }
    Node* node = nullptr;
    if (shared && !name.empty())
        node = findNodeNamed(run, ":" + name);
    if (node && node->typeName() != type) {
        run.error("a node named '" + name + "' of type '" + node->typeName() +
                  "' already exists; it cannot be shared as a '" + type + "'.");
        return false;
    }
    if (!node) {
        node = createNodeOfType(run, type, name, parent, false);
        if (!node)
            return false;
        if (!name.empty() && node->name() != name && run.reading && !run.reading->importing)
            run.warning("a node named '" + name + "' already exists; this one is called '" +
                        node->name() + "' (the host needs unique node names).");
    }
    if (shared)
        SceneState::instance().extras(node, true)->shared = true;
    // Reference edits may move the node; saving puts it back under this parent.
    if (run.reading && parent)
        SceneState::instance().extras(node, true)->fileParent = parent->shared_from_this();
    if (run.reading) {
        run.reading->remember(node, name.empty() ? node->name() : name);
        run.reading->targets = {node->shared_from_this()};
    }
    if (!args.has("skipSelect"))
        selectOnly(node);
    run.result = MelValue(node->name());
    return true;
}

bool runRename(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.has("uuid")) {
        // rename -uid "UUID" [node]: the UUID is kept so that the scene saves it back.
        if (args.positional.empty() || args.positional.size() > 2) {
            run.error("-uuid expects the UUID (and optionally the node).");
            return false;
        }
        std::vector<Node*> nodes;
        if (args.positional.size() == 2) {
            Node* node = findNodeNamed(run, args.positional[0].text);
            if (!node) {
                run.error(unresolvedName(run, args.positional[0].text,
                                         "no node named '" + args.positional[0].text + "'."));
                return false;
            }
            nodes.push_back(node);
        } else {
            nodes = relativeTargets(run);
        }
        if (nodes.empty()) {
            run.error("no node to give the UUID to (create or select one first).");
            return false;
        }
        for (Node* node : nodes)
            SceneState::instance().extras(node, true)->uid = args.positional.back().text;
        return true;
    }
    Node* node = nullptr;
    std::string newName;
    if (args.positional.size() == 2) {
        node = findNodeNamed(run, args.positional[0].text);
        if (!node) {
            run.error(unresolvedName(run, args.positional[0].text,
                                     "no node named '" + args.positional[0].text + "'."));
            return false;
        }
        newName = args.positional[1].text;
    } else if (args.positional.size() == 1) {
        std::vector<Node*> nodes = relativeTargets(run);
        if (nodes.empty()) {
            run.error("no node to rename (name it or select it).");
            return false;
        }
        node = nodes.front();
        newName = args.positional[0].text;
    } else {
        run.error("expected the node and its new name.");
        return false;
    }
    if (node->locked) {
        run.error("'" + node->name() + "' is locked and cannot be renamed.");
        return false;
    }
    if (!validNodeName(newName)) {
        run.error("'" + newName + "' is not a valid node name.");
        return false;
    }
    std::string error;
    if (!Graph::instance().rename(node, newName, &error)) {
        run.error(error);
        return false;
    }
    if (run.reading)
        run.reading->remember(node, newName);
    run.result = MelValue(node->name());
    return true;
}

bool runParent(CommandRun& run) {
    const ParsedArgs& args = run.args;
    const bool world = args.has("world");
    std::vector<std::string> names;
    for (const SceneToken& token : args.positional)
        names.push_back(token.text);
    if (names.empty() || (!world && names.size() < 2)) {
        run.error(world ? "expected the nodes to move to the world."
                        : "expected the nodes to move and their new parent.");
        return false;
    }
    Node* newParent = nullptr;
    if (!world) {
        newParent = findNodeNamed(run, names.back());
        if (!newParent) {
            run.error(unresolvedName(run, names.back(), "no node named '" + names.back() + "'."));
            return false;
        }
        names.pop_back();
    }
    std::vector<Node*> children;
    for (const std::string& name : names) {
        Node* child = findNodeNamed(run, name);
        if (!child) {
            run.error(unresolvedName(run, name, "no node named '" + name + "'."));
            return false;
        }
        children.push_back(child);
    }
    if (args.has("addObject") || args.has("removeObject")) {
        run.warning("instancing is not supported: " + std::string("'") + children.front()->name() +
                    "' keeps its one parent.");
        return true;
    }
    std::vector<std::string> result;
    for (Node* child : children) {
        if (child->locked) {
            run.error("'" + child->name() + "' is locked and cannot be parented.");
            return false;
        }
        std::string error;
        if (!Graph::instance().reparent(child, newParent, &error)) {
            run.error(error);
            return false;
        }
        result.push_back(child->name());
    }
    run.result = MelValue(result);
    return true;
}

bool runSelect(CommandRun& run) {
    const ParsedArgs& args = run.args;
    SceneState& state = SceneState::instance();
    if (run.reading) {
        run.reading->skipBlock = false;
        // A referenced file's settings of the scene's default nodes (":time1") are not the
        // scene's.
        if (run.reading->referenced() && args.has("noExpand") && !args.positional.empty() &&
            std::all_of(args.positional.begin(), args.positional.end(),
                        [](const SceneToken& token) { return token.text.rfind(":", 0) == 0; })) {
            run.reading->targets.clear();
            run.reading->skipBlock = true;
            return true;
        }
    }
    if (args.has("clear")) {
        state.selection.clear();
        if (run.reading)
            run.reading->targets.clear();
        return true;
    }
    std::vector<SelectionItem> items;
    if (args.has("all")) {
        for (Node* node : Graph::instance().nodes())
            items.push_back({node->shared_from_this(), ""});
    }
    for (const SceneToken& token : args.positional) {
        const std::string& text = token.text;
        size_t dot = text.find('.');
        std::string name = text.substr(0, dot);
        Node* node = run.reading ? findOrCreateDefaultNode(run, name) : findNodeNamed(run, name);
        if (!node) {
            run.error(unresolvedName(run, name, "no object matches name '" + text + "'."));
            return false;
        }
        items.push_back(
            {node->shared_from_this(), dot == std::string::npos ? "" : text.substr(dot)});
    }
    auto same = [](const SelectionItem& a, const SelectionItem& b) {
        return a.node.lock() == b.node.lock() && a.component == b.component;
    };
    auto position = [&](const SelectionItem& item) {
        return std::find_if(state.selection.begin(), state.selection.end(),
                            [&](const SelectionItem& s) { return same(s, item); });
    };
    if (args.has("deselect")) {
        for (const SelectionItem& item : items)
            if (auto it = position(item); it != state.selection.end())
                state.selection.erase(it);
    } else if (args.has("toggle")) {
        for (const SelectionItem& item : items) {
            if (auto it = position(item); it != state.selection.end())
                state.selection.erase(it);
            else
                state.selection.push_back(item);
        }
    } else if (args.has("add") || args.has("addFirst")) {
        size_t at = args.has("addFirst") ? 0 : state.selection.size();
        for (const SelectionItem& item : items)
            if (position(item) == state.selection.end())
                state.selection.insert(state.selection.begin() + static_cast<long>(at++), item);
    } else {
        state.selection = items;
    }
    if (run.reading) {
        run.reading->targets.clear();
        for (const SelectionItem& item : items)
            run.reading->targets.push_back(item.node);
    }
    return true;
}

bool runLockNode(CommandRun& run) {
    std::vector<Node*> nodes;
    if (!namedOrTargets(run, nodes))
        return false;
    if (run.args.query) {
        std::vector<int> states;
        for (Node* node : nodes)
            states.push_back(node->locked ? 1 : 0);
        run.result = MelValue(states);
        return true;
    }
    bool lock = true;
    if (const SceneToken* value = run.args.value("lock"); value && !tokenBool(*value, lock)) {
        run.error("-lock expects on or off, got '" + value->text + "'.");
        return false;
    }
    if (nodes.empty()) {
        run.error("no node to lock (name it or select it).");
        return false;
    }
    for (Node* node : nodes)
        node->locked = lock;
    return true;
}

bool runDelete(CommandRun& run) {
    std::vector<Node*> nodes;
    if (!namedOrTargets(run, nodes))
        return false;
    if (nodes.empty()) {
        run.error("nothing to delete (name the nodes or select them).");
        return false;
    }
    SceneState& state = SceneState::instance();
    if (run.args.has("constructionHistory")) {
        // The host keeps history only as connections it does not evaluate: forget them, and the
        // history nodes left with nothing to feed.
        for (Node* node : nodes) {
            std::vector<std::shared_ptr<Node>> sources;
            for (const RawConnection* c : state.rawConnections.into(node)) {
                auto source = c->source.lock();
                if (source && source->type()->generic) {
                    sources.push_back(source);
                    state.rawConnections.remove(c);
                }
            }
            const std::vector<const RawConnection*> remaining = state.rawConnections.all();
            for (const auto& source : sources) {
                bool used = !source->outgoing.empty();
                for (const RawConnection* c : remaining)
                    used = used || c->source.lock() == source;
                std::string ignored;
                if (!used && source->alive() && !source->locked)
                    Graph::instance().deleteNode(source.get(), &ignored);
            }
        }
        state.rawConnections.prune();
        return true;
    }
    std::vector<std::weak_ptr<Node>> victims;
    for (Node* node : nodes) {
        if (node->locked) {
            run.error("'" + node->name() + "' is locked and cannot be deleted.");
            return false;
        }
        victims.push_back(node->shared_from_this());
    }
    for (const auto& weak : victims) {
        auto node = weak.lock();
        if (!node || !node->alive())
            continue; // went with a parent deleted before it
        std::string error;
        if (!Graph::instance().deleteNode(node.get(), &error)) {
            run.error(error);
            return false;
        }
    }
    state.rawConnections.prune();
    return true;
}

} // namespace host
