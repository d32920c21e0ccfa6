#include "nodes/feather/quillo.h"

#include "feather/barbules.h"
#include "feather/buildBudget.h"
#include "feather/buildInputs.h"
#include "feather/featherBatch.h"
#include "feather/errorReport.h"
#include "feather/featherGenerator.h"
#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "feather/keyBarbules.h"
#include "feather/rachis.h"
#include "feather/turtlePath.h"
#include "nodes/feather/featherDrawing.h"
#include "nodes/feather/quilloDescription.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/featherTurtleData.h"
#include "plugin/sharedObjects.h"
#include "plugin/typeIds.h"

#include <maya/MColorArray.h>
#include <maya/MFileIO.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnTransform.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <vector>

const MTypeId quillo::id(typeIds::quillo);

namespace {

enum displayMode { finalFeather = 0, keyBarbule = 1 };

turtlePath* findPath(const int& pathId) {
    return turtleRegistry ? static_cast<turtlePath*>(turtleRegistry->find(&pathId)) : nullptr;
}

// A new, empty path registered under a new id kept in pathId (which must outlive the entry).
// False, with pathId -1, when no path could be made.
bool registerNewPath(int& pathId) {
    pathId = -1;
    turtlePath* path = new (std::nothrow) turtlePath;
    if (!path)
        return false;
    pathId = turtleRegistry->allocateId();
    if (!turtleRegistry->insert(&pathId, path)) {
        delete path;
        return false;
    }
    return true;
}

// Seeds are added in unsigned arithmetic, so that large values wrap instead of overflowing.
unsigned int plus(int seed, int offset) {
    return static_cast<unsigned int>(seed) + static_cast<unsigned int>(offset);
}

// The plug-in data of the current element when it is of the given type, else null.
template <class Data> const Data* elementData(MArrayDataHandle& elements) {
    const MPxData* data = elements.inputValue().asPluginData();
    return data && data->typeId() == Data::id ? static_cast<const Data*>(data) : nullptr;
}

} // namespace

void* quillo::creator() {
    return new (std::nothrow) quillo;
}

void quillo::postConstructor() {
    setExistWithoutOutConnections(false);
    if (descriptionRegistry) {
        featherId = descriptionRegistry->allocateId();
        featherInfo = new (std::nothrow)::featherInfo;
        if (featherInfo)
            descriptionRegistry->insert(&featherId, featherInfo);
    }
    guideConnections.clear();
    turtleConnections.clear();
    feathers.clear();
    if (!MFileIO::isReadingFile())
        addDefaultRampEntries();
}

// Connections

quillo::tracked quillo::classify(const MPlug& plug, const MPlug& otherPlug, bool asSrc,
                                 int& key) const {
    if (asSrc)
        return tracked::none;
    if (plug == guidSurface) {
        if (!otherPlug.asMObject().hasFn(MFn::kNurbsSurface))
            return tracked::none;
        key = static_cast<int>(plug.parent().logicalIndex());
        return tracked::guide;
    }
    if (plug == inFeatherTurtleData) {
        MObject source = otherPlug.node();
        if (MFnDependencyNode(source).typeId() != MTypeId(typeIds::quilloComponent))
            return tracked::none;
        key = static_cast<int>(plug.logicalIndex());
        return tracked::turtle;
    }
    return tracked::none;
}

void quillo::releasePath(int& pathId) {
    if (featherInfo) {
        std::vector<int>& ids = featherInfo->turtleIds;
        ids.erase(std::remove(ids.begin(), ids.end(), pathId), ids.end());
    }
    if (turtlePath* path = findPath(pathId)) {
        turtleRegistry->remove(&pathId);
        delete path;
    }
}

MStatus quillo::connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) {
    int key = 0;
    const tracked kind = classify(plug, otherPlug, asSrc, key);
    if (kind != tracked::none && turtleRegistry) {
        std::map<int, int>& paths = kind == tracked::guide ? guideConnections : turtleConnections;
        // A key still held (its last break did not qualify) gives its old path back first.
        auto held = paths.find(key);
        if (held != paths.end()) {
            releasePath(held->second);
            paths.erase(held);
        }
        int& pathId = paths[key];
        if (registerNewPath(pathId)) {
            if (featherInfo)
                featherInfo->turtleIds.push_back(pathId);
        } else {
            paths.erase(key);
        }
    }
    return MPxLocatorNode::connectionMade(plug, otherPlug, asSrc);
}

