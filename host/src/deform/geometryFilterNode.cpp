#include "deform/geometryFilterNode.h"

#include "deform/deformedGeometry.h"
#include "graph/graph.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

#include <set>

namespace host {

MObject GeometryFilterNode::input, GeometryFilterNode::inputGeometry, GeometryFilterNode::groupId,
    GeometryFilterNode::outputGeometry, GeometryFilterNode::envelope,
    GeometryFilterNode::originalGeometry;

void GeometryFilterNode::addGeometryFilterAttributes() {
    if (input.isNull()) {
        MFnTypedAttribute typed;
        inputGeometry = typed.create("inputGeometry", "ig", MFnData::kAny);
        typed.setStorable(false);
        MFnNumericAttribute numeric;
        groupId = numeric.create("groupId", "gi", MFnNumericData::kInt, 0.0);
        MFnCompoundAttribute compound;
        input = compound.create("input", "ip");
        compound.addChild(inputGeometry);
        compound.addChild(groupId);
        compound.setArray(true);

        outputGeometry = typed.create("outputGeometry", "og", MFnData::kAny);
        typed.setArray(true);
        typed.setWritable(false);
        typed.setStorable(false);
        originalGeometry = typed.create("originalGeometry", "orggeom", MFnData::kAny);
        typed.setArray(true);
        typed.setStorable(false);
        envelope = numeric.create("envelope", "en", MFnNumericData::kFloat, 1.0);
        numeric.setKeyable(true);
    }
    addAttribute(input);
    addAttribute(outputGeometry);
    addAttribute(originalGeometry);
    addAttribute(envelope);
    attributeAffects(input, outputGeometry);
    attributeAffects(envelope, outputGeometry);
}

void GeometryFilterNode::affectsOutput(const MObject& attribute) {
    attributeAffects(attribute, outputGeometry);
}

MStatus GeometryFilterNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != outputGeometry || !hostNode())
        return MS::kUnknownParameter;
    if (plug.isElement())
        return computeOutput(data, plug.logicalIndex());
    // The whole array: every connection that has an input.
    std::set<unsigned> indices;
    MArrayDataHandle inputs = data.outputArrayValue(input);
    for (unsigned i = 0, n = inputs.elementCount(); i < n; ++i, inputs.next())
        indices.insert(inputs.elementIndex());
    for (unsigned index : indices)
        computeOutput(data, index);
    data.setClean(plug);
    return MS::kSuccess;
}

MStatus GeometryFilterNode::computeOutput(MDataBlock& data, unsigned index) {
    Node* node = hostNode();
    const PlugRef in{node, attributeDef(inputGeometry), {static_cast<int>(index)}};
    const MObject geometry = localGeometryInput(in);
    MObject result = geometry;
    std::vector<MPoint> points, deformed;
    const double weight = data.inputValue(envelope).asFloat();
    if (weight != 0.0 && geometryPoints(geometry, points)) {
        deformed = points;
        if (deform(data, index, geometry, points, deformed) && deformed.size() == points.size()) {
            const std::vector<bool> members = deformedPoints(in, geometry, points.size());
            std::vector<MPoint> out = points;
            for (size_t i = 0; i < points.size(); ++i)
                if (members[i])
                    out[i] =
                        MPoint(points[i].x + weight * (deformed[i].x - points[i].x),
                               points[i].y + weight * (deformed[i].y - points[i].y),
                               points[i].z + weight * (deformed[i].z - points[i].z), points[i].w);
            result = geometryWithPoints(geometry, out);
        }
    }
    const MPlug element = MPlug(thisMObject(), outputGeometry).elementByLogicalIndex(index);
    data.outputValue(element).set(result);
    data.setClean(element);
    return MS::kSuccess;
}

} // namespace host
