#include "anim/animCurveNode.h"

#include "anim/animCurve.h"
#include "anim/sceneTime.h"
#include "anim/timeUnit.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MGlobal.h>

#include <cmath>
#include <string>

namespace host {

namespace {

const char* const kTypeNames[AnimCurveNode::kKindCount] = {
    "animCurveTL", "animCurveTA", "animCurveTT", "animCurveTU",
    "animCurveUL", "animCurveUA", "animCurveUT", "animCurveUU"};

bool angular(AnimCurveNode::Kind kind) {
    return kind == AnimCurveNode::kTA || kind == AnimCurveNode::kUA;
}

// Maya's clamped tangents flatten when a neighbouring key is "very close" in value: 0.05 in
// the value's file unit (degrees for angles).
double clampTolerance(AnimCurveNode::Kind kind) {
    return angular(kind) ? 0.05 * M_PI / 180.0 : 0.05;
}

MObject number(const char* name, const char* shortName, MFnNumericData::Type type, double value,
               bool array) {
    MFnNumericAttribute numeric;
    MObject attribute = numeric.create(name, shortName, type, value);
    numeric.setArray(array);
    MPxNode::addAttribute(attribute);
    return attribute;
}

template <AnimCurveNode::Kind K> void* create() {
    return new AnimCurveNode(K);
}

template <AnimCurveNode::Kind K> void initialize() {
    AnimCurveAttributes& a = AnimCurveNode::attributesOf(K);
    const bool angle = angular(K);
    MFnNumericAttribute numeric;
    a.input = number("input", "i", MFnNumericData::kDouble, 0.0, false);
    a.output = numeric.create("output", "o", MFnNumericData::kDouble, 0.0);
    numeric.setWritable(false);
    numeric.setStorable(false);
    MPxNode::addAttribute(a.output);
    attributeDef(a.output)->angle = angle;

    a.keyTime = numeric.create("keyTime", "kt", MFnNumericData::kDouble, 0.0);
    a.keyValue = numeric.create("keyValue", "kv", MFnNumericData::kDouble, 0.0);
    attributeDef(a.keyValue)->angle = angle;
    MFnCompoundAttribute compound;
    a.keyTimeValue = compound.create("keyTimeValue", "ktv");
    compound.addChild(a.keyTime);
    compound.addChild(a.keyValue);
    compound.setArray(true);
    MPxNode::addAttribute(a.keyTimeValue);

    a.tangentType = number("tangentType", "tan", MFnNumericData::kShort, tangent::kDefault, false);
    a.weightedTangents = number("weightedTangents", "wgt", MFnNumericData::kBoolean, 1.0, false);
    a.keyTanInType = number("keyTanInType", "kit", MFnNumericData::kShort, 0.0, true);
    a.keyTanOutType = number("keyTanOutType", "kot", MFnNumericData::kShort, 0.0, true);
    a.keyTanInX = number("keyTanInX", "kix", MFnNumericData::kDouble, 0.0, true);
    a.keyTanInY = number("keyTanInY", "kiy", MFnNumericData::kDouble, 0.0, true);
    a.keyTanOutX = number("keyTanOutX", "kox", MFnNumericData::kDouble, 0.0, true);
    a.keyTanOutY = number("keyTanOutY", "koy", MFnNumericData::kDouble, 0.0, true);
    number("keyTanLocked", "ktl", MFnNumericData::kBoolean, 1.0, true);
    number("keyWeightLocked", "kwl", MFnNumericData::kBoolean, 1.0, true);
    number("keyBreakdown", "kbd", MFnNumericData::kBoolean, 0.0, true);
    number("keyTickDrawSpecial", "kyts", MFnNumericData::kBoolean, 0.0, true);
    a.preInfinity = number("preInfinity", "pre", MFnNumericData::kShort, 0.0, false);
    a.postInfinity = number("postInfinity", "pst", MFnNumericData::kShort, 0.0, false);

    for (const MObject* in : {&a.input, &a.keyTimeValue, &a.tangentType, &a.weightedTangents,
                              &a.keyTanInType, &a.keyTanOutType, &a.keyTanInX, &a.keyTanInY,
                              &a.keyTanOutX, &a.keyTanOutY, &a.preInfinity, &a.postInfinity})
        MPxNode::attributeAffects(*in, a.output);
}

// Values of a sparse numeric array by logical index; `present` tells which exist.
struct SparseValues {
    std::vector<double> values;
    std::vector<bool> present;
    double at(size_t k, double otherwise) const {
        return k < present.size() && present[k] ? values[k] : otherwise;
    }
    bool has(size_t k) const { return k < present.size() && present[k]; }
};

SparseValues readSparse(MDataBlock& data, const MObject& attribute, bool whole = false) {
    SparseValues out;
    MArrayDataHandle array = data.inputArrayValue(attribute);
    const unsigned int count = array.elementCount();
    for (unsigned int i = 0; i < count; ++i, array.next()) {
        const unsigned int index = array.elementIndex();
        if (index >= out.present.size()) {
            out.present.resize(index + 1, false);
            out.values.resize(index + 1, 0.0);
        }
        out.present[index] = true;
        MDataHandle element = array.inputValue();
        out.values[index] = whole ? element.asShort() : element.asDouble();
    }
    return out;
}

void warnTangent(const std::string& node, int type) {
    MGlobal::displayWarning(("'" + node + "': tangent type " + std::to_string(type) +
                             " is not one the host evaluates; its keys are evaluated as spline.")
                                .c_str());
}

} // namespace

AnimCurveAttributes& AnimCurveNode::attributesOf(Kind kind) {
    static AnimCurveAttributes all[kKindCount];
    return all[kind];
}

MStatus AnimCurveNode::compute(const MPlug& plug, MDataBlock& data) {
    const AnimCurveAttributes& a = attributes();
    if (attributeDef(plug.attribute()) != attributeDef(a.output))
        return MS::kUnknownParameter;
    const double rate = SceneTime::instance().framesPerSecond();
    // Time in frames becomes seconds, the unit tangents are stored in.
    const double toSeconds = timeDriven() ? 1.0 / rate : 1.0;

    double input = 0.0;
    if (timeDriven() && !MPlug(thisMObject(), a.input).isConnected())
        input = SceneTime::instance().currentFrame();
    else
        input = data.inputValue(a.input).asDouble();

    AnimCurveDefinition curve;
    curve.weighted = data.inputValue(a.weightedTangents).asBool();
    curve.preInfinity = data.inputValue(a.preInfinity).asShort();
    curve.postInfinity = data.inputValue(a.postInfinity).asShort();
    curve.clampTolerance = clampTolerance(kind_);
    curve.timeResolution = timeDriven() ? kTicksPerSecond : 0.0;
    const int defaultType = data.inputValue(a.tangentType).asShort();
    const SparseValues inTypes = readSparse(data, a.keyTanInType, true);
    const SparseValues outTypes = readSparse(data, a.keyTanOutType, true);
    const SparseValues inX = readSparse(data, a.keyTanInX), inY = readSparse(data, a.keyTanInY);
    const SparseValues outX = readSparse(data, a.keyTanOutX), outY = readSparse(data, a.keyTanOutY);

    MArrayDataHandle keys = data.inputArrayValue(a.keyTimeValue);
    const unsigned int count = keys.elementCount();
    int unknownType = 0;
    for (unsigned int i = 0; i < count; ++i, keys.next()) {
        const size_t k = keys.elementIndex();
        MDataHandle element = keys.inputValue();
        AnimCurveKey key;
        key.time = element.child(a.keyTime).asDouble() * toSeconds;
        key.value = element.child(a.keyValue).asDouble();
        key.inType = static_cast<int>(inTypes.at(k, defaultType));
        key.outType = static_cast<int>(outTypes.at(k, defaultType));
        for (int type : {key.inType, key.outType})
            if (!tangent::known(type) && type != tangent::kAutoCustom)
                unknownType = type;
        key.hasIn = inX.has(k) || inY.has(k);
        key.inX = inX.at(k, 0.0);
        key.inY = inY.at(k, 0.0);
        key.hasOut = outX.has(k) || outY.has(k);
        key.outX = outX.at(k, 0.0);
        key.outY = outY.at(k, 0.0);
        if (std::isfinite(key.time) && std::isfinite(key.value))
            curve.keys.push_back(key);
    }
    if (unknownType && !warnedTangent_) {
        warnedTangent_ = true;
        warnTangent(name().asChar(), unknownType);
    }
    const double value = AnimCurve(std::move(curve)).evaluate(input * toSeconds);
    data.outputValue(a.output).set(std::isfinite(value) ? value : 0.0);
    data.setClean(plug);
    return MS::kSuccess;
}

void registerAnimCurveTypes(TypeRegistry& registry) {
    using Creator = void* (*)();
    using Initializer = void (*)();
    static const Creator creators[] = {&create<AnimCurveNode::kTL>, &create<AnimCurveNode::kTA>,
                                       &create<AnimCurveNode::kTT>, &create<AnimCurveNode::kTU>,
                                       &create<AnimCurveNode::kUL>, &create<AnimCurveNode::kUA>,
                                       &create<AnimCurveNode::kUT>, &create<AnimCurveNode::kUU>};
    static const Initializer initializers[] = {
        &initialize<AnimCurveNode::kTL>, &initialize<AnimCurveNode::kTA>,
        &initialize<AnimCurveNode::kTT>, &initialize<AnimCurveNode::kTU>,
        &initialize<AnimCurveNode::kUL>, &initialize<AnimCurveNode::kUA>,
        &initialize<AnimCurveNode::kUT>, &initialize<AnimCurveNode::kUU>};
    // Host-reserved ids, outside the range plug-ins are given.
    for (int k = 0; k < AnimCurveNode::kKindCount; ++k)
        registry.registerBuiltin(kTypeNames[k], MTypeId(0x0fff0041u + static_cast<unsigned>(k)),
                                 creators[k], MPxNode::kDependNode, MFn::kAnimCurve, false, false,
                                 initializers[k]);
}

std::vector<PlugRef> implicitTimeInputs() {
    std::vector<PlugRef> inputs;
    Graph& graph = Graph::instance();
    for (Node* node : graph.nodes()) {
        if (node->type()->api != MFn::kAnimCurve || !node->alive())
            continue;
        auto* curve = dynamic_cast<AnimCurveNode*>(node->impl());
        if (!curve || !curve->timeDriven())
            continue;
        PlugRef input{node, attributeDef(curve->attributes().input), {}};
        if (!graph.incomingTo(input))
            inputs.push_back(input);
    }
    return inputs;
}

} // namespace host
