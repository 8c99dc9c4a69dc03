#include "sim/MagneticVariation.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace tavi::sim {

namespace {

constexpr int kColumns = 360;
constexpr int kRows = 181;
constexpr std::size_t kGridOffset = 136;
constexpr double kDegreesPerUnit = 360.0 / 65536.0;

} // namespace

void MagneticVariation::load(const std::filesystem::path& simRoot) {
    grid.clear();
    std::ifstream file(simRoot / kFile, std::ios::binary);
    std::vector<unsigned char> bytes(kGridOffset + 2 * kColumns * kRows);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file || static_cast<std::size_t>(file.gcount()) != bytes.size()) {
        return;
    }
    grid.resize(static_cast<std::size_t>(kColumns * kRows));
    for (std::size_t cell = 0; cell < grid.size(); ++cell) {
        const std::size_t at = kGridOffset + 2 * cell;
        const double degrees = (bytes[at] | (bytes[at + 1] << 8)) * kDegreesPerUnit;
        grid[cell] = degrees > 180.0 ? degrees - 360.0 : degrees;
    }
}

double MagneticVariation::at(double latitude, double longitude) const {
    if (grid.empty() || !std::isfinite(latitude) || !std::isfinite(longitude)) {
        return 0.0;
    }
    double column = std::fmod(std::floor(longitude + 0.5), kColumns);
    if (column < 0.0) {
        column += kColumns;
    }
    const double row = std::clamp(std::floor(latitude + 0.5) + 90.0, 0.0, kRows - 1.0);
    return grid[static_cast<std::size_t>(column) * kRows + static_cast<std::size_t>(row)];
}

} // namespace tavi::sim
