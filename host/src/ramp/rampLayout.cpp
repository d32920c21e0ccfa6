#include "ramp/rampLayout.h"

#include "graph/attributeDef.h"
#include "graph/statusOut.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MPlug.h>
#include <maya/MRampAttribute.h>

#include <string>

namespace host {

namespace {

bool isSingleNumber(const AttributeDef* attribute) {
    return attribute && attribute->isNumericLike() && attribute->children.empty() &&
           !attribute->array;
}

bool isColor(const AttributeDef* attribute) {
    if (!attribute || !attribute->numericCompound || attribute->array ||
        attribute->children.size() != 3)
        return false;
    for (const auto& child : attribute->children)
        if (!isSingleNumber(child.get()))
            return false;
    return true;
}

} // namespace

bool findRampLayout(const AttributeDef* attribute, RampLayout& layout) {
    if (!attribute || !attribute->array || !attribute->isCompound() || attribute->numericCompound ||
        attribute->children.size() != 3)
        return false;
    const std::string& name = attribute->name;
    RampLayout found;
    found.ramp = attribute;
    for (unsigned int i = 0; i < 3; ++i) {
        const AttributeDef* child = attribute->children[i].get();
        if (child->name == name + "_Position" && isSingleNumber(child)) {
            found.position = child;
            found.positionChild = i;
        } else if (child->name == name + "_FloatValue" && isSingleNumber(child)) {
            found.value = child;
            found.valueChild = i;
        } else if (child->name == name + "_Color" && isColor(child)) {
            found.value = child;
            found.valueChild = i;
            found.color = true;
        } else if (child->name == name + "_Interp" && isSingleNumber(child)) {
            found.interp = child;
            found.interpChild = i;
        }
    }
    if (!found.position || !found.value || !found.interp)
        return false;
    layout = found;
    return true;
}

MObject createRampAttribute(const MString& longName, const MString& shortName, bool color,
                            MStatus* status) {
    if (longName.length() == 0 || shortName.length() == 0) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    const std::string l = longName.asChar(), s = shortName.asChar();
    MFnNumericAttribute numeric;
    MObject position =
        numeric.create((l + "_Position").c_str(), (s + "p").c_str(), MFnNumericData::kFloat, 0.0);
    MObject value = color ? numeric.createColor((l + "_Color").c_str(), (s + "c").c_str())
                          : numeric.create((l + "_FloatValue").c_str(), (s + "fv").c_str(),
                                           MFnNumericData::kFloat, 0.0);
    MFnEnumAttribute enumeration;
    MObject interp = enumeration.create((l + "_Interp").c_str(), (s + "i").c_str(),
                                        static_cast<short>(MRampAttribute::kLinear));
    enumeration.addField("None", MRampAttribute::kNone);
    enumeration.addField("Linear", MRampAttribute::kLinear);
    enumeration.addField("Smooth", MRampAttribute::kSmooth);
    enumeration.addField("Spline", MRampAttribute::kSpline);

    MFnCompoundAttribute compound;
    MObject ramp = compound.create(longName, shortName);
    compound.addChild(position);
    compound.addChild(value);
    compound.addChild(interp);
    compound.setArray(true);
    compound.setUsesArrayDataBuilder(true);
    report(status, MS::kSuccess);
    return ramp;
}

MStatus readRampEntry(const MPlug& element, const RampLayout& layout, RampPoint& point) {
    MStatus status;
    point.position = element.child(layout.positionChild).asFloat(&status);
    if (!status)
        return status;
    MPlug value = element.child(layout.valueChild);
    for (unsigned int k = 0; k < (layout.color ? 3u : 1u); ++k) {
        point.value[k] = layout.color ? value.child(k).asFloat(&status) : value.asFloat(&status);
        if (!status)
            return status;
    }
    point.interp = element.child(layout.interpChild).asInt(&status);
    return status;
}

MStatus writeRampEntry(const MPlug& element, const RampLayout& layout, const RampPoint& point) {
    MPlug position = element.child(layout.positionChild);
    MStatus status = position.setValue(point.position);
    if (!status)
        return status;
    MPlug value = element.child(layout.valueChild);
    for (unsigned int k = 0; k < (layout.color ? 3u : 1u) && status; ++k) {
        MPlug target = layout.color ? value.child(k) : value;
        status = target.setValue(point.value[k]);
    }
    if (!status)
        return status;
    MPlug interp = element.child(layout.interpChild);
    return interp.setValue(point.interp);
}

} // namespace host
