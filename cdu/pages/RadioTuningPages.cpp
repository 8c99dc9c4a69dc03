#include "cdu/pages/RadioTuningPages.h"

#include "avionics/Radio.h"
#include "avionics/RadioUnit.h"
#include "cdu/pages/NavPageKeys.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "fms/Fms.h"

#include <algorithm>

namespace tavi {

using namespace navpages;

namespace {

const char* const kNoIdent = "\u2013\u2013\u2013";

// The word last entered for one of the page's frequency fields, and how it reaches the radio.
struct FrequencyField {
    int32_t& word;
    bool (*parse)(std::string_view, int32_t&);
    void (RadioUnit::*send)(int32_t);
};

} // namespace

void RadioTuningPages::registerPages() {
    Fms::CduPageEntry& tuning = fms.pages[kRadioTuning];
    tuning.draw = [this] {
        drawRadioTuningPage();
    };
    tuning.onKey = [this](int32_t key) {
        onRadioTuningKey(key);
    };
    Fms::CduPageEntry& list = fms.pages[kNavTuneList];
    list.draw = [this] {
        drawNavTuneListPage();
    };
    list.onKey = [this](int32_t key) {
        onNavTuneListKey(key);
    };
    list.enter = [this] {
        fms.sortVhfNavaidsByDistance();
    };
}

RadioUnit* RadioTuningPages::radioUnit(int32_t side) const {
    Radio* radio = fms.owner() ? fms.owner()->radio() : nullptr;
    if (!radio) {
        return nullptr;
    }
    return side == 1 ? &radio->unit1 : &radio->unit2;
}

Navaid RadioTuningPages::vhfNavaidAt(size_t index) const {
    return index < fms.vhfNavaids.size() ? fms.vhfNavaids[index] : Navaid{};
}

int32_t RadioTuningPages::navFrequency(const Waypoint& navaid) {
    if (navaid.frequency == 0 && !navaid.channel.empty()) {
        return FmsParser::tacanChannelToFrequency(navaid.channel);
    }
    return navaid.frequency;
}

void RadioTuningPages::tuneNavaid(const Waypoint& navaid, int32_t side) {
    const int32_t frequency = navFrequency(navaid);
    RadioUnit* unit = radioUnit(side);
    if (frequency != 0 && unit) {
        unit->setNavActive(frequency);
    }
}

void RadioTuningPages::tuneNavaidByIdent(const std::string& ident, int32_t side) {
    tuneNavaid(fms.navDatabase().getClosestNavByIdent(ident), side);
}

std::string RadioTuningPages::stationOnFrequency(const RadioUnit& unit) const {
    return fms.navDatabase().getClosestNav(unit.navActive).ident;
}

void RadioTuningPages::onRadioTuningKey(int32_t key) {
    switch (key) {
    case kL1:
    case kR1:
        enterAdf(key == kL1 ? 1 : 2);
        break;
    case kL2:
    case kR2:
        enterCom(key == kL2 ? 1 : 2);
        break;
    case kL3:
    case kR3:
        enterNav(key == kL3 ? 1 : 2);
        break;
    case kL4:
    case kR4:
        openTuningList(key == kL4 ? 1 : 2, kRadioTuning);
        break;
    default:
        break;
    }
}

void RadioTuningPages::openTuningList(int32_t side, int32_t returnPage) {
    fms.radTunePage.navListReturnPage = returnPage;
    fms.setPage(kNavTuneList, side);
}

namespace {

// An entry is parsed and sent; an empty pad sends the stored word again.
void enterFrequency(Fms& fms, RadioUnit* unit, const FrequencyField& field) {
    if (fms.scratchPad.text().empty()) {
        if (field.word != 0 && unit) {
            (unit->*field.send)(field.word);
        }
        return;
    }
    int32_t word = 0;
    if (!field.parse(fms.scratchPad.text(), word)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    fms.takeScratchpad();
    field.word = word;
    if (unit) {
        (unit->*field.send)(word);
    }
}

} // namespace

void RadioTuningPages::enterAdf(int32_t side) {
    RadTunePage& page = fms.radTunePage;
    enterFrequency(fms, radioUnit(side),
                   {side == 1 ? page.adf1 : page.adf2, &FmsParser::parseAdfFrequency,
                    &RadioUnit::setAdfFrequency});
}

void RadioTuningPages::enterCom(int32_t side) {
    RadTunePage& page = fms.radTunePage;
    enterFrequency(fms, radioUnit(side),
                   {side == 1 ? page.com1 : page.com2, &FmsParser::parseComFrequency,
                    &RadioUnit::setComActive});
}

void RadioTuningPages::enterNav(int32_t side) {
    RadTunePage& page = fms.radTunePage;
    int32_t& frequency = side == 1 ? page.nav1 : page.nav2;
    std::string& ident = side == 1 ? page.nav1Ident : page.nav2Ident;
    bool& manual = side == 1 ? page.nav1Manual : page.nav2Manual;
    RadioUnit* unit = radioUnit(side);
    const std::string typed = fms.scratchPad.text();
    if (typed.empty()) {
        if (!ident.empty()) {
            fms.setScratchpad(ident);
        }
        return;
    }
    if (fms.isScratchpadDelete()) {
        fms.takeScratchpad();
        manual = false;
        if (unit) {
            frequency = unit->navActive;
            ident = unit->identText;
            // DEL hands the receiver back to automatic tuning: the field's "A" and the radio's
            // tuning mode agree until the pilot tunes by hand again.
            unit->resumeNavAutoTuning();
        }
        return;
    }
    int32_t word = 0;
    if (FmsParser::parseNavFrequency(typed, word)) {
        fms.takeScratchpad();
        frequency = word;
        if (unit) {
            unit->setNavActive(word);
        }
    } else if (FmsParser::isValidIdent(typed)) {
        fms.takeScratchpad();
        tuneNavaidByIdent(typed, side);
        // The field shows what the radio is now tuned to, found or not.
        if (unit) {
            frequency = unit->navActive;
        }
    } else {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    manual = true;
    if (unit) {
        unit->endNavAutoTuning();
    }
    ident = unit ? stationOnFrequency(*unit) : std::string();
}

void RadioTuningPages::drawRadioTuningPage() const {
    CduScreen& screen = fms.screen;
    const RadTunePage& page = fms.radTunePage;
    screen.drawTitle("RADIO TUNING");
    screen.drawPageNumber(1, 1);
    const auto label = [&screen](int32_t row, bool left, const char* text) {
        if (left) {
            screen.putText(row, 1, text, CduColour::White, false, false);
        } else {
            screen.putTextRight(row, 23, text, CduColour::White, false, false);
        }
    };
    const auto value = [&screen](int32_t row, bool left, int32_t word, const std::string& text) {
        if (word == 0) {
            return;
        }
        if (left) {
            screen.drawLeftPrompt("", false, row);
            screen.putText(row, 1, text, CduColour::Green, true, false);
        } else {
            screen.drawRightPrompt("", false, row);
            screen.putTextRight(row, 23, text, CduColour::Green, true, false);
        }
    };
    label(1, true, "ADF 1");
    label(1, false, "ADF 2");
    value(2, true, page.adf1, FmsParser::formatAdfFrequency(page.adf1));
    value(2, false, page.adf2, FmsParser::formatAdfFrequency(page.adf2));
    label(3, true, "COM 1");
    label(3, false, "COM 2");
    value(4, true, page.com1, FmsParser::formatComFrequency(page.com1));
    value(4, false, page.com2, FmsParser::formatComFrequency(page.com2));
    label(5, true, "NAV 1");
    label(5, false, "NAV 2");
    drawNavReceivers();
}

void RadioTuningPages::drawNavReceivers() const {
    CduScreen& screen = fms.screen;
    const RadTunePage& page = fms.radTunePage;
    const auto navText = [](const std::string& ident, int32_t word) {
        return format("%s %s", ident.empty() ? kNoIdent : ident.c_str(),
                      FmsParser::formatNavFrequency(word).c_str());
    };
    const std::string nav1 = navText(page.nav1Ident, page.nav1);
    const std::string nav2 = navText(page.nav2Ident, page.nav2);
    screen.putText(6, 0, page.nav1Manual ? "M" : "A", CduColour::Cyan, false, false);
    screen.putText(6, 1, nav1, CduColour::Green, true, false);
    screen.putTextRight(6, 24, nav2, CduColour::Green, true, false);
    const auto nav2Width = static_cast<int32_t>(CduScreen::decodeUtf8(nav2).size());
    screen.putTextRight(6, 24 - nav2Width, page.nav2Manual ? "M" : "A", CduColour::Cyan, false,
                        false);
    screen.drawLeftPrompt("NAV 1", false, 7);
    screen.drawRightPrompt("NAV 2", false, 7);
    screen.putText(7, 6, "<\u2013\u2013SELECT\u2013\u2013>", CduColour::White, false, false);
}

void RadioTuningPages::drawNavTuneListPage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle(format("NAV %d", fms.radTunePage.navListSide));
    screen.drawPageNumber(1, 1);
    for (size_t index = 0; index < kListSize; ++index) {
        const Navaid navaid = vhfNavaidAt(index);
        if (navaid.id == 0) {
            continue;
        }
        const std::string text =
            navaid.ident + " " + FmsParser::formatNavFrequency(navFrequency(navaid));
        const auto row = static_cast<int32_t>(1 + 2 * (index / 2));
        if (index % 2 == 0) {
            screen.drawLeftPrompt("", false, row);
            screen.putText(row, 1, text, CduColour::Green, false, false);
        } else {
            screen.putTextRight(row, 23, text, CduColour::Green, false, false);
            screen.drawRightPrompt("", false, row);
        }
    }
    screen.drawLeftPrompt("PROGRESS", false, 7);
    screen.drawRightPrompt("TUNE", false, 7);
}

void RadioTuningPages::onNavTuneListKey(int32_t key) {
    // Line keys by list entry: L1 R1, L2 R2, L3 R3.
    static constexpr int32_t kEntryKeys[kListSize] = {kL1, kR1, kL2, kR2, kL3, kR3};
    const auto* found = std::find(std::begin(kEntryKeys), std::end(kEntryKeys), key);
    if (found != std::end(kEntryKeys)) {
        const auto index = static_cast<size_t>(found - std::begin(kEntryKeys));
        tuneNavaid(vhfNavaidAt(index), fms.radTunePage.navListSide);
        fms.setPage(fms.radTunePage.navListReturnPage, 1);
    } else if (key == kL4) {
        fms.setPage(kProgress, 1);
    } else if (key == kR4) {
        fms.setPage(kRadioTuning, 1);
    }
}

} // namespace tavi
