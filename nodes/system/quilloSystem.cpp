#include "nodes/system/quilloSystem.h"

#include "feather/buildBudget.h"
#include "feather/buildInputs.h"
#include "feather/errorReport.h"
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
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

const MTypeId quilloSystem::id(typeIds::quilloSystem);

void* quilloSystem::creator() {
    return new quilloSystem;
}

void quilloSystem::postConstructor() {
    forgetFeathers();
    featherColors.setLength(4);
}

void quilloSystem::forgetFeathers() {
    plan.reset();
    std::vector<featherGeometry>().swap(feathers);
    feathersBuilt = true;
}

const std::vector<featherGeometry>& quilloSystem::builtFeathers() const {
    if (feathersBuilt)
        return feathers;
    feathersBuilt = true;
    // No exception may reach the host: memory running out fails this build alone.
    try {
        collectFeathers(*plan, feathers);
    } catch (const std::exception& failure) {
        std::vector<featherGeometry>().swap(feathers); // nothing half-built is kept
        reportBuildFailure(*this, failure, "building", plan->slotCount());
    }
    for (featherGeometry& feather : feathers)
        feather.dropBuildOnlyData();
    return feathers;
}

MStatus quilloSystem::compute(const MPlug& plug, MDataBlock& data) {
    MStatus status;
    const bool isActive = data.inputValue(active, &status).asBool();
    const int quality = data.inputValue(displayQuality, &status).asInt();
    if (!isActive || quality == 0) {
        forgetFeathers();
        return MS::kSuccess;
    }
    if (plug != outFeatherMesh)
        return MS::kUnknownParameter;

    // No exception may reach the host: memory running out fails this node's build alone.
    try {
        gatherAndPlan(data);
    } catch (const std::exception& failure) {
        forgetFeathers(); // nothing half-prepared is kept
        reportBuildFailure(*this, failure, building, buildingCount);
    }

    // The plan stays in the node (the feathers built from it when needed); the output only
    // passes the input mesh on.
    MObject passed = data.inputValue(inFeatherMesh, &status).asMesh();
    MDataHandle output = data.outputValue(outFeatherMesh, &status);
    output.set(passed);
    output.setClean();
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

unsigned int nonFiniteRoots(const featherRoots& roots) {
    unsigned int count = 0;
    for (unsigned int k = 0; k < roots.length(); ++k) {
        const MFloatPoint& p = roots.rootPositions[k];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            ++count;
    }
    return count;
}

} // namespace

void quilloSystem::reportError(const std::string& text) const {
    MGlobal::displayError(name() + ": " + text.c_str());
}

