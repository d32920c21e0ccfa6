// MFnDoubleIndexedComponent and MFnTripleIndexedComponent: one implementation over the number of
// indices an element has.

#include "geometry/component.h"
#include "graph/statusOut.h"

#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnTripleIndexedComponent.h>
#include <maya/MIntArray.h>

#include <algorithm>

using host::Component;
using host::ComponentIndex;
using host::report;

namespace {

Component* attached(const MObject& object, int dimensions) {
    Component* component = host::componentIn(object);
    return component && component->dimensions() == dimensions ? component : nullptr;
}

MObject createComponent(MFn::Type type, int dimensions, MObject& attachedTo, MStatus* status) {
    if (host::componentDimensions(type) != dimensions) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    attachedTo = host::makeComponent(type, {});
    report(status, MS::kSuccess);
    return attachedTo;
}

MStatus addIndices(const MObject& object, int dimensions, const ComponentIndex& element) {
    Component* component = attached(object, dimensions);
    if (!component)
        return MS::kFailure;
    for (int d = 0; d < dimensions; ++d)
        if (element[d] < 0)
            return MS::kInvalidParameter;
    if (!component->completeHolds(element))
        component->add(element);
    return MS::kSuccess;
}

MStatus addIndexArrays(const MObject& object, int dimensions, const MIntArray* arrays[3]) {
    if (!attached(object, dimensions))
        return MS::kFailure;
    const unsigned int count = arrays[0]->length();
    for (int d = 0; d < dimensions; ++d) {
        if (arrays[d]->length() != count)
            return MS::kInvalidParameter;
        for (unsigned int i = 0; i < count; ++i)
            if ((*arrays[d])[i] < 0)
                return MS::kInvalidParameter;
    }
    for (unsigned int i = 0; i < count; ++i) {
        ComponentIndex element{0, 0, 0};
        for (int d = 0; d < dimensions; ++d)
            element[static_cast<size_t>(d)] = (*arrays[d])[i];
        addIndices(object, dimensions, element);
    }
    return MS::kSuccess;
}

MStatus elementAt(const MObject& object, int dimensions, int index, ComponentIndex& element) {
    Component* component = attached(object, dimensions);
    if (!component)
        return MS::kFailure;
    const std::vector<ComponentIndex> all = component->allElements();
    if (index < 0 || static_cast<size_t>(index) >= all.size())
        return MS::kInvalidParameter;
    element = all[static_cast<size_t>(index)];
    return MS::kSuccess;
}

MStatus indexArrays(const MObject& object, int dimensions, MIntArray* arrays[3]) {
    for (int d = 0; d < dimensions; ++d)
        arrays[d]->clear();
    Component* component = attached(object, dimensions);
    if (!component)
        return MS::kFailure;
    for (const ComponentIndex& element : component->allElements())
        for (int d = 0; d < dimensions; ++d)
            arrays[d]->append(element[static_cast<size_t>(d)]);
    return MS::kSuccess;
}

MStatus setComplete(const MObject& object, int dimensions, const ComponentIndex& counts) {
    Component* component = attached(object, dimensions);
    if (!component)
        return MS::kFailure;
    for (int d = 0; d < dimensions; ++d)
        if (counts[d] < 0)
            return MS::kInvalidParameter;
    component->complete = true;
    component->completeCounts = counts;
    component->clearElements();
    return MS::kSuccess;
}

MStatus getComplete(const MObject& object, int dimensions, int* counts[3]) {
    Component* component = attached(object, dimensions);
    if (!component)
        return MS::kFailure;
    for (int d = 0; d < dimensions; ++d)
        *counts[d] = component->complete
                         ? std::max(0, component->completeCounts[static_cast<size_t>(d)])
                         : 0;
    return MS::kSuccess;
}

} // namespace

// MFnDoubleIndexedComponent

MFnDoubleIndexedComponent::MFnDoubleIndexedComponent(const MObject& object, MStatus* status) {
    report(status, setObject(object) && attached(object, 2) ? MS::kSuccess : MS::kInvalidParameter);
}

MObject MFnDoubleIndexedComponent::create(MFn::Type compType, MStatus* status) {
    return createComponent(compType, 2, object_, status);
}

MStatus MFnDoubleIndexedComponent::addElement(int uIndex, int vIndex) {
    return addIndices(object_, 2, {uIndex, vIndex, 0});
}

MStatus MFnDoubleIndexedComponent::addElements(MIntArray& uIndexArray, MIntArray& vIndexArray) {
    const MIntArray* arrays[3] = {&uIndexArray, &vIndexArray, nullptr};
    return addIndexArrays(object_, 2, arrays);
}

MStatus MFnDoubleIndexedComponent::getElement(int index, int& uIndex, int& vIndex) const {
    ComponentIndex element{0, 0, 0};
    MStatus status = elementAt(object_, 2, index, element);
    if (status) {
        uIndex = element[0];
        vIndex = element[1];
    }
    return status;
}

MStatus MFnDoubleIndexedComponent::getElements(MIntArray& uIndexArray,
                                               MIntArray& vIndexArray) const {
    MIntArray* arrays[3] = {&uIndexArray, &vIndexArray, nullptr};
    return indexArrays(object_, 2, arrays);
}

MStatus MFnDoubleIndexedComponent::setCompleteData(int maxU, int maxV) {
    return setComplete(object_, 2, {maxU, maxV, 0});
}

MStatus MFnDoubleIndexedComponent::getCompleteData(int& maxU, int& maxV) const {
    int* counts[3] = {&maxU, &maxV, nullptr};
    return getComplete(object_, 2, counts);
}

// MFnTripleIndexedComponent

MFnTripleIndexedComponent::MFnTripleIndexedComponent(const MObject& object, MStatus* status) {
    report(status, setObject(object) && attached(object, 3) ? MS::kSuccess : MS::kInvalidParameter);
}

MObject MFnTripleIndexedComponent::create(MFn::Type compType, MStatus* status) {
    return createComponent(compType, 3, object_, status);
}

MStatus MFnTripleIndexedComponent::addElement(int sIndex, int tIndex, int uIndex) {
    return addIndices(object_, 3, {sIndex, tIndex, uIndex});
}

MStatus MFnTripleIndexedComponent::addElements(MIntArray& sIndexArray, MIntArray& tIndexArray,
                                               MIntArray& uIndexArray) {
    const MIntArray* arrays[3] = {&sIndexArray, &tIndexArray, &uIndexArray};
    return addIndexArrays(object_, 3, arrays);
}

MStatus MFnTripleIndexedComponent::getElement(int index, int& sIndex, int& tIndex,
                                              int& uIndex) const {
    ComponentIndex element{0, 0, 0};
    MStatus status = elementAt(object_, 3, index, element);
    if (status) {
        sIndex = element[0];
        tIndex = element[1];
        uIndex = element[2];
    }
    return status;
}

MStatus MFnTripleIndexedComponent::getElements(MIntArray& sIndexArray, MIntArray& tIndexArray,
                                               MIntArray& uIndexArray) const {
    MIntArray* arrays[3] = {&sIndexArray, &tIndexArray, &uIndexArray};
    return indexArrays(object_, 3, arrays);
}

MStatus MFnTripleIndexedComponent::setCompleteData(int maxS, int maxT, int maxU) {
    return setComplete(object_, 3, {maxS, maxT, maxU});
}

MStatus MFnTripleIndexedComponent::getCompleteData(int& maxS, int& maxT, int& maxU) const {
    int* counts[3] = {&maxS, &maxT, &maxU};
    return getComplete(object_, 3, counts);
}
