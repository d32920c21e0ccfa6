#include "deform/blendShapeNode.h"

#include "data/pointArrayData.h"
#include "deform/deformedGeometry.h"
#include "geometry/componentList.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MVector.h>

#include <algorithm>
#include <map>

namespace host {

MObject BlendShapeNode::weight, BlendShapeNode::inputTarget, BlendShapeNode::inputTargetGroup,
    BlendShapeNode::inputTargetItem, BlendShapeNode::inputGeomTarget,
    BlendShapeNode::inputPointsTarget, BlendShapeNode::inputComponentsTarget,
    BlendShapeNode::targetWeights, BlendShapeNode::baseWeights;

namespace {

MObject floatArray(const char* name, const char* shortName, double value) {
    MFnNumericAttribute numeric;
    MObject attribute = numeric.create(name, shortName, MFnNumericData::kFloat, value);
    numeric.setArray(true);
    return attribute;
}

std::map<unsigned, double> sparse(MArrayDataHandle array) {
    std::map<unsigned, double> out;
    for (unsigned i = 0, n = array.elementCount(); i < n; ++i, array.next())
        out[array.elementIndex()] = array.inputValue().asFloat();
    return out;
}

double valueAt(const std::map<unsigned, double>& values, size_t i, double otherwise) {
    auto it = values.find(static_cast<unsigned>(i));
    return it != values.end() ? it->second : otherwise;
}

} // namespace

std::vector<MVector> targetOffsets(const std::vector<TargetItem>& items, double weight,
                                   size_t count) {
    std::vector<MVector> out(count, MVector(0.0, 0.0, 0.0));
    if (items.empty())
        return out;
    // Segment ends: (0, nothing) and the items, by weight.
    std::vector<const TargetItem*> ends;
    const TargetItem none{0.0, {}};
    ends.push_back(&none);
    for (const TargetItem& item : items)
        if (item.weight > 0.0)
            ends.push_back(&item);
    if (ends.size() < 2)
        return out;
    size_t k = 1;
    while (k + 1 < ends.size() && weight > ends[k]->weight)
        ++k;
    const TargetItem &a = *ends[k - 1], &b = *ends[k];
    const double t = (weight - a.weight) / (b.weight - a.weight);
    for (size_t i = 0; i < count; ++i) {
        const MVector from = i < a.offsets.size() ? a.offsets[i] : MVector(0.0, 0.0, 0.0);
        const MVector to = i < b.offsets.size() ? b.offsets[i] : MVector(0.0, 0.0, 0.0);
        out[i] = from + (to - from) * t;
    }
    return out;
}

void BlendShapeNode::initialize() {
    addGeometryFilterAttributes();
    weight = floatArray("weight", "w", 0.0);
    addAttribute(weight);

    MFnTypedAttribute typed;
    inputGeomTarget = typed.create("inputGeomTarget", "igt", MFnData::kAny);
    typed.setStorable(false);
    inputPointsTarget = typed.create("inputPointsTarget", "ipt", MFnData::kPointArray);
    inputComponentsTarget = typed.create("inputComponentsTarget", "ict", MFnData::kComponentList);
    MFnCompoundAttribute compound;
    inputTargetItem = compound.create("inputTargetItem", "iti");
    compound.addChild(inputGeomTarget);
    compound.addChild(inputPointsTarget);
    compound.addChild(inputComponentsTarget);
    compound.setArray(true);
    targetWeights = floatArray("targetWeights", "tw", 1.0);
    inputTargetGroup = compound.create("inputTargetGroup", "itg");
    compound.addChild(inputTargetItem);
    compound.addChild(targetWeights);
    compound.setArray(true);
    baseWeights = floatArray("baseWeights", "bw", 1.0);
    inputTarget = compound.create("inputTarget", "it");
    compound.addChild(inputTargetGroup);
    compound.addChild(baseWeights);
    compound.setArray(true);
    addAttribute(inputTarget);
    affectsOutput(weight);
    affectsOutput(inputTarget);
}

bool BlendShapeNode::deform(MDataBlock& data, unsigned index, const MObject& geometry,
                            const std::vector<MPoint>& points, std::vector<MPoint>& deformed) {
    MArrayDataHandle inputs = data.inputArrayValue(inputTarget);
    if (!inputs.jumpToElement(index))
        return false;
    MDataHandle targetInput = inputs.inputValue();
    const std::map<unsigned, double> base = sparse(targetInput.child(baseWeights));
    const std::map<unsigned, double> weights = sparse(data.inputArrayValue(weight));
    const size_t count = points.size();
    bool any = false;
    MArrayDataHandle groups(targetInput.child(inputTargetGroup));
    for (unsigned g = 0, n = groups.elementCount(); g < n; ++g, groups.next()) {
        const unsigned target = groups.elementIndex();
        const double w = valueAt(weights, target, 0.0);
        if (w == 0.0)
            continue;
        MDataHandle group = groups.inputValue();
        std::vector<TargetItem> items;
        MArrayDataHandle itemArray(group.child(inputTargetItem));
        for (unsigned i = 0, m = itemArray.elementCount(); i < m; ++i, itemArray.next()) {
            TargetItem item;
            item.weight = (static_cast<double>(itemArray.elementIndex()) - 5000.0) / 1000.0;
            item.offsets.assign(count, MVector(0.0, 0.0, 0.0));
            // A live target shape gives its points; else the stored offsets apply.
            const PlugRef live{hostNode(),
                               attributeDef(inputGeomTarget),
                               {static_cast<int>(index), static_cast<int>(target),
                                static_cast<int>(itemArray.elementIndex())}};
            std::vector<MPoint> shape;
            if (Graph::instance().incomingTo(live) &&
                geometryPoints(localGeometryInput(live), shape) && shape.size() == count) {
                for (size_t p = 0; p < count; ++p)
                    item.offsets[p] = shape[p] - points[p];
            } else {
                MDataHandle element = itemArray.inputValue();
                const std::vector<MPoint>* stored =
                    pointsIn(element.child(inputPointsTarget).data());
                const std::vector<ComponentRange>* components =
                    componentRangesIn(element.child(inputComponentsTarget).data());
                if (stored && components) {
                    const std::vector<int> order = componentPointOrder(*components, geometry);
                    for (size_t k = 0; k < order.size() && k < stored->size(); ++k)
                        if (order[k] >= 0 && static_cast<size_t>(order[k]) < count)
                            item.offsets[static_cast<size_t>(order[k])] =
                                MVector((*stored)[k].x, (*stored)[k].y, (*stored)[k].z);
                }
            }
            items.push_back(std::move(item));
        }
        std::sort(items.begin(), items.end(),
                  [](const TargetItem& a, const TargetItem& b) { return a.weight < b.weight; });
        const std::map<unsigned, double> perPoint = sparse(group.child(targetWeights));
        const std::vector<MVector> offsets = targetOffsets(items, w, count);
        for (size_t p = 0; p < count; ++p) {
            const double scale = valueAt(perPoint, p, 1.0) * valueAt(base, p, 1.0);
            deformed[p] += offsets[p] * scale;
        }
        any = true;
    }
    return any;
}

void registerBlendShapeType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    registry.registerBuiltin("blendShape", MTypeId(0x0fff0052), &BlendShapeNode::creator,
                             MPxNode::kDependNode, MFn::kBlend, false, false,
                             &BlendShapeNode::initialize);
}

} // namespace host