MStatus quillo::connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc) {
    int key = 0;
    const tracked kind = classify(plug, otherPlug, asSrc, key);
    if (kind != tracked::none) {
        std::map<int, int>& paths = kind == tracked::guide ? guideConnections : turtleConnections;
        auto held = paths.find(key);
        if (held != paths.end()) {
            releasePath(held->second);
            paths.erase(held);
        }
    }
    return MPxLocatorNode::connectionBroken(plug, otherPlug, asSrc);
}

void quillo::releaseAll() {
    feathers.clear();
    for (std::map<int, int>* paths : {&guideConnections, &turtleConnections}) {
        for (auto& entry : *paths) {
            if (turtlePath* path = findPath(entry.second)) {
                turtleRegistry->remove(&entry.second);
                delete path;
            }
        }
        paths->clear();
    }
    for (auto& entry : turtleArrayEntries) {
        if (turtlePath* path = findPath(entry.second)) {
            turtleRegistry->remove(&entry.second);
            delete path;
        }
    }
    turtleArrayEntries.clear();
    if (featherInfo) {
        if (descriptionRegistry)
            descriptionRegistry->remove(&featherId);
        if (theFeatherGenerator && theFeatherGenerator->info == featherInfo)
            theFeatherGenerator->info = nullptr;
        delete featherInfo;
        featherInfo = nullptr;
    }
    featherId = -1;
}

void quillo::nodeRemoved(MObject& node, void*) {
    MFnDependencyNode fn(node);
    if (fn.typeId() != id)
        return;
    if (quillo* feather = static_cast<quillo*>(fn.userNode()))
        feather->releaseAll();
}

// Compute

MStatus quillo::compute(const MPlug& plug, MDataBlock& data) {
    MDataHandle idHandle = data.outputValue(featherInfoID);
    idHandle.set(featherId);
    idHandle.setClean();

    if (!data.inputValue(active).asBool()) {
        feathers.clear();
        return MS::kSuccess;
    }
    if (plug != outputMesh)
        return MS::kUnknownParameter;

    // No exception may reach the host: memory running out fails this node's build alone.
    try {
        buildFeathers(data);
    } catch (const std::exception& failure) {
        std::vector<featherGeometry>().swap(feathers); // nothing half-built is kept
        const size_t count =
            guideConnections.size() + turtleConnections.size() + turtleArrayEntries.size();
        reportBuildFailure(*this, failure, "building", count);
    }

    MFnMeshData meshData;
    MObject mesh = meshData.create();
    MFnMesh meshFn;
    meshFn.create(0, 0, MFloatPointArray(), MIntArray(), MIntArray(), mesh);
    meshFn.updateSurface();
    data.outputValue(outputMesh).set(mesh);
    data.setClean(plug);

    for (featherGeometry& feather : feathers)
        feather.dropBuildOnlyData();
    return MS::kSuccess;
}

