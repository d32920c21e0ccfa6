#pragma once
// The value of a point array plug (a blendShape target's stored points): points with w.
// Shared between plugs and never changed in place.

#include "data/dataObjects.h"

#include <maya/MPoint.h>

#include <vector>

namespace host {

struct PointArrayData : DataObject {
    std::vector<MPoint> points;

    MFn::Type apiType() const override { return MFn::kPointArrayData; }
    const char* apiTypeStr() const override { return "kPointArrayData"; }
    MFnData::Type dataType() const override { return MFnData::kPointArray; }
};

MObject makePointArrayData(std::vector<MPoint> points);
// The points a data object holds; null for anything else.
const std::vector<MPoint>* pointsIn(const MObject& data);

} // namespace host
