// The final builds: reproducibility, the order of random draws, gaps, key rotations, force
// turns, sides, meshes, bad input, and pinned points.
//
// Expected random values come from a separate MT19937 fed in the documented order (per index:
// density, thickness, length, one force draw per point, then a gap draw where the gap noise
// opens one), so a change in the order of draws fails here.

#include "featherFixtures.h"

#include "feather/barbules.h"
#include "feather/valueNoise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const double degrees = 180.0 / 3.14159265358979323846;

struct referenceSide {
    std::vector<float> density, thick, length;
    std::vector<std::vector<float>> force;
    std::vector<std::pair<int, float>> gaps;
};

float referenceFloat(std::mt19937& engine) {
    return static_cast<float>(engine() * 2.3283064365386963e-10);
}

referenceSide referenceDraws(std::mt19937& engine, const featherInfo& info, int indices, int c,
                             int gapSeed) {
    referenceSide side;
    const int p = info.barbulePointCount;
    for (int i = 0; i < indices; ++i) {
        side.density.push_back(referenceFloat(engine));
        side.thick.push_back(referenceFloat(engine) * info.barbuleRandThick);
        side.length.push_back(referenceFloat(engine) * info.barbuleLengthRandScale);
        side.force.emplace_back();
        for (int j = 0; j < p; ++j) {
            side.force.back().push_back(referenceFloat(engine) * info.forcePerSegment);
        }
        const float t = static_cast<float>(i) / static_cast<float>(c);
        const double g =
            valueNoise3(t * info.barbuleGapFrequency + info.barbuleGapPhase, 0.0, 0.0, gapSeed);
        if (info.barbuleGapThreshold < (g + 1.0) * 0.5) {
            side.gaps.emplace_back(i, referenceFloat(engine));
        }
    }
    return side;
}

std::mt19937 seededEngine(unsigned int seed) {
    std::mt19937 engine(seed);
    engine.discard(37);
    return engine;
}

// Direction of segment m of a barbule lying in the xz plane, as a yaw about +y from +x.
double segmentAngle(const MFloatPointArray& curve, unsigned int m) {
    const MFloatVector d = curve[m + 1] - curve[m];
    return std::atan2(-d.z, d.x) * degrees;
}

bool sameBits(const void* a, const void* b, size_t bytes) {
    return std::memcmp(a, b, bytes) == 0;
}

template <typename Array> bool sameArray(const Array& a, const Array& b) {
    if (a.length() != b.length()) {
        return false;
    }
    for (unsigned int i = 0; i < a.length(); ++i) {
        const auto x = a[i];
        const auto y = b[i];
        if (!sameBits(&x, &y, sizeof(x))) {
            return false;
        }
    }
    return true;
}

