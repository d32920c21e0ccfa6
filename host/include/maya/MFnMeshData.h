#pragma once
// Mesh data objects: the values that mesh plugs hold. A new one holds an empty mesh until
// MFnMesh::create fills it.

#include <maya/MFnData.h>

class OPENMAYA_EXPORT MFnMeshData : public MFnData {
  public:
    MFnMeshData() = default;
    MFnMeshData(MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kMeshData; }
    // A new kMeshData object holding an empty mesh, also attached to this function set.
    MObject create(MStatus* status = nullptr);
};
