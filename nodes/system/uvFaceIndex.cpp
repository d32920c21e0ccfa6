#include "nodes/system/uvFaceIndex.h"

#include "nodes/system/uvInFace.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// About one bucket per face, but never more than this many along either side.
const double maxBucketsPerSide = 1024.0;
// A face whose box covers more buckets than this is tested for every u/v instead of being
// listed in each bucket, which bounds the index's memory for large, overlapping faces.
const long long maxBucketsPerFace = 64;

bool faceHolds(const faceUVPolygons& polygons, unsigned int position, double u, double v) {
    return uvInFace(u, v, polygons.u(position), polygons.v(position),
                    polygons.vertexCount(position)) != uvLocation::outside;
}

int sideCount(double wanted) {
    if (!(wanted >= 1.0)) // NaN included
        return 1;
    return static_cast<int>(std::ceil(std::min(wanted, maxBucketsPerSide)));
}

} // namespace

int findFaceByScan(const faceUVPolygons& polygons, float u, float v) {
    for (unsigned int position = 0; position < polygons.count(); ++position)
        if (faceHolds(polygons, position, u, v))
            return static_cast<int>(position);
    return -1;
}

uvFaceIndex::uvFaceIndex(const faceUVPolygons& polygons) : polygons(polygons) {
    const double infinity = std::numeric_limits<double>::infinity();
    const unsigned int faceCount = polygons.count();
    boxes.assign(faceCount, box{infinity, -infinity, infinity, -infinity});
    bounds = box{infinity, -infinity, infinity, -infinity};

    std::vector<unsigned int> bucketed;
    for (unsigned int position = 0; position < faceCount; ++position) {
        const unsigned int count = polygons.vertexCount(position);
        if (count == 0)
            continue; // holds nothing: never a candidate
        const double* u = polygons.u(position);
        const double* v = polygons.v(position);
        box& b = boxes[position];
        bool finite = true;
        for (unsigned int k = 0; k < count; ++k) {
            finite = finite && std::isfinite(u[k]) && std::isfinite(v[k]);
            b.uMin = std::min(b.uMin, u[k]);
            b.uMax = std::max(b.uMax, u[k]);
            b.vMin = std::min(b.vMin, v[k]);
            b.vMax = std::max(b.vMax, v[k]);
        }
        if (!finite) {
            // The crossing test on such a polygon is not confined to any box.
            b = box{-infinity, infinity, -infinity, infinity};
            everywhere.push_back(position);
            continue;
        }
        bucketed.push_back(position);
        bounds.uMin = std::min(bounds.uMin, b.uMin);
        bounds.uMax = std::max(bounds.uMax, b.uMax);
        bounds.vMin = std::min(bounds.vMin, b.vMin);
        bounds.vMax = std::max(bounds.vMax, b.vMax);
    }
    if (bucketed.empty())
        return;

    // Buckets shaped after the u/v range, about one per face.
    const double width = bounds.uMax - bounds.uMin, height = bounds.vMax - bounds.vMin;
    const double side = std::sqrt(static_cast<double>(bucketed.size()));
    double wantedColumns = 1.0, wantedRows = 1.0;
    if (width > 0.0 && height > 0.0) {
        const double aspect = std::sqrt(width / height);
        wantedColumns = side * aspect;
        wantedRows = side / aspect;
    } else if (width > 0.0) {
        wantedColumns = side * side;
    } else if (height > 0.0) {
        wantedRows = side * side;
    }
    columns = sideCount(wantedColumns);
    rows = sideCount(wantedRows);
    columnScale = width > 0.0 ? columns / width : 0.0;
    rowScale = height > 0.0 ? rows / height : 0.0;

    // Two passes over the faces: count per bucket, then fill in ascending position.
    const size_t bucketCount = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    bucketStart.assign(bucketCount + 1, 0);
    std::vector<unsigned int> wide;
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<unsigned int> fill;
        if (pass == 1) {
            for (size_t b = 0; b < bucketCount; ++b)
                bucketStart[b + 1] += bucketStart[b];
            bucketFaces.resize(bucketStart[bucketCount]);
            fill.assign(bucketStart.begin(), bucketStart.end() - 1);
        }
        for (unsigned int position : bucketed) {
            const box& b = boxes[position];
            const int c0 = bucketU(b.uMin), c1 = bucketU(b.uMax);
            const int r0 = bucketV(b.vMin), r1 = bucketV(b.vMax);
            const long long span = static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1);
            if (span > maxBucketsPerFace) {
                if (pass == 0)
                    wide.push_back(position);
                continue;
            }
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c) {
                    const size_t bucket = static_cast<size_t>(r) * columns + c;
                    if (pass == 0)
                        ++bucketStart[bucket + 1];
                    else
                        bucketFaces[fill[bucket]++] = position;
                }
        }
    }
    everywhere.insert(everywhere.end(), wide.begin(), wide.end());
    std::sort(everywhere.begin(), everywhere.end());
}

// Monotone in u (a rounded subtraction, a positive scale and a floor all are), so a face's
// box [uMin, uMax] covers the bucket of every u inside it.
int uvFaceIndex::bucketU(double u) const {
    const double t = (u - bounds.uMin) * columnScale;
    if (!(t > 0.0))
        return 0;
    return t >= columns ? columns - 1 : static_cast<int>(t);
}

int uvFaceIndex::bucketV(double v) const {
    const double t = (v - bounds.vMin) * rowScale;
    if (!(t > 0.0))
        return 0;
    return t >= rows ? rows - 1 : static_cast<int>(t);
}

bool uvFaceIndex::holds(unsigned int position, double u, double v) const {
    const box& b = boxes[position];
    if (u < b.uMin || u > b.uMax || v < b.vMin || v > b.vMax)
        return false;
    return faceHolds(polygons, position, u, v);
}

int uvFaceIndex::findFace(float uQuery, float vQuery) const {
    const double u = uQuery, v = vQuery;
    if (!std::isfinite(u) || !std::isfinite(v))
        return -1;

    size_t next = 0, end = 0;
    if (columns > 0 && u >= bounds.uMin && u <= bounds.uMax && v >= bounds.vMin &&
        v <= bounds.vMax) {
        const size_t bucket = static_cast<size_t>(bucketV(v)) * columns + bucketU(u);
        next = bucketStart[bucket];
        end = bucketStart[bucket + 1];
    }
    // Both candidate lists ascend: merge them so faces are tried in iteration order.
    size_t other = 0;
    while (next < end || other < everywhere.size()) {
        unsigned int position;
        if (other == everywhere.size() || (next < end && bucketFaces[next] < everywhere[other]))
            position = bucketFaces[next++];
        else
            position = everywhere[other++];
        if (holds(position, u, v))
            return static_cast<int>(position);
    }
    return -1;
}
