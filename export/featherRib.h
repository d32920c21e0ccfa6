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

// A node's block that reads its feathers from an archive when the renderer reaches the bound.
void writeDelayedArchiveRib(std::ostream& out, const std::string& nodeName,
                            const std::string& archivePath, const MBoundingBox& bound);

// RIB text of a string (quoted, escaped). Floats are written by finiteFloatText (exportText.h).
std::string ribString(const std::string& text);
