#pragma once

#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "support/CduKeys.h"
#include "support/FlightScenario.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {

// The module flying on the stand-in's flight model while the pilot works the CDU through its
// pop-up and the simulator's keyboard: every key is pressed and released, then a frame runs.
class CduFlight : public testing::Test, protected CduKeys {
protected:
    static constexpr uint32_t kNavModeKey = 0x100C1;
    static constexpr uint32_t kSlashKey = 191;

    ~CduFlight() override { resetGlobalFlightPlans(); }

    Fms& fms() { return *flight.aircraft().fms(); }
    // The CDU pop-up with its keyboard, the position loaded.
    void openCdu() {
        flight.simulator().panel.setPanelWindowOpen(kCduPopupWindow, true);
        fms().toggleKeyboardInput();
        fms().position.initialised = true;
        fms().messages.clear();
    }
    void key(uint32_t virtualKey) {
        flight.simulator().host.key(virtualKey, true);
        flight.simulator().host.key(virtualKey, false);
        flight.simulator().step();
    }
    void lineKey(int32_t line) { key(kF1Key + static_cast<uint32_t>(line)); }
    void typeThenPress(const std::string& text, int32_t line) {
        for (const char c : text) {
            key(c == '/' ? kSlashKey : static_cast<uint32_t>(c));
        }
        lineKey(line);
    }
    void cduKey(int32_t cduKey) {
        fms().pressKey(cduKey);
        flight.simulator().step();
    }
    // The route's ends typed on ACTIVE FLT PLAN.
    void enterRouteEnds(const std::string& origin, const std::string& destination) {
        cduKey(Fms::kFplKey);
        typeThenPress(origin, kL1);
        typeThenPress(destination, kR2);
    }
    // PATTERNS from NAV INDEX, its HOLD keyword onto the line of ACTIVE FLT PLAN: HOLDING
    // PATTERN of that line's leg.
    void openHoldingPattern(int32_t line) {
        cduKey(Fms::kNavKey);
        key(kPageDownKey);
        lineKey(kR1);
        lineKey(kL1);
        lineKey(line);
    }
    // The autopilot engaged in ALT, the FMS the coupled navigation source, NAV pressed.
    void engageLnav() {
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.fd().selectNavigationSource(1, true);
        flight.pressKey(kNavModeKey);
    }
    double latitude() { return flight.simulator().flight.state().latitude; }
    double longitude() { return flight.simulator().flight.state().longitude; }
    std::string activeFix() {
        const FlightPlan& plan = activeFlightPlan;
        return plan.activeLeg < plan.legCount() ? plan.legs[plan.activeLeg].wpt.ident : "";
    }
    std::vector<std::string> legIdents() {
        std::vector<std::string> idents;
        for (const FlightPlanLeg& leg : activeFlightPlan.legs) {
            idents.push_back(leg.isDiscontinuity() ? "(DISC)" : leg.wpt.ident);
        }
        return idents;
    }

    FlightScenario flight;
};

} // namespace tavi::test
