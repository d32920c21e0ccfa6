// MSelectionList: nodes, and DAG nodes with components.

#include "foundation/wildcard.h"
#include "geometry/component.h"
#include "geometry/componentList.h"
#include "geometry/meshNode.h"
#include "graph/graph.h"
#include "graph/statusOut.h"

#include <maya/MSelectionList.h>

#include <algorithm>

using host::Component;
using host::Node;
using host::report;
using host::wildcardMatch;

namespace {

// A copy, so later edits to the caller's component object do not reach the list.
MObject copyOf(const MObject& component) {
    const Component* source = host::componentIn(component);
    return source ? host::copyComponent(*source) : MObject();
}

} // namespace

unsigned int MSelectionList::length(MStatus* status) const {
    report(status, MS::kSuccess);
    return static_cast<unsigned int>(items_.size());
}

bool MSelectionList::isEmpty(MStatus* status) const {
    report(status, MS::kSuccess);
    return items_.empty();
}

MStatus MSelectionList::clear() {
    items_.clear();
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MObject& object, bool mergeWithExisting) {
    Node* node = host::nodeOf(object);
    if (!node)
        return MS::kInvalidParameter;
    if (node->type()->dag) {
        MDagPath path;
        MDagPath::getAPathTo(object, path);
        return add(path, MObject(), mergeWithExisting);
    }
    for (const Item& item : items_)
        if (item.node == object)
            return MS::kSuccess;
    items_.push_back(Item{object, MObject(), false});
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MDagPath& object, const MObject& component,
                            bool mergeWithExisting) {
    Node* node = host::nodeOf(object.node());
    if (!node || !node->type()->dag)
        return MS::kInvalidParameter;
    const Component* parts = host::componentIn(component);
    if (!component.isNull() && !parts)
        return MS::kInvalidParameter;
    const MObject target = object.node();
    auto sameNode = [&](const Item& item) { return item.node == target; };
    for (const Item& item : items_)
        if (sameNode(item) && item.component.isNull())
            return MS::kSuccess; // already there as a whole
    if (!parts) {
        auto first = std::find_if(items_.begin(), items_.end(), sameNode);
        if (!mergeWithExisting || first == items_.end()) {
            items_.push_back(Item{target, MObject(), true});
            return MS::kSuccess;
        }
        // The whole node takes the place of its components.
        first->component = MObject();
        items_.erase(std::remove_if(first + 1, items_.end(), sameNode), items_.end());
        return MS::kSuccess;
    }
    if (mergeWithExisting)
        for (Item& item : items_) {
            Component* held = sameNode(item) ? host::componentIn(item.component) : nullptr;
            if (held && held->kind == parts->kind) {
                for (const host::ComponentIndex& element : parts->allElements())
                    held->add(element);
                return MS::kSuccess;
            }
        }
    items_.push_back(Item{target, copyOf(component), true});
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MString& matchString, bool) {
    std::string text = matchString.asChar();
    size_t dot = text.find('.');
    if (dot == std::string::npos && text.find_first_of("*?") == std::string::npos) {
        // A name or path adds the one node it names; one that matches several fails, as in Maya.
        Node* node = host::Graph::instance().find(text);
        if (!node)
            return MS::kInvalidParameter;
        add(node->object());
        return MS::kSuccess;
    }
    if (dot == std::string::npos) {
        bool found = false;
        for (Node* node : host::Graph::instance().nodes())
            if (node->alive() && wildcardMatch(text, node->name())) {
                add(node->object());
                found = true;
            }
        return found ? MS::kSuccess : MS::kInvalidParameter;
    }
    Node* node = host::Graph::instance().find(text.substr(0, dot));
    host::ComponentRange range;
    std::string error;
    if (!node || !node->type()->dag ||
        !host::parseComponentRange(text.substr(dot + 1), range, error) || range.spans.size() != 1)
        return MS::kInvalidParameter;
    MDagPath path;
    MDagPath::getAPathTo(node->object(), path);
    if (!path.extendToShape() || !host::isMeshNode(host::nodeOf(path.node())))
        return MS::kInvalidParameter;
    const MFn::Type kind = host::componentTypeOf(range);
    std::shared_ptr<const host::Mesh> mesh = host::meshOfNode(*host::nodeOf(path.node()));
    const int total = kind == MFn::kMeshPolygonComponent ? mesh->numPolygons()
                      : kind == MFn::kMeshVertComponent  ? mesh->numVertices()
                      : kind == MFn::kMeshEdgeComponent  ? mesh->numEdges()
                                                         : -1;
    const host::IndexSpan& span = range.spans.front();
    const int first = span.all ? 0 : span.first, last = span.all ? total - 1 : span.last;
    if (total < 0 || last >= total)
        return MS::kInvalidParameter;
    std::vector<int> elements;
    for (int i = first; i <= last; ++i)
        elements.push_back(i);
    return add(path, host::makeComponent(kind, elements), true);
}