template <typename Array>
bool sameArrays(const std::vector<Array>& a, const std::vector<Array>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!sameArray(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

bool sameMesh(const featherMeshData& a, const featherMeshData& b) {
    return sameArray(a.polygonCounts, b.polygonCounts) &&
           sameArray(a.polygonConnects, b.polygonConnects) && sameArray(a.points, b.points) &&
           sameArray(a.uArray, b.uArray) && sameArray(a.vArray, b.vArray) &&
           sameArray(a.uvIds, b.uvIds);
}

bool sameGeometry(const featherGeometry& a, const featherGeometry& b) {
    return sameArray(a.rachisPoints, b.rachisPoints) &&
           sameArray(a.rachisNormals, b.rachisNormals) &&
           sameArray(a.rachisThickness, b.rachisThickness) && a.rachisLength == b.rachisLength &&
           sameArrays(a.leftBarbules, b.leftBarbules) && sameArrays(a.leftNormals, b.leftNormals) &&
           sameArray(a.leftPositions, b.leftPositions) && sameArray(a.leftLengths, b.leftLengths) &&
           sameArray(a.leftThickness, b.leftThickness) &&
           sameArrays(a.rightBarbules, b.rightBarbules) &&
           sameArrays(a.rightNormals, b.rightNormals) &&
           sameArray(a.rightPositions, b.rightPositions) &&
           sameArray(a.rightLengths, b.rightLengths) &&
           sameArray(a.rightThickness, b.rightThickness) &&
           sameArray(a.barbuleThickness, b.barbuleThickness) && a.seed == b.seed &&
           a.proxyBox.min() == b.proxyBox.min() && a.proxyBox.max() == b.proxyBox.max() &&
           a.meshBox.min() == b.meshBox.min() && a.meshBox.max() == b.meshBox.max() &&
           sameMesh(a.rachisMesh, b.rachisMesh) && sameMesh(a.barbuleMesh, b.barbuleMesh);
}

bool isCleared(const featherGeometry& g) {
    const featherGeometry cleared;
    return sameGeometry(g, cleared) && g.mainColor == cleared.mainColor;
}

class BarbuleBuild : public ::testing::Test {
  protected:
    void SetUp() override {
        node = fixtures::createRampNode();
        fixtures::defaultDescription(info, node);
        generator.info = &info;
    }

    // A flat description on a straight path along +x with normals +y: barbules lie in the xz
    // plane and only the effect under test turns them.
    void flatten() {
        info.curveType = 0;
        info.barbuleCount = 10;
        info.barbuleLengthRandScale = 0.0f;
        info.keyBarbuleSet.startAngles = {0.0f, 0.0f, 0.0f, 0.0f};
        info.keyBarbuleSet.stepAngle = 0.0f;
        info.forcePerSegment = 0.0f;
        info.upDownLength = 0.0f;
        info.barbuleGapThreshold = 1.0f;
    }

    // The rachis is 4 long and barbules 2, so with 9 points each segment is exactly 0.25.
    turtlePath exactPath() {
        info.rachisPointCount = 2;
        info.barbuleLength = 0.5f;
        info.barbulePointCount = 9;
        return fixtures::straightPath(2, 4.0f);
    }

    featherGeometry build(const turtlePath& path, unsigned int seed) {
        featherGeometry g;
        EXPECT_TRUE(buildFeather(generator, path, g, seed));
        return g;
    }

    MObject node;
    featherInfo info;
    featherGenerator generator;
};

TEST_F(BarbuleBuild, EqualInputsGiveIdenticalFeathersWhateverCameBefore) {
    info.forcePerSegment = 3.0f;
    info.upDownLength = 4.0f;
    info.barbuleGapThreshold = 0.3f;
    info.barbuleLengthRandScale = 0.3f;
    info.barbuleRandThick = 0.5f;
    info.outputFeatherMesh = true;
    info.rachisRenderAs = 1;
    const turtlePath path = fixtures::curvedPath(7);

    const featherGeometry first = build(path, 21);
    generator.seed(99);
    generator.nextRandom();
    generator.turtle.position = MFloatPoint(5.0f, 5.0f, 5.0f);
    generator.clampToUnitSquare = true;
    const featherGeometry second = build(path, 21);
    EXPECT_TRUE(sameGeometry(first, second));
    EXPECT_EQ(first.seed, 21);

    const featherGeometry other = build(path, 22);
    EXPECT_FALSE(sameGeometry(first, other)) << "the seed must matter";

    // Surface builds likewise, per guide index.
    const MObject dome = fixtures::domeSurface();
    featherGeometry a;
    featherGeometry b;
    ASSERT_TRUE(buildSurfaceFeather(generator, dome, a, 3));
    generator.seed(5);
    ASSERT_TRUE(buildSurfaceFeather(generator, dome, b, 3));
    EXPECT_TRUE(sameGeometry(a, b));
}

TEST_F(BarbuleBuild, SurvivingBarbulesKeepTheirDrawsWhenDensityDrops) {
    info.forcePerSegment = 3.0f;
    info.barbuleLengthRandScale = 0.4f;
    info.barbuleGapThreshold = 0.4f;
    const turtlePath path = fixtures::curvedPath(6);
    const featherGeometry all = build(path, 8);
    fixtures::setConstant(info.barbuleDensity, 0.5f);
    const featherGeometry thinned = build(path, 8);

    std::mt19937 engine = seededEngine(8);
    const int c = info.barbuleCount;
    const referenceSide left = referenceDraws(engine, info, c + 1, c, 8 + info.randSeed + 540);
    const referenceSide right = referenceDraws(engine, info, c + 1, c, 8 + info.randSeed + 5);

    struct sideView {
        const referenceSide& draws;
        const std::vector<MFloatPointArray>& allCurves;
        const std::vector<MFloatPointArray>& curves;
        const MFloatArray& positions;
        float offset;
    };
    for (const sideView& side :
         {sideView{left, all.leftBarbules, thinned.leftBarbules, thinned.leftPositions, 0.0f},
          sideView{right, all.rightBarbules, thinned.rightBarbules, thinned.rightPositions,
                   1.0f}}) {
        ASSERT_EQ(side.allCurves.size(), static_cast<size_t>(c + 1));
        std::vector<int> expected;
        for (int i = 0; i <= c; ++i) {
            if (side.draws.density[static_cast<size_t>(i)] <= 0.5f) {
                expected.push_back(i);
            }
        }
        ASSERT_EQ(side.curves.size(), expected.size());
        ASSERT_GT(expected.size(), 20u);
        ASSERT_LT(expected.size(), 80u);
        for (size_t n = 0; n < expected.size(); ++n) {
            const int i = expected[n];
            EXPECT_EQ(side.positions[static_cast<unsigned int>(n)],
                      static_cast<float>(i) / c + side.offset);
            EXPECT_TRUE(sameArray(side.curves[n], side.allCurves[static_cast<size_t>(i)]))
                << "barbule " << i << " changed when others were dropped";
        }
    }
}

TEST_F(BarbuleBuild, PathBuildHasCPlusOneIndicesAndSurfaceBuildC) {
    info.barbuleCount = 16;
    const featherGeometry g = build(fixtures::curvedPath(5), 3);
    ASSERT_EQ(g.leftBarbules.size(), 17u);
    ASSERT_EQ(g.rightBarbules.size(), 17u);
    for (unsigned int i = 0; i <= 16; ++i) {
        EXPECT_EQ(g.leftPositions[i], i / 16.0f);
        EXPECT_EQ(g.rightPositions[i], i / 16.0f + 1.0f);
        EXPECT_EQ(g.leftBarbules[i].length(), 9u);
        EXPECT_EQ(g.leftNormals[i].length(), 9u);
    }
    EXPECT_EQ(g.leftPositions[16], 1.0f);
    EXPECT_EQ(g.rightPositions[16], 2.0f);
    EXPECT_EQ(g.barbuleThickness.length(), 9u);

    featherGeometry s;
    ASSERT_TRUE(buildSurfaceFeather(generator, fixtures::domeSurface(), s, 0));
    ASSERT_EQ(s.leftBarbules.size(), 16u);
    ASSERT_EQ(s.rightBarbules.size(), 16u);
    for (unsigned int i = 0; i < 16; ++i) {
        EXPECT_EQ(s.leftPositions[i], i / 16.0f);
        EXPECT_EQ(s.rightPositions[i], i / 16.0f + 1.0f);
        EXPECT_GE(s.leftLengths[i], 0.0f);
        EXPECT_LE(s.leftLengths[i], 1.0f);
    }
    EXPECT_EQ(s.rachisPoints.length(), 5u);
}

TEST_F(BarbuleBuild, GapOffsetIsASawtoothBetweenGapEntries) {
    flatten();
    info.barbuleCount = 40;
    info.barbuleGapThreshold = 0.45f;
    info.barbuleGapFrequency = 7.0f;
    info.barbuleGapSize = 10.0f;
    const unsigned int seed = 2;
    const featherGeometry g = build(fixtures::straightPath(3, 2.0f), seed);

    std::mt19937 engine = seededEngine(seed);
    const int c = info.barbuleCount;
    const referenceSide left = referenceDraws(engine, info, c + 1, c, seed + info.randSeed + 540);
    const referenceSide right = referenceDraws(engine, info, c + 1, c, seed + info.randSeed + 5);
    ASSERT_GE(left.gaps.size(), 3u);
    ASSERT_GE(right.gaps.size(), 3u);

    auto expectedOffset = [](const referenceSide& side, int i) {
        // The first gap entry at or after i, and the one before it.
        for (size_t e = 1; e < side.gaps.size(); ++e) {
            if (side.gaps[e].first >= i && side.gaps[e - 1].first < i) {
                const auto& prev = side.gaps[e - 1];
                const auto& next = side.gaps[e];
                return static_cast<double>(i - prev.first) / (next.first - prev.first) *
                       next.second;
            }
        }
        return 0.0;
    };
    int nonZero = 0;
    for (int i = 0; i <= c; ++i) {
        const unsigned int n = static_cast<unsigned int>(i);
        const double l = expectedOffset(left, i) * info.barbuleGapSize;
        const double r = -expectedOffset(right, i) * info.barbuleGapSize;
        EXPECT_NEAR(segmentAngle(g.leftBarbules[n], 0), l, 1e-3) << "left " << i;
        EXPECT_NEAR(segmentAngle(g.rightBarbules[n], 0), r, 1e-3) << "right " << i;
        nonZero += std::fabs(l) > 1e-3;
        if (i <= left.gaps.front().first || i > left.gaps.back().first) {
            EXPECT_NEAR(segmentAngle(g.leftBarbules[n], 0), 0.0, 1e-4) << "outside the gaps " << i;
        }
    }
    EXPECT_GT(nonZero, 5);

    // With fewer than three gap entries on a side no offset applies at all.
    info.barbuleGapThreshold = 0.85f;
    bool found = false;
    for (int phase = 0; phase < 200 && !found; ++phase) {
        info.barbuleGapPhase = phase * 0.37f;
        std::mt19937 probe = seededEngine(seed);
        const referenceSide few = referenceDraws(probe, info, c + 1, c, seed + info.randSeed + 540);
        if (few.gaps.empty() || few.gaps.size() >= 3) {
            continue;
        }
        found = true;
        const featherGeometry sparse = build(fixtures::straightPath(3, 2.0f), seed);
        for (const MFloatPointArray& curve : sparse.leftBarbules) {
            EXPECT_NEAR(segmentAngle(curve, 0), 0.0, 1e-4);
        }
    }
    EXPECT_TRUE(found) << "no phase with one or two gaps";
}

TEST_F(BarbuleBuild, KeyRotationTurnsAtTheFirstPointAndOnEverySegmentPassed) {
    flatten();
    const turtlePath path = exactPath();
    info.keyBarbuleSet.stepAngle = 20.0f;
    for (MRampAttribute& r : info.keyBarbuleSet.rotateRamps) {
        fixtures::setConstant(r, 1.0f); // K = (1 - 0.5) * 20 = 10 degrees everywhere
    }
    const int p = info.barbulePointCount;

    // Full steps: a turn at every point, left turning by -K and right by +K.
    const featherGeometry full = build(path, 4);
    for (unsigned int m = 0; m + 1 < static_cast<unsigned int>(p); ++m) {
        EXPECT_NEAR(segmentAngle(full.leftBarbules[3], m), -10.0 * (m + 1), 1e-3) << m;
        EXPECT_NEAR(segmentAngle(full.rightBarbules[3], m), 10.0 * (m + 1), 1e-3) << m;
    }

    // Shortened steps pass segment boundaries less often: after the first point, barbule i
    // turns floor((P - 2)(1 - lengthDraw)) times before its last point.
    info.barbuleLengthRandScale = 1.0f;
    info.barbuleCount = 60;
    const unsigned int seed = 31;
    const featherGeometry shortened = build(path, seed);
    std::mt19937 engine = seededEngine(seed);
    const referenceSide left =
        referenceDraws(engine, info, info.barbuleCount + 1, info.barbuleCount, 0);
    int checked = 0;
    int turns = 0;
    for (size_t i = 0; i < left.length.size(); ++i) {
        const double walk = (p - 2) * (1.0 - left.length[i]);
        if (left.length[i] > 0.99f || std::fabs(walk - std::round(walk)) < 1e-4) {
            continue; // too short to measure, or too close to a boundary to call
        }
        const MFloatPointArray& curve = shortened.leftBarbules[i];
        EXPECT_NEAR(segmentAngle(curve, 0), -10.0, 1e-2) << "first point turns, barbule " << i;
        int seen = 0;
        for (unsigned int m = 1; m + 1 < static_cast<unsigned int>(p); ++m) {
            seen += std::fabs(segmentAngle(curve, m) - segmentAngle(curve, m - 1)) > 1.0;
        }
        EXPECT_EQ(seen, static_cast<int>(std::floor(walk))) << "barbule " << i;
        turns += seen;
        ++checked;
    }
    EXPECT_GT(checked, 40);
    EXPECT_LT(turns, checked * (p - 2)) << "rarer turns with shortened steps";
}

TEST_F(BarbuleBuild, ForceTurnsFollowTheNoiseAtEveryPointOrNever) {
    flatten();
    info.forcePerSegment = 2.0f;
    info.turnAtForce = 0.0f;
    info.rotateDegree = 30.0f;
    info.noisePhase[0] = 0.3f;
    info.noisePhase[1] = 0.7f;
    const unsigned int seed = 6;
    const turtlePath path = fixtures::straightPath(3, 2.0f);
    const featherGeometry g = build(path, seed);
    const int c = info.barbuleCount;
    const int p = info.barbulePointCount;

    for (int side = 0; side < 2; ++side) {
        const std::vector<MFloatPointArray>& curves = side ? g.rightBarbules : g.leftBarbules;
        const int noiseSeed = info.randSeed + static_cast<int>(seed) + (side ? 12 : 658);
        for (int i = 0; i <= c; ++i) {
            const float t = static_cast<float>(i) / c;
            double angle = 0.0;
            for (int j = 0; j + 1 < p; ++j) {
                const float r = static_cast<float>(j) / p;
                const double n =
                    valueNoise3(t * info.rachisNoiseFrequency + info.noisePhase[0], 0.0,
                                r * info.barbuleNoiseFrequency + info.noisePhase[1], noiseSeed);
                angle += (side ? 1.0 : -1.0) * info.rotateDegree * n;
                EXPECT_NEAR(segmentAngle(curves[static_cast<size_t>(i)], static_cast<unsigned>(j)),
                            angle, 1e-3)
                    << (side ? "right " : "left ") << i << " segment " << j;
            }
        }
    }

    // A force that never exceeds turnAtForce never turns.
    for (float threshold : {1e9f, 0.0f}) {
        info.turnAtForce = threshold;
        info.forcePerSegment = threshold > 0.0f ? 2.0f : 0.0f;
        const featherGeometry straight = build(path, seed);
        for (const MFloatPointArray& curve : straight.leftBarbules) {
            for (unsigned int m = 0; m + 1 < curve.length(); ++m) {
                EXPECT_NEAR(segmentAngle(curve, m), 0.0, 1e-4);
            }
        }
    }
}

TEST_F(BarbuleBuild, UpDownPitchesTheBarbuleOutOfItsPlane) {
    flatten();
    info.upDownLength = 5.0f;
    info.upDownNoise = false;
    const featherGeometry g = build(exactPath(), 1);
    const MFloatPointArray& curve = g.leftBarbules[2];
    // pitch turns heading and up about heading ^ up = -z: each point bends 5 degrees further
    // up (+y), the first already before the first step.
    for (unsigned int m = 0; m + 1 < curve.length(); ++m) {
        const MFloatVector d = curve[m + 1] - curve[m];
        EXPECT_NEAR(std::atan2(d.y, d.x) * degrees, 5.0 * (m + 1), 1e-3) << m;
    }

    // With noise each bend is scaled by the noise factor at (t, j / P), per side.
    info.upDownNoise = true;
    const unsigned int seed = 9;
    const featherGeometry noisy = build(exactPath(), seed);
    const int c = info.barbuleCount;
    const int p = info.barbulePointCount;
    for (int side = 0; side < 2; ++side) {
        const int noiseSeed = info.randSeed + static_cast<int>(seed) + (side ? 456 : 661);
        const unsigned int i = 7;
        const float t = static_cast<float>(i) / c;
        const MFloatPointArray& bent = side ? noisy.rightBarbules[i] : noisy.leftBarbules[i];
        double angle = 0.0;
        for (int j = 0; j + 1 < p; ++j) {
            const float r = static_cast<float>(j) / p;
            const double n =
                valueNoise3(t * info.rachisNoiseFrequency + info.noisePhase[0], 0.0,
                            r * info.barbuleNoiseFrequency + info.noisePhase[1], noiseSeed);
            angle += 5.0 * (n + 1.0) * 0.5;
            const MFloatVector d =
                bent[static_cast<unsigned>(j) + 1] - bent[static_cast<unsigned>(j)];
            const double run = std::sqrt(d.x * d.x + d.z * d.z);
            EXPECT_NEAR(std::atan2(d.y, run) * degrees, angle, 1e-3) << side << "/" << j;
        }
    }
}

TEST_F(BarbuleBuild, MeshCountsForStripsAndCombinedSheets) {
    info.barbuleCount = 12;
    info.barbulePointCount = 10;
    info.outputFeatherMesh = true;
    info.rachisPointCount = 10;
    const turtlePath path = fixtures::curvedPath(4);
    const unsigned int k = 13;
    const unsigned int p = 10;

    const featherGeometry strips = build(path, 5);
    EXPECT_EQ(strips.rachisMesh.points.length(), 40u);
    EXPECT_EQ(strips.rachisMesh.polygonCounts.length(), 36u);
    EXPECT_EQ(strips.rachisMesh.uArray.length(), 50u);
    EXPECT_EQ(strips.barbuleMesh.points.length(), 2 * k * 2 * p);
    EXPECT_EQ(strips.barbuleMesh.uArray.length(), 2 * k * 2 * p);
    EXPECT_EQ(strips.barbuleMesh.polygonCounts.length(), 2 * k * (p - 1));
    // Each strip's quads index its own points: strip b of the left side starts at 2Pb.
    EXPECT_EQ(strips.barbuleMesh.polygonConnects[4 * (p - 1) * 3], static_cast<int>(2 * p * 3));

    info.combineBarbules = true;
    const featherGeometry sheet = build(path, 5);
    EXPECT_EQ(sheet.barbuleMesh.points.length(), 2 * k * p);
    EXPECT_EQ(sheet.barbuleMesh.polygonCounts.length(), 2 * (k - 1) * (p - 1));
    for (unsigned int i = 0; i < k * p; ++i) {
        EXPECT_LE(sheet.barbuleMesh.uArray[i], 0.5f) << "left sheet uses the lower half";
        EXPECT_GE(sheet.barbuleMesh.uArray[k * p + i], 0.5f) << "right sheet the upper half";
    }
    EXPECT_EQ(sheet.barbuleMesh.vArray[p * 3], 3.0f / 12.0f);

    // A threshold on the walked length drops short barbules from the sheet.
    fixtures::setRamp(info.leftBarbuleLengthScale, {{0.0f, 0.2f, MRampAttribute::kLinear},
                                                    {1.0f, 1.0f, MRampAttribute::kLinear}});
    const featherGeometry varied = build(path, 5);
    const float full = varied.rachisLength * info.barbuleLength;
    info.barbuleLengthThreshold = 0.6f * full;
    unsigned int kept = 0;
    for (unsigned int i = 0; i < varied.leftLengths.length(); ++i) {
        kept += varied.leftLengths[i] * full >= info.barbuleLengthThreshold;
    }
    ASSERT_GT(kept, 2u);
    ASSERT_LT(kept, k);
    const featherGeometry dropped = build(path, 5);
    EXPECT_EQ(dropped.barbuleMesh.points.length(), (kept + k) * p);
    EXPECT_EQ(dropped.barbuleMesh.polygonCounts.length(), (kept - 1 + k - 1) * (p - 1));
}

TEST_F(BarbuleBuild, SurfaceSidesExistOnlyWithRoomAndAMissingLeftShiftsTheRightDraws) {
    const MObject plane = fixtures::planeSurface(2.0, 2.0);
    info.barbuleCount = 40;
    info.barbuleGapThreshold = 0.4f; // gap draws interleave with the others
    fixtures::setConstant(info.barbuleDensity, 0.5f);
    const int guide = 7;
    const int c = info.barbuleCount;
    const unsigned int seed = static_cast<unsigned int>(guide + info.randSeed);
    const int leftGapSeed = guide + info.randSeed + 135;
    const int rightGapSeed = info.randSeed + guide + 125;

    auto survivors = [&](const referenceSide& side, float offset) {
        std::vector<float> positions;
        for (int i = 0; i < c; ++i) {
            if (side.density[static_cast<size_t>(i)] <= 0.5f) {
                positions.push_back(static_cast<float>(i) / c + offset);
            }
        }
        return positions;
    };
    auto positions = [](const MFloatArray& a) {
        std::vector<float> v;
        for (unsigned int i = 0; i < a.length(); ++i) {
            v.push_back(a[i]);
        }
        return v;
    };

    // Both sides: left draws first, the right ones continue the stream.
    featherGeometry both;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, both, guide));
    std::mt19937 stream = seededEngine(seed);
    const referenceSide left = referenceDraws(stream, info, c, c, leftGapSeed);
    const referenceSide rightAfterLeft = referenceDraws(stream, info, c, c, rightGapSeed);
    ASSERT_FALSE(left.gaps.empty());
    EXPECT_EQ(positions(both.leftPositions), survivors(left, 0.0f));
    EXPECT_EQ(positions(both.rightPositions), survivors(rightAfterLeft, 1.0f));

    // rachisPosition 1: no room on the left, no left draws, so the right side starts the stream.
    info.rachisPosition = 1.0f;
    featherGeometry g;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, g, guide));
    EXPECT_TRUE(g.leftBarbules.empty());
    std::mt19937 alone = seededEngine(seed);
    const referenceSide rightAlone = referenceDraws(alone, info, c, c, rightGapSeed);
    EXPECT_EQ(positions(g.rightPositions), survivors(rightAlone, 1.0f));
    EXPECT_NE(positions(g.rightPositions), survivors(rightAfterLeft, 1.0f));

    info.rachisPosition = 0.0f;
    featherGeometry onlyLeft;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, onlyLeft, guide));
    EXPECT_TRUE(onlyLeft.rightBarbules.empty());
    EXPECT_EQ(positions(onlyLeft.leftPositions), survivors(left, 0.0f));
}

