#pragma once
// Component lists: the value of a shape's ".iog[i].og[k].gcl" (the components a set holds), of a
// groupParts' ".ic" and of other componentList plugs. In files:
//   setAttr ".ic" -type "componentList" 2 "f[0:75]" "vtx[3]";
// a count, then that many component strings, each a kind and one bracket per index, every
// bracket a single index, an inclusive range or "*" (every index in that direction):
//   f[...], vtx[...], e[...], map[...]   mesh polygons, vertices, edges, UVs
//   cv[...], ep[...]                     curve CVs and edit points
//   cv[u][v]                             surface CVs
//   vtxFace[vertex][face]                mesh face vertices
//   pt[s][t][u]                          lattice points
// The list keeps the strings as read, so it is written back in the same form.
//
// Seen through MFnComponentListData the list holds one component per kind, kinds in the order
// they first appear. An index that was "*" is kShapeCount (-1) in the component's elements, and
// a list entry that is "*" in every direction makes the component complete with kShapeCount
// counts: how many there are is the shape's to say.

#include "data/dataObjects.h"
#include "geometry/component.h"

#include <maya/MFn.h>

#include <string>
#include <vector>

namespace host {

struct IndexSpan {
    int first = 0, last = 0;
    bool all = false; // "*": every index, however many the shape has
};

struct ComponentRange {
    std::string kind;             // "f", "vtx", "cv", "pt", ...
    std::vector<IndexSpan> spans; // one per index of the kind's elements
};

struct ComponentListData : DataObject {
    std::vector<ComponentRange> ranges;
    MFn::Type apiType() const override { return MFn::kComponentListData; }
    const char* apiTypeStr() const override { return "kComponentListData"; }
    MFnData::Type dataType() const override { return MFnData::kComponentList; }
};

MObject makeComponentListData(std::vector<ComponentRange> ranges);
// The ranges of a component list data object; null for anything else.
const std::vector<ComponentRange>* componentRangesIn(const MObject& data);
ComponentListData* componentListIn(const MObject& data);

// Reads one component string ("f[0:75]", "cv[*][2]"); on failure `error` says what was expected
// (no closing period).
bool parseComponentRange(const std::string& text, ComponentRange& range, std::string& error);
std::string formatComponentRange(const ComponentRange& range);
// The component type of a kind with a number of indices ("f", 1: kMeshPolygonComponent; "cv", 2:
// kSurfaceCVComponent); kInvalid for others.
MFn::Type componentTypeOf(const std::string& kind, size_t indices);
MFn::Type componentTypeOf(const ComponentRange& range);
// The kind a component type is written with ("f", "cv", "pt"); "" for others.
std::string componentKindOf(MFn::Type type);

// The ranges of one type, as a component (see above). With shapeCounts, "*" stands for every
// index below the shape's count in that direction and the component lists them all.
MObject componentOfRanges(const std::vector<ComponentRange>& ranges, MFn::Type type,
                          const ComponentIndex* shapeCounts = nullptr);
// A component written as ranges: runs of indices joined into ranges, then equal neighbours in
// the other directions joined too (cv[0][0:3] and cv[1][0:3] give cv[0:1][0:3]); a complete
// component as [*] (or its counts' ranges).
std::vector<ComponentRange> rangesOfComponent(const Component& component);
// The component types a list names, in the order they first appear.
std::vector<MFn::Type> componentTypesIn(const std::vector<ComponentRange>& ranges);

// Registers "componentList" with the scene reader and writer (typedValues.h).
void registerComponentListFormat();

} // namespace host