void quillo::buildFeathers(MDataBlock& data) {
    feathers.clear();
    if (!featherInfo || !turtleRegistry || !theFeatherGenerator)
        return;
    ::featherInfo& info = *featherInfo;
    featherGenerator& generator = *theFeatherGenerator;

    readDescription(thisMObject(), data, info);
    const short mode = data.inputValue(displayAs).asShort();
    const bool onSurface = data.inputValue(surfaceFeather).asBool();
    const bool seedPerInput = data.inputValue(multiInstances).asBool();
    // Per-input seeds change the description's randSeed; it is put back however this returns.
    struct restoreSeed {
        ::featherInfo& info;
        const int seed;
        ~restoreSeed() { info.randSeed = seed; }
    } restore{info, info.randSeed};
    const int baseSeed = info.randSeed;

    generator.info = featherInfo;

    // Sample points, one per input that has one, in input order.
    MFloatArray sampleU, sampleV;
    MArrayDataHandle guides = data.inputArrayValue(guidSurfaceInfo);
    for (const auto& [index, pathId] : guideConnections) {
        if (!findPath(pathId))
            continue;
        float u = 0.0f, v = 0.0f;
        if (guides.jumpToElement(static_cast<unsigned int>(index)) == MS::kSuccess) {
            const float2& uv = guides.inputValue().child(guidUV).asFloat2();
            u = uv[0];
            v = uv[1];
        }
        sampleU.append(u);
        sampleV.append(v);
    }

    MArrayDataHandle singles = data.inputArrayValue(inFeatherTurtleData);
    for (const auto& [index, pathId] : turtleConnections) {
        turtlePath* path = findPath(pathId);
        if (!path)
            continue;
        path->reset();
        const featherTurtleData* single = nullptr;
        if (singles.jumpToElement(static_cast<unsigned int>(index)) == MS::kSuccess)
            single = elementData<featherTurtleData>(singles);
        if (single && turtleFromData(single->turtle.points, single->turtle.normals, *path)) {
            path->growVertexID = single->turtle.growVertexID;
            sampleU.append(single->turtle.u);
            sampleV.append(single->turtle.v);
        }
    }

    rebuildTurtleArrays(data, sampleU, sampleV);
    bool describable = true;
    if (!checkBuildable(guideConnections.size() + turtleConnections.size() +
                            turtleArrayEntries.size(),
                        describable))
        return;

    MColorArray sampleColors;
    MPlugArray sources;
    MPlug(thisMObject(), mainColor).connectedTo(sources, true, false);
    if (sources.length() > 0) {
        MFloatVectorArray colours, transparencies;
        if (sampleTexture(sources[0].name(), sampleU, sampleV, colours, transparencies) ==
            MS::kSuccess) {
            const unsigned int n = std::min(colours.length(), sampleU.length());
            for (unsigned int k = 0; k < n; ++k)
                sampleColors.append(MColor(colours[k].x, colours[k].y, colours[k].z, 1.0f));
        }
    }

    // One feather per input. i counts every input visited, built or not, and picks its sample.
    // Path feathers are built after the loops, all at once (featherBatch.h): the loops only
    // keep their places, so everything read from the host is read here, on this thread.
    guides = data.inputArrayValue(guidSurfaceInfo);
    featherGeometry feather;
    unsigned int i = 0;
    size_t unsampledGuides = 0;                            // guide surfaces that gave no path
    std::vector<std::pair<size_t, batchFeather>> deferred; // place in feathers, build
    auto defer = [&](const turtlePath& path, unsigned int seed) {
        batchFeather entry;
        entry.path = &path;
        entry.seed = seed;
        entry.randSeed = info.randSeed;
        deferred.emplace_back(feathers.size(), entry);
    };
    auto start = [&]() {
        feather.clear();
        if (i < sampleU.length()) {
            feather.u = sampleU[i];
            feather.v = sampleV[i];
        }
        if (i < sampleColors.length())
            feather.mainColor = sampleColors[i];
        if (seedPerInput)
            info.randSeed = static_cast<int>(plus(baseSeed, static_cast<int>(i)));
    };

    for (const auto& [index, pathId] : guideConnections) {
        turtlePath* path = findPath(pathId);
        if (!path)
            continue;
        MObject surface;
        if (guides.jumpToElement(static_cast<unsigned int>(index)) == MS::kSuccess)
            surface = guides.inputValue().child(guidSurface).asNurbsSurface();
        if (surface.hasFn(MFn::kNurbsSurface)) {
            start();
            if (mode == finalFeather && !onSurface) {
                if (!turtleFromSurface(generator, surface, *path))
                    ++unsampledGuides;
                defer(*path, plus(info.randSeed, index));
            } else if (mode == finalFeather) {
                buildSurfaceFeather(generator, surface, feather, index);
            } else if (mode == keyBarbule && onSurface) {
                buildSurfaceKeyBarbules(generator, surface, feather);
            } else if (mode == keyBarbule) {
                turtleFromSurface(generator, surface, *path);
                buildKeyBarbules(generator, *path, feather);
            }
            feathers.push_back(feather);
        }
        ++i;
    }

    for (const auto& [index, pathId] : turtleConnections) {
        turtlePath* path = findPath(pathId);
        if (!path)
            continue;
        start();
        if (mode == finalFeather)
            defer(*path, plus(info.randSeed, index));
        else if (mode == keyBarbule)
            buildKeyBarbules(generator, *path, feather);
        feathers.push_back(feather);
        ++i;
    }

    for (const auto& entry : turtleArrayEntries) {
        turtlePath* path = findPath(entry.second);
        if (!path)
            continue;
        start();
        if (mode == finalFeather)
            defer(*path, static_cast<unsigned int>(info.randSeed));
        else if (mode == keyBarbule)
            buildKeyBarbules(generator, *path, feather);
        feathers.push_back(feather);
        ++i;
    }

    // The vector is complete, so the places are stable now.
    std::vector<batchFeather> batch;
    batch.reserve(deferred.size());
    size_t unbuildablePaths = unsampledGuides;
    for (auto& [place, entry] : deferred) {
        entry.geometry = &feathers[place];
        batch.push_back(entry);
        unbuildablePaths += pathIsFinite(*entry.path) ? 0 : 1;
    }
    if (describable && unbuildablePaths > 0)
        MGlobal::displayError(name() + ": " + std::to_string(unbuildablePaths).c_str() + " of " +
                              std::to_string(batch.size()).c_str() +
                              " guides have positions that are not finite numbers in single "
                              "precision (beyond about 3.4e38); their feathers stay empty.");
    buildFeatherBatch(generator, batch);
}

