#pragma once
// The value of a mesh plug: a mesh (possibly empty, as MFnMeshData::create makes it). The mesh
// itself is shared and never changed in place; MFnMesh edits on a data object put a new mesh
// into it, so every holder of that MObject sees the edit, as in Maya.

#include "data/dataObjects.h"
#include "geometry/mesh.h"

#include <memory>

namespace host {

struct MeshData : DataObject {
    std::shared_ptr<const Mesh> mesh;

    MFn::Type apiType() const override { return MFn::kMeshData; }
    const char* apiTypeStr() const override { return "kMeshData"; }
    MFnData::Type dataType() const override { return MFnData::kMesh; }
    // MFnMesh works on it, so it counts as a mesh too.
    bool hasFn(MFn::Type type) const override {
        return DataObject::hasFn(type) || type == MFn::kMesh;
    }
};

// A new data object holding the mesh, which must be valid and finalized.
MObject makeMeshData(std::shared_ptr<const Mesh> mesh);
// The mesh in a mesh data object; null for anything else. An empty data object holds an empty
// mesh.
std::shared_ptr<const Mesh> meshIn(const MObject& data);
// A valid, finalized mesh with nothing in it.
std::shared_ptr<const Mesh> emptyMesh();

} // namespace host
