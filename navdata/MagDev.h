#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace tavi {

// Magnetic variation on a whole-degree grid read from the simulator's variation file.
class MagDev {
public:
    static constexpr int kColumns = 360;
    static constexpr int kRows = 181;
    // Where the grid starts in the file, and the size of a file holding the whole grid.
    static constexpr std::size_t kGridOffset = 136;
    static constexpr std::size_t kFileSize = kGridOffset + kColumns * kRows * 2;

    // A grid of zeros; nothing is read.
    MagDev();
    // Loads "Scenery/Base/Scenery/magdec.bgl" of the simulator folder (ending in "/"); a
    // missing or unusable file leaves every value 0 and says why in problem().
    explicit MagDev(const std::string& simulatorFolder);
    virtual ~MagDev() = default;

    // False, the grid unchanged, when the file is not a regular file, cannot be read, is too
    // short for the grid or holds a grid that is no plausible variation map.
    bool load(const std::filesystem::path& path);
    // Why the last load failed ("missing: <path>", ...), for the log; empty after a good load.
    const std::string& problem() const { return loadProblem; }

    // The variation in degrees (east positive) at the nearest whole-degree grid point. Any
    // longitude wraps round the earth; latitudes beyond a pole use the pole's row.
    float variation(float latitude, float longitude) const;

private:
    // Column-major: longitude column i (degrees east) holds rows j from 90 S to 90 N.
    std::array<float, kColumns * kRows> grid{};
    std::string loadProblem;
};

} // namespace tavi
