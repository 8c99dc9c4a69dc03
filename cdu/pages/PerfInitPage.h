#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class Fms;
struct PerfInit;

// PERFORMANCE INIT: the aircraft and its data source (sub-page 1), the climb, cruise and
// descent schedules (2), step increment, fuel reserve and take-off/landing fuel (3), transition
// altitude, speed limit, initial cruise altitude, ISA deviation and cruise wind (4), and the
// weights (5), where CONFIRM INIT runs the predictions for the first time.
class PerfInitPage {
public:
    explicit PerfInitPage(Fms& fms) : fms(fms) {}

    void registerPages();

    void draw() const;
    void onKey(int32_t key);

private:
    void drawAircraftSubPage() const;
    void drawScheduleSubPage() const;
    void drawFuelSubPage() const;
    void drawLimitsSubPage() const;
    void drawWeightSubPage() const;
    // The title of the sub-pages that show weights, with their unit.
    void drawUnitTitle() const;
    void drawWeightLine(int32_t row, double pounds, bool rounded) const;

    void onScheduleKey(int32_t key);
    void onFuelKey(int32_t key);
    void onLimitsKey(int32_t key);
    void onWeightKey(int32_t key);
    void enterClimbSchedule();
    void enterCruiseSchedule();
    void enterDescentSchedule();
    void enterFuelReserve();
    void enterTakeoffLandingFuel();
    void enterInitialCruiseAltitude();
    void compareFuelWithGauges();
    void confirm();

    // The entries 0 or more; with initialised, PERF DATA is offered.
    bool weightsComplete() const;
    bool kilograms() const;
    std::string weightText(double pounds) const;
    PerfInit& record() const;

    Fms& fms;
};

} // namespace tavi
