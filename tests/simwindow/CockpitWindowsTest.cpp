#include "sim/window/CockpitWindows.h"

#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "core/Imports.h"
#include "fms/Fms.h"
#include "support/ImageLight.h"
#include "support/ModuleHarness.h"

#include <QImage>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace tavi {
namespace {

using test::someLight;

const std::string kLayout = std::string(TAVI_TEST_FIXTURES) + "/../../data/panel-layout.txt";

void keepScreenshot(QWidget& view, const char* name) {
    const std::filesystem::path folder(TAVI_COCKPIT_SCREENSHOTS);
    std::filesystem::create_directories(folder);
    view.grab().save(QString::fromStdString((folder / name).string()));
}

// The EICAS copy of the main panel as the window shows it.
QImage eicasCopy(QWidget& mainPanel) {
    return mainPanel.grab(QRect(887, 470, 252, 300)).toImage();
}

class CockpitWindowsTest : public ::testing::Test {
protected:
    explicit CockpitWindowsTest(const char* ini = "[Startup]\nstartupMode=2\n") {
        module.writeIni(ini);
        module.startModule();
    }

    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            cockpit.tick();
        }
    }

    test::ModuleHarness module;
    sim::PanelHost host{module.simulator.panel, Linkage, sim::PanelLayout::read(kLayout)};
    // A desktop larger than every window, so each shows at its own size.
    sim::CockpitWindows cockpit{host, module.simulator, [this] { module.simulator.step(); },
                                QSize(2800, 1300)};
};

TEST_F(CockpitWindowsTest, AClickOnAScreenOpensItsPopUpAndClosingThePopUpClosesTheWindow) {
    sim::PanelView* mainPanel = cockpit.view(0);
    ASSERT_NE(mainPanel, nullptr);
    for (int i = 0; i < 3; ++i) {
        cockpit.tick();
    }
    EXPECT_TRUE(mainPanel->isVisible());
    EXPECT_FALSE(cockpit.view(10002)->isVisible());
    keepScreenshot(*mainPanel, "main-panel.png");

    QTest::mouseClick(mainPanel, Qt::LeftButton, {}, QPoint(290, 600));
    cockpit.tick();
    sim::PanelView* pfd = cockpit.view(10002);
    ASSERT_TRUE(pfd->isVisible());
    EXPECT_TRUE(someLight(pfd->grab().toImage()));
    keepScreenshot(*pfd, "pfd-1.png");

    pfd->close();
    EXPECT_FALSE(module.simulator.panel.isPanelWindowOpen(10002));
    cockpit.tick();
    EXPECT_FALSE(pfd->isVisible());
}

TEST_F(CockpitWindowsTest, ClosingTheMainPanelShowsTheVirtualCockpit) {
    cockpit.view(0)->close();
    cockpit.tick();
    EXPECT_FALSE(cockpit.view(0)->isVisible());
    EXPECT_TRUE(cockpit.view(sim::PanelLayout::kVirtualCockpit)->isVisible());
    cockpit.tick();
    keepScreenshot(*cockpit.view(sim::PanelLayout::kVirtualCockpit), "virtual-cockpit.png");
    // Closing the virtual cockpit brings the main panel back.
    cockpit.view(sim::PanelLayout::kVirtualCockpit)->close();
    cockpit.tick();
    EXPECT_TRUE(cockpit.view(0)->isVisible());
}

TEST_F(CockpitWindowsTest, KeysReachTheSimulatorThroughTheKeyboardHook) {
    struct Key {
        Qt::Key qtKey;
        uint32_t virtualKey;
    };
    const Key keys[] = {{Qt::Key_F5, 0x74}, {Qt::Key_Space, 0x20}, {Qt::Key_Down, 0x28}};
    for (const Key& key : keys) {
        QTest::keyClick(cockpit.view(0), key.qtKey);
        ASSERT_FALSE(module.simulator.host.keysReachingSimulator().empty());
        EXPECT_EQ(module.simulator.host.keysReachingSimulator().back().virtualKey, key.virtualKey);
    }
}

// Every gauge lies inside its window and every control inside its gauge, so nothing drawn is
// cut off and nothing clickable lies where it is not drawn.
TEST_F(CockpitWindowsTest, EveryGaugeAndControlLiesInsideItsWindow) {
    for (const sim::PanelWindow& window : host.layout().windows) {
        for (const sim::GaugePlacement& placement : window.gauges) {
            const auto design = host.designSize(placement.gauge);
            ASSERT_TRUE(design) << placement.gauge;
            const double height = design->height * placement.width / design->width;
            EXPECT_LE(placement.x + placement.width, window.width) << placement.gauge;
            EXPECT_LE(placement.y + height, window.height + 0.5) << placement.gauge;
        }
    }
    for (platform::GaugeHeader* const* gauge = Linkage.gauges; *gauge; ++gauge) {
        const auto design = host.designSize((*gauge)->name);
        if (!design) {
            continue;
        }
        for (const platform::MouseControl& control : (*gauge)->controls) {
            EXPECT_LE(control.x + control.width, design->width + 0.5) << (*gauge)->name;
            EXPECT_LE(control.y + control.height, design->height + 0.5) << (*gauge)->name;
        }
    }
}

