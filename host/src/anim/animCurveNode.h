#pragma once
// The animation curve nodes: animCurveTL, TA, TT, TU (driven by time) and UL, UA, UT, UU
// (driven keys, driven by their "input"). "output" is the curve's value at the input; a
// time-driven curve whose "input" is unconnected takes the scene's current time.
//
// Values as stored: key times in frames of the scene's unit (driver values for driven keys),
// key values in the output's unit as the host stores it (radians for angles, so files give
// degrees as they do for any angle), tangents as Maya writes them (x in seconds, or driver
// units; y in the output's internal unit). See animCurve.h for the evaluation.

#include "graph/connection.h"

#include <maya/MPxNode.h>

#include <vector>

namespace host {

class TypeRegistry;

struct AnimCurveAttributes {
    MObject input, output, keyTimeValue, keyTime, keyValue, tangentType, weightedTangents,
        keyTanInType, keyTanOutType, keyTanInX, keyTanInY, keyTanOutX, keyTanOutY, preInfinity,
        postInfinity;
};

class AnimCurveNode : public MPxNode {
  public:
    enum Kind { kTL, kTA, kTT, kTU, kUL, kUA, kUT, kUU, kKindCount };

    explicit AnimCurveNode(Kind kind) : kind_(kind) {}
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    Kind kind() const { return kind_; }
    bool timeDriven() const { return kind_ <= kTU; }
    const AnimCurveAttributes& attributes() const { return attributesOf(kind_); }
    static AnimCurveAttributes& attributesOf(Kind kind);

  private:
    Kind kind_;
    bool warnedTangent_ = false;
};

void registerAnimCurveTypes(TypeRegistry& registry);

// The "input" plugs of time-driven curves that have no incoming connection: the scene's time
// drives them.
std::vector<PlugRef> implicitTimeInputs();

} // namespace host
