#pragma once
// Kinds of typed data an attribute can hold.

#include <maya/MFnBase.h>

class OPENMAYA_EXPORT MFnData : public MFnBase {
  public:
    enum Type {
        kInvalid,
        kNumeric,
        kPlugin,
        kPluginGeometry,
        kString,
        kMatrix,
        kStringArray,
        kDoubleArray,
        kIntArray,
        kPointArray,
        kVectorArray,
        kComponentList,
        kMesh,
        kLattice,
        kNurbsCurve,
        kNurbsSurface,
        kSphere,
        kDynArrayAttrs,
        kDynSweptGeometry,
        kSubdSurface,
        kNObject,
        kAny,
        kLast
    };
    MFn::Type type() const override { return MFn::kData; }
};
