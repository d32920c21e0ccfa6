#include "command/pluginCommands.h"

#include <maya/MArgList.h>
#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>

#include <string>
#include <vector>

namespace {

host::MelValue& result() {
    return host::currentCommandResult();
}

// Every element of the result as a string, for appending a value of another kind.
std::vector<std::string> asStrings(const host::MelValue& value) {
    return value.isNone() ? std::vector<std::string>() : value.asStringArray();
}

void appendInt(int value) {
    host::MelValue& r = result();
    if (r.isNone() || r.type() == host::MelValue::Type::kInt) {
        std::vector<int> array = r.asIntArray();
        array.push_back(value);
        r = host::MelValue(array);
    } else if (std::vector<int>* ints = r.intArray()) {
        ints->push_back(value);
    } else {
        std::vector<std::string> strings = asStrings(r);
        strings.push_back(std::to_string(value));
        r = host::MelValue(strings);
    }
}

void appendDouble(double value) {
    host::MelValue& r = result();
    if (r.isNone() || r.type() == host::MelValue::Type::kFloat) {
        std::vector<double> array = r.asFloatArray();
        array.push_back(value);
        r = host::MelValue(array);
    } else if (std::vector<double>* doubles = r.floatArray()) {
        doubles->push_back(value);
    } else {
        std::vector<std::string> strings = asStrings(r);
        strings.push_back(host::melFormatFloat(value));
        r = host::MelValue(strings);
    }
}

void appendString(const std::string& value) {
    host::MelValue& r = result();
    if (std::vector<std::string>* strings = r.stringArray()) {
        strings->push_back(value);
        return;
    }
    std::vector<std::string> strings = asStrings(r);
    strings.push_back(value);
    r = host::MelValue(strings);
}

} // namespace

MPxCommand::MPxCommand() = default;
MPxCommand::~MPxCommand() = default;

MStatus MPxCommand::doIt(const MArgList&) {
    return MS::kSuccess;
}
MStatus MPxCommand::undoIt() {
    return MS::kSuccess;
}
MStatus MPxCommand::redoIt() {
    return MS::kSuccess;
}
bool MPxCommand::isUndoable() const {
    return false;
}
bool MPxCommand::hasSyntax() const {
    return true;
}

void MPxCommand::displayInfo(const MString& theInfo) {
    MGlobal::displayInfo(theInfo);
}
void MPxCommand::displayWarning(const MString& theWarning, bool) {
    MGlobal::displayWarning(theWarning);
}
void MPxCommand::displayError(const MString& theError, bool) {
    MGlobal::displayError(theError);
}

void MPxCommand::clearResult() {
    result() = host::MelValue();
}
void MPxCommand::setResult(bool val) {
    result() = host::MelValue(val ? 1 : 0);
}
void MPxCommand::setResult(int val) {
    result() = host::MelValue(val);
}
void MPxCommand::setResult(unsigned int val) {
    result() = host::MelValue(static_cast<int>(val));
}
void MPxCommand::setResult(double val) {
    result() = host::MelValue(val);
}
void MPxCommand::setResult(const char* val) {
    result() = host::MelValue(val);
}
void MPxCommand::setResult(const MString& val) {
    result() = host::MelValue(val.asChar());
}
void MPxCommand::setResult(const MIntArray& val) {
    std::vector<int> array;
    for (unsigned int i = 0; i < val.length(); ++i)
        array.push_back(val[i]);
    result() = host::MelValue(array);
}
void MPxCommand::setResult(const MDoubleArray& val) {
    std::vector<double> array;
    for (unsigned int i = 0; i < val.length(); ++i)
        array.push_back(val[i]);
    result() = host::MelValue(array);
}
void MPxCommand::setResult(const MStringArray& val) {
    std::vector<std::string> array;
    for (unsigned int i = 0; i < val.length(); ++i)
        array.push_back(val[i].asChar());
    result() = host::MelValue(array);
}

void MPxCommand::appendToResult(bool val) {
    appendInt(val ? 1 : 0);
}
void MPxCommand::appendToResult(int val) {
    appendInt(val);
}
void MPxCommand::appendToResult(double val) {
    appendDouble(val);
}
void MPxCommand::appendToResult(const char* val) {
    appendString(val ? val : "");
}
void MPxCommand::appendToResult(const MString& val) {
    appendString(val.asChar());
}
void MPxCommand::appendToResult(const MStringArray& val) {
    for (unsigned int i = 0; i < val.length(); ++i)
        appendString(val[i].asChar());
}

bool MPxCommand::isCurrentResultArray() {
    return result().isArray();
}
