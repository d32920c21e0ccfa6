#pragma once
// "quillo": the feather node. A locator that holds one feather description (about a hundred
// attributes) and grows one feather per connected guide: a guide NURBS surface
// ("guidSurfaceInfo"), a single turtle from a component node ("inFeatherTurtleData") or every
// turtle of a turtle array ("inFeatherTurtleArrayData").
//
// What the node owns, and where it lives:
// - its `featherInfo`, registered in `descriptionRegistry` under `featherId` (shown on
//   "featherInfoID" from the first compute on), so that feather systems can borrow it;
// - one `turtlePath` per qualifying guide or single-turtle connection, and one per turtle of
//   the turtle arrays (rebuilt at every build), each registered in `turtleRegistry` and listed
//   in the description's `turtleIds`;
// - the feathers of the last build, in world space, for drawing and bounds.
// All of it is released by the node-removed callback (`nodeRemoved`), not by the destructor.
//
// Evaluating "outputMesh" runs the build (an empty mesh is all it carries). The compute reads
// the attributes through the attribute-to-description table (quilloDescription.h) and leaves
// the building to the engine in feather/.
//
// Bad input: the engine refuses a description it cannot build safely (a count beyond what a
// feather can hold, such as "barbuleNum" 2,000,000,000 or "barbuleSegments" 10,000,000, or a
// value that is not a finite number). The node then reports one error naming itself, the
// attribute and the limit, and keeps every feather empty; it never clamps the counts, so a
// feather is either built as described or not at all. More points in all than the build
// budget allows (buildBudget.h) builds nothing, with an error giving the count and the limit;
// guides whose positions are not finite numbers leave their feathers empty, with an error;
// running out of memory leaves every feather empty, with an error, and never reaches Maya.
//
// Single-threaded, as the host: computes, draws, connection hooks and the removal callback
// never overlap.

#include "feather/featherGeometry.h"

#include <maya/MMatrix.h>
#include <maya/MPxLocatorNode.h>

#include <map>
#include <utility>
#include <vector>

class featherInfo;

class quillo : public MPxLocatorNode {
  public:
    quillo() = default;
    // Frees the feathers and the maps; the description and the registry entries belong to
    // nodeRemoved.
    ~quillo() override = default;

    // Takes the node's id and registers a fresh description; adds the default ramp entries
    // when the user creates the node (not while a file is read, so that saved ramps reopen
    // exactly as saved).
    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;
    MStatus connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;
    void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
              M3dView::DisplayStatus status) override;
    bool isBounded() const override;
    // The union of every built feather's extent box, in world space like the feathers.
    MBoundingBox boundingBox() const override;
    bool excludeAsLocator() const override;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback: releases the node's guide paths, its id and its description.
    // Safe to run before or after the node's connections are broken.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;

    // Read access for the feather system's draw and for tests.
    int descriptionId() const { return featherId; }
    const ::featherInfo* description() const { return featherInfo; }
    const std::map<int, int>& guidePaths() const { return guideConnections; }
    const std::map<int, int>& turtlePaths() const { return turtleConnections; }
    const std::map<std::pair<int, int>, int>& turtleArrayPaths() const {
        return turtleArrayEntries;
    }
    const std::vector<featherGeometry>& builtFeathers() const { return feathers; }

    // Attributes, in the order they are added (see quilloAttributes.cpp).
    static MObject displayQuality, displayAs, uniformWidth, multiInstances, active, render;
    static MObject curveType, surfaceFeather, direction, rachisRenderAs, rachisSegment;
    static MObject rachisPosition, rachisSides, rachisThick, rachisStart, rachisEnd;
    static MObject rachisThickScale, barbuleNum, barbuleDensity, forcePerSegmentScale;
    static MObject forceRotateScale, forcePerSegment, turnAtForce, rotateDegree;
    static MObject rachisNoiseFrequency, barbuleNoiseFrequency, noisePhase, upDownLength;
    static MObject keyBarbuleStepAngle, barbuleGapThreshold, barbuleGapFrequency;
    static MObject barbuleGapPhase, barbuleGapSize;
    static MObject keyBarbulePos1, keyBarbulePos2, keyBarbulePos3, keyBarbulePos4;
    static MObject keyBarbuleStartAngle1, keyBarbuleStartAngle2, keyBarbuleStartAngle3;
    static MObject keyBarbuleStartAngle4, kbRotate1, kbRotate2, kbRotate3, kbRotate4;
    static MObject barbuleLengthRandScale, shapeSymmetry, barbuleSegments;
    static MObject leftBarbuleLengthScale, barbuleLength, rightBarbuleLengthScale;
    static MObject barbuleThick, barbuleRandThick, barbuleThickScale, barbuleThickAdjust;
    static MObject barbuleUpDownBarbule, barbuleUpDownRachis, upDownNoise, randSeed;
    static MObject displayProxyBoundingBox, proxyBoundingBoxScale, uvProjectScale;
    static MObject projectTexUV, autoConvertTex, barbuleColorTex, textureProcedure;
    static MObject rootColor, tipColor, fadeStart, mainColor, rootOpacity, tipOpacity;
    static MObject barbuleDiffuse, barbuleSpecular, barbuleSpecularColor, barbuleGloss;
    static MObject selfShadow, hueVar, satVar, valueVar, varFrequency;
    static MObject preFeatherRib, postFeatherRib, preFeatherMeshRib, postFeatherMeshRib;
    static MObject rachisRootColor, rachisTipColor;
    static MObject guidSurfaceInfo, guidSurface, guidUV, guidSurfaceID;
    static MObject inFeatherTurtleData, inFeatherTurtleArrayData;
    static MObject outputMesh, featherInfoID, outputFeatherMesh, combineBarbules;
    static MObject barbuleLengthThreshold;

  private:
    // Which map a qualifying connection belongs to, and under which key.
    enum class tracked { none, guide, turtle };
    tracked classify(const MPlug& plug, const MPlug& otherPlug, bool asSrc, int& key) const;

    // Releases one guide path: out of turtleIds, out of the registry, deleted.
    void releasePath(int& pathId);
    // The build of the compute (everything between the id and the empty mesh).
    void buildFeathers(MDataBlock& data);
    void rebuildTurtleArrays(MDataBlock& data, MFloatArray& sampleU, MFloatArray& sampleV);
    // Reports a description the engine will refuse to build (see the header comment), naming
    // the attribute and the limit; `describable` tells whether it will be built. False, with
    // an error, when `featherCount` feathers of it would exceed the build budget
    // (buildBudget.h): nothing is built then.
    bool checkBuildable(size_t featherCount, bool& describable) const;
    // Releases everything the node holds in the shared objects.
    void releaseAll();
    // The entries of every curve ramp of a node the user creates (README, "Default ramps").
    void addDefaultRampEntries();

    int featherId = -1;
    ::featherInfo* featherInfo = nullptr;
    std::map<int, int> guideConnections;
    std::map<int, int> turtleConnections;
    std::map<std::pair<int, int>, int> turtleArrayEntries;
    std::vector<featherGeometry> feathers;
    MMatrix parentMatrix;
};
