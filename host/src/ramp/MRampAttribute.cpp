// MRampAttribute: reads and writes a ramp's entries through the node's plugs and evaluates
// them with evaluateRamp.

#include "graph/graph.h"
#include "graph/statusOut.h"
#include "ramp/rampCurve.h"
#include "ramp/rampLayout.h"

#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MRampAttribute.h>

#include <algorithm>
#include <cmath>
#include <vector>

using host::Graph;
using host::PlugRef;
using host::RampLayout;
using host::RampPoint;
using host::report;

namespace {

struct Entry {
    int index;
    RampPoint point;
};

// The layout of the ramp a plug is the array plug of.
bool layoutOf(const MPlug& plug, RampLayout& layout) {
    return !plug.isNull() && host::findRampLayout(host::attributeDef(plug.attribute()), layout) &&
           plug.isArray();
}

std::vector<int> entryIndices(const MPlug& array) {
    MPlug copy = array;
    MIntArray indices;
    copy.getExistingArrayAttributeIndices(indices);
    std::vector<int> result;
    for (unsigned int i = 0; i < indices.length(); ++i)
        result.push_back(indices[i]);
    return result;
}

MStatus readEntries(const MPlug& array, const RampLayout& layout, std::vector<Entry>& entries) {
    entries.clear();
    for (int index : entryIndices(array)) {
        Entry entry{index, RampPoint()};
        MStatus status = host::readRampEntry(
            array.elementByLogicalIndex(static_cast<unsigned>(index)), layout, entry.point);
        if (!status)
            return status;
        entries.push_back(entry);
    }
    return MS::kSuccess;
}

bool validInterp(int interp) {
    return interp >= MRampAttribute::kNone && interp <= MRampAttribute::kSpline;
}

MStatus addPoints(const MPlug& array, const RampLayout& layout,
                  const std::vector<RampPoint>& points) {
    for (const RampPoint& point : points) {
        if (!validInterp(point.interp) || !std::isfinite(point.position))
            return MS::kInvalidParameter;
        for (float v : point.value)
            if (!std::isfinite(v))
                return MS::kInvalidParameter;
    }
    std::vector<int> used = entryIndices(array);
    unsigned int next = used.empty() ? 0u : static_cast<unsigned int>(used.back()) + 1u;
    for (const RampPoint& point : points) {
        MStatus status = host::writeRampEntry(array.elementByLogicalIndex(next++), layout, point);
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

// Removes an entry: its connections are broken first, then its stored values go.
void removeEntry(const PlugRef& array, int index) {
    Graph& graph = Graph::instance();
    PlugRef element = array;
    element.indices.back() = index;
    std::string ignored;
    for (const auto& c : std::vector<std::shared_ptr<host::Connection>>(array.node->incoming))
        if (element.covers(c->destination))
            graph.disconnect(c->source, c->destination, &ignored);
    for (const auto& c : std::vector<std::shared_ptr<host::Connection>>(array.node->outgoing))
        if (element.covers(c->source))
            graph.disconnect(c->source, c->destination, &ignored);
    if (host::Slot* container = array.node->slot(array.attribute, array.indices, false))
        container->elements.erase(static_cast<unsigned int>(index));
}

} // namespace

MRampAttribute::MRampAttribute() = default;
MRampAttribute::MRampAttribute(const MRampAttribute& other) = default;
MRampAttribute& MRampAttribute::operator=(const MRampAttribute& other) = default;
MRampAttribute::~MRampAttribute() = default;

MRampAttribute::MRampAttribute(const MPlug& plug, MStatus* ReturnStatus) {
    RampLayout layout;
    if (!layoutOf(plug, layout)) {
        report(ReturnStatus, MS::kInvalidParameter);
        return;
    }
    plug_ = plug;
    report(ReturnStatus, MS::kSuccess);
}

MRampAttribute::MRampAttribute(const MObject& node, const MObject& attribute, MStatus* ReturnStatus)
    : MRampAttribute(MPlug(node, attribute), ReturnStatus) {}

unsigned int MRampAttribute::getNumEntries(MStatus* returnStatus) {
    RampLayout layout;
    if (!layoutOf(plug_, layout)) {
        report(returnStatus, MS::kFailure);
        return 0;
    }
    report(returnStatus, MS::kSuccess);
    return static_cast<unsigned int>(entryIndices(plug_).size());
}

void MRampAttribute::getEntries(MIntArray& indexes, MFloatArray& positions, MFloatArray& values,
                                MIntArray& interps, MStatus* returnStatus) {
    indexes.clear();
    positions.clear();
    values.clear();
    interps.clear();
    RampLayout layout;
    std::vector<Entry> entries;
    if (!layoutOf(plug_, layout) || layout.color) {
        report(returnStatus, MS::kFailure);
        return;
    }
    MStatus status = readEntries(plug_, layout, entries);
    report(returnStatus, status);
    if (!status)
        return;
    for (const Entry& entry : entries) {
        indexes.append(entry.index);
        positions.append(entry.point.position);
        values.append(entry.point.value[0]);
        interps.append(entry.point.interp);
    }
}

void MRampAttribute::getEntries(MIntArray& indexes, MFloatArray& positions, MColorArray& colors,
                                MIntArray& interps, MStatus* returnStatus) {
    indexes.clear();
    positions.clear();
    colors.clear();
    interps.clear();
    RampLayout layout;
    std::vector<Entry> entries;
    if (!layoutOf(plug_, layout) || !layout.color) {
        report(returnStatus, MS::kFailure);
        return;
    }
    MStatus status = readEntries(plug_, layout, entries);
    report(returnStatus, status);
    if (!status)
        return;
    for (const Entry& entry : entries) {
        indexes.append(entry.index);
        positions.append(entry.point.position);
        colors.append(MColor(entry.point.value[0], entry.point.value[1], entry.point.value[2]));
        interps.append(entry.point.interp);
    }
}

void MRampAttribute::addEntries(MFloatArray& positions, MFloatArray& values, MIntArray& interps,
                                MStatus* returnStatus) {
    RampLayout layout;
    if (!layoutOf(plug_, layout) || layout.color) {
        report(returnStatus, MS::kFailure);
        return;
    }
    if (positions.length() != values.length() || positions.length() != interps.length()) {
        report(returnStatus, MS::kInvalidParameter);
        return;
    }
    std::vector<RampPoint> points(positions.length());
    for (unsigned int i = 0; i < positions.length(); ++i) {
        points[i].position = positions[i];
        points[i].value[0] = values[i];
        points[i].interp = interps[i];
    }
    report(returnStatus, addPoints(plug_, layout, points));
}

void MRampAttribute::addEntries(MFloatArray& positions, MColorArray& colors, MIntArray& interps,
                                MStatus* returnStatus) {
    RampLayout layout;
    if (!layoutOf(plug_, layout) || !layout.color) {
        report(returnStatus, MS::kFailure);
        return;
    }
    if (positions.length() != colors.length() || positions.length() != interps.length()) {
        report(returnStatus, MS::kInvalidParameter);
        return;
    }
    std::vector<RampPoint> points(positions.length());
    for (unsigned int i = 0; i < positions.length(); ++i) {
        points[i].position = positions[i];
        points[i].value[0] = colors[i].r;
        points[i].value[1] = colors[i].g;
        points[i].value[2] = colors[i].b;
        points[i].interp = interps[i];
    }
    report(returnStatus, addPoints(plug_, layout, points));
}

void MRampAttribute::deleteEntries(MIntArray& indexes, MStatus* returnStatus) {
    RampLayout layout;
    if (!layoutOf(plug_, layout)) {
        report(returnStatus, MS::kFailure);
        return;
    }
    std::vector<int> existing = entryIndices(plug_);
    for (unsigned int i = 0; i < indexes.length(); ++i)
        if (std::find(existing.begin(), existing.end(), indexes[i]) == existing.end()) {
            report(returnStatus, MS::kInvalidParameter);
            return;
        }
    PlugRef array = Graph::fromMPlug(plug_);
    for (unsigned int i = 0; i < indexes.length(); ++i)
        removeEntry(array, indexes[i]);
    Graph::instance().propagate(array);
    report(returnStatus, MS::kSuccess);
}

namespace {
// The entry plug of an existing entry; a null plug when there is none.
MPlug entryPlug(const MPlug& array, unsigned int index, RampLayout& layout) {
    if (!layoutOf(array, layout))
        return MPlug();
    std::vector<int> existing = entryIndices(array);
    if (std::find(existing.begin(), existing.end(), static_cast<int>(index)) == existing.end())
        return MPlug();
    return array.elementByLogicalIndex(index);
}
} // namespace

void MRampAttribute::setValueAtIndex(float value, unsigned int index, MStatus* returnStatus) {
    RampLayout layout;
    MPlug element = entryPlug(plug_, index, layout);
    if (element.isNull() || layout.color) {
        report(returnStatus, element.isNull() ? MS::kInvalidParameter : MS::kFailure);
        return;
    }
    MPlug target = element.child(layout.valueChild);
    report(returnStatus, target.setValue(value));
}

void MRampAttribute::setColorAtIndex(MColor& color, unsigned int index, MStatus* returnStatus) {
    RampLayout layout;
    MPlug element = entryPlug(plug_, index, layout);
    if (element.isNull() || !layout.color) {
        report(returnStatus, element.isNull() ? MS::kInvalidParameter : MS::kFailure);
        return;
    }
    MPlug value = element.child(layout.valueChild);
    const float rgb[3] = {color.r, color.g, color.b};
    MStatus status;
    for (unsigned int k = 0; k < 3 && status; ++k) {
        MPlug target = value.child(k);
        status = target.setValue(rgb[k]);
    }
    report(returnStatus, status);
}

void MRampAttribute::setPositionAtIndex(float position, unsigned int index, MStatus* returnStatus) {
    RampLayout layout;
    MPlug element = entryPlug(plug_, index, layout);
    if (element.isNull()) {
        report(returnStatus, MS::kInvalidParameter);
        return;
    }
    MPlug target = element.child(layout.positionChild);
    report(returnStatus, target.setValue(position));
}

void MRampAttribute::setInterpolationAtIndex(MRampAttribute::MInterpolation interp,
                                             unsigned int index, MStatus* returnStatus) {
    RampLayout layout;
    MPlug element = entryPlug(plug_, index, layout);
    if (element.isNull() || !validInterp(interp)) {
        report(returnStatus, MS::kInvalidParameter);
        return;
    }
    MPlug target = element.child(layout.interpChild);
    report(returnStatus, target.setValue(static_cast<int>(interp)));
}

bool MRampAttribute::hasIndex(unsigned int index, MStatus* returnStatus) {
    RampLayout layout;
    if (!layoutOf(plug_, layout)) {
        report(returnStatus, MS::kFailure);
        return false;
    }
    report(returnStatus, MS::kSuccess);
    return !entryPlug(plug_, index, layout).isNull();
}

void MRampAttribute::sort(bool ascending, MStatus* returnStatus) {
    RampLayout layout;
    std::vector<Entry> entries;
    if (!layoutOf(plug_, layout) || !readEntries(plug_, layout, entries)) {
        report(returnStatus, MS::kFailure);
        return;
    }
    PlugRef array = Graph::fromMPlug(plug_);
    for (const auto& c : array.node->incoming)
        if (array.covers(c->destination)) {
            report(returnStatus, MS::kFailure);
            return;
        }
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return ascending ? a.point.position < b.point.position
                         : a.point.position > b.point.position;
    });
    for (const Entry& entry : entries)
        removeEntry(array, entry.index);
    MStatus status;
    for (size_t i = 0; i < entries.size() && status; ++i)
        status = host::writeRampEntry(plug_.elementByLogicalIndex(static_cast<unsigned int>(i)),
                                      layout, entries[i].point);
    Graph::instance().propagate(array);
    report(returnStatus, status);
}

