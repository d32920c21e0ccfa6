#include "plugin/turtleRecord.h"

void turtleRecord::assign(const turtleRecord& source) {
    points.clear();
    normals.clear();
    u = 0.0f;
    v = 0.0f;
    growVertexID = 0;
    points = source.points;
    normals = source.normals;
    u = source.u;
    v = source.v;
    growVertexID = source.growVertexID;
}
