#include "plugin/buildReportCommand.h"

#include "plugin/featherHolders.h"

#include <maya/MArgDatabase.h>
#include <maya/MDoubleArray.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MString.h>

const char* const quilloBuildReport::commandName = "quilloBuildReport";

void* quilloBuildReport::creator() {
    return new quilloBuildReport;
}

MSyntax quilloBuildReport::newSyntax() {
    MSyntax syntax;
    syntax.addArg(MSyntax::kString);
    return syntax;
}

bool quilloBuildReport::isUndoable() const {
    return false;
}

MStatus quilloBuildReport::doIt(const MArgList& args) {
    MStatus status;
    MArgDatabase arguments(newSyntax(), args, &status);
    MString name;
    if (status == MS::kSuccess)
        status = arguments.getCommandArgument(0, name);
    MSelectionList list;
    MObject node;
    if (status != MS::kSuccess || list.add(name) != MS::kSuccess ||
        list.getDependNode(0, node) != MS::kSuccess) {
        MGlobal::displayError(MString(commandName) + ": no node named '" + name + "'.");
        return MS::kFailure;
    }
    MString typeName;
    const std::vector<featherGeometry>* feathers = heldFeathers(node, typeName);
    if (!feathers) {
        MGlobal::displayError(MString(commandName) + ": '" + name +
                              "' is neither a feather node nor a feather system.");
        return MS::kFailure;
    }
    double points = 0.0, bytes = 0.0;
    for (const featherGeometry& feather : *feathers) {
        bytes += static_cast<double>(feather.heldBytes());
        for (const auto* side : {&feather.leftBarbules, &feather.rightBarbules})
            for (const MFloatPointArray& curve : *side)
                points += curve.length();
    }
    MDoubleArray result;
    result.append(static_cast<double>(feathers->size()));
    result.append(points);
    result.append(bytes);
    clearResult();
    setResult(result);
    return MS::kSuccess;
}
