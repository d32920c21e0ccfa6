// sets: makes an object set of the named nodes and components, or adds them to (or removes them
// from) one. Members go through the set's connections (sets/setMembers.h), as files keep them.

#include "scene/sceneCommands.h"

#include "geometry/componentList.h"
#include "graph/graph.h"
#include "sets/setMembers.h"

#include <maya/MFnSingleIndexedComponent.h>

namespace host {

namespace {

struct Item {
    Node* node = nullptr;
    MObject component;
};

// "node" or "node.f[0:3]" (also vtx and e).
bool readItem(CommandRun& run, const std::string& text, Item& item) {
    size_t dot = text.find('.');
    item.node = findNodeNamed(run, text.substr(0, dot));
    if (!item.node) {
        run.error("no object matches name '" + text + "'.");
        return false;
    }
    if (dot == std::string::npos)
        return true;
    // Components belong to a shape: "pPlane1.f[0]" names the faces of the transform's shape.
    if (isTransformLike(item.node)) {
        Node* shape = nullptr;
        for (Node* child : item.node->children())
            if (!shape && child->type()->dag && !isTransformLike(child) && !isIntermediate(child))
                shape = child;
        if (!shape) {
            run.error("'" + text + "' names components of a transform with no shape.");
            return false;
        }
        item.node = shape;
    }
    ComponentRange range;
    std::string error;
    if (!parseComponentRange(text.substr(dot + 1), range, error) || range.spans.size() != 1 ||
        range.spans.front().all) {
        run.error("'" + text + "' is not a component this command takes" +
                  (error.empty() ? std::string(" (give the indices)") : ": " + error) + ".");
        return false;
    }
    MFnSingleIndexedComponent fn;
    MStatus status;
    item.component = fn.create(componentTypeOf(range), &status);
    if (!status) {
        run.error("'" + text + "' names no component kind the host knows.");
        return false;
    }
    for (int i = range.spans.front().first; i <= range.spans.front().last; ++i)
        fn.addElement(i);
    return true;
}

} // namespace

bool runSets(CommandRun& run) {
    const ParsedArgs& args = run.args;
    std::vector<Item> items;
    for (const SceneToken& token : args.positional) {
        Item item;
        if (!readItem(run, token.text, item))
            return false;
        items.push_back(item);
    }
    if (items.empty() && !args.has("empty") && !args.has("addElement") &&
        !args.has("forceElement") && !args.has("remove"))
        for (const SelectionItem& selected : SceneState::instance().selection)
            if (auto node = selected.node.lock(); node && node->alive()) {
                Item item;
                if (!readItem(run, node->name() + selected.component, item))
                    return false;
                items.push_back(item);
            }
    Node* set = nullptr;
    const bool removing = args.has("remove");
    for (const char* flag : {"addElement", "forceElement", "remove"})
        if (const SceneToken* name = args.value(flag)) {
            set = findNodeNamed(run, name->text);
            if (!set || !isObjectSet(set)) {
                run.error("'" + name->text + "' is not a set.");
                return false;
            }
        }
    if (!set) {
        const std::string name = args.value("name") ? args.value("name")->text : "";
        set = createNodeOfType(run, "objectSet", name, nullptr, false);
        if (!set)
            return false;
    }
    for (const Item& item : items) {
        std::string error;
        MStatus status = removing ? removeSetMember(*set, *item.node, item.component, &error)
                                  : addSetMember(*set, *item.node, item.component, &error);
        if (!status) {
            run.error(error);
            return false;
        }
    }
    run.result = MelValue(set->name());
    return true;
}

} // namespace host
