#include "nodes/component/quilloComponentArray.h"

#include "plugin/typeIds.h"

const MTypeId quilloComponentArray::id(typeIds::quilloComponentArray);

void* quilloComponentArray::creator() {
    return new quilloComponentArray;
}

MStatus quilloComponentArray::initialize() {
    return MS::kSuccess;
}
