#pragma once
// "quilloExportFeathers": writes every feather of the scene to a JSON file.
//
//     quilloExportFeathers -file "feathers.json";
//
// Every node that holds feathers (featherHolders.h) is written, in scene order, with each of
// its feathers in build order; a node whose feathers are dirty is built first. The format is in
// docs/export-json.md. The file is written beside its destination under a temporary name and
// renamed over it only once complete, so a failed export leaves any earlier file untouched and
// no partial file behind. The result is the number of feathers written.
//
// Fails, with an error naming the command and the path, when -file is missing or empty or the
// file cannot be written. Not undoable: it changes nothing in the scene.

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
