#pragma once
// Text forms of typed data in scene files: `setAttr ".cc" -type "nurbsSurface" ...` and the
// like. Each geometry or data kind registers how its tokens become a data object and how a data
// object is written back, so the file reader and writer need not know any of them.

#include "graph/slot.h"

#include <maya/MObject.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

struct TypedValueFormat {
    // The name after -type in a file: "nurbsSurface", "polyFaces", "componentList", ...
    std::string typeName;
    // Reads one value from tokens[pos...] (strings already unquoted), advancing pos past it.
    // On failure returns false with a message saying what was expected.
    std::function<bool(const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                       std::string& error)>
        parse;
    // Writes the value as the tokens that follow `-type "<typeName>"`.
    std::function<std::string(const MObject& data)> format;
    // True when this format wrote the data object (to pick the format when saving).
    std::function<bool(const MObject& data)> owns;
    // Set when arrays of this data keep their elements packed (a mesh's faces): then a range
    // of values is also read part by part, each value starting with `firstWord` ("f").
    const PackedDataCodec* packing = nullptr;
    std::string firstWord;
};

// Registering a name twice replaces the earlier format.
void registerTypedValueFormat(const TypedValueFormat& format);
const TypedValueFormat* findTypedValueFormat(const std::string& typeName);
const TypedValueFormat* formatOwning(const MObject& data);

} // namespace host
