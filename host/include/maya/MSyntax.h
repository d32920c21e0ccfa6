#pragma once
// What a plug-in command accepts: its flags with the types of their values, its command
// arguments, the objects that may follow, and whether it has query and edit modes. A command
// registered with a syntax has its arguments checked against it before doIt runs: an unknown
// flag, a flag short of values, a value of the wrong type or too many or too few objects is an
// error naming the command, and doIt is not called.
//
// Flag names may be given with or without the '-'. A short name has 1 to 3 characters, a long
// name at least 2; a name already used by another flag of the syntax is refused
// (MS::kInvalidParameter), as are the reserved -q/-query and -e/-edit.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <memory>

namespace host {
struct SyntaxData;
}

class OPENMAYA_EXPORT MSyntax {
  public:
    enum MArgType {
        kInvalidArgType,
        kNoArg,
        kBoolean,
        kLong,
        kDouble,
        kString,
        kUnsigned,
        kDistance,
        kAngle,
        kTime,
        kSelectionItem,
        kLastArgType
    };
    enum MObjectFormat {
        kInvalidObjectFormat,
        kNone,
        kStringObjects,
        kSelectionList,
        kLastObjectFormat
    };

    MSyntax();
    MSyntax(const MSyntax& other);
    MSyntax& operator=(const MSyntax& other);
    ~MSyntax();

    // Up to six values; the first kNoArg ends the list.
    MStatus addFlag(const char* shortName, const char* longName, MArgType argType1 = kNoArg,
                    MArgType argType2 = kNoArg, MArgType argType3 = kNoArg,
                    MArgType argType4 = kNoArg, MArgType argType5 = kNoArg,
                    MArgType argType6 = kNoArg);
    MStatus makeFlagMultiUse(const char* flagName);
    // A command argument: the values that follow the flags, before any objects.
    MStatus addArg(MArgType arg);
    // Objects after the command arguments (kStringObjects: any number of names by default).
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects = 0);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                          unsigned int maximumObjects);
    MStatus setMinObjects(unsigned int minimumObjects);
    MStatus setMaxObjects(unsigned int maximumObjects);
    void useSelectionAsDefault(bool useSelection);
    void enableQuery(bool supportsQuery = true);
    void enableEdit(bool supportsEdit = true);
    void clear();

    // The host's view of the syntax.
    const host::SyntaxData& data() const { return *data_; }

  private:
    std::unique_ptr<host::SyntaxData> data_;
};
