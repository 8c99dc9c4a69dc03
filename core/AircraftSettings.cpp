// The settings file and the log, both beside the module's own file.
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <cstdio>

namespace tavi {

namespace {

constexpr char kModuleFileName[] = "tavi_davud.gau";
// Every setting is read into a buffer of this size, so values keep at most 63 characters.
constexpr std::size_t kSettingBuffer = 64;

std::string moduleFolder() {
    std::string modulePath = hostServices().loadedModulePath(kModuleFileName);
    if (modulePath.empty()) {
        modulePath = hostServices().executablePath();
    }
    return platform::files::folderOf(modulePath);
}

} // namespace

void Aircraft::buildPaths() {
    const std::string folder = moduleFolder();
    iniPath = folder + "tavi.ini";
    logPath = folder + "tavi.log";
}

int32_t Aircraft::readIniInt(const char* section, const char* key, int32_t defaultValue) const {
    const std::string text =
        platform::profile::read(iniPath, section, key, format("%d", defaultValue), kSettingBuffer);
    return platform::profile::parseInt(text);
}

double Aircraft::readIniDouble(const char* section, const char* key, double defaultValue) const {
    // A missing key gives the caller's default itself: formatting it with six decimals first
    // would turn small defaults such as -0.0000004 into 0.
    const auto text = platform::profile::lookup(iniPath, section, key);
    if (!text) {
        return defaultValue;
    }
    return platform::profile::parseDouble(std::string_view(*text).substr(0, kSettingBuffer - 1));
}

bool Aircraft::readIniBool(const char* section, const char* key, bool defaultValue) const {
    return readIniInt(section, key, defaultValue ? 1 : 0) != 0;
}

std::string Aircraft::readIniString(const char* section, const char* key,
                                    const char* defaultValue) const {
    return platform::profile::read(iniPath, section, key, defaultValue, kSettingBuffer);
}

bool Aircraft::writeIniString(const char* section, const char* key, const char* value) const {
    return platform::profile::write(iniPath, section, key, value);
}

bool Aircraft::writeIniInt(const char* section, const char* key, int32_t value) const {
    return writeIniString(section, key, format("%d", value).c_str());
}

void Aircraft::truncateLog() const {
    if (std::FILE* file = std::fopen(logPath.c_str(), "w")) {
        std::fclose(file);
    }
}

void Aircraft::log(std::string_view text) const {
    std::FILE* file = std::fopen(logPath.c_str(), "a");
    if (!file) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

} // namespace tavi
