#include "plugin/exportCommand.h"

#include "export/featherJson.h"
#include "export/featherObj.h"
#include "export/outputFile.h"
#include "export/ribFiles.h"
#include "plugin/featherHolders.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MString.h>

#include <string>
#include <vector>

const char* const quilloExportFeathers::commandName = "quilloExportFeathers";

namespace {

const char* const fileFlag = "-f";
const char* const fileFlagLong = "-file";
const char* const formatFlag = "-fmt";
const char* const formatFlagLong = "-format";

void reportError(const std::string& text) {
    MGlobal::displayError(MString(quilloExportFeathers::commandName) + ": " + text.c_str());
}

// Attribute reads by name, so that any node type carrying these attributes can be read; a
// node without the attribute leaves the value as it was.
MPlug plugOf(const MFnDependencyNode& fn, const char* attribute) {
    if (!fn.hasAttribute(attribute))
        return MPlug();
    return fn.findPlug(attribute, true);
}

void readBool(const MFnDependencyNode& fn, const char* attribute, bool& value) {
    const MPlug plug = plugOf(fn, attribute);
    if (!plug.isNull())
        value = plug.asBool();
}

void readShort(const MFnDependencyNode& fn, const char* attribute, short& value) {
    const MPlug plug = plugOf(fn, attribute);
    if (!plug.isNull())
        value = plug.asShort();
}

void readInt(const MFnDependencyNode& fn, const char* attribute, int& value) {
    const MPlug plug = plugOf(fn, attribute);
    if (!plug.isNull())
        value = plug.asInt();
}

void readFloat(const MFnDependencyNode& fn, const char* attribute, float& value) {
    const MPlug plug = plugOf(fn, attribute);
    if (!plug.isNull())
        value = plug.asFloat();
}

void readString(const MFnDependencyNode& fn, const char* attribute, std::string& value) {
    const MPlug plug = plugOf(fn, attribute);
    if (!plug.isNull())
        value = plug.asString().asChar();
}

// The node holding the feather description: a feather system borrows it from the feather node
// whose "featherInfoID" feeds its "inRenderFeather"; a feather node is its own. Null when a
// system has nothing connected.
MObject descriptionNodeOf(const MObject& holder) {
    const MFnDependencyNode fn(holder);
    const MPlug input = plugOf(fn, "inRenderFeather");
    if (input.isNull())
        return fn.hasAttribute("preFeatherRib") ? holder : MObject();
    MPlugArray sources;
    if (input.connectedTo(sources, true, false) && sources.length() > 0)
        return sources[0].node();
    return MObject();
}

featherExportNode exportNodeOf(const MObject& holder, const std::string& typeName,
                               const std::vector<featherGeometry>* feathers) {
    featherExportNode node;
    const MFnDependencyNode fn(holder);
    node.name = fn.name().asChar();
    node.type = typeName;
    node.feathers = feathers;
    readBool(fn, "outputFeatherMesh", node.outputFeatherMesh);
    const MObject description = descriptionNodeOf(holder);
    if (description.isNull())
        return node;
    const MFnDependencyNode from(description);
    readShort(from, "curveType", node.curveType);
    readShort(from, "rachisRenderAs", node.rachisRenderAs);
    readFloat(from, "rachisThick", node.rachisThick);
    readInt(from, "rachisSides", node.rachisSides);
    readString(from, "preFeatherRib", node.preFeatherRib);
    readString(from, "postFeatherRib", node.postFeatherRib);
    readString(from, "preFeatherMeshRib", node.preFeatherMeshRib);
    readString(from, "postFeatherMeshRib", node.postFeatherMeshRib);
    return node;
}

// The first "quilloGlobals" node in scene order; the defaults when the scene has none.
ribSettings sceneRibSettings() {
    ribSettings settings;
    for (MItDependencyNodes it; !it.isDone(); it.next()) {
        const MFnDependencyNode fn(it.thisNode());
        if (fn.typeName() != "quilloGlobals")
            continue;
        readString(fn, "featherRibText", settings.featherRibText);
        readString(fn, "rachisMeshRibText", settings.rachisMeshRibText);
        readBool(fn, "exportBarbuleUV", settings.exportBarbuleUV);
        readBool(fn, "exportSurfaceUV", settings.exportSurfaceUV);
        readBool(fn, "exportNormal", settings.exportNormal);
        readBool(fn, "relativePath", settings.relativePath);
        readBool(fn, "gzipCompression", settings.gzipCompression);
        readBool(fn, "diceHair", settings.diceHair);
        readBool(fn, "delayReadArchive", settings.delayReadArchive);
        readBool(fn, "deleteTempFile", settings.deleteTempFile);
        readString(fn, "tempFileDir", settings.tempFileDir);
        break;
    }
    return settings;
}

bool writeJson(const std::string& path, const std::vector<featherExportNode>& nodes,
               std::string* why) {
    std::vector<featherJsonNode> entries;
    for (const featherExportNode& node : nodes)
        entries.push_back({node.name, node.type, node.feathers});
    const bool written = writeFileAtomically(
        path, false, [&](std::ostream& out) { return writeFeatherJson(out, entries); }, why);
    if (!written)
        *why = "cannot write '" + path + "': " + *why;
    return written;
}

bool writeObj(const std::string& path, const std::vector<featherExportNode>& nodes,
              std::string* why) {
    const bool written = writeFileAtomically(
        path, false, [&](std::ostream& out) { return writeFeatherObj(out, nodes); }, why);
    if (!written)
        *why = "cannot write '" + path + "': " + *why;
    return written;
}

} // namespace

