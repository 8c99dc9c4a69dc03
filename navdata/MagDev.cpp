#include "navdata/MagDev.h"

#include "platform/files/Files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// A larger file is not a variation file.
constexpr std::size_t kMaxFileBytes = 1u << 20;
// Away from the magnetic poles the earth's variation stays well below this, and changes little
// from one whole degree to the next.
constexpr int kTemperateRows = 60;
constexpr float kTemperateLimit = 60.0f;
constexpr float kLargestStep = 20.0f;
// The share of temperate cells that may break those rules: a real grid has next to none, a file
// of random bytes most of them.
constexpr double kImplausibleShare = 0.05;

float angularDifference(float a, float b) {
    const float difference = std::fabs(a - b);
    return std::min(difference, 360.0f - difference);
}

bool isPlausible(const std::vector<float>& grid) {
    int cells = 0;
    int implausible = 0;
    for (int column = 0; column < MagDev::kColumns; ++column) {
        const int next = (column + 1) % MagDev::kColumns;
        for (int row = 90 - kTemperateRows; row <= 90 + kTemperateRows; ++row) {
            const float value = grid[static_cast<std::size_t>(column * MagDev::kRows + row)];
            const float neighbour = grid[static_cast<std::size_t>(next * MagDev::kRows + row)];
            ++cells;
            if (std::fabs(value) > kTemperateLimit ||
                angularDifference(value, neighbour) > kLargestStep) {
                ++implausible;
            }
        }
    }
    return implausible <= kImplausibleShare * cells;
}

} // namespace

MagDev::MagDev() = default;

MagDev::MagDev(const std::string& simulatorFolder) {
    load(std::filesystem::path(simulatorFolder + kVariationFile));
}

bool MagDev::load(const std::filesystem::path& path) {
    const platform::files::FileContent content =
        platform::files::readRegularFile(path, kMaxFileBytes);
    if (content.status != platform::files::FileContent::Status::Read) {
        loadProblem = platform::files::describe(content, kMaxFileBytes) + ": " + path.string();
        return false;
    }
    if (content.bytes.size() < kFileSize) {
        loadProblem = "too short for the grid: " + path.string();
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.bytes.data());
    std::vector<float> read(grid.size());
    for (std::size_t cell = 0; cell < read.size(); ++cell) {
        const std::size_t at = kGridOffset + 2 * cell;
        read[cell] = degreesFromRaw(static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
    }
    if (!isPlausible(read)) {
        loadProblem = "no plausible variation grid: " + path.string();
        return false;
    }
    std::copy(read.begin(), read.end(), grid.begin());
    loadProblem.clear();
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
