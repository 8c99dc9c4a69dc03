#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Baro;
class Fms;
class RunwayDataPage;

// TAKEOFF and LANDING: one design on two records. The runway with its length, elevation and
// pressure altitude, the outside air temperature and surface wind the crew entered
// (sub-page 1), and the wind's components along the runway and the density altitude
// (sub-page 2).
class RunwayDataPages {
public:
    explicit RunwayDataPages(Fms& fms) : fms(fms) {}

    void registerPages();

    // What tells the two pages apart.
    struct Design {
        const char* title;
        const char* leftPrompt;
        int32_t leftPage;
        const char* rightPrompt;
        int32_t rightPage;
    };

    void draw(const RunwayDataPage& page, const Design& design) const;
    void onKey(RunwayDataPage& page, const Design& design, int32_t key);
    // The entry actions: the runway the active plan starts from, or ends at.
    void enterTakeoffPage();
    void enterLandingPage();

private:
    void drawRunwaySubPage(const RunwayDataPage& page) const;
    void drawWindSubPage(const RunwayDataPage& page) const;
    void enterOat(RunwayDataPage& page);
    void enterSurfaceWind(RunwayDataPage& page);
    // Feet, in single precision as the crew's charts are.
    float pressureAltitude(const RunwayDataPage& page) const;
    float densityAltitude(const RunwayDataPage& page) const;
    float outsideAirTemperature(const RunwayDataPage& page) const;
    const Baro* baro() const;
    float mainSettingInHg() const;
    // The main altimeter setting in inches, or in hectopascals when the crew prefers them.
    std::string baroText() const;

    Fms& fms;
};

} // namespace tavi
