#pragma once
// Numeric attributes: scalars, 2/3-component compounds, points and colours.
// Hard limits (setMin/setMax) clamp values set from outside; soft limits only guide sliders.

#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

class OPENMAYA_EXPORT MFnNumericAttribute : public MFnAttribute {
  public:
    MFnNumericAttribute() = default;
    MFnNumericAttribute(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kNumericAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MFnNumericData::Type unitType,
                   double defaultValue = 0.0, MStatus* status = nullptr);
    // A compound of existing numeric children.
    MObject create(const MString& fullName, const MString& briefName, const MObject& child1,
                   const MObject& child2, const MObject& child3 = MObject::kNullObj,
                   MStatus* status = nullptr);
    MObject createColor(const MString& fullName, const MString& briefName,
                        MStatus* status = nullptr);
    MObject createPoint(const MString& fullName, const MString& briefName,
                        MStatus* status = nullptr);

    MFnNumericData::Type unitType(MStatus* status = nullptr) const;
    MObject child(unsigned int index, MStatus* status = nullptr) const;

    bool hasMin(MStatus* status = nullptr) const;
    bool hasMax(MStatus* status = nullptr) const;
    bool hasSoftMin(MStatus* status = nullptr) const;
    bool hasSoftMax(MStatus* status = nullptr) const;
    MStatus getMin(double& min1) const;
    MStatus getMin(double& min1, double& min2) const;
    MStatus getMin(double& min1, double& min2, double& min3) const;
    MStatus getMax(double& max1) const;
    MStatus getMax(double& max1, double& max2) const;
    MStatus getMax(double& max1, double& max2, double& max3) const;
    MStatus getSoftMin(double& min1) const;
    MStatus getSoftMax(double& max1) const;
    MStatus setMin(double min1);
    MStatus setMin(double min1, double min2);
    MStatus setMin(double min1, double min2, double min3);
    MStatus setMax(double max1);
    MStatus setMax(double max1, double max2);
    MStatus setMax(double max1, double max2, double max3);
    MStatus setSoftMin(double min1);
    MStatus setSoftMax(double max1);

    MStatus getDefault(bool& value);
    MStatus getDefault(int& value);
    MStatus getDefault(short& value);
    MStatus getDefault(float& value);
    MStatus getDefault(double& value);
    MStatus getDefault(double& v1, double& v2, double& v3);
    MStatus setDefault(bool value);
    MStatus setDefault(int value);
    MStatus setDefault(short value);
    MStatus setDefault(float value);
    MStatus setDefault(double value);
    MStatus setDefault(int v1, int v2);
    MStatus setDefault(float v1, float v2);
    MStatus setDefault(double v1, double v2);
    MStatus setDefault(int v1, int v2, int v3);
    MStatus setDefault(float v1, float v2, float v3);
    MStatus setDefault(double v1, double v2, double v3);
    MStatus setUsedAsColor(bool state);
    bool isUsedAsColor(MStatus* status = nullptr) const;
};
