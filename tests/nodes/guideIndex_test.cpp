// The guide index: radius queries against a brute-force scan, the inclusive boundary, radius 0,
// nearest queries, and what an empty, unbuilt or stale index finds.

#include "nodes/system/guideIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

std::vector<int> idsOf(const std::vector<guideEntry>& hits) {
    std::vector<int> ids;
    for (const guideEntry& hit : hits)
        ids.push_back(hit.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

double squaredDistance(const double a[3], const double b[3]) {
    const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

TEST(GuideIndexTest, RadiusQueriesMatchABruteForceScan) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    guideIndex index;
    std::vector<guideEntry> all;
    for (int id = 0; id < 300; ++id) {
        const guideEntry entry{{coordinate(engine), coordinate(engine), coordinate(engine)}, id};
        all.push_back(entry);
        ASSERT_TRUE(index.insert(entry.position[0], entry.position[1], entry.position[2], id));
    }
    ASSERT_TRUE(index.build());
    EXPECT_EQ(index.size(), 300u);

    std::vector<guideEntry> hits;
    for (int query = 0; query < 50; ++query) {
        const double point[3] = {coordinate(engine), coordinate(engine), coordinate(engine)};
        const double radius = 0.5 * query * 0.2;
        index.radiusQuery(point, radius, hits);
        std::vector<int> expected;
        for (const guideEntry& entry : all)
            if (squaredDistance(point, entry.position) <= radius * radius)
                expected.push_back(entry.id);
        EXPECT_EQ(idsOf(hits), expected) << "query " << query << " radius " << radius;
        for (const guideEntry& hit : hits) {
            EXPECT_EQ(hit.position[0], all[hit.id].position[0]) << "stored position of " << hit.id;
            EXPECT_EQ(hit.position[2], all[hit.id].position[2]) << "stored position of " << hit.id;
        }

        guideEntry nearest{};
        ASSERT_TRUE(index.nearest(point, nearest));
        double best = std::numeric_limits<double>::infinity();
        for (const guideEntry& entry : all)
            best = std::min(best, squaredDistance(point, entry.position));
        EXPECT_EQ(squaredDistance(point, nearest.position), best) << "nearest of query " << query;
    }
}

TEST(GuideIndexTest, TheRadiusBoundaryIsIncludedAndRadiusZeroFindsOnlyCoincidentGuides) {
    guideIndex index;
    index.insert(0.0, 0.0, 0.0, 1);
    index.insert(2.0, 0.0, 0.0, 2);
    index.insert(0.0, -3.0, 4.0, 3); // distance 5 from the origin
    index.insert(std::nextafter(2.0, 3.0), 0.0, 0.0, 4);
    ASSERT_TRUE(index.build());

    std::vector<guideEntry> hits;
    const double origin[3] = {0.0, 0.0, 0.0};
    index.radiusQuery(origin, 2.0, hits);
    EXPECT_EQ(idsOf(hits), (std::vector<int>{1, 2}));
    index.radiusQuery(origin, 5.0, hits);
    EXPECT_EQ(idsOf(hits), (std::vector<int>{1, 2, 3, 4}));
    index.radiusQuery(origin, -2.0, hits);
    EXPECT_EQ(idsOf(hits), (std::vector<int>{1, 2})) << "a negative radius acts as its size";
    index.radiusQuery(origin, 0.0, hits);
    EXPECT_EQ(idsOf(hits), (std::vector<int>{1}));
    const double beside[3] = {1e-9, 0.0, 0.0};
    index.radiusQuery(beside, 0.0, hits);
    EXPECT_TRUE(hits.empty());
    index.radiusQuery(origin, std::numeric_limits<double>::quiet_NaN(), hits);
    EXPECT_TRUE(hits.empty());
}

TEST(GuideIndexTest, EmptyUnbuiltAndStaleIndexesFindNothing) {
    guideIndex index;
    const double point[3] = {1.0, 2.0, 3.0};
    std::vector<guideEntry> hits{guideEntry{{0.0, 0.0, 0.0}, 9}};
    guideEntry nearest{};

    ASSERT_TRUE(index.build());
    index.radiusQuery(point, 100.0, hits);
    EXPECT_TRUE(hits.empty()) << "old hits are replaced";
    EXPECT_FALSE(index.nearest(point, nearest));

    index.insert(1.0, 2.0, 3.5, 5);
    EXPECT_FALSE(index.nearest(point, nearest)) << "entries count from the next build";
    ASSERT_TRUE(index.build());
    ASSERT_TRUE(index.nearest(point, nearest));
    EXPECT_EQ(nearest.id, 5);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double notANumber[3] = {nan, 0.0, 0.0};
    EXPECT_FALSE(index.nearest(notANumber, nearest));

    index.insert(1.0, 2.0, 3.0, 6);
    index.radiusQuery(point, 100.0, hits);
    EXPECT_TRUE(hits.empty()) << "an insert invalidates the tree until the next build";
    ASSERT_TRUE(index.build());
    ASSERT_TRUE(index.nearest(point, nearest));
    EXPECT_EQ(nearest.id, 6);

    EXPECT_FALSE(index.insert(nan, 0.0, 0.0, 7));
    EXPECT_FALSE(index.insert(0.0, std::numeric_limits<double>::infinity(), 0.0, 8));
    EXPECT_EQ(index.size(), 2u);

    index.clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_FALSE(index.nearest(point, nearest));
}

TEST(GuideIndexTest, ManyGuidesOnOnePointAreAllFound) {
    guideIndex index;
    for (int id = 0; id < 40; ++id)
        index.insert(1.0, 1.0, 1.0, id);
    ASSERT_TRUE(index.build());
    std::vector<guideEntry> hits;
    const double point[3] = {1.0, 1.0, 1.0};
    index.radiusQuery(point, 0.0, hits);
    EXPECT_EQ(hits.size(), 40u);
}

} // namespace
