#pragma once

#include "sim/Panel.h"

#include <array>

namespace tavi::sim {

// What the engines need of the flight: the air they breathe and the speed they fly at.
struct EngineAir {
    double pressureRatio = 1.0;
    double totalTemperatureCelsius = 15.0;
    double mach = 0.0;
};

// The simulator's turbine model for the two engines. The starter turns N2 up to its starter
// speed; with fuel open above the light-off speed the engine lights, accelerates to idle and
// the starter drops out. Running, N1 follows the thrust lever through the simulator's lever
// law (lever index by pressure ratio, corrected N1 by lever index and Mach) with first-order
// spool times; N2, ITT, fuel flow and oil follow N1. Thrust scales with the pressure ratio,
// corrected N1 and Mach; a negative lever is reverse thrust. Each engine burns from its own
// main tank (both from one tank with the selector on one side). Figures:
// - idle N1 about 24 %, N2 about 60 %; full static thrust 82 kN per engine at 100 % N1 (a
//   turbofan of 18,000 lbf for a 40-50 t twin, textbook class figure)
// - spool-up time constant 1.2 s + 2.3 s x (1 - N1 / 100), about 5 s from idle to 95 %;
//   spool-down 2.5 s; starter to 25 % N2 with 4 s, light-off at 20 % N2
// - ITT 450 degC at idle, 850 degC at 100 % N1; fuel flow 700 pph idle, 6,500 pph at
//   100 % N1 at sea level, falling with pressure ratio
// - reverse thrust 40 % of the forward thrust of the same N1
// - oil temperature 55 degC running (the simulator's figure, which gauges show 1.6 times),
//   warming and cooling with a 120 s time constant
class SimEngines {
public:
    static constexpr int kCount = 2;
    static constexpr double kIdleN2 = 60.0;
    static constexpr double kLightOffN2 = 20.0;
    static constexpr double kStarterN2 = 25.0;
    static constexpr double kTankCapacityGallons = 1600.0;
    static constexpr double kDefaultPoundsPerGallon = 6.7;

    explicit SimEngines(Panel& panel);

    // Both engines running at idle with fuel open, as a flight that starts ready loads them.
    void setRunning();
    // Both main tanks hold the quantity (gallons).
    void setFuel(double gallonsPerTank);
    void advance(double seconds, const EngineAir& air);
    // Both running engines settle at the lever that gives this total forward thrust (newtons)
    // in the air given, as a flight placed in steady flight starts.
    void setSteadyThrust(double newtons, const EngineAir& air);

    // The engine fails: it flames out and winds down, whatever its fuel and starter do, and the
    // simulator reports it failed.
    void fail(int engine);
    bool failed(int engine) const { return engines[static_cast<std::size_t>(engine - 1)].failed; }

    // The thrust of both engines along the aircraft's axis, newtons (negative in reverse).
    double thrust() const;
    double thrust(int engine) const { return engines[static_cast<std::size_t>(engine - 1)].thrust; }
    double fuelWeightKg() const;
    double n1(int engine) const { return engines[static_cast<std::size_t>(engine - 1)].n1; }
    double n2(int engine) const { return engines[static_cast<std::size_t>(engine - 1)].n2; }
    bool combustion(int engine) const {
        return engines[static_cast<std::size_t>(engine - 1)].combustion;
    }

private:
    struct Engine {
        double n1 = 0.0;
        double n2 = 0.0;
        double itt = 15.0;
        double oilTemperature = 15.0;
        double fuelFlowPph = 0.0;
        double thrust = 0.0;
        bool combustion = false;
        bool failed = false;
    };

    static double forwardThrust(double n1, const EngineAir& air);
    void advanceEngine(int index, double seconds, const EngineAir& air);
    void spool(Engine& engine, double seconds, double targetN1);
    bool hasFuel(int index) const;
    void burnFuel(double seconds);
    void publish(int index, const EngineAir& air);
    double tankGallons(int tank) const;
    void setTankGallons(int tank, double gallons);

    Panel& panel;
    std::array<Engine, kCount> engines{};
};

// The N1 (%) the simulator's engine runs at for a thrust lever position (-1..1) at a pressure
// ratio, total air temperature and Mach number.
double n1ForLever(double lever, double pressureRatio, double totalTemperatureCelsius, double mach);

} // namespace tavi::sim
