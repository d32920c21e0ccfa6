// MFnMesh: reads a mesh from data or from a shape node, queries it and edits it.

#include "builtin/transformNode.h"
#include "geometry/meshClosestPoint.h"
#include "geometry/meshData.h"
#include "geometry/meshNode.h"
#include "geometry/meshNormals.h"
#include "geometry/meshUVs.h"
#include "graph/graph.h"
#include "graph/statusOut.h"

#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MMatrix.h>

#include <cmath>
#include <functional>

namespace host {
namespace {

// The mesh a function set works on, and the matrix into the space asked for.
struct Target {
    std::shared_ptr<const Mesh> mesh;
    MMatrix matrix;
    bool moved = false; // matrix is not to be skipped
};

Node* meshNode(const MObject& object) {
    Node* node = nodeOf(object);
    return isMeshNode(node) ? node : nullptr;
}

MStatus resolve(const MObject& object, bool hasPath, MSpace::Space space, Target& out) {
    if (dataAs<MeshData>(object)) {
        out.mesh = meshIn(object);
        return MS::kSuccess;
    }
    Node* node = meshNode(object);
    if (!node)
        return MS::kInvalidParameter;
    out.mesh = meshOfNode(*node);
    if (space == MSpace::kWorld) {
        if (!hasPath)
            return MS::kInvalidParameter;
        out.matrix = worldMatrix(*node);
        out.moved = out.matrix != MMatrix::identity;
    }
    return MS::kSuccess;
}

MPoint moved(const MPoint& p, const MMatrix& matrix) {
    MPoint q = MPoint(p.x, p.y, p.z) * matrix;
    q.cartesianize();
    return q;
}

// True when the matrix only rotates, scales evenly and moves, so that nearest points map to
// nearest points.
bool isSimilarity(const MMatrix& m) {
    MVector rows[3];
    for (unsigned int r = 0; r < 3; ++r)
        rows[r] = MVector(m(r, 0), m(r, 1), m(r, 2));
    if (m(0, 3) != 0.0 || m(1, 3) != 0.0 || m(2, 3) != 0.0 || m(3, 3) != 1.0)
        return false;
    const double s2 = rows[0] * rows[0];
    if (!(s2 > 0.0))
        return false;
    const double tolerance = 1e-12 * s2;
    return std::fabs(rows[1] * rows[1] - s2) <= tolerance &&
           std::fabs(rows[2] * rows[2] - s2) <= tolerance &&
           std::fabs(rows[0] * rows[1]) <= tolerance && std::fabs(rows[0] * rows[2]) <= tolerance &&
           std::fabs(rows[1] * rows[2]) <= tolerance;
}

// The nearest point of the target's mesh in its space, query and answer both in that space.
bool nearest(const Target& target, const MPoint& query, MeshHit& hit) {
    const Mesh& mesh = *target.mesh;
    if (!target.moved)
        return closestPoint(mesh, mesh.points, query, hit);
    if (isSimilarity(target.matrix)) {
        if (!closestPoint(mesh, mesh.points, moved(query, target.matrix.inverse()), hit))
            return false;
        hit.point = moved(hit.point, target.matrix);
        return true;
    }
    std::vector<MPoint> points;
    points.reserve(mesh.points.size());
    for (const MPoint& p : mesh.points)
        points.push_back(moved(p, target.matrix));
    return closestPoint(mesh, points, query, hit);
}

// The UV set a call names (null or empty: the current one), as an index; -1 when missing.
int setIndex(const Mesh& mesh, const MString* uvSet) {
    return mesh.uvSetIndex(uvSet ? uvSet->asChar() : "");
}

// Makes a changed copy of the mesh and puts it where the function set's mesh lives: into the
// data object, or into the shape's attributes.
MStatus edit(const MObject& object, const std::function<bool(Mesh&, std::string&)>& change) {
    Node* node = meshNode(object);
    MeshData* data = dataAs<MeshData>(object);
    if (!node && !data)
        return MS::kInvalidParameter;
    if (node && meshFromHistory(*node))
        return MS::kFailure;
    std::shared_ptr<const Mesh> current = node ? meshOfNode(*node) : meshIn(object);
    Mesh mesh = *current;
    std::string error;
    if (!change(mesh, error) || !validateMesh(mesh, error)) {
        MGlobal::displayError(("MFnMesh: " + error + ".").c_str());
        return MS::kInvalidParameter;
    }
    finalizeMesh(mesh);
    if (data) {
        data->mesh = std::make_shared<const Mesh>(std::move(mesh));
        return MS::kSuccess;
    }
    if (!writeMeshAttributes(*node, mesh, &error)) {
        MGlobal::displayError(("MFnMesh: " + error + ".").c_str());
        return MS::kFailure;
    }
    return MS::kSuccess;
}

bool buildFromArrays(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                     const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                     const MFloatArray* u, const MFloatArray* v, Mesh& mesh, std::string& error) {
    if (numVertices < 0 || numPolygons < 0 ||
        vertexArray.length() < static_cast<unsigned int>(numVertices)) {
        error = "expected at least " + std::to_string(numVertices) + " points, got " +
                std::to_string(vertexArray.length());
        return false;
    }
    if (polygonCounts.length() != static_cast<unsigned int>(numPolygons)) {
        error = "expected " + std::to_string(numPolygons) + " polygon counts, got " +
                std::to_string(polygonCounts.length());
        return false;
    }
    long total = 0;
    for (unsigned int p = 0; p < polygonCounts.length(); ++p) {
        if (polygonCounts[p] < 3) {
            error = "polygon " + std::to_string(p) + " has " + std::to_string(polygonCounts[p]) +
                    " vertices; expected at least 3";
            return false;
        }
        total += polygonCounts[p];
    }
    if (total != static_cast<long>(polygonConnects.length())) {
        error = "the polygon counts add up to " + std::to_string(total) + " vertices, but " +
                std::to_string(polygonConnects.length()) + " vertex ids were given";
        return false;
    }
    if (u && v && u->length() != v->length()) {
        error = "expected as many v values as u values (" + std::to_string(u->length()) +
                "), got " + std::to_string(v->length());
        return false;
    }
    Mesh built;
    for (int i = 0; i < numVertices; ++i) {
        const MFloatPoint& p = vertexArray[static_cast<unsigned int>(i)];
        built.points.emplace_back(p.x, p.y, p.z);
    }
    MeshUVSet map;
    map.name = "map1";
    if (u && v)
        for (unsigned int i = 0; i < u->length(); ++i) {
            map.u.push_back((*u)[i]);
            map.v.push_back((*v)[i]);
        }
    built.uvSets.push_back(map);
    built.currentUVSet = 0;
    unsigned int next = 0;
    for (unsigned int p = 0; p < polygonCounts.length(); ++p) {
        std::vector<int> loop;
        for (int k = 0; k < polygonCounts[p]; ++k)
            loop.push_back(polygonConnects[next++]);
        addPolygon(built, loop);
    }
    if (!validateMesh(built, error))
        return false;
    finalizeMesh(built);
    mesh = std::move(built);
    return true;
}

} // namespace
} // namespace host

