#pragma once
// A component: some elements (polygons, vertices or edges) of one shape, by index. Made by
// MFnSingleIndexedComponent, read from set membership and taken by MItMeshPolygon. Unlike
// geometry, a component object is changed in place by its function set, as in Maya.

#include "graph/object.h"

#include <maya/MFn.h>
#include <maya/MObject.h>

#include <vector>

namespace host {

struct Component : Object {
    MFn::Type kind = MFn::kMeshPolygonComponent;
    std::vector<int> elements; // in the order added, each once
    bool complete = false;     // stands for every element 0 .. completeCount - 1
    int completeCount = 0;

    MFn::Type apiType() const override { return kind; }
    const char* apiTypeStr() const override;
    bool hasFn(MFn::Type type) const override {
        return type == MFn::kBase || type == MFn::kComponent ||
               type == MFn::kSingleIndexedComponent || type == kind;
    }
    // Adds an element unless it is there already.
    void add(int element);
};

// True for the component types a single-indexed component may have.
bool isSingleIndexedType(MFn::Type type);
MObject makeComponent(MFn::Type kind, std::vector<int> elements);
Component* componentIn(const MObject& object);

} // namespace host
