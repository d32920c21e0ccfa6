// MItMeshPolygon: walks the polygons of a mesh, or of a polygon component.

#include "builtin/transformNode.h"
#include "geometry/component.h"
#include "geometry/meshData.h"
#include "geometry/meshNode.h"
#include "geometry/meshNormals.h"
#include "geometry/meshUVs.h"
#include "graph/node.h"
#include "graph/statusOut.h"

#include <maya/MItMeshPolygon.h>

using host::Mesh;
using host::report;

MItMeshPolygon::MItMeshPolygon(const MObject& polyObject, MStatus* status) {
    report(status, reset(polyObject));
}

MItMeshPolygon::MItMeshPolygon(const MDagPath& polyObject, MObject& component, MStatus* status) {
    report(status, reset(polyObject, component));
}

MStatus MItMeshPolygon::start(const MObject& object, bool hasPath, const MObject& component) {
    mesh_.reset();
    object_ = object;
    component_ = component;
    hasPath_ = false;
    world_ = MMatrix();
    polygons_.clear();
    position_ = 0;
    outside_ = -1;
    host::Node* node = host::nodeOf(object);
    if (host::isMeshNode(node)) {
        mesh_ = host::meshOfNode(*node);
        hasPath_ = hasPath;
        if (hasPath)
            world_ = host::worldMatrix(*node);
    } else {
        mesh_ = host::meshIn(object);
    }
    if (!mesh_)
        return MS::kInvalidParameter;
    if (component.isNull()) {
        for (int p = 0; p < mesh_->numPolygons(); ++p)
            polygons_.push_back(p);
        return MS::kSuccess;
    }
    const host::Component* faces = host::componentIn(component);
    if (!faces || faces->kind != MFn::kMeshPolygonComponent)
        return MS::kInvalidParameter;
    std::vector<int> ids;
    if (faces->complete && faces->completeCounts[0] == host::kShapeCount) // "f[*]": every face
        for (int p = 0; p < mesh_->numPolygons(); ++p)
            ids.push_back(p);
    for (int p : host::singleIndices(*faces))
        ids.push_back(p);
    for (int p : ids)
        if (!mesh_->validPolygon(p))
            return MS::kInvalidParameter;
    polygons_ = ids;
    return MS::kSuccess;
}

MStatus MItMeshPolygon::reset() {
    return start(object_, hasPath_, component_);
}

MStatus MItMeshPolygon::reset(const MObject& polyObject) {
    return start(polyObject, false, MObject());
}

MStatus MItMeshPolygon::reset(const MDagPath& polyObject, MObject& component) {
    MDagPath shape = polyObject;
    if (!shape.extendToShape() || !host::isMeshNode(host::nodeOf(shape.node()))) {
        start(MObject(), false, MObject());
        return MS::kInvalidParameter;
    }
    return start(shape.node(), true, component);
}

bool MItMeshPolygon::current(int& polygon) const {
    if (mesh_ && outside_ >= 0) {
        polygon = outside_;
        return true;
    }
    if (!mesh_ || position_ >= polygons_.size())
        return false;
    polygon = polygons_[position_];
    return true;
}

MPoint MItMeshPolygon::place(const MPoint& p, MSpace::Space space, MStatus& status) const {
    status = MS::kSuccess;
    if (space != MSpace::kWorld)
        return p;
    if (!hasPath_) {
        status = MS::kInvalidParameter;
        return p;
    }
    MPoint q = MPoint(p.x, p.y, p.z) * world_;
    q.cartesianize();
    return q;
}

bool MItMeshPolygon::isDone(MStatus* status) {
    report(status, MS::kSuccess);
    int polygon = 0;
    return !current(polygon);
}

MStatus MItMeshPolygon::next() {
    if (!mesh_ || (outside_ < 0 && position_ >= polygons_.size()))
        return MS::kFailure;
    // From a polygon reached by setIndex outside the iteration, the iteration goes on where it
    // was.
    if (outside_ >= 0)
        outside_ = -1;
    if (position_ < polygons_.size())
        ++position_;
    return MS::kSuccess;
}

