#include "sim/Receivers.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tavi::sim {

namespace {

constexpr double kVorFullScaleDegrees = 10.0;
constexpr double kLocalizerFullScaleDegrees = 2.5;
constexpr double kCdiFullScale = 127.0;
constexpr double kGlideSlopeDegrees = 3.0;
constexpr double kGlideSlopeFullScaleDegrees = 0.7;
constexpr double kGsiFullScale = 120.0;
// NAV GLIDE SLOPE comes in 1/131072 of a degree.
constexpr double kGlideSlopeUnitsPerDegree = 131072.0;
constexpr double kGlideSlopeSetbackFeet = 1000.0;
constexpr double kGlideSlopeRangeNm = 10.0;
constexpr double kGlideSlopeSectorDegrees = 8.0;
constexpr double kLocalizerNarrowSectorDegrees = 10.0;
constexpr double kLocalizerWideSectorDegrees = 35.0;
constexpr double kLocalizerWideRangeNm = 17.0;
// TO/FROM shows neither within this much of abeam the station.
constexpr double kToFromAmbiguityDegrees = 0.5;
constexpr double kStationAntennaFeet = 50.0;
constexpr double kHorizonNmPerRootFoot = 1.23;
// The ADF needle rests at the wing tip while no station is received.
constexpr double kAdfRestingBearing = 90.0;

enum ToFrom { kNoToFrom = 0, kTo = 1, kFrom = 2 };
// NAV BACK COURSE FLAGS behind a localizer's antenna: both bits the cockpit tests.
constexpr int kBackCourseFlags = 4 | 16;
// NAV CODES bits.
constexpr int kCodeDme = 1 << 0;
constexpr int kCodeNoSignal = 1 << 3;
constexpr int kCodeGlideSlope = 1 << 6;
constexpr int kCodeLocalizer = 1 << 7;

struct Marker {
    int code;
    double distanceFeet;
};
constexpr Marker kMarkers[] = {{1, 3.9 * kFeetPerNm}, {2, 3500.0}, {3, 1000.0}};
constexpr double kMarkerConeDegrees = 40.0;

// What a NAV receiver publishes; nothing received until a station fills it.
struct NavReading {
    double signal = 0.0;
    bool hasNav = false;
    bool hasLocalizer = false;
    bool hasGlideSlope = false;
    bool hasDme = false;
    bool glideSlopeFlag = false;
    int toFrom = kNoToFrom;
    double cdi = 0.0;
    double gsi = 0.0;
    double radial = 0.0;
    double radialError = 0.0;
    double localizer = 0.0;
    double magneticVariation = 0.0;
    double glideSlope = 0.0;
    double glideSlopeError = 0.0;
    int backCourseFlags = 0;
    double dme = 0.0;
    double dmeSpeed = 0.0;
    std::optional<std::string> ident;

