#include "fms/BaroSetCheck.h"

#include <cmath>
#include <cstdlib>

namespace tavi {
namespace {

constexpr int32_t kRearmWithinFt = 100;
// Closer than this to the transition altitude, only a level-off in ALT beyond the dead band
// gives the reminder.
constexpr int32_t kClimbThroughFt = 3000;
constexpr int32_t kLevelOffDeadBandFt = 200;
constexpr double kStandardInHg = 29.92;
constexpr double kSettingToleranceInHg = 0.004;

} // namespace

bool BaroSetCheck::check(const Inputs& in) {
    const int32_t distance = std::abs(in.altitude - in.transitionAltitude);
    if (distance < kRearmWithinFt) {
        latch = false;
    } else if (latch) {
        return false;
    }
    if (distance < kClimbThroughFt && !(in.altitudeHold && distance >= kLevelOffDeadBandFt)) {
        return false;
    }
    const bool standard = std::fabs(in.settingInHg - kStandardInHg) <= kSettingToleranceInHg;
    const bool due = (in.altitude > in.transitionAltitude && !standard) ||
                     (in.altitude < in.transitionAltitude && standard);
    if (due) {
        latch = true;
    }
    return due;
}

} // namespace tavi
