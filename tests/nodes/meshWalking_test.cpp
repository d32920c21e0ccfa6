// Mesh walking: the vertex group grammar, paths from vertex lists, walks across a mesh, the
// grow-mesh lookups and the marker triangle, on small hand-made meshes; then hostile texts and
// limits, which must give what the grammar says without hanging or growing without bound.

#include "componentMeshes.h"

#include "nodes/component/meshWalking.h"

#include <maya/MFnMesh.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

std::vector<int> idsOf(const MIntArray& ids) {
    std::vector<int> out;
    for (unsigned int k = 0; k < ids.length(); ++k)
        out.push_back(ids[k]);
    return out;
}

std::vector<std::vector<int>> groupsOf(const std::vector<MIntArray>& groups) {
    std::vector<std::vector<int>> out;
    for (const MIntArray& group : groups)
        out.push_back(idsOf(group));
    return out;
}

MIntArray intArray(std::initializer_list<int> values) {
    MIntArray array;
    for (int v : values)
        array.append(v);
    return array;
}

void expectPoint(const MPoint& p, double x, double y, double z, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-6) << what;
    EXPECT_NEAR(p.y, y, 1e-6) << what;
    EXPECT_NEAR(p.z, z, 1e-6) << what;
}

} // namespace

TEST(MeshWalking, ParsesIdsAndRangesInBothDirectionsSkippingIdsPastTheMesh) {
    EXPECT_EQ(idsOf(parseVertexGroup("0:3 7 5:4", 10)), (std::vector<int>{0, 1, 2, 3, 7, 5, 4}));
    EXPECT_EQ(idsOf(parseVertexGroup("8:12", 10)), (std::vector<int>{8, 9}));
    EXPECT_EQ(idsOf(parseVertexGroup("3:0", 10)), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(idsOf(parseVertexGroup("0:3", 10)), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(idsOf(parseVertexGroup("3:7", 5)), (std::vector<int>{3, 4}));
    EXPECT_EQ(idsOf(parseVertexGroup("7:3", 5)), (std::vector<int>{4, 3}));
    // Duplicates and order are kept; runs of separators make no empty pieces.
    EXPECT_EQ(idsOf(parseVertexGroup("0:0 0:0", 10)), (std::vector<int>{0, 0}));
    EXPECT_EQ(idsOf(parseVertexGroup("  2   1::0 9 12 2 ", 10)), (std::vector<int>{2, 1, 0, 9, 2}));
    // Fewer than two ids make no path.
    for (const char* text : {"", "4", "7", "a b", "1:2:3", "   ", ":"})
        EXPECT_EQ(parseVertexGroup(text, 10).length(), 0u) << '"' << text << '"';
}

TEST(MeshWalking, IgnoresHostileTokensAndBoundsRangesByTheMesh) {
    // Signs, letters, three parts, non-ASCII bytes, numbers past 32 bits: ignored, and the good
    // tokens around them still count.
    EXPECT_EQ(idsOf(parseVertexGroup("-1 1 x2 1:2:3 +q \xc3\xa9 3:\xe2\x80\x8b 4294967296 2", 10)),
              (std::vector<int>{1, 2}));
    EXPECT_EQ(idsOf(parseVertexGroup("-1:3 3:-1 0:1", 10)), (std::vector<int>{0, 1}));
    // The whole 32-bit range costs no more than the mesh: no wrap at the top, no hang.
    EXPECT_EQ(idsOf(parseVertexGroup("0:4294967295", 4)), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(idsOf(parseVertexGroup("4294967295:2", 4)), (std::vector<int>{3, 2}));
    EXPECT_EQ(parseVertexGroup("4294967295:4294967295 4294967295", 4).length(), 0u);
    EXPECT_EQ(parseVertexGroup("0:4", 0).length(), 0u);
    EXPECT_EQ(parseVertexGroup("0:4", -3).length(), 0u);

    // A million tokens are read in order.
    std::string huge;
    for (int k = 0; k < 1000000; ++k)
        huge += std::to_string(k % 7) + ' ';
    const auto start = std::chrono::steady_clock::now();
    const MIntArray ids = parseVertexGroup(huge.c_str(), 5);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_EQ(ids.length(), 142857u * 5u + 1u); // ids 5 and 6 are past the mesh
    EXPECT_EQ(ids[0], 0);
    EXPECT_EQ(ids[4], 4);
    EXPECT_EQ(ids[5], 0);

    // A million whole-mesh ranges would be a path of 10^11 ids: nothing rather than gigabytes.
    std::string ranges;
    for (int k = 0; k < 1000000; ++k)
        ranges += "0:4294967295 ";
    EXPECT_EQ(parseVertexGroup(ranges.c_str(), 100000).length(), 0u);
    EXPECT_EQ(walkVertexGroup(ranges.c_str(), 1, -1, 100000).size(), 0u);
    // Just at the limit it is still a path.
    EXPECT_EQ(parseVertexGroup(("0:" + std::to_string(maxWalkIds - 1)).c_str(), 1 << 30).length(),
              maxWalkIds);
}

TEST(MeshWalking, WalksTheGroupUntilItPassesTheLastVertexOrRunsOutOfTimes) {
    const std::vector<std::vector<int>> three = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}};
    EXPECT_EQ(groupsOf(walkVertexGroup("0:3", 4, -1, 12)), three);
    EXPECT_EQ(groupsOf(walkVertexGroup("0:3", 4, -1, 14)), three) << "12-15 does not fit";
    EXPECT_EQ(groupsOf(walkVertexGroup("0:3", 4, 2, 12)),
              (std::vector<std::vector<int>>{{0, 1, 2, 3}, {4, 5, 6, 7}}));
    EXPECT_EQ(groupsOf(walkVertexGroup("0:3", 4, 1, 12)),
              (std::vector<std::vector<int>>{{0, 1, 2, 3}}));
    EXPECT_TRUE(walkVertexGroup("0:3", 4, 0, 12).empty());
    // The base group is parsed within the mesh, so it always fits: 0:3 on 3 vertices is 0 1 2.
    EXPECT_EQ(groupsOf(walkVertexGroup("0:3", 4, -1, 3)),
              (std::vector<std::vector<int>>{{0, 1, 2}}));
    EXPECT_TRUE(walkVertexGroup("", 4, -1, 12).empty());
    EXPECT_TRUE(walkVertexGroup("5", 1, -1, 12).empty());
    // Downward groups walk too, each in the order written.
    EXPECT_EQ(groupsOf(walkVertexGroup("2:0", 3, -1, 7)),
              (std::vector<std::vector<int>>{{2, 1, 0}, {5, 4, 3}}));
    // The walk ends at the first group past the end even when a later id would fit again.
    EXPECT_EQ(groupsOf(walkVertexGroup("9 0", 1, -1, 11)),
              (std::vector<std::vector<int>>{{9, 0}, {10, 1}}));
}

TEST(MeshWalking, WalkLimitsNeitherWrapNorSpin) {
    // The largest step ends the walk after the base group instead of wrapping around.
    EXPECT_EQ(groupsOf(walkVertexGroup("0 1", 2147483647, -1, 12)),
              (std::vector<std::vector<int>>{{0, 1}}));
    EXPECT_EQ(groupsOf(walkVertexGroup("0 1", 2147483647, 2147483647, 2147483647)).size(), 1u);
    EXPECT_EQ(walkVertexGroup("0 1", 1, 2147483647, 12).size(), 11u);
    EXPECT_EQ(walkVertexGroup("0 1", 1, -2147483647 - 1, 12).size(), 11u) << "negative: all";
    // A step below 1 is taken as 1: the walk moves and ends.
    EXPECT_EQ(walkVertexGroup("0 1", 0, -1, 12).size(), 11u);
    EXPECT_EQ(walkVertexGroup("0 1", -5, -1, 12).size(), 11u);
    // A walk listing more than the limit of ids in all gives nothing.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(walkVertexGroup("0:99", 1, -1, 1 << 20).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(MeshWalking, RecordsHoldWorldPointsNormalsAndTheUsedIds) {
    MFnMesh strip(stripMesh(5)); // 12 vertices
    MVectorArray points, normals;
    MString used = "stale";
    buildTurtleRecord(strip, intArray({0, 2, 4, 3}), points, normals, used);
    ASSERT_EQ(points.length(), 4u);
    ASSERT_EQ(normals.length(), 4u);
    const double expected[4][3] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 1}};
    for (unsigned int k = 0; k < 4; ++k) {
        expectPoint(MPoint(points[k]), expected[k][0], expected[k][1], expected[k][2], "point");
        expectPoint(MPoint(normals[k]), 0, 1, 0, "normal");
    }
    EXPECT_EQ(std::string(used.asChar()), "0 2 4 3 ");

    // Ids the mesh lacks are skipped and left out of the used ids.
    buildTurtleRecord(strip, intArray({1, 99, -4, 3}), points, normals, used);
    EXPECT_EQ(points.length(), 2u);
    EXPECT_EQ(std::string(used.asChar()), "1 3 ");
    // One usable vertex makes no path, and clears what was there.
    buildTurtleRecord(strip, intArray({1, 99}), points, normals, used);
    EXPECT_EQ(points.length(), 0u);
    EXPECT_EQ(normals.length(), 0u);
    EXPECT_EQ(used.length(), 0u);

    // One record per group that keeps two vertices, no gaps, all UVs and ids 0.
    std::vector<MIntArray> groups = {intArray({0, 2}), intArray({50, 51}), intArray({3, 5, 7})};
    const std::vector<turtleRecord> records = buildTurtleRecords(strip, groups);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].points.length(), 2u);
    EXPECT_EQ(records[1].points.length(), 3u);
    expectPoint(MPoint(records[1].points[2]), 3, 0, 1, "last point of the second record");
    for (const turtleRecord& r : records) {
        EXPECT_EQ(r.u, 0.0f);
        EXPECT_EQ(r.v, 0.0f);
        EXPECT_EQ(r.growVertexID, 0);
    }
}

