// MFnNurbsSurface: reads a surface from data or from a shape node and evaluates it.

#include "builtin/transformNode.h"
#include "geometry/nurbsEvaluation.h"
#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceNode.h"
#include "graph/graph.h"
#include "graph/statusOut.h"

#include <maya/MFnNurbsSurface.h>
#include <maya/MMatrix.h>

namespace host {
namespace {

// The surface a function set works on, and the matrix into the space asked for.
struct Target {
    std::shared_ptr<const NurbsSurface> surface;
    MMatrix matrix;
    bool moved = false; // matrix is not to be skipped
};

Node* surfaceNode(const MObject& object) {
    Node* node = nodeOf(object);
    return node && node->alive() && node->type()->api == MFn::kNurbsSurface ? node : nullptr;
}

// Surface data, or the "local" output of a shape (evaluated first). kWorld needs a DAG path:
// surface data is taken as already being in the space it was made for.
MStatus resolve(const MObject& object, bool hasPath, MSpace::Space space, Target& out) {
    if (const NurbsSurfaceData* data = dataAs<NurbsSurfaceData>(object)) {
        out.surface = data->surface;
        return out.surface ? MS::kSuccess : MS::kFailure;
    }
    Node* node = surfaceNode(object);
    if (!node)
        return MS::kInvalidParameter;
    Slot* slot = Graph::instance().pull(PlugRef{node, attributeDef(NurbsSurfaceNode::local), {}});
    out.surface = slot ? sharedNurbsSurfaceIn(slot->data) : nullptr;
    if (!out.surface)
        return MS::kFailure;
    if (space == MSpace::kWorld) {
        if (!hasPath)
            return MS::kInvalidParameter;
        out.matrix = worldMatrix(*node);
        out.moved = out.matrix != MMatrix::identity;
    }
    return MS::kSuccess;
}

MPoint movedPoint(const MPoint& p, const Target& target) {
    if (!target.moved)
        return p;
    MPoint q = MPoint(p.x, p.y, p.z) * target.matrix;
    q.cartesianize();
    return MPoint(q.x, q.y, q.z, p.w);
}

MStatus evaluate(const MObject& object, bool hasPath, double u, double v, MSpace::Space space,
                 int order, SurfacePoint& out) {
    Target target;
    MStatus status = resolve(object, hasPath, space, target);
    if (!status)
        return status;
    if (!evaluateSurface(*target.surface, u, v, order, out))
        return MS::kInvalidParameter;
    if (target.moved)
        out = transformed(out, target.matrix);
    return MS::kSuccess;
}

// Properties of the object-space surface; `fallback` when there is none.
template <class T, class F> T query(const MObject& object, MStatus* status, T fallback, F read) {
    Target target;
    MStatus found = resolve(object, false, MSpace::kObject, target);
    report(status, found);
    return found ? read(*target.surface) : fallback;
}

std::shared_ptr<const NurbsSurface> surfaceFrom(const MPointArray& cvs, const MDoubleArray& knotsU,
                                                const MDoubleArray& knotsV, unsigned int degreeU,
                                                unsigned int degreeV, MFnNurbsSurface::Form formU,
                                                MFnNurbsSurface::Form formV, bool rational) {
    // Counts far beyond what an int holds cannot be a real surface.
    if (degreeU < 1 || degreeV < 1 || degreeU > 1000 || degreeV > 1000 ||
        knotsU.length() + 1 < degreeU || knotsV.length() + 1 < degreeV)
        return nullptr;
    NurbsSurface s;
    s.degreeU = static_cast<int>(degreeU);
    s.degreeV = static_cast<int>(degreeV);
    s.formU = formU;
    s.formV = formV;
    s.rational = rational;
    s.knotsU.assign(knotsU.length(), 0.0);
    for (unsigned int i = 0; i < knotsU.length(); ++i)
        s.knotsU[i] = knotsU[i];
    s.knotsV.assign(knotsV.length(), 0.0);
    for (unsigned int i = 0; i < knotsV.length(); ++i)
        s.knotsV[i] = knotsV[i];
    s.numCVsU = static_cast<int>(knotsU.length()) - s.degreeU + 1;
    s.numCVsV = static_cast<int>(knotsV.length()) - s.degreeV + 1;
    s.cvs.reserve(cvs.length());
    for (unsigned int i = 0; i < cvs.length(); ++i) {
        const MPoint& p = cvs[i];
        s.cvs.emplace_back(p.x, p.y, p.z, rational ? p.w : 1.0);
    }
    std::string error;
    if (!validateNurbsSurface(s, error))
        return nullptr;
    return std::make_shared<const NurbsSurface>(std::move(s));
}

} // namespace
} // namespace host

