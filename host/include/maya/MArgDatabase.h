#pragma once
// The parsed arguments of a plug-in command (see MArgParser.h for the rules).

#include <maya/MArgList.h>
#include <maya/MArgParser.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

class OPENMAYA_EXPORT MArgDatabase : public MArgParser {
  public:
    MArgDatabase();
    MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus = nullptr);
    ~MArgDatabase() override;
};
