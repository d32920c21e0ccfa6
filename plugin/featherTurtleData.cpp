#include "plugin/featherTurtleData.h"

#include "plugin/typeIds.h"

const MTypeId featherTurtleData::id(typeIds::featherTurtleData);
const MString featherTurtleData::typeName("featherTurtleData");

void* featherTurtleData::creator() {
    return new featherTurtleData;
}

void featherTurtleData::copy(const MPxData& src) {
    // Only data of the same type can be copied; anything else leaves this unchanged.
    const featherTurtleData* source = dynamic_cast<const featherTurtleData*>(&src);
    if (source && source != this)
        turtle.assign(source->turtle);
}

MTypeId featherTurtleData::typeId() const {
    return id;
}

MString featherTurtleData::name() const {
    return typeName;
}
