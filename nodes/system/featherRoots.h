#pragma once
// Where the feathers of a system stand: three parallel lists, in placement order. That order
// is the order in which feathers are built and seeded, so every step that filters roots keeps
// it.

#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>

struct featherRoots {
    MFloatPointArray rootPositions; // world space, w = 1
    MFloatArray rootU;
    MFloatArray rootV;

    unsigned int length() const { return rootPositions.length(); }
    void clear() {
        rootPositions.clear();
        rootU.clear();
        rootV.clear();
    }
    void append(const MFloatPoint& position, float u, float v) {
        rootPositions.append(position);
        rootU.append(u);
        rootV.append(v);
    }
};
