#pragma once

#include "core/SimVar.h"
#include "core/System.h"

namespace tavi {

// The barometric unit: the main altimeter setting, shared with the simulator's own altimeter, and
// the standby instrument's setting, each turned into an indicated altitude; and the program's
// standard-atmosphere pressure model in psi. It has no electrical load of its own.
class Baro : public System {
public:
    static constexpr double seaLevelPressure = 14.69595;
    static constexpr double tropopausePressure = 3.282500618355;
    static constexpr double tropopauseAltitude = 36089.24;
    static constexpr float kStandardSettingInHg = 29.92f;

    Baro();

    void update(Aircraft& aircraft) override;

    // Pressure (psi) at a pressure altitude (ft); the tropopause altitude itself belongs to the
    // upper layer.
    static double pressureAtAltitude(double feet);
    // The inverse; the tropopause pressure itself belongs to the lower layer.
    static double altitudeAtPressure(double psi);
    // Pressure at feet1 minus pressure at feet2.
    static double pressureDifference(double feet1, double feet2);
    // The altitude whose pressure is the pressure at feet plus the offset.
    static double altitudeWithPressureOffset(double feet, double psi);
    // Called by the air data computer each frame with its pressure altitude.
    void updateStaticPressure(double feet);

    // The main setting is sent to the simulator, which the next frame reads back; the standby
    // setting stays in the standby instrument. Both are limited to 16..32 inHg.
    void setBaroSetting(float inHg);
    void incBaroSetting();
    void decBaroSetting();
    void setStandbyBaroSetting(float inHg);
    void incStandbyBaroSetting();
    void decStandbyBaroSetting();

    // Panel tokens 75 and 76: the simulator's altimeter setting.
    float simSettingHpa = 0.0f;
    float simSettingInHg = 0.0f;
    // Feet, from the simulator's barometric pressure.
    float barometricAltitude = 0.0f;
    float simPressureAltitude = 0.0f;
    float mainSettingHpa;
    float mainSettingInHg = kStandardSettingInHg;
    float mainSettingAltitude = 0.0f;
    float standbySettingHpa;
    float standbySettingInHg = kStandardSettingInHg;
    float standbySettingAltitude = 0.0f;
    // Psi at the air data computer's pressure altitude.
    double staticPressure = seaLevelPressure;
    double barometricPressurePsi = 0.0;
    double barometricPressureMbar = 0.0;
    SimVar pressurePsiVar;
    SimVar pressureMbarVar;
    SimVar pressureAltitudeVar;

private:
    void sendMainSetting(float inHg);
};

// Sends the main altimeter setting to the simulator.
void sendKohlsmanSetting(float hectopascals);

} // namespace tavi
