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

// The record behind the arrival pages: the sub-pages of the runway, STAR, transition, approach
// and review lists, the lists of the arrival airport, the selection being edited, the choice
// last activated and the preview plan of ARRIVAL REVIEW.
class ArrivalPage {
public:
    // Empties the preview, the airport, every list and every choice (the runways keep all but
    // their idents); the sub-pages and page counts stay.
    void reset(const FlightPlanContext& context);

    // The 72-byte block under "<key>.data", then the texts, lists, runways and preview plan.
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t runwaySubPage = 1;
    int32_t runwayPageCount = 1;
    int32_t starSubPage = 1;
    int32_t starPageCount = 1;
    int32_t starTransitionSubPage = 1;
    int32_t starTransitionPageCount = 1;
    int32_t approachSubPage = 1;
    int32_t approachPageCount = 1;
    int32_t approachTransitionSubPage = 1;
    int32_t approachTransitionPageCount = 1;
    int32_t reviewSubPage = 1;
    int32_t reviewPageCount = 1;
    // Next numbers of generated fix names in a preview: *LL, *PBD, *RR, *PD, *INT, *ALT.
    std::array<int32_t, 6> fixNameCounters{1, 1, 1, 1, 1, 1};
    std::string icao;
    std::vector<Runway> arrRunways;
    std::vector<std::string> stars;
    std::vector<std::string> starTransitions;
    std::vector<std::string> iaps;
    std::vector<std::string> iapsFull;
    std::vector<std::string> iapTransitions;
    std::vector<Runway> iapRunways;
    std::vector<Runway> starRunways;
    Runway arrRwy;
    Runway selArrRwy;
    std::string star;
    std::string starTransition;
    std::string iap;
    std::string iapFull;
    std::string iapTransition;
    std::string starSel;
    std::string starTransitionSel;
    std::string iapSel;
    std::string iapFullSel;
    std::string iapTransitionSel;
    FlightPlan fpl;
};

} // namespace tavi
