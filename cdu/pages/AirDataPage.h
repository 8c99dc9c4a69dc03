#pragma once

#include <cstdint>

namespace tavi {

class Fms;

// AIR DATA 1: airspeeds, Mach, pressure and barometric altitude, vertical speed and the air
// temperatures, read from the air data computer and the AHRS each frame.
class AirDataPage {
public:
    explicit AirDataPage(Fms& fms) : fms(fms) {}

    void registerPages();

    void draw() const;
    void onKey(int32_t key);

private:
    Fms& fms;
};

} // namespace tavi
