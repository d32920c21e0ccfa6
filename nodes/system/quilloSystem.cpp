#include "nodes/system/quilloSystem.h"

#include "plugin/typeIds.h"

const MTypeId quilloSystem::id(typeIds::quilloSystem);

void* quilloSystem::creator() {
    return new quilloSystem;
}

MStatus quilloSystem::initialize() {
    return MS::kSuccess;
}

void quilloSystem::nodeRemoved(MObject&, void*) {
    // The node holds nothing in the shared objects yet.
}