namespace {
// The mesh in object space and the index of the named UV set (the current one when null).
MStatus resolveUVSet(const MObject& object, bool hasPath, const MString* uvSet,
                     host::Target& target, int& index) {
    MStatus status = host::resolve(object, hasPath, MSpace::kObject, target);
    if (!status)
        return status;
    index = host::setIndex(*target.mesh, uvSet);
    return index < 0 ? MStatus(MS::kInvalidParameter) : MStatus(MS::kSuccess);
}
} // namespace

using host::Mesh;
using host::MeshHit;
using host::Node;
using host::report;
using host::Target;

MFnMesh::MFnMesh(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MFnMesh::MFnMesh(const MDagPath& path, MStatus* status) {
    report(status, setObject(path));
}

MStatus MFnMesh::setObject(const MObject& object) {
    object_ = object;
    path_ = MDagPath();
    hasPath_ = false;
    return host::dataAs<host::MeshData>(object) || host::meshNode(object) ? MS::kSuccess
                                                                          : MS::kInvalidParameter;
}

MStatus MFnMesh::setObject(const MDagPath& path) {
    object_ = MObject();
    path_ = MDagPath();
    hasPath_ = false;
    MDagPath shape = path;
    if (!shape.extendToShape() || !host::meshNode(shape.node()))
        return MS::kInvalidParameter;
    object_ = shape.node();
    path_ = shape;
    hasPath_ = true;
    return MS::kSuccess;
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        MObject& parentOrOwner, MStatus* status) {
    return create(numVertices, numPolygons, vertexArray, polygonCounts, polygonConnects,
                  MFloatArray(), MFloatArray(), parentOrOwner, status);
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        const MFloatArray& uArray, const MFloatArray& vArray,
                        MObject& parentOrOwner, MStatus* status) {
    host::MeshData* data = host::dataAs<host::MeshData>(parentOrOwner);
    Node* parent = host::nodeOf(parentOrOwner);
    if (!data && !parentOrOwner.isNull() && !(parent && parent->hasFn(MFn::kTransform))) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    Mesh mesh;
    std::string error;
    if (!host::buildFromArrays(numVertices, numPolygons, vertexArray, polygonCounts,
                               polygonConnects, &uArray, &vArray, mesh, error)) {
        MGlobal::displayError(("MFnMesh::create: " + error + ".").c_str());
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    if (data) {
        data->mesh = std::make_shared<const Mesh>(std::move(mesh));
        setObject(parentOrOwner);
        report(status, MS::kSuccess);
        return parentOrOwner;
    }
    host::Graph& graph = host::Graph::instance();
    Node* top = nullptr;
    if (!parent) {
        top = parent = graph.createNode("transform", "polySurface1", nullptr, &error);
        if (!top) {
            report(status, MS::kFailure);
            return MObject();
        }
    }
    // A name of the host's choosing: unique in the whole scene, as Maya's are.
    Node* shape = graph.createNode(
        "mesh", graph.names().unique("polySurfaceShape1", false, nullptr, nullptr), parent, &error);
    if (!shape || !host::writeMeshAttributes(*shape, mesh, &error)) {
        if (shape)
            graph.deleteNode(shape, &error);
        if (top)
            graph.deleteNode(top, &error);
        MGlobal::displayError(("MFnMesh::create: " + error + ".").c_str());
        report(status, MS::kFailure);
        return MObject();
    }
    MDagPath path;
    MDagPath::getAPathTo(shape->object(), path);
    setObject(path);
    report(status, MS::kSuccess);
    return top ? top->object() : shape->object();
}

// Counts and reads of the object-space mesh.
#define MESH_OR_FAIL(fallback)                                                                     \
    Target target;                                                                                 \
    MStatus found = host::resolve(object_, hasPath_, MSpace::kObject, target);                     \
    if (!found) {                                                                                  \
        report(status, found);                                                                     \
        return fallback;                                                                           \
    }                                                                                              \
    const Mesh& mesh = *target.mesh;

int MFnMesh::numVertices(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    return mesh.numVertices();
}

int MFnMesh::numEdges(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    return mesh.numEdges();
}

int MFnMesh::numPolygons(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    return mesh.numPolygons();
}

int MFnMesh::numFaceVertices(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    int count = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p)
        count += mesh.outerCount(p);
    return count;
}

int MFnMesh::polygonVertexCount(int polygonId, MStatus* status) const {
    MESH_OR_FAIL(0)
    if (!mesh.validPolygon(polygonId)) {
        report(status, MS::kInvalidParameter);
        return 0;
    }
    report(status, MS::kSuccess);
    return mesh.outerCount(polygonId);
}

int MFnMesh::numUVSets(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    return static_cast<int>(mesh.uvSets.size());
}

int MFnMesh::numUVs(MStatus* status) const {
    MESH_OR_FAIL(0)
    report(status, MS::kSuccess);
    const host::MeshUVSet* set = mesh.uvSet("");
    return set ? static_cast<int>(set->u.size()) : 0;
}

int MFnMesh::numUVs(const MString& uvSet, MStatus* status) const {
    MESH_OR_FAIL(0)
    int index = host::setIndex(mesh, &uvSet);
    report(status, index >= 0 ? MS::kSuccess : MS::kInvalidParameter);
    return index >= 0 ? static_cast<int>(mesh.uvSets[static_cast<size_t>(index)].u.size()) : 0;
}
#undef MESH_OR_FAIL

MStatus MFnMesh::getPoint(int vertexId, MPoint& pos, MSpace::Space space) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    if (!target.mesh->validVertex(vertexId))
        return MS::kInvalidParameter;
    const MPoint& p = target.mesh->points[static_cast<size_t>(vertexId)];
    pos = target.moved ? host::moved(p, target.matrix) : p;
    return MS::kSuccess;
}

