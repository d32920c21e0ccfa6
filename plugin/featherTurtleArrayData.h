#pragma once
// Data type "featherTurtleArrayData": an ordered, growable list of turtle records, passed from
// a component array node to a feather node. Never written to scene files.

#include "plugin/turtleRecord.h"

#include <maya/MPxData.h>

#include <vector>

class featherTurtleArrayData : public MPxData {
  public:
    featherTurtleArrayData() = default;
    ~featherTurtleArrayData() override = default;

    static void* creator();
    void copy(const MPxData& src) override;
    MTypeId typeId() const override;
    MString name() const override;

    static const MTypeId id;
    static const MString typeName;

    std::vector<turtleRecord> turtles;
};
