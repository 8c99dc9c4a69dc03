#include "cdu/pages/FlightPlanListPage.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>
#include <cctype>

namespace tavi {

namespace {

constexpr int32_t kPlansPerSubPage = 4;
constexpr std::size_t kOriginDestinationLength = 9;
constexpr std::size_t kOriginDestinationDash = 4;

int32_t pagesFor(std::size_t count) {
    return std::max<int32_t>(
        1, static_cast<int32_t>((count + kPlansPerSubPage - 1) / kPlansPerSubPage));
}

} // namespace

void FlightPlanListPage::enter() {
    FplListPage& page = fms.fplListPage;
    page.searchMode = false;
    page.searchResults.clear();
    if (!selectedStoredPlan.name().empty()) {
        fms.storedPlans().refreshEntry(selectedStoredPlan.name(), fms.planContext());
    }
    page.subPage = 1;
    page.pageCount = pagesFor(fms.storedPlans().plans().size());
}

std::string FlightPlanListPage::entryName(int32_t index) const {
    const FplListPage& page = fms.fplListPage;
    if (index < 0) {
        return {};
    }
    const auto at = static_cast<std::size_t>(index);
    if (page.searchMode) {
        return at < page.searchResults.size() ? page.searchResults[at] + "*" : std::string();
    }
    FlightPlan plan;
    return fms.storedPlans().storedPlanAt(at, plan) ? plan.name() : std::string();
}

void FlightPlanListPage::draw() {
    const FplListPage& page = fms.fplListPage;
    CduScreen& s = fms.screen;
    s.putText(0, 2, "FLIGHT PLAN LIST", CduColour::White, true, false);
    s.drawPageNumber(page.subPage, page.pageCount);
    s.putText(1, 1, "SHOW FPL", CduColour::White, false, false);
    s.putText(2, 0, kTenDashes, CduColour::Amber, true, false);
    if (page.searchMode) {
        s.drawRightPrompt("RETURN", false, 1);
    } else {
        s.putTextRight(1, 23, "ORG/DEST", CduColour::White, false, false);
        s.putTextRight(2, 24, kFiveDashes, CduColour::Green, true, false);
    }
    const int32_t base = (page.subPage - 1) * kPlansPerSubPage;
    s.putText(3, 0, entryName(base), CduColour::Amber, false, false);
    s.putText(5, 0, entryName(base + 1), CduColour::Amber, false, false);
    s.putTextRight(3, 24, entryName(base + 2), CduColour::Amber, false, false);
    s.putTextRight(5, 24, entryName(base + 3), CduColour::Amber, false, false);
    s.drawRightPrompt("FPL SEL", false, 7);
}

void FlightPlanListPage::onKey(int32_t key) {
    FplListPage& page = fms.fplListPage;
    const int32_t base = (page.subPage - 1) * kPlansPerSubPage;
    switch (key) {
    case 0:
        showNamedPlan();
        break;
    case 1:
    case 2:
        selectListedPlan(base + key - 1);
        break;
    case 5:
    case 6:
        selectListedPlan(base + key - 3);
        break;
    case 4:
        search();
        break;
    case 7:
        fms.setPage(cdu_page::kFltPlanSelect, 1);
        break;
    default:
        navpages::turnSubPage(key, page.subPage, page.pageCount);
        break;
    }
}

void FlightPlanListPage::showNamedPlan() {
    const std::optional<std::string> name = takePlanName();
    if (name && openNamedPlan(*name) != Opening::Failed) {
        fms.setPage(cdu_page::kStoredPlan, 1);
    }
}

std::optional<std::string> FlightPlanListPage::takePlanName() {
    const std::string name = fms.scratchPad.text();
    if (name.empty()) {
        return std::nullopt;
    }
    if (!FmsParser::isValidPlanName(name)) {
        fms.showMessage("INVALID ENTRY", 0);
        return std::nullopt;
    }
    fms.takeScratchpad();
    return name;
}

FlightPlanListPage::Opening FlightPlanListPage::openNamedPlan(const std::string& name) {
    const FlightPlanContext& context = fms.planContext();
    StoredPlanLibrary& library = fms.storedPlans();
    selectedStoredPlan.clear(context);
    // A file the library could not read is still the pilot's: a new plan of its name would
    // write over it.
    if (!library.contains(name) && !library.hasFile(name)) {
        selectedStoredPlan.setName(name);
        if (name.size() == kOriginDestinationLength && name[kOriginDestinationDash] == '-') {
            std::vector<Waypoint> airports;
            fms.navDatabase().searchAirports(name.substr(0, kOriginDestinationDash), airports);
            if (!airports.empty()) {
                selectedStoredPlan.setOrigin(airports.front(), context);
            }
            airports.clear();
            fms.navDatabase().searchAirports(name.substr(kOriginDestinationDash + 1), airports);
            if (!airports.empty()) {
                selectedStoredPlan.setDestination(airports.front(), context);
            }
        }
        library.savePlanFile(selectedStoredPlan);
        return Opening::Created;
    }
    const auto file = library.fileFor(name);
    if (file && library.loadPlanFile(selectedStoredPlan, name, *file, context)) {
        return Opening::Loaded;
    }
    selectedStoredPlan.clear(context);
    fms.setScratchpad(name);
    fms.showMessage("FPL CONTAINS INVALID WPT", 0);
    return Opening::Failed;
}

// Plan names are matched without case, as their files are.
void FlightPlanListPage::deleteStoredPlan(const std::string& name) {
    fms.storedPlans().deletePlan(name);
    const std::string& shown = selectedStoredPlan.name();
    const auto sameLetter = [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    };
    if (!shown.empty() &&
        std::equal(shown.begin(), shown.end(), name.begin(), name.end(), sameLetter)) {
        selectedStoredPlan.clear(fms.planContext());
    }
}

void FlightPlanListPage::selectListedPlan(int32_t index) {
    FplListPage& page = fms.fplListPage;
    std::string name;
    if (page.searchMode) {
        if (static_cast<std::size_t>(index) >= page.searchResults.size()) {
            return;
        }
        name = page.searchResults[static_cast<std::size_t>(index)];
    } else {
        FlightPlan plan;
        if (!fms.storedPlans().storedPlanAt(static_cast<std::size_t>(index), plan)) {
            return;
        }
        name = plan.name();
    }
    if (!fms.isScratchpadDelete()) {
        fms.setScratchpad(name);
        return;
    }
    deleteStoredPlan(name);
    fms.setScratchpad("");
    if (page.searchMode) {
        findStoredPlans();
    } else {
        fms.setPage(cdu_page::kFlightPlanList, 1);
    }
}

void FlightPlanListPage::search() {
    FplListPage& page = fms.fplListPage;
    if (page.searchMode) {
        page.searchMode = false;
        page.searchResults.clear();
        fms.setPage(cdu_page::kFlightPlanList, 1);
        return;
    }
    if (fms.scratchPad.text().empty()) {
        return;
    }
    page.searchText = fms.takeScratchpad();
    if (!findStoredPlans()) {
        fms.setScratchpad(page.searchText);
        fms.showMessage("INVALID ENTRY", 0);
    }
}

bool FlightPlanListPage::findStoredPlans() {
    FplListPage& page = fms.fplListPage;
    std::string origin;
    std::string destination;
    if (!FmsParser::parseIdentPair(page.searchText, origin, destination)) {
        return false;
    }
    page.searchResults.clear();
    for (const auto& [key, plan] : fms.storedPlans().plans()) {
        if (plan.org.ident == origin && (destination.empty() || plan.dest.ident == destination)) {
            page.searchResults.push_back(plan.name());
        }
    }
    if (page.searchResults.empty()) {
        fms.showMessage("NO FLIGHT PLAN", 0);
    } else {
        page.searchMode = true;
        page.pageCount = pagesFor(page.searchResults.size());
    }
    return true;
}

} // namespace tavi
