#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tavi {

class Fms;
class FlightPlan;
struct LnavState;
struct LegConstraints;

// PROGRESS: the active waypoint and the destination with distance, time and fuel, the NAV
// receivers (sub-page 1); the speed and altitude command, top of climb and descent and the
// weights (sub-page 2); cross-track error, track, drift, wind and ground speed (sub-page 3).
class ProgressPage {
public:
    explicit ProgressPage(Fms& fms) : fms(fms) {}

    void registerPages();

    void draw() const;
    void onKey(int32_t key);

    int32_t subPage = 1;
    int32_t pageCount = 3;

private:
    void drawRouteSubPage() const;
    void drawCommandSubPage() const;
    void drawTrackSubPage() const;
    void drawLegLine(int32_t row, double distance, std::optional<double> seconds,
                     double fuel) const;
    void drawWeights() const;
    void drawCrossTrack(double crossTrack) const;
    void drawWind() const;
    std::string speedAltitudeCommand() const;
    // The active plan with a route end at or after its active leg, which has legs.
    bool routeValid() const;
    // In the air the time LNAV expects, on the ground the leg's predicted time.
    double activeLegTimeToGo(const LnavState& lnav) const;
    // Seconds to the route end; empty when the active leg has no length to share its time by.
    std::optional<double> destinationTime(const LnavState& lnav) const;
    // TOC (row 4) or TOD (row 6): "PAST", or the distance and time to go to it.
    void drawTopOfClimb(const LnavState& lnav) const;
    void drawTopOfDescent(const LnavState& lnav) const;
    void drawDistanceAndTime(int32_t row, double distance, std::optional<double> seconds) const;
    // Seconds to a point ahead of the active leg from the time predicted to it.
    double timeBeyondActiveLeg(double predictedTime, const LnavState& lnav) const;
    // The vertical speed (fpm, whole hundreds) that the path angle of the leg holding the top
    // of descent asks for at the descent speed and the wind of the TOD altitude.
    int32_t verticalSpeedAtTopOfDescent(double todDistance) const;
    // The first leg whose end lies at or beyond the distance from the route start.
    std::size_t legAtDistance(double distance) const;
    // The wind speed (kt) at an altitude: the entered cruise wind, falling to 5 kt on the ground
    // below the altitude it was entered for.
    double descentWindAt(double altitude) const;
    // The calibrated airspeed (kt) of the descent through the leg's fix at the altitude.
    double descentSpeed(const LegConstraints& constraints, double altitude) const;

    Fms& fms;
};

} // namespace tavi
