#include "feather/rachis.h"

#include "feather/arrayReserve.h"
#include "feather/buildInputs.h"
#include "feather/featherInfo.h"

#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>

namespace {

const int maxSurfacePathFrames = 1 << 20;
// A quarter turn as the single-precision constant the frames use.
const float quarterTurn = 1.570796251296997f;
const float fullTurn = 6.283185f;

int clampIndex(int index, int count) {
    return std::min(std::max(index, 0), count - 1);
}

void placeTurtle(featherGenerator& generator, float across) {
    generator.turtle.position = MFloatPoint(0.0f, 0.0f, across, 1.0f);
    generator.turtle.heading = MFloatVector(1.0f, 0.0f, 0.0f);
    generator.turtle.up = MFloatVector(0.0f, 1.0f, 0.0f);
}

// The rachis tangent at point i: towards the next point, at the last point from the previous.
MFloatVector tangentAt(const MFloatPointArray& points, unsigned int i) {
    const unsigned int m = points.length();
    return i + 1 < m ? points[i + 1] - points[i] : points[i] - points[i - 1];
}

} // namespace

void expandBox(MBoundingBox& box, const MFloatPoint& point) {
    box.expand(MPoint(point.x, point.y, point.z));
}

bool turtleFromSurface(featherGenerator& generator, const MObject& surface, turtlePath& path) {
    generator.clampToUnitSquare = true;
    path.reset();
    const featherInfo* info = generator.info;
    if (!info || !std::isfinite(info->rachisPosition) ||
        info->rachisPointCount > maxSurfacePathFrames) {
        return false;
    }
    const surfaceSampler sampler(surface, info->direction);
    if (!sampler.valid()) {
        return false;
    }
    const int count = std::max(info->rachisPointCount, 2);
    const float step = 1.0f / static_cast<float>(count - 1);
    placeTurtle(generator, info->rachisPosition);
    path.frames.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            generator.forward(step);
        }
        MFloatPoint point;
        MFloatVector normal;
        if (!sampler.sample(generator.turtle.position, point, normal)) {
            path.reset();
            return false;
        }
        path.append(point, normal);
    }
    return true;
}

bool turtleFromData(const MVectorArray& positions, const MVectorArray& normals, turtlePath& path) {
    const unsigned int n = positions.length();
    if (n < 2 || normals.length() != n) {
        return false;
    }
    path.frames.reserve(path.frames.size() + n);
    for (unsigned int i = 0; i < n; ++i) {
        const MVector& p = positions[i];
        path.append(MFloatPoint(static_cast<float>(p.x), static_cast<float>(p.y),
                                static_cast<float>(p.z), 1.0f),
                    MFloatVector(normals[i]));
    }
    return true;
}

float polylineLength(const MFloatPointArray& points) {
    float length = 0.0f;
    for (unsigned int i = 1; i < points.length(); ++i) {
        length += points[i].distanceTo(points[i - 1]);
    }
    return length;
}

void sampleRachis(const turtlePath& path, float start, float end, int count,
                  featherGeometry& geometry) {
    const int n = static_cast<int>(path.frameCount());
    if (n == 0) {
        return;
    }
    const int c = std::max(count, 2);
    MFloatPointArray& points = geometry.rachisPoints;
    MFloatVectorArray& normals = geometry.rachisNormals;
    if (start < 1e-6f && end > 0.999999f && n >= c) {
        reserveArray(points, points.length() + static_cast<unsigned int>(n));
        reserveArray(normals, normals.length() + static_cast<unsigned int>(n));
        for (const turtleFrame& frame : path.frames) {
            points.append(frame.position);
            normals.append(frame.normal);
        }
    } else {
        reserveArray(points, points.length() + static_cast<unsigned int>(c));
        reserveArray(normals, normals.length() + static_cast<unsigned int>(c));
        const float span = end - start;
        const float last = static_cast<float>(n - 1);
        for (int i = 0; i < c; ++i) {
            const float e =
                (static_cast<float>(i) * span / static_cast<float>(c - 1) + start) * last;
            // Rounding and out-of-range ends never index outside the path.
            const int f = clampIndex(truncateToInt(e), n);
            const turtleFrame& below = path.frames[static_cast<size_t>(f)];
            if (f < n - 1) {
                const turtleFrame& above = path.frames[static_cast<size_t>(f + 1)];
                points.append(below.position +
                              (above.position - below.position) * (e - static_cast<float>(f)));
            } else {
                points.append(below.position);
            }
            normals.append(below.normal);
        }
    }
    geometry.rachisLength = polylineLength(points);
}

void fillRachisThickness(const rampSnapshot& scale, float thick, featherGeometry& geometry) {
    const unsigned int m = geometry.rachisPoints.length();
    reserveArray(geometry.rachisThickness, geometry.rachisThickness.length() + m);
    for (unsigned int i = 0; i < m; ++i) {
        geometry.rachisThickness.append(scale.value(static_cast<float>(i) / static_cast<float>(m)) *
                                        thick);
    }
}

