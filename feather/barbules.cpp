#include "feather/barbules.h"

#include "feather/arrayReserve.h"
#include "feather/buildInputs.h"
#include "feather/featherInfo.h"
#include "feather/rachis.h"
#include "feather/surfaceSampler.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

const float minimumLength = 1e-5f;

// Seeds are sums in unsigned arithmetic, wrapped into the int the noise takes.
int noiseSeed(unsigned int a, int b, unsigned int offset) {
    return static_cast<int>(a + static_cast<unsigned int>(b) + offset);
}

// Start angle A(t) and key rotation K(t, k / P) interpolated between the four key barbules.
// Without a complete set of four keys both are 0. The rotate ramps are only ever read at
// k / P for whole k, so their values are tabled once per build.
class keyShape {
  public:
    keyShape(const featherInfo& info, const buildInputs& inputs) {
        const keyBarbuleSettings& keys = info.keyBarbuleSet;
        complete_ = inputs.keyCount == 4;
        stepAngle_ = keys.stepAngle;
        for (unsigned int k = 0; k < inputs.keyCount; ++k) {
            positions_[k] = keys.keyPositions[k];
            angles_[k] = keys.startAngles[k];
        }
        points_ = inputs.barbulePointCount;
        if (complete_) {
            turns_.resize(4 * static_cast<size_t>(points_));
            for (int k = 0; k < 4; ++k) {
                for (int pass = 0; pass < points_; ++pass) {
                    const float r = static_cast<float>(pass) / static_cast<float>(points_);
                    turns_[static_cast<size_t>(k * points_ + pass)] =
                        inputs.rotateRamps[k].value(r) - 0.5f;
                }
            }
        }
    }

    float startAngle(float t) const {
        if (!complete_) {
            return 0.0f;
        }
        const float* p = positions_;
        const float* a = angles_;
        if (t <= p[0]) {
            return a[0];
        }
        if (t < p[1]) {
            return blend(a[0], a[1], (t - p[0]) / (p[1] - p[0]));
        }
        if (t < p[2]) {
            return blend(a[1], a[2], (t - p[1]) / (p[2] - p[1]));
        }
        if (!(t < p[3])) {
            return a[3];
        }
        return blend(a[2], a[3], (t - p[2]) / (p[3] - p[2]));
    }

    // K(t, pass / P) for the number of segment boundaries passed, 0 .. P - 1.
    float rotation(float t, int pass) const {
        if (!complete_ || pass < 0 || pass >= points_) {
            return 0.0f;
        }
        const float* p = positions_;
        if (t <= p[0]) {
            return turn(0, pass) * stepAngle_;
        }
        for (int k = 0; k < 3; ++k) {
            if (p[k] < t && t <= p[k + 1]) {
                const float w = (t - p[k]) / (p[k + 1] - p[k]);
                return blend(turn(k, pass), turn(k + 1, pass), w) * stepAngle_;
            }
        }
        if (t > p[3]) {
            return turn(3, pass) * stepAngle_;
        }
        return 0.0f;
    }

  private:
    static float blend(float a, float b, float w) { return (1.0f - w) * a + w * b; }
    float turn(int k, int pass) const { return turns_[static_cast<size_t>(k * points_ + pass)]; }

    std::vector<float> turns_; // rotate ramp k at pass / P, minus 0.5
    int points_ = 1;
    bool complete_ = false;
    float stepAngle_ = 0.0f;
    float positions_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float angles_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// What every barbule of a build reads along its own length: the key shape and the up/down
// ramp at j / P, each evaluated once per build.
struct barbuleTables {
    barbuleTables(const featherInfo& info, const buildInputs& inputs) : keys(info, inputs) {
        const int p = inputs.barbulePointCount;
        bend.resize(static_cast<size_t>(p));
        for (int j = 0; j < p; ++j) {
            bend[static_cast<size_t>(j)] =
                inputs.barbuleUpDownBarbule.value(static_cast<float>(j) / static_cast<float>(p));
        }
    }
    keyShape keys;
    std::vector<float> bend;
};

// The walk along one barbule: before point j the turtle steps forward (from the second point
// on) and, whenever the walked length enters a new key segment, turns by that segment's key
// rotation. Shared by the path and the surface builds, which differ only in what they do at
// each point.
struct keySegmentWalk {
    float walked = 0.0f; // length walked so far
    int segment = 0;     // key segment the turtle is in
    int lastCrossed = 0;
    bool turn = true; // the first point takes segment 0's rotation

