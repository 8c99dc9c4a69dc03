#include "cdu/records/ActiveFplPage.h"

#include "cdu/records/RecordState.h"
#include "core/Format.h"
#include "core/StateBlob.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr std::array<const char*, 6> kFamilyPrefixes = {"*LL", "*PBD", "*RR",
                                                        "*PD", "*INT", "*ALT"};
constexpr int32_t kCounterStep = 2;
constexpr std::size_t kPlanCount = 3;

using Block = StateBlob<88>;

Block pack(const ActiveFplPage& page) {
    Block block;
    block.put<0>(page.subPage);
    block.put<4>(page.selectedLine);
    block.put<8>(page.pageTurnTarget);
    block.put<12>(page.destinationPending);
    block.put<13>(page.originPending);
    block.put<14>(page.pageTurnRequested);
    block.put<16>(page.pageTurnTime);
    putCounters<20>(block, page.fixNameCounters);
    block.put<48>(page.definition.bearing1);
    block.put<56>(page.definition.bearing2);
    block.put<64>(page.definition.distance);
    block.put<72>(page.definition.bearing1True);
    block.put<73>(page.definition.bearing2True);
    block.put<76>(page.definitionKind);
    block.put<80>(page.place1Pending);
    block.put<81>(page.place2Pending);
    block.put<82>(page.definitionPending);
    block.put<83>(page.dirMode);
    return block;
}

void unpack(const Block& block, ActiveFplPage& page) {
    page.subPage = block.get<0, int32_t>();
    page.selectedLine = block.get<4, int32_t>();
    page.pageTurnTarget = block.get<8, int32_t>();
    page.destinationPending = block.get<12, bool>();
    page.originPending = block.get<13, bool>();
    page.pageTurnRequested = block.get<14, bool>();
    page.pageTurnTime = block.get<16, uint32_t>();
    getCounters<20>(block, page.fixNameCounters);
    page.definition.bearing1 = block.get<48, double>();
    page.definition.bearing2 = block.get<56, double>();
    page.definition.distance = block.get<64, double>();
    page.definition.bearing1True = block.get<72, bool>();
    page.definition.bearing2True = block.get<73, bool>();
    page.definitionKind = block.get<76, int32_t>();
    page.place1Pending = block.get<80, bool>();
    page.place2Pending = block.get<81, bool>();
    page.definitionPending = block.get<82, bool>();
    page.dirMode = block.get<83, bool>();
}

std::string planKey(const std::string& key, std::size_t index) {
    return key + ".fpl." + std::to_string(index);
}

} // namespace

int32_t ActiveFplPage::activeLineCount() {
    if (!activeFlightPlan.hasOriginAndDestination()) {
        return 2;
    }
    return static_cast<int32_t>(activeFlightPlan.legCount()) -
           static_cast<int32_t>(activeFlightPlan.activeLeg) + 2;
}

int32_t ActiveFplPage::activePageCount() {
    if (!activeFlightPlan.hasOriginAndDestination()) {
        return 1;
    }
    return (activeLineCount() + kLinesPerSubPage - 1) / kLinesPerSubPage;
}

int32_t ActiveFplPage::shownPlan() const {
    if (!activeFlightPlan.hasOriginAndDestination() || subPage <= activePageCount()) {
        return kActivePlan;
    }
    return kAlternatePlan;
}

void ActiveFplPage::keepSubPageInRange() {
    subPage = std::clamp(subPage, 1, pageCount());
}

FlightPlan& ActiveFplPage::planAt(int32_t shown) {
    switch (shown) {
    case kMissedApproachPlan:
        return missedApproachFlightPlan;
    case kAlternatePlan:
        return alternateFlightPlan;
    default:
        return activeFlightPlan;
    }
}

std::string ActiveFplPage::nextPointName(PointFamily family) {
    const auto index = static_cast<std::size_t>(family);
    int32_t& counter = fixNameCounters[index];
    std::string name = format("%s%02d", kFamilyPrefixes[index], counter);
    counter += kCounterStep;
    return name;
}

void ActiveFplPage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    for (std::size_t i = 0; i < kPlanCount; ++i) {
        planAt(static_cast<int32_t>(i)).save(reader, file, section, planKey(key, i));
    }
}

bool ActiveFplPage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    unpack(block, *this);
    bool whole = true;
    for (std::size_t i = 0; i < kPlanCount; ++i) {
        whole =
            planAt(static_cast<int32_t>(i)).load(reader, file, section, planKey(key, i)) && whole;
    }
    return whole;
}

void ActiveFplPage::clearPlans(const FlightPlanContext& context) {
    activeFlightPlan.clear(context);
    missedApproachFlightPlan.clear(context);
    alternateFlightPlan.clear(context);
    fixNameCounters.fill(1);
}

} // namespace tavi
