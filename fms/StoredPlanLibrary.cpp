#include "fms/StoredPlanLibrary.h"

#include "core/Format.h"
#include "fms/FlightPlanContext.h"
#include "navdata/GcNav.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace tavi {

namespace {

namespace files = platform::files;
namespace profile = platform::profile;

constexpr char kSuffix[] = ".ri2v.fpl";
constexpr char kOriginSection[] = "Origin";
constexpr char kDestinationSection[] = "Destination";
constexpr char kRouteSection[] = "Route";
constexpr char kIdentKey[] = "ident";
constexpr char kTypeKey[] = "type";
constexpr char kLatitudeKey[] = "latitude";
// Spelled so in every plan file.
constexpr char kLongitudeKey[] = "longtitude";
constexpr char kGroundSpeedKey[] = "gspd";
constexpr char kCountKey[] = "countOfPoints";
constexpr char kDefaultGroundSpeedText[] = "300";
constexpr uint32_t kDefaultGroundSpeed = 300;
// Values are read as into a 64-byte buffer.
constexpr std::size_t kValueBuffer = 64;
// A file name of this length or more is not a plan's.
constexpr std::size_t kMaxFileName = 20;
constexpr std::size_t kPlansPerPage = 4;
// Farther from its threshold than any runway is long.
constexpr double kMaxTakeoffRunNm = 5.0;

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        c = asciiUpper(c);
    }
    return text;
}

// A name that names one file of the folder and comes back as itself from a folder scan:
// nothing that leads out of the folder, ends the name early or matches other names.
bool isPlanName(std::string_view name) {
    return name.size() <= StoredPlanLibrary::kMaxNameLength && files::isPlainFileStem(name);
}

// "%lf" in the C locale, whatever the process's locale.
std::string degreesText(double degrees) {
    char text[400];
    const auto written =
        std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 6);
    return std::string(text, written.ptr);
}

std::string pointPrefix(std::size_t index) {
    return format("Wpt.%02zu.", index);
}

std::string readValue(const profile::Document& file, const char* section, const std::string& key,
                      const char* defaultValue) {
    return file.read(section, key, defaultValue, kValueBuffer);
}

// The four keys of a point, the type read with its default.
Waypoint readPoint(const profile::Document& file, const char* section, const std::string& prefix,
                   const char* defaultType) {
    Waypoint point;
    point.ident = readValue(file, section, prefix + kIdentKey, "");
    point.kind = static_cast<WaypointKind>(
        profile::parseInt(readValue(file, section, prefix + kTypeKey, defaultType)));
    point.latitude = profile::parseDouble(readValue(file, section, prefix + kLatitudeKey, "0.0"));
    point.longitude = profile::parseDouble(readValue(file, section, prefix + kLongitudeKey, "0.0"));
    return point;
}

// False when the document refused a value, which would not have read back.
bool setPoint(profile::Document& document, const char* section, const std::string& prefix,
              const Waypoint& point) {
    return document.set(section, prefix + kIdentKey, point.ident) &&
           document.set(section, prefix + kTypeKey,
                        std::to_string(static_cast<int32_t>(point.kind))) &&
           document.set(section, prefix + kLatitudeKey, degreesText(point.latitude)) &&
           document.set(section, prefix + kLongitudeKey, degreesText(point.longitude));
}

// An origin or destination the pilot has not entered yet, written as a point of type 0 without
// an ident; a section that lacks the keys is damaged, not empty.
bool isEndNotEntered(const profile::Document& file, const char* section) {
    const std::optional<std::string> ident = file.lookup(section, kIdentKey);
    const std::optional<std::string> type = file.lookup(section, kTypeKey);
    return ident && type && ident->empty() && profile::parseInt(*type) == 0;
}

// The airport a point belongs to, for finding a stored runway again.
std::string airportOf(const Waypoint& point) {
    if (!point.aptIdent.empty()) {
        return point.aptIdent;
    }
    return point.kind == WaypointKind::Airport ? point.ident : std::string();
}

