#pragma once
// Data type "featherTurtleData": one turtle record, passed from a component node to a feather
// node. It lives only while the graph evaluates and is never written to scene files.

#include "plugin/turtleRecord.h"

#include <maya/MPxData.h>

class featherTurtleData : public MPxData {
  public:
    featherTurtleData() = default;
    ~featherTurtleData() override = default;

    static void* creator();
    void copy(const MPxData& src) override;
    MTypeId typeId() const override;
    MString name() const override;

    static const MTypeId id;
    static const MString typeName;

    turtleRecord turtle;
};
