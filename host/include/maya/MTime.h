#pragma once
// A time: a value and the unit it is counted in. Converting between units goes through
// seconds; kUserDef stands for the scene's own rate when it has no unit of its own here
// (23.976fps and the like).

#include <maya/MStatus.h>
#include <maya/MTypes.h>

class OPENMAYA_EXPORT MTime {
  public:
    enum Unit {
        kInvalid,
        kHours,
        kMinutes,
        kSeconds,
        kMilliseconds,
        kGames,     // 15 frames per second
        kFilm,      // 24
        kPALFrame,  // 25
        kNTSCFrame, // 30
        kShowScan,  // 48
        kPALField,  // 50
        kNTSCField, // 60
        k2FPS,
        k3FPS,
        k4FPS,
        k5FPS,
        k6FPS,
        k8FPS,
        k10FPS,
        k12FPS,
        k16FPS,
        k20FPS,
        k40FPS,
        k75FPS,
        k80FPS,
        k100FPS,
        k120FPS,
        k125FPS,
        k150FPS,
        k200FPS,
        k240FPS,
        k250FPS,
        k300FPS,
        k375FPS,
        k400FPS,
        k500FPS,
        k600FPS,
        k750FPS,
        k1200FPS,
        k1500FPS,
        k2000FPS,
        k3000FPS,
        k6000FPS,
        kUserDef,
        kLast
    };

    MTime() = default;
    MTime(double value, Unit unit = kFilm);
    MTime(const MTime&) = default;
    MTime& operator=(const MTime&) = default;

    Unit unit() const { return unit_; }
    double value() const { return value_; }
    // Changing the unit keeps the value: 12 film frames become 12 PAL frames.
    MStatus setUnit(Unit unit);
    MStatus setValue(double value);
    double as(Unit unit) const;
    double asUnits(Unit unit) const { return as(unit); }

    // The unit of the scene (currentUnit -t).
    static Unit uiUnit();
    static MStatus setUIUnit(Unit unit);

    MTime operator+(const MTime& r) const;
    MTime& operator+=(const MTime& r);
    MTime operator-(const MTime& r) const;
    MTime& operator-=(const MTime& r);
    MTime operator*(double s) const;
    MTime& operator*=(double s);
    MTime operator/(double s) const;
    MTime& operator/=(double s);
    bool operator==(const MTime& r) const;
    bool operator!=(const MTime& r) const { return !(*this == r); }
    bool operator<(const MTime& r) const;
    bool operator>(const MTime& r) const { return r < *this; }
    bool operator<=(const MTime& r) const { return !(r < *this); }
    bool operator>=(const MTime& r) const { return !(*this < r); }

  private:
    double seconds() const;
    double value_ = 0.0;
    Unit unit_ = kFilm;
};