TEST_F(BarbuleBuild, SurfaceForceTurnsAndBendingFollowTheirNoise) {
    const MObject plane = fixtures::planeSurface(2.0, 2.0);
    flatten();
    info.forcePerSegment = 2.0f;
    info.turnAtForce = 0.0f;
    info.rotateDegree = 30.0f;
    info.upDownLength = 0.5f;
    info.noisePhase[0] = 0.4f;
    info.noisePhase[1] = 0.9f;
    const int guide = 2;
    featherGeometry g;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, g, guide));
    const int c = info.barbuleCount;
    const int p = info.barbulePointCount;
    ASSERT_EQ(g.leftBarbules.size(), static_cast<size_t>(c));
    ASSERT_EQ(g.rightBarbules.size(), static_cast<size_t>(c));

    for (int side = 0; side < 2; ++side) {
        const std::vector<MFloatPointArray>& curves = side ? g.rightBarbules : g.leftBarbules;
        const int forceSeed = info.randSeed + guide + (side ? 9841 : 363);
        const int bendSeed = info.randSeed + guide + (side ? 2036 : 202);
        for (int i = 0; i < c; ++i) {
            const float t = static_cast<float>(i) / c;
            const double x = t * info.rachisNoiseFrequency + info.noisePhase[0];
            const MFloatPointArray& curve = curves[static_cast<size_t>(i)];
            // Bending moves every point along the plane's normal (-y) by a noise-scaled length.
            const double bend =
                0.5 * (valueNoise3(x, 0.0, info.noisePhase[1], bendSeed) + 1.0) * 0.5;
            EXPECT_NEAR(curve[3].y, -bend, 1e-6) << (side ? "right " : "left ") << i;
            if (t > 0.85f) {
                continue; // the walk may reach the edge of the parameter square
            }
            // With no start angle both sides set off along the rachis; both turn by
            // +rotS * rotateDegree * noise (parameter space and the plane agree on angles).
            double angle = 0.0;
            for (int j = 0; j + 1 < p; ++j) {
                const float r = static_cast<float>(j) / p;
                angle += info.rotateDegree *
                         valueNoise3(x, 0.0, r * info.barbuleNoiseFrequency + info.noisePhase[1],
                                     forceSeed);
                const MFloatVector d =
                    curve[static_cast<unsigned>(j) + 1] - curve[static_cast<unsigned>(j)];
                const double measured = std::atan2(-d.z, d.x) * degrees;
                EXPECT_NEAR(measured, angle, 1e-3)
                    << (side ? "right " : "left ") << i << " segment " << j;
            }
        }
    }
}

