#include "feather/turtlePath.h"

void turtlePath::reset() {
    frames.clear();
    step = 1.0f;
    scale = 1.0f;
    growVertexID = 0;
}

void turtlePath::append(const MFloatPoint& position, const MFloatVector& normal) {
    frames.push_back({position, normal});
    if (frames.size() >= 2) {
        step = 1.0f / static_cast<float>(frames.size() - 1);
    }
}