bool MRampAttribute::isCurveRamp(MStatus* returnStatus) {
    RampLayout layout;
    bool valid = layoutOf(plug_, layout);
    report(returnStatus, valid ? MS::kSuccess : MS::kFailure);
    return valid && !layout.color;
}

bool MRampAttribute::isColorRamp(MStatus* returnStatus) {
    RampLayout layout;
    bool valid = layoutOf(plug_, layout);
    report(returnStatus, valid ? MS::kSuccess : MS::kFailure);
    return valid && layout.color;
}

void MRampAttribute::getValueAtPosition(float position, float& value, MStatus* returnStatus) {
    RampLayout layout;
    std::vector<Entry> entries;
    MStatus status = layoutOf(plug_, layout) && !layout.color ? readEntries(plug_, layout, entries)
                                                              : MStatus(MS::kFailure);
    report(returnStatus, status);
    if (!status)
        return;
    std::vector<RampPoint> points;
    for (const Entry& entry : entries)
        points.push_back(entry.point);
    host::evaluateRamp(std::move(points), position, 1, &value);
}

void MRampAttribute::getColorAtPosition(float position, MColor& color, MStatus* returnStatus) {
    RampLayout layout;
    std::vector<Entry> entries;
    MStatus status = layoutOf(plug_, layout) && layout.color ? readEntries(plug_, layout, entries)
                                                             : MStatus(MS::kFailure);
    report(returnStatus, status);
    if (!status)
        return;
    std::vector<RampPoint> points;
    for (const Entry& entry : entries)
        points.push_back(entry.point);
    float rgb[3];
    host::evaluateRamp(std::move(points), position, 3, rgb);
    color = MColor(rgb[0], rgb[1], rgb[2]);
}

MObject MRampAttribute::createCurveRamp(const MString& attrLongName, const MString& attrShortName,
                                        MStatus* ReturnStatus) {
    return host::createRampAttribute(attrLongName, attrShortName, false, ReturnStatus);
}

MObject MRampAttribute::createColorRamp(const MString& attrLongName, const MString& attrShortName,
                                        MStatus* ReturnStatus) {
    return host::createRampAttribute(attrLongName, attrShortName, true, ReturnStatus);
}

const char* MRampAttribute::className() {
    return "MRampAttribute";
}