TEST_F(BarbuleBuild, SurfaceBarbulesLieOnTheSurfaceAndBendAlongItsNormal) {
    const MObject plane = fixtures::planeSurface(2.0, 2.0);
    info.barbuleCount = 8;
    featherGeometry flat;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, flat, 0));
    ASSERT_FALSE(flat.leftBarbules.empty());
    for (const MFloatPointArray& curve : flat.leftBarbules) {
        for (unsigned int j = 0; j < curve.length(); ++j) {
            EXPECT_EQ(curve[j].y, 0.0f);
            EXPECT_GE(curve[j].z, 1.0f - 1e-6f) << "left barbules fill v above the rachis";
        }
    }
    for (const MFloatPointArray& curve : flat.rightBarbules) {
        EXPECT_LE(curve[curve.length() - 1].z, 1.0f + 1e-6f);
    }

    info.upDownLength = 0.5f;
    info.upDownNoise = false;
    featherGeometry bent;
    ASSERT_TRUE(buildSurfaceFeather(generator, plane, bent, 0));
    // The plane's normal is -y: every point moves 0.5 along it.
    EXPECT_EQ(bent.leftBarbules[1][3].y, -0.5f);
    EXPECT_EQ(bent.leftNormals[1][3], MFloatVector(0.0f, -1.0f, 0.0f));
}

