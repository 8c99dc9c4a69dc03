#pragma once

#include <cstdint>

namespace tavi {

class Fms;

// FLIGHT SUMMARY: the last complete flight's takeoff and landing times, the time en route, the
// fuel used, the average true airspeed and ground speed and the distances through the air and
// over the ground. The page opens by itself at the landing.
class FlightSummaryPage {
public:
    explicit FlightSummaryPage(Fms& fms) : fms(fms) {}

    void registerPages();

    void draw() const;
    void onKey(int32_t key);

private:
    void drawFlight() const;

    Fms& fms;
};

} // namespace tavi