using host::report;

MFnNurbsSurface::MFnNurbsSurface(const MObject& object, MStatus* status) {
    report(status, setObject(object));
}

MFnNurbsSurface::MFnNurbsSurface(const MDagPath& path, MStatus* status) {
    report(status, setObject(path));
}

MStatus MFnNurbsSurface::setObject(const MObject& object) {
    object_ = object;
    path_ = MDagPath();
    hasPath_ = false;
    return host::dataAs<host::NurbsSurfaceData>(object) || host::surfaceNode(object)
               ? MS::kSuccess
               : MS::kInvalidParameter;
}

MStatus MFnNurbsSurface::setObject(const MDagPath& path) {
    object_ = MObject();
    path_ = MDagPath();
    hasPath_ = false;
    host::Node* node = host::nodeOf(path.node());
    // A path to a transform stands for the surface shape below it.
    if (node && node->hasFn(MFn::kTransform))
        for (host::Node* child : node->children())
            if (host::surfaceNode(child->object())) {
                node = child;
                break;
            }
    if (!node || !host::surfaceNode(node->object()))
        return MS::kInvalidParameter;
    object_ = node->object();
    hasPath_ = MDagPath::getAPathTo(object_, path_) == MS::kSuccess;
    return MS::kSuccess;
}

MObject MFnNurbsSurface::create(const MPointArray& controlVertices,
                                const MDoubleArray& uKnotSequences,
                                const MDoubleArray& vKnotSequences, unsigned int degreeInU,
                                unsigned int degreeInV, Form formU, Form formV, bool createRational,
                                MObject& parentOrOwner, MStatus* status) {
    std::shared_ptr<const host::NurbsSurface> surface =
        host::surfaceFrom(controlVertices, uKnotSequences, vKnotSequences, degreeInU, degreeInV,
                          formU, formV, createRational);
    if (!surface) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    if (host::NurbsSurfaceData* data = host::dataAs<host::NurbsSurfaceData>(parentOrOwner)) {
        data->surface = surface;
        setObject(parentOrOwner);
        report(status, MS::kSuccess);
        return parentOrOwner;
    }

    host::Graph& graph = host::Graph::instance();
    host::Node* parent = host::nodeOf(parentOrOwner);
    if (!parentOrOwner.isNull() && (!parent || !parent->hasFn(MFn::kTransform))) {
        report(status, MS::kInvalidParameter);
        return MObject();
    }
    std::string error;
    host::Node* transform = parent ? nullptr : graph.createNode("transform", "", nullptr, &error);
    host::Node* shape = parent || transform ? graph.createNode("nurbsSurface", "",
                                                               parent ? parent : transform, &error)
                                            : nullptr;
    if (!shape) {
        if (transform)
            graph.deleteNode(transform, &error);
        report(status, MS::kFailure);
        return MObject();
    }
    MObject value = host::makeNurbsSurfaceData(surface);
    graph.setValue(
        host::PlugRef{shape, host::attributeDef(host::NurbsSurfaceNode::cached), {}},
        [&](host::Slot& slot) { slot.data = value; }, &error);
    setObject(shape->object());
    report(status, MS::kSuccess);
    return transform ? transform->object() : shape->object();
}

