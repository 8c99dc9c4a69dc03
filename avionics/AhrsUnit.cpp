#include "avionics/AhrsUnit.h"

#include "core/Aircraft.h"
#include "core/Angles.h"
#include "core/Units.h"

namespace tavi {

namespace {

constexpr float kAttitudeSmoothingWeight = 0.2f;
// Token 65 is the vertical speed in metres per second times 256.
constexpr double kTokenToFeetPerMinute = kFeetPerMetre * 60.0 * 0.00390625;

} // namespace

AhrsUnit::AhrsUnit(int32_t unitIndex)
    : index(unitIndex), pitchVar("ATTITUDE INDICATOR PITCH DEGREES", "DEGREE", unitIndex),
      bankVar("ATTITUDE INDICATOR BANK DEGREES", "DEGREE", unitIndex),
      headingVar("PLANE HEADING DEGREES GYRO", "DEGREE", unitIndex),
      headingRateVar("DELTA HEADING RATE", "degree per second", 0) {}

void AhrsUnit::update(const Aircraft& aircraft) {
    rawPitch = pitch = static_cast<float>(pitchVar.read());
    rawBank = bank = static_cast<float>(bankVar.read());
    heading = normalize360Float(headingVar.read());
    if (!started) {
        // The first reading shows at once instead of rising from zero.
        smoothedPitch = pitch;
        smoothedBank = bank;
    }
    blendPair(pitch, smoothedPitch, kAttitudeSmoothingWeight);
    blendPair(bank, smoothedBank, kAttitudeSmoothingWeight);
    verticalSpeed = static_cast<float>(aircraft.tokens.value(65) * kTokenToFeetPerMinute);
    verticalSpeedTenth = verticalSpeed * 0.1f;
    token81Value = static_cast<float>(aircraft.tokens.value(81));
    token86Value = static_cast<float>(aircraft.tokens.value(86));
    token82Value = static_cast<float>(aircraft.tokens.value(82));
    headingRate = static_cast<float>(headingRateVar.read());
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

void AhrsUnit::updateValidity(uint32_t now, bool master1On, bool master2On) {
    const bool attitude1Lost = attitudeSide1.set(!master1On);
    const bool heading1Lost = headingSide1.set(!master1On);
    const bool attitude2Lost = attitudeSide2.set(!master2On);
    const bool heading2Lost = headingSide2.set(!master2On);
    if (attitude1Lost || attitude2Lost) {
        attitudeInvalidSince = now;
    }
    if (heading1Lost || heading2Lost) {
        headingInvalidSince = now;
    }
    if (heading1Lost) {
        frozenHeading1 = heading;
    }
    if (heading2Lost) {
        frozenHeading2 = heading;
    }
}

} // namespace tavi
