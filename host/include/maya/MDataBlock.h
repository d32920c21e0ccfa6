#pragma once
// A node's values during compute. inputValue pulls the plug's upstream value first;
// outputValue gives the stored value without evaluating.

#include <maya/MArrayDataHandle.h>
#include <maya/MDataHandle.h>
#include <maya/MPlug.h>

class OPENMAYA_EXPORT MDataBlock {
  public:
    MDataHandle inputValue(const MPlug& plug, MStatus* status = nullptr);
    MDataHandle inputValue(const MObject& attribute, MStatus* status = nullptr);
    MDataHandle outputValue(const MPlug& plug, MStatus* status = nullptr);
    MDataHandle outputValue(const MObject& attribute, MStatus* status = nullptr);
    MArrayDataHandle inputArrayValue(const MPlug& plug, MStatus* status = nullptr);
    MArrayDataHandle inputArrayValue(const MObject& attribute, MStatus* status = nullptr);
    MArrayDataHandle outputArrayValue(const MPlug& plug, MStatus* status = nullptr);
    MArrayDataHandle outputArrayValue(const MObject& attribute, MStatus* status = nullptr);
    MStatus setClean(const MPlug& plug);
    MStatus setClean(const MObject& attribute);
    bool isClean(const MPlug& plug, MStatus* status = nullptr);
    bool isClean(const MObject& attribute, MStatus* status = nullptr);

    // Host side.
    explicit MDataBlock(host::Node* node) : node_(node) {}

  private:
    host::Node* node_;
};
