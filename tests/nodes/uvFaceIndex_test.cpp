// The face search: uvInFace's classification (vertices, edges, concave faces, many vertices,
// non-finite input) and the bucketed index against the full scan on random u/v layouts.

#include "nodes/system/faceUVPolygons.h"
#include "nodes/system/uvFaceIndex.h"
#include "nodes/system/uvInFace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

const float nan = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

using uvPolygon = std::vector<std::pair<double, double>>;

uvLocation locate(double u, double v, const uvPolygon& polygon) {
    std::vector<double> us, vs;
    for (const auto& p : polygon) {
        us.push_back(p.first);
        vs.push_back(p.second);
    }
    return uvInFace(u, v, us.data(), vs.data(), static_cast<unsigned int>(polygon.size()));
}

void append(faceUVPolygons& polygons, int faceId, const std::vector<std::pair<float, float>>& uv) {
    MFloatArray u, v;
    for (const auto& p : uv) {
        u.append(p.first);
        v.append(p.second);
    }
    polygons.append(faceId, u, v);
}

TEST(UvInFace, SquareVerticesEdgesInsideOutside) {
    const uvPolygon square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& corner : square)
        EXPECT_EQ(locate(corner.first, corner.second, square), uvLocation::onVertex);
    // All four edges, the horizontal ones included (the rays run along them).
    for (const auto& edge : uvPolygon{{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}, {0.25, 1}})
        EXPECT_EQ(locate(edge.first, edge.second, square), uvLocation::onEdge)
            << edge.first << ", " << edge.second;
    EXPECT_EQ(locate(0.5, 0.5, square), uvLocation::inside);
    EXPECT_EQ(locate(1e-9, 0.999, square), uvLocation::inside);
    for (const auto& out : uvPolygon{
             {-0.5, 0.5}, {1.5, 0.5}, {0.5, -0.5}, {0.5, 1.5}, {2, 0}, {-1, 1}, {1 + 1e-12, 0.5}})
        EXPECT_EQ(locate(out.first, out.second, square), uvLocation::outside)
            << out.first << ", " << out.second;

    // Winding does not matter.
    const uvPolygon reversed = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    EXPECT_EQ(locate(0.5, 0.5, reversed), uvLocation::inside);
    EXPECT_EQ(locate(1, 0.5, reversed), uvLocation::onEdge);
    EXPECT_EQ(locate(1.5, 0.5, reversed), uvLocation::outside);
}

TEST(UvInFace, ConcaveFacesAndSlantedEdges) {
    // An arrow head pointing right with its notch at (0.5, 0.5).
    const uvPolygon arrow = {{0, 0}, {1, 0.5}, {0, 1}, {0.5, 0.5}};
    EXPECT_EQ(locate(0.7, 0.5, arrow), uvLocation::inside);
    EXPECT_EQ(locate(0.25, 0.5, arrow), uvLocation::outside); // in the notch
    EXPECT_EQ(locate(0.1, 0.5, arrow), uvLocation::outside);
    EXPECT_EQ(locate(0.5, 0.5, arrow), uvLocation::onVertex); // the reflex vertex
    EXPECT_EQ(locate(0.25, 0.25, arrow), uvLocation::onEdge); // on the slanted notch edge
    EXPECT_EQ(locate(0.5, 0.25, arrow), uvLocation::onEdge);  // on the slanted outer edge
    EXPECT_EQ(locate(0.3, 0.2, arrow), uvLocation::inside);
    EXPECT_EQ(locate(0.2, 0.3, arrow), uvLocation::outside); // in the notch, off its axis
    EXPECT_EQ(locate(0.2, 0.1, arrow), uvLocation::onEdge);

    // A U shape: the gap between the arms is outside, the arms and the base inside.
    const uvPolygon cup = {{0, 0}, {3, 0}, {3, 2}, {2, 2}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};
    EXPECT_EQ(locate(1.5, 1.5, cup), uvLocation::outside);
    EXPECT_EQ(locate(0.5, 1.5, cup), uvLocation::inside);
    EXPECT_EQ(locate(2.5, 1.5, cup), uvLocation::inside);
    EXPECT_EQ(locate(1.5, 0.5, cup), uvLocation::inside);
    EXPECT_EQ(locate(1.5, 1, cup), uvLocation::onEdge);
    EXPECT_EQ(locate(1, 1.5, cup), uvLocation::onEdge);
    EXPECT_EQ(locate(2, 1, cup), uvLocation::onVertex);
    EXPECT_EQ(locate(4, 1.5, cup), uvLocation::outside); // the ray crosses both arms
}