void quillo::rebuildTurtleArrays(MDataBlock& data, MFloatArray& sampleU, MFloatArray& sampleV) {
    for (auto& entry : turtleArrayEntries)
        releasePath(entry.second);
    turtleArrayEntries.clear();

    MArrayDataHandle arrays = data.inputArrayValue(inFeatherTurtleArrayData);
    const unsigned int elementCount = arrays.elementCount();
    for (unsigned int j = 0; j < elementCount; ++j) {
        if (arrays.jumpToArrayElement(j) != MS::kSuccess)
            continue;
        const featherTurtleArrayData* list = elementData<featherTurtleArrayData>(arrays);
        if (!list)
            continue;
        const int count = static_cast<int>(list->turtles.size());
        for (int k = 0; k < count; ++k) {
            const turtleRecord& turtle = list->turtles[static_cast<size_t>(k)];
            int& pathId = turtleArrayEntries[std::make_pair(static_cast<int>(j), k)];
            if (!registerNewPath(pathId)) {
                turtleArrayEntries.erase(std::make_pair(static_cast<int>(j), k));
                continue;
            }
            featherInfo->turtleIds.push_back(pathId);
            turtlePath* path = findPath(pathId);
            if (turtleFromData(turtle.points, turtle.normals, *path)) {
                path->growVertexID = turtle.growVertexID;
                sampleU.append(turtle.u);
                sampleV.append(turtle.v);
            }
        }
    }
}

bool quillo::checkBuildable(size_t featherCount, bool& describable) const {
    buildInputs inputs;
    describable = inputs.prepare(*featherInfo);
    if (!describable) {
        MGlobal::displayError(name() + ": the feather description cannot be built: " +
                              inputs.refusal.c_str() + "; its feathers stay empty.");
        return true; // each build refuses it in turn, leaving its feather empty
    }
    const std::string tube =
        rachisTubeProblem(inputs, featherInfo->rachisSides,
                          featherInfo->rachisRenderAs == 1 || featherInfo->outputFeatherMesh);
    if (!tube.empty())
        MGlobal::displayError(name() + ": " + tube.c_str() + ".");
    const std::string overBudget = budgetProblem(featherCount, featherPointCount(inputs));
    if (overBudget.empty())
        return true;
    MGlobal::displayError(name() + ": " + overBudget.c_str() + "; no feathers were built.");
    return false;
}

// Drawing and bounds

void quillo::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle,
                  M3dView::DisplayStatus status) {
    // What the strips show ("displayAs") was decided by the build.
    MObject self = thisMObject();
    const bool showBoxes = MPlug(self, displayProxyBoundingBox).asBool();
    const bool coloured = MPlug(self, render).asBool();

    parentMatrix = parentTransformation(self);

    MColor colours[4];
    if (featherInfo) {
        colours[0] = featherInfo->rachisRootColor;
        colours[1] = featherInfo->rachisTipColor;
        colours[2] = featherInfo->rootColor;
        colours[3] = featherInfo->tipColor;
    }

    worldSpaceFeatherDraw bracket(view, parentMatrix);
    if (coloured) {
        if (status == M3dView::kLead)
            drawFeathersShaded(feathers, 1.0f, colours);
        else if (status == M3dView::kDormant)
            drawFeathersShaded(feathers, 0.6f, colours);
        else
            drawFeathersPlain(feathers, colorRGB(status));
    } else {
        if (status == M3dView::kLead)
            drawFeathersPlain(feathers, MColor(1.0f, 1.0f, 0.0f));
        else if (status == M3dView::kDormant)
            drawFeathersPlain(feathers, MColor(0.6f, 0.6f, 0.0f));
        else
            drawFeathersPlain(feathers, colorRGB(status));
    }
    if (showBoxes)
        drawProxyBoxes(feathers, MColor(0.0f, 1.0f, 0.0f));
}

bool quillo::isBounded() const {
    return true;
}

MBoundingBox quillo::boundingBox() const {
    MBoundingBox box;
    for (const featherGeometry& feather : feathers)
        box.expand(feather.proxyBox);
    return box;
}

bool quillo::excludeAsLocator() const {
    return false;
}
