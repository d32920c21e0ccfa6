#include "geometry/meshClosestPoint.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <numeric>

namespace host {

// A bounding-volume hierarchy over a mesh's triangles, in the mesh's own space.
struct MeshTriangleTree {
    struct Node {
        double low[3], high[3];
        int first = 0, count = 0; // a leaf: order[first .. first + count - 1]
        int left = -1, right = -1;
    };
    std::vector<Node> nodes;
    std::vector<int> order; // triangle indices, leaf by leaf
};

namespace {

// Small meshes are searched directly; the tree pays off above this many triangles.
const size_t kTreeThreshold = 64;
const int kLeafSize = 8;

const MPoint& corner(const Mesh& mesh, const std::vector<MPoint>& points, const MeshTriangle& tri,
                     int k) {
    return points[static_cast<size_t>(mesh.loopVertices[static_cast<size_t>(tri.corners[k])])];
}

int build(const Mesh& mesh, MeshTriangleTree& tree, int first, int count,
          const std::vector<MPoint>& centres) {
    MeshTriangleTree::Node node;
    for (int a = 0; a < 3; ++a) {
        node.low[a] = std::numeric_limits<double>::infinity();
        node.high[a] = -std::numeric_limits<double>::infinity();
    }
    for (int i = first; i < first + count; ++i) {
        const MeshTriangle& tri = mesh.triangles[static_cast<size_t>(tree.order[i])];
        for (int k = 0; k < 3; ++k) {
            const MPoint& p = corner(mesh, mesh.points, tri, k);
            for (int a = 0; a < 3; ++a) {
                node.low[a] = std::min(node.low[a], p[a]);
                node.high[a] = std::max(node.high[a], p[a]);
            }
        }
    }
    const int index = static_cast<int>(tree.nodes.size());
    tree.nodes.push_back(node);
    if (count <= kLeafSize) {
        tree.nodes[index].first = first;
        tree.nodes[index].count = count;
        return index;
    }
    int axis = 0;
    for (int a = 1; a < 3; ++a)
        if (node.high[a] - node.low[a] > node.high[axis] - node.low[axis])
            axis = a;
    const int half = count / 2;
    std::nth_element(tree.order.begin() + first, tree.order.begin() + first + half,
                     tree.order.begin() + first + count, [&](int a, int b) {
                         return centres[static_cast<size_t>(a)][axis] <
                                centres[static_cast<size_t>(b)][axis];
                     });
    const int left = build(mesh, tree, first, half, centres);
    const int right = build(mesh, tree, first + half, count - half, centres);
    tree.nodes[index].left = left;
    tree.nodes[index].right = right;
    return index;
}

std::shared_ptr<const MeshTriangleTree> treeOf(const Mesh& mesh) {
    std::shared_ptr<const MeshTriangleTree> tree = std::atomic_load(&mesh.triangleTree);
    if (tree)
        return tree;
    auto built = std::make_shared<MeshTriangleTree>();
    built->order.resize(mesh.triangles.size());
    std::iota(built->order.begin(), built->order.end(), 0);
    std::vector<MPoint> centres;
    centres.reserve(mesh.triangles.size());
    for (const MeshTriangle& tri : mesh.triangles) {
        MPoint c(0, 0, 0);
        for (int k = 0; k < 3; ++k) {
            const MPoint& p = corner(mesh, mesh.points, tri, k);
            c.x += p.x / 3;
            c.y += p.y / 3;
            c.z += p.z / 3;
        }
        centres.push_back(c);
    }
    build(mesh, *built, 0, static_cast<int>(built->order.size()), centres);
    tree = built;
    std::atomic_store(&mesh.triangleTree, tree);
    return tree;
}

double boxDistance2(const MeshTriangleTree::Node& node, const MPoint& p) {
    double sum = 0.0;
    for (int a = 0; a < 3; ++a) {
        double d = std::max({node.low[a] - p[a], 0.0, p[a] - node.high[a]});
        sum += d * d;
    }
    return sum;
}

// Keeps the nearer candidate; at equal distance the lower triangle (so the lower polygon), as
// a scan in order would.
void consider(const Mesh& mesh, const std::vector<MPoint>& points, const MPoint& query, int t,
              double& best, MeshHit& hit) {
    const MeshTriangle& tri = mesh.triangles[static_cast<size_t>(t)];
    double w[3];
    MPoint p = closestOnTriangle(query, corner(mesh, points, tri, 0), corner(mesh, points, tri, 1),
                                 corner(mesh, points, tri, 2), w);
    double distance = (p - query) * (p - query);
    if (distance < best || (distance == best && t < hit.triangle)) {
        best = distance;
        hit.point = p;
        hit.polygon = tri.polygon;
        hit.triangle = t;
        for (int k = 0; k < 3; ++k)
            hit.weights[k] = w[k];
    }
}

} // namespace

// By the Voronoi regions of the corners, then of the edges, then the inside (Ericson, Real-Time
// Collision Detection, 5.1.5).
MPoint closestOnTriangle(const MPoint& p, const MPoint& a, const MPoint& b, const MPoint& c,
                         double w[3]) {
    const MVector ab = b - a, ac = c - a, ap = p - a;
    const double d1 = ab * ap, d2 = ac * ap;
    auto result = [&](double wa, double wb, double wc) {
        w[0] = wa;
        w[1] = wb;
        w[2] = wc;
        return MPoint(a.x * wa + b.x * wb + c.x * wc, a.y * wa + b.y * wb + c.y * wc,
                      a.z * wa + b.z * wb + c.z * wc);
    };
    if (d1 <= 0.0 && d2 <= 0.0)
        return result(1, 0, 0);
    const MVector bp = p - b;
    const double d3 = ab * bp, d4 = ac * bp;
    if (d3 >= 0.0 && d4 <= d3)
        return result(0, 1, 0);
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) {
        const double t = d1 / (d1 - d3);
        return result(1 - t, t, 0);
    }
    const MVector cp = p - c;
    const double d5 = ab * cp, d6 = ac * cp;
    if (d6 >= 0.0 && d5 <= d6)
        return result(0, 0, 1);
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) {
        const double t = d2 / (d2 - d6);
        return result(1 - t, 0, t);
    }
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0.0 && (d4 - d3) >= 0.0 && (d5 - d6) >= 0.0) {
        const double t = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return result(0, 1 - t, t);
    }
    const double sum = va + vb + vc;
    if (!(sum > 0.0)) // a degenerate triangle that is none of the above: its first corner
        return result(1, 0, 0);
    const double v = vb / sum, wc = vc / sum;
    return result(1 - v - wc, v, wc);
}