int MFnNurbsSurface::numCVsInU(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.numCVsU; });
}

int MFnNurbsSurface::numCVsInV(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.numCVsV; });
}

int MFnNurbsSurface::numSpansInU(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.spansU(); });
}

int MFnNurbsSurface::numSpansInV(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.spansV(); });
}

int MFnNurbsSurface::degreeU(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.degreeU; });
}

int MFnNurbsSurface::degreeV(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) { return s.degreeV; });
}

MFnNurbsSurface::Form MFnNurbsSurface::formInU(MStatus* status) const {
    return host::query(object_, status, kInvalid,
                       [](const host::NurbsSurface& s) { return s.formU; });
}

MFnNurbsSurface::Form MFnNurbsSurface::formInV(MStatus* status) const {
    return host::query(object_, status, kInvalid,
                       [](const host::NurbsSurface& s) { return s.formV; });
}

int MFnNurbsSurface::numKnotsInU(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) {
        return static_cast<int>(s.knotsU.size());
    });
}

int MFnNurbsSurface::numKnotsInV(MStatus* status) const {
    return host::query(object_, status, 0, [](const host::NurbsSurface& s) {
        return static_cast<int>(s.knotsV.size());
    });
}

double MFnNurbsSurface::knotInU(unsigned int index, MStatus* status) const {
    MStatus found;
    double value = host::query(object_, &found, 0.0, [&](const host::NurbsSurface& s) {
        if (index >= s.knotsU.size()) {
            found = MS::kInvalidParameter;
            return 0.0;
        }
        return s.knotsU[index];
    });
    report(status, found);
    return value;
}

double MFnNurbsSurface::knotInV(unsigned int index, MStatus* status) const {
    MStatus found;
    double value = host::query(object_, &found, 0.0, [&](const host::NurbsSurface& s) {
        if (index >= s.knotsV.size()) {
            found = MS::kInvalidParameter;
            return 0.0;
        }
        return s.knotsV[index];
    });
    report(status, found);
    return value;
}

MStatus MFnNurbsSurface::getKnotsInU(MDoubleArray& knots) const {
    MStatus status;
    host::query(object_, &status, 0, [&](const host::NurbsSurface& s) {
        knots.setLength(static_cast<unsigned int>(s.knotsU.size()));
        for (unsigned int i = 0; i < knots.length(); ++i)
            knots[i] = s.knotsU[i];
        return 0;
    });
    return status;
}

MStatus MFnNurbsSurface::getKnotsInV(MDoubleArray& knots) const {
    MStatus status;
    host::query(object_, &status, 0, [&](const host::NurbsSurface& s) {
        knots.setLength(static_cast<unsigned int>(s.knotsV.size()));
        for (unsigned int i = 0; i < knots.length(); ++i)
            knots[i] = s.knotsV[i];
        return 0;
    });
    return status;
}

MStatus MFnNurbsSurface::getKnotDomain(double& startU, double& endU, double& startV,
                                       double& endV) const {
    MStatus status;
    host::query(object_, &status, 0, [&](const host::NurbsSurface& s) {
        const host::KnotDomain domain = host::knotDomain(s);
        startU = domain.startU;
        endU = domain.endU;
        startV = domain.startV;
        endV = domain.endV;
        return 0;
    });
    return status;
}

bool MFnNurbsSurface::isParamOnSurface(double paramU, double paramV, MStatus* status) const {
    host::SurfacePoint point;
    MStatus result = host::evaluate(object_, hasPath_, paramU, paramV, MSpace::kObject, 0, point);
    report(status, result == MS::kInvalidParameter ? MStatus(MS::kSuccess) : result);
    return result == MS::kSuccess;
}

