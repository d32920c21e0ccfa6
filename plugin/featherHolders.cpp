#include "plugin/featherHolders.h"

#include "nodes/feather/quillo.h"
#include "nodes/system/quilloSystem.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MTypeId.h>

namespace {

struct featherHolderType {
    const char* typeName;
    const MTypeId& id;
    // The attribute whose evaluation builds the feathers.
    const MObject& output;
    const std::vector<featherGeometry>& (*feathersOf)(MPxNode& node);
};

const std::vector<featherGeometry>& quilloFeathers(MPxNode& node) {
    return static_cast<quillo&>(node).builtFeathers();
}

const std::vector<featherGeometry>& systemFeathers(MPxNode& node) {
    return static_cast<quilloSystem&>(node).builtFeathers();
}

const featherHolderType holderTypes[] = {
    {"quillo", quillo::id, quillo::outputMesh, &quilloFeathers},
    {"quilloSystem", quilloSystem::id, quilloSystem::outFeatherMesh, &systemFeathers},
};

} // namespace

const std::vector<featherGeometry>* heldFeathers(const MObject& node, MString& typeName) {
    MStatus status;
    MFnDependencyNode fn(node, &status);
    if (status != MS::kSuccess)
        return nullptr;
    const MTypeId id = fn.typeId();
    for (const featherHolderType& type : holderTypes) {
        if (id != type.id)
            continue;
        MPxNode* user = fn.userNode(&status);
        if (status != MS::kSuccess || !user)
            return nullptr;
        MPlug(node, type.output).asMObject(&status);
        typeName = type.typeName;
        return &type.feathersOf(*user);
    }
    return nullptr;
}
