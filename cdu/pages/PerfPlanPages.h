#pragma once

#include <cstdint>

namespace tavi {

class Fms;
class FlightPlan;
class FlightPlanLeg;

// PERF PLAN: the waypoints ahead on the active plan, three to a sub-page, with the fuel
// predicted on board at each and the time to fly its leg; the sub-pages after them are the
// alternate's (ALTN PERF PLAN). WIND/TEMP: the wind and temperature of one leg, edited in a copy
// until ENTER stores it into the leg or CLEAR drops it; REQUEST asks the simulator's weather for
// every leg ahead.
class PerfPlanPages {
public:
    explicit PerfPlanPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawPerfPlan() const;
    void onPerfPlanKey(int32_t key);
    void drawWindTemp() const;
    void onWindTempKey(int32_t key);
    // WIND/TEMP's entry action: the legs ahead are its sub-pages; the copy is of the leg shown.
    void enterWindTemp();

    // Sub-pages of the active plan, of the alternate, and of both: one each until the plan is
    // predicted.
    int32_t perfPlanPageCount() const;
    int32_t altnPerfPlanPageCount() const;
    int32_t totalPerfPlanPageCount() const;
    // Sends the simulator a weather request at every leg from the active one.
    void requestWindTemperature() const;

    int32_t perfPlanSubPage = 1;

    // WIND/TEMP's copy of the leg shown (-100 °C and -1 mean nothing entered).
    struct WindTempPage {
        int32_t subPage = 1;
        int32_t pageCount = 1;
        int32_t temperature = -100;
        int32_t altitude = -1;
        int32_t windDirection = -1;
        int32_t windSpeed = -1;
        bool modified = false;
    };
    WindTempPage windTemp;

private:
    void drawPlanEntry(int32_t entry, int32_t lineCount) const;
    void drawLegEntry(int32_t entry, int32_t valueRow) const;
    // The leg WIND/TEMP shows; nullptr past the end of the plan.
    FlightPlanLeg* shownLeg() const;
    void loadWindTemp();
    void storeWindTemp();
    // Moves WIND/TEMP one leg on (+1) or back (-1), onto the next fix leg that way.
    void turnWindTemp(int32_t step);
    void editWindTemp(int32_t key);

    Fms& fms;
};

} // namespace tavi
