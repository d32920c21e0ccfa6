#include "nodes/system/quilloSystem.h"

#include "feather/featherGenerator.h"
#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "nodes/system/featherPlacement.h"
#include "nodes/system/featherRoots.h"
#include "nodes/system/systemFeathers.h"
#include "plugin/sharedObjects.h"
#include "plugin/typeIds.h"

#include <maya/MDagPath.h>
#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnSet.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

const MTypeId quilloSystem::id(typeIds::quilloSystem);

void* quilloSystem::creator() {
    return new quilloSystem;
}

void quilloSystem::postConstructor() {
    feathers.clear();
    featherColors.setLength(4);
}

MStatus quilloSystem::compute(const MPlug& plug, MDataBlock& data) {
    MStatus status;
    const bool isActive = data.inputValue(active, &status).asBool();
    const int quality = data.inputValue(displayQuality, &status).asInt();
    if (!isActive || quality == 0) {
        feathers.clear();
        return MS::kSuccess;
    }
    if (plug != outFeatherMesh)
        return MS::kUnknownParameter;

    gatherAndBuild(data);

    // The feathers stay in the node for drawing; the output only passes the input mesh on.
    MObject passed = data.inputValue(inFeatherMesh, &status).asMesh();
    MDataHandle output = data.outputValue(outFeatherMesh, &status);
    output.set(passed);
    output.setClean();

    for (featherGeometry& feather : feathers)
        feather.dropBuildOnlyData();
    return MS::kSuccess;
}

namespace {

// The full name of the first plug feeding `plug`, or "" when nothing does.
MString sourcePlugName(const MPlug& plug) {
    MPlugArray sources;
    if (!plug.connectedTo(sources, true, false) || sources.length() == 0)
        return MString();
    return sources[0].name();
}

// The growth shape: the first member of the set feeding "growthSet", with its component (null
// for the whole shape). False when there is no set, no member or no shape under it.
bool growthShape(const MPlug& growthSetPlug, MDagPath& shape, MObject& component) {
    MPlugArray sources;
    if (!growthSetPlug.connectedTo(sources, true, false) || sources.length() == 0)
        return false;
    MStatus status;
    MFnSet set(sources[0].node(), &status);
    if (status != MS::kSuccess)
        return false;
    MSelectionList members;
    if (set.getMembers(members, false) != MS::kSuccess)
        return false;
    if (members.getDagPath(0, shape, component) != MS::kSuccess)
        return false;
    return shape.extendToShape() == MS::kSuccess;
}

} // namespace

void quilloSystem::gatherAndBuild(MDataBlock& data) {
    feathers.clear();
    if (!theFeatherGenerator || !descriptionRegistry || !turtleRegistry)
        return;
    featherGenerator& generator = *theFeatherGenerator;
    MStatus status;

    const float keepFraction =
        static_cast<float>(data.inputValue(displayQuality, &status).asInt()) / 100.0f;
    const float barbuleQuality =
        static_cast<float>(data.inputValue(displayBarbuleQuality, &status).asInt()) / 100.0f;

    gridSettings grid;
    grid.uSegment = data.inputValue(uSegment, &status).asInt();
    grid.vSegment = data.inputValue(vSegment, &status).asInt();
    grid.jitterDistance = data.inputValue(jitterDistance, &status).asFloat();
    grid.jitterFrequency = data.inputValue(jitterFrequency, &status).asFloat();
    grid.randomSeed = data.inputValue(randomSeed, &status).asInt();
    const double2& offset = data.inputValue(uvOffset, &status).asDouble2();
    grid.uvOffset[0] = offset[0];
    grid.uvOffset[1] = offset[1];

    ::systemParams params;
    params.featherId = data.inputValue(inRenderFeather, &status).asInt();
    params.outputFeatherMesh = data.inputValue(outputFeatherMesh, &status).asBool();
    params.guidsPerFeather = data.inputValue(guidsPerFeather, &status).asInt();
    params.globalScale = data.inputValue(gloalScale, &status).asFloat();
    params.useUVIFile = data.inputValue(useUVIFile, &status).asBool();
    params.uviFile = data.inputValue(uviFile, &status).asString();
    params.uvSetName = data.inputValue(uvSetName, &status).asString();
    if (params.uvSetName.length() == 0)
        params.uvSetName = "map1";
    const float2& translate = data.inputValue(uvTranslate, &status).asFloat2();
    params.uvTranslate[0] = translate[0];
    params.uvTranslate[1] = translate[1];
    params.randScale = data.inputValue(randScale, &status).asFloat();
    params.radius = data.inputValue(radius, &status).asFloat() + 1e-8f;
    params.power = data.inputValue(power, &status).asFloat();
    params.randomSeed = grid.randomSeed;

    // Read only so that whatever feeds them is evaluated first.
    data.inputValue(colorTex, &status);
    data.inputValue(scaleTex, &status);
    data.inputValue(baldnessTex, &status);
    data.inputValue(radiusTex, &status);
    data.inputValue(inputGrowSurface, &status);
    data.inputValue(inputGrowMesh, &status);
    data.inputValue(inputGrowMeshID, &status);

    // Scale, baldness, colour, radius: the order the builds index them in.
    const MObject self = thisMObject();
    const MObject* textureInputs[4] = {&scaleTex, &baldnessTex, &colorTex, &radiusTex};
    for (unsigned int i = 0; i < 4; ++i)
        params.textureNames[i] = sourcePlugName(MPlug(self, *textureInputs[i]));

    if (params.featherId < 0)
        return;
    const int key = params.featherId;
    featherInfo* description = static_cast<featherInfo*>(descriptionRegistry->find(&key));
    if (!description)
        return;
    generator.info = description;
    generator.systemParams = params;

    featherColors.setLength(4);
    featherColors[0] = description->rachisRootColor;
    featherColors[1] = description->rachisTipColor;
    featherColors[2] = description->rootColor;
    featherColors[3] = description->tipColor;

    MDagPath shape;
    MObject component;
    if (!growthShape(MPlug(self, growthSet), shape, component))
        return;

    // The description is shared with its feather node: its barbule count is lowered for the
    // system's build only and always put back.
    const int ownBarbuleCount = description->barbuleCount;
    featherRoots roots;
    bool placed = false;
    if (MPlug(self, inputGrowSurface).isConnected() && shape.apiType() == MFn::kNurbsSurface) {
        placed = placeOnSurface(shape, grid, generator.systemParams, roots) == MS::kSuccess;
    } else if (MPlug(self, inputGrowMesh).isConnected() && shape.apiType() == MFn::kMesh) {
        MItMeshPolygon faces(shape, component, &status);
        placed = status == MS::kSuccess &&
                 placeOnMesh(faces, grid, generator.systemParams, roots) == MS::kSuccess;
    }
    if (placed) {
        thinForDisplay(roots, keepFraction, grid.randomSeed, generator);
        description->barbuleCount =
            static_cast<int>(static_cast<float>(description->barbuleNum) * barbuleQuality);
        buildSystemFeathers(generator, *turtleRegistry, roots, feathers);
    }
    description->barbuleCount = ownBarbuleCount;
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
