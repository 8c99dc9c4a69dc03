// A simulator that answers values that are not numbers: the module keeps running and every
// screen shows its invalid form (dashes, flags, no pointer), never "nan" or a needle drawn from
// such a value.
#include "core/Aircraft.h"
#include "displays/Eicas.h"
#include "displays/Mfd.h"
#include "displays/PanelElement.h"
#include "displays/Rmu.h"
#include "platform/gfx/Surface.h"
#include "support/ModuleHarness.h"
#include "support/NonFiniteValues.h"
#include "support/ScreenInk.h"
#include "support/ScreenShots.h"

#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace tavi::test {
namespace {

constexpr int kLastDisplay = 11;
// Where a line drawn to a point that is not a number ends up.
constexpr double kCornerPixels = 6.0;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kAdiGround = 0xFF603A00;

// Pixels that are not black in the screen's top-left corner, drawn as it shows now.
int cornerInk(const Aircraft& aircraft, int displayId) {
    PanelElement* screen = aircraft.display(displayId);
    const LogicalSize size = PanelElement::logicalSize(displayId);
    if (!screen || size.width <= 0.0f) {
        return 0;
    }
    platform::gfx::Surface surface(static_cast<int>(size.width), static_cast<int>(size.height));
    drawScreen(*screen, displayId, surface);
    const int corner = static_cast<int>(kCornerPixels * kCornerPixels);
    return corner - inkCount(surface, kBlack, 0, 0, kCornerPixels, kCornerPixels);
}

// Every screen's picture for each systems page of the MFDs and each page of the RMUs.
template <typename Look>
void onEveryPage(ModuleHarness& module, Look look) {
    Aircraft& aircraft = module.aircraft();
    for (int32_t page = Mfd::kEnginePage; page <= Mfd::kTcasPage; ++page) {
        for (const int side : {kMfdLeft, kMfdRight}) {
            dynamic_cast<Mfd&>(*aircraft.display(side)).lowerPage = page;
        }
        for (int32_t rmuPage = Rmu::kRadioPage; rmuPage <= Rmu::kNavBackupPage; ++rmuPage) {
            for (const int side : {kRmuLeft, kRmuRight}) {
                dynamic_cast<Rmu&>(*aircraft.display(side)).setPage(rmuPage);
            }
            module.simulator.step();
            for (int id = 1; id <= kLastDisplay; ++id) {
                look(id, page, rmuPage);
            }
        }
    }
}

TEST(NotANumberScreens, EveryScreenShowsItsInvalidFormAndDrawsNothingFromTheValues) {
    ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    module.simulator.placeInFlight(47.0, 8.0, 10000.0, 90.0, 250.0);
    module.simulator.stepSeconds(5.0);
    using Look = std::tuple<int, int32_t, int32_t>;
    std::map<Look, int> sound;
    onEveryPage(module, [&](int id, int32_t page, int32_t rmuPage) {
        sound[Look(id, page, rmuPage)] = cornerInk(module.aircraft(), id);
    });

    module.simulator.panel.answerEveryValue(kNaN);
    module.simulator.stepSeconds(5.0);
    onEveryPage(module, [&](int id, int32_t page, int32_t rmuPage) {
        EXPECT_LE(cornerInk(module.aircraft(), id), sound[Look(id, page, rmuPage)])
            << screenName(id) << " MFD page " << page << " RMU page " << rmuPage;
    });

    // The attitude sphere is all sky: no horizon drawn from an attitude that is not a number.
    PanelElement& pfd = *module.aircraft().display(kPfdLeft);
    platform::gfx::Surface surface(400, 476);
    ASSERT_TRUE(drawScreen(pfd, kPfdLeft, surface));
    EXPECT_EQ(inkCount(surface, kAdiGround, 130, 175, 140, 50), 0);
}

// The fields the screens compute, for values that are not numbers.
TEST(NotANumberScreens, FieldsShowDashes) {
    for (const double bad : {kNaN, kInfinity, -kInfinity}) {
        const auto value = static_cast<float>(bad);
        EXPECT_EQ(Eicas::pitchTrimReading(value, false).text, "- -") << bad;
        EXPECT_EQ(Mfd::temperatureText(value), "- - -") << bad;
        EXPECT_EQ(Mfd::wholeNumberText(value), "- - -") << bad;
        EXPECT_EQ(Mfd::fuelTemperatureReading(value).text, "- - -") << bad;
        EXPECT_EQ(Mfd::hydraulicPressureReading(value, false).text, "- - - -") << bad;
    }
}

} // namespace
} // namespace tavi::test
