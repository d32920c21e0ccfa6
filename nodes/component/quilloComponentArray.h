#pragma once
// "quilloComponentArray": turns a vertex chain repeated across meshes into many feather paths.
//
// Inputs: any number of meshes ("inMesh", a multi whose elements go with their connections),
// one "vertexGroup" walked across each mesh by "walkStep" vertex ids at most "walkTimes" times
// (-1: as often as it fits; see meshWalking.h), and optionally "inGrowMesh", whose UV set
// "uvSet" ("" meaning "map1") gives each path its UV at the root, and with "useGrowVertexID"
// its nearest vertex too. Output: "outFeatherTurtleDataArray", the records of every mesh in
// element order, then walk order, for the feather node's "inFeatherTurtleArrayData". Without a
// grow mesh every record has UV (0, 0) and grow vertex id 0.
//
// An empty "vertexGroup" leaves the output and the markers as they were. An element with no
// mesh gives no records; the others are unaffected.
//
// Draw pulls the output and draws one marker triangle per record, kept in world space, under
// the inverse of the parent's own transformation.

#include <maya/MMatrix.h>
#include <maya/MPointArray.h>
#include <maya/MPxLocatorNode.h>

class quilloComponentArray : public MPxLocatorNode {
  public:
    quilloComponentArray() = default;
    ~quilloComponentArray() override = default;

    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
              M3dView::DisplayStatus status) override;
    bool isBounded() const override;
    bool excludeAsLocator() const override;

    static void* creator();
    static MStatus initialize();

    static const MTypeId id;

    // Three points per record of the last compute (tip, left, right), in record order.
    const MPointArray& markers() const { return markerPoints; }
    void clearMarkers() { markerPoints.clear(); }

    static MObject walkStep, walkTimes, vertexGroup, useGrowVertexID, locatorSize, uvSet;
    static MObject inMesh, inGrowMesh, outFeatherTurtleDataArray;

  private:
    MMatrix parentMatrix;
    MPointArray markerPoints;
};