    void advance(featherGenerator& gen, const keyShape& keys, int j, float step,
                 float segmentLength, float t, float sign) {
        if (j > 0) {
            gen.forward(step);
            walked += step;
            const int crossed = truncateToInt(walked / segmentLength);
            turn = crossed > lastCrossed;
            if (turn) {
                ++segment;
            }
            lastCrossed = crossed;
        }
        // A turn by exactly 0 degrees leaves the frame as it is; skipping it saves the rotation.
        if (turn) {
            const float key = keys.rotation(t, segment);
            if (key != 0.0f) {
                gen.yaw(sign * key);
            }
        }
    }
};

// The random numbers of one side, all drawn before its barbules are placed.
struct sideDraws {
    std::vector<float> density;
    std::vector<float> thick;
    std::vector<float> length;
    std::vector<float> force; // pointsPerBarbule per index
    // Barbule index -> gap value, ascending by index.
    std::vector<std::pair<int, float>> gaps;

    void make(featherGenerator& generator, const featherInfo& info, int indices, int barbuleCount,
              int pointsPerBarbule, int gapSeed) {
        const size_t n = static_cast<size_t>(indices);
        const size_t p = static_cast<size_t>(pointsPerBarbule);
        density.resize(n);
        thick.resize(n);
        length.resize(n);
        force.resize(n * p);
        gaps.clear();
        gaps.reserve(n);
        for (int i = 0; i < indices; ++i) {
            const size_t index = static_cast<size_t>(i);
            density[index] = generator.randomFloat();
            thick[index] = generator.randomFloat() * info.barbuleRandThick;
            length[index] = generator.randomFloat() * info.barbuleLengthRandScale;
            float* forces = &force[index * p];
            for (size_t j = 0; j < p; ++j) {
                forces[j] = generator.randomFloat() * info.forcePerSegment;
            }
            const float t = static_cast<float>(i) / static_cast<float>(barbuleCount);
            const double g = generator.valueNoise3(
                t * info.barbuleGapFrequency + info.barbuleGapPhase, 0.0, 0.0, gapSeed);
            if (info.barbuleGapThreshold < (g + 1.0) * 0.5) {
                gaps.emplace_back(i, generator.randomFloat());
            }
        }
    }