unsigned int MItMeshPolygon::count(MStatus* status) {
    report(status, mesh_ ? MS::kSuccess : MS::kFailure);
    return static_cast<unsigned int>(polygons_.size());
}

unsigned int MItMeshPolygon::index(MStatus* status) {
    int polygon = 0;
    bool valid = current(polygon);
    report(status, valid ? MS::kSuccess : MS::kFailure);
    return valid ? static_cast<unsigned int>(polygon) : 0;
}

MStatus MItMeshPolygon::setIndex(int index, int& prevIndex) {
    if (!mesh_ || !mesh_->validPolygon(index))
        return MS::kInvalidParameter;
    int polygon = -1;
    prevIndex = current(polygon) ? polygon : -1;
    outside_ = -1;
    for (size_t k = 0; k < polygons_.size(); ++k)
        if (polygons_[k] == index) {
            position_ = k;
            return MS::kSuccess;
        }
    outside_ = index;
    return MS::kSuccess;
}

MObject MItMeshPolygon::currentItem(MStatus* status) {
    int polygon = 0;
    if (!current(polygon)) {
        report(status, MS::kFailure);
        return MObject();
    }
    report(status, MS::kSuccess);
    return host::makeComponent(MFn::kMeshPolygonComponent, {polygon});
}

unsigned int MItMeshPolygon::polygonVertexCount(MStatus* status) {
    int polygon = 0;
    if (!current(polygon)) {
        report(status, MS::kFailure);
        return 0;
    }
    report(status, MS::kSuccess);
    return static_cast<unsigned int>(mesh_->outerCount(polygon));
}

int MItMeshPolygon::vertexIndex(int index, MStatus* status) {
    int polygon = 0;
    if (!current(polygon) || index < 0 || index >= mesh_->outerCount(polygon)) {
        report(status, MS::kInvalidParameter);
        return -1;
    }
    report(status, MS::kSuccess);
    return mesh_->loopVertices[static_cast<size_t>(mesh_->outerStart(polygon) + index)];
}

MStatus MItMeshPolygon::getVertices(MIntArray& vertices) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    vertices.clear();
    for (int i = 0; i < mesh_->outerCount(polygon); ++i)
        vertices.append(mesh_->loopVertices[static_cast<size_t>(mesh_->outerStart(polygon) + i)]);
    return MS::kSuccess;
}

MPoint MItMeshPolygon::point(int index, MSpace::Space space, MStatus* status) {
    int polygon = 0;
    if (!current(polygon) || index < 0 || index >= mesh_->outerCount(polygon)) {
        report(status, MS::kInvalidParameter);
        return MPoint();
    }
    const int vertex = mesh_->loopVertices[static_cast<size_t>(mesh_->outerStart(polygon) + index)];
    MStatus placed;
    MPoint p = place(mesh_->points[static_cast<size_t>(vertex)], space, placed);
    report(status, placed);
    return placed ? p : MPoint();
}

MStatus MItMeshPolygon::getPoints(MPointArray& pointArray, MSpace::Space space, MStatus* status) {
    int polygon = 0;
    MStatus result = current(polygon) ? MStatus(MS::kSuccess) : MStatus(MS::kFailure);
    if (result) {
        pointArray.clear();
        for (int i = 0; i < mesh_->outerCount(polygon) && result; ++i)
            pointArray.append(point(i, space, &result));
    }
    report(status, result);
    return result;
}

MPoint MItMeshPolygon::center(MSpace::Space space, MStatus* status) {
    MPointArray points;
    MStatus result = getPoints(points, space);
    report(status, result);
    if (!result || points.length() == 0)
        return MPoint();
    MPoint sum(0, 0, 0);
    for (unsigned int i = 0; i < points.length(); ++i) {
        sum.x += points[i].x;
        sum.y += points[i].y;
        sum.z += points[i].z;
    }
    return sum / points.length();
}