// A point written for a leg without a fix: type 0 and no ident.
bool isBreakPoint(const Waypoint& point) {
    return point.kind == WaypointKind::Plain && point.ident.empty();
}

// A position on the earth within a takeoff run of the runway.
bool isTakeoffRunEnd(const Waypoint& stored, const Waypoint& runway) {
    return std::fabs(stored.latitude) <= 90.0 && std::fabs(stored.longitude) <= 180.0 &&
           GcNav::distanceBetween(runway.latitude, runway.longitude, stored.latitude,
                                  stored.longitude) <= kMaxTakeoffRunNm;
}

} // namespace

StoredPlanLibrary::StoredPlanLibrary(Resolver resolver, LogSink log)
    : resolve(std::move(resolver)), log(std::move(log)) {}

void StoredPlanLibrary::loadStoredPlans(const std::filesystem::path& folder,
                                        const FlightPlanContext& context) {
    byName.clear();
    customFolder = folder;
    for (const std::filesystem::path& file : files::findFiles(folder, std::string("*") + kSuffix)) {
        const std::string fileName = file.filename().string();
        const std::string key = upperCased(fileName.substr(0, fileName.find('.')));
        FlightPlan plan;
        if (fileName.size() >= kMaxFileName || key.empty() ||
            !readPlanFileHeader(plan, key, file, context)) {
            log("Stored flight plan skipped: " + fileName);
            continue;
        }
        byName.insert_or_assign(key, std::move(plan));
    }
}

bool StoredPlanLibrary::readPlanFileHeader(FlightPlan& plan, const std::string& name,
                                           const std::filesystem::path& file,
                                           const FlightPlanContext& context) const {
    return readHeader(plan, name, profile::loadDocument(file).document, context);
}

// Each plan file is read once into a document: every point of a long route is looked up there,
// not in the file again.
bool StoredPlanLibrary::readHeader(FlightPlan& plan, const std::string& name,
                                   const profile::Document& file,
                                   const FlightPlanContext& context) const {
    plan.clear(context);
    plan.setName(name);
    // A plan the pilot named without its ends is his plan all the same: it stays listed and opens
    // with what it holds.
    if (!isEndNotEntered(file, kOriginSection) && !readOrigin(plan, file, context)) {
        return false;
    }
    return isEndNotEntered(file, kDestinationSection) || readDestination(plan, file, context);
}

bool StoredPlanLibrary::readOrigin(FlightPlan& plan, const profile::Document& file,
                                   const FlightPlanContext& context) const {
    const Waypoint stored = readPoint(file, kOriginSection, "", "");
    // Runway ends are found as whole runways: the takeoff position update and the go-around
    // read the plan's runways, which would otherwise stand at 0N 0E.
    Runway origin;
    static_cast<Waypoint&>(origin) = stored;
    if (origin.kind == WaypointKind::Plain || !resolve(origin, {})) {
        return false;
    }
    // An origin runway stands where the takeoff run ends, its length past the threshold; a
    // damaged position, not near the runway at all, leaves the database's.
    if (origin.kind == WaypointKind::Runway) {
        plan.orgRwy = origin;
        if (isTakeoffRunEnd(stored, origin)) {
            origin.latitude = stored.latitude;
            origin.longitude = stored.longitude;
        }
    }
    plan.setOrigin(origin, context);
    return true;
}

bool StoredPlanLibrary::readDestination(FlightPlan& plan, const profile::Document& file,
                                        const FlightPlanContext& context) const {
    Runway destination;
    static_cast<Waypoint&>(destination) = readPoint(file, kDestinationSection, "", "");
    const std::array<std::string, 1> airports = {airportOf(plan.org)};
    if (destination.kind == WaypointKind::Plain || !resolve(destination, airports)) {
        return false;
    }
    if (destination.kind == WaypointKind::Runway) {
        plan.destRwy = destination;
    }
    plan.setDestination(destination, context);
    return true;
}