    // Gap offset of barbule i: rises from 0 after a gap entry to the next entry's value at
    // that entry (a sawtooth along the rachis); 0 before the first entry, after the last and
    // while there are fewer than 3 entries.
    float gapOffset(int i) const {
        if (gaps.size() < 3) {
            return 0.0f;
        }
        const auto next = std::lower_bound(
            gaps.begin(), gaps.end(), i,
            [](const std::pair<int, float>& entry, int index) { return entry.first < index; });
        if (next == gaps.end() || next == gaps.begin()) {
            return 0.0f;
        }
        const auto prev = next - 1;
        return static_cast<float>(i - prev->first) / static_cast<float>(next->first - prev->first) *
               next->second;
    }
};

// Everything a side reads that is the same for all its barbules.
struct sideSetup {
    bool right = false;
    int forceSeed = 0;
    int upDownSeed = 0;
    std::vector<MFloatPointArray>* curves = nullptr;
    std::vector<MFloatVectorArray>* normals = nullptr;
    MFloatArray* positions = nullptr;
    MFloatArray* lengths = nullptr;
    MFloatArray* thickness = nullptr;
    const rampSnapshot* lengthScale = nullptr;
};

sideSetup leftSide(featherGeometry& g, const buildInputs& inputs) {
    sideSetup side;
    side.curves = &g.leftBarbules;
    side.normals = &g.leftNormals;
    side.positions = &g.leftPositions;
    side.lengths = &g.leftLengths;
    side.thickness = &g.leftThickness;
    side.lengthScale = &inputs.leftBarbuleLengthScale;
    return side;
}

sideSetup rightSide(featherGeometry& g, const buildInputs& inputs) {
    sideSetup side;
    side.right = true;
    side.curves = &g.rightBarbules;
    side.normals = &g.rightNormals;
    side.positions = &g.rightPositions;
    side.lengths = &g.rightLengths;
    side.thickness = &g.rightThickness;
    side.lengthScale = &inputs.rightBarbuleLengthScale;
    return side;
}

// Per-build scratch for mesh output, sized once.
struct meshScratch {
    featherMeshData strip;    // the current barbule's strip
    featherMeshData barbule;  // the current barbule's points for the combined sheet
    featherMeshData combined; // the side's combined sheet
    MFloatArray keptLengths;

    void reserve(int indices, int points) {
        const unsigned int p = static_cast<unsigned int>(points);
        const unsigned int all = static_cast<unsigned int>(indices) * p;
        reserveArray(strip.points, 2 * p);
        reserveArray(strip.uArray, 2 * p);
        reserveArray(strip.vArray, 2 * p);
        reserveArray(strip.polygonCounts, p);
        reserveArray(strip.polygonConnects, 4 * p);
        reserveArray(strip.uvIds, 4 * p);
        reserveArray(barbule.points, p);
        reserveArray(barbule.uArray, p);
        reserveArray(barbule.vArray, p);
        reserveArray(combined.points, all);
        reserveArray(combined.uArray, all);
        reserveArray(combined.vArray, all);
        reserveArray(combined.polygonCounts, all);
        reserveArray(combined.polygonConnects, 4 * all);
        reserveArray(combined.uvIds, 4 * all);
        reserveArray(keptLengths, static_cast<unsigned int>(indices));
    }

    void startSide() {
        combined.clear();
        keptLengths.clear();
    }