MStatus MItMeshPolygon::getNormal(MVector& normal, MSpace::Space space) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    if (space == MSpace::kWorld && !hasPath_)
        return MS::kInvalidParameter;
    normal = space == MSpace::kWorld ? host::polygonNormal(*mesh_, polygon, &world_)
                                     : mesh_->polygonNormals[static_cast<size_t>(polygon)];
    return MS::kSuccess;
}

MStatus MItMeshPolygon::getArea(double& area, MSpace::Space space) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    double sum = 0.0;
    for (int t = mesh_->polygonTriangles[polygon]; t < mesh_->polygonTriangles[polygon + 1]; ++t) {
        MPoint corners[3];
        for (int k = 0; k < 3; ++k) {
            const int corner = mesh_->triangles[static_cast<size_t>(t)].corners[k];
            MStatus placed;
            corners[k] = place(
                mesh_
                    ->points[static_cast<size_t>(mesh_->loopVertices[static_cast<size_t>(corner)])],
                space, placed);
            if (!placed)
                return placed;
        }
        sum += ((corners[1] - corners[0]) ^ (corners[2] - corners[0])).length() / 2;
    }
    area = sum;
    return MS::kSuccess;
}

bool MItMeshPolygon::isHoled(MStatus* status) {
    int polygon = 0;
    bool valid = current(polygon);
    report(status, valid ? MS::kSuccess : MS::kFailure);
    return valid && mesh_->holeCount(polygon) > 0;
}

bool MItMeshPolygon::hasUVs(MStatus* status) const {
    return hasUVs(MString(), status);
}

bool MItMeshPolygon::hasUVs(const MString& uvSet, MStatus* status) const {
    int polygon = 0;
    if (!current(polygon)) {
        report(status, MS::kFailure);
        return false;
    }
    const host::MeshUVSet* set = mesh_->uvSet(uvSet.asChar());
    report(status, set ? MS::kSuccess : MS::kInvalidParameter);
    return set && set->uvIds[static_cast<size_t>(mesh_->outerStart(polygon))] >= 0;
}

MStatus MItMeshPolygon::getUVIndex(int vertex, int& index, const MString* uvSet) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    const host::MeshUVSet* set = mesh_->uvSet(uvSet ? uvSet->asChar() : "");
    if (!set || vertex < 0 || vertex >= mesh_->outerCount(polygon))
        return MS::kInvalidParameter;
    const int id = set->uvIds[static_cast<size_t>(mesh_->outerStart(polygon) + vertex)];
    if (id < 0)
        return MS::kFailure;
    index = id;
    return MS::kSuccess;
}

MStatus MItMeshPolygon::getUV(int vertex, float2& uvPoint, const MString* uvSet) {
    int id = -1;
    MStatus status = getUVIndex(vertex, id, uvSet);
    if (!status)
        return status;
    const host::MeshUVSet* set = mesh_->uvSet(uvSet ? uvSet->asChar() : "");
    uvPoint[0] = set->u[static_cast<size_t>(id)];
    uvPoint[1] = set->v[static_cast<size_t>(id)];
    return MS::kSuccess;
}

MStatus MItMeshPolygon::getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    MFloatArray us, vs;
    for (int i = 0; i < mesh_->outerCount(polygon); ++i) {
        float2 uv;
        MStatus status = getUV(i, uv, uvSet);
        if (!status)
            return status;
        us.append(uv[0]);
        vs.append(uv[1]);
    }
    uArray = us;
    vArray = vs;
    return MS::kSuccess;
}

MStatus MItMeshPolygon::getPointAtUV(MPoint& pt, float2& uvPoint, MSpace::Space space,
                                     const MString* uvSet, float tolerance) {
    int polygon = 0;
    if (!current(polygon))
        return MS::kFailure;
    const host::MeshUVSet* set = mesh_->uvSet(uvSet ? uvSet->asChar() : "");
    if (!set)
        return MS::kInvalidParameter;
    MPoint local;
    if (!host::pointAtUV(*mesh_, polygon, *set, uvPoint[0], uvPoint[1], tolerance, local))
        return MS::kFailure;
    MStatus placed;
    MPoint p = place(local, space, placed);
    if (placed)
        pt = p;
    return placed;
}
