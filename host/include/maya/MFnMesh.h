#pragma once
// Function set for polygon meshes: a mesh shape node, a DAG path to one (or to its transform),
// or mesh data (MFnMeshData, the value of a mesh plug).
//
// Spaces: kObject is the mesh's own space. kWorld goes through the shape's transforms and needs
// the function set to be attached through an MDagPath (kInvalidParameter otherwise). Mesh data
// is already in the space it was produced in (a shape's worldMesh output is world space), so
// kObject and kWorld both give its stored coordinates. Other spaces are treated as kObject.
//
// Polygons: vertex loops counter-clockwise seen from the side the normal points to. A polygon's
// vertices (getPolygonVertices, polygonVertexCount, the vertexIndex of getPolygonUV) are those
// of its outer loop; holes are kept but not listed. UV sets: a null or empty set name means the
// current set. Ids out of range fail with kInvalidParameter and change nothing.
//
// Edits (setPoints, setUVs, assignUVs, createUVSet, setCurrentUVSetName) change mesh data in
// place; on a shape without history they rewrite the shape's stored attributes; on a shape
// whose mesh comes from its input they fail with kFailure.

#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#define kMFnMeshInstanceUnspecified -1
#define kMFnMeshPointTolerance 1.0e-3
#define kMFnMeshTolerance 1.0e-3

class MDGModifier;

class OPENMAYA_EXPORT MFnMesh : public MFnDagNode {
  public:
    MFnMesh() = default;
    MFnMesh(const MObject& object, MStatus* status = nullptr);
    MFnMesh(const MDagPath& path, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kMesh; }
    MStatus setObject(const MObject& object) override;
    MStatus setObject(const MDagPath& path);

