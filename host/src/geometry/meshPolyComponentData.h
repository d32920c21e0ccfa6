#pragma once
// Per-component values a mesh keeps for its file, such as edge creases: setAttr ".cd" -type
// "dataPolyComponent" Index_Data Edge 2 5 1.5 9 0.25; that is the word Index_Data, the kind of
// component (Edge, Vertex, Face, ...), a count, then that many (index, value) pairs. The host
// keeps these values so files save back unchanged; nothing reads them.

#include "data/dataObjects.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

struct PolyComponentData : DataObject {
    std::string kind;
    std::vector<std::pair<int, double>> values;
    MFn::Type apiType() const override { return MFn::kData; }
    const char* apiTypeStr() const override { return "kPolyComponentData"; }
    MFnData::Type dataType() const override { return MFnData::kAny; }
};

// Registers "dataPolyComponent" with the scene reader and writer (typedValues.h).
void registerPolyComponentFormat();

} // namespace host