MStatus MFnNurbsSurface::getCVs(MPointArray& points, MSpace::Space space) const {
    host::Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    points.setLength(static_cast<unsigned int>(target.surface->cvs.size()));
    for (unsigned int i = 0; i < points.length(); ++i)
        points[i] = host::movedPoint(target.surface->cvs[i], target);
    return MS::kSuccess;
}

MStatus MFnNurbsSurface::getCV(unsigned int indexU, unsigned int indexV, MPoint& point,
                               MSpace::Space space) const {
    host::Target target;
    MStatus status = host::resolve(object_, hasPath_, space, target);
    if (!status)
        return status;
    const host::NurbsSurface& s = *target.surface;
    if (indexU >= static_cast<unsigned int>(s.numCVsU) ||
        indexV >= static_cast<unsigned int>(s.numCVsV))
        return MS::kInvalidParameter;
    point = host::movedPoint(s.cv(static_cast<int>(indexU), static_cast<int>(indexV)), target);
    return MS::kSuccess;
}

MStatus MFnNurbsSurface::getPointAtParam(double paramU, double paramV, MPoint& point,
                                         MSpace::Space space) const {
    host::SurfacePoint result;
    MStatus status = host::evaluate(object_, hasPath_, paramU, paramV, space, 0, result);
    if (status)
        point = result.point;
    return status;
}

MVector MFnNurbsSurface::normal(double paramU, double paramV, MSpace::Space space,
                                MStatus* status) const {
    host::SurfacePoint result;
    MStatus found = host::evaluate(object_, hasPath_, paramU, paramV, space, 1, result);
    if (!found) {
        report(status, found);
        return MVector(0.0, 0.0, 0.0);
    }
    const MVector n = result.du ^ result.dv;
    const double length = n.length();
    // Zero, or lost in rounding against the tangents: a collapsed edge or a fold.
    if (!(length > 1e-12 * result.du.length() * result.dv.length()) || !(length > 0.0)) {
        report(status, MS::kFailure);
        return MVector(0.0, 0.0, 0.0);
    }
    report(status, MS::kSuccess);
    return n / length;
}

MStatus MFnNurbsSurface::getDerivativesAtParm(double paramU, double paramV, MPoint& position,
                                              MVector& dU, MVector& dV, MSpace::Space space,
                                              MVector* dUU, MVector* dVV, MVector* dUV) const {
    const int order = dUU || dVV || dUV ? 2 : 1;
    host::SurfacePoint result;
    MStatus status = host::evaluate(object_, hasPath_, paramU, paramV, space, order, result);
    if (!status)
        return status;
    position = result.point;
    dU = result.du;
    dV = result.dv;
    if (dUU)
        *dUU = result.duu;
    if (dVV)
        *dVV = result.dvv;
    if (dUV)
        *dUV = result.duv;
    return MS::kSuccess;
}

MPoint MFnNurbsSurface::closestPoint(const MPoint& toThisPoint, double* paramU, double* paramV,
                                     bool, double, MSpace::Space space, MStatus* status) const {
    host::Target target;
    MStatus found = host::resolve(object_, hasPath_, space, target);
    if (!found) {
        report(status, found);
        return MPoint();
    }
    // Distances are measured in the space asked for, so search the surface moved there.
    std::shared_ptr<const host::NurbsSurface> surface =
        target.moved ? std::make_shared<const host::NurbsSurface>(
                           host::transformed(*target.surface, target.matrix))
                     : target.surface;
    MPoint toward = toThisPoint;
    if (toward.w != 0.0)
        toward.cartesianize();
    double u = 0.0, v = 0.0;
    host::closestParameters(*surface, toward, u, v);
    host::SurfacePoint point;
    if (!host::evaluateSurface(*surface, u, v, 0, point)) {
        report(status, MS::kFailure);
        return MPoint();
    }
    if (paramU)
        *paramU = u;
    if (paramV)
        *paramV = v;
    report(status, MS::kSuccess);
    return point.point;
}
