#include "nodes/system/featherPlacement.h"

#include "feather/arrayReserve.h"
#include "feather/buildInputs.h"
#include "feather/featherGenerator.h"
#include "feather/systemParams.h"
#include "nodes/system/faceUVPolygons.h"
#include "nodes/system/uvFaceIndex.h"
#include "nodes/system/uvInfoFile.h"

#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MIntArray.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MPoint.h>

#include <libnoise/noise.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Seeds derived from the system's seed: the grid's second noise field and the thinning draws.
const unsigned int jitterVSeedOffset = 3052u;
const unsigned int thinningSeedOffset = 3584u;

// Seed arithmetic wraps like the engine's unsigned seeds instead of overflowing an int.
int offsetSeed(int seed, unsigned int offset) {
    return static_cast<int>(static_cast<unsigned int>(seed) + offset);
}

double jitterNoise(double x, double z, int seed) {
    return noise::GradientCoherentNoise3D(x, 0.0, z, seed, noise::QUALITY_STD);
}

void translate(MFloatArray& values, float shift) {
    for (unsigned int k = 0; k < values.length(); ++k)
        values[k] += shift;
}

// Beyond float range a position becomes infinite (the system then reports such roots).
MFloatPoint floatPoint(const MPoint& p) {
    return MFloatPoint(narrowToFloat(p.x), narrowToFloat(p.y), narrowToFloat(p.z));
}

// The UV info file's lists, or false when it is wanted but cannot be used.
bool readRootsFile(const systemParams& params, MFloatArray& u, MFloatArray& v, MIntArray& faceIds,
                   unsigned long long maxRoots) {
    return params.uviFile.length() > 0 && readUVInfoFile(params.uviFile, u, v, faceIds, maxRoots);
}

// Appends the point at (u, v) on the iterator's current face, if the face has one there.
void appendPointOnFace(MItMeshPolygon& faces, float u, float v, const MString& uvSetName,
                       featherRoots& roots) {
    float2 uv = {u, v};
    MPoint point;
    if (faces.getPointAtUV(point, uv, MSpace::kWorld, &uvSetName, 0.0f))
        roots.append(floatPoint(point), u, v);
}

} // namespace

bool placementGrid(const gridSettings& grid, double uMin, double uMax, double vMin, double vMax,
                   MFloatArray& u, MFloatArray& v) {
    u.clear();
    v.clear();
    const int uCount = grid.uSegment, vCount = grid.vSegment;
    if (uCount <= 0 || vCount <= 0)
        return true;
    if (static_cast<long long>(uCount) * static_cast<long long>(vCount) > maxGridCells)
        return false;
    const double du = (uMax - uMin) / uCount;
    const double dv = (vMax - vMin) / vCount;
    if (du < 1e-6 || dv < 1e-6 || !std::isfinite(du) || !std::isfinite(dv)) {
        const bool usableRange = uMax - uMin >= 1e-6 && vMax - vMin >= 1e-6 &&
                                 std::isfinite(uMax - uMin) && std::isfinite(vMax - vMin);
        return !usableRange;
    }

    const unsigned int total = static_cast<unsigned int>(uCount * vCount);
    reserveArray(u, total);
    reserveArray(v, total);
    const double frequency = grid.jitterFrequency, distance = grid.jitterDistance;
    const int seedU = grid.randomSeed, seedV = offsetSeed(grid.randomSeed, jitterVSeedOffset);
    for (int i = 0; i < uCount; ++i)
        for (int j = 0; j < vCount; ++j) {
            const double cu = (i * du + du * 0.5) + uMin;
            const double cv = (j * dv + dv * 0.5) + vMin;
            double uu =
                cu + jitterNoise(frequency * cu, frequency * cv, seedU) * (du * 0.5 * distance);
            // The v jitter samples at the jittered u but the cell's own v.
            double vv =
                cv + jitterNoise(frequency * uu, frequency * cv, seedV) * (dv * 0.5 * distance);
            uu = j % 2 == 0 ? uu - grid.uvOffset[0] : uu + grid.uvOffset[0];
            vv = i % 2 == 0 ? vv - grid.uvOffset[1] : vv + grid.uvOffset[1];
            u.append(static_cast<float>(uu));
            v.append(static_cast<float>(vv));
        }
    return true;
}