TEST_F(BarbuleBuild, SurfaceMeshesUseTheStoredCurves) {
    info.barbuleCount = 6;
    info.barbulePointCount = 5;
    info.outputFeatherMesh = true;
    const MObject dome = fixtures::domeSurface();
    featherGeometry strips;
    ASSERT_TRUE(buildSurfaceFeather(generator, dome, strips, 1));
    EXPECT_EQ(strips.barbuleMesh.points.length(), 2u * 6 * 2 * 5);
    EXPECT_EQ(strips.barbuleMesh.polygonCounts.length(), 2u * 6 * 4);
    EXPECT_EQ(strips.rachisMesh.points.length(), 5u * 4);

    info.combineBarbules = true;
    featherGeometry sheet;
    ASSERT_TRUE(buildSurfaceFeather(generator, dome, sheet, 1));
    EXPECT_EQ(sheet.barbuleMesh.points.length(), 2u * 6 * 5);
    EXPECT_EQ(sheet.barbuleMesh.polygonCounts.length(), 2u * 5 * 4);
    EXPECT_EQ(sheet.barbuleMesh.points[7], sheet.leftBarbules[1][2]);
    EXPECT_EQ(sheet.barbuleMesh.vArray[5 * 6 + 5 * 2], 2.0f / 6.0f);
    for (unsigned int i = 0; i < sheet.barbuleMesh.uArray.length(); ++i) {
        EXPECT_LE(sheet.barbuleMesh.uArray[i], 0.5f) << "both surface sides use the lower half";
    }
}