TEST(UvInFace, ManyVerticesNoVerticesAndNonFiniteInput) {
    // 40 vertices on a circle: more than the 30 an old fixed buffer held.
    uvPolygon circle;
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < 40; ++k)
        circle.push_back({std::cos(2 * pi * k / 40), std::sin(2 * pi * k / 40)});
    EXPECT_EQ(locate(0, 0, circle), uvLocation::inside);
    EXPECT_EQ(locate(0.99, 0, circle), uvLocation::inside);
    // Half way between two vertices the chord lies at radius cos(4.5 degrees) = 0.99692.
    const double half = 4.5 * pi / 180;
    EXPECT_EQ(locate(0.995 * std::cos(half), 0.995 * std::sin(half), circle), uvLocation::inside);
    EXPECT_EQ(locate(0.998 * std::cos(half), 0.998 * std::sin(half), circle), uvLocation::outside);
    EXPECT_EQ(locate(circle[39].first, circle[39].second, circle), uvLocation::onVertex);
    EXPECT_EQ(locate(0, 1.01, circle), uvLocation::outside);

    EXPECT_EQ(uvInFace(0, 0, nullptr, nullptr, 0), uvLocation::outside);
    const uvPolygon square = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (double bad : {double(nan), double(infinity), -double(infinity)}) {
        EXPECT_EQ(locate(bad, 0.5, square), uvLocation::outside);
        EXPECT_EQ(locate(0.5, bad, square), uvLocation::outside);
    }
}

TEST(UvFaceIndex, SharedEdgesGoToTheFirstFaceInIterationOrder) {
    faceUVPolygons polygons;
    // Face ids deliberately out of order: results are iteration positions.
    append(polygons, 7, {{0.5f, 0}, {1, 0}, {1, 1}, {0.5f, 1}});
    append(polygons, 3, {{0, 0}, {0.5f, 0}, {0.5f, 1}, {0, 1}});
    append(polygons, 9, {});                               // no u/v: never found
    append(polygons, 4, {{2, 2}, {3, 2}, {3, 3}, {2, 3}}); // a shell apart
    append(polygons, 5, {{0, 0}, {3, 0}, {3, 3}});         // under everything
    const uvFaceIndex index(polygons);
    const std::vector<std::pair<std::pair<float, float>, int>> cases = {
        {{0.5f, 0.5f}, 0}, // the shared edge: the earlier face
        {{0.5f, 0}, 0},    // the shared vertex
        {{0.25f, 0.5f}, 1}, {{2.5f, 2.5f}, 3},  {{2, 2}, 3},
        {{2.5f, 0.2f}, 4},  {{1.5f, 1.6f}, -1}, // the gap above the big triangle
        {{-1, 0.5f}, -1},   {{nan, 0.5f}, -1},  {{0.5f, infinity}, -1},
    };
    for (const auto& c : cases) {
        const float u = c.first.first, v = c.first.second;
        EXPECT_EQ(findFaceByScan(polygons, u, v), c.second) << u << ", " << v;
        EXPECT_EQ(index.findFace(u, v), c.second) << u << ", " << v;
    }
    EXPECT_EQ(polygons.faceId(3), 4);
}

TEST(UvFaceIndex, EmptyAndDegenerateLayouts) {
    faceUVPolygons none;
    EXPECT_EQ(uvFaceIndex(none).findFace(0, 0), -1);

    // Every face collapsed to one u/v: a zero-sized range.
    faceUVPolygons point;
    append(point, 0, {{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}});
    append(point, 1, {{0.5f, 0.5f}});
    const uvFaceIndex pointIndex(point);
    EXPECT_EQ(pointIndex.findFace(0.5f, 0.5f), 0);
    EXPECT_EQ(pointIndex.findFace(0.5f, 0.25f), -1);

    // A line of faces along u only (zero height), and a face with a NaN u/v.
    faceUVPolygons line;
    append(line, 0, {{0, 0}, {1, 0}});
    append(line, 1, {{1, 0}, {2, 0}, {nan, 0}});
    append(line, 2, {{0, 0}, {4, 0}, {4, 1}, {0, 1}});
    const uvFaceIndex lineIndex(line);
    for (float u : {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, -1.0f, 5.0f})
        for (float v : {0.0f, 0.5f, 1.0f, -0.5f})
            EXPECT_EQ(lineIndex.findFace(u, v), findFaceByScan(line, u, v)) << u << ", " << v;
}

