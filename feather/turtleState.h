#pragma once
// The moving frame that the rachis and barbule walks steer.

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>

struct turtleState {
    // w = 1. On a guide surface x is the parameter along the rachis direction, z the
    // parameter across it, and y stays 0; on a turtle path it is a world-space point.
    MFloatPoint position;
    // Direction of the next forward step; forward moves by heading * distance.
    MFloatVector heading;
    // The frame's normal; yaw turns about it.
    MFloatVector up;
};
