// objExists and filterExpand: what scripts ask about names and the selection before they act.

#include "scene/melSelectionCommands.h"

#include "geometry/componentList.h"
#include "graph/graph.h"
#include "scene/plugPath.h"
#include "scene/sceneCommands.h"

#include <algorithm>

namespace host {

namespace {

// A run for the shared name lookups; MEL commands have no file being read.
CommandRun lookupRun(MelCall& call) {
    return CommandRun(call.command(), nullptr, [&call](MessageKind kind, const std::string& text) {
        if (kind == MessageKind::kError)
            call.error(text);
        else
            call.warning(text);
    });
}

bool plugExists(Node* node, const std::string& path) {
    std::vector<PlugPathPart> parts;
    std::string error;
    ResolvedPlug resolved;
    return parsePlugPath(path, parts, error) &&
           resolvePlugPath(node, parts, resolved, error) == PlugResolution::kKnown;
}

MStatus objExists(MelCall& call) {
    CommandRun run = lookupRun(call);
    const std::string name = call.args().front().asString();
    const size_t dot = name.find('.');
    Node* node = findNodeNamed(run, name.substr(0, dot));
    bool found = node && (dot == std::string::npos || plugExists(node, name.substr(dot + 1)));
    call.setResult(MelValue(found ? 1 : 0));
    return MS::kSuccess;
}

// Maya's selection-mask numbers for the kinds of item the host has.
enum SelectionMask {
    kNurbsCurves = 9,
    kNurbsSurfaces = 10,
    kPolygonMeshes = 12,
    kPolygonVertices = 31,
    kPolygonEdges = 32,
    kPolygonFaces = 34,
};

// The shape an item stands for: a transform's first shape that is not an intermediate object.
Node* shapeOf(Node* node) {
    if (!isTransformLike(node))
        return node;
    for (Node* child : node->children())
        if (child->type()->dag && !isTransformLike(child) && !isIntermediate(child))
            return child;
    return nullptr;
}

int maskOf(Node* node, const std::string& component) {
    Node* shape = shapeOf(node);
    if (!shape)
        return 0;
    const std::string& type = shape->typeName();
    if (component.empty()) {
        if (type == "mesh")
            return kPolygonMeshes;
        if (type == "nurbsSurface")
            return kNurbsSurfaces;
        if (type == "nurbsCurve")
            return kNurbsCurves;
        return 0;
    }
    if (type != "mesh")
        return 0;
    const std::string kind = component.substr(1, component.find('[') - 1);
    if (kind == "f")
        return kPolygonFaces;
    if (kind == "vtx")
        return kPolygonVertices;
    if (kind == "e")
        return kPolygonEdges;
    return 0;
}

MStatus filterExpand(MelCall& call) {
    std::vector<int> masks;
    for (const std::vector<MelValue>& use : call.uses("selectionMask")) {
        const MelValue& value = use.front();
        if (!value.isNumber() && std::to_string(value.asInt()) != value.asString()) {
            call.error("filterExpand: -selectionMask takes a number, not '" + value.asString() +
                       "'.");
            return MS::kFailure;
        }
        masks.push_back(value.asInt());
    }
    const bool expand = call.boolValue("expand", true);
    const bool fullPath = call.boolValue("fullPath", false);

    struct Item {
        Node* node;
        std::string component;
    };
    std::vector<Item> items;
    CommandRun run = lookupRun(call);
    if (call.args().empty()) {
        for (const SelectionItem& selected : SceneState::instance().selection)
            if (auto node = selected.node.lock(); node && node->alive())
                items.push_back({node.get(), selected.component});
    } else {
        for (const MelValue& arg : call.args())
            for (const std::string& text : arg.asStringArray()) {
                const size_t dot = text.find('.');
                Node* node = findNodeNamed(run, text.substr(0, dot));
                if (!node) {
                    call.error("filterExpand: no object matches name '" + text + "'.");
                    return MS::kFailure;
                }
                items.push_back({node, dot == std::string::npos ? "" : text.substr(dot)});
            }
    }

    std::vector<std::string> result;
    auto add = [&result](const std::string& text) {
        if (std::find(result.begin(), result.end(), text) == result.end())
            result.push_back(text);
    };
    for (const Item& item : items) {
        const int mask = maskOf(item.node, item.component);
        if (mask == 0 ||
            (!masks.empty() && std::find(masks.begin(), masks.end(), mask) == masks.end()))
            continue;
        const std::string name =
            fullPath ? longNameOf(item.node) : Graph::instance().names().partialPath(item.node);
        ComponentRange range;
        std::string error;
        if (!expand || item.component.empty() ||
            !parseComponentRange(item.component.substr(1), range, error) ||
            range.spans.size() != 1 || range.spans.front().all) {
            add(name + item.component);
            continue;
        }
        for (int i = range.spans.front().first; i <= range.spans.front().last; ++i)
            add(name + "." + range.kind + "[" + std::to_string(i) + "]");
    }
    call.setResult(MelValue(result));
    return MS::kSuccess;
}

} // namespace

void registerMelSelectionCommands() {
    MelSyntax exists;
    exists.minPositional = 1;
    exists.maxPositional = 1;
    registerMelCommand("objExists", objExists, exists);

    MelSyntax filter;
    filter.flag("sm", "selectionMask", 1, true)
        .flag("ex", "expand", 1)
        .flag("fp", "fullPath", 1)
        .flag("sma", "symActive", 1)
        .flag("smn", "symNegative", 1)
        .flag("smp", "symPositive", 1)
        .flag("sms", "symSeam", 1);
    registerMelCommand("filterExpand", filterExpand, filter);
}

void deregisterMelSelectionCommands() {
    deregisterMelCommand("objExists");
    deregisterMelCommand("filterExpand");
}

} // namespace host
