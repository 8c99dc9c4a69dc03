#pragma once

#include "avionics/EicasDau.h"
#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

class Electric;
class JetEngine;

// One of the two hydraulic systems: an engine-driven pump behind its shutoff valve (engine 1
// for system 1, engine 2 for system 2) and an electric pump with an Off/Auto/On knob make the
// system's pressure; the reservoir quantity comes from the simulator. System 1 posts the EICAS
// messages of both systems.
class Hydraulic : public System {
public:
    enum PumpKnob : int32_t { kKnobOff = 0, kKnobAuto = 1, kKnobOn = 2 };

    explicit Hydraulic(int32_t systemNumber);

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // The Engine Pump button's light: the shutoff is closed and the annunciators have power.
    bool enginePumpOffLight() const;

    // Set at the end of the first update with a non-zero simulation time.
    bool started = false;
    int32_t startupMode = 0;
    int32_t systemNumber;
    // Reservoir quantity, 5.0 full.
    float quantity = 0.0f;
    float quantityPercent = 0.0f;
    // Psi.
    float pressure = 0.0f;
    bool electricPumpRunning = false;
    // The shutoff is open and the engine has combustion.
    bool enginePumpRunning = false;
    // The Engine Pump button: true is open. The panel sets the changed flag when it toggles it.
    bool enginePumpShutoffOpen = true;
    bool enginePumpShutoffChanged = false;
    // The guard over the Engine Pump button, closed at start and never saved.
    bool enginePumpGuardOpen = false;
    // The electric pump's bus is unpowered, so the pump stands still.
    bool unpowered = false;
    int32_t electricPumpKnob = kKnobOff;
    bool systemFail = false;
    bool systemFailChanged = false;
    // The engine runs but the pressure is below 1600 psi.
    bool enginePumpFail = false;
    bool enginePumpFailChanged = false;
    bool lowQuantity = false;
    bool lowQuantityChanged = false;
    // The electric pump knob is at Off with the parking brake released.
    bool pumpSelectorOff = false;
    bool pumpSelectorOffChanged = false;
    SimVar quantityVar;
    JetEngine* engine = nullptr;
    Electric* electric = nullptr;
    Hydraulic* otherSystem = nullptr;
    bool variablesRegistered = false;

private:
    enum Variable : std::size_t { kKnob, kKnobDec, kKnobInc, kVariableCount };

    void fetchNeighbours(const Aircraft& aircraft);
    void runElectricPump(bool combustion);
    void updatePressure(float seconds, bool combustion);
    void updateFaults(const Aircraft& aircraft, bool combustion);
    void updateEicasMessages(const Aircraft& aircraft);
    void serveNamedVariables(Aircraft& aircraft);
    bool takeRequest(Variable variable) const;
    void stepKnob(Aircraft& aircraft, int32_t step);
    // The bus of the electric pump: DC bus 2 for system 1, DC bus 1 for system 2.
    int pumpBus() const;

    std::array<int32_t, kVariableCount> variableIds{};
    EicasPowerWatch eicasPower;
};

} // namespace tavi
