#pragma once
// One feather's growth path: positions root first and an up vector per position, both in
// world space, plus where the feather sits on its source mesh. points is either empty or has
// at least two entries; normals has the same length.

#include <maya/MVectorArray.h>

struct turtleRecord {
    MVectorArray points;
    MVectorArray normals;
    float u = 0.0f;
    float v = 0.0f;
    int growVertexID = 0;

    // Assigns every field from the source; the arrays are copied, never shared.
    void assign(const turtleRecord& source);
};