MStatus placeOnSurface(const MDagPath& surface, const gridSettings& grid,
                       const systemParams& params, featherRoots& roots,
                       unsigned long long maxFileRoots) {
    roots.clear();
    if (surface.apiType() != MFn::kNurbsSurface)
        return MS::kFailure;
    MStatus status;
    MFnNurbsSurface surfaceFn(surface, &status);
    if (!status)
        return status;

    MFloatArray u, v;
    if (params.useUVIFile) {
        MIntArray faceIds; // a surface has no faces: ignored
        if (!readRootsFile(params, u, v, faceIds, maxFileRoots))
            return MS::kFailure;
    } else {
        if (!placementGrid(grid, 0.0, 1.0, 0.0, 1.0, u, v))
            return MS::kInvalidParameter;
        translate(u, params.uvTranslate[0]);
        translate(v, params.uvTranslate[1]);
    }

    const unsigned int count = std::min(u.length(), v.length());
    for (unsigned int k = 0; k < count; ++k) {
        MPoint point;
        if (surfaceFn.getPointAtParam(u[k], v[k], point, MSpace::kWorld))
            roots.append(floatPoint(point), u[k], v[k]);
    }
    return MS::kSuccess;
}

MStatus placeOnMesh(MItMeshPolygon& faces, const gridSettings& grid, const systemParams& params,
                    featherRoots& roots, unsigned long long maxFileRoots) {
    roots.clear();
    const MString& uvSetName = params.uvSetName;
    MFloatArray u, v;
    MIntArray faceIds;
    faceUVPolygons polygons;
    if (params.useUVIFile) {
        if (!readRootsFile(params, u, v, faceIds, maxFileRoots))
            return MS::kFailure;
        if (faceIds.length() == 0)
            readFaceUVPolygons(faces, uvSetName, polygons); // per-face failures: empty polygons
    } else {
        // kFailure whatever the reason: kInvalidParameter is the grid's refusal.
        if (!readFaceUVPolygons(faces, uvSetName, polygons))
            return MS::kFailure;
        double uMin = 0.0, uMax = 0.0, vMin = 0.0, vMax = 0.0;
        bool collected = false;
        for (unsigned int position = 0; position < polygons.count(); ++position)
            for (unsigned int k = 0; k < polygons.vertexCount(position); ++k) {
                const double pu = polygons.u(position)[k], pv = polygons.v(position)[k];
                uMin = collected ? std::min(uMin, pu) : pu;
                uMax = collected ? std::max(uMax, pu) : pu;
                vMin = collected ? std::min(vMin, pv) : pv;
                vMax = collected ? std::max(vMax, pv) : pv;
                collected = true;
            }
        if (!collected)
            return MS::kSuccess;
        if (!placementGrid(grid, uMin, uMax, vMin, vMax, u, v))
            return MS::kInvalidParameter;
        translate(u, params.uvTranslate[0]);
        translate(v, params.uvTranslate[1]);
    }

    const unsigned int count = std::min(u.length(), v.length());
    if (faceIds.length() > 0) {
        for (unsigned int k = 0; k < count && k < faceIds.length(); ++k) {
            int previous = 0;
            if (faces.setIndex(faceIds[k], previous))
                appendPointOnFace(faces, u[k], v[k], uvSetName, roots);
        }
        return MS::kSuccess;
    }

    // Each root goes to the first face in iteration order that holds its u/v; the index finds
    // that face without testing every face for every root.
    const uvFaceIndex index(polygons);
    for (unsigned int k = 0; k < count; ++k) {
        const int position = index.findFace(u[k], v[k]);
        int previous = 0;
        if (position >= 0 &&
            faces.setIndex(polygons.faceId(static_cast<unsigned int>(position)), previous))
            appendPointOnFace(faces, u[k], v[k], uvSetName, roots);
    }
    return MS::kSuccess;
}

void thinForDisplay(featherRoots& roots, float keepFraction, int seed,
                    featherGenerator& generator) {
    if (keepFraction >= 1.0f)
        return;
    generator.seed(static_cast<unsigned int>(offsetSeed(seed, thinningSeedOffset)));
    // Every draw is made before any root is dropped, so the draws do not depend on q.
    const unsigned int count = roots.length();
    std::vector<float> draws(count);
    for (unsigned int k = 0; k < count; ++k)
        draws[k] = generator.randomFloat();

    featherRoots kept;
    for (unsigned int k = 0; k < count; ++k)
        if (keepFraction > draws[k])
            kept.append(roots.rootPositions[k], roots.rootU[k], roots.rootV[k]);
    roots = kept;
}
