#include "core/Aircraft.h"
#include "displays/PanelElement.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "platform/gfx/Surface.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr int32_t kCduPopupWindow = 10000;
constexpr int kOnGroundToken = 60;
constexpr uint32_t kPageUpKey = 33;
constexpr uint32_t kPageDownKey = 34;
constexpr uint32_t kF1Key = 112;
constexpr uint32_t kBackspaceKey = 8;
constexpr uint32_t kMinusKey = 189;

// The module on the stand-in with the CDU powered on NAV IDENT.
class PageEngine : public testing::Test {
protected:
    PageEngine() {
        writeRegionDatabase(module.folder.path());
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.simulator.panel.setToken(kOnGroundToken, 1.0);
        module.startModule();
        module.simulator.step();
    }
    ~PageEngine() override { resetGlobalFlightPlans(); }

    Fms& fms() { return *module.aircraft().fms(); }
    std::string row(int32_t index) const {
        const std::u32string text = theAircraft->fms()->screen.rowText(index);
        std::string ascii;
        for (const char32_t c : text) {
            ascii += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return ascii.substr(0, ascii.find_last_not_of(' ') + 1);
    }
    // A PC key through the keyboard hook, as the simulator delivers it.
    void typeOnKeyboard(uint32_t virtualKey) {
        module.simulator.host.key(virtualKey, true);
        module.simulator.host.key(virtualKey, false);
    }
    // The keys the current page's handler receives.
    std::vector<int32_t>& recordPageKeys(int32_t page) {
        fms().pages[static_cast<std::size_t>(page)].onKey = [this](int32_t key) {
            pageKeys.push_back(key);
        };
        return pageKeys;
    }
    void giveActivePlanBothEnds() {
        activeFlightPlan.org.kind = WaypointKind::Airport;
        activeFlightPlan.dest.kind = WaypointKind::Airport;
    }

    ModuleHarness module;
    std::vector<int32_t> pageKeys;
};

TEST_F(PageEngine, PowerUpShowsNavIdentWithAnEmptyScratchpadLine) {
    ASSERT_TRUE(fms().powered);
    EXPECT_EQ(fms().currentPage, Fms::kNavIdentPage);
    EXPECT_FALSE(fms().position.initialised);
    EXPECT_EQ(row(0), "       NAV IDENT     1/1");
    EXPECT_EQ(row(8), "");
}

TEST_F(PageEngine, EachPageKeepsItsSubPageInItsOwnRecord) {
    const struct {
        int32_t page;
        const int32_t* subPage;
    } cases[] = {
        {Fms::kNavIndexPage, &fms().navIndexSubPage},
        {4, &fms().dbWptPage.subPage},
        {5, &fms().wptSelectPage.subPage},
        {12, &fms().radTunePage.navListSide},
        {15, &fms().fplListPage.subPage},
        {Fms::kStoredPlanPage, &fms().storedFplPage.subPage},
        {Fms::kActiveFlightPlanPage, &fms().activeFplPage.subPage},
        {38, &fms().departurePage.runwaySubPage},
        {42, &fms().departurePage.reviewSubPage},
        {44, &fms().arrivalPage.runwaySubPage},
        {49, &fms().arrivalPage.reviewSubPage},
        {50, &fms().takeoffPage.subPage},
        {51, &fms().landingPage.subPage},
    };
    for (const auto& c : cases) {
        fms().setPage(c.page, 7);
        EXPECT_EQ(fms().currentPage, c.page);
        EXPECT_EQ(*c.subPage, 7) << c.page;
        fms().setPage(c.page, -2);
        EXPECT_EQ(*c.subPage, -2) << "the sub-page is the page's concern: " << c.page;
    }
    fms().setPage(Fms::kNavIdentPage, 9);
    EXPECT_EQ(fms().currentPage, Fms::kNavIdentPage);
}

TEST_F(PageEngine, PagesOutsideTheTableShowOnlyTheScratchpadAndTakeNoKeys) {
    fms().pages[Fms::kNavIdentPage].draw = [this] {
        fms().screen.drawTitle("NAV IDENT");
    };
    module.simulator.step();
    EXPECT_EQ(row(0), "       NAV IDENT");
    for (const int32_t page : {56, -1, 1000}) {
        fms().setPage(page, 1);
        fms().setScratchpad("KAAA");
        fms().pressKey(0);
        fms().pressKey(Fms::kNextKey);
        module.simulator.step();
        EXPECT_EQ(fms().currentPage, page);
        EXPECT_EQ(row(0), "") << page;
        EXPECT_EQ(row(8), "KAAA") << page;
    }
    fms().pressKey(Fms::kPerfKey);
    EXPECT_EQ(fms().currentPage, Fms::kPerfIndexPage) << "the global keys still work";
}

TEST_F(PageEngine, PageKeysTurnToTheFirstSubPageOfTheirPages) {
    const struct {
        int32_t key;
        int32_t page;
        int32_t* subPage;
    } cases[] = {{Fms::kPerfKey, Fms::kPerfIndexPage, nullptr},
                 {Fms::kNavKey, Fms::kNavIndexPage, &fms().navIndexSubPage},
                 {Fms::kProgKey, Fms::kProgressPage, nullptr},
                 {Fms::kFplKey, Fms::kActiveFlightPlanPage, &fms().activeFplPage.subPage}};
    for (const auto& c : cases) {
        fms().setPage(Fms::kNavIdentPage, 1);
        if (c.subPage) {
            *c.subPage = 3;
        }
        fms().pressKey(c.key);
        EXPECT_EQ(fms().currentPage, c.page) << c.key;
        if (c.subPage) {
            EXPECT_EQ(*c.subPage, 1) << c.key;
        }
    }
}

TEST_F(PageEngine, NavAndFlightPlanPagesAskForThePresentPositionUntilItIsKnown) {
    fms().pressKey(Fms::kNavKey);
    module.simulator.step();
    EXPECT_EQ(row(8), "NO PRESENT POSITION");
    fms().typeCharacter('A');
    fms().pressKey(Fms::kClrKey);
    module.simulator.step();
    EXPECT_EQ(row(8), "") << "characters wait while a message shows";
    fms().pressKey(Fms::kFplKey);
    EXPECT_EQ(fms().messages.messages().size(), 1u);
    fms().messages.clear();
    fms().position.initialised = true;
    fms().pressKey(Fms::kNavKey);
    EXPECT_FALSE(fms().hasMessage());
}

TEST_F(PageEngine, DirTogglesDirectToOnlyWithAPlanThatHasBothEnds) {
    fms().messages.clear();
    fms().pressKey(Fms::kDirKey);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_FALSE(fms().activeFplPage.dirMode) << "no origin and destination";

    giveActivePlanBothEnds();
    fms().setPage(Fms::kNavIdentPage, 1);
    fms().activeFplPage.subPage = 2;
    fms().pressKey(Fms::kDirKey);
    EXPECT_TRUE(fms().activeFplPage.dirMode);
    EXPECT_EQ(fms().activeFplPage.subPage, 1);
    fms().activeFplPage.subPage = 2;
    fms().pressKey(Fms::kDirKey);
    EXPECT_FALSE(fms().activeFplPage.dirMode);
    EXPECT_EQ(fms().activeFplPage.subPage, 2) << "turning it off stays on the sub-page shown";
    fms().pressKey(Fms::kDirKey);
    EXPECT_TRUE(fms().activeFplPage.dirMode);
    EXPECT_EQ(fms().activeFplPage.subPage, 1);
    fms().pressKey(Fms::kFplKey);
    EXPECT_FALSE(fms().activeFplPage.dirMode);
}

TEST_F(PageEngine, TheKeyboardEditsThePadAndPassesTheOtherKeysToThePage) {
    module.simulator.panel.setPanelWindowOpen(kCduPopupWindow, true);
    fms().keyboardInput = true;
    fms().messages.clear();
    std::vector<int32_t>& keys = recordPageKeys(Fms::kNavIdentPage);
    for (const uint32_t key :
         {uint32_t{'A'}, uint32_t{'B'}, uint32_t{'C'}, uint32_t{'D'}, kMinusKey, kPageUpKey}) {
        typeOnKeyboard(key);
    }
    EXPECT_TRUE(fms().scratchPad.editMode());
    EXPECT_EQ(fms().scratchPad.editCursor(), 3);
    module.simulator.step();
    EXPECT_EQ(row(8), "ABCD");
    EXPECT_TRUE(fms().screen.cell(8, 3).reverse);
    EXPECT_FALSE(fms().screen.cell(8, 2).reverse);
    typeOnKeyboard('X');
    EXPECT_EQ(fms().scratchPad.text(), "ABCX");
    EXPECT_FALSE(fms().scratchPad.editMode());
    EXPECT_TRUE(keys.empty());
    typeOnKeyboard(kF1Key);
    typeOnKeyboard(kPageDownKey);
    typeOnKeyboard(kPageUpKey);
    EXPECT_EQ(keys, (std::vector<int32_t>{0, Fms::kNextKey, Fms::kPrevKey}));
    typeOnKeyboard(kBackspaceKey);
    EXPECT_EQ(fms().scratchPad.text(), "ABC");
    module.simulator.panel.setPanelWindowOpen(kCduPopupWindow, false);
    typeOnKeyboard('Z');
    EXPECT_EQ(fms().scratchPad.text(), "ABC") << "the keyboard reaches the CDU only in its pop-up";
}

TEST_F(PageEngine, AnAutomaticPageTurnWaitsASecondOnItsOwnPage) {
    giveActivePlanBothEnds();
    activeFlightPlan.legs.resize(7);
    fms().position.initialised = true;
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    ActiveFplPage& page = fms().activeFplPage;
    ASSERT_EQ(ActiveFplPage::pageCount(), 3);
    page.pageTurnRequested = true;
    page.pageTurnTarget = 5;
    page.pageTurnTime = module.aircraft().simTimeMs;
    module.simulator.stepSeconds(0.9);
    EXPECT_EQ(page.subPage, 1);
    fms().setPage(Fms::kNavIdentPage, 1);
    module.simulator.stepSeconds(0.5);
    EXPECT_TRUE(page.pageTurnRequested) << "the request waits while its page is not shown";
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    module.simulator.stepSeconds(0.9);
    EXPECT_EQ(page.subPage, 1) << "showing the page again restarts the second";
    module.simulator.stepSeconds(0.2);
    EXPECT_FALSE(page.pageTurnRequested);
    EXPECT_EQ(page.subPage, 3) << "never past the last sub-page";
}

TEST_F(PageEngine, TheStoredPlanTurnsToTheRequestedSubPageNotPastItsEnd) {
    selectedStoredPlan.org.kind = WaypointKind::Airport;
    selectedStoredPlan.dest.kind = WaypointKind::Airport;
    selectedStoredPlan.legs.resize(10);
    ASSERT_EQ(StoredFplPage::pageCount(), 4);
    for (const auto& [target, shown] : {std::pair{2, 2}, {9, 4}}) {
        fms().setPage(Fms::kStoredPlanPage, 1);
        fms().storedFplPage.pageTurnRequested = true;
        fms().storedFplPage.pageTurnTarget = target;
        fms().storedFplPage.pageTurnTime = module.aircraft().simTimeMs;
        module.simulator.stepSeconds(1.1);
        EXPECT_FALSE(fms().storedFplPage.pageTurnRequested);
        EXPECT_EQ(fms().storedFplPage.subPage, shown) << target;
    }
}

TEST_F(PageEngine, TheCduScreenShowsWhatTheEngineDrew) {
    fms().messages.clear();
    fms().pages[Fms::kNavIdentPage].draw = [this] {
        fms().screen.drawTitle("NAV IDENT");
    };
    for (const char c : std::string("KAAA")) {
        fms().typeCharacter(c);
    }
    module.simulator.step();
    TempFolder folder;
    const auto written = writeScreens(module.aircraft(), folder.path());
    ASSERT_NE(std::find_if(written.begin(), written.end(),
                           [](const auto& path) { return path.filename() == "Cdu.png"; }),
              written.end());
    platform::gfx::Surface surface(370, 240);
    surface.setLogicalSize(370, 240);
    PanelElement& screen = *module.aircraft().display(kCduDisplay);
    surface.changed = false;
    for (int attempt = 0; attempt < 3 && !surface.changed; ++attempt) {
        screen.draw(surface, 370, 240, false);
    }
    auto whiteIn = [&](int left, int top, int width, int height) {
        int count = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                count += surface.pixel(x, y) == 0xFFFFFFFFu ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_GT(whiteIn(16, 205, 56, 20), 20) << "KAAA on the scratch-pad row";
    EXPECT_EQ(whiteIn(72, 205, 280, 20), 0);
    EXPECT_GT(whiteIn(100, 15, 170, 23), 20) << "the title the page drew";
}

TEST_F(PageEngine, ThePageRecordsComeBackFromTheStateFile) {
    StateFile file;
    file.path = (module.folder.path() / "flight.flt").string();
    fms().radTunePage.com1 = 0x01215250;
    fms().takeoffPage.windDirection = 270;
    fms().arrivalPage.stars = {"STAR1"};
    fms().saveState(file);
    fms().radTunePage.com1 = 0;
    fms().takeoffPage.windDirection = 0;
    fms().arrivalPage.stars.clear();
    fms().loadState(file);
    EXPECT_EQ(fms().radTunePage.com1, 0x01215250);
    EXPECT_EQ(fms().takeoffPage.windDirection, 270);
    EXPECT_EQ(fms().arrivalPage.stars, std::vector<std::string>{"STAR1"});
}

} // namespace
} // namespace tavi::test
