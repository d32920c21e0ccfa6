#include "deform/tweakNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnNumericAttribute.h>

namespace host {

MObject TweakNode::vertexList, TweakNode::vertex, TweakNode::pointList, TweakNode::controlPoints,
    TweakNode::relativeTweak;

namespace {

MObject offsets(const char* name, const char* shortName, const char* const names[3],
                const char* const shortNames[3], MFnNumericData::Type type) {
    MFnNumericAttribute numeric;
    MObject children[3];
    for (int i = 0; i < 3; ++i)
        children[i] = numeric.create(names[i], shortNames[i], type, 0.0);
    MObject parent = numeric.create(name, shortName, children[0], children[1], children[2]);
    numeric.setArray(true);
    return parent;
}

MObject list(const char* name, const char* shortName, const MObject& child) {
    MFnCompoundAttribute compound;
    MObject parent = compound.create(name, shortName);
    compound.addChild(child);
    compound.setArray(true);
    MPxNode::addAttribute(parent);
    return parent;
}

} // namespace

void TweakNode::initialize() {
    addGeometryFilterAttributes();
    static const char* const vertexNames[3] = {"xVertex", "yVertex", "zVertex"};
    static const char* const vertexShort[3] = {"vx", "vy", "vz"};
    vertex = offsets("vertex", "vt", vertexNames, vertexShort, MFnNumericData::kFloat);
    vertexList = list("vlist", "vl", vertex);
    static const char* const valueNames[3] = {"xValue", "yValue", "zValue"};
    static const char* const valueShort[3] = {"xv", "yv", "zv"};
    controlPoints = offsets("controlPoints", "cp", valueNames, valueShort, MFnNumericData::kDouble);
    pointList = list("plist", "pl", controlPoints);
    MFnNumericAttribute numeric;
    relativeTweak = numeric.create("relativeTweak", "rtw", MFnNumericData::kBoolean, 1.0);
    addAttribute(relativeTweak);
    for (const MObject* attribute : {&vertexList, &pointList, &relativeTweak})
        affectsOutput(*attribute);
}

bool TweakNode::deform(MDataBlock& data, unsigned index, const MObject&,
                       const std::vector<MPoint>& points, std::vector<MPoint>& deformed) {
    const bool relative = data.inputValue(relativeTweak).asBool();
    bool any = false;
    for (const auto& [listAttribute, itemAttribute] :
         {std::pair<const MObject*, const MObject*>{&vertexList, &vertex},
          {&pointList, &controlPoints}}) {
        MArrayDataHandle lists = data.inputArrayValue(*listAttribute);
        if (!lists.jumpToElement(index))
            continue;
        MArrayDataHandle items(lists.inputValue().child(*itemAttribute));
        for (unsigned i = 0, n = items.elementCount(); i < n; ++i, items.next()) {
            const unsigned point = items.elementIndex();
            if (point >= points.size())
                continue;
            MDataHandle item = items.inputValue();
            const bool asFloat = itemAttribute == &vertex;
            double offset[3];
            for (unsigned c = 0; c < 3; ++c)
                offset[c] = asFloat ? item.asFloat3()[c] : item.asDouble3()[c];
            MPoint& p = deformed[point];
            const MPoint& base = points[point];
            p = relative
                    ? MPoint(base.x + offset[0], base.y + offset[1], base.z + offset[2], base.w)
                    : MPoint(offset[0], offset[1], offset[2], base.w);
            any = true;
        }
    }
    return any;
}

void registerTweakType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    registry.registerBuiltin("tweak", MTypeId(0x0fff0050), &TweakNode::creator,
                             MPxNode::kDependNode, MFn::kTweak, false, false,
                             &TweakNode::initialize);
}

} // namespace host