MStatus MSelectionList::merge(const MSelectionList& other, MergeStrategy strategy) {
    if (strategy == kXORWithList)
        return MS::kNotImplemented;
    for (const Item& item : other.items_) {
        if (strategy == kRemoveFromList) {
            if (item.component.isNull())
                items_.erase(
                    std::remove_if(items_.begin(), items_.end(),
                                   [&](const Item& mine) { return mine.node == item.node; }),
                    items_.end());
            continue;
        }
        if (!item.dag) {
            add(item.node, true);
            continue;
        }
        MDagPath path;
        MDagPath::getAPathTo(item.node, path);
        add(path, item.component, true);
    }
    return MS::kSuccess;
}

MStatus MSelectionList::remove(unsigned int index) {
    if (index >= items_.size())
        return MS::kInvalidParameter;
    items_.erase(items_.begin() + index);
    return MS::kSuccess;
}

MStatus MSelectionList::getDependNode(unsigned int index, MObject& depNode) const {
    if (index >= items_.size() || !host::nodeOf(items_[index].node))
        return MS::kInvalidParameter;
    depNode = items_[index].node;
    return MS::kSuccess;
}

MStatus MSelectionList::getDagPath(unsigned int index, MDagPath& dagPath,
                                   MObject& component) const {
    if (index >= items_.size())
        return MS::kInvalidParameter;
    const Item& item = items_[index];
    if (!item.dag || !host::nodeOf(item.node))
        return MS::kFailure;
    MStatus status = MDagPath::getAPathTo(item.node, dagPath);
    // The default argument is the shared null object: never write into it.
    if (status && &component != &MObject::kNullObj)
        component = item.component;
    return status;
}

MStatus MSelectionList::getSelectionStrings(MStringArray& array) const {
    array.clear();
    for (unsigned int i = 0; i < items_.size(); ++i) {
        MStringArray one;
        getSelectionStrings(i, one);
        for (unsigned int k = 0; k < one.length(); ++k)
            array.append(one[k]);
    }
    return MS::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(unsigned int index, MStringArray& array) const {
    array.clear();
    if (index >= items_.size())
        return MS::kInvalidParameter;
    const Item& item = items_[index];
    Node* node = host::nodeOf(item.node);
    if (!node)
        return MS::kFailure;
    const Component* parts = host::componentIn(item.component);
    if (!parts) {
        array.append(MString(host::Graph::instance().names().partialPath(node).c_str()));
        return MS::kSuccess;
    }
    for (const host::ComponentRange& range : host::rangesOfComponent(*parts))
        array.append(MString((host::Graph::instance().names().partialPath(node) + "." +
                              host::formatComponentRange(range))
                                 .c_str()));
    return MS::kSuccess;
}

bool MSelectionList::hasItem(const MObject& item, MStatus* status) const {
    report(status, MS::kSuccess);
    for (const Item& mine : items_)
        if (mine.node == item)
            return true;
    return false;
}

bool MSelectionList::hasItem(const MDagPath& item, const MObject& component,
                             MStatus* status) const {
    report(status, MS::kSuccess);
    const MObject target = item.node();
    const Component* parts = host::componentIn(component);
    auto sortedElements = [](const Component& c) {
        std::vector<host::ComponentIndex> all = c.allElements();
        std::sort(all.begin(), all.end());
        return all;
    };
    std::vector<host::ComponentIndex> wanted =
        parts ? sortedElements(*parts) : std::vector<host::ComponentIndex>();
    for (const Item& mine : items_) {
        if (mine.node != target)
            continue;
        if (mine.component.isNull())
            return true;
        const Component* held = host::componentIn(mine.component);
        if (!parts || held->kind != parts->kind)
            continue;
        const std::vector<host::ComponentIndex> have = sortedElements(*held);
        wanted.erase(std::remove_if(wanted.begin(), wanted.end(),
                                    [&](const host::ComponentIndex& e) {
                                        return std::binary_search(have.begin(), have.end(), e);
                                    }),
                     wanted.end());
        if (wanted.empty())
            return true;
    }
    return false;
}
