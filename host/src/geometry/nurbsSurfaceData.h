#pragma once
// The value of a NURBS surface plug: a surface, or nothing until one is created into it.
// The surface is shared and never changed in place, so copies of a plug's value stay valid.

#include "data/dataObjects.h"
#include "geometry/nurbsSurface.h"

#include <memory>

namespace host {

struct NurbsSurfaceData : DataObject {
    std::shared_ptr<const NurbsSurface> surface;

    MFn::Type apiType() const override { return MFn::kNurbsSurfaceData; }
    const char* apiTypeStr() const override { return "kNurbsSurfaceData"; }
    MFnData::Type dataType() const override { return MFnData::kNurbsSurface; }
    // MFnNurbsSurface works on it, so it counts as a NURBS surface too.
    bool hasFn(MFn::Type type) const override {
        return DataObject::hasFn(type) || type == MFn::kNurbsSurface;
    }
};

// A new data object holding the surface (which should have passed validateNurbsSurface).
MObject makeNurbsSurfaceData(NurbsSurface surface);
MObject makeNurbsSurfaceData(std::shared_ptr<const NurbsSurface> surface);
// The surface in a NURBS surface data object; null for anything else or an empty one.
const NurbsSurface* nurbsSurfaceIn(const MObject& data);
std::shared_ptr<const NurbsSurface> sharedNurbsSurfaceIn(const MObject& data);

} // namespace host
