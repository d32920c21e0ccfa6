#include "feather/keyBarbules.h"

#include "feather/buildInputs.h"
#include "feather/featherInfo.h"
#include "feather/rachis.h"
#include "feather/surfaceSampler.h"

namespace {

const float minimumLength = 1e-5f;

bool refuse(featherGeometry& geometry) {
    geometry.clear();
    return false;
}

} // namespace

bool buildKeyBarbules(featherGenerator& generator, const turtlePath& path,
                      featherGeometry& geometry) {
    generator.clampToUnitSquare = false;
    const featherInfo* infoPointer = generator.info;
    if (!infoPointer || path.frames.empty()) {
        return false;
    }
    buildInputs in;
    if (!in.prepare(*infoPointer) || !pathIsFinite(path)) {
        return refuse(geometry);
    }
    const featherInfo& info = *infoPointer;
    if (info.barbuleLength < minimumLength) {
        return false;
    }
    sampleRachis(path, info.rachisStart, info.rachisEnd, in.rachisPointCount, geometry);
    const float rachisLength = geometry.rachisLength;
    expandExtentBox(geometry, info.barbuleLength * rachisLength, path.scale,
                    info.proxyBoundingBoxScale);

    const keyBarbuleSettings& keys = info.keyBarbuleSet;
    const int p = in.barbulePointCount;
    const unsigned int points = static_cast<unsigned int>(p);
    const float segments = static_cast<float>(p - 1);
    geometry.leftBarbules.reserve(geometry.leftBarbules.size() + 2 * in.keyCount);
    for (int side = 0; side < 2; ++side) {
        const bool right = side == 1;
        if (right ? info.rachisPosition < minimumLength
                  : 1.0f - info.rachisPosition < minimumLength) {
            continue;
        }
        const rampSnapshot& lengthScale =
            right ? in.rightBarbuleLengthScale : in.leftBarbuleLengthScale;
        for (unsigned int k = 0; k < in.keyCount; ++k) {
            const float position = keys.keyPositions[k];
            linearFrame(path, position, generator.turtle);
            generator.yaw(right ? -keys.startAngles[k] : keys.startAngles[k]);
            const float ls = lengthScale.value(position);
            geometry.leftBarbules.emplace_back(points);
            MFloatPointArray& curve = geometry.leftBarbules.back();
            for (int j = 0; j < p; ++j) {
                if (j > 0) {
                    generator.forward(ls * info.barbuleLength * rachisLength / segments);
                    const float v =
                        in.rotateRamps[k].value(static_cast<float>(j) / static_cast<float>(p));
                    const float turn = (v - 0.5f) * keys.stepAngle;
                    generator.yaw(right ? turn : -turn);
                }
                curve[static_cast<unsigned int>(j)] = generator.turtle.position;
            }
        }
    }
    return true;
}

bool buildSurfaceKeyBarbules(featherGenerator& generator, const MObject& surface,
                             featherGeometry& geometry) {
    generator.clampToUnitSquare = true;
    const featherInfo* infoPointer = generator.info;
    buildInputs in;
    if (!infoPointer || !in.prepare(*infoPointer)) {
        return refuse(geometry);
    }
    const featherInfo& info = *infoPointer;
    const surfaceSampler sampler(surface, info.direction);
    if (!sampler.valid() || !walkSurfaceRachis(generator, info, sampler, in.rachisPointCount,
                                               in.rachisThickScale, false, geometry)) {
        return refuse(geometry);
    }
    if (info.barbuleLength < minimumLength) {
        return true;
    }

    const keyBarbuleSettings& keys = info.keyBarbuleSet;
    const int p = in.barbulePointCount;
    const unsigned int points = static_cast<unsigned int>(p);
    const float segment = p > 1 ? info.barbuleLength / static_cast<float>(p - 1) : 0.0f;
    for (int side = 0; side < 2; ++side) {
        const bool right = side == 1;
        if (right ? info.rachisPosition < minimumLength
                  : 1.0f - info.rachisPosition < minimumLength) {
            continue;
        }
        const rampSnapshot& lengthScale =
            right ? in.rightBarbuleLengthScale : in.leftBarbuleLengthScale;
        const float room = right ? info.rachisPosition : 1.0f - info.rachisPosition;
        std::vector<MFloatPointArray>& curves =
            right ? geometry.rightBarbules : geometry.leftBarbules;
        curves.reserve(curves.size() + in.keyCount);
        for (unsigned int k = 0; k < in.keyCount; ++k) {
            const float position = keys.keyPositions[k];
            generator.turtle.position = MFloatPoint(position, 0.0f, info.rachisPosition, 1.0f);
            generator.turtle.heading = MFloatVector(1.0f, 0.0f, 0.0f);
            generator.turtle.up = MFloatVector(0.0f, 1.0f, 0.0f);
            generator.yaw(right ? -keys.startAngles[k] : keys.startAngles[k]);
            const float ls = lengthScale.value(position);
            curves.emplace_back(points);
            MFloatPointArray& curve = curves.back();
            for (int j = 0; j < p; ++j) {
                if (j > 0) {
                    const float v =
                        in.rotateRamps[k].value(static_cast<float>(j) / static_cast<float>(p));
                    const float turn = (v - 0.5f) * keys.stepAngle;
                    generator.yaw(right ? turn : -turn);
                    generator.forward(room * segment * ls);
                }
                MFloatPoint point;
                if (!sampler.samplePoint(generator.turtle.position, point)) {
                    return refuse(geometry);
                }
                curve[static_cast<unsigned int>(j)] = point;
                expandBox(geometry.proxyBox, point);
            }
        }
    }
    return true;
}
