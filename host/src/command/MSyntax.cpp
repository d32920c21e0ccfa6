#include "command/commandArguments.h"

#include <maya/MSyntax.h>

namespace {
bool reserved(const std::string& name) {
    return name == "q" || name == "query" || name == "e" || name == "edit";
}
} // namespace

MSyntax::MSyntax() : data_(std::make_unique<host::SyntaxData>()) {}
MSyntax::MSyntax(const MSyntax& other) : data_(std::make_unique<host::SyntaxData>(*other.data_)) {}
MSyntax& MSyntax::operator=(const MSyntax& other) {
    if (this != &other)
        *data_ = *other.data_;
    return *this;
}
MSyntax::~MSyntax() = default;

MStatus MSyntax::addFlag(const char* shortName, const char* longName, MArgType argType1,
                         MArgType argType2, MArgType argType3, MArgType argType4, MArgType argType5,
                         MArgType argType6) {
    host::SyntaxFlag flag;
    flag.shortName = host::bareFlagName(shortName);
    flag.longName = host::bareFlagName(longName);
    if (flag.shortName.empty() || flag.shortName.size() > 3 || flag.longName.size() < 2 ||
        reserved(flag.shortName) || reserved(flag.longName) || data_->find(flag.shortName) ||
        data_->find(flag.longName))
        return MS::kInvalidParameter;
    for (MArgType type : {argType1, argType2, argType3, argType4, argType5, argType6}) {
        if (type == kNoArg)
            break;
        if (type <= kNoArg || type >= kLastArgType)
            return MS::kInvalidParameter;
        flag.types.push_back(type);
    }
    data_->flags.push_back(flag);
    return MS::kSuccess;
}

MStatus MSyntax::makeFlagMultiUse(const char* flagName) {
    const host::SyntaxFlag* found = data_->find(host::bareFlagName(flagName));
    if (!found)
        return MS::kInvalidParameter;
    const_cast<host::SyntaxFlag*>(found)->multiUse = true;
    return MS::kSuccess;
}

MStatus MSyntax::addArg(MArgType arg) {
    if (arg <= kNoArg || arg >= kLastArgType)
        return MS::kInvalidParameter;
    data_->commandArgs.push_back(arg);
    return MS::kSuccess;
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects) {
    return setObjectType(objectFormat, minimumObjects, 0xffffffffu);
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                               unsigned int maximumObjects) {
    if (objectFormat <= kInvalidObjectFormat || objectFormat >= kLastObjectFormat ||
        minimumObjects > maximumObjects)
        return MS::kInvalidParameter;
    data_->objectFormat = objectFormat;
    data_->minObjects = objectFormat == kNone ? 0 : minimumObjects;
    data_->maxObjects = objectFormat == kNone ? 0 : maximumObjects;
    return MS::kSuccess;
}

MStatus MSyntax::setMinObjects(unsigned int minimumObjects) {
    if (data_->objectFormat == kNone || minimumObjects > data_->maxObjects)
        return MS::kInvalidParameter;
    data_->minObjects = minimumObjects;
    return MS::kSuccess;
}

MStatus MSyntax::setMaxObjects(unsigned int maximumObjects) {
    if (data_->objectFormat == kNone || maximumObjects < data_->minObjects)
        return MS::kInvalidParameter;
    data_->maxObjects = maximumObjects;
    return MS::kSuccess;
}

// The host has no selection to fall back on: a command that uses it sees no objects.
void MSyntax::useSelectionAsDefault(bool) {}

void MSyntax::enableQuery(bool supportsQuery) {
    data_->query = supportsQuery;
}

void MSyntax::enableEdit(bool supportsEdit) {
    data_->edit = supportsEdit;
}

void MSyntax::clear() {
    *data_ = host::SyntaxData();
}
