#pragma once
// Built feathers as JSON text (the format is described in docs/export-json.md). Works on
// featherGeometry and plain values only, so that any node holding feathers can be written.
//
// Numbers: floats are written with 9 significant digits and doubles with 17, so every value
// reads back to the same bits; NaN and infinities are written as null. Strings are escaped
// (quote, backslash, control characters as \n, \t, ... or \u00XX); bytes above 127 pass through
// unchanged, so UTF-8 names stay UTF-8. Positions are in the space the feathers are kept in
// (world space, the scene's linear unit).

#include "feather/featherGeometry.h"

#include <ostream>
#include <string>
#include <vector>

// The version written in the document's "version" field; raised when a field changes meaning.
constexpr int featherJsonVersion = 1;

// One node's feathers, in build order.
struct featherJsonNode {
    std::string name;                                       // the node's name
    std::string type;                                       // its type name ("quillo")
    const std::vector<featherGeometry>* feathers = nullptr; // null: no feathers
};

// Writes the whole document: {"format", "version", "nodes": [...]}. False when the stream fails.
bool writeFeatherJson(std::ostream& out, const std::vector<featherJsonNode>& nodes);

// One feather object, as it appears in a node's "feathers" array.
void writeFeatherGeometryJson(std::ostream& out, const featherGeometry& feather);

// JSON text of a float ("%.9g"), a double ("%.17g") or a string (quoted and escaped).
std::string jsonFloat(float value);
std::string jsonDouble(double value);
std::string jsonString(const std::string& text);
