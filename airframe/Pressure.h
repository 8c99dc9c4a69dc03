#pragma once

#include "core/System.h"

#include <cstdint>
#include <string>

namespace tavi {

class Baro;

// The automatic cabin pressure controller and the cabin. Every 250 ms it picks a target cabin
// altitude and a commanded rate from the phase of flight it recognises, then moves the cabin at
// a rate-limited rate that keeps the differential pressure within its relief limits. Altitudes
// are pressure altitudes in feet of the standard atmosphere; rates in ft/min.
class Pressure : public System {
public:
    enum Mode : int32_t {
        kModeNotChosen = 0,
        kTakeoffMode = 1,
        // The cabin held a little below the departure field until the schedule passes it.
        kClimbMode = 2,
        // The pressure schedule of flight, never below the landing field.
        kScheduleMode = 3,
        kLandingMode = 4,
        // The cabin follows the outside.
        kGroundMode = 5,
    };
    static constexpr uint32_t kStepMs = 250;
    static constexpr double kWarningAltitude = 9900.0;
    static constexpr int32_t kLowestLandingElevation = -1500;
    static constexpr int32_t kHighestLandingElevation = 14000;

    void update(Aircraft& aircraft) override;

    // Feet, limited to the landing elevations the panel's knob can set.
    void setLandingElevation(int32_t feet);

    float maxClimbRate = 650.0f;
    float maxDescentRate = -1300.0f;
    // Relief limits, psi.
    float maxDifferential = 8.1f;
    float minDifferential = -0.3f;
    bool started = false;
    double cabinAltitude = 0.0;
    double targetCabinAltitude = 0.0;
    // Cabin pressure minus outside pressure, psi.
    double differentialPressure = 0.0;
    double cabinRate = 0.0;
    double commandedRate = 0.0;
    uint32_t stepTimeMs = 0;
    uint32_t climbStartTime = 0;
    double aircraftAltitude = 0.0;
    double previousAircraftAltitude = -10000.0;
    int32_t landingElevation = 0;
    int32_t departureElevation = 0;
    int32_t packsRunning = 0;
    int32_t mode = kModeNotChosen;
    // The cabin is above 9900 ft.
    bool cabinAltitudeWarning = false;
    // Set by the master WARNING button.
    bool cabinAltitudeAcknowledged = false;
    // `landingElevation` for the panel's window, five characters wide.
    std::string landingElevationText;

private:
    // What one step reads of the other systems.
    struct Inputs {
        uint32_t now = 0;
        bool onGround = false;
        int32_t verticalSpeed = 0;
        bool leverAtTakeoff = false;
        bool bothLeversAtIdle = false;
        bool exitOpen = false;
        // The outside altitude and the schedule and landing-field altitudes derived from it.
        double outside = 0.0;
        double schedule = 0.0;
        double landingField = 0.0;
    };

    void step(Aircraft& aircraft, const Baro& baro);
    Inputs readInputs(Aircraft& aircraft, const Baro& baro) const;
    static int32_t countPacksRunning(const Aircraft& aircraft);
    void control(const Baro& baro, const Inputs& in);
    void controlTakeoff(const Baro& baro, const Inputs& in);
    void controlClimb(const Baro& baro, const Inputs& in);
    void controlSchedule(const Inputs& in);
    void controlLanding();
    void controlGround(const Inputs& in);
    // The rate that closes the gap to the target, limited to the rates given; none within the
    // dead band.
    double rateToTarget(double deadband, double lowest, double highest) const;
    void applyMinimumRate();
    void moveCabin(const Baro& baro, const Inputs& in, double minutes);
    void settleCabinRate();
    double wantedRate() const;
    void updateWarning(Aircraft& aircraft);
};

} // namespace tavi
