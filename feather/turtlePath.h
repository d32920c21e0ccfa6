#pragma once
// A guide for one feather: an ordered list of frames (point and normal), root first. Made from a
// guide NURBS surface or from a turtle record (rachis.h), or blended from other guides by the
// feather system. World space.

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>

#include <vector>

struct turtleFrame {
    MFloatPoint position; // w = 1
    MFloatVector normal;
};

struct turtlePath {
    std::vector<turtleFrame> frames;
    // 1 / (frames - 1) once there are two frames or more, 1 before; kept up to date by append.
    float step = 1.0f;
    // Multiplies the extent-box offsets of the key-barbule preview.
    float scale = 1.0f;
    // The grow-mesh vertex of the turtle record the path came from; 0 otherwise.
    int growVertexID = 0;

    // No frames, step 1, scale 1, growVertexID 0.
    void reset();
    // Appends a frame and rewrites step.
    void append(const MFloatPoint& position, const MFloatVector& normal);
    unsigned int frameCount() const { return static_cast<unsigned int>(frames.size()); }
};