MStatus MFnMesh::getPoints(MPointArray& vertexArray, MSpace::Space space) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    vertexArray.clear();
    for (const MPoint& p : target.mesh->points)
        vertexArray.append(target.moved ? host::moved(p, target.matrix) : p);
    return MS::kSuccess;
}

MStatus MFnMesh::getPoints(MFloatPointArray& vertexArray, MSpace::Space space) const {
    MPointArray points;
    MStatus status = getPoints(points, space);
    if (!status)
        return status;
    vertexArray.clear();
    for (unsigned int i = 0; i < points.length(); ++i)
        vertexArray.append(static_cast<float>(points[i].x), static_cast<float>(points[i].y),
                           static_cast<float>(points[i].z));
    return MS::kSuccess;
}

MStatus MFnMesh::setPoint(int vertexId, const MPoint& pos, MSpace::Space space) {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    if (!target.mesh->validVertex(vertexId))
        return MS::kInvalidParameter;
    const MPoint local = target.moved ? host::moved(pos, target.matrix.inverse()) : pos;
    return host::edit(object_, [&](Mesh& mesh, std::string&) {
        mesh.points[static_cast<size_t>(vertexId)] = MPoint(local.x, local.y, local.z);
        return true;
    });
}

MStatus MFnMesh::setPoints(const MPointArray& vertexArray, MSpace::Space space) {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    if (vertexArray.length() != static_cast<unsigned int>(target.mesh->numVertices()))
        return MS::kInvalidParameter;
    const MMatrix back = target.moved ? target.matrix.inverse() : MMatrix();
    return host::edit(object_, [&](Mesh& mesh, std::string&) {
        for (unsigned int i = 0; i < vertexArray.length(); ++i) {
            const MPoint local = target.moved ? host::moved(vertexArray[i], back) : vertexArray[i];
            mesh.points[i] = MPoint(local.x, local.y, local.z);
        }
        return true;
    });
}