TEST(MeshWalking, GrowMeshGivesTheRootUvAndItsNearestPolygonVertex) {
    MFnMesh grow(growQuad());
    std::vector<turtleRecord> records(3);
    const MVector roots[3] = {MVector(1, 0, 0.5), MVector(1.9, 3, 1.8), MVector(1, 0, 0)};
    for (int k = 0; k < 3; ++k) {
        records[k].points.append(roots[k]);
        records[k].points.append(roots[k] + MVector(0, 1, 0));
    }
    sampleGrowUVs(records, grow, "map1");
    EXPECT_NEAR(records[0].u, 0.5f, 1e-6);
    EXPECT_NEAR(records[0].v, 0.25f, 1e-6);
    EXPECT_NEAR(records[1].u, 0.95f, 1e-6);
    EXPECT_NEAR(records[1].v, 0.9f, 1e-6);

    findGrowVertexIds(records, grow);
    EXPECT_EQ(records[0].growVertexID, 1) << "(1, 0, 0.5): vertices 0 and 1 tie, 1 is first";
    EXPECT_EQ(records[1].growVertexID, 2);
    EXPECT_EQ(records[2].growVertexID, 1) << "a tie goes to the first in polygon order";

    // A set the mesh lacks leaves the UVs at (0, 0).
    std::vector<turtleRecord> others(2);
    for (turtleRecord& r : others) {
        r.points.append(MVector(1, 0, 1));
        r.points.append(MVector(1, 1, 1));
    }
    sampleGrowUVs(others, grow, "noSuchSet");
    for (const turtleRecord& r : others) {
        EXPECT_EQ(r.u, 0.0f);
        EXPECT_EQ(r.v, 0.0f);
    }
    // A grow mesh with no polygons leaves the ids as they were.
    MFnMesh empty(stripMesh(0));
    others[0].growVertexID = 7;
    findGrowVertexIds(others, empty);
    EXPECT_EQ(others[0].growVertexID, 7);
}

