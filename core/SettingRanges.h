#pragma once

#include <string_view>

namespace tavi {

// The values a numeric setting of tavi.ini may take. A value outside its range, or one that is
// not a plain decimal number (a letter O for a zero, "nan", "inf", a hex number, an empty
// value), would make the aircraft misbehave quietly, so the module takes the key's default
// instead and says so in its log.
struct SettingRange {
    // "*" in a key stands for any run of characters.
    std::string_view section;
    std::string_view key;
    double minimum;
    double maximum;
};

// The range of a numeric setting, or nullptr for a setting that is text (or that the module
// does not know).
const SettingRange* settingRange(std::string_view section, std::string_view key);

// A plain decimal number (sign, digits, point, exponent) within the range.
bool isValidSetting(const SettingRange& range, std::string_view text);

} // namespace tavi
