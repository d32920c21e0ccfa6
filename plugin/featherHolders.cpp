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
    std::unique_ptr<featherSource> (*sourceOf)(MPxNode& node);
};

const std::vector<featherGeometry>& quilloFeathers(MPxNode& node) {
    return static_cast<quillo&>(node).builtFeathers();
}

const std::vector<featherGeometry>& systemFeathers(MPxNode& node) {
    return static_cast<quilloSystem&>(node).builtFeathers();
}

std::unique_ptr<featherSource> quilloSource(MPxNode& node) {
    return std::make_unique<featherListSource>(quilloFeathers(node));
}

// The plan itself, borrowed: the node keeps it until its next evaluation.
class borrowedSource : public featherSource {
  public:
    explicit borrowedSource(const featherSource& source) : source_(source) {}
    size_t slotCount() const override { return source_.slotCount(); }
    unsigned int workerCount() const override { return source_.workerCount(); }
    void build(size_t first, size_t end, const delivery& deliver) const override {
        source_.build(first, end, deliver);
    }

  private:
    const featherSource& source_;
};

std::unique_ptr<featherSource> systemSource(MPxNode& node) {
    const systemBuildPlan* plan = static_cast<quilloSystem&>(node).buildPlan();
    if (!plan) {
        static const std::vector<featherGeometry> none;
        return std::make_unique<featherListSource>(none);
    }
    return std::make_unique<borrowedSource>(*plan);
}

const featherHolderType holderTypes[] = {
    {"quillo", quillo::id, quillo::outputMesh, &quilloFeathers, &quilloSource},
    {"quilloSystem", quilloSystem::id, quilloSystem::outFeatherMesh, &systemFeathers,
     &systemSource},
};

// The node's holder type with its user node, its output pulled; null for other nodes.
const featherHolderType* evaluatedHolder(const MObject& node, MPxNode*& user) {
    MStatus status;
    MFnDependencyNode fn(node, &status);
    if (status != MS::kSuccess)
        return nullptr;
    const MTypeId id = fn.typeId();
    for (const featherHolderType& type : holderTypes) {
        if (id != type.id)
            continue;
        user = fn.userNode(&status);
        if (status != MS::kSuccess || !user)
            return nullptr;
        MPlug(node, type.output).asMObject(&status);
        return &type;
    }
    return nullptr;
}

} // namespace

const std::vector<featherGeometry>* heldFeathers(const MObject& node, MString& typeName) {
    MPxNode* user = nullptr;
    const featherHolderType* type = evaluatedHolder(node, user);
    if (!type)
        return nullptr;
    typeName = type->typeName;
    return &type->feathersOf(*user);
}

std::unique_ptr<featherSource> featherSourceOf(const MObject& node, MString& typeName) {
    MPxNode* user = nullptr;
    const featherHolderType* type = evaluatedHolder(node, user);
    if (!type)
        return nullptr;
    typeName = type->typeName;
    return type->sourceOf(*user);
}
