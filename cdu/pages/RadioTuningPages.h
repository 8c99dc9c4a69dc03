#pragma once

#include "navdata/Navaid.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fms;
class RadioUnit;

// RADIO TUNING, which tunes both sides' ADF, COM and NAV radios from the scratch pad (a NAV
// station also by its ident), and the NAV tuning list: the six VHF navaids nearest the aircraft,
// each tuned with one line key. The frequencies last entered are the FMS's RadTunePage record.
class RadioTuningPages {
public:
    static constexpr size_t kListSize = 6;

    explicit RadioTuningPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawRadioTuningPage() const;
    void drawNavTuneListPage() const;
    void onRadioTuningKey(int32_t key);
    void onNavTuneListKey(int32_t key);

    // The navaid at the index of the sorted list; an empty record past its end.
    Navaid vhfNavaidAt(size_t index) const;
    // The navaid's frequency (a channel-only station's paired one) on the side's NAV radio;
    // nothing without a frequency.
    void tuneNavaid(const Waypoint& navaid, int32_t side);
    // The nearest navaid or ILS of that ident.
    void tuneNavaidByIdent(const std::string& ident, int32_t side);

    // The NAV field of a side: a frequency or a station ident from the scratch pad tunes it,
    // "*DELETE*" gives it back to automatic tuning, an empty pad copies its ident.
    void enterNav(int32_t side);
    // Rows 6 and 7: both NAV fields with their tuning mode and the prompts to the tuning list.
    void drawNavReceivers() const;
    // The NAV tuning list of the side; a choice there returns to the page given.
    void openTuningList(int32_t side, int32_t returnPage);

private:
    void enterAdf(int32_t side);
    void enterCom(int32_t side);
    RadioUnit* radioUnit(int32_t side) const;
    // The ident of the station nearest the present position on the unit's NAV frequency.
    std::string stationOnFrequency(const RadioUnit& unit) const;
    static int32_t navFrequency(const Waypoint& navaid);

    Fms& fms;
};

} // namespace tavi
