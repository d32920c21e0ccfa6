#pragma once
// Base of plug-in data types passed between nodes through typed attributes.

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include <iosfwd>

class MArgList;

class OPENMAYA_EXPORT MPxData {
  public:
    enum Type { kData, kGeometryData, kLast };

    MPxData();
    virtual ~MPxData();

    virtual MStatus readASCII(const MArgList& argList, unsigned int& endOfTheLastParsedElement);
    virtual MStatus readBinary(std::istream& in, unsigned int length);
    virtual MStatus writeASCII(std::ostream& out);
    virtual MStatus writeBinary(std::ostream& out);
    virtual void copy(const MPxData& src) = 0;
    virtual MTypeId typeId() const = 0;
    virtual MString name() const = 0;
};
