#include "geometry/nurbsSurfaceData.h"

#include "graph/statusOut.h"

#include <maya/MFnNurbsSurfaceData.h>

namespace host {

MObject makeNurbsSurfaceData(NurbsSurface surface) {
    return makeNurbsSurfaceData(std::make_shared<const NurbsSurface>(std::move(surface)));
}

MObject makeNurbsSurfaceData(std::shared_ptr<const NurbsSurface> surface) {
    auto data = std::make_shared<NurbsSurfaceData>();
    data->surface = std::move(surface);
    return MObject(data);
}

const NurbsSurface* nurbsSurfaceIn(const MObject& data) {
    const NurbsSurfaceData* holder = dataAs<NurbsSurfaceData>(data);
    return holder ? holder->surface.get() : nullptr;
}

std::shared_ptr<const NurbsSurface> sharedNurbsSurfaceIn(const MObject& data) {
    const NurbsSurfaceData* holder = dataAs<NurbsSurfaceData>(data);
    return holder ? holder->surface : nullptr;
}

} // namespace host

using host::report;

MFnNurbsSurfaceData::MFnNurbsSurfaceData(MObject& object, MStatus* status) {
    report(status,
           host::dataAs<host::NurbsSurfaceData>(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

MObject MFnNurbsSurfaceData::create(MStatus* status) {
    object_ = MObject(std::make_shared<host::NurbsSurfaceData>());
    report(status, MS::kSuccess);
    return object_;
}
