#pragma once
// A component: some elements of one shape, by index. Mesh polygons, vertices, edges and UVs and
// curve CVs and edit points have one index per element; surface CVs (u, v) and mesh face
// vertices (vertex, face) two; lattice points (s, t, u) three. Made by the MFn*IndexedComponent
// function sets, read from component lists and set membership, taken by MItMeshPolygon. Unlike
// geometry, a component object is changed in place by its function set, as in Maya.

#include "graph/object.h"

#include <maya/MFn.h>
#include <maya/MObject.h>

#include <array>
#include <set>
#include <vector>

namespace host {

// The indices of one element; those past the component's dimensions are 0.
using ComponentIndex = std::array<int, 3>;

// A complete component whose count in some direction is the shape's, not known to the component
// itself: "vtx[*]" read from a component list.
constexpr int kShapeCount = -1;

struct Component : Object {
    MFn::Type kind = MFn::kMeshPolygonComponent;
    // With complete, the component stands for every element whose indices lie below these
    // counts (kShapeCount: however many the shape has) as well as for `elements`.
    bool complete = false;
    ComponentIndex completeCounts{0, 0, 0};

    MFn::Type apiType() const override { return kind; }
    const char* apiTypeStr() const override;
    bool hasFn(MFn::Type type) const override;
    // 1, 2 or 3: the indices each element has.
    int dimensions() const;
    // Adds an element unless it is there already.
    void add(const ComponentIndex& element);
    // The elements added, in the order added, each once.
    const std::vector<ComponentIndex>& elements() const { return elements_; }
    void clearElements();
    // Every element: the complete range first (in index order; empty when a count is the
    // shape's), then those added outside it.
    std::vector<ComponentIndex> allElements() const;
    // True when the complete range holds the element (every count known or not).
    bool completeHolds(const ComponentIndex& element) const;

  private:
    std::vector<ComponentIndex> elements_;
    std::set<ComponentIndex> members_;
};

// The indices each element of a component type has: 1, 2 or 3; 0 for a type that is no
// component.
int componentDimensions(MFn::Type type);
MObject makeComponent(MFn::Type kind, const std::vector<int>& elements);
// A copy that later edits of either leave apart.
MObject copyComponent(const Component& component);
Component* componentIn(const MObject& object);
// The first index of every element of a single-indexed component, as allElements orders them.
std::vector<int> singleIndices(const Component& component);
// The same, sorted and each once.
std::vector<int> sortedSingleIndices(const Component& component);

} // namespace host