// Random u/v layouts: several shells of jittered lattice cells (shared edges and vertices are
// bit-identical, cells missing leave gaps, shells may overlap), faces shuffled so that the
// iteration order is not spatial, plus faces that stress the index: a large concave face,
// many-vertex faces, slivers, collapsed and non-finite faces.
faceUVPolygons randomLayout(std::mt19937& random, std::vector<std::pair<float, float>>& vertices) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<std::vector<std::pair<float, float>>> faces;
    const int shells = 1 + static_cast<int>(random() % 5);
    for (int s = 0; s < shells; ++s) {
        const int nu = 1 + static_cast<int>(random() % 12),
                  nv = 1 + static_cast<int>(random() % 12);
        const float size = 0.1f + 0.5f * unit(random);
        const float originU = unit(random) * 0.8f, originV = unit(random) * 0.8f;
        // Half the shells sit on a dyadic lattice, so that edges are axis-aligned and their
        // midpoints are exact.
        const bool jitter = random() % 2 == 0;
        std::vector<std::pair<float, float>> lattice;
        for (int i = 0; i <= nu; ++i)
            for (int j = 0; j <= nv; ++j) {
                float u = std::round((originU + size * i / nu) * 256.0f) / 256.0f;
                float v = std::round((originV + size * j / nv) * 256.0f) / 256.0f;
                if (jitter) {
                    u += (unit(random) - 0.5f) * 0.3f * size / nu;
                    v += (unit(random) - 0.5f) * 0.3f * size / nv;
                }
                lattice.push_back({u, v});
            }
        auto at = [&](int i, int j) { return lattice[static_cast<size_t>(i * (nv + 1) + j)]; };
        for (int i = 0; i < nu; ++i)
            for (int j = 0; j < nv; ++j) {
                if (random() % 6 == 0)
                    continue; // a gap
                std::vector<std::pair<float, float>> quad = {at(i, j), at(i + 1, j),
                                                             at(i + 1, j + 1), at(i, j + 1)};
                if (random() % 2)
                    std::reverse(quad.begin(), quad.end());
                if (random() % 3 == 0) { // two triangles sharing a diagonal
                    faces.push_back({quad[0], quad[1], quad[2]});
                    faces.push_back({quad[0], quad[2], quad[3]});
                } else {
                    faces.push_back(quad);
                }
            }
    }
    // A concave comb across the whole range.
    std::vector<std::pair<float, float>> comb = {{0.0f, 0.0f}, {1.0f, 0.0f}};
    for (int k = 8; k >= 0; --k)
        comb.push_back({k / 8.0f, k % 2 ? 1.0f : 0.25f});
    faces.push_back(comb);
    // A 50-gon and a sliver.
    std::vector<std::pair<float, float>> ring;
    for (int k = 0; k < 50; ++k)
        ring.push_back(
            {0.5f + 0.2f * std::cos(k * 0.1256637f), 0.5f + 0.2f * std::sin(k * 0.1256637f)});
    faces.push_back(ring);
    faces.push_back({{0.1f, 0.1f}, {0.9f, 0.9001f}, {0.9f, 0.9f}});
    faces.push_back({{0.3f, 0.3f}, {0.3f, 0.3f}, {0.3f, 0.3f}});
    faces.push_back({});
    if (random() % 2)
        faces.push_back({{0.2f, 0.2f}, {nan, 0.5f}, {0.6f, 0.9f}});
    if (random() % 2)
        faces.push_back({{0.2f, 0.2f}, {infinity, 0.5f}, {0.6f, 0.9f}});
    std::shuffle(faces.begin(), faces.end(), random);

    faceUVPolygons polygons;
    for (size_t f = 0; f < faces.size(); ++f) {
        append(polygons, static_cast<int>(f), faces[f]);
        vertices.insert(vertices.end(), faces[f].begin(), faces[f].end());
    }
    return polygons;
}

TEST(UvFaceIndex, AgreesWithTheFullScanOnRandomLayouts) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> around(-0.1f, 1.2f);
    int queries = 0, found = 0, onBoundary = 0;
    for (int layout = 0; layout < 40; ++layout) {
        std::vector<std::pair<float, float>> vertices;
        const faceUVPolygons polygons = randomLayout(random, vertices);
        const uvFaceIndex index(polygons);

        std::vector<std::pair<float, float>> points = vertices;
        for (unsigned int p = 0; p < polygons.count(); ++p) // edge midpoints
            for (unsigned int k = 0; k < polygons.vertexCount(p); ++k) {
                const unsigned int next = (k + 1) % polygons.vertexCount(p);
                points.push_back(
                    {static_cast<float>((polygons.u(p)[k] + polygons.u(p)[next]) / 2),
                     static_cast<float>((polygons.v(p)[k] + polygons.v(p)[next]) / 2)});
            }
        for (int k = 0; k < 3000; ++k)
            points.push_back({around(random), around(random)});
        for (int k = 0; k < 300; ++k) // on the dyadic lattice lines
            points.push_back({std::round(around(random) * 256.0f) / 256.0f, around(random)});
        points.push_back({nan, nan});
        points.push_back({-infinity, 0.5f});

        for (const auto& q : points) {
            const int expected = findFaceByScan(polygons, q.first, q.second);
            ASSERT_EQ(index.findFace(q.first, q.second), expected)
                << "layout " << layout << " at " << q.first << ", " << q.second;
            ++queries;
            if (expected >= 0) {
                ++found;
                const unsigned int p = static_cast<unsigned int>(expected);
                if (uvInFace(q.first, q.second, polygons.u(p), polygons.v(p),
                             polygons.vertexCount(p)) != uvLocation::inside)
                    ++onBoundary;
            }
        }
    }
    // The layouts exercise hits, misses and boundary hits alike.
    EXPECT_GT(found, queries / 4);
    EXPECT_LT(found, queries);
    EXPECT_GT(onBoundary, 1000);
}

} // namespace
