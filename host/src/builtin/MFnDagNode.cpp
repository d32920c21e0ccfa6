// MFnDagNode: the DAG place of transforms and shapes.

#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "graph/statusOut.h"

#include <maya/MFnDagNode.h>
#include <maya/MGlobal.h>

using host::Graph;
using host::Node;
using host::report;

namespace {

Node* dagNode(const MObject& object) {
    Node* node = host::nodeOf(object);
    return node && node->type()->dag ? node : nullptr;
}

} // namespace

MFnDagNode::MFnDagNode(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MFnDagNode::MFnDagNode(const MDagPath& path, MStatus* status) {
    report(status, setObject(path));
}

MStatus MFnDagNode::setObject(const MObject& object) {
    object_ = object;
    path_ = MDagPath();
    hasPath_ = false;
    return dagNode(object) ? MS::kSuccess : MS::kInvalidParameter;
}

MStatus MFnDagNode::setObject(const MDagPath& path) {
    object_ = path.node();
    path_ = path;
    hasPath_ = dagNode(object_) != nullptr;
    return hasPath_ ? MS::kSuccess : MS::kInvalidParameter;
}

MObject MFnDagNode::create(const MString& type, MObject& parent, MStatus* status) {
    return create(type, MString(), parent, status);
}

MObject MFnDagNode::create(const MString& type, const MString& name, MObject& parent,
                           MStatus* status) {
    Graph& graph = Graph::instance();
    host::NodeType* nodeType = host::TypeRegistry::instance().findNode(type.asChar());
    Node* parentNode = parent.isNull() ? nullptr : dagNode(parent);
    if (!nodeType || !nodeType->dag || (!parent.isNull() && !parentNode)) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    std::string error;
    Node* top = nullptr;
    if (nodeType->shape && !parentNode) {
        top = parentNode = graph.createNode("transform", "", nullptr, &error);
        if (!top) {
            MGlobal::displayError(error.c_str());
            report(status, MS::kFailure);
            return MObject();
        }
    }
    Node* node = graph.createNode(type.asChar(), name.asChar(), parentNode, &error);
    if (!node) {
        if (top)
            graph.deleteNode(top, &error);
        MGlobal::displayError(error.c_str());
        report(status, MS::kFailure);
        return MObject();
    }
    setObject(node->object());
    report(status, MS::kSuccess);
    return top ? top->object() : node->object();
}

unsigned int MFnDagNode::parentCount(MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node && node->parent() ? 1 : 0;
}

MObject MFnDagNode::parent(unsigned int index, MStatus* status) const {
    Node* node = dagNode(object_);
    if (!node || index != 0 || !node->parent()) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    return node->parent()->object();
}

unsigned int MFnDagNode::childCount(MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? static_cast<unsigned int>(node->children().size()) : 0;
}

MObject MFnDagNode::child(unsigned int index, MStatus* status) const {
    Node* node = dagNode(object_);
    if (!node || index >= node->children().size()) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    return node->children()[index]->object();
}

MStatus MFnDagNode::addChild(MObject& child, unsigned int, bool) {
    Node* node = dagNode(object_);
    Node* other = dagNode(child);
    if (!node || !other)
        return MS::kInvalidParameter;
    std::string error;
    if (!Graph::instance().reparent(other, node, &error)) {
        MGlobal::displayError(error.c_str());
        return MS::kFailure;
    }
    return MS::kSuccess;
}

MStatus MFnDagNode::removeChild(MObject& child) {
    Node* node = dagNode(object_);
    Node* other = dagNode(child);
    if (!node || !other || other->parent() != node)
        return MS::kInvalidParameter;
    std::string error;
    return Graph::instance().reparent(other, nullptr, &error);
}

bool MFnDagNode::hasParent(const MObject& other, MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node && node->parent() && node->parent() == dagNode(other);
}

bool MFnDagNode::hasChild(const MObject& other, MStatus* status) const {
    Node* node = dagNode(object_);
    Node* child = dagNode(other);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node && child && child->parent() == node;
}

bool MFnDagNode::isChildOf(const MObject& other, MStatus* status) const {
    return hasParent(other, status);
}

bool MFnDagNode::isParentOf(const MObject& other, MStatus* status) const {
    return hasChild(other, status);
}

MStatus MFnDagNode::getPath(MDagPath& path) const {
    if (hasPath_) {
        path = path_;
        return MS::kSuccess;
    }
    return MDagPath::getAPathTo(object_, path);
}

MDagPath MFnDagNode::dagPath(MStatus* status) const {
    MDagPath path;
    report(status, getPath(path));
    return path;
}

MString MFnDagNode::fullPathName(MStatus* status) const {
    return dagPath(status).fullPathName();
}

MString MFnDagNode::partialPathName(MStatus* status) const {
    return dagPath(status).partialPathName();
}

MMatrix MFnDagNode::transformationMatrix(MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? host::localMatrix(*node) : MMatrix();
}

bool MFnDagNode::isIntermediateObject(MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    MPlug plug = findPlug("intermediateObject");
    return node && plug.asBool();
}

MStatus MFnDagNode::setIntermediateObject(bool isIntermediate) {
    if (!dagNode(object_))
        return MS::kFailure;
    return findPlug("intermediateObject").setValue(isIntermediate);
}

bool MFnDagNode::isInstanced(bool, MStatus* status) const {
    report(status, dagNode(object_) ? MS::kSuccess : MS::kFailure);
    return false;
}

unsigned int MFnDagNode::instanceCount(bool, MStatus* status) const {
    Node* node = dagNode(object_);
    report(status, node ? MS::kSuccess : MS::kFailure);
    return node ? 1 : 0;
}
