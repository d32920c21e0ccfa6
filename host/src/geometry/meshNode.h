#pragma once
// The built-in mesh shape. Its mesh is the "inMesh" input when that is connected and carries a
// mesh (construction history), else the mesh its stored attributes describe (".vt" + ".pt",
// ".ed", ".fc", ".uvst", ".cuvs"; see meshAttributes.h), which is what scene files set.
// "outMesh" gives it in object space; element 0 of "worldMesh" gives it moved through the
// shape's transforms. Attributes that do not describe a mesh are kept for the file.

#include "geometry/mesh.h"
#include "geometry/meshAttributes.h"

#include <maya/MPxNode.h>

#include <memory>
#include <string>

namespace host {

class Node;
class TypeRegistry;

class MeshNode : public MPxNode {
  public:
    static void* creator() { return new MeshNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject vertices, vertexX, vertexY, vertexZ, tweaks, tweakX, tweakY, tweakZ, edges,
        edgeVertex1, edgeVertex2, edgeHard, faces, uvSets, uvSetName, uvSetPoints, uvSetPointU,
        uvSetPointV, currentUVSet, inMesh, outMesh, worldMesh;
};

// Registers the mesh node type and the "polyFaces" and "dataPolyComponent" typed value
// formats of files.
void registerMeshType(TypeRegistry& registry);

bool isMeshNode(const Node* node);
// The node's mesh in object space (its evaluated "outMesh"); an empty mesh when it has none.
std::shared_ptr<const Mesh> meshOfNode(Node& node);
// True when the node's mesh comes through "inMesh" rather than from its own attributes.
bool meshFromHistory(Node& node);
// What the node's stored attributes hold.
MeshAttributeValues readMeshAttributes(Node& node);
// Stores a mesh in the node's attributes (".pt" tweaks are cleared). Fails, changing nothing,
// when the node takes its mesh from history.
MStatus writeMeshAttributes(Node& node, const Mesh& mesh, std::string* error);

} // namespace host
