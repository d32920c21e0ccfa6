#pragma once
// Component lists: the value of a shape's ".iog[i].og[k].gcl" (the components a set holds) and
// of other componentList plugs. In files: setAttr ... -type "componentList" 2 "f[0:75]" "vtx[3]";
// a count, then that many component strings:
//   f[i], f[a:b], f[*]     polygons (a single one, an inclusive range, all of them)
//   vtx[...], e[...]       vertices and edges, in the same forms

#include "data/dataObjects.h"

#include <maya/MFn.h>

#include <string>
#include <vector>

namespace host {

struct ComponentRange {
    std::string kind; // "f", "vtx" or "e"
    int first = 0, last = 0;
    bool all = false; // [*]: every element, however many the shape has
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

// Reads one component string ("f[0:75]"); on failure `error` says what was expected.
bool parseComponentRange(const std::string& text, ComponentRange& range, std::string& error);
std::string formatComponentRange(const ComponentRange& range);
// The component type of a kind ("f": kMeshPolygonComponent, ...); kInvalid for others.
MFn::Type componentTypeOf(const std::string& kind);
std::string componentKindOf(MFn::Type type);

// Registers "componentList" with the scene reader and writer (typedValues.h).
void registerComponentListFormat();

} // namespace host
