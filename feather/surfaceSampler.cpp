#include "feather/surfaceSampler.h"

#include "feather/buildInputs.h"

#include <maya/MDagPath.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>

namespace {

bool finite(const MFloatPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool finite(const MFloatVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

surfaceSampler::surfaceSampler(const MObject& surface, short direction) : direction_(direction) {
    // A shape is sampled through its DAG path so that world space takes in its transforms.
    MDagPath path;
    MStatus status = MDagPath::getAPathTo(surface, path);
    if (status == MS::kSuccess) {
        status = surface_.setObject(path);
    } else {
        status = surface_.setObject(surface);
    }
    valid_ = status == MS::kSuccess;
}

void surfaceSampler::parameters(const MFloatPoint& turtlePosition, double& u, double& v) const {
    if (direction_ == 1) {
        u = turtlePosition.z;
        v = turtlePosition.x;
    } else {
        u = turtlePosition.x;
        v = turtlePosition.z;
    }
}

bool surfaceSampler::samplePoint(const MFloatPoint& turtlePosition, MFloatPoint& point) const {
    if (!valid_) {
        return false;
    }
    double u = 0.0;
    double v = 0.0;
    parameters(turtlePosition, u, v);
    MPoint p;
    if (surface_.getPointAtParam(u, v, p, MSpace::kWorld) != MS::kSuccess) {
        return false;
    }
    point = MFloatPoint(narrowToFloat(p.x), narrowToFloat(p.y), narrowToFloat(p.z));
    return finite(point);
}

bool surfaceSampler::sample(const MFloatPoint& turtlePosition, MFloatPoint& point,
                            MFloatVector& normal) const {
    if (!samplePoint(turtlePosition, point)) {
        return false;
    }
    double u = 0.0;
    double v = 0.0;
    parameters(turtlePosition, u, v);
    MStatus status;
    const MVector n = surface_.normal(u, v, MSpace::kWorld, &status);
    normal = status == MS::kSuccess ? MFloatVector(n) : MFloatVector::zero;
    return finite(normal);
}
