#include "plugin/exportCommand.h"

#include "export/exportPart.h"
#include "export/featherJson.h"
#include "export/featherObj.h"
#include "export/featherStream.h"
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

#include <memory>
#include <string>
#include <vector>

const char* const quilloExportFeathers::commandName = "quilloExportFeathers";

namespace {

const char* const fileFlag = "-f";
const char* const fileFlagLong = "-file";
const char* const formatFlag = "-fmt";
const char* const formatFlagLong = "-format";
const char* const partFlag = "-pt";
const char* const partFlagLong = "-part";
const char* const nodeFlag = "-n";
const char* const nodeFlagLong = "-node";

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

// Streams the nodes' feathers through `format` into the file. On failure *why names the file
// and the reason.
bool streamToFile(const std::string& path, featherFileFormat& format,
                  const std::vector<featherExportNode>& nodes, const exportPart& part,
                  size_t& written, std::string* why) {
    std::string problem;
    const bool done = writeFileAtomically(
        path, false,
        [&](std::ostream& out) {
            return streamFeathers(out, format, nodes, part, &written, &problem);
        },
        why);
    if (!done)
        *why = "cannot write '" + path + "': " + (problem.empty() ? *why : problem);
    return done;
}

// Calls visit(node) for every node of the scene in order, or for those named `only`.
template <typename Visit> void forEachNode(const std::string& only, Visit visit) {
    for (MItDependencyNodes it; !it.isDone(); it.next()) {
        const MObject node = it.thisNode();
        if (only.empty() || only == MFnDependencyNode(node).name().asChar())
            visit(node);
    }
}

// The feather nodes and systems to write, streamed: every one in scene order, or those named
// `only`. `sources` keeps what the nodes read from.
std::vector<featherExportNode> exportNodes(const std::string& only,
                                           std::vector<std::unique_ptr<featherSource>>& sources) {
    std::vector<featherExportNode> nodes;
    forEachNode(only, [&](const MObject& node) {
        MString typeName;
        std::unique_ptr<featherSource> source = featherSourceOf(node, typeName);
        if (!source)
            return;
        nodes.push_back(exportNodeOf(node, typeName.asChar(), nullptr));
        nodes.back().source = source.get();
        sources.push_back(std::move(source));
    });
    return nodes;
}

} // namespace

void* quilloExportFeathers::creator() {
    return new quilloExportFeathers;
}

MSyntax quilloExportFeathers::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(fileFlag, fileFlagLong, MSyntax::kString);
    syntax.addFlag(formatFlag, formatFlagLong, MSyntax::kString);
    syntax.addFlag(partFlag, partFlagLong, MSyntax::kString);
    syntax.addFlag(nodeFlag, nodeFlagLong, MSyntax::kString);
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
    exportPart part;
    MString partText;
    if (arguments.isFlagSet(partFlag) &&
        (arguments.getFlagArgument(partFlag, 0, partText) != MS::kSuccess ||
         !parseExportPart(partText.asChar(), part))) {
        reportError("-part takes K/N, whole numbers with 0 <= K < N <= " +
                    std::to_string(maxExportParts) + " (not '" + partText.asChar() + "').");
        return MS::kFailure;
    }
    MString onlyNode;
    if (arguments.isFlagSet(nodeFlag))
        arguments.getFlagArgument(nodeFlag, 0, onlyNode);
    const std::string only = onlyNode.asChar();
    if (arguments.isFlagSet(nodeFlag) && only.empty()) {
        reportError("-node takes the name of a feather node or system.");
        return MS::kFailure;
    }

    size_t featherCount = 0;
    std::vector<std::unique_ptr<featherSource>> sources;
    const std::vector<featherExportNode> nodes = exportNodes(only, sources);
    if (!only.empty() && nodes.empty()) {
        reportError("no feather node or system is named '" + only + "'.");
        return MS::kFailure;
    }
    std::string why;
    bool written;
    if (formatName == "rib") {
        written =
            exportFeatherRib(path.asChar(), nodes, sceneRibSettings(), &why, part, &featherCount);
    } else if (formatName == "obj") {
        featherObjFormat obj;
        written = streamToFile(path.asChar(), obj, nodes, part, featherCount, &why);
    } else {
        featherJsonFormat json;
        written = streamToFile(path.asChar(), json, nodes, part, featherCount, &why);
    }
    if (!written) {
        reportError(why + ".");
        return MS::kFailure;
    }
    clearResult();
    setResult(static_cast<int>(featherCount));
    return MS::kSuccess;
}
