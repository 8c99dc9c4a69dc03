#include "gauges/ScreenGauges.h"

#include "airframe/Lights.h"
#include "core/Aircraft.h"
#include "displays/PanelElement.h"
#include "gauges/Gauges.h"
#include "platform/gfx/Surface.h"
#include "support/GaugeClicks.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace tavi {
namespace {

using platform::GaugeElement;
using platform::GaugeHeader;

// A screen that notes each draw's blank flag and the scale its surface was mapped with.
class DrawRecordingScreen : public PanelElement {
public:
    void update(Aircraft&) override {}
    int draw(platform::gfx::Surface& surface, int, int, bool blank) override {
        blanks.push_back(blank);
        scaleX = surface.scaleX();
        scaleY = surface.scaleY();
        return 0;
    }

    std::vector<bool> blanks;
    double scaleX = 0.0;
    double scaleY = 0.0;
};

GaugeElement& mainPanelScreen(std::size_t order) {
    return mainPanelGauge.root.children.front().children.at(order);
}

class ScreenGaugesTest : public ::testing::Test {
protected:
    void SetUp() override { module.startModule(); }

    void TearDown() override {
        for (GaugeElement* element : surfacesGiven) {
            element->surface = nullptr;
        }
    }

    // Puts a recording screen in the slot in place of the aircraft's own.
    DrawRecordingScreen& record(int displayId) {
        PanelElement*& slot = module.aircraft().displays.at(static_cast<std::size_t>(displayId));
        delete slot;
        auto* screen = new DrawRecordingScreen();
        slot = screen;
        return *screen;
    }

    // Makes the element's surface at its artwork's size, as the simulator does.
    void giveSurface(GaugeElement& element) {
        surfaces.push_back(std::make_unique<platform::gfx::Surface>(element.artwork->width,
                                                                    element.artwork->height));
        element.surface = surfaces.back().get();
        surfacesGiven.push_back(&element);
    }

    void showWindows(bool mainPanel, int32_t popUp, bool popUpShown) {
        module.simulator.panel.setPanelWindowOpen(kMainPanelWindow, mainPanel);
        module.simulator.panel.setPanelWindowOpen(popUp, popUpShown);
    }

