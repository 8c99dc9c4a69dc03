#include "navdata/TerminalLeg.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(TerminalLegTest, StartsAsATrackToAFix) {
    const TerminalLeg leg;
    EXPECT_EQ(leg.legType, TerminalLegType::TF);
    EXPECT_EQ(leg.proc, 0);
    EXPECT_EQ(leg.turnDirection, kTurnNone);
    EXPECT_TRUE(leg.altitude.empty());
}

TEST(TerminalLegTest, TrackCodesMapExactlyInTableOrder) {
    const struct {
        const char* code;
        TerminalLegType type;
    } cases[] = {
        {"AF", TerminalLegType::AF},  {"CF", TerminalLegType::CF}, {"HM", TerminalLegType::HM},
        {"TF", TerminalLegType::TF},  {"VD", TerminalLegType::VD}, {"DS", TerminalLegType::DS},
        {"XY", TerminalLegType::TF},  {"cf", TerminalLegType::TF}, {"", TerminalLegType::TF},
        {"CFX", TerminalLegType::TF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalLeg::typeFromTrackCode(c.code), c.type) << c.code;
    }
    EXPECT_EQ(static_cast<int>(TerminalLeg::typeFromTrackCode("VD")), 19);
    EXPECT_EQ(static_cast<int>(TerminalLeg::typeFromTrackCode("DS")), 23);
}

} // namespace
} // namespace tavi