    int codes() const {
        return (hasDme ? kCodeDme : 0) | (signal == 0.0 ? kCodeNoSignal : 0) |
               (hasGlideSlope ? kCodeGlideSlope : 0) | (hasLocalizer ? kCodeLocalizer : 0);
    }
};

double scaled(double degrees, double fullScaleDegrees, double fullScale) {
    return std::clamp(degrees / fullScaleDegrees * fullScale, -fullScale, fullScale);
}

double lineOfSightNm(double aircraftAltitude, double stationElevation) {
    const double height = std::max(aircraftAltitude - stationElevation, 0.0);
    return kHorizonNmPerRootFoot * (std::sqrt(height) + std::sqrt(kStationAntennaFeet));
}

bool isHeard(const RadioStation& station, const OwnAircraft& aircraft, double distance) {
    return distance <=
           std::min(station.rangeNm, lineOfSightNm(aircraft.altitude, station.elevation));
}

// The distance the DME measures: along the line of sight, not over the ground.
double slantRangeNm(const RadioStation& station, const OwnAircraft& aircraft) {
    const double ground = distanceNm(station.position, aircraft.position);
    const double height = (aircraft.altitude - station.elevation) / kFeetPerNm;
    return std::hypot(ground, height);
}

// The angle off a localizer's course as its antenna sees the aircraft: positive right of the
// front course for an aircraft flying it. Behind the antenna it is measured from the back
// course.
struct LocalizerView {
    bool behindAntenna;
    double offCourse;
};

LocalizerView viewOf(const RadioStation& localizer, GeoPoint aircraft) {
    const double fromAntenna = bearingDegrees(localizer.position, aircraft);
    const double front = degreesPlusMinus180(fromAntenna - localizer.course - 180.0);
    if (std::fabs(front) <= 90.0) {
        return {false, -front};
    }
    return {true, degreesPlusMinus180(fromAntenna - localizer.course)};
}

bool isInLocalizerCoverage(const RadioStation& localizer, const OwnAircraft& aircraft,
                           const LocalizerView& view) {
    const double distance = distanceNm(localizer.position, aircraft.position);
    const double off = std::fabs(view.offCourse);
    const bool inSector = (off <= kLocalizerNarrowSectorDegrees && distance <= localizer.rangeNm) ||
                          (off <= kLocalizerWideSectorDegrees && distance <= kLocalizerWideRangeNm);
    return inSector && distance <= lineOfSightNm(aircraft.altitude, localizer.elevation);
}

std::optional<NavReading> vorReading(const RadioStation& vor, const OwnAircraft& aircraft,
                                     double selectedCourse) {
    if (!isHeard(vor, aircraft, distanceNm(vor.position, aircraft.position))) {
        return std::nullopt;
    }
    const double variation = vor.variation.value_or(aircraft.magneticVariation);
    const double radial =
        degrees0To360(bearingDegrees(vor.position, aircraft.position) - variation);
    const double fromCourse = degreesPlusMinus180(radial - selectedCourse);
    NavReading reading;
    reading.signal = Receivers::kSignalStrength;
    reading.hasNav = true;
    reading.radial = radial;
    reading.radialError = fromCourse;
    reading.magneticVariation = degrees0To360(-variation);
    if (std::fabs(std::fabs(fromCourse) - 90.0) < kToFromAmbiguityDegrees) {
        reading.toFrom = kNoToFrom;
    } else {
        reading.toFrom = std::fabs(fromCourse) < 90.0 ? kFrom : kTo;
    }
    // Right of the course, whether flying it to or from the station, the needle says fly left.
    const double offCourse =
        reading.toFrom == kFrom ? fromCourse : -degreesPlusMinus180(fromCourse - 180.0);
    reading.cdi = scaled(-offCourse, kVorFullScaleDegrees, kCdiFullScale);
    return reading;
}

// The glide slope of an ILS whose runway the database gives, in front of the antenna only.
void addGlideSlope(const RadioStation& localizer, const OwnAircraft& aircraft,
                   const LocalizerView& view, NavReading& reading) {
    if (!localizer.threshold || view.behindAntenna) {
        return;
    }
    reading.hasGlideSlope = true;
    reading.glideSlope = kGlideSlopeDegrees * kGlideSlopeUnitsPerDegree;
    const GeoPoint antenna = destination(localizer.threshold->position, localizer.course,
                                         kGlideSlopeSetbackFeet / kFeetPerNm);
    const double distance = distanceNm(antenna, aircraft.position);
    const double beforeAntenna = std::fabs(
        degreesPlusMinus180(bearingDegrees(antenna, aircraft.position) - localizer.course - 180.0));
    const double height = aircraft.altitude - localizer.threshold->elevation;
    if (beforeAntenna >= 90.0 || std::fabs(view.offCourse) > kGlideSlopeSectorDegrees ||
        distance > kGlideSlopeRangeNm ||
        distance > lineOfSightNm(aircraft.altitude, localizer.threshold->elevation)) {
        return;
    }
    const double angle = std::atan2(height, distance * kFeetPerNm) / kDegreesToRadians;
    reading.glideSlopeFlag = true;
    reading.glideSlopeError = angle - kGlideSlopeDegrees;
    reading.gsi = scaled(reading.glideSlopeError, kGlideSlopeFullScaleDegrees, kGsiFullScale);
}

std::optional<NavReading> localizerReading(const RadioStation& localizer,
                                           const OwnAircraft& aircraft) {
    const LocalizerView view = viewOf(localizer, aircraft.position);
    if (!isInLocalizerCoverage(localizer, aircraft, view)) {
        return std::nullopt;
    }
    NavReading reading;
    reading.signal = Receivers::kSignalStrength;
    reading.hasNav = true;
    reading.hasLocalizer = true;
    reading.toFrom = kTo;
    // A localizer's radial is true, like its course.
    reading.radial = bearingDegrees(localizer.position, aircraft.position);
    reading.radialError = view.offCourse;
    reading.localizer = localizer.course;
    reading.magneticVariation = degrees0To360(-aircraft.magneticVariation);
    // The needle follows the side of the front course the aircraft is on, so behind the
    // antenna, flying inbound, it senses backwards.
    reading.cdi = scaled(-view.offCourse, kLocalizerFullScaleDegrees, kCdiFullScale);
    reading.backCourseFlags = view.behindAntenna ? kBackCourseFlags : 0;
    addGlideSlope(localizer, aircraft, view, reading);
    return reading;
}

std::optional<NavReading> bearingReading(const RadioStation& station, const OwnAircraft& aircraft,
                                         double selectedCourse) {
    switch (station.kind) {
    case RadioStation::Kind::Vor:
        return vorReading(station, aircraft, selectedCourse);
    case RadioStation::Kind::Localizer:
        return localizerReading(station, aircraft);
    default:
        return std::nullopt;
    }
}

std::vector<const RadioStation*> nearestFirst(const std::vector<RadioStation>& stations,
                                              GeoPoint position) {
    std::vector<std::pair<double, const RadioStation*>> byDistance;
    for (const RadioStation& station : stations) {
        byDistance.emplace_back(distanceNm(station.position, position), &station);
    }
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const RadioStation*> sorted;
    for (const auto& [distance, station] : byDistance) {
        sorted.push_back(station);
    }
    return sorted;
}

bool isDmeHeard(const RadioStation& station, const OwnAircraft& aircraft) {
    return station.hasDme &&
           isHeard(station, aircraft, distanceNm(station.position, aircraft.position));
}

uint32_t frequencyOf(double value) {
    return value >= 0.0 && value < 4294967296.0 ? static_cast<uint32_t>(value) : 0;
}

void publish(Panel& panel, int side, const NavReading& reading) {
    const std::pair<const char*, double> values[] = {
        {"NAV SIGNAL", reading.signal},
        {"NAV HAS NAV", reading.hasNav ? 1.0 : 0.0},
        {"NAV HAS LOCALIZER", reading.hasLocalizer ? 1.0 : 0.0},
        {"NAV HAS GLIDE SLOPE", reading.hasGlideSlope ? 1.0 : 0.0},
        {"NAV HAS DME", reading.hasDme ? 1.0 : 0.0},
        {"NAV GS FLAG", reading.glideSlopeFlag ? 1.0 : 0.0},
        {"NAV TOFROM", reading.toFrom},
        {"NAV CDI", reading.cdi},
        {"NAV GSI", reading.gsi},
        {"NAV RADIAL", reading.radial},
        {"NAV RADIAL ERROR", reading.radialError},
        {"NAV LOCALIZER", reading.localizer},
        {"NAV MAGVAR", reading.magneticVariation},
        {"NAV GLIDE SLOPE", reading.glideSlope},
        {"NAV GLIDE SLOPE ERROR", reading.glideSlopeError},
        {"NAV BACK COURSE FLAGS", reading.backCourseFlags},
        {"NAV CODES", reading.codes()},
        {"NAV DME", reading.dme},
        {"NAV DMESPEED", reading.dmeSpeed},
    };
    for (const auto& [name, value] : values) {
        panel.setVariable(name, side, value);
    }
}

} // namespace