void quilloSystem::gatherAndPlan(MDataBlock& data) {
    forgetFeathers();
    building = "reading its inputs";
    buildingCount = 0;
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
    // system's build only and always put back, whichever way this returns.
    struct restoreCount {
        featherInfo& description;
        const int count;
        ~restoreCount() { description.barbuleCount = count; }
    } restore{*description, description->barbuleCount};
    // Saturating, as the feather node does: a huge "barbuleNum" is refused below, not undefined.
    description->barbuleCount =
        truncateToInt(static_cast<float>(description->barbuleNum) * barbuleQuality);

    // What one feather can hold, for the budget; a description that cannot be built at all is
    // reported here too, since the feather node lending it may never be evaluated.
    buildInputs inputs;
    if (!inputs.prepare(*description)) {
        reportError("the feather description it borrows cannot be built: " + inputs.refusal +
                    "; no feathers were built.");
        return;
    }
    const long long pointsPerFeather = featherPointCount(inputs);
    const std::string tube =
        rachisTubeProblem(inputs, description->rachisSides,
                          description->rachisRenderAs == 1 || params.outputFeatherMesh);
    if (!tube.empty())
        reportError(tube + ".");
    // Display thinning keeps about keepFraction of the roots a file gives.
    const unsigned long long fileRootLimit =
        keepFraction > 0.0f && keepFraction < 1.0f
            ? static_cast<unsigned long long>(std::min(
                  static_cast<double>(featherBudget(pointsPerFeather)) / keepFraction, 1.8e19))
            : featherBudget(pointsPerFeather);
    if (!params.useUVIFile) {
        const long long cells = static_cast<long long>(grid.uSegment) * grid.vSegment;
        if (grid.uSegment > 0 && grid.vSegment > 0 && cells > maxGridCells) {
            reportError("\"uSegment\" x \"vSegment\" is " + std::to_string(grid.uSegment) + " x " +
                        std::to_string(grid.vSegment) + " = " + std::to_string(cells) +
                        " cells, more than the limit of " + std::to_string(maxGridCells) +
                        "; no feathers were placed.");
            return;
        }
    } else if (params.uviFile.length() == 0) {
        reportError("\"useUVIFile\" is on but \"uviFile\" names no file; no feathers were "
                    "placed.");
        return;
    }

    building = "placing its feather roots";
    featherRoots roots;
    MStatus placed = MS::kFailure;
    if (MPlug(self, inputGrowSurface).isConnected() && shape.apiType() == MFn::kNurbsSurface) {
        placed = placeOnSurface(shape, grid, generator.systemParams, roots, fileRootLimit);
    } else if (MPlug(self, inputGrowMesh).isConnected() && shape.apiType() == MFn::kMesh) {
        MItMeshPolygon faces(shape, component, &status);
        if (status == MS::kSuccess)
            placed = placeOnMesh(faces, grid, generator.systemParams, roots, fileRootLimit);
    } else {
        return; // no growth shape connected: nothing to grow on
    }
    if (placed == MS::kInvalidParameter) {
        reportError("\"uSegment\" x \"vSegment\" (" + std::to_string(grid.uSegment) + " x " +
                    std::to_string(grid.vSegment) +
                    ") makes cells narrower than the limit of 1e-06 of the growth shape's u/v "
                    "range; no feathers were placed.");
        return;
    }
    if (!placed) {
        if (params.useUVIFile)
            reportError("the UV info file '" + std::string(params.uviFile.asChar()) +
                        "' named by \"uviFile\" could not be read; no feathers were placed.");
        return;
    }
    thinForDisplay(roots, keepFraction, grid.randomSeed, generator);

    const std::string overBudget = budgetProblem(roots.length(), pointsPerFeather);
    if (!overBudget.empty()) {
        reportError(overBudget + "; no feathers were built.");
        return;
    }
    building = "preparing";
    buildingCount = roots.length();
    auto prepared = std::make_unique<systemBuildPlan>();
    const bool buildable = prepared->prepare(generator, *turtleRegistry, roots);
    systemBuildReport built;
    built.roots = static_cast<unsigned int>(prepared->slotCount());
    built.nonFinitePaths = prepared->nonFinitePaths();
    if (buildable) {
        plan = std::move(prepared);
        feathersBuilt = false;
    }
    // A root that is not finite makes a path that is not finite too: it is named once, by
    // what caused it. (Such roots stay in the list, so the seeds of the others do not move.)
    const unsigned int badRoots = nonFiniteRoots(roots);
    if (badRoots > 0)
        reportError(std::to_string(badRoots) + " of " + std::to_string(roots.length()) +
                    " feather roots lie where the growth shape's positions are not finite "
                    "numbers in single precision (beyond about 3.4e38); their feathers were not "
                    "built.");
    if (built.nonFinitePaths > badRoots)
        reportError(std::to_string(built.nonFinitePaths - badRoots) + " of " +
                    std::to_string(built.roots) +
                    " feathers have positions that are not finite numbers in single precision "
                    "(\"gloalScale\" " +
                    std::to_string(params.globalScale) +
                    " or the guides are too large); they were not built.");
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
        system->forgetFeathers();
        system->featherColors.clear();
    }
}