    test::ModuleHarness module;
    std::vector<std::unique_ptr<platform::gfx::Surface>> surfaces;
    std::vector<GaugeElement*> surfacesGiven;
};

TEST_F(ScreenGaugesTest, OnlyTheViewOnShowDrawsTheScreenWithContent) {
    struct Family {
        int displayId;
        int32_t popUp;
        GaugeHeader* popUpGauge;
        GaugeHeader* vcGauge;
        std::size_t mainPanelOrder;
    };
    const Family families[] = {
        {kPfdLeft, 10002, &pfdGauge, &pfd1VcGauge, 0},
        {kMfdLeft, 10003, &mfdGauge, &mfd1VcGauge, 1},
        {kEicasDisplay, 10004, &eicasGauge, &eicasVcGauge, 2},
        {kRmuLeft, 10007, &rmu1Gauge, &rmu1VcGauge, 3},
    };
    struct Windows {
        bool mainPanel;
        bool popUp;
        bool copyBlank;
        bool popUpBlank;
        bool vcBlank;
    };
    const Windows states[] = {
        {true, false, false, true, true},
        {true, true, true, false, true},
        {false, false, true, true, false},
        {false, true, true, false, true},
    };
    for (const Family& family : families) {
        DrawRecordingScreen& screen = record(family.displayId);
        giveSurface(family.popUpGauge->root);
        giveSurface(family.vcGauge->root);
        giveSurface(mainPanelScreen(family.mainPanelOrder));
        for (const Windows& state : states) {
            showWindows(state.mainPanel, family.popUp, state.popUp);
            screen.blanks.clear();
            mainPanelGauge.callback(mainPanelGauge, platform::kServicePreDraw, nullptr);
            screenGaugeCallback(*family.popUpGauge, platform::kServicePreDraw, nullptr);
            screenGaugeCallback(*family.vcGauge, platform::kServicePreDraw, nullptr);
            EXPECT_EQ(screen.blanks,
                      (std::vector<bool>{state.copyBlank, state.popUpBlank, state.vcBlank}))
                << family.popUpGauge->name << " main panel " << state.mainPanel << " pop-up "
                << state.popUp;
        }
    }
}

TEST_F(ScreenGaugesTest, StandbyInstrumentAndClockFollowTheirOwnRules) {
    DrawRecordingScreen& isi = record(kStandbyInstrument);
    DrawRecordingScreen& clock = record(kClockLeft);
    giveSurface(isiGauge.root);
    giveSurface(isiVcGauge.root);
    giveSurface(mainPanelScreen(4));
    giveSurface(mainPanelScreen(5));
    for (const bool mainPanel : {true, false}) {
        module.simulator.panel.setPanelWindowOpen(kMainPanelWindow, mainPanel);
        isi.blanks.clear();
        clock.blanks.clear();
        mainPanelGauge.callback(mainPanelGauge, platform::kServicePreDraw, nullptr);
        screenGaugeCallback(isiGauge, platform::kServicePreDraw, nullptr);
        screenGaugeCallback(isiVcGauge, platform::kServicePreDraw, nullptr);
        // Main-panel copy, pop-up gauge (never blank), virtual-cockpit copy.
        EXPECT_EQ(isi.blanks, (std::vector<bool>{!mainPanel, false, mainPanel}));
        EXPECT_EQ(clock.blanks, std::vector<bool>{false});
    }
}

TEST_F(ScreenGaugesTest, DrawMapsTheSurfaceToTheScreenAndAsksForACopy) {
    DrawRecordingScreen& pfd = record(kPfdLeft);
    DrawRecordingScreen& rmu = record(kRmuLeft);
    GaugeElement& copy = mainPanelScreen(0);
    giveSurface(copy);
    giveSurface(rmu1Gauge.root);
    copy.flags |= platform::kImageOnScreen;
    rmu1Gauge.root.flags |= platform::kImageOnScreen;

    mainPanelGauge.callback(mainPanelGauge, platform::kServicePreDraw, nullptr);
    screenGaugeCallback(rmu1Gauge, platform::kServicePreDraw, nullptr);

    EXPECT_DOUBLE_EQ(pfd.scaleX, 252.0 / 400.0);
    EXPECT_DOUBLE_EQ(pfd.scaleY, 300.0 / 476.0);
    EXPECT_DOUBLE_EQ(rmu.scaleX, 1.0);
    EXPECT_DOUBLE_EQ(rmu.scaleY, 1.0);
    EXPECT_EQ(copy.flags & platform::kImageOnScreen, 0u);
    EXPECT_EQ(rmu1Gauge.root.flags & platform::kImageOnScreen, 0u);
}

TEST_F(ScreenGaugesTest, ScreensDrawOnlyInTheirGaugesOwnService) {
    DrawRecordingScreen& pfd = record(kPfdLeft);
    giveSurface(pfdGauge.root);
    giveSurface(mainPanelScreen(0));
    for (const int32_t service : {0, 1, platform::kServicePreUpdate, 11, 15}) {
        screenGaugeCallback(pfdGauge, service, nullptr);
        mainPanelGauge.callback(mainPanelGauge, service, nullptr);
    }
    EXPECT_TRUE(pfd.blanks.empty());
}

TEST_F(ScreenGaugesTest, MainPanelPreUpdateRunsTheAircraftsPreUpdate) {
    module.aircraft().preUpdateSeen = false;
    mainPanelGauge.callback(mainPanelGauge, platform::kServicePreUpdate, nullptr);
    EXPECT_TRUE(module.aircraft().preUpdateSeen);
}

TEST_F(ScreenGaugesTest, NothingIsDrawnWithoutASurfaceOrASurfaceWithoutAScreen) {
    DrawRecordingScreen& pfd = record(kPfdLeft);
    pfdGauge.root.flags |= platform::kImageOnScreen;
    screenGaugeCallback(pfdGauge, platform::kServicePreDraw, nullptr);
    EXPECT_TRUE(pfd.blanks.empty());
    EXPECT_NE(pfdGauge.root.flags & platform::kImageOnScreen, 0u);

    // The slot of a screen that is not there draws nothing, and the copy is still refreshed.
    PanelElement*& slot = module.aircraft().displays.at(kMfdRight);
    delete slot;
    slot = nullptr;
    giveSurface(mfd2Gauge.root);
    mfd2Gauge.root.flags |= platform::kImageOnScreen;
    screenGaugeCallback(mfd2Gauge, platform::kServicePreDraw, nullptr);
    EXPECT_EQ(mfd2Gauge.root.flags & platform::kImageOnScreen, 0u);
}

TEST_F(ScreenGaugesTest, BackgroundsFollowThePanelLighting) {
    struct Case {
        int32_t lighting;
        double mainPanel;
        double wx;
        bool bright;
    };
    const Case cases[] = {
        {Lights::kUnlit, 0, 0, false},
        {Lights::kPanelLit, 1, 1, true},
        {Lights::kFloodLit, 2, 1, true},
    };
    GaugeElement& mainBackground = mainPanelGauge.root.children.front();
    GaugeElement& wxBackground = wxGauge.root.children.front();
    for (const Case& c : cases) {
        module.aircraft().lights()->panelLighting = c.lighting;
        EXPECT_EQ(test::elementValue(mainBackground), c.mainPanel) << c.lighting;
        EXPECT_EQ(test::elementValue(wxBackground), c.wx) << c.lighting;
        EXPECT_EQ((mainBackground.flags & platform::kImageBright) != 0, c.bright);
        EXPECT_EQ((wxBackground.flags & platform::kImageBright) != 0, c.bright);
    }
}

// Gives a gauge built elsewhere a small tree for the duration of a test: a screen element as the
// root, or as the first child of a background icon as the CDU gauges keep it.
class StandInTree {
public:
    StandInTree(GaugeHeader& gauge, bool inBackground) : gauge(gauge), saved(gauge.root) {
        gauge.root = GaugeElement();
        if (inBackground) {
            gauge.root.children.emplace_back();
            gauge.root.children.front().children.emplace_back();
        }
    }
    ~StandInTree() { gauge.root = saved; }
    StandInTree(const StandInTree&) = delete;
    StandInTree& operator=(const StandInTree&) = delete;

