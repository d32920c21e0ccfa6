#include "nodes/feather/quillo.h"

#include "plugin/typeIds.h"

const MTypeId quillo::id(typeIds::quillo);

void* quillo::creator() {
    return new quillo;
}

MStatus quillo::initialize() {
    return MS::kSuccess;
}

void quillo::nodeRemoved(MObject&, void*) {
    // The node holds nothing in the shared objects yet.
}