MStatus MFnMesh::setPoints(const MFloatPointArray& vertexArray, MSpace::Space space) {
    MPointArray points;
    for (unsigned int i = 0; i < vertexArray.length(); ++i)
        points.append(MPoint(vertexArray[i].x, vertexArray[i].y, vertexArray[i].z));
    return setPoints(points, space);
}

MStatus MFnMesh::getPolygonVertices(int polygonId, MIntArray& vertexList) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const Mesh& mesh = *target.mesh;
    if (!mesh.validPolygon(polygonId))
        return MS::kInvalidParameter;
    vertexList.clear();
    for (int i = 0; i < mesh.outerCount(polygonId); ++i)
        vertexList.append(mesh.loopVertices[static_cast<size_t>(mesh.outerStart(polygonId) + i)]);
    return MS::kSuccess;
}

MStatus MFnMesh::getVertices(MIntArray& vertexCount, MIntArray& vertexList) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const Mesh& mesh = *target.mesh;
    vertexCount.clear();
    vertexList.clear();
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        vertexCount.append(mesh.outerCount(p));
        for (int i = 0; i < mesh.outerCount(p); ++i)
            vertexList.append(mesh.loopVertices[static_cast<size_t>(mesh.outerStart(p) + i)]);
    }
    return MS::kSuccess;
}

