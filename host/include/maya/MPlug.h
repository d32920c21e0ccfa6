#pragma once
// A plug: one attribute of one node, with a logical index for every array level on its path.
// Reading a plug evaluates it (pulling connections and computing dirty outputs).

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

class MPlugArray;
class MIntArray;
class MDataHandle;

class OPENMAYA_EXPORT MPlug {
  public:
    MPlug() = default;
    MPlug(const MObject& node, const MObject& attribute);

    bool isNull(MStatus* status = nullptr) const;
    MObject node(MStatus* status = nullptr) const;
    MObject attribute(MStatus* status = nullptr) const;
    MString name(MStatus* status = nullptr) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false,
                        bool useFullAttributePath = false, bool useLongNames = false,
                        MStatus* status = nullptr) const;
    MString info(MStatus* status = nullptr) const { return name(status); }

    bool isArray(MStatus* status = nullptr) const;
    bool isElement(MStatus* status = nullptr) const;
    bool isCompound(MStatus* status = nullptr) const;
    bool isChild(MStatus* status = nullptr) const;
    bool isConnected(MStatus* status = nullptr) const;
    bool isDestination(MStatus* status = nullptr) const;
    bool isSource(MStatus* status = nullptr) const;
    bool isNetworked(MStatus* status = nullptr) const;
    bool isKeyable(MStatus* status = nullptr) const;
    bool isLocked(MStatus* status = nullptr) const;
    MStatus setLocked(bool locked);

    unsigned int logicalIndex(MStatus* status = nullptr) const;
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus* status = nullptr) const;
    MPlug elementByPhysicalIndex(unsigned int physicalIndex, MStatus* status = nullptr) const;
    MPlug operator[](unsigned int physicalIndex) const {
        return elementByPhysicalIndex(physicalIndex);
    }
    unsigned int numElements(MStatus* status = nullptr) const;
    unsigned int evaluateNumElements(MStatus* status = nullptr) const;
    unsigned int numConnectedElements(MStatus* status = nullptr) const;
    int getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status = nullptr);
    MPlug array(MStatus* status = nullptr) const;
    MPlug parent(MStatus* status = nullptr) const;
    unsigned int numChildren(MStatus* status = nullptr) const;
    MPlug child(unsigned int index, MStatus* status = nullptr) const;
    MPlug child(const MObject& attribute, MStatus* status = nullptr) const;
    MStatus selectAncestorLogicalIndex(unsigned int index,
                                       const MObject& attribute = MObject::kNullObj);

    bool connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status = nullptr) const;

    MStatus getValue(bool& value) const;
    MStatus getValue(char& value) const;
    MStatus getValue(short& value) const;
    MStatus getValue(int& value) const;
    MStatus getValue(float& value) const;
    MStatus getValue(double& value) const;
    MStatus getValue(MString& value) const;
    MStatus getValue(MObject& value) const;
    MStatus setValue(bool value);
    MStatus setValue(char value);
    MStatus setValue(short value);
    MStatus setValue(int value);
    MStatus setValue(float value);
    MStatus setValue(double value);
    MStatus setValue(const MString& value);
    MStatus setValue(const char* value);
    MStatus setValue(MObject& value);

    bool asBool(MStatus* status = nullptr) const;
    char asChar(MStatus* status = nullptr) const;
    short asShort(MStatus* status = nullptr) const;
    int asInt(MStatus* status = nullptr) const;
    float asFloat(MStatus* status = nullptr) const;
    double asDouble(MStatus* status = nullptr) const;
    MString asString(MStatus* status = nullptr) const;
    MObject asMObject(MStatus* status = nullptr) const;
    MStatus setBool(bool value) { return setValue(value); }
    MStatus setShort(short value) { return setValue(value); }
    MStatus setInt(int value) { return setValue(value); }
    MStatus setFloat(float value) { return setValue(value); }
    MStatus setDouble(double value) { return setValue(value); }
    MStatus setString(const MString& value) { return setValue(value); }
    MStatus setMObject(MObject& value) { return setValue(value); }

    bool operator==(const MPlug& other) const;
    bool operator!=(const MPlug& other) const { return !(*this == other); }
    bool operator==(const MObject& attribute) const;
    bool operator!=(const MObject& attribute) const { return !(*this == attribute); }

    // Host side: the logical index of each array level on the path from the top attribute
    // down to this one (-1 where the level has no index chosen).
    const std::vector<int>& indices() const { return indices_; }
    MPlug(const MObject& node, const MObject& attribute, std::vector<int> indices);

  private:
    MObject node_;
    MObject attribute_;
    std::vector<int> indices_;
};