TEST_F(BarbuleBuild, RachisOnlyWithoutBarbulesAndFalseForAnEmptyOrPointPath) {
    info.barbuleCount = 0;
    featherGeometry g;
    EXPECT_TRUE(buildFeather(generator, fixtures::curvedPath(5), g, 1));
    EXPECT_EQ(g.rachisPoints.length(), 5u);
    EXPECT_TRUE(g.leftBarbules.empty());
    EXPECT_TRUE(g.barbuleThickness.length() == 0);

    info.barbuleCount = 10;
    info.barbuleLength = 0.0f;
    featherGeometry noLength;
    EXPECT_TRUE(buildFeather(generator, fixtures::curvedPath(5), noLength, 1));
    EXPECT_TRUE(noLength.rightBarbules.empty());

    featherGeometry untouched;
    untouched.name = "kept";
    EXPECT_FALSE(buildFeather(generator, turtlePath(), untouched, 1));
    EXPECT_EQ(untouched.name, MString("kept"));

    turtlePath point;
    for (int i = 0; i < 4; ++i) {
        point.append(MFloatPoint(1.0f, 2.0f, 3.0f), MFloatVector(0.0f, 1.0f, 0.0f));
    }
    featherGeometry collapsed;
    collapsed.name = "cleared";
    collapsed.mainColor = MColor(0.5f, 0.5f, 0.5f);
    EXPECT_FALSE(buildFeather(generator, point, collapsed, 1));
    EXPECT_TRUE(isCleared(collapsed));
}

