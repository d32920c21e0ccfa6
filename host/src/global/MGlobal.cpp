#include <maya/MGlobal.h>

#include "host/mel.h"
#include "host/messages.h"

#include <maya/MStringArray.h>

#include <cstdlib>

namespace {

// Runs MEL for executeCommand. The host keeps no undo queue, so undoEnabled changes nothing.
MStatus run(const MString& command, bool displayEnabled, host::MelValue* result) {
    if (displayEnabled)
        host::displayMessage(host::MessageKind::kInfo, command.str());
    return host::melExecute(command.str(), result);
}

// A number result: an int or float, or a string that is a number and nothing more.
bool asNumber(const host::MelValue& value, double& number) {
    if (value.isNumber()) {
        number = value.asFloat();
        return true;
    }
    if (!value.isString())
        return false;
    const std::string text = value.asString();
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

} // namespace

void MGlobal::displayInfo(const MString& text) {
    host::displayMessage(host::MessageKind::kInfo, text.str());
}

void MGlobal::displayWarning(const MString& text) {
    host::displayMessage(host::MessageKind::kWarning, text.str());
}

void MGlobal::displayError(const MString& text) {
    host::displayMessage(host::MessageKind::kError, text.str());
}

// The host has no user interface: the quillo program and the tests are batch sessions, as
// `about -batch` also says.
MGlobal::MMayaState MGlobal::mayaState(MStatus* status) {
    if (status)
        *status = MS::kSuccess;
    return kBatch;
}

MStatus MGlobal::sourceFile(const MString& fileName) {
    return host::melSourceFile(fileName.str());
}

MStatus MGlobal::executeCommand(const MString& command, bool displayEnabled, bool) {
    return run(command, displayEnabled, nullptr);
}

// The result overloads fail with kInvalidParameter, leaving result as it was, when the
// command's value does not read as the type asked for (an array for a number, a word for an
// int, nothing at all).
MStatus MGlobal::executeCommand(const MString& command, int& result, bool displayEnabled, bool) {
    host::MelValue value;
    MStatus status = run(command, displayEnabled, &value);
    if (!status)
        return status;
    double number = 0.0;
    if (!asNumber(value, number))
        return MS::kInvalidParameter;
    result = value.isString() ? host::MelValue(number).asInt() : value.asInt();
    return MS::kSuccess;
}

MStatus MGlobal::executeCommand(const MString& command, double& result, bool displayEnabled, bool) {
    host::MelValue value;
    MStatus status = run(command, displayEnabled, &value);
    if (!status)
        return status;
    double number = 0.0;
    if (!asNumber(value, number))
        return MS::kInvalidParameter;
    result = number;
    return MS::kSuccess;
}

MStatus MGlobal::executeCommand(const MString& command, MString& result, bool displayEnabled,
                                bool) {
    host::MelValue value;
    MStatus status = run(command, displayEnabled, &value);
    if (!status)
        return status;
    if (value.isArray())
        return MS::kInvalidParameter;
    result = MString(value.asString());
    return MS::kSuccess;
}

// Arrays come back element by element, a single value as one element, nothing as none.
MStatus MGlobal::executeCommand(const MString& command, MStringArray& result, bool displayEnabled,
                                bool) {
    host::MelValue value;
    MStatus status = run(command, displayEnabled, &value);
    if (!status)
        return status;
    result.clear();
    for (const std::string& s : value.asStringArray())
        result.append(MString(s));
    return MS::kSuccess;
}
