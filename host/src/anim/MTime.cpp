#include <maya/MTime.h>

#include "anim/sceneTime.h"
#include "anim/timeUnit.h"

#include <cmath>

using host::framesPerSecond;

MTime::MTime(double value, Unit unit) : value_(value), unit_(unit) {}

MStatus MTime::setUnit(Unit unit) {
    if (framesPerSecond(unit) <= 0.0)
        return MS::kInvalidParameter;
    unit_ = unit;
    return MS::kSuccess;
}

MStatus MTime::setValue(double value) {
    value_ = value;
    return MS::kSuccess;
}

double MTime::seconds() const {
    const double rate = framesPerSecond(unit_);
    return rate > 0.0 ? value_ / rate : 0.0;
}

double MTime::as(Unit unit) const {
    if (unit == unit_)
        return value_;
    return seconds() * framesPerSecond(unit);
}

MTime::Unit MTime::uiUnit() {
    return host::SceneTime::instance().unit();
}

MStatus MTime::setUIUnit(Unit unit) {
    const double rate = framesPerSecond(unit);
    if (unit == kUserDef || rate <= 0.0)
        return MS::kInvalidParameter;
    static const char* const names[] = {
        "hour",   "min",    "sec",     "millisec", "game",    "film",    "pal",
        "ntsc",   "show",   "palf",    "ntscf",    "2fps",    "3fps",    "4fps",
        "5fps",   "6fps",   "8fps",    "10fps",    "12fps",   "16fps",   "20fps",
        "40fps",  "75fps",  "80fps",   "100fps",   "120fps",  "125fps",  "150fps",
        "200fps", "240fps", "250fps",  "300fps",   "375fps",  "400fps",  "500fps",
        "600fps", "750fps", "1200fps", "1500fps",  "2000fps", "3000fps", "6000fps"};
    host::SceneTime::instance().setUnit(names[unit - kHours]);
    return MS::kSuccess;
}

MTime MTime::operator+(const MTime& r) const {
    return MTime(value_ + r.as(unit_), unit_);
}
MTime& MTime::operator+=(const MTime& r) {
    value_ += r.as(unit_);
    return *this;
}
MTime MTime::operator-(const MTime& r) const {
    return MTime(value_ - r.as(unit_), unit_);
}
MTime& MTime::operator-=(const MTime& r) {
    value_ -= r.as(unit_);
    return *this;
}
MTime MTime::operator*(double s) const {
    return MTime(value_ * s, unit_);
}
MTime& MTime::operator*=(double s) {
    value_ *= s;
    return *this;
}
MTime MTime::operator/(double s) const {
    return MTime(value_ / s, unit_);
}
MTime& MTime::operator/=(double s) {
    value_ /= s;
    return *this;
}

// Equal within a tick, Maya's own resolution.
bool MTime::operator==(const MTime& r) const {
    return std::fabs(seconds() - r.seconds()) * host::kTicksPerSecond < 0.5;
}
bool MTime::operator<(const MTime& r) const {
    return !(*this == r) && seconds() < r.seconds();
}
