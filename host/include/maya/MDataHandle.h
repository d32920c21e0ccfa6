#pragma once
// A handle to one value inside a node's data block during compute.
// inputValue handles are up to date; outputValue handles are written and then set clean.

#include <maya/MFnData.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPxData;
class MFloatVector;
class MVector;
class MMatrix;
class MFloatMatrix;

namespace host {
class Node;
struct AttributeDef;
struct Slot;
} // namespace host

class OPENMAYA_EXPORT MDataHandle {
  public:
    MDataHandle() = default;

    bool isNumeric() const;
    bool isGeneric(bool& isNumeric, bool& isNull) const;
    MFnData::Type type() const;
    MTypeId typeId() const;
    MObject attribute();

    bool& asBool() const;
    char& asChar() const;
    short& asShort() const;
    int& asInt() const;
    int& asLong() const { return asInt(); }
    float& asFloat() const;
    double& asDouble() const;
    double3& asDouble3() const;
    float3& asFloat3() const;
    int2& asInt2() const;
    float2& asFloat2() const;
    double2& asDouble2() const;
    MVector& asVector() const;
    MFloatVector& asFloatVector() const;
    MString& asString() const;
    MObject data() const;
    MObject asMesh() const { return data(); }
    MObject asNurbsSurface() const { return data(); }
    MObject asNurbsCurve() const { return data(); }
    MPxData* asPluginData() const;
    // A matrix plug's value (the identity when it holds none).
    const MMatrix& asMatrix() const;

    void set(bool value);
    void set(char value);
    void set(short value);
    void set(int value);
    void set(float value);
    void set(double value);
    void set(const MVector& value);
    void set(const MFloatVector& value);
    void set(const MString& value);
    void set(const MMatrix& value);
    void set2Int(int a, int b);
    void set2Float(float a, float b);
    void set2Double(double a, double b);
    void set3Int(int a, int b, int c);
    void set3Float(float a, float b, float c);
    void set3Double(double a, double b, double c);
    MStatus set(const MObject& data);
    MStatus set(MPxData* data);
    MStatus copy(const MDataHandle& source);

    MDataHandle child(const MObject& attribute);
    void setClean();

    // Host side.
    MDataHandle(host::Node* node, const host::AttributeDef* attribute, host::Slot* slot);
    host::Slot* slot() const { return slot_; }
    const host::AttributeDef* attributeDef() const { return attribute_; }

  private:
    host::Node* node_ = nullptr;
    const host::AttributeDef* attribute_ = nullptr;
    host::Slot* slot_ = nullptr;
};