void linearFrame(const turtlePath& path, float t, turtleState& frame) {
    const int n = static_cast<int>(path.frameCount());
    const std::vector<turtleFrame>& f = path.frames;
    if (n == 1) {
        frame.position = f[0].position;
        frame.heading = MFloatVector::zero;
        frame.up = f[0].normal;
        frame.up.normalize();
        return;
    }
    const float s = t * static_cast<float>(n - 1);
    const int k = std::max(truncateToInt(s), 0);
    const float w = s - static_cast<float>(k);
    if (k < n - 1) {
        const MFloatVector segment = f[k + 1].position - f[k].position;
        frame.position = f[k].position + segment * w;
        frame.heading = segment;
        frame.up = f[k].normal * (1.0f - w) + f[k + 1].normal * w;
    } else {
        frame.position = f[n - 1].position;
        frame.heading = f[n - 1].position - f[n - 2].position;
        frame.up = f[n - 1].normal;
    }
    frame.heading.normalize();
    frame.up.normalize();
}

void cubicSample(const turtlePath& path, float x, MFloatPoint& point, MFloatVector& normal) {
    const int n = static_cast<int>(path.frameCount());
    const std::vector<turtleFrame>& f = path.frames;
    const float step = path.step;
    const int k = truncateToInt(x / step);
    const float t = (x - static_cast<float>(k) * step) / step;
    const MFloatPoint& p0 = f[clampIndex(k - 1, n)].position;
    const MFloatPoint& p1 = f[clampIndex(k, n)].position;
    const MFloatPoint& p2 = f[clampIndex(k + 1, n)].position;
    const MFloatPoint& p3 = f[clampIndex(k + 2, n)].position;
    const float t2 = t * t;
    const float t3 = t2 * t;
    const float w0 = (2.0f * t2 - t3 - t) / 2.0f;
    const float w1 = (3.0f * t3 - 5.0f * t2 + 2.0f) / 2.0f;
    const float w2 = (4.0f * t2 - 3.0f * t3 + t) / 2.0f;
    const float w3 = (t3 - t2) / 2.0f;
    point = MFloatPoint(p0.x * w0 + p1.x * w1 + p2.x * w2 + p3.x * w3,
                        p0.y * w0 + p1.y * w1 + p2.y * w2 + p3.y * w3,
                        p0.z * w0 + p1.z * w1 + p2.z * w2 + p3.z * w3, 1.0f);
    normal = f[clampIndex(k, n)].normal * (1.0f - t) + f[clampIndex(k + 1, n)].normal * t;
}

void cubicWindow::push(const MFloatPoint& point, const MFloatVector& normal) {
    points_[0] = points_[1];
    points_[1] = points_[2];
    points_[2] = point;
    normals_[0] = normals_[1];
    normals_[1] = normals_[2];
    normals_[2] = normal;
}

void cubicWindow::advance(const turtlePath& path, int i, int count) {
    MFloatPoint point;
    MFloatVector normal;
    if (i == 0 && count > 0) {
        cubicSample(path, 0.0f, point, normal);
        push(point, normal);
        push(point, normal);
        cubicSample(path, 1.0f / static_cast<float>(count), point, normal);
        push(point, normal);
    } else if (i < count) {
        cubicSample(path, static_cast<float>(i + 1) / static_cast<float>(count), point, normal);
        push(point, normal);
    } else {
        push(points_[2], normals_[2]);
    }
}

void cubicWindow::frame(turtleState& turtle) const {
    turtle.position = points_[1];
    turtle.heading = (points_[1] - points_[0]) + (points_[2] - points_[1]);
    const MFloatVector side = turtle.heading ^ normals_[1];
    const MQuaternion q(quarterTurn, MVector(side));
    turtle.up = MFloatVector(MVector(turtle.heading).rotateBy(q));
    turtle.heading.normalize();
    turtle.up.normalize();
}