    GaugeElement& screen() {
        return gauge.root.children.empty() ? gauge.root : gauge.root.children[0].children[0];
    }

private:
    GaugeHeader& gauge;
    GaugeElement saved;
};

TEST_F(ScreenGaugesTest, CduAndClockGaugesDrawByTheirOwnServiceAndRule) {
    DrawRecordingScreen& cdu = record(kCduDisplay);
    DrawRecordingScreen& clock2 = record(kClockRight);
    StandInTree cduTree(cduGauge, true);
    StandInTree cduVcTree(cduVcGauge, true);
    StandInTree clockTree(clock2Gauge, false);
    platform::gfx::Surface surface(370, 240);
    for (StandInTree* tree : {&cduTree, &cduVcTree, &clockTree}) {
        tree->screen().surface = &surface;
    }
    struct Windows {
        bool mainPanel;
        bool cdu;
        std::vector<bool> cduBlanks;
    };
    const Windows states[] = {
        {true, false, {true, true}},
        {true, true, {false, true}},
        {false, false, {true, false}},
        {false, true, {false, true}},
    };
    for (const Windows& state : states) {
        showWindows(state.mainPanel, 10000, state.cdu);
        cdu.blanks.clear();
        clock2.blanks.clear();
        for (const int32_t service : {platform::kServicePreDraw, platform::kServicePreUpdate}) {
            screenGaugeCallback(cduGauge, service, nullptr);
            screenGaugeCallback(cduVcGauge, service, nullptr);
            screenGaugeCallback(clock2Gauge, service, nullptr);
        }
        EXPECT_EQ(cdu.blanks, state.cduBlanks) << state.mainPanel << state.cdu;
        EXPECT_EQ(clock2.blanks, std::vector<bool>{false});
    }
    EXPECT_DOUBLE_EQ(cdu.scaleX, 1.0);
}

TEST(ScreenGaugesBeforeStartTest, NothingIsTouchedUntilTheAircraftHasStarted) {
    test::ModuleHarness module;
    module.init();
    ASSERT_FALSE(module.aircraft().initialised);
    platform::gfx::Surface surface(400, 476);
    pfdGauge.root.surface = &surface;
    pfdGauge.root.flags |= platform::kImageOnScreen;
    module.aircraft().preUpdateSeen = false;

    screenGaugeCallback(pfdGauge, platform::kServicePreDraw, nullptr);
    mainPanelGauge.callback(mainPanelGauge, platform::kServicePreUpdate, nullptr);

    EXPECT_NE(pfdGauge.root.flags & platform::kImageOnScreen, 0u);
    EXPECT_FALSE(surface.changed);
    EXPECT_FALSE(module.aircraft().preUpdateSeen);
    pfdGauge.root.surface = nullptr;
}

TEST(ScreenGaugeClicksTest, CopiesOpenTheirPopUpAndThePopUpClosesIt) {
    struct Click {
        GaugeHeader* gauge;
        double x;
        double y;
        int32_t window;
        bool opens;
    };
    const Click clicks[] = {
        {&mainPanelGauge, 290, 600, 10002, true},  {&mainPanelGauge, 560, 600, 10003, true},
        {&mainPanelGauge, 1000, 600, 10004, true}, {&mainPanelGauge, 790, 700, 10007, true},
        {&pfdGauge, 200, 200, 10002, false},       {&pfd2Gauge, 60, 60, 10006, false},
        {&mfdGauge, 399, 475, 10003, false},       {&mfd2Gauge, 110, 110, 10005, false},
        {&eicasGauge, 200, 200, 10004, false},     {&rmu1Gauge, 90, 100, 10007, false},
        {&rmu2Gauge, 129, 174, 10008, false},      {&pfd1VcGauge, 20, 20, 10002, true},
        {&pfd2VcGauge, 200, 200, 10006, true},     {&mfd1VcGauge, 379, 455, 10003, true},
        {&mfd2VcGauge, 200, 200, 10005, true},     {&eicasVcGauge, 200, 200, 10004, true},
        {&rmu1VcGauge, 90, 100, 10007, true},      {&rmu2VcGauge, 159, 204, 10008, true},
    };
    // Before the aircraft exists: the clicks only ask the simulator.
    test::ModuleHarness module;
    for (const Click& click : clicks) {
        module.simulator.panel.setPanelWindowOpen(click.window, !click.opens);
        EXPECT_TRUE(test::leftClick(*click.gauge, click.x, click.y)) << click.gauge->name;
        EXPECT_EQ(module.simulator.panel.isPanelWindowOpen(click.window), click.opens)
            << click.gauge->name << " " << click.x << "," << click.y;
    }
}

TEST(ScreenGaugeClicksTest, OutsideTheRectangleOrWithTheRightButtonNothingHappens) {
    test::ModuleHarness module;
    module.simulator.panel.setPanelWindowOpen(10002, true);
    EXPECT_FALSE(test::leftClick(pfdGauge, 49, 200));
    EXPECT_FALSE(test::leftClick(pfdGauge, 350, 200));
    EXPECT_FALSE(test::rightClick(pfdGauge, 200, 200));
    EXPECT_FALSE(test::leftClick(mainPanelGauge, 185, 600));
    EXPECT_FALSE(test::leftClick(isiGauge, 100, 100));
    EXPECT_FALSE(test::leftClick(isiVcGauge, 100, 100));
    EXPECT_TRUE(module.simulator.panel.isPanelWindowOpen(10002));
    EXPECT_FALSE(module.simulator.panel.isPanelWindowOpen(10003));
}

} // namespace
} // namespace tavi