TEST(MeshWalking, MarkerTriangleSitsAtTheRootAlongTheFirstSegment) {
    MVectorArray points, normals;
    points.append(MVector(1, 0, 0));
    points.append(MVector(3, 0, 0));
    points.append(MVector(3, 5, 0));
    normals.append(MVector(0, 1, 0));
    normals.append(MVector(0, 1, 0));
    normals.append(MVector(0, 1, 0));

    MPointArray marker;
    markerTriangle(points, normals, 1.0f, marker);
    ASSERT_EQ(marker.length(), 3u);
    expectPoint(marker[0], 3, 0, 0, "tip on the second vertex");
    // d = (2, 0, 0) turned a quarter turn about +y is (0, 0, -2); times 0.3 each way.
    const double side = 2.0 * static_cast<double>(0.3f);
    expectPoint(marker[1], 1, 0, -side, "left");
    expectPoint(marker[2], 1, 0, side, "right");

    markerTriangle(points, normals, 0.5f, marker); // appends
    ASSERT_EQ(marker.length(), 6u);
    expectPoint(marker[3], 2, 0, 0, "tip halfway");

    MPointArray collapsed;
    markerTriangle(points, normals, 0.0f, collapsed);
    ASSERT_EQ(collapsed.length(), 3u);
    for (unsigned int k = 0; k < 3; ++k)
        expectPoint(collapsed[k], 1, 0, 0, "size 0: every corner on the root");

    MPointArray none;
    MVectorArray one;
    one.append(MVector(1, 0, 0));
    markerTriangle(one, one, 1.0f, none);
    markerTriangle(MVectorArray(), MVectorArray(), 1.0f, none);
    EXPECT_EQ(none.length(), 0u);
}