void* quilloExportFeathers::creator() {
    return new quilloExportFeathers;
}

MSyntax quilloExportFeathers::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(fileFlag, fileFlagLong, MSyntax::kString);
    syntax.addFlag(formatFlag, formatFlagLong, MSyntax::kString);
    return syntax;
}

bool quilloExportFeathers::isUndoable() const {
    return false;
}

MStatus quilloExportFeathers::doIt(const MArgList& args) {
    MStatus status;
    MArgDatabase arguments(newSyntax(), args, &status);
    if (status != MS::kSuccess) {
        reportError("the arguments do not fit: use [-format json|rib|obj] -file PATH.");
        return status;
    }
    MString path;
    if (!arguments.isFlagSet(fileFlag) ||
        arguments.getFlagArgument(fileFlag, 0, path) != MS::kSuccess || path.length() == 0) {
        reportError("no file given: use -file PATH.");
        return MS::kFailure;
    }
    MString format = "json";
    if (arguments.isFlagSet(formatFlag))
        arguments.getFlagArgument(formatFlag, 0, format);
    const std::string formatName = format.asChar();
    if (formatName != "json" && formatName != "rib" && formatName != "obj") {
        reportError("unknown format '" + formatName + "': use json, rib or obj.");
        return MS::kFailure;
    }

    std::vector<featherExportNode> nodes;
    int featherCount = 0;
    for (MItDependencyNodes it; !it.isDone(); it.next()) {
        MObject node = it.thisNode();
        MString typeName;
        const std::vector<featherGeometry>* feathers = heldFeathers(node, typeName);
        if (!feathers)
            continue;
        nodes.push_back(exportNodeOf(node, typeName.asChar(), feathers));
        featherCount += static_cast<int>(feathers->size());
    }

    std::string why;
    bool written;
    if (formatName == "rib")
        written = exportFeatherRib(path.asChar(), nodes, sceneRibSettings(), &why);
    else if (formatName == "obj")
        written = writeObj(path.asChar(), nodes, &why);
    else
        written = writeJson(path.asChar(), nodes, &why);
    if (!written) {
        reportError(why + ".");
        return MS::kFailure;
    }
    clearResult();
    setResult(featherCount);
    return MS::kSuccess;
}
