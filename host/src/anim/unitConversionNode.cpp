#include "anim/unitConversionNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MDataBlock.h>
#include <maya/MFnNumericAttribute.h>

namespace host {

MObject UnitConversionNode::input, UnitConversionNode::output, UnitConversionNode::conversionFactor;

void UnitConversionNode::initialize() {
    MFnNumericAttribute numeric;
    input = numeric.create("input", "i", MFnNumericData::kDouble, 0.0);
    addAttribute(input);
    conversionFactor = numeric.create("conversionFactor", "cf", MFnNumericData::kDouble, 1.0);
    addAttribute(conversionFactor);
    output = numeric.create("output", "o", MFnNumericData::kDouble, 0.0);
    numeric.setWritable(false);
    numeric.setStorable(false);
    addAttribute(output);
    attributeAffects(input, output);
    attributeAffects(conversionFactor, output);
}

MStatus UnitConversionNode::compute(const MPlug& plug, MDataBlock& data) {
    if (attributeDef(plug.attribute()) != attributeDef(output))
        return MS::kUnknownParameter;
    data.outputValue(output).set(data.inputValue(input).asDouble() *
                                 data.inputValue(conversionFactor).asDouble());
    data.setClean(plug);
    return MS::kSuccess;
}

void registerUnitConversionType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    registry.registerBuiltin("unitConversion", MTypeId(0x0fff0049), &UnitConversionNode::creator,
                             MPxNode::kDependNode, MFn::kUnitConversion, false, false,
                             &UnitConversionNode::initialize);
}

} // namespace host
