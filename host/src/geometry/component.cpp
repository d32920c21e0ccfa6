#include "geometry/component.h"

#include "graph/statusOut.h"

#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MIntArray.h>

#include <algorithm>

namespace host {

namespace {

struct ComponentTypeInfo {
    MFn::Type type;
    int dimensions;
    const char* name;
};

constexpr ComponentTypeInfo kComponentTypes[] = {
    {MFn::kMeshPolygonComponent, 1, "kMeshPolygonComponent"},
    {MFn::kMeshVertComponent, 1, "kMeshVertComponent"},
    {MFn::kMeshEdgeComponent, 1, "kMeshEdgeComponent"},
    {MFn::kMeshMapComponent, 1, "kMeshMapComponent"},
    {MFn::kCurveCVComponent, 1, "kCurveCVComponent"},
    {MFn::kCurveEPComponent, 1, "kCurveEPComponent"},
    {MFn::kSurfaceCVComponent, 2, "kSurfaceCVComponent"},
    {MFn::kMeshVtxFaceComponent, 2, "kMeshVtxFaceComponent"},
    {MFn::kLatticeComponent, 3, "kLatticeComponent"},
};

const ComponentTypeInfo* typeInfo(MFn::Type type) {
    for (const ComponentTypeInfo& info : kComponentTypes)
        if (info.type == type)
            return &info;
    return nullptr;
}

} // namespace

const char* Component::apiTypeStr() const {
    const ComponentTypeInfo* info = typeInfo(kind);
    return info ? info->name : "kComponent";
}

bool Component::hasFn(MFn::Type type) const {
    static constexpr MFn::Type byDimensions[] = {
        MFn::kSingleIndexedComponent, MFn::kDoubleIndexedComponent, MFn::kTripleIndexedComponent};
    return type == MFn::kBase || type == MFn::kComponent || type == kind ||
           type == byDimensions[dimensions() - 1];
}

int Component::dimensions() const {
    return std::max(1, componentDimensions(kind));
}

void Component::add(const ComponentIndex& element) {
    if (members_.insert(element).second)
        elements_.push_back(element);
}

void Component::clearElements() {
    elements_.clear();
    members_.clear();
}

bool Component::completeHolds(const ComponentIndex& element) const {
    if (!complete)
        return false;
    for (int d = 0; d < dimensions(); ++d)
        if (completeCounts[d] != kShapeCount && element[d] >= completeCounts[d])
            return false;
    return true;
}

std::vector<ComponentIndex> Component::allElements() const {
    std::vector<ComponentIndex> all;
    const int dims = dimensions();
    bool known = complete;
    for (int d = 0; d < dims; ++d)
        known = known && completeCounts[d] > 0;
    if (known) {
        ComponentIndex at{0, 0, 0};
        while (at[0] < completeCounts[0]) {
            all.push_back(at);
            for (int d = dims - 1; d >= 0; --d) {
                if (++at[d] < completeCounts[d] || d == 0)
                    break;
                at[d] = 0;
            }
        }
    }
    for (const ComponentIndex& element : elements_)
        if (!known || !completeHolds(element))
            all.push_back(element);
    return all;
}

int componentDimensions(MFn::Type type) {
    const ComponentTypeInfo* info = typeInfo(type);
    return info ? info->dimensions : 0;
}

MObject makeComponent(MFn::Type kind, const std::vector<int>& elements) {
    auto component = std::make_shared<Component>();
    component->kind = kind;
    for (int element : elements)
        component->add({element, 0, 0});
    return MObject(component);
}

MObject copyComponent(const Component& component) {
    return MObject(std::make_shared<Component>(component));
}

Component* componentIn(const MObject& object) {
    return dynamic_cast<Component*>(object.impl().get());
}

std::vector<int> singleIndices(const Component& component) {
    std::vector<int> indices;
    for (const ComponentIndex& element : component.allElements())
        indices.push_back(element[0]);
    return indices;
}

std::vector<int> sortedSingleIndices(const Component& component) {
    std::vector<int> indices = singleIndices(component);
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
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
    return component ? static_cast<int>(component->allElements().size()) : 0;
}

MFn::Type MFnComponent::componentType(MStatus* status) const {
    host::Component* component = host::componentIn(object_);
    report(status, component ? MS::kSuccess : MS::kFailure);
    return component ? component->kind : MFn::kInvalid;
}

bool MFnComponent::isEmpty(MStatus* status) const {
    host::Component* component = host::componentIn(object_);
    report(status, component ? MS::kSuccess : MS::kFailure);
    return !component || (component->allElements().empty() && !component->complete);
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
    // Complete in a direction whose count is the shape's: only the same can be equal.
    auto shapeCounted = [](const host::Component& c) {
        return c.complete &&
               std::count(c.completeCounts.begin(), c.completeCounts.end(), host::kShapeCount) > 0;
    };
    if ((shapeCounted(*a) || shapeCounted(*b)) &&
        (a->complete != b->complete || a->completeCounts != b->completeCounts))
        return false;
    auto sortedElements = [](const host::Component& c) {
        std::vector<host::ComponentIndex> all = c.allElements();
        std::sort(all.begin(), all.end());
        return all;
    };
    return sortedElements(*a) == sortedElements(*b);
}

// MFnSingleIndexedComponent

MFnSingleIndexedComponent::MFnSingleIndexedComponent(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MObject MFnSingleIndexedComponent::create(MFn::Type compType, MStatus* status) {
    if (host::componentDimensions(compType) != 1) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    object_ = host::makeComponent(compType, {});
    report(status, MS::kSuccess);
    return object_;
}

MStatus MFnSingleIndexedComponent::addElement(int element) {
    host::Component* component = host::componentIn(object_);
    if (!component || component->dimensions() != 1)
        return MS::kFailure;
    if (element < 0)
        return MS::kInvalidParameter;
    if (!component->completeHolds({element, 0, 0}))
        component->add({element, 0, 0});
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::addElements(MIntArray& elements) {
    host::Component* component = host::componentIn(object_);
    if (!component || component->dimensions() != 1)
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
    if (!component || component->dimensions() != 1)
        return MS::kFailure;
    for (int element : host::singleIndices(*component))
        elements.append(element);
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::setCompleteData(int numElements) {
    host::Component* component = host::componentIn(object_);
    if (!component || component->dimensions() != 1)
        return MS::kFailure;
    if (numElements < 0)
        return MS::kInvalidParameter;
    component->complete = true;
    component->completeCounts = {numElements, 0, 0};
    component->clearElements();
    return MS::kSuccess;
}

MStatus MFnSingleIndexedComponent::getCompleteData(int& numElements) const {
    host::Component* component = host::componentIn(object_);
    if (!component || component->dimensions() != 1)
        return MS::kFailure;
    numElements = component->complete ? std::max(0, component->completeCounts[0]) : 0;
    return MS::kSuccess;
}
