// The settings file and the log, both beside the module's own file.
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/SettingRanges.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <cstdio>

namespace tavi {

namespace {

constexpr char kModuleFileName[] = "tavi_davud.gau";
// Every setting is read into a buffer of this size, so values keep at most 63 characters.
constexpr std::size_t kSettingBuffer = 64;
// A log line longer than this is cut: a damaged file or database cannot flood the log.
constexpr std::size_t kMaxLogLine = 1000;
constexpr char kCutMark[] = " [cut]";

std::string moduleFolder() {
    std::string modulePath = hostServices().loadedModulePath(kModuleFileName);
    if (modulePath.empty()) {
        modulePath = hostServices().executablePath();
    }
    return platform::files::folderOf(modulePath);
}

std::string oneLogLine(std::string_view text) {
    std::string line;
    for (const char c : text.substr(0, kMaxLogLine)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            line += format("\\x%02X", byte);
        } else {
            line += c;
        }
    }
    if (text.size() > kMaxLogLine) {
        line += kCutMark;
    }
    line += '\n';
    return line;
}

} // namespace

void Aircraft::buildPaths() {
    const std::string folder = moduleFolder();
    iniPath = folder + "tavi.ini";
    logPath = folder + "tavi.log";
    settings.reset();
    reportedSettings.clear();
}

const platform::profile::Document& Aircraft::settingsFile() const {
    if (!settings) {
        platform::profile::LoadedDocument loaded = platform::profile::loadDocument(iniPath);
        if (!loaded.problem.empty()) {
            log("tavi.ini ignored, " + loaded.problem + ": " + iniPath);
        }
        settings = std::move(loaded.document);
    }
    return *settings;
}

std::optional<std::string> Aircraft::settingText(const char* section, const char* key) const {
    std::optional<std::string> text = settingsFile().lookup(section, key);
    if (!text) {
        return text;
    }
    text->resize(std::min(text->size(), kSettingBuffer - 1));
    const SettingRange* range = settingRange(section, key);
    if (!range || isValidSetting(*range, *text)) {
        return text;
    }
    if (reportedSettings.insert(std::string(section) + "/" + key).second) {
        log(format("tavi.ini: [%s] %s=%s is not valid, the default is used", section, key,
                   text->c_str()));
    }
    return std::nullopt;
}

int32_t Aircraft::readIniInt(const char* section, const char* key, int32_t defaultValue) const {
    const std::optional<std::string> text = settingText(section, key);
    return text ? platform::profile::parseInt(*text) : defaultValue;
}

double Aircraft::readIniDouble(const char* section, const char* key, double defaultValue) const {
    // A missing key gives the caller's default itself: formatting it with six decimals first
    // would turn small defaults such as -0.0000004 into 0.
    const std::optional<std::string> text = settingText(section, key);
    return text ? platform::profile::parseDouble(*text) : defaultValue;
}

bool Aircraft::readIniBool(const char* section, const char* key, bool defaultValue) const {
    return readIniInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool Aircraft::fuelUseKg() const {
    return readIniInt("Preferences", "fuelUseKg", 0) == 1;
}

std::string Aircraft::readIniString(const char* section, const char* key,
                                    const char* defaultValue) const {
    const std::optional<std::string> text = settingText(section, key);
    return text ? *text : std::string(defaultValue).substr(0, kSettingBuffer - 1);
}

bool Aircraft::writeIniString(const char* section, const char* key, const char* value) const {
    if (!platform::profile::write(iniPath, section, key, value)) {
        return false;
    }
    if (settings) {
        settings->set(section, key, value);
    }
    return true;
}

bool Aircraft::writeIniInt(const char* section, const char* key, int32_t value) const {
    return writeIniString(section, key, format("%d", value).c_str());
}

void Aircraft::truncateLog() const {
    if (!platform::files::emptyFile(logPath)) {
        std::fprintf(stderr, "tavi: the log %s cannot be written; its lines follow here\n",
                     logPath.c_str());
    }
}

// A log that cannot be written still reaches the host's standard error, so a start-up that
// fails in a read-only folder says why.
void Aircraft::log(std::string_view text) const {
    const std::string line = oneLogLine(text);
    if (!platform::files::appendToFile(logPath, line)) {
        std::fprintf(stderr, "tavi: %s", line.c_str());
    }
}

} // namespace tavi
