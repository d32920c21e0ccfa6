#pragma once
// Arguments parsed against a syntax. A parser built from arguments that do not fit the syntax
// is empty and its constructor's status is MS::kFailure (no message is shown: the command layer
// has already refused such a call before doIt).
//
// Flags are named with or without the '-', by either name. Values are indexed from 0 within
// one use of a flag (the last use for a flag given several times; getFlagArgumentList reads
// each use). A value that cannot be converted to the type asked, a flag that is not set or an
// index past the values gives MS::kInvalidParameter (MS::kFailure for a flag the syntax lacks).

#include <maya/MArgList.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>
#include <maya/MTypes.h>

#include <memory>

namespace host {
struct ParsedArguments;
}

class OPENMAYA_EXPORT MArgParser {
  public:
    MArgParser();
    MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = nullptr);
    virtual ~MArgParser();

    bool isFlagSet(const char* flag, MStatus* ReturnStatus = nullptr) const;
    bool isEdit(MStatus* ReturnStatus = nullptr) const;
    bool isQuery(MStatus* ReturnStatus = nullptr) const;
    unsigned int numberOfFlagsUsed() const;
    unsigned int numberOfFlagUses(const char* flag) const;

    MStatus getFlagArgument(const char* flag, unsigned int index, bool& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, double& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MString& result) const;
    bool flagArgumentBool(const char* flag, unsigned int index,
                          MStatus* ReturnStatus = nullptr) const;
    int flagArgumentInt(const char* flag, unsigned int index,
                        MStatus* ReturnStatus = nullptr) const;
    double flagArgumentDouble(const char* flag, unsigned int index,
                              MStatus* ReturnStatus = nullptr) const;
    MString flagArgumentString(const char* flag, unsigned int index,
                               MStatus* ReturnStatus = nullptr) const;
    // The values of use i (0 for the first) of a multi-use flag.
    MStatus getFlagArgumentList(const char* flag, unsigned int i, MArgList& args) const;

    MStatus getCommandArgument(unsigned int index, bool& result) const;
    MStatus getCommandArgument(unsigned int index, int& result) const;
    MStatus getCommandArgument(unsigned int index, double& result) const;
    MStatus getCommandArgument(unsigned int index, MString& result) const;
    // The objects named after the command arguments.
    MStatus getObjects(MStringArray& result) const;

  protected:
    std::shared_ptr<const host::ParsedArguments> parsed_;
};
