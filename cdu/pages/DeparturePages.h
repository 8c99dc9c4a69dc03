#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavi {

class Fms;

// DEPARTURE RUNWAYS, SIDS, DEPARTURE TRANS and PROCEDURE: the crew picks, at the origin airport
// of the active plan, a runway, one of the SIDs from it and one of the SID's transitions, and
// hands the choice to the FMS for review or into the active plan. The choices live in the
// departure page record.
class DeparturePages {
public:
    explicit DeparturePages(Fms& fms) : fms(fms) {}

    void registerPages();

    // DEPARTURE RUNWAYS' entry action: a new choice starts from the runways of the origin.
    void enterDeparturePage();
    // Each choice narrows the next list; an index past the list's end does nothing.
    void selectDepartureRunway(std::size_t index);
    void selectSid(std::size_t index);
    void selectSidTransition(std::size_t index);
    // Airport, runway, SID and transition as PROCEDURE and SID REVIEW show them.
    std::string procedureLine() const;

private:
    void drawRunwaysPage() const;
    void onRunwaysKey(int32_t key);
    void drawSidsPage() const;
    void onSidsKey(int32_t key);
    void drawTransitionsPage() const;
    void onTransitionsKey(int32_t key);
    void drawProcedurePage() const;
    void onProcedureKey(int32_t key);
    // SID REVIEW of the choice, returning to the page and sub-page given.
    void review(int32_t returnPage, int32_t returnSubPage);
    void drawHeaderLine(const std::string& text) const;

    Fms& fms;
};

} // namespace tavi
