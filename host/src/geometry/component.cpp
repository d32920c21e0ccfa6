#include "geometry/component.h"

#include "graph/statusOut.h"

#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MIntArray.h>

#include <algorithm>

namespace host {

const char* Component::apiTypeStr() const {
    switch (kind) {
    case MFn::kMeshPolygonComponent:
        return "kMeshPolygonComponent";
    case MFn::kMeshVertComponent:
        return "kMeshVertComponent";
    case MFn::kMeshEdgeComponent:
        return "kMeshEdgeComponent";
    default:
        return "kSingleIndexedComponent";
    }
}

void Component::add(int element) {
    if (std::find(elements.begin(), elements.end(), element) == elements.end())
        elements.push_back(element);
}

bool isSingleIndexedType(MFn::Type type) {
    return type == MFn::kMeshPolygonComponent || type == MFn::kMeshVertComponent ||
           type == MFn::kMeshEdgeComponent;
}

MObject makeComponent(MFn::Type kind, std::vector<int> elements) {
    auto component = std::make_shared<Component>();
    component->kind = kind;
    for (int element : elements)
        component->add(element);
    return MObject(component);
}

Component* componentIn(const MObject& object) {
    return dynamic_cast<Component*>(object.impl().get());
}

} // namespace host

using host::report;

// MFnComponent

MFnComponent::MFnComponent(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MStatus MFnComponent::setObject(const MObject& object) {
    object_ = object;
    return host::componentIn(object) ? MS::kSuccess : MS::kInvalidParameter;
}

int MFnComponent::elementCount(MStatus* status) const {
    host::Component* component = host::componentIn(object_);
    report(status, component ? MS::kSuccess : MS::kFailure);
    if (!component)
        return 0;
    return component->complete ? component->completeCount
                               : static_cast<int>(component->elements.size());
}

MFn::Type MFnComponent::componentType(MStatus* status) const {
    host::Component* component = host::componentIn(object_);
    report(status, component ? MS::kSuccess : MS::kFailure);
    return component ? component->kind : MFn::kInvalid;
}

bool MFnComponent::isEmpty(MStatus* status) const {
    return elementCount(status) == 0;
}

bool MFnComponent::isComplete(MStatus* status) const {
    host::Component* component = host::componentIn(object_);
    report(status, component ? MS::kSuccess : MS::kFailure);
    return component && component->complete;
}

bool MFnComponent::isEqual(const MObject& other, MStatus* status) const {
    host::Component* a = host::componentIn(object_);
    host::Component* b = host::componentIn(other);
    report(status, a && b ? MS::kSuccess : MS::kInvalidParameter);
    if (!a || !b || a->kind != b->kind)
        return false;
    auto sortedElements = [](const host::Component& c) {
        std::vector<int> all = c.elements;
        if (c.complete)
            for (int i = 0; i < c.completeCount; ++i)
                all.push_back(i);
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    };
    return sortedElements(*a) == sortedElements(*b);
}

// MFnSingleIndexedComponent

MFnSingleIndexedComponent::MFnSingleIndexedComponent(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MObject MFnSingleIndexedComponent::create(MFn::Type compType, MStatus* status) {
    if (!host::isSingleIndexedType(compType)) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    object_ = host::makeComponent(compType, {});
    report(status, MS::kSuccess);
    return object_;
}

MStatus MFnSingleIndexedComponent::addElement(int element) {
    host::Component* component = host::componentIn(object_);
    if (!component)
        return MS::kFailure;
    if (element < 0)
        return MS::kInvalidParameter;
    if (component->complete && element < component->completeCount)
        return MS::kSuccess;
    component->add(element);
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::addElements(MIntArray& elements) {
    host::Component* component = host::componentIn(object_);
    if (!component)
        return MS::kFailure;
    for (unsigned int i = 0; i < elements.length(); ++i)
        if (elements[i] < 0)
            return MS::kInvalidParameter;
    for (unsigned int i = 0; i < elements.length(); ++i)
        addElement(elements[i]);
    return MS::kSuccess;
}

int MFnSingleIndexedComponent::element(int index, MStatus* status) const {
    MIntArray all;
    if (!getElements(all) || index < 0 || static_cast<unsigned int>(index) >= all.length()) {
        report(status, MS::kInvalidParameter);
        return -1;
    }
    report(status, MS::kSuccess);
    return all[static_cast<unsigned int>(index)];
}

MStatus MFnSingleIndexedComponent::getElements(MIntArray& elements) const {
    elements.clear();
    host::Component* component = host::componentIn(object_);
    if (!component)
        return MS::kFailure;
    if (component->complete)
        for (int i = 0; i < component->completeCount; ++i)
            elements.append(i);
    for (int element : component->elements)
        if (!component->complete || element >= component->completeCount)
            elements.append(element);
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::setCompleteData(int numElements) {
    host::Component* component = host::componentIn(object_);
    if (!component)
        return MS::kFailure;
    if (numElements < 0)
        return MS::kInvalidParameter;
    component->complete = true;
    component->completeCount = numElements;
    component->elements.clear();
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::getCompleteData(int& numElements) const {
    host::Component* component = host::componentIn(object_);
    if (!component)
        return MS::kFailure;
    numElements = component->complete ? component->completeCount : 0;
    return MS::kSuccess;
}