    // Builds a mesh from points and polygons: polygonCounts[p] vertices for polygon p (at least
    // 3), their ids in polygonConnects polygon after polygon. The mesh gets one empty UV set,
    // "map1"; the overload with uArray / vArray puts those UVs into it (assignUVs maps them).
    // parentOrOwner decides where it goes: MFnMeshData receives it and is returned; a transform
    // gets a new mesh shape holding it, which is returned; a null object gets a new transform
    // with that shape, and the transform is returned. The function set is then attached to the
    // mesh. Wrong counts, vertex ids out of range, a vertex used twice in a polygon, points that
    // are not finite, or another kind of parentOrOwner fail with kInvalidParameter, creating and
    // changing nothing.
    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   MObject& parentOrOwner = MObject::kNullObj, MStatus* status = nullptr);
    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   const MFloatArray& uArray, const MFloatArray& vArray,
                   MObject& parentOrOwner = MObject::kNullObj, MStatus* status = nullptr);

    int numVertices(MStatus* status = nullptr) const;
    int numEdges(MStatus* status = nullptr) const;
    int numPolygons(MStatus* status = nullptr) const;
    int numFaceVertices(MStatus* status = nullptr) const;
    int polygonVertexCount(int polygonId, MStatus* status = nullptr) const;
    int numUVSets(MStatus* status = nullptr) const;
    int numUVs(MStatus* status = nullptr) const;
    int numUVs(const MString& uvSet, MStatus* status = nullptr) const;

    MStatus getPoint(int vertexId, MPoint& pos, MSpace::Space space = MSpace::kObject) const;
    MStatus getPoints(MPointArray& vertexArray, MSpace::Space space = MSpace::kObject) const;
    MStatus getPoints(MFloatPointArray& vertexArray, MSpace::Space space = MSpace::kObject) const;
    // Points are given in `space`; kWorld moves them back through the inverse transform.
    MStatus setPoint(int vertexId, const MPoint& pos, MSpace::Space space = MSpace::kObject);
    MStatus setPoints(const MPointArray& vertexArray, MSpace::Space space = MSpace::kObject);
    MStatus setPoints(const MFloatPointArray& vertexArray, MSpace::Space space = MSpace::kObject);

    MStatus getPolygonVertices(int polygonId, MIntArray& vertexList) const;
    // Vertex counts of every polygon and their vertex ids, as create takes them.
    MStatus getVertices(MIntArray& vertexCount, MIntArray& vertexList) const;
    MStatus getEdgeVertices(int edgeId, int2& vertexList) const;
    // Triangles of each polygon (holes cut out) and their vertex ids.
    MStatus getTriangles(MIntArray& triangleCounts, MIntArray& triangleVertices) const;

    // The unit normal of the polygon's outer loop (Newell's method).
    MStatus getPolygonNormal(int polygonId, MVector& normal,
                             MSpace::Space space = MSpace::kObject) const;
    // angleWeighted false: the normalised plain average of the normals of the polygons around
    // the vertex; true: each weighted by the polygon's angle at the vertex. The overload
    // without the flag is the plain average. A vertex no polygon uses fails with kFailure.
    MStatus getVertexNormal(int vertexId, bool angleWeighted, MVector& normal,
                            MSpace::Space space = MSpace::kObject) const;
    MStatus getVertexNormal(int vertexId, MVector& normal,
                            MSpace::Space space = MSpace::kObject) const;
    MStatus getVertexNormals(bool angleWeighted, MFloatVectorArray& normals,
                             MSpace::Space space = MSpace::kObject) const;

    // The point of the mesh nearest to toThisPoint (both in `space`) and its polygon. A mesh
    // without polygons fails with kFailure.
    MStatus getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint,
                            MSpace::Space space = MSpace::kObject,
                            int* closestPolygon = nullptr) const;
    // As getClosestPoint, with the normal of the polygon found.
    MStatus getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                     MVector& theNormal, MSpace::Space space = MSpace::kObject,
                                     int* closestPolygon = nullptr) const;

    MStatus getUVSetNames(MStringArray& setNames) const;
    MString currentUVSetName(MStatus* status = nullptr,
                             int instance = kMFnMeshInstanceUnspecified) const;
    MStatus setCurrentUVSetName(const MString& setName, MDGModifier* modifier = nullptr,
                                int instance = kMFnMeshInstanceUnspecified);
    // Adds an empty UV set; a name that is taken gets a number appended, and uvSetName is set to
    // the name the set got.
    MStatus createUVSet(MString& uvSetName, MDGModifier* modifier = nullptr,
                        int instance = kMFnMeshInstanceUnspecified);
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet = nullptr) const;
    MStatus setUVs(const MFloatArray& uArray, const MFloatArray& vArray,
                   const MString* uvSet = nullptr);
    MStatus getUV(int uvId, float& u, float& v, const MString* uvSet = nullptr) const;
    // uvCounts: per polygon, 0 or its vertex count; uvIds: those vertices' UV ids in order.
    MStatus assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds,
                      const MString* uvSet = nullptr);
    MStatus getAssignedUVs(MIntArray& uvCounts, MIntArray& uvIds,
                           const MString* uvSet = nullptr) const;
    // The UV of the polygon's vertexIndex-th vertex; kFailure when it has none in the set.
    MStatus getPolygonUV(int polygonId, int vertexIndex, float& u, float& v,
                         const MString* uvSet = nullptr) const;
    MStatus getPolygonUVid(int polygonId, int vertexIndex, int& uvId,
                           const MString* uvSet = nullptr) const;

    // The UV at the point of the mesh nearest to toThisPoint, interpolated over the triangle
    // it lies on. kFailure when that polygon has no UVs in the set.
    MStatus getUVAtPoint(const MPoint& toThisPoint, float2& uvPoint,
                         MSpace::Space space = MSpace::kObject, const MString* uvSet = nullptr,
                         int* closestPolygon = nullptr);
    // The point of a polygon with the given UV. A UV outside the polygon fails with kFailure
    // unless it lies within `tolerance` (UV units) of the polygon's UVs, where the nearest one
    // is used.
    MStatus getPointAtUV(int polygonId, MPoint& toThisPoint, float2& uvPoint,
                         MSpace::Space space = MSpace::kObject, const MString* uvSet = nullptr,
                         float tolerance = 0.0f);

    // Tells a shape's dependents that its mesh changed (its outputs evaluate again).
    MStatus updateSurface();
};
