#pragma once
// Built feathers as JSON text (the format is described in docs/export-json.md). Works on
// featherGeometry and plain values only, so that any node holding feathers can be written.
//
// Numbers: floats and doubles are written as the shortest text that reads back to the same
// value (exportText.h); NaN and infinities are written as null. Strings are escaped (quote,
// backslash, control characters as \n, \t, ... or \u00XX); bytes above 127 pass through
// unchanged, so UTF-8 names stay UTF-8. Positions are in the space the feathers are kept in
// (world space, the scene's linear unit).
//
// A part of a split export (exportPart.h) is a document of its own with two more fields: the
// document's "part" [index, count] and each node's "slots" [first, end, total]; quillo join
// puts the parts back together into the whole document.

#include "export/featherFileFormat.h"

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
void appendFeatherJson(textBuffer& out, const featherGeometry& feather);

// The JSON layout for the streaming writer (featherStream.h).
class featherJsonFormat : public featherFileFormat {
  public:
    void fileStart(textBuffer& out, const exportPart& part) override;
    void nodeStart(textBuffer& out, const featherExportNode& node, size_t position,
                   const slotRange& slots, size_t total) override;
    void featherSeparator(textBuffer& out, bool first) override;
    void feather(textBuffer& out, const featherExportNode& node, size_t slot,
                 const featherGeometry& feather, unsigned int worker) override;
    void nodeEnd(textBuffer& out, const featherExportNode& node, size_t written) override;
    void fileEnd(textBuffer& out) override;

  private:
    bool part_ = false;
};

// JSON text of a float, a double or a string (quoted and escaped).
std::string jsonFloat(float value);
std::string jsonDouble(double value);
std::string jsonString(const std::string& text);
