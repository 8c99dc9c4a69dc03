#include "tools/magdec/MagdecFile.h"

#include "navdata/MagDev.h"

#include <cmath>
#include <fstream>
#include <vector>

namespace tavi::tools {

uint16_t rawFromDegrees(double degrees) {
    const double turns = std::round(degrees / 360.0 * 65536.0);
    const double wrapped = turns - 65536.0 * std::floor(turns / 65536.0);
    return static_cast<uint16_t>(wrapped);
}

bool writeMagdecFile(const std::filesystem::path& path,
                     const std::function<uint16_t(int column, int row)>& rawAt) {
    std::vector<unsigned char> bytes(MagDev::kFileSize, 0);
    std::size_t at = MagDev::kGridOffset;
    for (int column = 0; column < MagDev::kColumns; ++column) {
        for (int row = 0; row < MagDev::kRows; ++row) {
            const uint16_t raw = rawAt(column, row);
            bytes[at++] = static_cast<unsigned char>(raw & 0xFF);
            bytes[at++] = static_cast<unsigned char>(raw >> 8);
        }
    }
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace tavi::tools
