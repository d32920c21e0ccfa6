#include "geometry/nurbsSurfaceNode.h"

#include "builtin/transformNode.h"
#include "geometry/nurbsEvaluation.h"
#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceFormat.h"
#include "graph/nodeType.h"

#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MRampAttribute.h>

#include <string>

namespace host {

MObject NurbsSurfaceNode::create, NurbsSurfaceNode::cached, NurbsSurfaceNode::local,
    NurbsSurfaceNode::worldSpace;

namespace {

MObject output(const char* name, const char* shortName, bool array) {
    MFnTypedAttribute typed;
    MObject attribute = typed.create(name, shortName, MFnData::kNurbsSurface);
    typed.setWritable(false);
    typed.setStorable(false);
    typed.setArray(array);
    MPxNode::addAttribute(attribute);
    return attribute;
}

void addNumber(const char* name, const char* shortName, MFnNumericData::Type type, double value) {
    MFnNumericAttribute numeric;
    MPxNode::addAttribute(numeric.create(name, shortName, type, value));
}

// A curve ramp as files store it; the shape only keeps it for the file.
void addRamp(const std::string& name, const std::string& shortName) {
    MPxNode::addAttribute(MRampAttribute::createCurveRamp(name.c_str(), shortName.c_str()));
}

} // namespace

void NurbsSurfaceNode::initialize() {
    MFnTypedAttribute typed;
    create = typed.create("create", "cr", MFnData::kNurbsSurface);
    typed.setStorable(false);
    addAttribute(create);
    cached = typed.create("cached", "cc", MFnData::kNurbsSurface);
    addAttribute(cached);
    local = output("local", "l", false);
    worldSpace = output("worldSpace", "ws", true);
    // One element per instance: "shape.worldSpace" named without an index means element 0.
    attributeDef(worldSpace)->instanced = true;
    for (const MObject* input : {&create, &cached}) {
        attributeAffects(*input, local);
        attributeAffects(*input, worldSpace);
    }

    // Display and render settings that files set on the shape, kept as they are.
    addNumber("visibleInReflections", "vir", MFnNumericData::kBoolean, 0.0);
    addNumber("visibleInRefractions", "vif", MFnNumericData::kBoolean, 0.0);
    addRamp("collisionOffsetVelocityMultiplier", "covm");
    addRamp("collisionDepthVelocityMultiplier", "cdvm");
    addNumber("divisionsU", "dvu", MFnNumericData::kInt, 3.0);
    addNumber("divisionsV", "dvv", MFnNumericData::kInt, 3.0);
    addNumber("curvePrecision", "cpr", MFnNumericData::kInt, 4.0);
    addNumber("curvePrecisionShaded", "cps", MFnNumericData::kInt, 1.0);
    addNumber("uDivisionsFactor", "nufa", MFnNumericData::kDouble, 1.5);
    addNumber("vDivisionsFactor", "nvfa", MFnNumericData::kDouble, 1.5);
}

MStatus NurbsSurfaceNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != local && plug != worldSpace)
        return MS::kUnknownParameter;
    // History the host does not evaluate gives no surface: the one the file stores stands, as
    // for meshes.
    std::shared_ptr<const NurbsSurface> surface;
    if (MPlug(thisMObject(), create).isConnected())
        surface = sharedNurbsSurfaceIn(data.inputValue(create).data());
    if (!surface)
        surface = sharedNurbsSurfaceIn(data.inputValue(cached).data());

    // Outputs get their own data objects, sharing the immutable surface.
    MObject value;
    if (plug == local) {
        if (surface)
            value = makeNurbsSurfaceData(surface);
        data.outputValue(local).set(value);
        data.setClean(plug);
        return MS::kSuccess;
    }
    if (surface && hostNode()) {
        const MMatrix world = worldMatrix(*hostNode());
        value = world == MMatrix::identity ? makeNurbsSurfaceData(surface)
                                           : makeNurbsSurfaceData(transformed(*surface, world));
    }
    MPlug element = MPlug(thisMObject(), worldSpace).elementByLogicalIndex(0);
    data.outputValue(element).set(value);
    data.setClean(element);
    data.setClean(plug);
    return MS::kSuccess;
}

void registerNurbsSurfaceType(TypeRegistry& registry) {
    // Maya's own id for the type ('NSRF'), outside the ranges plug-ins are given.
    NodeType* type = registry.registerBuiltin(
        "nurbsSurface", MTypeId(0x4e535246), &NurbsSurfaceNode::creator, MPxNode::kSurfaceShape,
        MFn::kNurbsSurface, true, true, &NurbsSurfaceNode::initialize);
    type->worldOutputs.push_back(attributeDef(NurbsSurfaceNode::worldSpace));
    registerNurbsSurfaceFormat();
}

} // namespace host
