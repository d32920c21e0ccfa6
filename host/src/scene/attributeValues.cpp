#include "scene/attributeValues.h"

#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "scene/sceneCommands.h"
#include "scene/sceneState.h"

namespace host {

bool isAngleAttribute(const AttributeDef* attribute) {
    if (!attribute)
        return false;
    const AttributeDef* rotate = attributeDef(TransformNode::rotate);
    const AttributeDef* rotateAxis = attributeDef(TransformNode::rotateAxis);
    for (const AttributeDef* a = attribute; a; a = a->parent) {
        if (a == rotate || a == rotateAxis || a->angle)
            return true;
        if (const DynamicAttributeInfo* info = SceneState::instance().attributeInfo(a, false);
            info && info->angle)
            return true;
    }
    return false;
}

namespace {
bool collectLeaves(const AttributeDef* attribute, std::vector<const AttributeDef*>& leaves) {
    if (attribute->isNumericLike() && attribute->children.empty()) {
        leaves.push_back(attribute);
        return true;
    }
    if (!attribute->isCompound())
        return false;
    for (const auto& child : attribute->children)
        if (child->array || !collectLeaves(child.get(), leaves))
            return false;
    return !attribute->children.empty();
}
} // namespace

std::vector<const AttributeDef*> numericLeaves(const AttributeDef* attribute) {
    std::vector<const AttributeDef*> leaves;
    if (!attribute || !collectLeaves(attribute, leaves))
        leaves.clear();
    return leaves;
}

bool plugLocked(const PlugRef& plug) {
    if (!plug.node || plug.node->lockedPlugs.empty())
        return false;
    for (const AttributeDef* a = plug.attribute; a; a = a->parent) {
        PlugRef above{plug.node, a, indicesFor(a, plug)};
        if (plug.node->lockedPlugs.count(Graph::attributePath(above)))
            return true;
        // The element an array level names is locked as a whole too.
        if (a->array && !above.indices.empty() && above.indices.back() >= 0) {
            PlugRef array = above;
            array.indices.back() = -1;
            if (plug.node->lockedPlugs.count(Graph::attributePath(array)))
                return true;
        }
    }
    return false;
}

std::string valueTypeName(const AttributeDef* attribute) {
    if (!attribute)
        return "";
    if (attribute->kind == AttributeDef::Kind::Typed)
        return attribute->dataType == MFnData::kString ? "string" : "";
    if (!attribute->numericCompound)
        return "";
    const size_t n = attribute->children.size();
    MFnNumericData::Type scalar =
        n ? attribute->children.front()->numericType : MFnNumericData::kDouble;
    std::string base = scalar == MFnNumericData::kFloat   ? "float"
                       : scalar == MFnNumericData::kInt   ? "long"
                       : scalar == MFnNumericData::kShort ? "short"
                                                          : "double";
    return base + std::to_string(n);
}

// The nodes and the path a plug argument names: ".t" (the targets) or "node.t".
bool splitPlugArgument(CommandRun& run, const std::string& text, std::vector<Node*>& nodes,
                       std::string& path) {
    nodes.clear();
    if (!text.empty() && text[0] == '.') {
        nodes = relativeTargets(run);
        path = text.substr(1);
        if (nodes.empty()) {
            run.error("'" + text + "' names no node: create or select one first.");
            return false;
        }
        return true;
    }
    size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0) {
        run.error("'" + text + "' is not a plug (expected node.attribute).");
        return false;
    }
    std::string name = text.substr(0, dot);
    Node* node = findOrCreateDefaultNode(run, name);
    if (!node) {
        run.error(unresolvedName(run, name, "no node named '" + name + "'."));
        return false;
    }
    nodes.push_back(node);
    path = text.substr(dot + 1);
    return true;
}

std::vector<std::string> tokenTexts(const std::vector<SceneToken>& tokens) {
    std::vector<std::string> out;
    out.reserve(tokens.size());
    for (const SceneToken& token : tokens)
        out.push_back(token.text);
    return out;
}

// Components of the numeric compound type names files use ("double3" -> 3); 0 for others.
int compoundTypeSize(const std::string& type) {
    for (const char* base : {"double", "float", "long", "short", "int"}) {
        std::string b = base;
        if (type.size() == b.size() + 1 && type.compare(0, b.size(), b) == 0 &&
            type.back() >= '2' && type.back() <= '4')
            return type.back() - '0';
    }
    return 0;
}

std::string countText(size_t n, const std::string& word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// Paths from an attribute down to each numeric leaf, as child indices.
void leafPaths(const AttributeDef* attribute, std::vector<int>& prefix,
               std::vector<std::vector<int>>& out) {
    if (attribute->children.empty()) {
        out.push_back(prefix);
        return;
    }
    for (size_t i = 0; i < attribute->children.size(); ++i) {
        prefix.push_back(static_cast<int>(i));
        leafPaths(attribute->children[i].get(), prefix, out);
        prefix.pop_back();
    }
}

std::string shortPlugPath(const PlugRef& plug) {
    return Graph::attributePath(plug, false);
}

} // namespace host
