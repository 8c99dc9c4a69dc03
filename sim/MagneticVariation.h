#pragma once

#include <filesystem>
#include <vector>

namespace tavi::sim {

// The magnetic variation the simulator takes from its variation file
// ("Scenery/Base/Scenery/magdec.bgl"): a whole-degree grid of 16-bit turns, longitude columns
// of rows from 90 S to 90 N. Without the file the variation is 0 everywhere.
class MagneticVariation {
public:
    static constexpr char kFile[] = "Scenery/Base/Scenery/magdec.bgl";

    // Reads the simulator folder's file; a missing or short file leaves no variation.
    void load(const std::filesystem::path& simRoot);

    // Degrees, east positive, at the nearest grid point.
    double at(double latitude, double longitude) const;

private:
    std::vector<double> grid;
};

} // namespace tavi::sim
