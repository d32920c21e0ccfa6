#pragma once
// How a ramp attribute is laid out: an array of compound entries whose children are named
// after the ramp (L_Position, L_FloatValue or L_Color, L_Interp). Ramps are recognised by
// that shape, so a ramp added as a dynamic attribute is one too.

#include "ramp/rampCurve.h"

#include <maya/MObject.h>
#include <maya/MString.h>

class MPlug;

namespace host {

struct AttributeDef;

struct RampLayout {
    const AttributeDef* ramp = nullptr;     // the array compound
    const AttributeDef* position = nullptr; // float
    const AttributeDef* value = nullptr;    // float (curve) or three-float colour compound
    const AttributeDef* interp = nullptr;   // enum or other single number
    bool color = false;
    // Child positions inside an entry, for MPlug::child.
    unsigned int positionChild = 0, valueChild = 1, interpChild = 2;
};

// True when the attribute is a curve or colour ramp; fills the layout.
bool findRampLayout(const AttributeDef* attribute, RampLayout& layout);

// Builds a ramp attribute; MS::kInvalidParameter for an empty name.
MObject createRampAttribute(const MString& longName, const MString& shortName, bool color,
                            MStatus* status);

// One entry through its element plug: reads pull connections, writes are refused on
// connected plugs. A curve ramp uses value[0] only.
MStatus readRampEntry(const MPlug& element, const RampLayout& layout, RampPoint& point);
MStatus writeRampEntry(const MPlug& element, const RampLayout& layout, const RampPoint& point);

} // namespace host
