#pragma once

#include "avionics/Radio.h"
#include "support/FlightScenario.h"

#include <cstdint>

namespace tavi::test {

// The ILS IAAL of ZZAA runway 09L (110.30 MHz, course 090 true) as the autopilot flies it: from
// 14 nm out at 2000 ft above the runway, gear down and approach flaps (landing flaps at the glide
// slope capture), a 30-degree intercept in HDG under ALT with the autopilot engaged, then APPR arms
// LOC and GS.
class IlsApproach {
public:
    static constexpr double kRunwayElevation = 1405.0;
    static constexpr double kApproachSpeed = 160.0;
    static constexpr double kRegionVariation = 1.5;
    static constexpr int kApproachFlapSteps = 2;

    explicit IlsApproach(FlightScenario& flight) : flight(flight) {}

    void setUp() {
        flight.startInFlight(46.96, 7.62, kRunwayElevation + 2000.0, 60.0, kApproachSpeed);
        flight.simulator().flight.setGearHandle(true);
        for (int step = 0; step < kApproachFlapSteps; ++step) {
            flight.pressKey(FlightScenario::kFlapsIncrementKey);
        }
        nav().setNavActive(0x01103000);
        nav().setCourse(static_cast<int>(90.0 - kRegionVariation));
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.setHeadingBug(static_cast<int32_t>(60.0 - kRegionVariation));
        flight.pressKey(FlightScenario::kHeadingModeKey);
        flight.fly(60.0, [this] { flight.holdSpeed(kApproachSpeed); });
        flight.fd().pressApproach();
        flight.fly(0.5);
    }

    // The pilot on the approach, once a frame: the speed, and the landing flaps once the glide
    // slope is captured.
    void fly() {
        flight.holdSpeed(kApproachSpeed);
        if (!landingFlaps && flight.fd().verticalMode() == FdVerticalMode::Gs) {
            flight.pressKey(FlightScenario::kFlapsIncrementKey);
            landingFlaps = true;
        }
    }
    RadioUnit& nav() { return flight.aircraft().radio()->unit1; }
    double height() { return flight.altitudeFeet() - kRunwayElevation; }

private:
    FlightScenario& flight;
    bool landingFlaps = false;
};

} // namespace tavi::test
