#include "data/pointArrayData.h"

#include <memory>

namespace host {

MObject makePointArrayData(std::vector<MPoint> points) {
    auto data = std::make_shared<PointArrayData>();
    data->points = std::move(points);
    return MObject(data);
}

const std::vector<MPoint>* pointsIn(const MObject& data) {
    const PointArrayData* holder = dataAs<PointArrayData>(data);
    return holder ? &holder->points : nullptr;
}

} // namespace host