MStatus MFnMesh::getEdgeVertices(int edgeId, int2& vertexList) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    if (edgeId < 0 || edgeId >= target.mesh->numEdges())
        return MS::kInvalidParameter;
    vertexList[0] = target.mesh->edges[static_cast<size_t>(edgeId)].v0;
    vertexList[1] = target.mesh->edges[static_cast<size_t>(edgeId)].v1;
    return MS::kSuccess;
}

MStatus MFnMesh::getTriangles(MIntArray& triangleCounts, MIntArray& triangleVertices) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const Mesh& mesh = *target.mesh;
    triangleCounts.clear();
    triangleVertices.clear();
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        triangleCounts.append(mesh.polygonTriangles[p + 1] - mesh.polygonTriangles[p]);
        for (int t = mesh.polygonTriangles[p]; t < mesh.polygonTriangles[p + 1]; ++t)
            for (int corner : mesh.triangles[static_cast<size_t>(t)].corners)
                triangleVertices.append(mesh.loopVertices[static_cast<size_t>(corner)]);
    }
    return MS::kSuccess;
}

MStatus MFnMesh::getPolygonNormal(int polygonId, MVector& normal, MSpace::Space space) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    if (!target.mesh->validPolygon(polygonId))
        return MS::kInvalidParameter;
    normal = target.moved ? host::polygonNormal(*target.mesh, polygonId, &target.matrix)
                          : target.mesh->polygonNormals[static_cast<size_t>(polygonId)];
    return MS::kSuccess;
}

MStatus MFnMesh::getVertexNormal(int vertexId, bool angleWeighted, MVector& normal,
                                 MSpace::Space space) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    if (!target.mesh->validVertex(vertexId))
        return MS::kInvalidParameter;
    MVector n = host::vertexNormal(*target.mesh, vertexId, angleWeighted,
                                   target.moved ? &target.matrix : nullptr);
    if (n.length() == 0.0)
        return MS::kFailure;
    normal = n;
    return MS::kSuccess;
}

MStatus MFnMesh::getVertexNormal(int vertexId, MVector& normal, MSpace::Space space) const {
    return getVertexNormal(vertexId, false, normal, space);
}

MStatus MFnMesh::getVertexNormals(bool angleWeighted, MFloatVectorArray& normals,
                                  MSpace::Space space) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    normals.clear();
    for (int v = 0; v < target.mesh->numVertices(); ++v) {
        MVector n = host::vertexNormal(*target.mesh, v, angleWeighted,
                                       target.moved ? &target.matrix : nullptr);
        normals.append(MFloatVector(static_cast<float>(n.x), static_cast<float>(n.y),
                                    static_cast<float>(n.z)));
    }
    return MS::kSuccess;
}

MStatus MFnMesh::getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                 MSpace::Space space, int* closestPolygon) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    MeshHit hit;
    if (!host::nearest(target, toThisPoint, hit))
        return MS::kFailure;
    theClosestPoint = hit.point;
    if (closestPolygon)
        *closestPolygon = hit.polygon;
    return MS::kSuccess;
}

MStatus MFnMesh::getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                          MVector& theNormal, MSpace::Space space,
                                          int* closestPolygon) const {
    int polygon = -1;
    MStatus status = getClosestPoint(toThisPoint, theClosestPoint, space, &polygon);
    if (status)
        status = getPolygonNormal(polygon, theNormal, space);
    if (status && closestPolygon)
        *closestPolygon = polygon;
    return status;
}

