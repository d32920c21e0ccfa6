#include "anim/timeUnit.h"

#include "anim/sceneTime.h"

#include <cmath>
#include <cstdlib>

namespace host {

namespace {

struct NamedRate {
    const char* name;
    double rate;
};

const NamedRate kNamedRates[] = {
    {"hour", 1.0 / 3600.0},
    {"min", 1.0 / 60.0},
    {"sec", 1.0},
    {"millisec", 1000.0},
    {"game", 15.0},
    {"film", 24.0},
    {"pal", 25.0},
    {"ntsc", 30.0},
    {"show", 48.0},
    {"palf", 50.0},
    {"ntscf", 60.0},
    {"gameField", 30.0},
    {"filmField", 48.0},
    {"palField", 50.0},
    {"ntscField", 60.0},
    {"showField", 96.0},
    {"23.976fps", 24000.0 / 1001.0},
    {"29.97fps", 30000.0 / 1001.0},
    {"29.97df", 30000.0 / 1001.0},
    {"47.952fps", 48000.0 / 1001.0},
    {"59.94fps", 60000.0 / 1001.0},
};

// The API units in enum order from kHours, by rate.
const double kUnitRates[] = {
    1.0 / 3600.0, 1.0 / 60.0, 1.0,   1000.0, 15.0,   24.0,   25.0,   30.0,   48.0,  50.0,  60.0,
    2.0,          3.0,        4.0,   5.0,    6.0,    8.0,    10.0,   12.0,   16.0,  20.0,  40.0,
    75.0,         80.0,       100.0, 120.0,  125.0,  150.0,  200.0,  240.0,  250.0, 300.0, 375.0,
    400.0,        500.0,      600.0, 750.0,  1200.0, 1500.0, 2000.0, 3000.0, 6000.0};

} // namespace

double framesPerSecond(const std::string& unit) {
    for (const NamedRate& named : kNamedRates)
        if (unit == named.name)
            return named.rate;
    // "2fps", "120fps", "44100fps": whole rates written with their number.
    const size_t digits = unit.size() > 3 ? unit.size() - 3 : 0;
    if (digits == 0 || unit.compare(digits, 3, "fps") != 0 ||
        unit.find_first_not_of("0123456789") != digits || unit[0] == '0')
        return 0.0;
    const double rate = std::strtod(unit.c_str(), nullptr);
    return rate > 0.0 && rate <= 1e6 ? rate : 0.0;
}

double framesPerSecond(MTime::Unit unit) {
    if (unit >= MTime::kHours && unit < MTime::kUserDef)
        return kUnitRates[unit - MTime::kHours];
    if (unit == MTime::kUserDef)
        return SceneTime::instance().framesPerSecond();
    return 0.0;
}

MTime::Unit unitOfRate(double rate) {
    for (int i = MTime::kHours; i < MTime::kUserDef; ++i)
        if (std::fabs(kUnitRates[i - MTime::kHours] - rate) <= 1e-12 * rate)
            return static_cast<MTime::Unit>(i);
    return MTime::kUserDef;
}

} // namespace host
