#pragma once
// NURBS surface data objects: the values that NURBS surface plugs hold. A new one holds no
// surface until MFnNurbsSurface::create fills it.

#include <maya/MFnData.h>

class OPENMAYA_EXPORT MFnNurbsSurfaceData : public MFnData {
  public:
    MFnNurbsSurfaceData() = default;
    MFnNurbsSurfaceData(MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kNurbsSurfaceData; }
    // A new, empty kNurbsSurfaceData object, also attached to this function set.
    MObject create(MStatus* status = nullptr);
};
