#include "graph/statusOut.h"
#include "builtin/transformNode.h"
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
        if (n->type()->api == MFn::kTransform) {
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
    std::string path;
    for (; n; n = n->parent())
        path = "|" + n->name() + path;
    return MString(path.c_str());
}

MString MDagPath::partialPathName(MStatus* status) const {
    host::Node* n = host::nodeOf(node_);
    report(status, n ? MS::kSuccess : MS::kFailure);
    return n ? MString(n->name().c_str()) : MString();
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
