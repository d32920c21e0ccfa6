#include "plugin/exportCommand.h"

#include "feather/featherJson.h"
#include "plugin/featherHolders.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MString.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

const char* const quilloExportFeathers::commandName = "quilloExportFeathers";

namespace {

const char* const fileFlag = "-f";
const char* const fileFlagLong = "-file";

void reportError(const std::string& text) {
    MGlobal::displayError(MString(quilloExportFeathers::commandName) + ": " + text.c_str());
}

// Writes the nodes' feathers to a temporary file in the destination's folder, then renames it
// over the destination. On failure the temporary file is removed and *why says what failed.
bool writeAtomically(const std::string& path, const std::vector<featherJsonNode>& nodes,
                     std::string* why) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + (slash == std::string::npos ? "/." : ".") + base + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    temporary = name.data();
    // mkstemp makes the file private; the export gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    bool written;
    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        written = out.good() && writeFeatherJson(out, nodes);
        out.close();
        written = written && !out.fail();
    }
    if (!written) {
        *why = errno ? std::strerror(errno) : "the file could not be written";
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        *why = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

void* quilloExportFeathers::creator() {
    return new quilloExportFeathers;
}

MSyntax quilloExportFeathers::newSyntax() {
    MSyntax syntax;
    syntax.addFlag(fileFlag, fileFlagLong, MSyntax::kString);
    return syntax;
}

bool quilloExportFeathers::isUndoable() const {
    return false;
}

MStatus quilloExportFeathers::doIt(const MArgList& args) {
    MStatus status;
    MArgDatabase arguments(newSyntax(), args, &status);
    if (status != MS::kSuccess) {
        reportError("the arguments do not fit: use -file PATH.");
        return status;
    }
    MString path;
    if (!arguments.isFlagSet(fileFlag) ||
        arguments.getFlagArgument(fileFlag, 0, path) != MS::kSuccess || path.length() == 0) {
        reportError("no file given: use -file PATH.");
        return MS::kFailure;
    }

    std::vector<featherJsonNode> nodes;
    int featherCount = 0;
    for (MItDependencyNodes it; !it.isDone(); it.next()) {
        MObject node = it.thisNode();
        MString typeName;
        const std::vector<featherGeometry>* feathers = heldFeathers(node, typeName);
        if (!feathers)
            continue;
        featherJsonNode entry;
        entry.name = MFnDependencyNode(node).name().asChar();
        entry.type = typeName.asChar();
        entry.feathers = feathers;
        nodes.push_back(entry);
        featherCount += static_cast<int>(feathers->size());
    }

    std::string why;
    if (!writeAtomically(path.asChar(), nodes, &why)) {
        reportError(std::string("cannot write '") + path.asChar() + "': " + why + ".");
        return MS::kFailure;
    }
    clearResult();
    setResult(featherCount);
    return MS::kSuccess;
}
