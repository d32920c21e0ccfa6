#include "nodes/component/meshWalking.h"

#include <maya/MFnMesh.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cstdint>

namespace {

// A quarter turn in single precision, and the base half-width factor 0.3, both as floats
// widened to double, so that markers match those the node has always drawn.
const double quarterTurn = static_cast<double>(1.5707963f);
const double halfBase = static_cast<double>(0.3f);

// Distances at or beyond this never pick a grow vertex.
const double farAway = 100000000.0;

// Appends the ids from..to (either direction) that lie below vertexCount. Only the part of
// the range inside the mesh is walked, so "0:4294967295" costs no more than the mesh's size.
// False when the list would grow past maxWalkIds.
bool appendRange(std::int64_t from, std::int64_t to, std::int64_t vertexCount, MIntArray& ids) {
    const std::int64_t last = vertexCount - 1;
    if (from <= to) {
        if (from > last)
            return true;
        to = std::min(to, last);
        if (static_cast<std::int64_t>(ids.length()) + (to - from + 1) > maxWalkIds)
            return false;
        for (std::int64_t id = from; id <= to; ++id)
            ids.append(static_cast<int>(id));
    } else {
        if (to > last)
            return true;
        from = std::min(from, last);
        if (static_cast<std::int64_t>(ids.length()) + (from - to + 1) > maxWalkIds)
            return false;
        for (std::int64_t id = from; id >= to; --id)
            ids.append(static_cast<int>(id));
    }
    return true;
}

} // namespace

MIntArray parseVertexGroup(const MString& text, int vertexCount, bool* overLimit) {
    if (overLimit)
        *overLimit = false;
    const auto tooMany = [overLimit]() {
        if (overLimit)
            *overLimit = true;
        return MIntArray();
    };
    MIntArray ids;
    MStringArray tokens;
    text.split(' ', tokens);
    const std::int64_t count = std::max(vertexCount, 0);
    for (unsigned int t = 0; t < tokens.length(); ++t) {
        MStringArray parts;
        tokens[t].split(':', parts);
        if (parts.length() == 1 && parts[0].isUnsigned()) {
            const std::int64_t id = parts[0].asUnsigned();
            if (!appendRange(id, id, count, ids))
                return tooMany();
        } else if (parts.length() == 2 && parts[0].isUnsigned() && parts[1].isUnsigned()) {
            if (!appendRange(parts[0].asUnsigned(), parts[1].asUnsigned(), count, ids))
                return tooMany();
        }
    }
    if (ids.length() < 2)
        ids.clear();
    return ids;
}

void buildTurtleRecord(const MFnMesh& mesh, const MIntArray& ids, MVectorArray& points,
                       MVectorArray& normals, MString& usedIds) {
    points.clear();
    normals.clear();
    usedIds.clear();
    for (unsigned int k = 0; k < ids.length(); ++k) {
        MPoint point;
        if (mesh.getPoint(ids[k], point, MSpace::kWorld) != MS::kSuccess)
            continue;
        MVector normal;
        if (mesh.getVertexNormal(ids[k], false, normal, MSpace::kWorld) != MS::kSuccess)
            continue;
        points.append(MVector(point));
        normals.append(normal);
        usedIds += ids[k];
        usedIds += " ";
    }
    if (points.length() < 2) {
        points.clear();
        normals.clear();
        usedIds.clear();
    }
}

std::vector<MIntArray> walkVertexGroup(const MString& text, int walkStep, int walkTimes,
                                       int vertexCount, bool* overLimit) {
    std::vector<MIntArray> groups;
    const MIntArray base = parseVertexGroup(text, vertexCount, overLimit);
    if (base.length() == 0)
        return groups;
    const std::int64_t times = walkTimes >= 0 ? walkTimes : 2147483647;
    const std::int64_t step = std::max(walkStep, 1);
    // Offsets are kept in 64 bits: a large step must end the walk, not wrap around into it.
    std::int64_t offset = 0;
    std::uint64_t listed = 0;
    for (std::int64_t pass = 0; pass < times; ++pass) {
        MIntArray group;
        for (unsigned int k = 0; k < base.length(); ++k) {
            const std::int64_t id = base[k] + offset;
            if (id >= vertexCount)
                return groups;
            group.append(static_cast<int>(id));
        }
        listed += group.length();
        if (listed > maxWalkIds) {
            if (overLimit)
                *overLimit = true;
            return std::vector<MIntArray>();
        }
        groups.push_back(group);
        offset += step;
    }
    return groups;
}

std::vector<turtleRecord> buildTurtleRecords(const MFnMesh& mesh,
                                             const std::vector<MIntArray>& groups) {
    std::vector<turtleRecord> records;
    MString usedIds;
    for (const MIntArray& group : groups) {
        turtleRecord record;
        buildTurtleRecord(mesh, group, record.points, record.normals, usedIds);
        if (record.points.length() > 1)
            records.push_back(record);
    }
    return records;
}

void sampleGrowUVs(std::vector<turtleRecord>& records, MFnMesh& growMesh, const MString& uvSet) {
    // One buffer for the pass: a failed lookup leaves what the one before found.
    float2 uv = {0.0f, 0.0f};
    for (turtleRecord& record : records) {
        if (record.points.length() == 0)
            continue;
        int closestPolygon = -1;
        growMesh.getUVAtPoint(MPoint(record.points[0]), uv, MSpace::kWorld, &uvSet,
                              &closestPolygon);
        record.u = uv[0];
        record.v = uv[1];
    }
}

void findGrowVertexIds(std::vector<turtleRecord>& records, const MFnMesh& growMesh) {
    for (turtleRecord& record : records) {
        if (record.points.length() == 0)
            continue;
        const MPoint root(record.points[0]);
        MPoint closest;
        int polygonId = -1;
        growMesh.getClosestPoint(root, closest, MSpace::kWorld, &polygonId);
        MIntArray vertices;
        growMesh.getPolygonVertices(polygonId, vertices);
        // The distance is to the root itself, not to the closest point found above.
        double best = farAway;
        for (unsigned int k = 0; k < vertices.length(); ++k) {
            MPoint p;
            if (growMesh.getPoint(vertices[k], p, MSpace::kWorld) != MS::kSuccess)
                continue;
            const double d = p.distanceTo(root);
            if (d < best) {
                record.growVertexID = vertices[k];
                best = d;
            }
        }
    }
}

void markerTriangle(const MVectorArray& points, const MVectorArray& normals, float size,
                    MPointArray& marker) {
    if (points.length() < 2 || normals.length() < 1)
        return;
    const MPoint p0(points[0]);
    const MPoint p1(points[1]);
    const MVector d = (p1 - p0) * static_cast<double>(size);
    marker.append(p0 + d);
    const MVector w = d.rotateBy(MQuaternion(quarterTurn, normals[0]));
    marker.append(p0 + w * halfBase);
    marker.append(p0 - w * halfBase);
}
