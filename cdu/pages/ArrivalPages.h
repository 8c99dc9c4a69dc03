#pragma once

#include "cdu/pages/ProcedureLists.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class Fms;

// ARRIVAL and its lists RUNWAY, STAR, STAR TRANS, APPROACH and APPROACH TRANS: at the
// destination airport of the active plan the crew selects a runway, an approach with one of its
// transitions and a STAR with one of its transitions, and hands the selection to the FMS for
// review or into the active plan. The lists mark the selected item "(SEL)" and the item of the
// activated arrival "(ACT)".
class ArrivalPages {
public:
    explicit ArrivalPages(Fms& fms) : fms(fms) {}

    void registerPages();

    // ARRIVAL's entry action: the lists of the destination airport; a new airport starts a new
    // selection.
    void enterArrivalPage();
    // The selections the lists make; an index past the list's end does nothing.
    void selectArrivalRunway(std::size_t index);
    void selectStar(std::size_t index);
    void selectStarTransition(std::size_t index);
    void selectApproach(std::size_t index);
    void selectApproachTransition(std::size_t index);
    // Posts "CHANGE ACTIVE FPLN" when the selected approach or STAR serves another runway than
    // the one selected.
    void warnArrivalChange();
    bool somethingSelected() const;

    // What one list page shows and what its keys do.
    struct ListView {
        const char* titleSuffix;
        procedurelists::ListLayout layout;
        int32_t* subPage;
        int32_t pageCount;
        // The texts shown, and those the markers compare.
        std::vector<std::string> texts;
        std::vector<std::string> compared;
        std::string active;
        std::string selected;
        // The runway designators under the approach names.
        std::vector<std::string> runways;
        const char* leftPrompt;
        bool leftPromptShown;
        bool leftKeyActs;
        int32_t leftKeyPage;
        void (ArrivalPages::*select)(std::size_t);
    };

private:
    void drawArrivalPage() const;
    void onArrivalKey(int32_t key);
    void drawListPage(int32_t page) const;
    void onListKey(int32_t page, int32_t key);
    ListView listView(int32_t page) const;
    void drawListItem(const ListView& view, std::size_t index,
                      const procedurelists::SlotPlace& place) const;
    void clearApproachSelection();
    // Shows the page with sub-page 1 when the list it shows has items, else ARRIVAL.
    void showListOrArrival(int32_t page, bool hasItems);

    Fms& fms;
};

} // namespace tavi
