#pragma once
// The arguments of one call of a plug-in command, as written: flags ("-file") and values, in
// order. A flag is held as its text with the '-'; an array value given to a command arrives as
// its elements, one argument each.
//
// Conversions: asInt and asDouble take a number, or a string that is a number and nothing more
// (asInt refuses one with a fraction); asBool also takes "true"/"on"/"yes" and
// "false"/"off"/"no". A conversion that fails, or an index past the end, sets
// MS::kInvalidParameter and returns 0, false or "".

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTypes.h>

#include <memory>

namespace host {
struct ArgListData;
}

class OPENMAYA_EXPORT MArgList {
  public:
    MArgList();
    MArgList(const MArgList& other);
    MArgList& operator=(const MArgList& other);
    ~MArgList();

    unsigned int length(MStatus* ReturnStatus = nullptr) const;
    bool asBool(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    int asInt(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    double asDouble(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MString asString(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    // The arguments from index on, up to the next flag; index is left past the last one taken.
    MStringArray asStringArray(unsigned int& index, MStatus* ReturnStatus = nullptr) const;

    // The index of the flag given by either name (with or without the '-'), or
    // kInvalidArgIndex when it is not there.
    unsigned int flagIndex(const char* shortFlag, const char* longFlag = nullptr) const;

    MArgList& addArg(bool arg);
    MArgList& addArg(int arg);
    MArgList& addArg(double arg);
    // A string that starts with '-' followed by a letter is taken as a flag.
    MArgList& addArg(const MString& arg);

    static const unsigned int kInvalidArgIndex;

    // The host's view of the arguments.
    const host::ArgListData& data() const { return *data_; }
    host::ArgListData& data() { return *data_; }

  private:
    std::unique_ptr<host::ArgListData> data_;
};
