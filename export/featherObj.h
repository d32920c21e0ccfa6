#pragma once
// Built feathers as Wavefront OBJ text (docs/export-obj.md). Works on featherGeometry only.
//
// One object and one group per feather ("o" and "g <node>_feather<i>", i its slot in the
// node), so that every importer makes one object of each feather: the rachis and each barbule
// as a polyline (a chain of two-point "l" segments), and, for a node with "outputFeatherMesh" on,
// the rachis and barbule meshes the build made, as faces with texture coordinates. World space,
// scene units.
//
// Indices are relative (negative: -1 is the vertex written last), so a feather's text does not
// depend on what precedes it: the parts of a split export concatenate into a valid file, and
// feathers are formatted in parallel.

#include "export/featherExportNode.h"
#include "export/featherFileFormat.h"

#include <ostream>
#include <string>
#include <vector>

// Writes the whole file. False when the stream failed.
bool writeFeatherObj(std::ostream& out, const std::vector<featherExportNode>& nodes);

// The object and group name of feather `index` of a node: "<node>_feather<index>", with any
// character other than letters, digits, '_', '-' and '.' replaced by '_'.
std::string objGroupName(const std::string& nodeName, size_t index);

// The OBJ layout for the streaming writer (featherStream.h): a header comment, then per node a
// comment line (written even when the node has no feathers) and its feathers.
class featherObjFormat : public featherFileFormat {
  public:
    void fileStart(textBuffer& out, const exportPart& part) override;
    void nodeStart(textBuffer& out, const featherExportNode& node, size_t position,
                   const slotRange& slots, size_t total) override;
    void featherSeparator(textBuffer&, bool) override {}
    void feather(textBuffer& out, const featherExportNode& node, size_t slot,
                 const featherGeometry& feather, unsigned int worker) override;
    void nodeEnd(textBuffer&, const featherExportNode&, size_t) override {}
    void fileEnd(textBuffer&) override {}

  private:
    bool part_ = false;
};

// The first line of a file or part, and the comment line that opens a node's feathers in the
// whole file; a part's node line adds ": slots FIRST to END of TOTAL".
extern const char* const objFileHeader;
std::string objNodeLine(const std::string& name, const std::string& type);
