#include "nodes/system/quilloSystem.h"

#include "plugin/typeIds.h"

#include <maya/MFnDependencyNode.h>

const MTypeId quilloSystem::id(typeIds::quilloSystem);

void* quilloSystem::creator() {
    return new quilloSystem;
}

void quilloSystem::postConstructor() {
    feathers.clear();
    featherColors.setLength(4);
}

// Placement and the build are not here yet: no plug is produced, so "outFeatherMesh" stays
// unevaluated. draw and boundingBox are left to MPxLocatorNode until the feathers exist.
MStatus quilloSystem::compute(const MPlug&, MDataBlock&) {
    return MS::kUnknownParameter;
}

bool quilloSystem::isBounded() const {
    return true;
}

bool quilloSystem::excludeAsLocator() const {
    return false;
}

void quilloSystem::nodeRemoved(MObject& node, void*) {
    MFnDependencyNode fn(node);
    if (fn.typeId() != id)
        return;
    if (quilloSystem* system = static_cast<quilloSystem*>(fn.userNode())) {
        system->feathers.clear();
        system->featherColors.clear();
    }
}
