#include "feather/idRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A registry holding ids 0..n-1, each entry's value pointing at its own key.
struct filledRegistry {
    filledRegistry(int buckets, int n) : reg(buckets), keys(n) {
        for (int& k : keys) {
            k = reg.allocateId();
            reg.insert(&k, &k);
        }
    }
    idRegistry reg;
    std::vector<int> keys;
};

} // namespace

TEST(IdRegistry, IdsCountUpAndReleasedIdsComeBackLastInFirstOut) {
    filledRegistry f(5, 3);
    EXPECT_EQ(f.keys, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(f.reg.remove(&f.keys[1]));
    EXPECT_TRUE(f.reg.remove(&f.keys[2]));
    EXPECT_EQ(f.reg.find(&f.keys[1]), nullptr);
    EXPECT_EQ(f.reg.find(&f.keys[0]), &f.keys[0]);
    EXPECT_EQ(f.reg.allocateId(), 2);
    EXPECT_EQ(f.reg.allocateId(), 1);
    EXPECT_EQ(f.reg.allocateId(), 3);

    f.reg.remove(&f.keys[0]);
    f.reg.clearReleasedIds();
    EXPECT_EQ(f.reg.allocateId(), 4);
}

TEST(IdRegistry, ReleasedMinusOneGivesAFreshId) {
    idRegistry reg(5);
    int noFeather = -1;
    ASSERT_TRUE(reg.insert(&noFeather, &noFeather));
    EXPECT_EQ(reg.find(&noFeather), &noFeather);
    ASSERT_TRUE(reg.remove(&noFeather));
    EXPECT_EQ(reg.allocateId(), 0);
    EXPECT_EQ(reg.allocateId(), 1);
}

TEST(IdRegistry, SixthInsertGrowsFiveBucketsToTenAndKeepsEveryEntry) {
    filledRegistry f(5, 5);
    EXPECT_EQ(f.reg.bucketCount(), 5);
    int sixth = f.reg.allocateId();
    ASSERT_TRUE(f.reg.insert(&sixth, &sixth));
    EXPECT_EQ(f.reg.bucketCount(), 10);
    EXPECT_TRUE(f.reg.canGrow());
    for (int id = 0; id < 6; ++id) { // looked up by value through another int
        EXPECT_NE(f.reg.find(&id), nullptr) << "id " << id;
    }
}

TEST(IdRegistry, DuplicateKeysBothStayNewestFirst) {
    idRegistry reg(5);
    int a = 3, b = 3;
    reg.insert(&a, &a);
    reg.insert(&b, &b);
    EXPECT_EQ(reg.entryCount(), 2);
    EXPECT_EQ(reg.find(&a), &b);
    reg.remove(&a);
    EXPECT_EQ(reg.find(&a), &a);
}

TEST(IdRegistry, RemovingAnAbsentIdChangesNothing) {
    filledRegistry f(5, 3);
    int absent = 7;
    EXPECT_FALSE(f.reg.remove(&absent));
    EXPECT_EQ(f.reg.entryCount(), 3);
    EXPECT_EQ(f.reg.freeNodeCount(), 0);
    EXPECT_EQ(f.reg.allocateId(), 3);
}

TEST(IdRegistry, OverflowingRemovalEmptiesThePoolEntirely) {
    filledRegistry f(5, 21);
    f.reg.setPoolLimit(20);
    for (int i = 0; i < 20; ++i) {
        f.reg.remove(&f.keys[i]);
    }
    EXPECT_EQ(f.reg.freeNodeCount(), 20);
    f.reg.remove(&f.keys[20]);
    EXPECT_EQ(f.reg.freeNodeCount(), 0);
    EXPECT_EQ(f.reg.entryCount(), 0);
    EXPECT_EQ(f.reg.allocateId(), 20); // released though its node was freed
}

TEST(IdRegistry, TrimFreesOnlyAPoolAboveTheLimit) {
    filledRegistry f(5, 4);
    for (int& k : f.keys) {
        f.reg.remove(&k);
    }
    f.reg.setPoolLimit(4);
    f.reg.trimPool();
    EXPECT_EQ(f.reg.freeNodeCount(), 4);
    f.reg.setPoolLimit(3);
    f.reg.trimPool();
    EXPECT_EQ(f.reg.freeNodeCount(), 0);
}

TEST(IdRegistry, DestroyPoolsTheNodesAndTheRegistryCanBeReused) {
    filledRegistry f(5, 7);
    f.reg.remove(&f.keys[6]);
    f.reg.setPoolLimit(20);
    f.reg.destroy();
    EXPECT_EQ(f.reg.entryCount(), 0);
    EXPECT_EQ(f.reg.freeNodeCount(), 7);
    EXPECT_EQ(f.reg.find(&f.keys[0]), nullptr);
    EXPECT_EQ(f.reg.allocateId(), 0); // released ids are dropped too

    int k = 0;
    ASSERT_TRUE(f.reg.insert(&k, &k));
    EXPECT_EQ(f.reg.bucketCount(), 5);
    EXPECT_EQ(f.reg.freeNodeCount(), 6);
    EXPECT_EQ(f.reg.find(&k), &k);

    // Moving nodes obeys the overflow rule: the 4th empties the pool, 3 more follow.
    filledRegistry g(5, 7);
    g.reg.setPoolLimit(3);
    g.reg.destroy();
    EXPECT_EQ(g.reg.freeNodeCount(), 3);
}
