#include "core/SettingRanges.h"

#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <array>
#include <climits>
#include <cmath>
#include <limits>

namespace tavi {

namespace {

constexpr double kAnyInteger = static_cast<double>(INT32_MAX);
constexpr double kLowestInteger = static_cast<double>(INT32_MIN);
constexpr double kAnyNumber = std::numeric_limits<double>::max();
// Controller gains and outputs: wide, but finite, so that no controller runs on NaN.
constexpr double kGainLimit = 1.0e6;

// Switches are read as integers other than 0; any integer is a valid switch.
constexpr SettingRange kSwitch(std::string_view section, std::string_view key) {
    return {section, key, kLowestInteger, kAnyInteger};
}

// The first match wins, so a specific key comes before a pattern that also covers it.
constexpr std::array kRanges = {
    // Start-up and systems.
    // 0 dark and cold, 1 ready for engine start, any other value engines running.
    kSwitch("Startup", "startupMode"),
    kSwitch("Electric", "infiniteBattery"),
    kSwitch("Engines", "thrustReverserAvailable"),
    SettingRange{"Engines", "groundIgnitionN2", 0, 100},
    SettingRange{"Engines", "flightIgnitionN2", 0, 100},
    SettingRange{"Engines", "flightFuelValve", 0, 100},
    SettingRange{"Engines", "thrustDev", -50, 50},
    SettingRange{"Engines", "idleFuelFlowScalar", 0, 10},
    SettingRange{"Brakes", "heatingScalar", 0, 100},
    SettingRange{"Brakes", "scaleMax", 1, 10000},
    SettingRange{"Brakes", "scaleMaxGreen", 1, 10000},
    SettingRange{"Brakes", "overheat", 1, 10000},
    // Preferences.
    SettingRange{"Preferences", "steeringAngle", 0, 90},
    SettingRange{"Preferences", "nmBeforeTod", 0, 500},
    kSwitch("Preferences", "*"),
    kSwitch("Fms.FltConf", "*"),
    kSwitch("Fms.Maint", "*"),
    // The performance entries, within the ranges the pages take them in.
    kSwitch("Fms.Perf", "is*"),
    SettingRange{"Fms.Perf", "*Ias", 0, 450},
    SettingRange{"Fms.Perf", "*Mach", 0, 0.99},
    SettingRange{"Fms.Perf", "*Angle", 1, 6},
    SettingRange{"Fms.Perf", "cruizeMode", 0, 3},
    SettingRange{"Fms.Perf", "descentMode", 0, 2},
    SettingRange{"Fms.Perf", "fuelReserveType", 0, 2},
    SettingRange{"Fms.Perf", "fuelReserveTime", -1, 600},
    SettingRange{"Fms.Perf", "*Dist", 0, 999},
    SettingRange{"Fms.Perf", "spdLim", 0, 450},
    SettingRange{"Fms.Perf", "crzIsaDev", -59, 35},
    SettingRange{"Fms.Perf", "crzWindDir", 0, 360},
    SettingRange{"Fms.Perf", "crzWindStrength", 0, 500},
    SettingRange{"Fms.Perf", "paxWeight", 0, 300},
    SettingRange{"Fms.Perf", "depAgl", 0, 60000},
    SettingRange{"Fms.Perf", "transAlt", 0, 60000},
    SettingRange{"Fms.Perf", "altLim", 0, 60000},
    SettingRange{"Fms.Perf", "crzWindAlt", 0, 60000},
    SettingRange{"Fms.Perf", "fuelReserveWeight", -1, 999999},
    SettingRange{"Fms.Perf", "*", 0, 999999},
    kSwitch("FSUIPC", "*"),
    // Autopilot and flight director.
    SettingRange{"Autopilot", "maxPitch", 0, 90},
    SettingRange{"Autopilot", "minPitch", -90, 0},
    SettingRange{"Autopilot", "maxBank", 0, 60},
    SettingRange{"Autopilot", "halfBank", 0, 60},
    SettingRange{"Autopilot", "lnav_max_bank", 0, 60},
    SettingRange{"Autopilot", "lnav_max_bank_ias", 0, 1000},
    SettingRange{"Autopilot", "pitchStep", 0, 10},
    SettingRange{"Autopilot", "bankStep", 0, 30},
    SettingRange{"Autopilot", "*breakpoint", 0, 100000},
    SettingRange{"Autopilot", "hdg_*Spd", 0, 1000},
    SettingRange{"Autopilot", "*_Ti", 0, kGainLimit},
    SettingRange{"Autopilot", "*_Td", 0, kGainLimit},
    SettingRange{"Autopilot", "*_time", 0, 1000},
    SettingRange{"Autopilot", "*_filter", 0, 1000},
    kSwitch("Autopilot", "autotrim"),
    SettingRange{"Autopilot", "*", -kGainLimit, kGainLimit},
    // Screens.
    SettingRange{"GDI+", "textRenderingHint", 0, 5},
    kSwitch("GDI+", "*"),
    // Any number: the screens hold it within 0..100 themselves.
    SettingRange{"FPS", "*", -kAnyNumber, kAnyNumber},
};

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// Plain decimal only: what strtod would also read as hex, "inf" or "nan" is no setting.
bool isPlainDecimal(std::string_view text) {
    bool digit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E') {
            return false;
        }
    }
    return digit;
}

} // namespace

const SettingRange* settingRange(std::string_view section, std::string_view key) {
    for (const SettingRange& range : kRanges) {
        if (equalNoCase(range.section, section) &&
            platform::files::matchesPattern(key, range.key)) {
            return &range;
        }
    }
    return nullptr;
}

bool isValidSetting(const SettingRange& range, std::string_view text) {
    if (!isPlainDecimal(text)) {
        return false;
    }
    std::size_t used = 0;
    const double value = platform::profile::parseDouble(text, &used);
    return used == text.size() && std::isfinite(value) && value >= range.minimum &&
           value <= range.maximum;
}

} // namespace tavi
