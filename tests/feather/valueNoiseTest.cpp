#include "feather/valueNoise.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct noiseSample {
    double x, z;
    int seed;
    double expected;
};

// Feather code samples with y = 0. Several of these cells have lattice corners whose hash
// overflows, so a broken lattice fold shows up as an error of about 1 or more.
const noiseSample pinned[] = {
    {0.3, 0.7, 5, -0.45426531953603033},
    {12.25, -3.5, 5010, -0.44455753962392919},
    {-7.125, 0.0625, 1000, 0.8571715728156768},
    {1.5, 2.5, -17, 0.15044085634872317},
    {100.0, 55.5, 661, 0.34285584650933743},
    {0.0, 0.0, 0, -0.28179098386317492},
    {-0.5, 1234.75, 2147483647, 0.47555902661406435},
};

} // namespace

TEST(ValueNoise, PinnedValues) {
    for (const noiseSample& s : pinned) {
        EXPECT_DOUBLE_EQ(valueNoise3(s.x, 0.0, s.z, s.seed), s.expected)
            << "x " << s.x << " z " << s.z << " seed " << s.seed;
    }
}

TEST(ValueNoise, StaysWithinPlusMinusOne) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> coord(-500.0, 500.0);
    std::uniform_int_distribution<int> seed(-100000, 100000);
    double lo = 0.0, hi = 0.0;
    for (int i = 0; i < 300000; ++i) {
        double v = valueNoise3(coord(gen), i % 3 == 0 ? coord(gen) : 0.0, coord(gen), seed(gen));
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, -1.0);
    EXPECT_LE(hi, 1.0);
    // The samples should cover most of the range, not collapse onto a corner of it.
    EXPECT_LT(lo, -0.9);
    EXPECT_GT(hi, 0.9);
}