    // The side's sheet, once its barbules are all added.
    void finishCombined(featherMeshData& out, int pointsPerBarbule, float threshold) {
        appendCombinedFaces(combined, keptLengths.length(),
                            static_cast<unsigned int>(pointsPerBarbule), keptLengths, threshold);
        out.append(combined);
    }
};

// Room for a side's barbules in the geometry and its mesh, so that a build grows nothing
// point by point.
void reserveSide(const sideSetup& side, featherGeometry& g, const featherInfo& info, int indices,
                 int points) {
    const unsigned int n = static_cast<unsigned int>(indices);
    side.curves->reserve(side.curves->size() + n);
    side.normals->reserve(side.normals->size() + n);
    reserveArray(*side.positions, side.positions->length() + n);
    reserveArray(*side.lengths, side.lengths->length() + n);
    reserveArray(*side.thickness, side.thickness->length() + n);
    if (!info.outputFeatherMesh) {
        return;
    }
    const unsigned int p = static_cast<unsigned int>(points);
    const unsigned int vertices = info.combineBarbules ? n * p : 2 * n * p;
    featherMeshData& mesh = g.barbuleMesh;
    reserveArray(mesh.points, mesh.points.length() + vertices);
    reserveArray(mesh.uArray, mesh.uArray.length() + vertices);
    reserveArray(mesh.vArray, mesh.vArray.length() + vertices);
    reserveArray(mesh.polygonCounts, mesh.polygonCounts.length() + n * p);
    reserveArray(mesh.polygonConnects, mesh.polygonConnects.length() + 4 * n * p);
    reserveArray(mesh.uvIds, mesh.uvIds.length() + 4 * n * p);
}

// Ramp position along a strip: j / (P - 1), and 0 for a one-point barbule.
float stripPosition(int j, int points) {
    return points > 1 ? static_cast<float>(j) / static_cast<float>(points - 1) : 0.0f;
}

// Segment length S of a barbule that may walk `available`, scaled by ls; 0 for one point.
float segmentLength(float available, int points, float ls) {
    return points > 1 ? available / static_cast<float>(points - 1) * ls : 0.0f;
}

// One side of buildFeather: barbule indices 0 .. c along a world-space path.
void growPathSide(featherGenerator& gen, const featherInfo& info, const buildInputs& in,
                  const barbuleTables& tables, const turtlePath& path, const sideDraws& draws,
                  const sideSetup& side, float fullLength, meshScratch& scratch,
                  featherGeometry& g) {
    const int c = in.barbuleCount;
    const int p = in.barbulePointCount;
    const bool cubic = info.curveType == 1;
    const bool mesh = info.outputFeatherMesh;
    const bool combine = info.combineBarbules;
    const float sign = side.right ? 1.0f : -1.0f;
    const unsigned int thicknessBase = g.barbuleThickness.length() - static_cast<unsigned int>(p);
    cubicWindow window;
    scratch.startSide();
    reserveSide(side, g, info, c + 1, p);

    for (int i = 0; i <= c; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(c);
        const size_t index = static_cast<size_t>(i);
        if (cubic) {
            window.advance(path, i, c);
        }
        if (draws.density[index] > in.barbuleDensity.value(t)) {
            continue;
        }
        const float ls = side.lengthScale->value(t);
        if (ls < minimumLength) {
            continue;
        }
        if (cubic) {
            window.frame(gen.turtle);
        } else {
            linearFrame(path, t, gen.turtle);
        }
        const float rotS = in.forceRotateScale.value(t);
        const float forceS = in.forcePerSegmentScale.value(t);
        const float udR = in.barbuleUpDownRachis.value(t);
        const float thA = in.barbuleThickAdjust.value(t);
        const float a = tables.keys.startAngle(t);
        const float gap = draws.gapOffset(i);
        gen.yaw(side.right ? -a - gap * info.barbuleGapSize : gap * info.barbuleGapSize + a);

        const float s = segmentLength(fullLength, p, ls);
        const float lengthDraw = draws.length[index];
        const float* forces = &draws.force[index * static_cast<size_t>(p)];
        const float thick = (1.0f - draws.thick[index]) * thA;
        const double noiseX = t * info.rachisNoiseFrequency + info.noisePhase[0];

        side.curves->emplace_back(static_cast<unsigned int>(p));
        side.normals->emplace_back(static_cast<unsigned int>(p));
        MFloatPointArray& curve = side.curves->back();
        MFloatVectorArray& normals = side.normals->back();
        scratch.strip.clear();
        scratch.barbule.clear();

        keySegmentWalk walk;
        const float& acc = walk.walked;
        float sum = 0.0f;
        for (int j = 0; j < p; ++j) {
            walk.advance(gen, tables.keys, j, (1.0f - lengthDraw) * s, s, t, sign);
            const float r = static_cast<float>(j) / static_cast<float>(p);
            // A bend by exactly 0 degrees leaves the frame as it is; skipping it (and the noise
            // that would only scale a zero bend) saves the rotation.
            const double noiseZ = r * info.barbuleNoiseFrequency + info.noisePhase[1];
            sum += forceS * forces[j];
            if (sum > info.turnAtForce) {
                const double n = gen.valueNoise3(noiseX, 0.0, noiseZ, side.forceSeed);
                gen.yaw(static_cast<float>(sign * (rotS * info.rotateDegree * n)));
                sum = 0.0f;
            }
            float h = udR * tables.bend[static_cast<size_t>(j)] * info.upDownLength;
            if (h != 0.0f) {
                if (info.upDownNoise) {
                    const double n = gen.valueNoise3(noiseX, 0.0, noiseZ, side.upDownSeed);
                    h = static_cast<float>(h * ((n + 1.0) * 0.5));
                }
                gen.pitch(h);
            }

            if (mesh) {
                if (combine) {
                    const float u = side.right
                                        ? 0.5f + acc / fullLength * info.uvProjectScale * 0.5f
                                        : 0.5f - acc / fullLength * info.uvProjectScale * 0.5f;
                    scratch.barbule.points.append(gen.turtle.position);
                    scratch.barbule.uArray.append(u);
                    scratch.barbule.vArray.append(t);
                } else {
                    appendStripPair(scratch.strip, gen.turtle, stripPosition(j, p),
                                    thick * g.barbuleThickness[thicknessBase + j]);
                }
            }
            curve[static_cast<unsigned int>(j)] = gen.turtle.position;
            normals[static_cast<unsigned int>(j)] = gen.turtle.up;
        }

        side.positions->append(side.right ? t + 1.0f : t);
        side.lengths->append(acc / fullLength);
        side.thickness->append(thick);
        if (mesh) {
            if (!combine) {
                appendStripFaces(scratch.strip);
                g.barbuleMesh.append(scratch.strip);
            } else if (acc >= info.barbuleLengthThreshold) {
                scratch.combined.append(scratch.barbule);
                scratch.keptLengths.append(acc);
            }
        }
    }
    if (mesh && combine) {
        scratch.finishCombined(g.barbuleMesh, p, info.barbuleLengthThreshold);
    }
}

void fillBarbuleThickness(const featherInfo& info, const buildInputs& in, featherGeometry& g) {
    const int p = in.barbulePointCount;
    reserveArray(g.barbuleThickness, g.barbuleThickness.length() + static_cast<unsigned int>(p));
    for (int j = 0; j < p; ++j) {
        g.barbuleThickness.append(
            in.barbuleThickScale.value(static_cast<float>(j) / static_cast<float>(p)) *
            info.barbuleThick);
    }
}

bool refuse(featherGeometry& geometry) {
    geometry.clear();
    return false;
}

} // namespace

