#include "avionics/Radio.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr uint32_t kNav1Set = 0x100AC;
constexpr uint32_t kNav2Set = 0x100AD;
constexpr uint32_t kAdf1Set = 0x103AF;

class RadioTuning : public testing::Test {
protected:
    explicit RadioTuning(const std::string& navSql = "") : cdu(navSql) {
        cdu.show(kRadioTuning);
        cdu.panel().clearKeyEventsSent();
    }

    RadioUnit& unit(int side) {
        Radio& radio = *cdu.module.aircraft().radio();
        return side == 1 ? radio.unit1 : radio.unit2;
    }
    RadTunePage& page() { return cdu.fms().radTunePage; }
    // The small "A" or "M" before the side's NAV text on row 6.
    std::string tuningMode(int side) {
        const int32_t first = side == 1 ? 0 : CduScreen::kColumns / 2;
        const int32_t last = side == 1 ? 0 : CduScreen::kColumns - 1;
        for (int32_t column = first; column <= last; ++column) {
            const CduCell& cell = cdu.cell(6, column);
            if (!cell.large && (cell.character == U'A' || cell.character == U'M')) {
                return std::string(1, static_cast<char>(cell.character));
            }
        }
        return {};
    }
    bool sent(uint32_t event) {
        for (const sim::KeyEvent& e : cdu.panel().keyEventsSent()) {
            if (e.eventId == event) {
                return true;
            }
        }
        return false;
    }

    CduSession cdu;
};

TEST_F(RadioTuning, EmptyFieldsShowNoFrequenciesAndTheTuningMode) {
    EXPECT_EQ(cdu.row(0), "      RADIO TUNING   1/1");
    EXPECT_EQ(cdu.row(1), " ADF 1            ADF 2");
    EXPECT_EQ(cdu.row(2), "");
    EXPECT_EQ(cdu.row(3), " COM 1            COM 2");
    EXPECT_EQ(cdu.row(5), " NAV 1            NAV 2");
    EXPECT_EQ(cdu.row(6), "A\u2013\u2013\u2013 0.00      A\u2013\u2013\u2013 0.00")
        << "nothing tuned by hand: both receivers are on automatic tuning";
    EXPECT_EQ(cdu.row(7), "\u25C4NAV 1<\u2013\u2013SELECT\u2013\u2013>NAV 2\u25BA");
    EXPECT_EQ(cdu.cell(6, 0).colour, CduColour::Cyan);
    EXPECT_EQ(cdu.cell(6, 15).colour, CduColour::Cyan);
    cdu.press(kL1);
    EXPECT_TRUE(cdu.panel().keyEventsSent().empty()) << "no ADF entry to send again";
}

TEST_F(RadioTuning, FrequenciesReachTheRadios) {
    cdu.enter("415.5", kL1);
    EXPECT_EQ(page().adf1, 0x04155000);
    EXPECT_EQ(unit(1).adfActive, 0x04155000);
    EXPECT_TRUE(sent(kAdf1Set));
    cdu.enter("121.5", kR2);
    EXPECT_EQ(page().com2, 0x01215000);
    EXPECT_EQ(unit(2).comActive, 0x01215000);
    EXPECT_TRUE(unit(1).navAutoTuning && unit(2).navAutoTuning) << "ADF and COM leave it";
    cdu.enter("112.3", kL3);
    EXPECT_FALSE(unit(1).navAutoTuning) << "a NAV tuned by hand ends the FMS's tuning";
    EXPECT_TRUE(unit(2).navAutoTuning);
    EXPECT_EQ(page().nav1, 0x01123000);
    EXPECT_EQ(unit(1).navActive, 0x01123000);
    EXPECT_TRUE(sent(kNav1Set));
    EXPECT_TRUE(page().nav1Manual);
    EXPECT_EQ(page().nav1Ident, "VTX") << "the station on that frequency";
    EXPECT_EQ(cdu.row(2), "\u25C4415.5");
    EXPECT_EQ(cdu.row(4), "                121.500\u25BA");
    EXPECT_EQ(cdu.row(6), "MVTX 112.30    A\u2013\u2013\u2013 0.00");

    unit(1).setAdfFrequency(0x03000000);
    cdu.panel().clearKeyEventsSent();
    cdu.press(kL1);
    EXPECT_EQ(unit(1).adfActive, 0x04155000) << "an empty pad sends the entry again";
    EXPECT_TRUE(sent(kAdf1Set));
    cdu.press(kL3);
    EXPECT_EQ(cdu.scratchpad(), "VTX") << "the NAV ident for a copy";
}

TEST_F(RadioTuning, ANavaidTunedByItsIdent) {
    cdu.enter("ABC", kR3);
    EXPECT_EQ(unit(2).navActive, 0x01163000) << "the nearer ABC, the VOR on 116.30";
    EXPECT_TRUE(sent(kNav2Set));
    EXPECT_TRUE(page().nav2Manual);
    EXPECT_EQ(page().nav2, 0x01163000);
    EXPECT_FALSE(page().nav2Ident.empty());
    cdu.enter("DMA", kL3);
    EXPECT_EQ(unit(1).navActive, FmsParser::tacanChannelToFrequency("087X"))
        << "a DME by its paired frequency";
    const int32_t before = unit(1).navActive;
    unit(1).navAutoTuning = true;
    cdu.enter("NOSTN", kL3);
    EXPECT_EQ(unit(1).navActive, before) << "an ident without station tunes nothing";
    EXPECT_FALSE(unit(1).navAutoTuning) << "but the FMS's tuning ends all the same";
    EXPECT_FALSE(unit(2).navAutoTuning);
    EXPECT_EQ(cdu.message(), "");
}

