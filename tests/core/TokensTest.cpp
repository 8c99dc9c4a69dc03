#include "support/ModuleHarness.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(TokensTest, RefreshLooksUpEveryTokenOutsideTheSkippedRanges) {
    ModuleHarness module;
    sim::Panel& panel = module.simulator.panel;
    for (int id : {0, 126, 127, 266, 267, 545, 546, 900, 908}) {
        panel.setToken(id, id + 0.5);
    }
    FsTokensReader tokens;
    const int before = panel.tokenLookups();
    tokens.refresh();
    EXPECT_EQ(panel.tokenLookups() - before, 429);
    for (int id : {0, 126, 267, 546, 908}) {
        EXPECT_EQ(tokens.value(id), id + 0.5) << id;
    }
    for (int id : {127, 266, 545, 900}) {
        EXPECT_EQ(tokens.value(id), 0.0) << id;
    }
    panel.setToken(126, 3.0);
    tokens.refresh();
    EXPECT_EQ(tokens.value(126), 3.0);
    EXPECT_EQ(tokens.records[126].previousValue, 126.5);
}

TEST(TokensTest, FrameRefreshesTheTableFirst) {
    ModuleHarness module;
    module.startModule();
    module.simulator.panel.setToken(60, 1.0);
    module.simulator.step();
    EXPECT_EQ(module.aircraft().tokens.value(60), 1.0);
}

TEST(TokensTest, SimVarReadsItsVariableOnlyWhenAsked) {
    ModuleHarness module;
    module.simulator.panel.setVariable("GENERAL ENG RPM", 2, 2200.0);
    SimVar rpm("GENERAL ENG RPM", "rpm", 2);
    EXPECT_EQ(rpm.value, 0.0);
    EXPECT_EQ(rpm.read(), 2200.0);
    SimVar other("GENERAL ENG RPM", "rpm", 1);
    EXPECT_EQ(other.read(), 0.0);
}

} // namespace
} // namespace tavi::test
