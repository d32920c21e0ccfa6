#pragma once
// The unitConversion node Maya puts between plugs of different units: "output" is "input"
// times "conversionFactor", applied to the value as the host stores it (an angle enters in
// radians; a factor of 57.29... gives degrees as a plain number).

#include <maya/MPxNode.h>

namespace host {

class TypeRegistry;

class UnitConversionNode : public MPxNode {
  public:
    static void* creator() { return new UnitConversionNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject input, output, conversionFactor;
};

void registerUnitConversionType(TypeRegistry& registry);

} // namespace host
