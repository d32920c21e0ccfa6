#include "anim/timeNode.h"

#include "anim/animCurveNode.h"
#include "anim/sceneTime.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MFnNumericAttribute.h>

namespace host {

MObject TimeNode::outTime, TimeNode::unwarpedTime, TimeNode::enableTimewarp;

void TimeNode::initialize() {
    MFnNumericAttribute numeric;
    outTime = numeric.create("outTime", "o", MFnNumericData::kDouble, 1.0);
    addAttribute(outTime);
    unwarpedTime = numeric.create("unwarpedTime", "unw", MFnNumericData::kDouble, 1.0);
    addAttribute(unwarpedTime);
    enableTimewarp = numeric.create("enableTimewarp", "etw", MFnNumericData::kBoolean, 0.0);
    addAttribute(enableTimewarp);
}

void registerTimeType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    NodeType* type = registry.registerBuiltin("time", MTypeId(0x0fff0040), &TimeNode::creator,
                                              MPxNode::kDependNode, MFn::kTime, false, false,
                                              &TimeNode::initialize);
    const AttributeDef* out = attributeDef(TimeNode::outTime);
    type->implicitDependents = [out](const PlugRef& changed, std::vector<PlugRef>& dependents) {
        if (changed.attribute == out && changed.node == sceneTimeNode())
            for (const PlugRef& input : implicitTimeInputs())
                dependents.push_back(input);
    };
}

void dirtyTimeDrivenCurves() {
    for (const PlugRef& input : implicitTimeInputs())
        Graph::instance().markDirty(input);
}

} // namespace host
