#pragma once

#include "fms/FlightPlan.h"
#include "platform/profile/Profile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class FlightPlanContext;
class Waypoint;

// The flight plans the pilot keeps by name: one private-profile file "<NAME>.ri2v.fpl" per plan
// in the custom folder, and in memory a library of them by name. The folder scan keeps each
// plan's origin and destination only; saving a plan keeps the whole plan until the next scan.
// File names are matched without regard to case, and a name that would lead out of the folder
// or would not read back as itself is refused.
class StoredPlanLibrary {
public:
    // Finds a stored point again in the navigation database by its kind, ident and position
    // (runways at the listed airports); false when it cannot.
    using Resolver =
        std::function<bool(Waypoint& waypoint, std::span<const std::string> planAirports)>;
    using LogSink = std::function<void(std::string_view line)>;
    // By upper-cased name, as the scan keys the files.
    using Plans = std::map<std::string, FlightPlan>;

    // Names longer than this do not come back from a folder scan.
    static constexpr std::size_t kMaxNameLength = 10;
    // More route points than any route flown, ten times the legs LNAV tunes navaids for: a file
    // that claims more is damaged, and a plan that has more is not written.
    static constexpr std::size_t kMaxPoints = 10000;

    StoredPlanLibrary(Resolver resolver, LogSink log);

    // Empties the library and fills it with the headers of the folder's plan files, which
    // becomes the folder plans are saved to. A file that does not read is logged and left on
    // disk.
    void loadStoredPlans(const std::filesystem::path& folder, const FlightPlanContext& context);
    // Clears the plan, names it and reads its origin and destination; true when each was found
    // or was written as not entered yet.
    bool readPlanFileHeader(FlightPlan& plan, const std::string& name,
                            const std::filesystem::path& file,
                            const FlightPlanContext& context) const;
    // The whole plan: the header, the ground speed and a leg per route point. A point that
    // cannot be found again clears the plan and answers false.
    bool loadPlanFile(FlightPlan& plan, const std::string& name, const std::filesystem::path& file,
                      const FlightPlanContext& context) const;
    // Writes the plan's file under its name and keeps the whole plan in the library. False, the
    // old file and library entry kept, when the name cannot name a plan file, no folder is known,
    // the plan has more points than a plan file holds, or a value would not read back.
    bool savePlanFile(const FlightPlan& plan);
    // Copies the entry at that position in name order; false past the last entry.
    bool storedPlanAt(std::size_t index, FlightPlan& plan) const;
    // Reads the header of the named plan's file again (the FLIGHT PLAN LIST does so for the
    // selected stored plan when it opens); an entry whose file no longer reads leaves the
    // library.
    void refreshEntry(const std::string& name, const FlightPlanContext& context);
    bool contains(const std::string& name) const;
    // Forgets the plan and deletes its file, whatever the case of its name on disk.
    void deletePlan(const std::string& name);
    // Pages of the FLIGHT PLAN LIST, four plans to a page, at least one.
    std::size_t pageCount() const;

    // The file of a plan name in the folder, whatever the case of the name on disk; nothing for
    // a name that cannot name a plan file.
    std::optional<std::filesystem::path> fileFor(const std::string& name) const;
    // A plan file of that name lies in the folder, whether or not the library could read it.
    bool hasFile(const std::string& name) const;
    // The name of a plan file in the folder whose origin, destination or route holds the pilot
    // waypoint; empty when none does.
    std::string planUsingPilotWaypoint(const std::string& ident) const;
    const Plans& plans() const { return byName; }
    const std::filesystem::path& folder() const { return customFolder; }

private:
    bool readHeader(FlightPlan& plan, const std::string& name,
                    const platform::profile::Document& file,
                    const FlightPlanContext& context) const;
    bool readOrigin(FlightPlan& plan, const platform::profile::Document& file,
                    const FlightPlanContext& context) const;
    bool readDestination(FlightPlan& plan, const platform::profile::Document& file,
                         const FlightPlanContext& context) const;
    // Appends the leg of one route point; false when the point was not written or cannot be
    // found again.
    bool readPlanPoint(FlightPlan& plan, const platform::profile::Document& file,
                       std::size_t index) const;
    // The points the plan's file holds, one per leg, each one that can be read back.
    std::vector<Waypoint> routePoints(const FlightPlan& plan) const;

    Resolver resolve;
    LogSink log;
    Plans byName;
    std::filesystem::path customFolder;
};

} // namespace tavi
