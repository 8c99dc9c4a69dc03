#pragma once

#include <cstdint>

namespace tavi {

class Fms;

// PERF INDEX, the menu behind the PERF key, and DEP/APP SPEED: the departure speed limit with
// the height and distance it applies to (sub-page 1) and the approach speed limit with its
// distance and whether it starts at the first approach waypoint (sub-page 2).
class PerfIndexPages {
public:
    explicit PerfIndexPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawPerfIndex() const;
    void onPerfIndexKey(int32_t key);
    void drawDepAppSpeed() const;
    void onDepAppSpeedKey(int32_t key);

    // PERF INDEX's record.
    int32_t subPage = 1;
    int32_t pageCount = 2;

private:
    void drawDepartureSpeed() const;
    void drawApproachSpeed() const;
    void onDepartureSpeedKey(int32_t key);
    void onApproachSpeedKey(int32_t key);

    Fms& fms;
};

} // namespace tavi
