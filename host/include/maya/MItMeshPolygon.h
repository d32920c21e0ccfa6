#pragma once
// Iterates over the polygons of a mesh: all of them, in order, or those of a polygon component
// (MFn::kMeshPolygonComponent), in the component's order. The mesh is read when the iterator
// is made or reset; later changes to it are not seen until reset.
//
// Spaces as in MFnMesh: kWorld needs the iterator to be made from an MDagPath. Vertex indices
// (vertexIndex, getUVs, point) count the vertices of the polygon's outer loop.

#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <memory>
#include <vector>

namespace host {
struct Mesh;
}

class OPENMAYA_EXPORT MItMeshPolygon {
  public:
    // Over every polygon of a mesh shape or mesh data.
    MItMeshPolygon(const MObject& polyObject, MStatus* status = nullptr);
    // Over the polygons of a component of the shape at the path (all of them for a null one).
    MItMeshPolygon(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                   MStatus* status = nullptr);

    bool isDone(MStatus* status = nullptr);
    MStatus next();
    MStatus reset();
    MStatus reset(const MObject& polyObject);
    MStatus reset(const MDagPath& polyObject, MObject& component = MObject::kNullObj);
    // How many polygons the iteration visits.
    unsigned int count(MStatus* status = nullptr);
    // The id of the current polygon.
    unsigned int index(MStatus* status = nullptr);
    // Moves to the polygon with the given id in the whole mesh, as Maya's does, whether the
    // iteration visits it or not; prevIndex gets the id of the polygon it was on (-1 past the
    // end). On a polygon the iteration visits, the iteration goes on from there; on another,
    // next() goes on from where the iteration was. kInvalidParameter for an id the mesh lacks.
    MStatus setIndex(int index, int& prevIndex);
    // A new polygon component holding the current polygon.
    MObject currentItem(MStatus* status = nullptr);

    unsigned int polygonVertexCount(MStatus* status = nullptr);
    int vertexIndex(int index, MStatus* status = nullptr);
    MStatus getVertices(MIntArray& vertices);
    MPoint point(int index, MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);
    MStatus getPoints(MPointArray& pointArray, MSpace::Space space = MSpace::kObject,
                      MStatus* status = nullptr);
    // The average of the outer loop's points.
    MPoint center(MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);
    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject);
    MStatus getArea(double& area, MSpace::Space space = MSpace::kObject);
    bool isHoled(MStatus* status = nullptr);

    bool hasUVs(MStatus* status = nullptr) const;
    bool hasUVs(const MString& uvSet, MStatus* status = nullptr) const;
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet = nullptr);
    MStatus getUV(int vertex, float2& uvPoint, const MString* uvSet = nullptr);
    MStatus getUVIndex(int vertex, int& index, const MString* uvSet = nullptr);
    // The point of the current polygon with the given UV (see MFnMesh::getPointAtUV).
    MStatus getPointAtUV(MPoint& pt, float2& uvPoint, MSpace::Space space = MSpace::kObject,
                         const MString* uvSet = nullptr, float tolerance = 0.0f);

  private:
    MStatus start(const MObject& object, bool hasPath, const MObject& component);
    bool current(int& polygon) const;
    MPoint place(const MPoint& p, MSpace::Space space, MStatus& status) const;

    std::shared_ptr<const host::Mesh> mesh_;
    MObject object_;
    MObject component_;
    MMatrix world_;
    bool hasPath_ = false;
    std::vector<int> polygons_;
    size_t position_ = 0;
    int outside_ = -1; // a polygon setIndex moved to that the iteration does not visit
};
