#include "graph/statusOut.h"
#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "graph/node.h"

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>

using host::report;

MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    host::Node* n = host::nodeOf(node);
    if (!n || !n->type()->dag)
        return MS::kInvalidParameter;
    path.node_ = node;
    return MS::kSuccess;
}

bool MDagPath::isValid(MStatus* status) const {
    report(status, MS::kSuccess);
    return host::nodeOf(node_) != nullptr;
}

MObject MDagPath::node(MStatus* status) const {
    report(status, isValid() ? MS::kSuccess : MS::kFailure);
    return node_;
}

MObject MDagPath::transform(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    for (; n; n = n->parent())
        if (n->hasFn(MFn::kTransform)) {
            report(status, MS::kSuccess);
            return n->object();
        }
    report(status, MS::kInvalidParameter);
    return MObject();
}

unsigned int MDagPath::length(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    unsigned int count = 0;
    for (; n; n = n->parent())
        ++count;
    return count;
}

MString MDagPath::fullPathName(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? MString(host::NodeNames::fullPath(n).c_str()) : MString();
}

MString MDagPath::partialPathName(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? MString(host::Graph::instance().names().partialPath(n).c_str()) : MString();
}

MStatus MDagPath::pop(unsigned int count) {
    host::Node* n = host::nodeOf(node_);
    for (unsigned int i = 0; i < count && n; ++i)
        n = n->parent();
    if (!n)
        return MS::kInvalidParameter;
    node_ = n->object();
    return MS::kSuccess;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? host::worldMatrix(*n) : MMatrix();
}

MMatrix MDagPath::exclusiveMatrix(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n && n->parent() ? host::worldMatrix(*n->parent()) : MMatrix();
}

MMatrix MDagPath::inclusiveMatrixInverse(MStatus* status) const {
    return inclusiveMatrix(status).inverse();
}

MMatrix MDagPath::exclusiveMatrixInverse(MStatus* status) const {
    return exclusiveMatrix(status).inverse();
}

namespace {

bool isShape(const host::Node* node) {
    return node && node->type()->shape;
}

std::vector<host::Node*> shapesBelow(const host::Node* node) {
    std::vector<host::Node*> shapes;
    if (node)
        for (host::Node* child : node->children())
            if (isShape(child))
                shapes.push_back(child);
    return shapes;
}

bool intermediate(host::Node* node) {
    const host::AttributeDef* io = node->findAttribute("intermediateObject");
    host::Slot* slot = io ? host::Graph::instance().pull(host::PlugRef{node, io, {}}) : nullptr;
    return slot && slot->get(io) != 0.0;
}

} // namespace

MStatus MDagPath::extendToShape() {
    host::Node* n = host::nodeOf(node_);
    if (!n)
        return MS::kInvalidParameter;
    if (isShape(n))
        return MS::kSuccess;
    std::vector<host::Node*> shapes = shapesBelow(n);
    if (shapes.size() > 1) {
        std::vector<host::Node*> used;
        for (host::Node* shape : shapes)
            if (!intermediate(shape))
                used.push_back(shape);
        shapes = used;
    }
    if (shapes.size() != 1)
        return MS::kInvalidParameter;
    node_ = shapes.front()->object();
    return MS::kSuccess;
}

MStatus MDagPath::extendToShapeDirectlyBelow(unsigned int index) {
    std::vector<host::Node*> shapes = shapesBelow(host::nodeOf(node_));
    if (index >= shapes.size())
        return MS::kInvalidParameter;
    node_ = shapes[index]->object();
    return MS::kSuccess;
}

MStatus MDagPath::numberOfShapesDirectlyBelow(unsigned int& num) const {
    host::Node* n = host::nodeOf(node_);
    num = static_cast<unsigned int>(shapesBelow(n).size());
    return n ? MS::kSuccess : MS::kFailure;
}

unsigned int MDagPath::childCount(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? static_cast<unsigned int>(n->children().size()) : 0;
}

MObject MDagPath::child(unsigned int index, MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    if (!n || index >= n->children().size()) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    report(status, MS::kSuccess);
    return n->children()[index]->object();
}

MStatus MDagPath::push(const MObject& child) {
    host::Node* n = host::nodeOf(node_);
    host::Node* c = host::nodeOf(child);
    if (!n || !c || c->parent() != n)
        return MS::kInvalidParameter;
    node_ = child;
    return MS::kSuccess;
}

bool MDagPath::hasFn(MFn::Type type, MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n && n->hasFn(type);
}

MFn::Type MDagPath::apiType(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? n->apiType() : MFn::kInvalid;
}

bool MDagPath::isInstanced(MStatus* status) const {
    report(status, host::nodeOf(node_) ? MS::kSuccess : MS::kFailure);
    return false;
}

unsigned int MDagPath::instanceNumber(MStatus* status) const {
    report(status, host::nodeOf(node_) ? MS::kSuccess : MS::kFailure);
    return 0;
}
