#pragma once

#include "cdu/CduScreen.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fms;

// PERF DATA: the flight predictions in four sub-pages: cruise and ceiling altitude with time
// and fuel to the destination (1); distance, arrival time, fuel and gross weight there (2); the
// average cruise wind and the destination fuel against the preflight plan (3); the reserve
// rule and the reserve against the preflight plan (4).
class PerfDataPage {
public:
    explicit PerfDataPage(Fms& fms) : fms(fms) {}

    void registerPages();

    void draw() const;
    void onKey(int32_t key);

    int32_t subPage = 1;
    int32_t pageCount = 4;

private:
    void drawAltitudeSubPage(bool available) const;
    void drawDestinationSubPage(bool available) const;
    void drawWindSubPage(bool available) const;
    void drawReserveSubPage(bool available) const;
    void drawReserveRule() const;
    // The updated destination fuel less the preflight plan's, signed unless it reads 0.0.
    std::string fuelDifference() const;
    std::string thousands(double pounds) const;
    // A small value whose last character is in the column.
    void putSmall(int32_t row, int32_t lastColumn, const std::string& text, CduColour colour) const;

    Fms& fms;
};

} // namespace tavi