bool buildFeather(featherGenerator& generator, const turtlePath& path, featherGeometry& geometry,
                  unsigned int seed) {
    generator.clampToUnitSquare = false;
    if (path.frames.empty()) {
        return false;
    }
    buildInputs in;
    if (!generator.info || !in.prepare(*generator.info)) {
        return refuse(geometry);
    }
    return buildPreparedFeather(generator, in, path, geometry, seed);
}

bool buildPreparedRachis(const featherInfo& info, const buildInputs& in, const turtlePath& path,
                         featherGeometry& geometry) {
    if (path.frames.empty()) {
        return false;
    }
    if (!pathIsFinite(path)) {
        return refuse(geometry);
    }
    sampleRachis(path, info.rachisStart, info.rachisEnd, in.rachisPointCount, geometry);
    if (geometry.rachisLength < minimumLength) {
        return refuse(geometry);
    }
    expandExtentBox(geometry, geometry.rachisLength * info.barbuleLength, 1.0f,
                    info.proxyBoundingBoxScale);
    return true;
}

bool buildPreparedFeather(featherGenerator& generator, const buildInputs& in,
                          const turtlePath& path, featherGeometry& geometry, unsigned int seed) {
    generator.clampToUnitSquare = false;
    if (path.frames.empty()) {
        return false;
    }
    const featherInfo* infoPointer = generator.info;
    if (!infoPointer) {
        return refuse(geometry);
    }
    const featherInfo& info = *infoPointer;
    if (!buildPreparedRachis(info, in, path, geometry)) {
        return false;
    }
    geometry.seed = static_cast<int>(seed);
    const float fullLength = geometry.rachisLength * info.barbuleLength;
    fillRachisThickness(in.rachisThickScale, info.rachisThick, geometry);
    if (info.rachisRenderAs == 1 || info.outputFeatherMesh) {
        buildRachisMesh(geometry, info.rachisThick, info.rachisSides);
    }

    const int c = in.barbuleCount;
    if (c < 1 || info.barbuleLength < minimumLength) {
        return true;
    }
    fillBarbuleThickness(info, in, geometry);
    generator.seed(seed);

    const barbuleTables tables(info, in);
    sideDraws draws;
    meshScratch scratch;
    if (info.outputFeatherMesh) {
        scratch.reserve(c + 1, in.barbulePointCount);
    }

    sideSetup left = leftSide(geometry, in);
    left.forceSeed = noiseSeed(seed, info.randSeed, 658);
    left.upDownSeed = noiseSeed(seed, info.randSeed, 661);
    draws.make(generator, info, c + 1, c, in.barbulePointCount,
               noiseSeed(seed, info.randSeed, 540));
    growPathSide(generator, info, in, tables, path, draws, left, fullLength, scratch, geometry);

    sideSetup right = rightSide(geometry, in);
    right.forceSeed = noiseSeed(seed, info.randSeed, 12);
    right.upDownSeed = noiseSeed(seed, info.randSeed, 456);
    draws.make(generator, info, c + 1, c, in.barbulePointCount, noiseSeed(seed, info.randSeed, 5));
    growPathSide(generator, info, in, tables, path, draws, right, fullLength, scratch, geometry);
    return true;
}