MStatus MFnMesh::getUVSetNames(MStringArray& setNames) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    setNames.clear();
    for (const host::MeshUVSet& set : target.mesh->uvSets)
        setNames.append(MString(set.name.c_str()));
    return MS::kSuccess;
}

MString MFnMesh::currentUVSetName(MStatus* status, int) const {
    Target target;
    MStatus found = host::resolve(object_, hasPath_, MSpace::kObject, target);
    const host::MeshUVSet* set = found ? target.mesh->uvSet("") : nullptr;
    report(status, !found ? found : set ? MStatus(MS::kSuccess) : MStatus(MS::kFailure));
    return set ? MString(set->name.c_str()) : MString();
}

MStatus MFnMesh::setCurrentUVSetName(const MString& setName, MDGModifier*, int) {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const int index = target.mesh->uvSetIndex(setName.asChar());
    if (setName.length() == 0 || index < 0)
        return MS::kInvalidParameter;
    return host::edit(object_, [&](Mesh& mesh, std::string&) {
        mesh.currentUVSet = index;
        return true;
    });
}

MStatus MFnMesh::createUVSet(MString& uvSetName, MDGModifier*, int) {
    std::string name = uvSetName.asChar();
    MStatus status = host::edit(object_, [&](Mesh& mesh, std::string&) {
        host::addUVSet(mesh, name);
        return true;
    });
    if (status)
        uvSetName = name.c_str();
    return status;
}

MStatus MFnMesh::getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet) const {
    Target target;
    int index = -1;
    MStatus status = resolveUVSet(object_, hasPath_, uvSet, target, index);
    if (!status)
        return status;
    const host::MeshUVSet& set = target.mesh->uvSets[static_cast<size_t>(index)];
    uArray.clear();
    vArray.clear();
    for (size_t i = 0; i < set.u.size(); ++i) {
        uArray.append(set.u[i]);
        vArray.append(set.v[i]);
    }
    return MS::kSuccess;
}

MStatus MFnMesh::setUVs(const MFloatArray& uArray, const MFloatArray& vArray,
                        const MString* uvSet) {
    Target target;
    int index = -1;
    MStatus status = resolveUVSet(object_, hasPath_, uvSet, target, index);
    if (!status)
        return status;
    std::vector<float> u(uArray.length()), v(vArray.length());
    for (unsigned int i = 0; i < uArray.length(); ++i)
        u[i] = uArray[i];
    for (unsigned int i = 0; i < vArray.length(); ++i)
        v[i] = vArray[i];
    return host::edit(object_, [&](Mesh& mesh, std::string& error) {
        return host::setUVs(mesh, index, u, v, error);
    });
}

MStatus MFnMesh::getUV(int uvId, float& u, float& v, const MString* uvSet) const {
    Target target;
    int index = -1;
    MStatus status = resolveUVSet(object_, hasPath_, uvSet, target, index);
    if (!status)
        return status;
    const host::MeshUVSet& set = target.mesh->uvSets[static_cast<size_t>(index)];
    if (uvId < 0 || uvId >= static_cast<int>(set.u.size()))
        return MS::kInvalidParameter;
    u = set.u[static_cast<size_t>(uvId)];
    v = set.v[static_cast<size_t>(uvId)];
    return MS::kSuccess;
}

MStatus MFnMesh::assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds,
                           const MString* uvSet) {
    Target target;
    int index = -1;
    MStatus status = resolveUVSet(object_, hasPath_, uvSet, target, index);
    if (!status)
        return status;
    std::vector<int> counts(uvCounts.length()), ids(uvIds.length());
    for (unsigned int i = 0; i < uvCounts.length(); ++i)
        counts[i] = uvCounts[i];
    for (unsigned int i = 0; i < uvIds.length(); ++i)
        ids[i] = uvIds[i];
    return host::edit(object_, [&](Mesh& mesh, std::string& error) {
        return host::assignUVs(mesh, index, counts, ids, error);
    });
}