TEST_F(BarbuleBuild, NonFiniteOrAbsurdInputReturnsFalseWithAClearedGeometry) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const featherInfo good = info;
    const MObject dome = fixtures::domeSurface();

    auto expectRefused = [&](const std::string& what, const turtlePath& path) {
        featherGeometry g;
        g.rachisPoints.append(MFloatPoint(1.0f, 1.0f, 1.0f));
        g.name = "stale";
        EXPECT_FALSE(buildFeather(generator, path, g, 3)) << what;
        EXPECT_TRUE(isCleared(g)) << what;
        featherGeometry s;
        s.leftPositions.append(4.0f);
        EXPECT_FALSE(buildSurfaceFeather(generator, dome, s, 3)) << what;
        EXPECT_TRUE(isCleared(s)) << what;
    };

    turtlePath bad = fixtures::curvedPath(5);
    bad.frames[2].position.y = nan;
    featherGeometry g;
    EXPECT_FALSE(buildFeather(generator, bad, g, 3));
    EXPECT_TRUE(isCleared(g));
    bad = fixtures::curvedPath(5);
    bad.frames[4].normal.z = -inf;
    EXPECT_FALSE(buildFeather(generator, bad, g, 3));
    EXPECT_TRUE(isCleared(g));

    const turtlePath path = fixtures::curvedPath(5);
    info.barbuleLength = nan;
    expectRefused("barbuleLength NaN", path);
    info = good;
    info.rachisStart = inf;
    expectRefused("rachisStart inf", path);
    info = good;
    info.rachisPosition = nan;
    expectRefused("rachisPosition NaN", path);
    info = good;
    info.keyBarbuleSet.keyPositions[2] = nan;
    expectRefused("key position NaN", path);
    info = good;
    info.noisePhase[1] = -inf;
    expectRefused("noise phase -inf", path);
    info = good;
    info.barbuleGapFrequency = 1e12f;
    expectRefused("gap frequency beyond the noise lattice", path);
    info = good;
    info.barbuleCount = 1 << 30;
    expectRefused("a billion barbules", path);
    info = good;
    info.barbulePointCount = 2000000;
    expectRefused("two million points per barbule", path);
    info = good;
    info.barbuleCount = 100000;
    info.barbulePointCount = 1000;
    expectRefused("1e8 points per side", path);
    info = good;

    // Counts below their minimum are clamped, not refused.
    info.rachisPointCount = -3;
    info.barbulePointCount = 0;
    featherGeometry clamped;
    EXPECT_TRUE(buildFeather(generator, fixtures::curvedPath(3), clamped, 3));
    EXPECT_EQ(clamped.rachisPoints.length(), 3u);
    ASSERT_FALSE(clamped.leftBarbules.empty());
    EXPECT_EQ(clamped.leftBarbules[0].length(), 1u);

    // Surface builds refuse a non-surface.
    info = good;
    featherGeometry s;
    EXPECT_FALSE(buildSurfaceFeather(generator, MObject(), s, 0));
}