namespace {

// One side of buildSurfaceFeather: barbule indices 0 .. c - 1 walked in parameter space and
// projected onto the surface. False when a sample fails.
bool growSurfaceSide(featherGenerator& gen, const featherInfo& info, const buildInputs& in,
                     const barbuleTables& tables, const surfaceSampler& surface,
                     const sideDraws& draws, const sideSetup& side, float available,
                     std::vector<float>& walked, featherGeometry& g) {
    const int c = in.barbuleCount;
    const int p = in.barbulePointCount;
    const float sign = side.right ? -1.0f : 1.0f;
    const float lift = info.proxyBoundingBoxScale[2];
    walked.clear();
    reserveSide(side, g, info, c, p);

    gen.turtle.position = MFloatPoint(0.0f, 0.0f, info.rachisPosition, 1.0f);
    gen.turtle.heading = MFloatVector(1.0f, 0.0f, 0.0f);
    gen.turtle.up = MFloatVector(0.0f, 1.0f, 0.0f);
    gen.savedTurtle = gen.turtle;
    const float advance = 1.0f / static_cast<float>(c);

    for (int i = 0; i < c; ++i) {
        gen.turtle = gen.savedTurtle;
        if (i > 0) {
            gen.forward(advance);
        }
        gen.savedTurtle = gen.turtle;

        const float t = static_cast<float>(i) / static_cast<float>(c);
        const size_t index = static_cast<size_t>(i);
        if (draws.density[index] > in.barbuleDensity.value(t)) {
            continue;
        }
        const float ls = side.lengthScale->value(t);
        if (ls < minimumLength) {
            continue;
        }
        const float rotS = in.forceRotateScale.value(t);
        const float forceS = in.forcePerSegmentScale.value(t);
        const float thA = in.barbuleThickAdjust.value(t);
        const float a = tables.keys.startAngle(t);
        const float gap = draws.gapOffset(i);
        gen.yaw(side.right ? gap * info.barbuleGapSize + a : -a - gap * info.barbuleGapSize);

        const float s = segmentLength(available, p, ls);
        const float lengthDraw = draws.length[index];
        const float* forces = &draws.force[index * static_cast<size_t>(p)];
        const double noiseX = t * info.rachisNoiseFrequency + info.noisePhase[0];
        // The bending noise does not vary along the barbule.
        double bendNoise = 1.0;
        if (info.upDownNoise) {
            const double n = gen.valueNoise3(noiseX, 0.0, info.noisePhase[1], side.upDownSeed);
            bendNoise = (n + 1.0) * 0.5;
        }

        side.curves->emplace_back(static_cast<unsigned int>(p));
        side.normals->emplace_back(static_cast<unsigned int>(p));
        MFloatPointArray& curve = side.curves->back();
        MFloatVectorArray& normals = side.normals->back();

        keySegmentWalk walk;
        const float& acc = walk.walked;
        float sum = 0.0f;
        for (int j = 0; j < p; ++j) {
            walk.advance(gen, tables.keys, j, (1.0f - lengthDraw) * s, s, t, sign);
            const float r = static_cast<float>(j) / static_cast<float>(p);
            sum += forceS * forces[j];
            if (sum > info.turnAtForce) {
                const double noiseZ = r * info.barbuleNoiseFrequency + info.noisePhase[1];
                const double n = gen.valueNoise3(noiseX, 0.0, noiseZ, side.forceSeed);
                gen.yaw(static_cast<float>(rotS * info.rotateDegree * n));
                sum = 0.0f;
            }
            MFloatPoint x;
            MFloatVector normal;
            if (!surface.sample(gen.turtle.position, x, normal)) {
                return false;
            }
            normal.normalize();
            float offset = tables.bend[static_cast<size_t>(j)] * info.upDownLength;
            if (info.upDownNoise) {
                offset = static_cast<float>(offset * bendNoise);
            }
            x += normal * offset;
            normals[static_cast<unsigned int>(j)] = normal;
            curve[static_cast<unsigned int>(j)] = x;
            const MFloatVector margin = normal * lift;
            expandBox(g.proxyBox, x);
            expandBox(g.proxyBox, x + margin);
            expandBox(g.proxyBox, x - margin);
        }

        side.positions->append(side.right ? t + 1.0f : t);
        side.lengths->append(acc / available);
        side.thickness->append((1.0f - draws.thick[index]) * thA);
        walked.push_back(acc);
    }
    return true;
}

// The mesh of a surface side, made from its stored curves: a strip per barbule or the side's
// combined sheet. `first` is the side's first curve in the geometry.
void meshSurfaceSide(featherGenerator& gen, const featherInfo& info, const buildInputs& in,
                     const sideSetup& side, size_t first, const std::vector<float>& walked,
                     meshScratch& scratch, featherGeometry& g) {
    const int c = in.barbuleCount;
    const int p = in.barbulePointCount;
    const bool combine = info.combineBarbules;
    const unsigned int thicknessBase = g.barbuleThickness.length() - static_cast<unsigned int>(p);
    scratch.startSide();
    for (size_t b = first; b < side.curves->size(); ++b) {
        const size_t number = b - first;
        const MFloatPointArray& curve = (*side.curves)[b];
        const MFloatVectorArray& normals = (*side.normals)[b];
        const unsigned int place = static_cast<unsigned int>(b);
        const float thickness = (*side.thickness)[place];
        const float u = 0.5f - info.uvProjectScale * (*side.lengths)[place] * 0.5f;
        const float v = static_cast<float>(number) / static_cast<float>(c);
        scratch.strip.clear();
        scratch.barbule.clear();
        for (int j = 0; j < p; ++j) {
            const unsigned int pj = static_cast<unsigned int>(j);
            gen.turtle.position = curve[pj];
            gen.turtle.up = normals[pj];
            if (pj + 1 < curve.length()) {
                gen.turtle.heading = curve[pj + 1] - curve[pj];
            } else if (pj > 0) {
                gen.turtle.heading = curve[pj] - curve[pj - 1];
            } else {
                gen.turtle.heading = MFloatVector::zero;
            }
            gen.turtle.heading.normalize();
            if (combine) {
                scratch.barbule.points.append(gen.turtle.position);
                scratch.barbule.uArray.append(u);
                scratch.barbule.vArray.append(v);
            } else {
                appendStripPair(scratch.strip, gen.turtle, stripPosition(j, p),
                                g.barbuleThickness[thicknessBase + pj] * thickness);
            }
        }
        if (!combine) {
            appendStripFaces(scratch.strip);
            g.barbuleMesh.append(scratch.strip);
        } else if (walked[number] >= info.barbuleLengthThreshold) {
            scratch.combined.append(scratch.barbule);
            scratch.keptLengths.append(walked[number]);
        }
    }
    if (combine) {
        scratch.finishCombined(g.barbuleMesh, p, info.barbuleLengthThreshold);
    }
}

} // namespace

