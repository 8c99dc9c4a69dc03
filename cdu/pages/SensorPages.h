#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fms;
class Gps;
class RadioUnit;

// The sub-pages of the sensor and setup pages, and the bank angle FLIGHT CONFIG shows.
struct MaintenancePage {
    int32_t subPage = 1;
    int32_t pageCount = 3;
};

struct GpsStatusPage {
    int32_t subPage = 1;
    int32_t pageCount = 2;
};

struct VorDmePage {
    int32_t subPage = 1;
    int32_t pageCount = 2;
};

struct FlightConfigPage {
    int32_t subPage = 1;
    int32_t pageCount = 2;
    // Degrees, 0..15; shown only.
    int32_t bankAngle = 7;
};

// MAINTENANCE (operating mode, failed sensors, heading reference), POS SENSORS, GPS 1 STATUS,
// VOR/DME, FMS SETUP and FLIGHT CONFIG. The switches they change live in the FMS for the life
// of the module: nothing here writes the settings file.
class SensorPages {
public:
    // The selected magnetic reference is used at once only between these latitudes.
    static constexpr double kMagneticNorthLimit = 72.5;
    static constexpr double kMagneticSouthLimit = -59.5;

    explicit SensorPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawMaintenancePage() const;
    void drawPosSensorsPage() const;
    void drawGpsStatusPage() const;
    void drawVorDmePage() const;
    void drawFmsSetupPage() const;
    void drawFlightConfigPage() const;
    void onMaintenanceKey(int32_t key);
    void onPosSensorsKey(int32_t key);
    void onGpsStatusKey(int32_t key);
    void onVorDmeKey(int32_t key);
    void onFmsSetupKey(int32_t key);
    void onFlightConfigKey(int32_t key);

    MaintenancePage maintenancePage;
    GpsStatusPage gpsStatusPage;
    VorDmePage vorDmePage;
    FlightConfigPage flightConfigPage;

private:
    void toggleHeadingReference();
    void enterBankAngle();
    void drawFailedSensors() const;
    void drawGpsPosition() const;
    void drawGpsQuality() const;
    // An option line: its state on the value row, "OR" and the state offered at the right.
    void drawOption(int32_t row, bool on) const;
    const Gps* gps() const;
    bool gpsPowered() const;
    const RadioUnit* radioUnit(int32_t side) const;

    Fms& fms;
};

} // namespace tavi
