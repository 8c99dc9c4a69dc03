#pragma once

#include "avionics/EicasDau.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

class Electric;

// The aircraft's light switches and passenger signs. The cockpit's switches are the master: each
// exterior light and the panel lighting of the simulator is switched to follow them, and burns
// only while its bus has power. The panel gauges choose their night artwork by `panelLighting`.
class Lights : public System {
public:
    enum EmergencyLight : int32_t { kEmergencyOff = 0, kEmergencyArmed = 1, kEmergencyOn = 2 };
    enum PanelLighting : int32_t { kUnlit = 0, kPanelLit = 1, kFloodLit = 2 };
    // The exterior lights, each on its own switch.
    enum ExteriorLight : std::size_t {
        kNavigationLights,
        kStrobeLights,
        kBeaconLights,
        kLandingLights,
        kTaxiLights,
        kLogoLights,
        kExteriorLightCount,
    };
    // The simulator's time of day that needs no panel lighting.
    static constexpr int32_t kDay = 1;

    Lights();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    bool handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shiftDown, bool ctrlDown) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    void toggleExteriorLight(ExteriorLight light);
    // The emergency light switch one position up (+1) or down (-1), staying at OFF and ON.
    void moveEmergencyLight(int32_t step);
    // The sign chime sounds only while the aural unit has power; the sign toggles regardless.
    void toggleSeatBeltSign(Aircraft& aircraft);
    void toggleNoSmokingSign(Aircraft& aircraft);
    void togglePanelLights(Aircraft& aircraft);
    void toggleFloodLights(Aircraft& aircraft);

    bool hasStarted() const { return started; }
    bool exteriorLightOn(ExteriorLight light) const { return exteriorLights[light]; }
    int32_t emergencyLight() const { return emergencyLightPosition; }
    bool seatBeltSignOn() const { return seatBeltSign; }
    bool noSmokingSignOn() const { return noSmokingSign; }
    bool panelLightsOn() const { return panelLights; }
    bool floodLightsOn() const { return floodLights; }

    int32_t panelLighting = kUnlit;

private:
    enum Variable : std::size_t {
        kEmergLt,
        kEmergLtClick,
        kNavLt,
        kNavLtClick,
        kBcnLt,
        kBcnLtClick,
        kStrobeLt,
        kStrobeLtClick,
        kLandLt,
        kLandLtClick,
        kTaxiLt,
        kTaxiLtClick,
        kLogoLt,
        kLogoLtClick,
        kFstnLt,
        kFstnLtClick,
        kSmokeLt,
        kSmokeLtClick,
        kPanelLt,
        kPanelLtClick,
        kFloodLt,
        kFloodLtClick,
        kVariableCount,
    };

    void applyStartupPositions();
    void updatePanelLighting(const Aircraft& aircraft);
    void keepExteriorLightsInStep(const Aircraft& aircraft) const;
    void updateEicasMessages(Aircraft& aircraft);
    void serveNamedVariables(Aircraft& aircraft);
    void serveEmergencyLight(Aircraft& aircraft);
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, double value) const;
    bool busPowered(int bus) const;
    void switchExteriorLight(ExteriorLight light, bool on);

    bool started = false;
    int32_t startupMode = 0;
    bool panelLights = false;
    bool floodLights = false;
    bool bus1Powered = false;
    int32_t timeOfDay = kDay;
    int32_t emergencyLightPosition = kEmergencyArmed;
    std::array<bool, kExteriorLightCount> exteriorLights{};
    bool seatBeltSign = false;
    bool noSmokingSign = false;
    // Cleared by the EICAS step that follows.
    bool beaconChanged = false;
    bool emergencyLightChanged = false;
    Electric* electric = nullptr;
    bool variablesRegistered = false;

    std::array<int32_t, kVariableCount> variableIds{};
    EicasPowerWatch eicasPower;
};

} // namespace tavi
