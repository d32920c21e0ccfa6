#pragma once
// "quilloSystem": grows hundreds of feathers over a growth surface or mesh. It borrows the
// description (and the guide paths) of a feather node through "inRenderFeather", places roots
// over the growth geometry (a jittered grid or a UV info file, uvInfoFile.h), builds one
// feather per root and keeps them for drawing.
//
// Evaluating "outFeatherMesh" rebuilds the feathers from scratch (quilloSystem.cpp); the output
// itself only passes "inFeatherMesh" on. The feathers live in the node, in world space, for
// the viewport (quilloSystemDrawing.cpp).
//
// The node owns its members only; it never frees the borrowed description or guide paths.

#include "feather/featherGeometry.h"

#include <maya/MColorArray.h>
#include <maya/MMatrix.h>
#include <maya/MPxLocatorNode.h>

#include <string>
#include <vector>

class quilloSystem : public MPxLocatorNode {
  public:
    quilloSystem() = default;
    ~quilloSystem() override = default;

    // Clears `feathers` and gives `featherColors` its four entries.
    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
              M3dView::DisplayStatus status) override;
    bool isBounded() const override;
    MBoundingBox boundingBox() const override;
    bool excludeAsLocator() const override;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback: clears `feathers` and empties `featherColors`.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;

    // Read access for drawing and tests.
    const std::vector<featherGeometry>& builtFeathers() const { return feathers; }
    const MColorArray& drawColors() const { return featherColors; }

    // Attributes, in the order they are added (see quilloSystemAttributes.cpp).
    static MObject active, displayQuality, displayBarbuleQuality, renderQuality;
    static MObject useUVIFile, uviFile, uSegment, vSegment, jitterDistance, jitterFrequency;
    static MObject guidsPerFeather, gloalScale, randScale, radius, power;
    static MObject colorTex, scaleTex, baldnessTex, radiusTex, uvOffset, uvTranslate;
    static MObject randomSeed, displayProxyBoundingBox, uvSetName, inRenderFeather, growthSet;
    static MObject inputGrowSurface, inputGrowMesh, inputGrowMeshID, inFeatherMesh;
    static MObject outFeatherMesh, outputFeatherMesh;

  private:
    // Borrows the description, places roots over the growth shape and builds one feather per
    // root into `feathers`. A missing input (no description, no growth shape) stops it quietly
    // with no feathers. What the user set but cannot be built is reported as an error naming
    // the node, the attribute and the limit, and builds nothing: a description the engine
    // refuses, a grid beyond maxGridCells, a UV info file that cannot be read, more points
    // than the build budget (buildBudget.h); feathers whose roots or paths are not finite
    // numbers are not built, with an error. Running out of memory is caught in compute.
    void gatherAndBuild(MDataBlock& data);
    void reportError(const std::string& text) const;

    // What the build is doing, for the error when memory runs out ("building", 1000 for
    // "building 1000 feathers"); set without allocating.
    const char* building = "";
    size_t buildingCount = 0;

    // The feathers of the last build, in build order, in world space.
    std::vector<featherGeometry> feathers;
    // The parent transform's own matrix, refreshed at every draw.
    MMatrix parentMatrix;
    // Draw colours of the borrowed description: rachis root, rachis tip, barbule root, barbule
    // tip.
    MColorArray featherColors;
};
