#include "graph/statusOut.h"
#include "graph/graph.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlugArray.h>

using host::AttributeDef;
using host::Graph;
using host::Node;

using host::report;

namespace {

// Resolves "attr", "parent.child", "array[3]" or "a[0].b[1].c" on a node.
bool resolvePath(Node* node, const std::string& path, host::PlugRef& out) {
    out = host::PlugRef{node, nullptr, {}};
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('.', start);
        std::string part =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        int index = -1;
        size_t bracket = part.find('[');
        if (bracket != std::string::npos) {
            size_t close = part.find(']', bracket);
            std::string digits = part.substr(
                bracket + 1, close == std::string::npos ? std::string::npos : close - bracket - 1);
            if (close != part.size() - 1 || digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                return false;
            index = std::stoi(digits);
            part = part.substr(0, bracket);
        }
        const AttributeDef* found = nullptr;
        if (!out.attribute) {
            found = node->findAttribute(part);
        } else {
            for (const auto& child : out.attribute->children)
                if (const AttributeDef* match = child->find(part)) {
                    found = match;
                    break;
                }
        }
        if (!found)
            return false;
        // Fill the indices of the levels between the current attribute and the found one.
        std::vector<int> indices = out.indices;
        std::vector<const AttributeDef*> chain = found->chain();
        size_t known = out.attribute ? out.attribute->chain().size() : 0;
        for (size_t k = known; k < chain.size(); ++k)
            if (chain[k]->array)
                indices.push_back(-1);
        if (index >= 0) {
            if (!found->array)
                return false;
            indices.back() = index;
        }
        out.attribute = found;
        out.indices = indices;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out.attribute != nullptr;
}
} // namespace

namespace host {
bool resolvePlug(Node* node, const std::string& path, PlugRef& out) {
    return node && node->alive() && resolvePath(node, path, out);
}
} // namespace host

MFnDependencyNode::MFnDependencyNode(const MObject& object, MStatus* status) {
    report(status, host::nodeOf(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

MObject MFnDependencyNode::create(const MString& typeName, MStatus* status) {
    return create(typeName, MString(), status);
}

MObject MFnDependencyNode::create(const MString& typeName, const MString& name, MStatus* status) {
    std::string error;
    Node* node = Graph::instance().createNode(typeName.asChar(), name.asChar(), nullptr, &error);
    if (!node) {
        MGlobal::displayError(error.c_str());
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    object_ = node->object();
    report(status, MS::kSuccess);
    return object_;
}

MString MFnDependencyNode::name(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? MString(node->name().c_str()) : MString();
}

MString MFnDependencyNode::setName(const MString& name, bool, MStatus* status) {
    Node* node = host::nodeOf(object_);
    std::string error;
    MStatus result = node ? Graph::instance().rename(node, name.asChar(), &error) : MS::kFailure;
    report(status, result);
    return node ? MString(node->name().c_str()) : MString();
}

MTypeId MFnDependencyNode::typeId(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? node->type()->id : MTypeId();
}

MString MFnDependencyNode::typeName(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? MString(node->typeName().c_str()) : MString();
}

MPxNode* MFnDependencyNode::userNode(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    MPxNode* impl = node && node->type()->plugin ? node->impl() : nullptr;
    report(status, impl ? MS::kSuccess : MS::kFailure);
    return impl;
}

unsigned int MFnDependencyNode::attributeCount(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? static_cast<unsigned int>(node->topAttributes().size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned int index, MStatus* status) const {
    Node* node = host::nodeOf(object_);
    std::vector<const AttributeDef*> all =
        node ? node->topAttributes() : std::vector<const AttributeDef*>();
    report(status, index < all.size() ? MS::kSuccess : MS::kInvalidParameter);
    return index < all.size() ? host::attributeObject(all[index]) : MObject();
}

MObject MFnDependencyNode::attribute(const MString& name, MStatus* status) const {
    Node* node = host::nodeOf(object_);
    const AttributeDef* def = node ? node->findAttribute(name.asChar()) : nullptr;
    report(status, def ? MS::kSuccess : MS::kInvalidParameter);
    return host::attributeObject(def);
}

bool MFnDependencyNode::hasAttribute(const MString& name, MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node && node->findAttribute(name.asChar());
}

MPlug MFnDependencyNode::findPlug(const MString& name, bool, MStatus* status) const {
    Node* node = host::nodeOf(object_);
    host::PlugRef ref;
    if (!node || !host::resolvePlug(node, name.asChar(), ref)) {
        report(status, MS::kInvalidParameter);
        return MPlug();
    }
    report(status, MS::kSuccess);
    return Graph::toMPlug(ref);
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, bool, MStatus* status) const {
    Node* node = host::nodeOf(object_);
    const AttributeDef* def = host::attributeDef(attribute);
    if (!node || !def || node->topAttributes().empty()) {
        report(status, MS::kInvalidParameter);
        return MPlug();
    }
    report(status, MS::kSuccess);
    return MPlug(object_, attribute);
}

MStatus MFnDependencyNode::getConnections(MPlugArray& array) const {
    array.clear();
    Node* node = host::nodeOf(object_);
    if (!node)
        return MS::kFailure;
    for (const auto& c : node->incoming)
        array.append(Graph::toMPlug(c->destination));
    for (const auto& c : node->outgoing)
        array.append(Graph::toMPlug(c->source));
    return array.length() ? MS::kSuccess : MS::kFailure;
}

MStatus MFnDependencyNode::addAttribute(const MObject& attribute) {
    Node* node = host::nodeOf(object_);
    if (!node || !host::attributeDef(attribute))
        return MS::kFailure;
    return node->addDynamicAttribute(std::static_pointer_cast<AttributeDef>(attribute.impl()));
}

MStatus MFnDependencyNode::removeAttribute(const MObject& attribute) {
    Node* node = host::nodeOf(object_);
    const AttributeDef* def = host::attributeDef(attribute);
    if (!node || !def)
        return MS::kFailure;
    return node->removeDynamicAttribute(def);
}

bool MFnDependencyNode::isFromReferencedFile(MStatus* status) const {
    report(status, MS::kSuccess);
    return false;
}

bool MFnDependencyNode::isLocked(MStatus* status) const {
    Node* node = host::nodeOf(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node && node->locked;
}

MStatus MFnDependencyNode::setLocked(bool locked) {
    Node* node = host::nodeOf(object_);
    if (!node)
        return MS::kFailure;
    node->locked = locked;
    return MS::kSuccess;
}
