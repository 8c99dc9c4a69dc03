#include "navdata/MagDev.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace tavi {

namespace {

constexpr char kVariationFile[] = "Scenery/Base/Scenery/magdec.bgl";

float degreesFromRaw(uint16_t raw) {
    float degrees = static_cast<float>(raw * 1.52587890625e-5 * 360.0);
    if (degrees > 180.0f) {
        degrees -= 360.0f;
    }
    return degrees;
}

} // namespace

MagDev::MagDev() = default;

MagDev::MagDev(const std::string& simulatorFolder) {
    load(std::filesystem::path(simulatorFolder + kVariationFile));
}

bool MagDev::load(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::vector<unsigned char> bytes(kFileSize);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(kFileSize));
    if (static_cast<std::size_t>(file.gcount()) != kFileSize) {
        return false;
    }
    for (std::size_t cell = 0; cell < grid.size(); ++cell) {
        const std::size_t at = kGridOffset + 2 * cell;
        grid[cell] = degreesFromRaw(static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
    }
    return true;
}

float MagDev::variation(float latitude, float longitude) const {
    if (!std::isfinite(latitude) || !std::isfinite(longitude)) {
        return 0.0f;
    }
    const double column = std::fmod(std::floor(static_cast<double>(longitude) + 0.5), kColumns);
    const double row = std::floor(static_cast<double>(latitude) + 0.5) + 90.0;
    const int i = static_cast<int>(column < 0.0 ? column + kColumns : column);
    const int j = static_cast<int>(std::clamp(row, 0.0, static_cast<double>(kRows - 1)));
    return grid[static_cast<std::size_t>(i * kRows + j)];
}

} // namespace tavi
