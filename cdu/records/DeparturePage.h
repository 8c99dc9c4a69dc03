#pragma once

#include "fms/FlightPlan.h"
#include "navdata/Runway.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class Fs9Reader;
class FlightPlanContext;
struct StateFile;

// The record behind the departure pages: the sub-pages of the runway, SID, transition and
// review lists, the choices made on them and the preview plan of SID REVIEW.
class DeparturePage {
public:
    // Empties the preview, the airport, the lists and the SID choice; the sub-pages, the
    // review return and the runway stay.
    void reset(const FlightPlanContext& context);

    // The 64-byte block under "<key>.data", then the texts, lists, runway and preview plan.
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t runwaySubPage = 1;
    int32_t runwayPageCount = 1;
    int32_t sidSubPage = 1;
    int32_t sidPageCount = 1;
    int32_t transitionSubPage = 1;
    int32_t transitionPageCount = 1;
    int32_t reviewSubPage = 1;
    int32_t reviewPageCount = 1;
    int32_t reviewReturnPage = 0;
    int32_t reviewReturnSubPage = 0;
    // Next numbers of generated fix names in a preview: *LL, *PBD, *RR, *PD, *INT, *ALT.
    std::array<int32_t, 6> fixNameCounters{1, 1, 1, 1, 1, 1};
    std::string icao;
    std::vector<Runway> depRunways;
    std::vector<std::string> sids;
    std::vector<std::string> sidTransitions;
    Runway depRwy;
    std::string sid;
    std::string sidTransition;
    FlightPlan fpl;
};

} // namespace tavi