bool StoredPlanLibrary::loadPlanFile(FlightPlan& plan, const std::string& name,
                                     const std::filesystem::path& path,
                                     const FlightPlanContext& context) const {
    const profile::Document file = profile::loadDocument(path).document;
    if (!readHeader(plan, name, file, context)) {
        return false;
    }
    // A speed that is not a positive number would make the plan's times meaningless.
    const int32_t groundSpeed =
        profile::parseInt(readValue(file, kRouteSection, kGroundSpeedKey, kDefaultGroundSpeedText));
    plan.setGroundSpeed(groundSpeed > 0 ? static_cast<uint32_t>(groundSpeed) : kDefaultGroundSpeed,
                        context);
    const int32_t count = profile::parseInt(readValue(file, kRouteSection, kCountKey, "0"));
    if (count < 0 || static_cast<std::size_t>(count) > kMaxPoints) {
        log(format("Stored flight plan refused: %s claims %d route points", name.c_str(), count));
        plan.clear(context);
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!readPlanPoint(plan, file, static_cast<std::size_t>(i))) {
            plan.clear(context);
            return false;
        }
    }
    plan.recalculate(context);
    return true;
}

// A point must have been written: a count the points do not bear out fails the read.
bool StoredPlanLibrary::readPlanPoint(FlightPlan& plan, const profile::Document& file,
                                      std::size_t index) const {
    const std::string prefix = pointPrefix(index);
    if (!file.lookup(kRouteSection, prefix + kTypeKey)) {
        return false;
    }
    FlightPlanLeg leg;
    Waypoint point = readPoint(file, kRouteSection, prefix, "0");
    if (isBreakPoint(point)) {
        leg.setDiscontinuity(true);
        plan.legs.push_back(leg);
        return true;
    }
    const std::array<std::string, 2> airports = {airportOf(plan.dest), airportOf(plan.org)};
    if (point.kind == WaypointKind::Plain || !resolve(point, airports)) {
        return false;
    }
    leg.wpt = point;
    plan.legs.push_back(leg);
    return true;
}

// The whole file is written at once and replaces the old one only when it is complete: a
// plan the pilot saved before survives a full disk, and a value the file cannot hold (which
// would make the plan unreadable) keeps the old file rather than reporting a save.
bool StoredPlanLibrary::savePlanFile(const FlightPlan& plan) {
    const std::string& name = plan.name();
    if (customFolder.empty() || !isPlanName(name)) {
        return false;
    }
    const std::filesystem::path file = customFolder / (name + kSuffix);
    const std::vector<Waypoint> points = routePoints(plan);
    if (points.size() > kMaxPoints) {
        log(format("Stored flight plan not saved: %s has %zu route points",
                   file.filename().string().c_str(), points.size()));
        return false;
    }
    profile::Document document;
    bool complete = setPoint(document, kOriginSection, "", plan.org) &&
                    setPoint(document, kDestinationSection, "", plan.dest) &&
                    document.set(kRouteSection, kGroundSpeedKey, std::to_string(plan.gspd)) &&
                    document.set(kRouteSection, kCountKey, std::to_string(points.size()));
    for (std::size_t i = 0; complete && i < points.size(); ++i) {
        complete = setPoint(document, kRouteSection, pointPrefix(i), points[i]);
    }
    if (!complete) {
        log("Stored flight plan not saved: " + file.filename().string() +
            " holds a value a plan file cannot");
        return false;
    }
    if (!profile::saveDocument(file, document)) {
        log("Stored flight plan not saved: " + file.filename().string());
        return false;
    }
    byName.insert_or_assign(upperCased(name), plan);
    for (const std::filesystem::path& other : files::findFiles(customFolder, name + kSuffix)) {
        if (other != file) {
            files::deleteFile(other);
        }
    }
    return true;
}