void buildRachisMesh(featherGeometry& geometry, float rachisThick, int sides) {
    featherMeshData& mesh = geometry.rachisMesh;
    mesh.clear();
    const MFloatPointArray& points = geometry.rachisPoints;
    const unsigned int m = points.length();
    if (m < 2 || sides < 3 ||
        static_cast<unsigned long long>(m) * static_cast<unsigned int>(sides) >
            maxRachisTubeVertices) {
        return;
    }
    const unsigned int s = static_cast<unsigned int>(sides);
    reserveArray(mesh.points, m * s);
    reserveArray(mesh.uArray, m * (s + 1));
    reserveArray(mesh.vArray, m * (s + 1));
    reserveArray(mesh.polygonCounts, (m - 1) * s);
    reserveArray(mesh.polygonConnects, (m - 1) * s * 4);
    reserveArray(mesh.uvIds, (m - 1) * s * 4);

    const MVector yAxis(0.0, 1.0, 0.0);
    const float angleStep = fullTurn / static_cast<float>(s);
    for (unsigned int i = 0; i < m; ++i) {
        const MQuaternion q = yAxis.rotateTo(MVector(tangentAt(points, i)));
        const float radius = geometry.rachisThickness.length() > i
                                 ? geometry.rachisThickness[i] * rachisThick
                                 : 0.0f;
        for (unsigned int k = 0; k < s; ++k) {
            const float angle = angleStep * static_cast<float>(k);
            const MVector ring(std::sin(angle) * radius, 0.0f, std::cos(angle) * radius);
            const MFloatPoint p = points[i] + MFloatVector(ring.rotateBy(q));
            mesh.points.append(p);
            expandBox(geometry.meshBox, p);
        }
    }
    for (unsigned int i = 0; i < m; ++i) {
        for (unsigned int k = 0; k <= s; ++k) {
            mesh.uArray.append(static_cast<float>(k) / static_cast<float>(s));
            mesh.vArray.append(static_cast<float>(i) / static_cast<float>(m - 1));
        }
    }
    const int si = static_cast<int>(s);
    for (int a = 0; a + 1 < static_cast<int>(m); ++a) {
        const int b = a + 1;
        for (int k = 0; k < si; ++k) {
            const int next = k + 1 == si ? 0 : k + 1;
            mesh.polygonCounts.append(4);
            mesh.polygonConnects.append(k + a * si);
            mesh.polygonConnects.append(next + a * si);
            mesh.polygonConnects.append(next + b * si);
            mesh.polygonConnects.append(k + b * si);
            mesh.uvIds.append(k + a * (si + 1));
            mesh.uvIds.append(k + 1 + a * (si + 1));
            mesh.uvIds.append(k + 1 + b * (si + 1));
            mesh.uvIds.append(k + b * (si + 1));
        }
    }
}

void expandExtentBox(featherGeometry& geometry, float offsetLength, float factor,
                     const float margins[3]) {
    const MFloatPointArray& points = geometry.rachisPoints;
    const MFloatVectorArray& normals = geometry.rachisNormals;
    const unsigned int m = points.length();
    MBoundingBox& box = geometry.proxyBox;
    if (m == 1) {
        expandBox(box, points[0]);
        return;
    }
    const float across = offsetLength + margins[0];
    for (unsigned int i = 0; i < m; ++i) {
        const MFloatVector tangent = tangentAt(points, i);
        const MFloatVector normal = i < normals.length() ? normals[i] : MFloatVector::zero;
        MFloatVector side = tangent ^ normal;
        side.normalize();
        const MFloatVector sideOffset = side * across * factor;
        const MFloatVector normalOffset = normal * margins[2] * factor;
        auto expandAround = [&](const MFloatPoint& p) {
            expandBox(box, p + sideOffset);
            expandBox(box, p - sideOffset);
            expandBox(box, p + normalOffset);
            expandBox(box, p - normalOffset);
        };
        expandBox(box, points[i]);
        expandAround(points[i]);
        if (i == 0) {
            expandAround(points[0] - tangent * margins[1] * factor);
        }
        if (i + 1 == m) {
            expandAround(points[m - 1] + tangent * margins[1] * factor);
        }
    }
}

bool walkSurfaceRachis(featherGenerator& generator, const featherInfo& info,
                       const surfaceSampler& surface, int count, const rampSnapshot& thickScale,
                       bool full, featherGeometry& geometry) {
    generator.clampToUnitSquare = true;
    placeTurtle(generator, info.rachisPosition);
    generator.forward(info.rachisStart);
    const int c = std::max(count, 2);
    const float step = (info.rachisEnd - info.rachisStart) / static_cast<float>(c - 1);
    const float lift = info.proxyBoundingBoxScale[2];
    const unsigned int reserve = static_cast<unsigned int>(c);
    reserveArray(geometry.rachisPoints, geometry.rachisPoints.length() + reserve);
    if (full) {
        reserveArray(geometry.rachisNormals, geometry.rachisNormals.length() + reserve);
        reserveArray(geometry.rachisThickness, geometry.rachisThickness.length() + reserve);
    }
    for (int i = 0; i < c; ++i) {
        if (i > 0) {
            generator.forward(step);
        }
        MFloatPoint point;
        if (!full) {
            if (!surface.samplePoint(generator.turtle.position, point)) {
                return false;
            }
            geometry.rachisPoints.append(point);
            expandBox(geometry.proxyBox, point);
            continue;
        }
        MFloatVector normal;
        if (!surface.sample(generator.turtle.position, point, normal)) {
            return false;
        }
        generator.turtle.up = normal;
        geometry.rachisPoints.append(point);
        geometry.rachisThickness.append(
            thickScale.value(static_cast<float>(i) / static_cast<float>(c)) * info.rachisThick);
        geometry.rachisNormals.append(generator.turtle.up);
        const MFloatVector offset = normal.normal() * lift;
        expandBox(geometry.proxyBox, point);
        expandBox(geometry.proxyBox, point + offset);
        expandBox(geometry.proxyBox, point - offset);
    }
    return true;
}
