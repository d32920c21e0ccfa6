#include "nodes/component/quilloComponent.h"

#include "plugin/typeIds.h"

const MTypeId quilloComponent::id(typeIds::quilloComponent);

void* quilloComponent::creator() {
    return new quilloComponent;
}

MStatus quilloComponent::initialize() {
    return MS::kSuccess;
}

void quilloComponent::nodeRemoved(MObject&, void*) {
    // The node holds nothing in the shared objects yet.
}
