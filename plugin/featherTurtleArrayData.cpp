#include "plugin/featherTurtleArrayData.h"

#include "plugin/typeIds.h"

const MTypeId featherTurtleArrayData::id(typeIds::featherTurtleArrayData);
const MString featherTurtleArrayData::typeName("featherTurtleArrayData");

void* featherTurtleArrayData::creator() {
    return new featherTurtleArrayData;
}

void featherTurtleArrayData::copy(const MPxData& src) {
    const featherTurtleArrayData* source = dynamic_cast<const featherTurtleArrayData*>(&src);
    if (!source || source == this)
        return;
    turtles.clear();
    turtles.resize(source->turtles.size());
    for (size_t i = 0; i < turtles.size(); ++i)
        turtles[i].assign(source->turtles[i]);
}

MTypeId featherTurtleArrayData::typeId() const {
    return id;
}

MString featherTurtleArrayData::name() const {
    return typeName;
}