TEST_F(RadioTuning, RefusedEntriesChangeNothing) {
    const struct {
        int32_t key;
        const char* entry;
    } cases[] = {{kL1, "99"},      {kL1, "1800"},   {kL1, "415.3"},  {kL2, "121.52"},
                 {kR2, "137.000"}, {kL3, "118.00"}, {kR3, "108.07"}, {kR3, "A/B"}};
    for (const auto& c : cases) {
        cdu.enter(c.entry, c.key);
        EXPECT_EQ(cdu.message(), "INVALID ENTRY") << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.entry) << c.entry;
        cdu.fms().messages.clear();
        cdu.fms().takeScratchpad();
    }
    EXPECT_TRUE(cdu.panel().keyEventsSent().empty());
    EXPECT_EQ(page().adf1 | page().com1 | page().com2 | page().nav1 | page().nav2, 0);
    EXPECT_TRUE(page().nav1Ident.empty() && page().nav2Ident.empty());
    EXPECT_TRUE(unit(1).navAutoTuning && unit(2).navAutoTuning);
}

TEST_F(RadioTuning, DeleteTakesTheRadiosOwnStation) {
    cdu.enter("112.3", kL3);
    unit(1).identText = "RCV";
    cdu.panel().clearKeyEventsSent();
    cdu.press(Fms::kDelKey);
    cdu.press(kL3);
    EXPECT_FALSE(page().nav1Manual);
    EXPECT_EQ(page().nav1, 0x01123000);
    EXPECT_EQ(page().nav1Ident, "RCV");
    EXPECT_EQ(cdu.scratchpad(), "");
    EXPECT_TRUE(unit(1).navAutoTuning) << "DEL gives the receiver back to automatic tuning";
    EXPECT_TRUE(cdu.panel().keyEventsSent().empty()) << "the radio is not retuned";
}

// The NAV fields of RADIO TUNING and PROGRESS: DEL selects automatic tuning, and it stays
// selected over the frames that follow until the pilot tunes by hand again.
TEST_F(RadioTuning, DeleteSelectsAutomaticTuningUntilThePilotTunesByHand) {
    const struct {
        int32_t page;
        int32_t key;
        int side;
    } fields[] = {
        {kRadioTuning, kL3, 1}, {kRadioTuning, kR3, 2}, {kProgress, kL3, 1}, {kProgress, kR3, 2}};
    for (const auto& f : fields) {
        SCOPED_TRACE(testing::Message() << "page " << f.page << " side " << f.side);
        cdu.show(f.page);
        cdu.enter("112.3", f.key);
        EXPECT_EQ(tuningMode(f.side), "M");
        EXPECT_FALSE(unit(f.side).navAutoTuning);
        cdu.press(Fms::kDelKey);
        cdu.press(f.key);
        for (int frame = 0; frame < 50; ++frame) {
            cdu.frame();
        }
        cdu.fms().drawPage();
        EXPECT_EQ(tuningMode(f.side), "A") << "still automatic 50 frames later";
        EXPECT_TRUE(unit(f.side).navAutoTuning);
        cdu.enter("ABC", f.key);
        cdu.frame();
        cdu.fms().drawPage();
        EXPECT_EQ(tuningMode(f.side), "M") << "tuned by hand by its ident";
        EXPECT_FALSE(unit(f.side).navAutoTuning);
    }
}

TEST_F(RadioTuning, TheTuningListTunesTheNearestStations) {
    cdu.press(kR4);
    ASSERT_EQ(cdu.fms().currentPage, kNavTuneList);
    EXPECT_EQ(cdu.row(0), "         NAV 2       1/1");
    EXPECT_EQ(cdu.row(7), "\u25C4PROGRESS          TUNE\u25BA");
    const Navaid first = cdu.fms().radioTuningPages.vhfNavaidAt(0);
    const Navaid second = cdu.fms().radioTuningPages.vhfNavaidAt(1);
    EXPECT_LE(first.distance, second.distance);
    EXPECT_TRUE(cdu.row(1).starts_with("\u25C4" + first.ident + " "));
    EXPECT_TRUE(cdu.row(1).ends_with(" \u25BA") || cdu.row(1).ends_with("\u25BA"));
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, kRadioTuning);
    EXPECT_EQ(unit(2).navActive, second.frequency != 0
                                     ? second.frequency
                                     : FmsParser::tacanChannelToFrequency(second.channel));
    EXPECT_EQ(page().nav2, 0) << "the list leaves the page's fields";
    EXPECT_TRUE(unit(2).navAutoTuning) << "and the FMS's tuning";
    cdu.press(kL4);
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kProgress);
}

class ShortTuningList : public RadioTuning {
protected:
    ShortTuningList() : RadioTuning("DELETE FROM Navaids WHERE ID NOT IN (1, 5, 7);") {}
};

TEST_F(ShortTuningList, KeysPastTheListOnlyReturn) {
    for (const auto& [key, tunes] : {std::pair{kL1, true},
                                     {kR1, true},
                                     {kL2, true},
                                     {kR2, false},
                                     {kL3, false},
                                     {kR3, false}}) {
        cdu.show(kRadioTuning);
        cdu.press(kL4);
        ASSERT_EQ(cdu.fms().currentPage, kNavTuneList);
        cdu.panel().clearKeyEventsSent();
        cdu.press(key);
        EXPECT_EQ(cdu.fms().currentPage, kRadioTuning) << key;
        EXPECT_EQ(sent(kNav1Set), tunes) << key;
    }
    cdu.show(kNavTuneList, 1);
    EXPECT_EQ(cdu.row(5), "");
    EXPECT_NE(cdu.row(3), "");
}

} // namespace
} // namespace tavi::test
