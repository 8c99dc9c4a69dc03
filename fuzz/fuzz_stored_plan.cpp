// Arbitrary bytes as a stored flight plan: a file is either refused or gives a plan whose every
// point lies on the earth, and saving that plan writes a file that reads back to the same route.
#include "FuzzFile.h"
#include "fms/FlightPlanContext.h"
#include "fms/StoredPlanLibrary.h"

#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

class FixedContext final : public tavi::FlightPlanContext {
public:
    double presentLatitude() const override { return 47.0; }
    double presentLongitude() const override { return 8.0; }
    float altitude() const override { return 0.0f; }
    float magneticVariation(double, double) const override { return 2.0f; }
    uint32_t simTimeMs() const override { return 0; }
    bool airborne() const override { return false; }
    double descentAngle() const override { return 3.0; }
    bool performanceConfirmed() const override { return false; }
    double turnGeometry(double, double, double& lead, double) const override {
        lead = 1.0;
        return 2.0;
    }
};

// The navigation database of the run: every point of a known kind with a short ident exists, at a
// place of its own that follows from its ident.
bool resolveByIdent(tavi::Waypoint& point, std::span<const std::string>) {
    const auto kind = static_cast<int32_t>(point.kind);
    if (kind < static_cast<int32_t>(tavi::WaypointKind::Airport) ||
        kind > static_cast<int32_t>(tavi::WaypointKind::Runway) || point.ident.empty() ||
        point.ident.size() > 8) {
        return false;
    }
    const std::size_t hash = std::hash<std::string>{}(point.ident);
    point.latitude = static_cast<double>(hash % 1601) / 10.0 - 80.0;
    point.longitude = static_cast<double>(hash / 1601 % 3601) / 10.0 - 180.0;
    point.id = static_cast<int32_t>(hash % 100000) + 1;
    return true;
}

bool onTheEarth(const tavi::Waypoint& point) {
    return std::fabs(point.latitude) <= 90.0 && std::fabs(point.longitude) <= 180.0;
}

// The route as words, a run of breaks as one: what a save keeps of a plan.
std::vector<std::string> routeOf(const tavi::FlightPlan& plan) {
    std::vector<std::string> words;
    for (const tavi::FlightPlanLeg& leg : plan.legs) {
        const std::string word =
            leg.isDiscontinuity()
                ? std::string("/")
                : std::to_string(static_cast<int32_t>(leg.wpt.kind)) + ":" + leg.wpt.ident;
        if (word != "/" || words.empty() || words.back() != "/") {
            words.push_back(word);
        }
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const FixedContext context;
    tavi::StoredPlanLibrary library(resolveByIdent, [](std::string_view) {});
    const auto file = tavi::fuzz::fuzzFile("CustomDB/FUZZ.ri2v.fpl", data, size);
    std::filesystem::remove(file.parent_path() / "COPY.ri2v.fpl");
    library.loadStoredPlans(file.parent_path(), context);
    tavi::FlightPlan plan;
    if (!library.loadPlanFile(plan, "FUZZ", file, context)) {
        return 0;
    }
    if (!onTheEarth(plan.org) || !onTheEarth(plan.dest)) {
        __builtin_trap();
    }
    for (const tavi::FlightPlanLeg& leg : plan.legs) {
        if (!leg.isDiscontinuity() && !onTheEarth(leg.wpt)) {
            __builtin_trap();
        }
    }
    plan.setName("COPY");
    if (!library.savePlanFile(plan)) {
        __builtin_trap();
    }
    tavi::FlightPlan copy;
    if (!library.loadPlanFile(copy, "COPY", file.parent_path() / "COPY.ri2v.fpl", context) ||
        routeOf(copy) != routeOf(plan) || copy.org.ident != plan.org.ident ||
        copy.dest.ident != plan.dest.ident) {
        __builtin_trap();
    }
    return 0;
}
