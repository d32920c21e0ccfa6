#include "feather/featherGenerator.h"

#include "feather/valueNoise.h"

#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include <new>

namespace {

// Degrees to radians in single precision, as every angle of a description is converted.
const float degreesToRadians = 0.017453292f;
const double inverseTwoTo32 = 2.3283064365386963e-10;
const int seedDiscards = 37;

// The frame is float; each rotation runs in double through MVector::rotateBy and is stored
// back as float.
MFloatVector rotated(const MFloatVector& v, const MQuaternion& q) {
    return MFloatVector(MVector(v).rotateBy(q));
}

float clampUnit(float v) {
    if (v > 1.0f) {
        return 1.0f;
    }
    if (v < 0.0f) {
        return 0.0f;
    }
    return v;
}

} // namespace

featherGenerator* featherGenerator::create() {
    featherGenerator* generator = new (std::nothrow) featherGenerator;
    if (generator) {
        generator->resetGenerator();
    }
    return generator;
}

void featherGenerator::destroy(featherGenerator* generator) {
    if (!generator) {
        return;
    }
    generator->resetGenerator();
    delete generator;
}

featherGenerator::featherGenerator() {
    resetGenerator();
}

void featherGenerator::resetGenerator() {
    info = nullptr;
    systemParams = ::systemParams();
    turtle.position = MFloatPoint(0.0f, 0.0f, 0.5f, 1.0f);
    turtle.heading = MFloatVector(1.0f, 0.0f, 0.0f);
    turtle.up = MFloatVector(0.0f, 1.0f, 0.0f);
    savedTurtle = turtle;
    clampToUnitSquare = true;
    seed(1);
}

void featherGenerator::seed(unsigned int s) {
    random.seed(s);
    random.discard(seedDiscards);
}

unsigned int featherGenerator::nextRandom() {
    return static_cast<unsigned int>(random());
}

float featherGenerator::randomFloat() {
    return static_cast<float>(nextRandom() * inverseTwoTo32);
}

double featherGenerator::valueNoise3(double x, double y, double z, int seed) const {
    return ::valueNoise3(x, y, z, seed);
}

void featherGenerator::yaw(float degrees) {
    const float angle = degrees * degreesToRadians;
    const MQuaternion q(angle, MVector(turtle.up));
    turtle.heading = rotated(turtle.heading, q);
}

void featherGenerator::pitch(float degrees) {
    const float angle = degrees * degreesToRadians;
    const MFloatVector side = turtle.heading ^ turtle.up;
    const MQuaternion q(angle, MVector(side));
    turtle.heading = rotated(turtle.heading, q);
    turtle.up = rotated(turtle.up, q);
}

void featherGenerator::forward(float distance) {
    turtle.position += turtle.heading * distance;
    if (clampToUnitSquare) {
        turtle.position.x = clampUnit(turtle.position.x);
        turtle.position.z = clampUnit(turtle.position.z);
    }
}