bool closestPoint(const Mesh& mesh, const std::vector<MPoint>& points, const MPoint& query,
                  MeshHit& hit) {
    double best = std::numeric_limits<double>::infinity();
    hit.triangle = -1;
    const int count = static_cast<int>(mesh.triangles.size());
    // The tree is built on the mesh's own points; moved points are scanned.
    if (static_cast<size_t>(count) <= kTreeThreshold || &points != &mesh.points) {
        for (int t = 0; t < count; ++t)
            consider(mesh, points, query, t, best, hit);
        return hit.triangle >= 0;
    }
    std::shared_ptr<const MeshTriangleTree> tree = treeOf(mesh);
    std::vector<int> stack{0};
    while (!stack.empty()) {
        const MeshTriangleTree::Node& node = tree->nodes[static_cast<size_t>(stack.back())];
        stack.pop_back();
        // Boxes at exactly the best distance are still opened, for the tie rule.
        if (boxDistance2(node, query) > best)
            continue;
        if (node.left < 0) {
            for (int i = node.first; i < node.first + node.count; ++i)
                consider(mesh, points, query, tree->order[static_cast<size_t>(i)], best, hit);
            continue;
        }
        // The nearer child is opened first (pushed last).
        const auto& left = tree->nodes[static_cast<size_t>(node.left)];
        const auto& right = tree->nodes[static_cast<size_t>(node.right)];
        const bool leftFirst = boxDistance2(left, query) <= boxDistance2(right, query);
        stack.push_back(leftFirst ? node.right : node.left);
        stack.push_back(leftFirst ? node.left : node.right);
    }
    return hit.triangle >= 0;
}

bool uvAtHit(const Mesh& mesh, const MeshUVSet& set, const MeshHit& hit, float& u, float& v) {
    if (hit.triangle < 0 || hit.triangle >= static_cast<int>(mesh.triangles.size()))
        return false;
    const MeshTriangle& tri = mesh.triangles[static_cast<size_t>(hit.triangle)];
    double su = 0.0, sv = 0.0;
    for (int k = 0; k < 3; ++k) {
        int id = set.uvIds[static_cast<size_t>(tri.corners[k])];
        if (id < 0)
            return false;
        su += hit.weights[k] * set.u[static_cast<size_t>(id)];
        sv += hit.weights[k] * set.v[static_cast<size_t>(id)];
    }
    u = static_cast<float>(su);
    v = static_cast<float>(sv);
    return true;
}

} // namespace host
