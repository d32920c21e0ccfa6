// ls, listRelatives and nodeType: the queries the plug-in's MEL scripts make.

#include "scene/sceneCommands.h"

#include "foundation/wildcard.h"
#include "graph/graph.h"

#include <algorithm>

namespace host {

namespace {

bool typeMatches(const Node* node, const std::string& type) {
    if (node->typeName() == type)
        return true;
    if (type == "transform")
        return isTransformLike(node);
    if (type == "dagNode")
        return node->type()->dag;
    if (type == "shape")
        return node->type()->dag && !isTransformLike(node);
    return false;
}

// "vtx[0:2]" -> "vtx[0]", "vtx[1]", "vtx[2]"; anything else stays as it is.
std::vector<std::string> flattenComponent(const std::string& component) {
    size_t open = component.find('['), colon = component.find(':'), close = component.find(']');
    if (open == std::string::npos || colon == std::string::npos || close == std::string::npos ||
        colon < open || close < colon)
        return {component};
    int first = 0, last = 0;
    try {
        first = std::stoi(component.substr(open + 1, colon - open - 1));
        last = std::stoi(component.substr(colon + 1, close - colon - 1));
    } catch (...) {
        return {component};
    }
    std::vector<std::string> all;
    for (int i = first; i <= last && all.size() < 1000000; ++i)
        all.push_back(component.substr(0, open + 1) + std::to_string(i) + component.substr(close));
    return all;
}

std::vector<Node*> nodesOrSelection(CommandRun& run, bool& ok) {
    ok = true;
    std::vector<Node*> nodes;
    if (run.args.positional.empty())
        return relativeTargets(run);
    for (const SceneToken& token : run.args.positional) {
        std::string name = token.text.substr(0, token.text.find('.'));
        Node* node = findNodeNamed(run, name);
        if (!node) {
            run.error("no object matches name '" + token.text + "'.");
            ok = false;
            return {};
        }
        nodes.push_back(node);
    }
    return nodes;
}

} // namespace

bool runLs(CommandRun& run) {
    const ParsedArgs& args = run.args;
    struct Item {
        Node* node;
        std::string component;
    };
    std::vector<Item> items;
    if (args.has("selection") || args.has("orderedSelection")) {
        for (const SelectionItem& item : SceneState::instance().selection)
            if (auto node = item.node.lock(); node && node->alive())
                items.push_back({node.get(), item.component});
    } else if (!args.positional.empty()) {
        std::vector<Node*> all = Graph::instance().nodes();
        for (const SceneToken& token : args.positional) {
            size_t dot = token.text.find('.');
            std::string name = token.text.substr(0, dot);
            std::string component = dot == std::string::npos ? "" : token.text.substr(dot);
            if (name.find_first_of("*?") != std::string::npos) {
                for (Node* node : all)
                    if (wildcardMatch(name, node->name()))
                        items.push_back({node, component});
            } else if (Node* node = findNodeNamed(run, name)) {
                items.push_back({node, component});
            }
        }
    } else {
        for (Node* node : Graph::instance().nodes())
            items.push_back({node, ""});
    }
    std::vector<std::string> types;
    for (const ParsedArgs::Use* use : args.uses("type"))
        types.push_back(use->values.empty() ? "" : use->values[0].text);
    std::vector<std::string> result;
    for (const Item& item : items) {
        Node* node = item.node;
        if (!types.empty() && std::none_of(types.begin(), types.end(), [&](const std::string& t) {
                return typeMatches(node, t);
            }))
            continue;
        if (args.has("dag") && !node->type()->dag)
            continue;
        if (args.has("transforms") && !isTransformLike(node))
            continue;
        if (args.has("shapes") && !(node->type()->dag && !isTransformLike(node)))
            continue;
        if (args.has("noIntermediate") && isIntermediate(node))
            continue;
        if (args.has("intermediateObjects") && !isIntermediate(node))
            continue;
        std::string name =
            args.has("long") ? longNameOf(node) : Graph::instance().names().partialPath(node);
        std::vector<std::string> components{item.component};
        if (args.has("objectsOnly"))
            components = {""};
        else if (args.has("flatten") && !item.component.empty())
            components = flattenComponent(item.component);
        for (const std::string& component : components) {
            std::string full = name + component;
            if (args.has("objectsOnly") &&
                std::find(result.begin(), result.end(), full) != result.end())
                continue;
            result.push_back(full);
            if (args.has("showType"))
                result.push_back(node->typeName());
        }
    }
    run.result = MelValue(result);
    return true;
}

bool runListRelatives(CommandRun& run) {
    const ParsedArgs& args = run.args;
    bool ok = true;
    std::vector<Node*> nodes = nodesOrSelection(run, ok);
    if (!ok)
        return false;
    std::string type = args.value("type") ? args.value("type")->text : "";
    std::vector<Node*> found;
    auto consider = [&](Node* node) {
        if (args.has("shapes") && (!node->type()->dag || isTransformLike(node)))
            return;
        if (args.has("noIntermediate") && isIntermediate(node))
            return;
        if (!type.empty() && !typeMatches(node, type))
            return;
        if (std::find(found.begin(), found.end(), node) == found.end())
            found.push_back(node);
    };
    std::function<void(Node*)> descend = [&](Node* node) {
        for (Node* child : node->children()) {
            consider(child);
            descend(child);
        }
    };
    for (Node* node : nodes) {
        if (args.has("parent") || args.has("allParents")) {
            if (node->parent())
                consider(node->parent());
        } else if (args.has("allDescendents")) {
            descend(node);
        } else {
            for (Node* child : node->children())
                consider(child);
        }
    }
    std::vector<std::string> result;
    for (Node* node : found)
        result.push_back(args.has("fullPath") || args.has("path")
                             ? longNameOf(node)
                             : Graph::instance().names().partialPath(node));
    run.result = MelValue(result);
    return true;
}

bool runNodeType(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.size() != 1) {
        run.error("expected one node.");
        return false;
    }
    const std::string& text = args.positional[0].text;
    Node* node = findNodeNamed(run, text.substr(0, text.find('.')));
    if (!node) {
        run.error("no object matches name '" + text + "'.");
        return false;
    }
    if (args.has("apiType"))
        run.result = MelValue(std::string(node->apiTypeStr()));
    else if (args.has("inherited"))
        run.result = MelValue(std::vector<std::string>{node->typeName()});
    else
        run.result = MelValue(node->typeName());
    return true;
}

} // namespace host
