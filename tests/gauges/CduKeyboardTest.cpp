#include "airframe/Lights.h"
#include "displays/PanelElement.h"
#include "gauges/Gauges.h"
#include "support/CduSession.h"
#include "support/GaugeClicks.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tavi::test {
namespace {

// The centres of the CDU's keys on the panel, as the panel is laid out.
std::map<char, std::pair<int, int>> characterKeys() {
    std::map<char, std::pair<int, int>> keys;
    const int columns[] = {12, 60, 108, 154, 202, 250};
    const char* rows[] = {"ABCDEF", "GHIJKL", "MNOPQR", " STUVW", " XYZ"};
    const int rowY[] = {396, 438, 480, 522, 566};
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; rows[row][column]; ++column) {
            keys[rows[row][column]] = {columns[column] + 13, rowY[row] + 13};
        }
    }
    const char* digits[] = {"123", "456", "789", ".0", "-/"};
    const int digitX[] = {314, 364, 412};
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; digits[row][column]; ++column) {
            keys[digits[row][column]] = {digitX[column] + 13, rowY[row] + 13};
        }
    }
    keys.erase(' ');
    return keys;
}

class CduKeyboardTest : public testing::Test {
protected:
    void type(const platform::GaugeHeader& gauge, const std::string& text) {
        const auto keys = characterKeys();
        for (char c : text) {
            const auto [x, y] = keys.at(c);
            EXPECT_TRUE(leftClick(gauge, x, y)) << c;
        }
    }

    CduSession cdu;
};

TEST_F(CduKeyboardTest, CharacterKeysTypeIntoTheScratchPad) {
    for (const std::string text : {"ABCDEFGHIJKL", "MNOPQRSTUVWX", "YZ1234567890", ".-/"}) {
        type(cduGauge, text);
        EXPECT_EQ(cdu.scratchpad(), text);
        cdu.fms().setScratchpad("");
    }
    type(cduVcGauge, "NAV");
    EXPECT_EQ(cdu.scratchpad(), "NAV") << "the virtual-cockpit CDU has the same keys";
}

// Hold CLR: each repeat clears one more character; DEL arms the delete.
TEST_F(CduKeyboardTest, ClearRepeatsWhileHeldAndDeleteArms) {
    type(cduGauge, "NAV");
    cdu.frame();
    EXPECT_EQ(cdu.row(8), "NAV");
    EXPECT_TRUE(leftClick(cduGauge, 263, 579));
    for (int repeat = 0; repeat < 2; ++repeat) {
        EXPECT_TRUE(
            mouseEvent(cduGauge, 263, 579, platform::kMouseLeftSingle | platform::kMouseRepeat));
    }
    EXPECT_EQ(cdu.scratchpad(), "");
    EXPECT_TRUE(leftClick(cduGauge, 215, 579));
    EXPECT_TRUE(cdu.fms().isScratchpadDelete());
}

// Each line and function key, pressed on the NAV page, does what its key code does there.
TEST_F(CduKeyboardTest, LineAndFunctionKeysPressTheirCodes) {
    const struct {
        const char* key;
        int x;
        int y;
        int32_t code;
    } cases[] = {
        {"PERF", 30, 350, 8},    {"NAV", 88, 350, 9},   {"FPL", 258, 350, 13},
        {"PROG", 316, 350, 14},  {"DIR", 374, 350, 15}, {"LSK 1L", 20, 130, 0},
        {"LSK 4R", 435, 270, 7},
    };
    for (const auto& c : cases) {
        cdu.fms().setPage(Fms::kActiveFlightPlanPage, 1);
        cdu.fms().pressKey(9);
        cdu.fms().pressKey(c.code);
        const int32_t expected = cdu.fms().currentPage;
        cdu.fms().setPage(Fms::kActiveFlightPlanPage, 1);
        cdu.fms().pressKey(9);
        EXPECT_TRUE(leftClick(cduGauge, c.x, c.y)) << c.key;
        EXPECT_EQ(cdu.fms().currentPage, expected) << c.key;
    }
}

TEST_F(CduKeyboardTest, BrightnessRockerAndKeyboardButton) {
    PanelElement& screen = *cdu.module.aircraft().display(kCduDisplay);
    screen.setBrightness(200);
    EXPECT_TRUE(leftClick(cduGauge, 435, 320));
    EXPECT_TRUE(
        mouseEvent(cduGauge, 435, 320, platform::kMouseLeftSingle | platform::kMouseRepeat));
    EXPECT_EQ(screen.brightness, 210);
    EXPECT_TRUE(leftClick(cduGauge, 420, 320));
    EXPECT_EQ(screen.brightness, 205);
    EXPECT_EQ(tooltipAt(cduGauge, 420, 320), "Brightness");

    EXPECT_TRUE(leftClick(cduGauge, 18, 50));
    EXPECT_TRUE(cdu.fms().keyboardInput);
    EXPECT_TRUE(leftClick(cduVcGauge, 18, 50));
    EXPECT_FALSE(cdu.fms().keyboardInput);
    EXPECT_EQ(tooltipAt(cduGauge, 18, 50), "Toggle Keyboard Input");
}

TEST_F(CduKeyboardTest, AnnunciatorsShowTheirConditionLitWithThePanel) {
    platform::GaugeElement& screen = cduGauge.root.children.at(0).children.at(0);
    ASSERT_EQ(screen.flags, platform::kImageBright | platform::kImageCreateBitmap)
        << "the screen is the background icon's first child";
    platform::GaugeElement* page = findElement(cduGauge, "CDU page annunciator");
    platform::GaugeElement* message = findElement(cduGauge, "CDU message annunciator");
    ASSERT_TRUE(page && message);
    const auto shown = [](platform::GaugeElement& lamp) {
        elementValue(lamp);
        return (lamp.flags & platform::kImageHidden) == 0;
    };

    EXPECT_FALSE(shown(*message));
    cdu.fms().showMessage("NOT IN DATA BASE", 1);
    EXPECT_TRUE(shown(*message));
    EXPECT_EQ(elementValue(*message), 0.0);
    cdu.module.aircraft().lights()->panelLighting = Lights::kPanelLit;
    EXPECT_EQ(elementValue(*message), 1.0);
    EXPECT_EQ(message->flags & platform::kImageBright, platform::kImageBright);
    cdu.fms().messages.clear();
    EXPECT_FALSE(shown(*message));

    const struct {
        int32_t page;
        int32_t subPage;
        bool shown;
    } pages[] = {{Fms::kActiveFlightPlanPage, 1, false},
                 {Fms::kActiveFlightPlanPage, 2, true},
                 {16, 1, true},
                 {34, 1, true},
                 {15, 1, false}};
    for (const auto& c : pages) {
        cdu.fms().currentPage = c.page;
        cdu.fms().activeFplPage.subPage = c.subPage;
        EXPECT_EQ(shown(*page), c.shown) << c.page << "/" << c.subPage;
    }
}

TEST(CduScreenClickTest, ThePopUpClosesAndTheCopyOpensTheCduWindowEvenBeforeStartUp) {
    ModuleHarness module;
    module.init();
    module.simulator.panel.setPanelWindowOpen(10000, false);
    EXPECT_TRUE(leftClick(cduVcGauge, 200, 150));
    EXPECT_TRUE(module.simulator.panel.isPanelWindowOpen(10000));
    EXPECT_FALSE(leftClick(cduGauge, 25, 409)) << "keys wait for the aircraft";
    EXPECT_TRUE(leftClick(cduGauge, 200, 150));
    EXPECT_FALSE(module.simulator.panel.isPanelWindowOpen(10000));
}

} // namespace
} // namespace tavi::test
