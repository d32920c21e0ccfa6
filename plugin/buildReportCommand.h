#pragma once
// "quilloBuildReport NODE": builds a feather node's or feather system's feathers, as drawing
// would, and returns what they hold, so that a build can be measured without writing it:
//
//     quilloBuildReport "quilloSystemShape1";   // { feathers, barbule points, bytes held }
//
// The result is a float array of three: the feathers built, the points of all their barbule
// curves and the memory the feathers hold (featherGeometry::heldBytes). Fails, naming the node,
// when it is not a feather node or system. Not undoable: it changes nothing in the scene.

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

class quilloBuildReport : public MPxCommand {
  public:
    MStatus doIt(const MArgList& args) override;
    bool isUndoable() const override;

    static void* creator();
    static MSyntax newSyntax();
    static const char* const commandName;
};
