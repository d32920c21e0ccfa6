#pragma once
// Numeric types of attributes, and numeric data objects of 2 to 4 components.

#include <maya/MFnData.h>

class OPENMAYA_EXPORT MFnNumericData : public MFnData {
  public:
    enum Type {
        kInvalid,
        kBoolean,
        k1Byte,
        kByte = k1Byte,
        kChar,
        k1Short,
        kShort = k1Short,
        k2Short,
        k3Short,
        k1Long,
        kInt = k1Long,
        kLong = k1Long,
        k2Long,
        k2Int = k2Long,
        k3Long,
        k3Int = k3Long,
        k1Float,
        kFloat = k1Float,
        k2Float,
        k3Float,
        k1Double,
        kDouble = k1Double,
        k2Double,
        k3Double,
        k4Double,
        kAddr,
        kLast
    };
    MFn::Type type() const override { return MFn::kNumericData; }
};
