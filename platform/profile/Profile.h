#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Private-profile files: "[section]" lines and "key=value" lines.
//
// Reading rules: section and key names match without regard to case and the first matching
// section and key win; spaces and tabs around names, "=" and values are trimmed; one pair of
// matching quotes around a value is removed; lines starting with ";" are comments; LF and CRLF
// line ends are both accepted. A file that is missing, unreadable or garbage reads as empty.
// Every call opens the file anew: nothing is cached.
namespace tavi::platform::profile {

// The value of the key, or nothing when the file, the section or the key is missing.
std::optional<std::string> lookup(const std::filesystem::path& file, std::string_view section,
                                  std::string_view key);

// The value, or the default when missing, cut to bufferSize - 1 bytes (the caller's buffer).
std::string read(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view defaultValue, std::size_t bufferSize);

// Writes key=value into the section, creating the file and the section when missing. The key's
// first occurrence is replaced in place, otherwise the key is appended after the section's last
// entry; every other line is kept byte for byte. The new file replaces the old one in one
// rename, so a failed write answers false and leaves the old file whole.
bool write(const std::filesystem::path& file, std::string_view section, std::string_view key,
           std::string_view value);

// Decimal integer as the C library's atoi reads it, independent of the locale: leading white
// space, an optional sign, then digits up to the first other character; 0 when no digit comes
// first; saturates at the int32 limits.
int32_t parseInt(std::string_view text);

// Decimal floating-point number as atof reads it in the C locale ("12,5" gives 12.0); 0.0 when
// nothing converts.
double parseDouble(std::string_view text);

} // namespace tavi::platform::profile
