#include "deform/deformedGeometry.h"

#include "deform/groupPartsNode.h"
#include "geometry/meshData.h"
#include "geometry/meshNode.h"
#include "geometry/nurbsSurfaceData.h"
#include "geometry/nurbsSurfaceNode.h"
#include "graph/graph.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace host {

namespace {

bool finite(const MPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w);
}

// The indices a span covers among `count` (all of them for "*"), clipped to the count.
void spanBounds(const IndexSpan& span, int count, int& from, int& to) {
    from = span.all ? 0 : span.first;
    to = span.all ? count - 1 : std::min(span.last, count - 1);
}

// Calls visit(pointIndex) for each point a component range names, in order.
template <class Visit>
void forEachPoint(const ComponentRange& range, const MObject& geometry, Visit visit) {
    if (range.spans.empty())
        return;
    int from = 0, to = -1;
    if (std::shared_ptr<const Mesh> mesh = meshIn(geometry)) {
        if (range.kind == "vtx" && range.spans.size() == 1) {
            spanBounds(range.spans[0], mesh->numVertices(), from, to);
            for (int v = from; v <= to; ++v)
                visit(v);
        } else if (range.kind == "f" && range.spans.size() == 1) {
            spanBounds(range.spans[0], mesh->numPolygons(), from, to);
            for (int p = from; p <= to; ++p)
                for (int l = mesh->polygonLoops[static_cast<size_t>(p)];
                     l < mesh->polygonLoops[static_cast<size_t>(p) + 1]; ++l)
                    for (int c = mesh->loopStarts[static_cast<size_t>(l)];
                         c < mesh->loopStarts[static_cast<size_t>(l) + 1]; ++c)
                        visit(mesh->loopVertices[static_cast<size_t>(c)]);
        }
        return;
    }
    if (const NurbsSurface* surface = nurbsSurfaceIn(geometry)) {
        if (range.kind != "cv")
            return;
        const int numU = surface->numCVsU, numV = surface->numCVsV;
        if (range.spans.size() == 1) {
            // One index counts CVs in storage order.
            spanBounds(range.spans[0], numU * numV, from, to);
            for (int i = from; i <= to; ++i)
                visit(i);
            return;
        }
        int u0 = 0, u1 = -1, v0 = 0, v1 = -1;
        spanBounds(range.spans[0], numU, u0, u1);
        spanBounds(range.spans[1], numV, v0, v1);
        for (int u = u0; u <= u1; ++u)
            for (int v = v0; v <= v1; ++v)
                visit(u * numV + v);
    }
}

} // namespace

bool geometryPoints(const MObject& data, std::vector<MPoint>& points) {
    if (std::shared_ptr<const Mesh> mesh = meshIn(data)) {
        points = mesh->points;
        return true;
    }
    if (const NurbsSurface* surface = nurbsSurfaceIn(data)) {
        points = surface->cvs;
        return true;
    }
    return false;
}

MObject geometryWithPoints(const MObject& data, const std::vector<MPoint>& points) {
    if (std::shared_ptr<const Mesh> mesh = meshIn(data)) {
        if (points.size() != mesh->points.size())
            return data;
        Mesh moved = *mesh;
        for (size_t i = 0; i < points.size(); ++i)
            if (finite(points[i]))
                moved.points[i] = MPoint(points[i].x, points[i].y, points[i].z);
        finalizeMesh(moved);
        return makeMeshData(std::make_shared<const Mesh>(std::move(moved)));
    }
    if (const NurbsSurface* surface = nurbsSurfaceIn(data)) {
        if (points.size() != surface->cvs.size())
            return data;
        NurbsSurface moved = *surface;
        for (size_t i = 0; i < points.size(); ++i)
            if (finite(points[i]))
                moved.cvs[i] = MPoint(points[i].x, points[i].y, points[i].z, moved.cvs[i].w);
        return makeNurbsSurfaceData(std::move(moved));
    }
    return data;
}

MObject localGeometryInput(const PlugRef& input) {
    Graph& graph = Graph::instance();
    if (const Connection* connection = graph.incomingTo(input)) {
        const PlugRef& source = connection->source;
        const AttributeDef* attribute = source.attribute;
        PlugRef local;
        if (attribute == attributeDef(MeshNode::worldMesh))
            local = PlugRef{source.node, attributeDef(MeshNode::outMesh), {}};
        else if (attribute == attributeDef(NurbsSurfaceNode::worldSpace))
            local = PlugRef{source.node, attributeDef(NurbsSurfaceNode::local), {}};
        if (local.node) {
            Slot* slot = graph.pull(local);
            // The input plug is brought up to date too, so that it is clean.
            graph.pull(input);
            return slot ? slot->data : MObject();
        }
    }
    Slot* slot = graph.pull(input);
    return slot ? slot->data : MObject();
}

std::vector<bool> deformedPoints(const PlugRef& input, const MObject& geometry, size_t count) {
    Graph& graph = Graph::instance();
    const Connection* connection = graph.incomingTo(input);
    Node* source = connection ? connection->source.node : nullptr;
    if (!source || source->type()->api != MFn::kGroupParts)
        return std::vector<bool>(count, true);
    Slot* slot = graph.pull(PlugRef{source, attributeDef(GroupPartsNode::inputComponents), {}});
    const std::vector<ComponentRange>* ranges = slot ? componentRangesIn(slot->data) : nullptr;
    if (!ranges)
        return std::vector<bool>(count, true);
    std::vector<bool> points(count, false);
    markComponentPoints(*ranges, geometry, points);
    return points;
}

void markComponentPoints(const std::vector<ComponentRange>& ranges, const MObject& geometry,
                         std::vector<bool>& points) {
    for (const ComponentRange& range : ranges)
        forEachPoint(range, geometry, [&](int i) {
            if (i >= 0 && static_cast<size_t>(i) < points.size())
                points[static_cast<size_t>(i)] = true;
        });
}

std::vector<int> componentPointOrder(const std::vector<ComponentRange>& ranges,
                                     const MObject& geometry) {
    std::vector<int> order;
    for (const ComponentRange& range : ranges)
        forEachPoint(range, geometry, [&](int i) { order.push_back(i); });
    return order;
}

} // namespace host
