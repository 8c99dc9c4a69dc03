#pragma once

#include "fms/SpeedSchedules.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tavi {

class FlightPlan;
class FmsPerf;
struct PerfInit;

// The top of the performance predictions: it checks that the active plan and the performance
// entries can be predicted, refreshes the phases' speed targets, chooses the cruise altitude the
// first time, predicts the route into the performance record, plans a step climb that saves
// fuel and marks it "BOSC", keeps the take-off prediction until airborne and warns of short
// destination or reserve fuel.
class FuelPredictions {
public:
    struct Inputs {
        uint32_t simTimeMs = 0;
        bool airborne = false;
        float altitude = 0.0f;
        float preselect = 0.0f;
        float activeLegFlown = 0.0f;
        // Pounds in the two main tanks now.
        float fuelInTanks = 0.0f;
        const FlightPlan* alternate = nullptr;
    };
    using ShowMessage = std::function<void(const std::string&, int32_t)>;

    FuelPredictions(const FmsPerf& perf, PerfInit& perfInit)
        : perf(perf), perfInit(perfInit), schedules(perfInit, envelope) {}

    void update(FlightPlan& plan, const Inputs& inputs, const ShowMessage& showMessage);

private:
    const FmsPerf& perf;
    PerfInit& perfInit;

public:
    SpeedEnvelope envelope;
    SpeedSchedules schedules;

private:
    // The altitude (ft) of least trip fuel, or least time at maximum speed, at or above the
    // preselected altitude.
    int32_t chooseCruiseAltitude(const FlightPlan& plan, float preselect);
    // Where along the route (nm from the origin) the aircraft has burned enough fuel for its
    // ceiling to reach the next cruise altitude, early enough to fly there over 100 nm before the
    // top of descent; false when it never does or the cruise is too short.
    bool findStepPoint(const FlightPlan& plan, const Inputs& inputs, double& distance) const;
};

} // namespace tavi