// The throttle lock takes its click on its own picture, the lever at the top of the quadrant.
TEST_F(CockpitWindowsTest, TheThrottleLockIsClickedOnItsPicture) {
    module.simulator.panel.openPanelWindow(10);
    ticks(1);
    const bool locked = module.aircraft().fadec()->throttleLock;
    EXPECT_TRUE(host.click("Throttle", 86, 10, sim::MouseButton::Left));
    EXPECT_NE(module.aircraft().fadec()->throttleLock, locked);
    host.click("Throttle", 305, 195, sim::MouseButton::Left);
    EXPECT_NE(module.aircraft().fadec()->throttleLock, locked) << "the grey beside lever 2";
}

// On the screens of common desktops every window fits, shrunk where it must be, and a click
// lands on the control drawn under the pointer: the CDU's lowest key row in the virtual cockpit.
TEST_F(CockpitWindowsTest, OnCommonScreensEveryWindowFitsAndTakesClicksWhereDrawn) {
    for (const QSize screen : {QSize(1600, 1200), QSize(1920, 1080), QSize(1366, 768)}) {
        sim::CockpitWindows fitted{host, module.simulator, [this] { module.simulator.step(); },
                                   screen};
        for (const sim::PanelWindow& window : host.layout().windows) {
            const sim::PanelView* view = fitted.view(window.ident);
            EXPECT_LE(view->width(), screen.width()) << window.title;
            EXPECT_LE(view->height(), screen.height()) << window.title;
        }
        fitted.view(0)->close();
        fitted.tick();
        sim::PanelView* virtualCockpit = fitted.view(sim::PanelLayout::kVirtualCockpit);
        ASSERT_TRUE(virtualCockpit->isVisible());
        module.aircraft().fms()->messages.clear();
        module.aircraft().fms()->setScratchpad("ABC");
        // CLR of the virtual cockpit's CDU, placed at 930, 610 in its window.
        const double scale = virtualCockpit->scale();
        QTest::mouseClick(
            virtualCockpit, Qt::LeftButton, {},
            QPoint(static_cast<int>((930 + 263) * scale), static_cast<int>((610 + 579) * scale)));
        EXPECT_EQ(module.aircraft().fms()->scratchPad.text(), "AB")
            << screen.width() << "x" << screen.height();
        virtualCockpit->close();
        fitted.tick();
    }
}

// The desktop's timer fires early and late, and now and then stalls; simulated time keeps to
// the wall clock, within a tick, and a stall longer than a second is not made up for.
TEST_F(CockpitWindowsTest, SimulatedTimeFollowsTheWallClock) {
    double wall = 1000.0;
    sim::CockpitWindows paced{host, module.simulator, [this] { module.simulator.step(); },
                              QSize(2800, 1300),
                              [&wall] {
                                  return wall;
                              }};
    const double start = module.simulator.simulatorSeconds();
    std::mt19937 random(41);
    std::uniform_real_distribution<double> interval(0.004, 0.030);
    while (wall < 1020.0) {
        wall += interval(random);
        paced.keepPace();
    }
    EXPECT_NEAR(module.simulator.simulatorSeconds() - start, 20.0, sim::Simulator::kTickSeconds);

    wall += 5.0;
    paced.keepPace();
    EXPECT_NEAR(module.simulator.simulatorSeconds() - start,
                20.0 + sim::CockpitWindows::kMostStepsAFrame * sim::Simulator::kTickSeconds,
                sim::Simulator::kTickSeconds);
}

class ColdCockpitWindowsTest : public CockpitWindowsTest {
protected:
    // Parked cold and dark with 5000 lb in each main tank.
    ColdCockpitWindowsTest() : CockpitWindowsTest("[Startup]\nstartupMode=0\n") {
        module.simulator.panel.setToken(kFuelWeightPerGallonToken, kPoundsPerGallon);
        for (const char* tank : {"FUEL TANK LEFT MAIN QUANTITY", "FUEL TANK RIGHT MAIN QUANTITY"}) {
            module.simulator.aircraft.writeVariable(tank, 5000.0 / kPoundsPerGallon);
        }
    }

    static constexpr int kFuelWeightPerGallonToken = 306;
    static constexpr double kPoundsPerGallon = 6.7;
};

// Cold and dark: the batteries and the APU switched on with the mouse in the overhead window
// light the EICAS and then show the APU turning.
TEST_F(ColdCockpitWindowsTest, BatteriesAndApuStartedWithTheMouseChangeTheEicas) {
    sim::PanelView* mainPanel = cockpit.view(0);
    ticks(3);
    const QImage dark = eicasCopy(*mainPanel);
    EXPECT_FALSE(someLight(dark));

    module.simulator.panel.openPanelWindow(250);
    ticks(1);
    sim::PanelView* overhead = cockpit.view(250);
    ASSERT_TRUE(overhead->isVisible());
    QTest::mouseClick(overhead, Qt::LeftButton, {}, QPoint(80, 485));
    QTest::mouseClick(overhead, Qt::LeftButton, {}, QPoint(264, 485));
    ticks(36);
    const QImage powered = eicasCopy(*mainPanel);
    EXPECT_TRUE(someLight(powered));

    QTest::mouseClick(overhead, Qt::LeftButton, {}, QPoint(742, 197));
    QTest::mouseClick(overhead, Qt::LeftButton, {}, QPoint(742, 197));
    EXPECT_EQ(module.aircraft().electric()->apu.knob, electric::Apu::kKnobStart);
    ticks(18 * 30);
    EXPECT_NE(module.aircraft().electric()->apu.state, electric::Apu::kOff);
    EXPECT_NE(eicasCopy(*mainPanel), powered);
    keepScreenshot(*overhead, "overhead.png");
    keepScreenshot(*mainPanel, "main-panel-apu.png");
}

} // namespace
} // namespace tavi