Receivers::Receivers(Panel& panel, std::filesystem::path databaseFile)
    : panel(panel), stations(std::move(databaseFile)) {}

void Receivers::update(double seconds) {
    const OwnAircraft aircraft = ownAircraft(panel);
    for (int side = 1; side <= kSides; ++side) {
        const auto index = static_cast<std::size_t>(side - 1);
        const uint32_t navFrequency = frequencyOf(panel.variable("NAV ACTIVE FREQUENCY", side));
        if (isStale(nav[index].tuning, navFrequency, aircraft.position)) {
            nav[index].tuning = {navFrequency, aircraft.position, true,
                                 navFrequency == 0
                                     ? std::vector<RadioStation>{}
                                     : stations.vhfStations(navFrequency, aircraft.position)};
        }
        const uint32_t adfFrequency = frequencyOf(panel.variable("ADF ACTIVE FREQUENCY", side));
        if (isStale(adf[index], adfFrequency, aircraft.position)) {
            adf[index] = {adfFrequency, aircraft.position, true,
                          adfFrequency == 0 ? std::vector<RadioStation>{}
                                            : stations.ndbs(adfFrequency, aircraft.position)};
        }
    }
    if (!stations.isOpen()) {
        return;
    }
    for (int side = 1; side <= kSides; ++side) {
        const auto index = static_cast<std::size_t>(side - 1);
        updateNav(side, nav[index], aircraft, seconds);
        updateAdf(side, adf[index], aircraft);
    }
    updateMarkers(aircraft);
}

