#include "graph/graph.h"
#include "graph/node.h"

#include <maya/MItDependencyNodes.h>

MItDependencyNodes::MItDependencyNodes(MFn::Type filter, MStatus* status) {
    const MStatus reset = this->reset(filter);
    if (status)
        *status = reset;
}

MItDependencyNodes::~MItDependencyNodes() = default;

MStatus MItDependencyNodes::reset() {
    return reset(filter_);
}

MStatus MItDependencyNodes::reset(MFn::Type filter) {
    filter_ = filter;
    nodes_.clear();
    at_ = 0;
    for (host::Node* node : host::Graph::instance().nodes()) {
        MObject object = node->object();
        if (filter == MFn::kInvalid || object.hasFn(filter))
            nodes_.push_back(object);
    }
    return MS::kSuccess;
}

// A node deleted since the walk began is passed over.
void MItDependencyNodes::skipGone() const {
    while (at_ < nodes_.size()) {
        host::Node* node = host::nodeOf(nodes_[at_]);
        if (node && node->alive())
            break;
        ++at_;
    }
}

MObject MItDependencyNodes::thisNode(MStatus* status) const {
    skipGone();
    const bool inside = at_ < nodes_.size();
    if (status)
        *status = inside ? MS::kSuccess : MS::kFailure;
    return inside ? nodes_[at_] : MObject();
}

MObject MItDependencyNodes::item(MStatus* status) const {
    return thisNode(status);
}

MStatus MItDependencyNodes::next() {
    skipGone();
    if (at_ >= nodes_.size())
        return MS::kFailure;
    ++at_;
    skipGone();
    return MS::kSuccess;
}

bool MItDependencyNodes::isDone(MStatus* status) const {
    skipGone();
    if (status)
        *status = MS::kSuccess;
    return at_ >= nodes_.size();
}