MStatus MFnMesh::getAssignedUVs(MIntArray& uvCounts, MIntArray& uvIds, const MString* uvSet) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const Mesh& mesh = *target.mesh;
    const int index = host::setIndex(mesh, uvSet);
    if (index < 0)
        return MS::kInvalidParameter;
    const host::MeshUVSet& set = mesh.uvSets[static_cast<size_t>(index)];
    uvCounts.clear();
    uvIds.clear();
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const int start = mesh.outerStart(p);
        const bool mapped = set.uvIds[static_cast<size_t>(start)] >= 0;
        uvCounts.append(mapped ? mesh.outerCount(p) : 0);
        if (mapped)
            for (int i = 0; i < mesh.outerCount(p); ++i)
                uvIds.append(set.uvIds[static_cast<size_t>(start + i)]);
    }
    return MS::kSuccess;
}

MStatus MFnMesh::getPolygonUVid(int polygonId, int vertexIndex, int& uvId,
                                const MString* uvSet) const {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, MSpace::kObject, target);
    if (!status)
        return status;
    const Mesh& mesh = *target.mesh;
    const int index = host::setIndex(mesh, uvSet);
    if (index < 0 || !mesh.validPolygon(polygonId) || vertexIndex < 0 ||
        vertexIndex >= mesh.outerCount(polygonId))
        return MS::kInvalidParameter;
    const int id = mesh.uvSets[static_cast<size_t>(index)]
                       .uvIds[static_cast<size_t>(mesh.outerStart(polygonId) + vertexIndex)];
    if (id < 0)
        return MS::kFailure;
    uvId = id;
    return MS::kSuccess;
}

MStatus MFnMesh::getPolygonUV(int polygonId, int vertexIndex, float& u, float& v,
                              const MString* uvSet) const {
    int id = -1;
    MStatus status = getPolygonUVid(polygonId, vertexIndex, id, uvSet);
    return status ? getUV(id, u, v, uvSet) : status;
}

MStatus MFnMesh::getUVAtPoint(const MPoint& toThisPoint, float2& uvPoint, MSpace::Space space,
                              const MString* uvSet, int* closestPolygon) {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    const int index = host::setIndex(*target.mesh, uvSet);
    if (index < 0)
        return MS::kInvalidParameter;
    MeshHit hit;
    if (!host::nearest(target, toThisPoint, hit))
        return MS::kFailure;
    if (closestPolygon)
        *closestPolygon = hit.polygon;
    float u = 0.0f, v = 0.0f;
    if (!host::uvAtHit(*target.mesh, target.mesh->uvSets[static_cast<size_t>(index)], hit, u, v))
        return MS::kFailure;
    uvPoint[0] = u;
    uvPoint[1] = v;
    return MS::kSuccess;
}

MStatus MFnMesh::getPointAtUV(int polygonId, MPoint& toThisPoint, float2& uvPoint,
                              MSpace::Space space, const MString* uvSet, float tolerance) {
    Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    const int index = host::setIndex(*target.mesh, uvSet);
    if (index < 0 || !target.mesh->validPolygon(polygonId))
        return MS::kInvalidParameter;
    MPoint point;
    if (!host::pointAtUV(*target.mesh, polygonId, target.mesh->uvSets[static_cast<size_t>(index)],
                         uvPoint[0], uvPoint[1], tolerance, point))
        return MS::kFailure;
    toThisPoint = target.moved ? host::moved(point, target.matrix) : point;
    return MS::kSuccess;
}

MStatus MFnMesh::updateSurface() {
    if (host::dataAs<host::MeshData>(object_))
        return MS::kSuccess;
    Node* node = host::meshNode(object_);
    if (!node)
        return MS::kInvalidParameter;
    for (const MObject* output : {&host::MeshNode::outMesh, &host::MeshNode::worldMesh}) {
        const host::AttributeDef* def = host::attributeDef(*output);
        host::Graph::instance().markDirty(
            host::PlugRef{node, def, std::vector<int>(static_cast<size_t>(def->arrayDepth()), -1)});
    }
    return MS::kSuccess;
}
