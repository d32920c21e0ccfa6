#pragma once
// "quilloComponent": turns a chain of mesh vertices into one feather path.
//
// Inputs: "inMesh" (read in world space) and "vertexGroup", the ids of the chain root first
// (grammar in meshWalking.h); "featherUV" and "growVertexID" are copied onto the path as the
// user sets them. Outputs: "outFeatherTurtleData", one turtle record for the feather node's
// "inFeatherTurtleData", and "outVertexGroup", the ids that made it into the path, each
// followed by a space. One compute writes both outputs whichever was asked for.
//
// An empty "vertexGroup" or a missing mesh leaves the outputs and the marker as they were, so
// a marker stays in view after its text is cleared. A group with fewer than two usable
// vertices gives an empty path (the user's UV and id still on it), an empty "outVertexGroup"
// and no marker.
//
// Draw pulls "outVertexGroup" (so "locatorSize" moves the marker at once) and draws the root
// marker, kept in world space, under the inverse of the parent's own transformation.

#include <maya/MMatrix.h>
#include <maya/MPointArray.h>
#include <maya/MPxLocatorNode.h>

class quilloComponent : public MPxLocatorNode {
  public:
    quilloComponent() = default;
    ~quilloComponent() override = default;

    void postConstructor() override;
    MStatus compute(const MPlug& plug, MDataBlock& data) override;
    void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
              M3dView::DisplayStatus status) override;
    bool isBounded() const override;
    bool excludeAsLocator() const override;

    static void* creator();
    static MStatus initialize();
    // Node-removed callback, shared with quilloComponentArray: empties the node's marker.
    static void nodeRemoved(MObject& node, void* clientData);

    static const MTypeId id;

    // The marker of the last compute: tip, left, right in world space, or nothing.
    const MPointArray& markers() const { return markerPoints; }
    void clearMarkers() { markerPoints.clear(); }

    static MObject inMesh, vertexGroup, featherUV, growVertexID, locatorSize;
    static MObject outVertexGroup, outFeatherTurtleData;

  private:
    MMatrix parentMatrix;
    MPointArray markerPoints;
};