bool Receivers::isStale(const Tuning& tuning, uint32_t frequency, GeoPoint position) const {
    return !tuning.searched || tuning.frequency != frequency ||
           distanceNm(tuning.searchedAt, position) > kSearchAgainNm;
}

void Receivers::updateNav(int side, NavReceiver& receiver, const OwnAircraft& aircraft,
                          double seconds) {
    const std::vector<const RadioStation*> candidates =
        nearestFirst(receiver.tuning.stations, aircraft.position);
    const double selectedCourse = panel.variable("NAV OBS", side);
    NavReading reading;
    const RadioStation* navStation = nullptr;
    for (const RadioStation* station : candidates) {
        if (const std::optional<NavReading> heard =
                bearingReading(*station, aircraft, selectedCourse)) {
            reading = *heard;
            navStation = station;
            break;
        }
    }
    const RadioStation* dmeStation =
        navStation && isDmeHeard(*navStation, aircraft) ? navStation : nullptr;
    for (auto station = candidates.begin(); !dmeStation && station != candidates.end(); ++station) {
        if (isDmeHeard(**station, aircraft)) {
            dmeStation = *station;
        }
    }
    if (dmeStation) {
        reading.hasDme = true;
        reading.dme = slantRangeNm(*dmeStation, aircraft);
        if (receiver.lastDme && receiver.lastDmeIdent == dmeStation->ident && seconds > 0.0) {
            reading.dmeSpeed = std::fabs(reading.dme - *receiver.lastDme) / seconds * 3600.0;
        }
        receiver.lastDme = reading.dme;
        receiver.lastDmeIdent = dmeStation->ident;
    } else {
        receiver.lastDme.reset();
    }
    if (const RadioStation* identified = navStation ? navStation : dmeStation) {
        reading.ident = identified->ident;
    }
    publish(panel, side, reading);
    // The text is set again only when it changes: the module may hold on to the text it read.
    if (!receiver.identPublished || receiver.ident != reading.ident) {
        panel.setTokenText(kIdentTokens[static_cast<std::size_t>(side - 1)], reading.ident);
        receiver.ident = reading.ident;
        receiver.identPublished = true;
    }
}

void Receivers::updateAdf(int side, const Tuning& tuning, const OwnAircraft& aircraft) {
    double signal = 0.0;
    double relativeBearing = kAdfRestingBearing;
    for (const RadioStation* station : nearestFirst(tuning.stations, aircraft.position)) {
        if (isHeard(*station, aircraft, distanceNm(station->position, aircraft.position))) {
            signal = kSignalStrength;
            relativeBearing = degrees0To360(bearingDegrees(aircraft.position, station->position) -
                                            aircraft.trueHeading);
            break;
        }
    }
    panel.setVariable("ADF SIGNAL", side, signal);
    panel.setVariable("ADF RADIAL", side, relativeBearing);
}

// The markers of the ILS approaches the NAV receivers are tuned to.
void Receivers::updateMarkers(const OwnAircraft& aircraft) {
    const double coneSlope = std::tan(kMarkerConeDegrees * kDegreesToRadians);
    int heard = 0;
    for (const NavReceiver& receiver : nav) {
        for (const RadioStation& station : receiver.tuning.stations) {
            if (station.kind != RadioStation::Kind::Localizer || !station.threshold) {
                continue;
            }
            const double height = aircraft.altitude - station.threshold->elevation;
            for (const Marker& marker : kMarkers) {
                const GeoPoint at = destination(station.threshold->position, station.course + 180.0,
                                                marker.distanceFeet / kFeetPerNm);
                if (height > 0.0 &&
                    distanceNm(at, aircraft.position) * kFeetPerNm <= height * coneSlope) {
                    heard = marker.code;
                }
            }
        }
    }
    panel.setToken(kMarkerToken, heard);
}

} // namespace tavi::sim