bool buildSurfaceFeather(featherGenerator& generator, const MObject& surface,
                         featherGeometry& geometry, int guideIndex) {
    generator.clampToUnitSquare = true;
    const featherInfo* infoPointer = generator.info;
    buildInputs in;
    if (!infoPointer || !in.prepare(*infoPointer)) {
        return refuse(geometry);
    }
    const featherInfo& info = *infoPointer;
    const surfaceSampler sampler(surface, info.direction);
    if (!sampler.valid()) {
        return refuse(geometry);
    }
    generator.seed(static_cast<unsigned int>(guideIndex) +
                   static_cast<unsigned int>(info.randSeed));

    if (std::fabs(info.rachisEnd - info.rachisStart) >= minimumLength) {
        if (!walkSurfaceRachis(generator, info, sampler, in.rachisPointCount, in.rachisThickScale,
                               true, geometry)) {
            return refuse(geometry);
        }
        geometry.rachisLength = polylineLength(geometry.rachisPoints);
        if (info.rachisRenderAs == 1 || info.outputFeatherMesh) {
            buildRachisMesh(geometry, info.rachisThick, info.rachisSides);
        }
    }
    fillBarbuleThickness(info, in, geometry);

    const int c = in.barbuleCount;
    if (c < 1 || info.barbuleLength < minimumLength) {
        return true;
    }
    const bool hasLeft = 1.0f - info.rachisPosition >= minimumLength;
    const bool hasRight = info.rachisPosition >= minimumLength;
    const unsigned int gi = static_cast<unsigned int>(guideIndex);
    const barbuleTables tables(info, in);
    sideDraws draws;
    meshScratch scratch;
    std::vector<float> walked;
    walked.reserve(static_cast<size_t>(c));
    if (info.outputFeatherMesh) {
        scratch.reserve(c, in.barbulePointCount);
    }

    if (hasLeft) {
        sideSetup left = leftSide(geometry, in);
        left.forceSeed = noiseSeed(gi, info.randSeed, 363);
        left.upDownSeed = noiseSeed(gi, info.randSeed, 202);
        const size_t first = left.curves->size();
        draws.make(generator, info, c, c, in.barbulePointCount, noiseSeed(gi, info.randSeed, 135));
        const float available = (1.0f - info.rachisPosition) * info.barbuleLength;
        if (!growSurfaceSide(generator, info, in, tables, sampler, draws, left, available, walked,
                             geometry)) {
            return refuse(geometry);
        }
        if (info.outputFeatherMesh) {
            meshSurfaceSide(generator, info, in, left, first, walked, scratch, geometry);
        }
    }
    if (hasRight) {
        sideSetup right = rightSide(geometry, in);
        right.forceSeed = noiseSeed(gi, info.randSeed, 9841);
        right.upDownSeed = noiseSeed(gi, info.randSeed, 2036);
        const size_t first = right.curves->size();
        draws.make(generator, info, c, c, in.barbulePointCount, noiseSeed(gi, info.randSeed, 125));
        const float available = info.rachisPosition * info.barbuleLength;
        if (!growSurfaceSide(generator, info, in, tables, sampler, draws, right, available, walked,
                             geometry)) {
            return refuse(geometry);
        }
        if (info.outputFeatherMesh) {
            meshSurfaceSide(generator, info, in, right, first, walked, scratch, geometry);
        }
    }
    return true;
}
