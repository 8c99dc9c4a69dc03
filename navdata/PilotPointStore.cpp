#include "navdata/PilotPointStore.h"

#include "navdata/MagDev.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace tavi {

namespace {

namespace files = platform::files;
namespace profile = platform::profile;

constexpr char kSuffix[] = ".ri2v.wpt";
constexpr char kSection[] = "Waypoint";
constexpr char kLatitudeKey[] = "latitude";
constexpr char kLongitudeKey[] = "longtitude";
constexpr char kTypeKey[] = "ppType";
constexpr char kDefinitionKey[] = "pbd";
// A longer file name is not a pilot waypoint's: idents have at most 5 characters.
constexpr std::size_t kMaxFileName = 14;
// Values are read as into a 64-byte buffer.
constexpr std::size_t kValueBuffer = 64;

constexpr std::array<std::pair<PilotPointType, const char*>, 3> kTypeWords = {{
    {PilotPointType::LatLon, "LL"},
    {PilotPointType::PlaceBearingDistance, "PBD"},
    {PilotPointType::PlaceBearingPlaceBearing, "PBPB"},
}};

PilotPointType typeFromWord(std::string_view word) {
    for (const auto& [type, text] : kTypeWords) {
        if (word == text) {
            return type;
        }
    }
    return PilotPointType::Undefined;
}

std::string wordOfType(PilotPointType type) {
    for (const auto& [known, text] : kTypeWords) {
        if (known == type) {
            return text;
        }
    }
    return {};
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The ident a file stands for: its name before the first ".", upper-cased.
std::string identOfFile(const std::string& fileName) {
    std::string ident = fileName.substr(0, fileName.find('.'));
    for (char& c : ident) {
        c = asciiUpper(c);
    }
    return ident;
}

// "%lf" in the C locale, whatever the process's locale.
std::string degreesText(double degrees) {
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 6);
    return std::string(text, written.ptr);
}

double readDegrees(const std::filesystem::path& file, const char* key) {
    return profile::parseDouble(profile::read(file, kSection, key, "0.0", kValueBuffer));
}

} // namespace

PilotPointStore::PilotPointStore(const MagDev& magDev, LogSink log)
    : magDev(magDev), log(std::move(log)) {}

void PilotPointStore::loadFolder(const std::filesystem::path& folder) {
    byIdent.clear();
    customFolder = folder;
    for (const std::filesystem::path& file : files::findFiles(folder, std::string("*") + kSuffix)) {
        const std::string name = file.filename().string();
        if (name.size() > kMaxFileName) {
            continue;
        }
        if (!loadFile(identOfFile(name), file)) {
            log("Pilot waypoint file skipped: " + name);
        }
    }
}

bool PilotPointStore::loadFile(const std::string& ident, const std::filesystem::path& file) {
    const double latitude = readDegrees(file, kLatitudeKey);
    const double longitude = readDegrees(file, kLongitudeKey);
    if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0)) {
        return false;
    }
    const PilotPointType type =
        typeFromWord(profile::read(file, kSection, kTypeKey, "", kValueBuffer));
    if (ident.empty() || type == PilotPointType::Undefined) {
        return false;
    }
    PilotPoint point;
    point.ident = ident;
    point.latitude = latitude;
    point.longitude = longitude;
    point.ppType = type;
    point.definition = profile::read(file, kSection, kDefinitionKey, "", kValueBuffer);
    point.variation = magDev.variation(static_cast<float>(latitude), static_cast<float>(longitude));
    byIdent.emplace(ident, std::move(point));
    return true;
}

void PilotPointStore::add(const PilotPoint& point) {
    if (!point.isDefined()) {
        return;
    }
    PilotPoint stored = point;
    stored.variation =
        magDev.variation(static_cast<float>(point.latitude), static_cast<float>(point.longitude));
    const auto [at, inserted] = byIdent.emplace(point.ident, std::move(stored));
    if (inserted && hasFile(at->second)) {
        write(at->second);
    }
}

// The file is written whole and replaces the old one only when complete; a failure is logged
// and the point stays in the store all the same.
void PilotPointStore::write(const PilotPoint& point) const {
    const std::filesystem::path file = fileFor(point.ident);
    // A first pilot waypoint on a fresh simulator folder would otherwise be lost at the restart.
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    profile::LoadedDocument loaded = profile::loadDocument(file);
    profile::Document& document = loaded.document;
    document.set(kSection, kLatitudeKey, degreesText(point.latitude));
    document.set(kSection, kLongitudeKey, degreesText(point.longitude));
    document.set(kSection, kTypeKey, wordOfType(point.ppType));
    if (point.definition.empty() || !document.set(kSection, kDefinitionKey, point.definition)) {
        document.remove(kSection, kDefinitionKey);
    }
    if (!loaded.problem.empty() || !profile::saveDocument(file, document)) {
        log("Pilot waypoint file not saved: " + file.filename().string());
    }
}

// Temporary points have no file, nor has any point before the store knows its folder.
bool PilotPointStore::hasFile(const PilotPoint& point) const {
    return !customFolder.empty() && !point.isTemporary() && files::isPlainFileStem(point.ident);
}

std::filesystem::path PilotPointStore::fileFor(const std::string& ident) const {
    return files::resolveCaseInsensitive(customFolder / (ident + kSuffix));
}

void PilotPointStore::remove(const std::string& ident) {
    const auto found = byIdent.find(ident);
    if (found == byIdent.end()) {
        return;
    }
    const bool deleteFiles = hasFile(found->second);
    byIdent.erase(found);
    if (deleteFiles) {
        for (const std::filesystem::path& file : files::findFiles(customFolder, ident + kSuffix)) {
            files::deleteFile(file);
        }
    }
}

const PilotPoint* PilotPointStore::find(const std::string& ident) const {
    const auto found = byIdent.find(ident);
    return found == byIdent.end() ? nullptr : &found->second;
}

} // namespace tavi
