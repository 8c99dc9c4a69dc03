#pragma once

#include "airframe/Fadec.h"
#include "airframe/Hydraulic.h"
#include "airframe/Mechanisation.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace tavi::test {

// The flight controls, gear and brakes on the stand-in simulator; the test plays their
// neighbours (attitude reference, air data, GPS, GPWS, engines, FADEC, hydraulics), while the
// radio altimeter reads the simulator. The GPS works and gives the ground speed the test sets.
class MechanisationScenario : public AirframeScenario {
public:
    static constexpr int kOnGroundToken = 60;
    static constexpr int kRadioHeightToken = 614;

    explicit MechanisationScenario(const std::string& ini = "") : AirframeScenario(ini) {
        holdSystem<JetEngine>(aircraft(), 1, 1);
        holdSystem<JetEngine>(aircraft(), 2, 2);
        holdSystem<Hydraulic>(aircraft(), 5, 1);
        holdSystem<Hydraulic>(aircraft(), 6, 2);
        holdSystem<Gps>(aircraft(), 14);
        holdSystem<Gpws>(aircraft(), 16);
        holdSystem<Fadec>(aircraft(), 17);
    }

    Mechanisation& mechanisation() { return *aircraft().mechanisation(); }

    // Parked with both batteries on: DC buses 1 and 2 and both essential buses have power.
    void powerUp() {
        park();
        batteriesOn();
        step();
    }

    void setOnGround(bool onGround) {
        panel().setToken(kOnGroundToken, onGround ? 1.0 : 0.0);
        aircraft().ahrs()->onGround = onGround;
    }
    // The simulator's ground speed and the GPS's reading of it.
    void setGroundSpeed(float knots) {
        panel().setVariable("GROUND VELOCITY", 0, knots);
        aircraft().gps()->groundSpeed = knots;
    }
    // The simulator's radio height in metres counts from the antenna above the wheels.
    void setRadioAltitude(float feet) {
        panel().setToken(kRadioHeightToken, feet / 3.2808399 + aircraft().radAlt()->antennaOffset);
    }
    void setHydraulicPressures(float system1, float system2) {
        aircraft().hydraulic1()->pressure = system1;
        aircraft().hydraulic2()->pressure = system2;
    }
    void setThrustLevers(float lever1, float lever2) {
        aircraft().fadec()->leverAngle = {lever1, lever2};
    }
    void setCombustion(bool engine1, bool engine2) {
        aircraft().engine1()->combustion = engine1;
        aircraft().engine2()->combustion = engine2;
    }

    // The key events the module sends in the coming frames, those of the given ids only.
    std::vector<sim::KeyEvent> eventsDuring(int frames, std::initializer_list<uint32_t> ids) {
        panel().clearKeyEventsSent();
        step(frames);
        std::vector<sim::KeyEvent> events;
        for (const sim::KeyEvent& event : panel().keyEventsSent()) {
            if (std::find(ids.begin(), ids.end(), event.eventId) != ids.end()) {
                events.push_back(event);
            }
        }
        return events;
    }
};

} // namespace tavi::test

namespace tavi::sim {

inline void PrintTo(const KeyEvent& event, std::ostream* out) {
    *out << std::hex << "0x" << event.eventId << std::dec << "("
         << static_cast<int32_t>(event.value) << ")";
}

} // namespace tavi::sim
