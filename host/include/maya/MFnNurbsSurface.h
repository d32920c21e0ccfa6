#pragma once
// Function set for NURBS surfaces: a nurbsSurface shape node, a DAG path to one, or surface data
// (MFnNurbsSurfaceData, the value of a NURBS surface plug).
//
// Parameters are the surface's own knot values; the knot domain runs from knot[degree - 1] to
// knot[numKnots - degree] of the stored knot list, which holds numCVs + degree - 1 knots per
// direction. CVs are listed with V varying fastest (index = u * numCVsInV + v); periodic
// directions list the overlapping CVs too. A rational surface's CV is (x, y, z, w): the point
// (x, y, z) with weight w; a non-rational one has w = 1.
//
// Spaces: kObject is the shape's own space. kWorld goes through the shape's transforms and needs
// the function set to be attached through an MDagPath; surface data is already in the space it
// was produced in (the shape's worldSpace output is world space), so kObject and kWorld both give
// its stored coordinates. Other spaces are treated as kObject.

#include <maya/MDagPath.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#ifndef kMFnNurbsEpsilon
#define kMFnNurbsEpsilon 1.0e-3
#endif

class OPENMAYA_EXPORT MFnNurbsSurface : public MFnBase {
  public:
    enum Form { kInvalid = 0, kOpen, kClosed, kPeriodic, kLast };

    MFnNurbsSurface() = default;
    MFnNurbsSurface(const MObject& object, MStatus* status = nullptr);
    MFnNurbsSurface(const MDagPath& path, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kNurbsSurface; }
    MStatus setObject(const MObject& object) override;
    MStatus setObject(const MDagPath& path);

    // Builds a surface from CVs and Maya-style knot lists (numCVs + degree - 1 per direction);
    // the CVs' w is used only when createRational is set. parentOrOwner decides where it goes:
    // MFnNurbsSurfaceData receives it and is returned; a transform gets a new nurbsSurface shape
    // holding it, which is returned; a null object gets a new transform with that shape, and
    // the transform is returned. The function set is then attached to the surface. Bad counts,
    // decreasing knots, an empty knot domain, a degree below 1, a non-positive weight, closed
    // or periodic CVs that do not overlap, or another kind of parentOrOwner fail with
    // kInvalidParameter, creating and changing nothing.
    MObject create(const MPointArray& controlVertices, const MDoubleArray& uKnotSequences,
                   const MDoubleArray& vKnotSequences, unsigned int degreeInU,
                   unsigned int degreeInV, Form formU, Form formV, bool createRational,
                   MObject& parentOrOwner = MObject::kNullObj, MStatus* status = nullptr);

    int numCVsInU(MStatus* status = nullptr) const;
    int numCVsInV(MStatus* status = nullptr) const;
    int numSpansInU(MStatus* status = nullptr) const;
    int numSpansInV(MStatus* status = nullptr) const;
    int degreeU(MStatus* status = nullptr) const;
    int degreeV(MStatus* status = nullptr) const;
    Form formInU(MStatus* status = nullptr) const;
    Form formInV(MStatus* status = nullptr) const;
    int numKnotsInU(MStatus* status = nullptr) const;
    int numKnotsInV(MStatus* status = nullptr) const;
    double knotInU(unsigned int index, MStatus* status = nullptr) const;
    double knotInV(unsigned int index, MStatus* status = nullptr) const;
    MStatus getKnotsInU(MDoubleArray& knots) const;
    MStatus getKnotsInV(MDoubleArray& knots) const;
    MStatus getKnotDomain(double& startU, double& endU, double& startV, double& endV) const;
    bool isParamOnSurface(double paramU, double paramV, MStatus* status = nullptr) const;

    MStatus getCVs(MPointArray& points, MSpace::Space space = MSpace::kObject) const;
    MStatus getCV(unsigned int indexU, unsigned int indexV, MPoint& point,
                  MSpace::Space space = MSpace::kObject) const;

    // Exact evaluation; a parameter outside the knot domain gives kInvalidParameter.
    MStatus getPointAtParam(double paramU, double paramV, MPoint& point,
                            MSpace::Space space = MSpace::kObject) const;
    // Unit vector along dP/du x dP/dv; kFailure (and a zero vector) where that product vanishes,
    // as at a collapsed edge.
    MVector normal(double paramU, double paramV, MSpace::Space space = MSpace::kObject,
                   MStatus* status = nullptr) const;
    // The point and its first partial derivatives, and the second ones where asked for.
    MStatus getDerivativesAtParm(double paramU, double paramV, MPoint& position, MVector& dU,
                                 MVector& dV, MSpace::Space space, MVector* dUU = nullptr,
                                 MVector* dVV = nullptr, MVector* dUV = nullptr) const;
    // The point of the surface nearest to toThisPoint (both in `space`), and its parameters.
    // Found by a sampled start and Newton steps until the parameter step falls below tolerance
    // times the knot domain; trim boundaries are not modelled, so ignoreTrimBoundaries has no
    // effect.
    MPoint closestPoint(const MPoint& toThisPoint, double* paramU = nullptr,
                        double* paramV = nullptr, bool ignoreTrimBoundaries = false,
                        double tolerance = kMFnNurbsEpsilon, MSpace::Space space = MSpace::kObject,
                        MStatus* status = nullptr) const;

  private:
    MDagPath path_;
    bool hasPath_ = false;
};
