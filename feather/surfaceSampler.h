#pragma once
// Points and normals of a guide NURBS surface at a turtle's parameter-space position.
//
// While walking on a surface the turtle's x is the parameter along the rachis and z the one
// across it; `direction` 0 maps them to (u, v) = (x, z), 1 to (u, v) = (z, x). The surface's
// knot domain is expected to be [0, 1] in both directions (the turtle never leaves the unit
// square). Points and normals are in world space when the surface is a shape, in the data's
// own space when it is surface data (a shape's worldSpace output is world space).

#include "feather/turtleState.h"

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MObject.h>

class surfaceSampler {
  public:
    // False from valid() when the object is not a NURBS surface.
    surfaceSampler(const MObject& surface, short direction);
    bool valid() const { return valid_; }

    // The point and unit normal at the turtle. False when the parameters lie outside the
    // surface's domain or the result is not finite. Where the normal is undefined (a collapsed
    // edge) it is the zero vector and the sample still succeeds.
    bool sample(const MFloatPoint& turtlePosition, MFloatPoint& point, MFloatVector& normal) const;
    // The point alone.
    bool samplePoint(const MFloatPoint& turtlePosition, MFloatPoint& point) const;

  private:
    void parameters(const MFloatPoint& turtlePosition, double& u, double& v) const;

    MFnNurbsSurface surface_;
    short direction_;
    bool valid_ = false;
};
