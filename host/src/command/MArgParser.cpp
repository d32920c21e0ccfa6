#include "command/commandArguments.h"

#include <maya/MArgDatabase.h>
#include <maya/MArgParser.h>

MArgParser::MArgParser() = default;

MArgParser::MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* status) {
    auto parsed = std::make_shared<host::ParsedArguments>();
    std::string error;
    const bool fits = host::parseArguments(syntax.data(), argList.data().items, *parsed, &error);
    if (fits)
        parsed_ = parsed;
    if (status)
        *status = fits ? MS::kSuccess : MS::kFailure;
}

MArgParser::~MArgParser() = default;

namespace {

void setStatus(MStatus* status, MStatus value) {
    if (status)
        *status = value;
}

// The last use of the flag; null (with the status why) when the syntax lacks it or it is unset.
const host::FlagUse* lastUse(const host::ParsedArguments* parsed, const char* flag,
                             MStatus* status) {
    const host::SyntaxFlag* wanted =
        parsed ? parsed->syntax.find(host::bareFlagName(flag)) : nullptr;
    if (!wanted) {
        setStatus(status, MS::kFailure);
        return nullptr;
    }
    const host::FlagUse* found = nullptr;
    for (const host::FlagUse& use : parsed->uses)
        if (use.flag == wanted)
            found = &use;
    setStatus(status, found ? MS::kSuccess : MS::kInvalidParameter);
    return found;
}

template <typename T>
MStatus read(const host::ArgItem* item, T& out, bool (host::ArgItem::*to)(T&) const) {
    if (!item)
        return MS::kInvalidParameter;
    T value{};
    if (!(item->*to)(value))
        return MS::kInvalidParameter;
    out = value;
    return MS::kSuccess;
}

const host::ArgItem* flagValue(const host::ParsedArguments* parsed, const char* flag,
                               unsigned int index, MStatus* status) {
    const host::FlagUse* use = lastUse(parsed, flag, status);
    if (!use)
        return nullptr;
    if (index >= use->values.size()) {
        setStatus(status, MS::kInvalidParameter);
        return nullptr;
    }
    return &use->values[index];
}

const host::ArgItem* commandValue(const host::ParsedArguments* parsed, unsigned int index) {
    return parsed && index < parsed->commandArgs.size() ? &parsed->commandArgs[index] : nullptr;
}

} // namespace

bool MArgParser::isFlagSet(const char* flag, MStatus* status) const {
    MStatus found;
    const bool set = lastUse(parsed_.get(), flag, &found) != nullptr;
    setStatus(status, found == MS::kFailure ? MS::kFailure : MS::kSuccess);
    return set;
}

bool MArgParser::isEdit(MStatus* status) const {
    setStatus(status, parsed_ ? MS::kSuccess : MS::kFailure);
    return parsed_ && parsed_->edit;
}

bool MArgParser::isQuery(MStatus* status) const {
    setStatus(status, parsed_ ? MS::kSuccess : MS::kFailure);
    return parsed_ && parsed_->query;
}

unsigned int MArgParser::numberOfFlagsUsed() const {
    return parsed_ ? static_cast<unsigned int>(parsed_->uses.size()) : 0;
}

unsigned int MArgParser::numberOfFlagUses(const char* flag) const {
    const host::SyntaxFlag* wanted =
        parsed_ ? parsed_->syntax.find(host::bareFlagName(flag)) : nullptr;
    unsigned int count = 0;
    if (wanted)
        for (const host::FlagUse& use : parsed_->uses)
            count += use.flag == wanted ? 1 : 0;
    return count;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, bool& result) const {
    MStatus status;
    const host::ArgItem* item = flagValue(parsed_.get(), flag, index, &status);
    return item ? read(item, result, &host::ArgItem::toBool) : status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, int& result) const {
    MStatus status;
    const host::ArgItem* item = flagValue(parsed_.get(), flag, index, &status);
    return item ? read(item, result, &host::ArgItem::toInt) : status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index,
                                    unsigned int& result) const {
    int value = 0;
    MStatus status = getFlagArgument(flag, index, value);
    if (status && value < 0)
        return MS::kInvalidParameter;
    if (status)
        result = static_cast<unsigned int>(value);
    return status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, double& result) const {
    MStatus status;
    const host::ArgItem* item = flagValue(parsed_.get(), flag, index, &status);
    return item ? read(item, result, &host::ArgItem::toDouble) : status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MString& result) const {
    MStatus status;
    const host::ArgItem* item = flagValue(parsed_.get(), flag, index, &status);
    if (item)
        result = MString(item->toString().c_str());
    return item ? MStatus(MS::kSuccess) : status;
}

bool MArgParser::flagArgumentBool(const char* flag, unsigned int index, MStatus* status) const {
    bool value = false;
    setStatus(status, getFlagArgument(flag, index, value));
    return value;
}

int MArgParser::flagArgumentInt(const char* flag, unsigned int index, MStatus* status) const {
    int value = 0;
    setStatus(status, getFlagArgument(flag, index, value));
    return value;
}

double MArgParser::flagArgumentDouble(const char* flag, unsigned int index, MStatus* status) const {
    double value = 0.0;
    setStatus(status, getFlagArgument(flag, index, value));
    return value;
}

MString MArgParser::flagArgumentString(const char* flag, unsigned int index,
                                       MStatus* status) const {
    MString value;
    setStatus(status, getFlagArgument(flag, index, value));
    return value;
}

MStatus MArgParser::getFlagArgumentList(const char* flag, unsigned int i, MArgList& args) const {
    const host::SyntaxFlag* wanted =
        parsed_ ? parsed_->syntax.find(host::bareFlagName(flag)) : nullptr;
    if (!wanted)
        return MS::kFailure;
    unsigned int seen = 0;
    for (const host::FlagUse& use : parsed_->uses) {
        if (use.flag != wanted)
            continue;
        if (seen++ == i) {
            args = MArgList();
            args.data().items = use.values;
            return MS::kSuccess;
        }
    }
    return MS::kInvalidParameter;
}

MStatus MArgParser::getCommandArgument(unsigned int index, bool& result) const {
    return read(commandValue(parsed_.get(), index), result, &host::ArgItem::toBool);
}

MStatus MArgParser::getCommandArgument(unsigned int index, int& result) const {
    return read(commandValue(parsed_.get(), index), result, &host::ArgItem::toInt);
}

MStatus MArgParser::getCommandArgument(unsigned int index, double& result) const {
    return read(commandValue(parsed_.get(), index), result, &host::ArgItem::toDouble);
}

MStatus MArgParser::getCommandArgument(unsigned int index, MString& result) const {
    const host::ArgItem* item = commandValue(parsed_.get(), index);
    if (!item)
        return MS::kInvalidParameter;
    result = MString(item->toString().c_str());
    return MS::kSuccess;
}

MStatus MArgParser::getObjects(MStringArray& result) const {
    if (!parsed_)
        return MS::kFailure;
    result.clear();
    for (const std::string& object : parsed_->objects)
        result.append(MString(object.c_str()));
    return MS::kSuccess;
}

MArgDatabase::MArgDatabase() = default;
MArgDatabase::MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* status)
    : MArgParser(syntax, argList, status) {}
MArgDatabase::~MArgDatabase() = default;
