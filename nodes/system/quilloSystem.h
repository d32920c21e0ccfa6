#pragma once
// "quilloSystem": grows hundreds of feathers over a growth surface or mesh. It borrows the
// description (and the guide paths) of a feather node through "inRenderFeather", places roots
// over the growth geometry (a jittered grid or a UV info file, uvInfoFile.h), builds one
// feather per root and keeps them for drawing.
//
// Evaluating "outFeatherMesh" prepares the build from scratch (quilloSystem.cpp): the roots,
// the random draws, the textures, the ramps and every blended path, kept as a systemBuildPlan,
// with every error the build would meet reported then; the output itself only passes
// "inFeatherMesh" on. The feathers are built from the plan when first needed (drawing, bounds,
// builtFeathers()) and then live in the node, in world space, for the viewport
// (quilloSystemDrawing.cpp). An export streams them from the plan instead, so it never holds
// them all.
//
// The node owns its members only; it never frees the borrowed description or guide paths.

#include "feather/featherGeometry.h"
#include "nodes/system/systemBuildPlan.h"

#include <maya/MColorArray.h>
#include <maya/MMatrix.h>
#include <maya/MPxLocatorNode.h>

#include <memory>
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

    // The feathers of the last evaluation, built from the plan on the first call after it.
    const std::vector<featherGeometry>& builtFeathers() const;
    // The build the last evaluation prepared, for exports that stream the feathers; null when
    // it builds nothing.
    const systemBuildPlan* buildPlan() const { return plan.get(); }
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
    // Borrows the description, places roots over the growth shape and prepares one feather per
    // root into `plan`. A missing input (no description, no growth shape) stops it quietly
    // with no plan. What the user set but cannot be built is reported as an error naming the
    // node, the attribute and the limit, and builds nothing: a description the engine
    // refuses, a grid beyond maxGridCells, a UV info file that cannot be read, more points
    // than the build budget (buildBudget.h); feathers whose roots or paths are not finite
    // numbers are not built, with an error. Running out of memory is caught in compute, and
    // in builtFeathers() for the build itself.
    void gatherAndPlan(MDataBlock& data);
    // Drops the plan and the feathers.
    void forgetFeathers();
    void reportError(const std::string& text) const;

    // What the build is doing, for the error when memory runs out ("building", 1000 for
    // "building 1000 feathers"); set without allocating.
    const char* building = "";
    size_t buildingCount = 0;

    std::unique_ptr<systemBuildPlan> plan;
    // The feathers of the plan, in build order, in world space, once built.
    mutable std::vector<featherGeometry> feathers;
    mutable bool feathersBuilt = true;
    // The parent transform's own matrix, refreshed at every draw.
    MMatrix parentMatrix;
    // Draw colours of the borrowed description: rachis root, rachis tip, barbule root, barbule
    // tip.
    MColorArray featherColors;
};