// A point the database cannot give back (a vectors leg, a generated point) would make the whole
// file unreadable: it is written as a route break, which reads back, and the log names it.
std::vector<Waypoint> StoredPlanLibrary::routePoints(const FlightPlan& plan) const {
    const std::array<std::string, 2> airports = {airportOf(plan.dest), airportOf(plan.org)};
    std::vector<Waypoint> points;
    for (const FlightPlanLeg& leg : plan.legs) {
        Waypoint point = leg.wpt;
        Waypoint found = point;
        if (!isBreakPoint(point) && !resolve(found, airports)) {
            log("Stored flight plan point kept as a route break: " + point.ident);
            point = Waypoint();
        }
        const bool repeatedBreak =
            isBreakPoint(point) && !points.empty() && isBreakPoint(points.back());
        if (!repeatedBreak) {
            points.push_back(point);
        }
    }
    return points;
}

bool StoredPlanLibrary::storedPlanAt(std::size_t index, FlightPlan& plan) const {
    if (index >= byName.size()) {
        return false;
    }
    plan = std::next(byName.begin(), static_cast<std::ptrdiff_t>(index))->second;
    return true;
}

void StoredPlanLibrary::refreshEntry(const std::string& name, const FlightPlanContext& context) {
    const auto entry = byName.find(upperCased(name));
    const std::optional<std::filesystem::path> file = fileFor(name);
    if (entry == byName.end() || !file) {
        return;
    }
    FlightPlan header;
    if (readPlanFileHeader(header, name, *file, context)) {
        entry->second = std::move(header);
    } else {
        log("Stored flight plan skipped: " + file->filename().string());
        byName.erase(entry);
    }
}

bool StoredPlanLibrary::contains(const std::string& name) const {
    return byName.contains(upperCased(name));
}

void StoredPlanLibrary::deletePlan(const std::string& name) {
    byName.erase(upperCased(name));
    if (const std::optional<std::filesystem::path> file = fileFor(name)) {
        files::deleteFile(*file);
    }
}

std::size_t StoredPlanLibrary::pageCount() const {
    return std::max<std::size_t>(1, (byName.size() + kPlansPerPage - 1) / kPlansPerPage);
}

bool StoredPlanLibrary::hasFile(const std::string& name) const {
    return !customFolder.empty() && isPlanName(name) &&
           !files::findFiles(customFolder, name + kSuffix).empty();
}

std::string StoredPlanLibrary::planUsingPilotWaypoint(const std::string& ident) const {
    const auto isThePoint = [&](const Waypoint& point) {
        return point.kind == WaypointKind::PilotWaypoint && point.ident == ident;
    };
    for (const std::filesystem::path& path :
         files::findFiles(customFolder, std::string("*") + kSuffix)) {
        const profile::Document file = profile::loadDocument(path).document;
        bool used = isThePoint(readPoint(file, kOriginSection, "", "")) ||
                    isThePoint(readPoint(file, kDestinationSection, "", ""));
        const auto count = static_cast<std::size_t>(
            std::clamp<int32_t>(profile::parseInt(readValue(file, kRouteSection, kCountKey, "0")),
                                0, static_cast<int32_t>(kMaxPoints)));
        for (std::size_t i = 0; !used && i < count; ++i) {
            used = isThePoint(readPoint(file, kRouteSection, pointPrefix(i), "0"));
        }
        if (used) {
            const std::string fileName = path.filename().string();
            return upperCased(fileName.substr(0, fileName.find('.')));
        }
    }
    return {};
}

std::optional<std::filesystem::path> StoredPlanLibrary::fileFor(const std::string& name) const {
    if (customFolder.empty() || !isPlanName(name)) {
        return std::nullopt;
    }
    return files::resolveCaseInsensitive(customFolder / (name + kSuffix));
}

} // namespace tavi
