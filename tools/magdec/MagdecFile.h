#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// Writer of magnetic-variation grid files, the layout the module's MagDev reads: 136 bytes of
// header, then 360 longitude columns (degrees east, column 0 first) of 181 little-endian
// 16-bit values from 90 S to 90 N; a value v stands for v / 65536 x 360 degrees, values above
// 180 degrees being west variation.
namespace tavi::tools {

// The grid value of a variation in degrees, east positive, to the nearest 1/65536 of a turn.
uint16_t rawFromDegrees(double degrees);

// Writes the file with rawAt(column, row) in every cell, creating its folder; false when the
// file cannot be written.
bool writeMagdecFile(const std::filesystem::path& path,
                     const std::function<uint16_t(int column, int row)>& rawAt);

} // namespace tavi::tools
