#include "geometry/meshData.h"

#include "graph/statusOut.h"

#include <maya/MFnMeshData.h>

namespace host {

MObject makeMeshData(std::shared_ptr<const Mesh> mesh) {
    auto data = std::make_shared<MeshData>();
    data->mesh = mesh ? std::move(mesh) : emptyMesh();
    return MObject(data);
}

std::shared_ptr<const Mesh> meshIn(const MObject& data) {
    const MeshData* holder = dataAs<MeshData>(data);
    if (!holder)
        return nullptr;
    return holder->mesh ? holder->mesh : emptyMesh();
}

std::shared_ptr<const Mesh> emptyMesh() {
    static const std::shared_ptr<const Mesh> empty = [] {
        Mesh mesh;
        finalizeMesh(mesh);
        return std::make_shared<const Mesh>(std::move(mesh));
    }();
    return empty;
}

} // namespace host

using host::report;

MFnMeshData::MFnMeshData(MObject& object, MStatus* status) {
    report(status, host::dataAs<host::MeshData>(object) ? MS::kSuccess : MS::kInvalidParameter);
    object_ = object;
}

MObject MFnMeshData::create(MStatus* status) {
    object_ = host::makeMeshData(nullptr);
    report(status, MS::kSuccess);
    return object_;
}
