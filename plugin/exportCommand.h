#pragma once
// "quilloExportFeathers": writes every feather of the scene to a file, for renderers and
// other programs. A command of this plug-in's own, registered beside the node types.
//
//     quilloExportFeathers -file "feathers.json";
//     quilloExportFeathers -format rib -file "feathers.rib";
//     quilloExportFeathers -format obj -file "feathers.obj";
//     quilloExportFeathers -part "2/8" -node "quilloSystemShape1" -file "part2.json";
//
// -format is json (the default), rib or obj; docs/export-json.md, export-rib.md and
// export-obj.md describe them. Every node that holds feathers (featherHolders.h) is written, in
// scene order, with each of its feathers in build order; -node NAME writes only the node of
// that name. A node whose feathers are dirty is evaluated first. Every format streams: a feather
// system's feathers are built a chunk at a time while they are written (featherStream.h), so
// the export never holds them all. -part K/N writes only part K of N of every node
// (exportPart.h); quillo join puts the parts together. RIB follows the scene's first
// "quilloGlobals" node (defaults without one) and each node's RIB strings and curve settings. Files
// are written beside their destination under a temporary name and renamed over it only once
// complete, so a failed export leaves any earlier file untouched and no partial file behind. The
// result is the number of feathers written.
//
// Fails, with an error naming the command and the path, when -file is missing or empty,
// -format is unknown, -part is not K/N, no node has the -node name, the globals' shader text
// is empty (rib), memory runs out or a file cannot be written.
// Not undoable: it changes nothing in the scene.

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

class quilloExportFeathers : public MPxCommand {
  public:
    MStatus doIt(const MArgList& args) override;
    bool isUndoable() const override;

    static void* creator();
    static MSyntax newSyntax();
    static const char* const commandName;
};
