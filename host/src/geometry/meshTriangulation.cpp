#include "geometry/meshTriangulation.h"

#include "geometry/meshNormals.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

struct Point2 {
    double x = 0.0, y = 0.0;
};

double cross(const Point2& a, const Point2& b, const Point2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool same(const Point2& a, const Point2& b) {
    return a.x == b.x && a.y == b.y;
}

// Inside or on the triangle abc (counter-clockwise).
bool inTriangle(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
    return cross(a, b, p) >= 0.0 && cross(b, c, p) >= 0.0 && cross(c, a, p) >= 0.0;
}

bool segmentsCross(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
    double d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

void fan(int polygon, int start, int count, std::vector<MeshTriangle>& out) {
    for (int i = 1; i + 1 < count; ++i)
        out.push_back(MeshTriangle{polygon, {start, start + i, start + i + 1}});
}

class EarClipper {
  public:
    EarClipper(const Mesh& mesh, const MVector& normal) : mesh_(mesh) {
        // A basis (u, v) of the polygon's plane with u x v = normal keeps the winding.
        MVector helper = std::fabs(normal.x) < 0.9 ? MVector(1, 0, 0) : MVector(0, 1, 0);
        u_ = (helper ^ normal).normal();
        v_ = normal ^ u_;
    }

    // The projected position of a corner.
    Point2 at(int corner) const {
        const MPoint& p = mesh_.points[static_cast<size_t>(mesh_.loopVertices[corner])];
        MVector d(p.x, p.y, p.z);
        return Point2{d * u_, d * v_};
    }

    std::vector<int> loop(int l) const {
        std::vector<int> corners;
        for (int c = mesh_.loopStarts[l]; c < mesh_.loopStarts[l + 1]; ++c)
            corners.push_back(c);
        return corners;
    }

    double area(const std::vector<int>& ring) const {
        double sum = 0.0;
        for (size_t i = 0; i < ring.size(); ++i) {
            Point2 a = at(ring[i]), b = at(ring[(i + 1) % ring.size()]);
            sum += a.x * b.y - b.x * a.y;
        }
        return sum / 2;
    }

    // Joins a hole into the ring through a bridge from its right-most corner to the nearest
    // ring corner that the bridge reaches without crossing an edge.
    void bridge(std::vector<int>& ring, std::vector<int> hole,
                const std::vector<std::vector<int>>& holes) const {
        if (area(hole) > 0)
            std::reverse(hole.begin(), hole.end()); // holes wind against the outer loop
        size_t h = 0;
        for (size_t i = 1; i < hole.size(); ++i)
            if (at(hole[i]).x > at(hole[h]).x)
                h = i;
        const Point2 from = at(hole[h]);
        auto blocked = [&](const Point2& to) {
            auto crosses = [&](const std::vector<int>& loop) {
                for (size_t i = 0; i < loop.size(); ++i)
                    if (segmentsCross(from, to, at(loop[i]), at(loop[(i + 1) % loop.size()])))
                        return true;
                return false;
            };
            if (crosses(ring))
                return true;
            for (const auto& other : holes)
                if (crosses(other))
                    return true;
            return false;
        };
        size_t best = ring.size();
        double bestDistance = 0.0;
        for (size_t i = 0; i < ring.size(); ++i) {
            Point2 to = at(ring[i]);
            double distance = (to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y);
            if (best != ring.size() && distance >= bestDistance)
                continue;
            if (blocked(to))
                continue;
            best = i;
            bestDistance = distance;
        }
        if (best == ring.size())
            return; // no visible corner: the hole is left out
        std::vector<int> joined(ring.begin(), ring.begin() + static_cast<long>(best) + 1);
        for (size_t k = 0; k <= hole.size(); ++k)
            joined.push_back(hole[(h + k) % hole.size()]);
        joined.insert(joined.end(), ring.begin() + static_cast<long>(best), ring.end());
        ring = std::move(joined);
    }

    void clip(int polygon, std::vector<int> ring, std::vector<MeshTriangle>& out) const {
        while (ring.size() > 3) {
            const size_t n = ring.size();
            size_t ear = n;
            // Starting at the second corner gives the first-corner fan for convex polygons.
            for (size_t k = 0; k < n && ear == n; ++k) {
                size_t i = (k + 1) % n;
                if (isEar(ring, i))
                    ear = i;
            }
            if (ear == n)
                ear = 1 % n; // nothing clean left (degenerate outline): clip anyway
            size_t prev = (ear + n - 1) % n, next = (ear + 1) % n;
            out.push_back(MeshTriangle{polygon, {ring[prev], ring[ear], ring[next]}});
            ring.erase(ring.begin() + static_cast<long>(ear));
        }
        if (ring.size() == 3)
            out.push_back(MeshTriangle{polygon, {ring[0], ring[1], ring[2]}});
    }

  private:
    bool isEar(const std::vector<int>& ring, size_t i) const {
        const size_t n = ring.size();
        const Point2 a = at(ring[(i + n - 1) % n]), b = at(ring[i]), c = at(ring[(i + 1) % n]);
        if (cross(a, b, c) <= 0.0)
            return false;
        for (size_t k = 0; k < n; ++k) {
            if (k == i || k == (i + 1) % n || k == (i + n - 1) % n)
                continue;
            Point2 p = at(ring[k]);
            if (same(p, a) || same(p, b) || same(p, c))
                continue;
            if (inTriangle(p, a, b, c))
                return false;
        }
        return true;
    }

    const Mesh& mesh_;
    MVector u_, v_;
};

} // namespace

void triangulatePolygon(const Mesh& mesh, int polygon, std::vector<MeshTriangle>& out) {
    if (!mesh.validPolygon(polygon))
        return;
    const int start = mesh.outerStart(polygon), count = mesh.outerCount(polygon);
    if (count == 3 && mesh.holeCount(polygon) == 0) {
        fan(polygon, start, count, out);
        return;
    }
    MVector normal = polygonNormal(mesh, polygon);
    if (normal.length() < 0.5) {
        fan(polygon, start, count, out);
        return;
    }
    EarClipper clipper(mesh, normal);
    std::vector<int> ring = clipper.loop(mesh.polygonLoops[polygon]);
    std::vector<std::vector<int>> holes;
    for (int l = mesh.polygonLoops[polygon] + 1; l < mesh.polygonLoops[polygon + 1]; ++l)
        holes.push_back(clipper.loop(l));
    // Holes nearest the right go first, so that later bridges see the earlier ones in the ring.
    std::sort(holes.begin(), holes.end(), [&](const auto& a, const auto& b) {
        auto right = [&](const std::vector<int>& loop) {
            double x = clipper.at(loop.front()).x;
            for (int c : loop)
                x = std::max(x, clipper.at(c).x);
            return x;
        };
        return right(a) > right(b);
    });
    for (size_t i = 0; i < holes.size(); ++i) {
        std::vector<std::vector<int>> others(holes.begin() + static_cast<long>(i) + 1, holes.end());
        clipper.bridge(ring, holes[i], others);
    }
    clipper.clip(polygon, std::move(ring), out);
}

} // namespace host