// Pinned: the first points of a small feather. Computed once with this build (x86-64, SSE2
// float arithmetic, no fused multiply-add) from the inputs below; the other tests check the
// behaviour, this one catches any drift in the numbers themselves.
TEST_F(BarbuleBuild, PinnedPointsOfASmallFeather) {
    info.barbuleCount = 4;
    info.barbulePointCount = 4;
    info.forcePerSegment = 2.0f;
    info.turnAtForce = 1.0f;
    info.rotateDegree = 7.0f;
    info.upDownLength = 3.0f;
    info.barbuleGapThreshold = 0.3f;
    info.barbuleLengthRandScale = 0.25f;
    info.barbuleRandThick = 0.5f;
    fixtures::setRamp(info.keyBarbuleSet.rotateRamps[1], {{0.0f, 0.2f, MRampAttribute::kSmooth},
                                                          {1.0f, 0.9f, MRampAttribute::kLinear}});
    const featherGeometry g = build(fixtures::curvedPath(5), 11);

    struct pin {
        const std::vector<MFloatPointArray>& side;
        unsigned int barbule, point;
        float x, y, z;
    };
    const pin pins[] = {
        {g.leftBarbules, 0, 1, 0x1.a40a0cp-4f, 0x1.0c2be2p-7f, -0x1.035aa8p-3f},
        {g.leftBarbules, 0, 3, 0x1.446d4ep-2f, 0x1.24a324p-5f, -0x1.7c1228p-2f},
        {g.leftBarbules, 2, 1, 0x1.4cecdep+0f, 0x1.4f518ap-3f, 0x1.b75c42p-3f},
        {g.rightBarbules, 1, 2, 0x1.879648p-1f, 0x1.aef382p-5f, 0x1.2cc398p-2f},
        {g.rightBarbules, 4, 3, 0x1.2e128ep+1f, 0x1.431c42p-1f, 0x1.3a60acp+0f},
    };
    for (const pin& p : pins) {
        ASSERT_LT(p.barbule, p.side.size());
        const MFloatPoint& q = p.side[p.barbule][p.point];
        EXPECT_EQ(q.x, p.x) << p.barbule << "/" << p.point;
        EXPECT_EQ(q.y, p.y) << p.barbule << "/" << p.point;
        EXPECT_EQ(q.z, p.z) << p.barbule << "/" << p.point;
    }
    EXPECT_EQ(g.rachisLength, 0x1.3b3e84p+1f);
}

} // namespace
