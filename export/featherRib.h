#pragma once
// Built feathers as RenderMan RIB text (docs/export-rib.md). Works on featherGeometry and
// plain settings only.
//
// Each feather is one attribute block holding its barbules as one Curves primitive (linear, or
// cubic Catmull-Rom through every point) and, by the node's "rachisRenderAs", its rachis as a
// second Curves primitive; a rachis drawn as a subdivision mesh gets a block of its own. Widths
// are the engine's strip widths (barbule thickness x the barbule's thickness factor) and the
// rachis tube's diameter, in scene units; positions are world space.

#include "export/featherExportNode.h"
#include "export/featherFileFormat.h"

#include <maya/MBoundingBox.h>

#include <ostream>
#include <string>
#include <vector>

// The "quilloGlobals" settings the writers honour; the defaults are the node's defaults.
struct ribSettings {
    std::string featherRibText = "Surface \"quillo\"";
    std::string rachisMeshRibText = "Surface \"qoRachisMesh\"";
    bool exportBarbuleUV = true;
    bool exportSurfaceUV = false;
    bool exportNormal = false;
    bool relativePath = false;
    bool gzipCompression = false;
    bool diceHair = false;
    bool delayReadArchive = false;
    bool deleteTempFile = true;
    std::string tempFileDir = "%temp%";
};

// Why these settings cannot export these nodes ("" when they can): a shader text that the
// export would write is empty or blank.
std::string ribSettingsProblem(const ribSettings& settings,
                               const std::vector<featherExportNode>& nodes);

// The whole scene inline: a header comment, then one block per node. False when the stream
// failed.
bool writeFeatherRib(std::ostream& out, const std::vector<featherExportNode>& nodes,
                     const ribSettings& settings);

// One node's block: AttributeBegin, its identifier, one block per feather, AttributeEnd.
void writeNodeRib(std::ostream& out, const featherExportNode& node, const ribSettings& settings);

// The box around everything writeNodeRib writes for the node, widths included; empty when the
// node has no feathers.
MBoundingBox ribNodeBound(const featherExportNode& node);

// That box gathered feather by feather, in any order: curves reach half their width past
// their points and the tube its radius, so the box of the points is grown once, by the widest
// reach of any feather.
class ribBound {
  public:
    void add(const featherExportNode& node, const featherGeometry& feather);
    void merge(const ribBound& other);
    // Empty when nothing with points was added.
    MBoundingBox box() const;

  private:
    MBoundingBox points_;
    float widest_ = 0.0f;
    bool hasPoints_ = false;
};

// One feather's blocks, as writeNodeRib writes feather `index` of the node.
void appendFeatherRib(textBuffer& out, const featherExportNode& node, size_t index,
                      const featherGeometry& feather, const ribSettings& settings);

// The RIB layout for the streaming writer (featherStream.h): a header, then per node an
// attribute block of its feathers' blocks. Writing an archive or a part, it gathers the bound
// of each node and of the file as it goes. A part (exportPart.h) ends with a comment line giving
// its bound and how the joined main file is to name it:
//     # part bound [xmin xmax ymin ymax zmin zmax] relative|absolute
// ("[]" for a part with nothing in it), written last, so a part cut short has none.
class featherRibFormat : public featherFileFormat {
  public:
    // `archiveOf`: the file is one node's archive, which says so in its header.
    explicit featherRibFormat(const ribSettings& settings, const std::string& archiveOf = "");

    void fileStart(textBuffer& out, const exportPart& part) override;
    void nodeStart(textBuffer& out, const featherExportNode& node, size_t position,
                   const slotRange& slots, size_t total) override;
    void featherSeparator(textBuffer&, bool) override {}
    void feather(textBuffer& out, const featherExportNode& node, size_t slot,
                 const featherGeometry& feather, unsigned int worker) override;
    void nodeEnd(textBuffer& out, const featherExportNode& node, size_t written) override;
    void fileEnd(textBuffer& out) override;
    void prepareWorkers(unsigned int workers) override;

    // The bound of the last node ended, and of everything written so far (archives and parts).
    MBoundingBox nodeBound() const { return node_.box(); }
    MBoundingBox fileBound() const { return file_.box(); }

  private:
    const ribSettings& settings_;
    std::string archiveOf_;
    exportPart part_;
    std::vector<ribBound> workers_; // the current node's, per worker
    ribBound node_, file_;
};

// The trailing comment of a RIB part, and what it says: false when `line` is none.
std::string ribPartTrailer(const MBoundingBox& bound, bool relative);
bool readRibPartTrailer(const std::string& line, MBoundingBox& bound, bool& hasBound,
                        bool& relative);

// A node's block that reads its feathers from an archive when the renderer reaches the bound.
void writeDelayedArchiveRib(std::ostream& out, const std::string& nodeName,
                            const std::string& archivePath, const MBoundingBox& bound);

// RIB text of a string (quoted, escaped). Floats are written by finiteFloatText (exportText.h).
std::string ribString(const std::string& text);
