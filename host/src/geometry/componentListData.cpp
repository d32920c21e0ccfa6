// MFnComponentListData: components seen through a component list's ranges, which stay the
// list's own form (so a list read from a file is written back as read).

#include "geometry/componentList.h"
#include "graph/statusOut.h"

#include <maya/MFnComponent.h>
#include <maya/MFnComponentListData.h>

#include <algorithm>
#include <set>

using host::ComponentListData;
using host::report;

MFnComponentListData::MFnComponentListData(MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MStatus MFnComponentListData::setObject(const MObject& object) {
    object_ = object;
    return host::componentListIn(object) ? MS::kSuccess : MS::kInvalidParameter;
}

MObject MFnComponentListData::create(MStatus* status) {
    object_ = host::makeComponentListData({});
    report(status, MS::kSuccess);
    return object_;
}

unsigned int MFnComponentListData::length(MStatus* status) const {
    const ComponentListData* list = host::componentListIn(object_);
    report(status, list ? MS::kSuccess : MS::kFailure);
    return list ? static_cast<unsigned int>(host::componentTypesIn(list->ranges).size()) : 0;
}

MObject MFnComponentListData::operator[](const unsigned int index) const {
    const ComponentListData* list = host::componentListIn(object_);
    if (!list)
        return MObject();
    const std::vector<MFn::Type> types = host::componentTypesIn(list->ranges);
    return index < types.size() ? host::componentOfRanges(list->ranges, types[index]) : MObject();
}

bool MFnComponentListData::has(const MObject& comp) const {
    const ComponentListData* list = host::componentListIn(object_);
    const host::Component* wanted = host::componentIn(comp);
    if (!list || !wanted)
        return false;
    MObject heldObject = host::componentOfRanges(list->ranges, wanted->kind);
    const host::Component& held = *host::componentIn(heldObject);
    if (wanted->complete) {
        if (!held.complete)
            return false;
        for (size_t d = 0; d < 3; ++d)
            if (held.completeCounts[d] != host::kShapeCount &&
                (wanted->completeCounts[d] == host::kShapeCount ||
                 wanted->completeCounts[d] > held.completeCounts[d]))
                return false;
    }
    const std::set<host::ComponentIndex> listed(held.elements().begin(), held.elements().end());
    for (const host::ComponentIndex& element : wanted->elements())
        if (!held.completeHolds(element) && !listed.count(element))
            return false;
    return true;
}

MStatus MFnComponentListData::add(MObject& comp) {
    ComponentListData* list = host::componentListIn(object_);
    const host::Component* component = host::componentIn(comp);
    if (!list)
        return MS::kFailure;
    if (!component || host::componentKindOf(component->kind).empty())
        return MS::kInvalidParameter;
    for (host::ComponentRange& range : host::rangesOfComponent(*component))
        list->ranges.push_back(std::move(range));
    return MS::kSuccess;
}

MStatus MFnComponentListData::remove(const MObject& comp) {
    const host::Component* component = host::componentIn(comp);
    const ComponentListData* list = host::componentListIn(object_);
    if (!list)
        return MS::kFailure;
    if (!component)
        return MS::kInvalidParameter;
    const std::vector<MFn::Type> types = host::componentTypesIn(list->ranges);
    auto found = std::find(types.begin(), types.end(), component->kind);
    if (found == types.end() ||
        !MFnComponent(host::componentOfRanges(list->ranges, component->kind)).isEqual(comp))
        return MS::kInvalidParameter;
    return remove(static_cast<unsigned int>(found - types.begin()));
}

MStatus MFnComponentListData::remove(const unsigned int index) {
    ComponentListData* list = host::componentListIn(object_);
    if (!list)
        return MS::kFailure;
    const std::vector<MFn::Type> types = host::componentTypesIn(list->ranges);
    if (index >= types.size())
        return MS::kInvalidParameter;
    const MFn::Type type = types[index];
    list->ranges.erase(std::remove_if(list->ranges.begin(), list->ranges.end(),
                                      [type](const host::ComponentRange& range) {
                                          return host::componentTypeOf(range) == type;
                                      }),
                       list->ranges.end());
    return MS::kSuccess;
}

MStatus MFnComponentListData::clear() {
    ComponentListData* list = host::componentListIn(object_);
    if (!list)
        return MS::kFailure;
    list->ranges.clear();
    return MS::kSuccess;
}
