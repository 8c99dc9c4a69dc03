#include "sim/PanelHost.h"

#include "platform/gfx/Canvas.h"
#include "platform/panel/ImportTable.h"
#include "sim/SimClock.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace tavi::sim {
namespace {

using platform::GaugeElement;
using platform::GaugeHeader;

// What the test gauges' handlers received.
struct HandlerCall {
    char area;
    int x;
    int y;
    uint32_t flags;
    friend bool operator==(const HandlerCall&, const HandlerCall&) = default;
};
std::vector<HandlerCall> handlerCalls;

template <char Area>
bool recordCall(int x, int y, uint32_t flags) {
    handlerCalls.push_back({Area, x, y, flags});
    return true;
}

// Frames 0, 1, 2 are red, green and blue, filling the artwork.
void paintSolid(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame) {
    const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    canvas.fillRectangle(colours[std::clamp(frame, 0, 2)],
                         {0, 0, double(artwork.width), double(artwork.height)});
}

constexpr platform::Artwork kPanelArt{"panel", 100, 50, 1, nullptr, ""};
constexpr platform::Artwork kStrip{"strip", 10, 10, 3, paintSolid, ""};
constexpr platform::Artwork kBar{"bar", 20, 4, 1, paintSolid, ""};
constexpr platform::Artwork kScreenArt{"screen", 20, 20, 1, nullptr, ""};

double iconValue = 0.0;
double moveX = 0.0;
double needleAngle = 0.0;
bool clearOnScreenFlag = true;
uint32_t screenColour = 0xFFFFFFFF;

void paintScreenOnPreDraw(GaugeHeader& gauge, int32_t service, void*) {
    GaugeElement& screen = gauge.root.children.at(3);
    if (service != platform::kServicePreDraw || !screen.surface) {
        return;
    }
    platform::gfx::Canvas canvas(*screen.surface);
    canvas.clear(screenColour);
    if (clearOnScreenFlag) {
        screen.flags &= ~platform::kImageOnScreen;
    }
}

GaugeElement element(platform::ElementKind kind, const platform::Artwork& artwork, int x, int y) {
    GaugeElement made;
    made.kind = kind;
    made.artwork = &artwork;
    made.x = x;
    made.y = y;
    return made;
}

platform::MouseArea area(int x, int y, int width, int height, uint32_t events,
                         platform::MouseHandler handler) {
    return {x, y, width, height, platform::Cursor::UpArrow, events, handler};
}

const std::vector<platform::TooltipArgument> kNoArguments;
const platform::Tooltip kSwitchTip{"Switch (%%)", &kNoArguments};

// A 100 x 50 gauge: an icon with a child, a moving image with a child, a needle turning about
// its left end, a screen surface, and controls that overlap.
GaugeHeader makeTestGauge() {
    GaugeHeader gauge;
    gauge.name = "Test";
    gauge.callback = paintScreenOnPreDraw;
    gauge.root = element(platform::ElementKind::StaticImage, kPanelArt, 0, 0);
    GaugeElement icon = element(platform::ElementKind::Icon, kStrip, 0, 0);
    icon.value = [](GaugeElement&) {
        return iconValue;
    };
    icon.children.push_back(element(platform::ElementKind::Icon, kStrip, 10, 0));
    GaugeElement moving = element(platform::ElementKind::MovingImage, kStrip, 40, 0);
    moving.value = [](GaugeElement&) {
        return moveX;
    };
    moving.minX = 0;
    moving.maxX = 20;
    moving.children.push_back(element(platform::ElementKind::Icon, kStrip, 40, 10));
    GaugeElement needle = element(platform::ElementKind::Needle, kBar, 30, 40);
    needle.pivotX = 0;
    needle.pivotY = 2;
    needle.value = [](GaugeElement&) {
        return needleAngle;
    };
    GaugeElement screen = element(platform::ElementKind::StaticImage, kScreenArt, 70, 20);
    screen.flags = platform::kImageCreateBitmap | platform::kImageBright;
    gauge.root.children = {icon, moving, needle, screen};

    platform::MouseControl first{0, 0, 30, 30, &kSwitchTip, {}};
    first.areas = {
        area(0, 0, 30, 15,
             platform::kMouseLeftSingle | platform::kMouseRepeat | platform::kMouseRightSingle,
             recordCall<'a'>),
        area(0, 15, 30, 15,
             platform::kMouseLeftSingle | platform::kMouseLeftRelease | platform::kMouseLeave,
             recordCall<'b'>)};
    platform::MouseControl overlapped{20, 0, 30, 30, nullptr, {}};
    overlapped.areas = {area(0, 0, 30, 30, platform::kMouseLeftSingle, recordCall<'c'>)};
    platform::MouseControl lever{60, 0, 10, 50, nullptr, {}};
    lever.areas = {
        area(0, 0, 10, 50, platform::kMouseLeftDrag | platform::kMouseRightDrag, recordCall<'d'>)};
    gauge.controls = {first, overlapped, lever};
    return gauge;
}

class PanelHostTest : public ::testing::Test {
protected:
    PanelHostTest() : gauge(makeTestGauge()) {
        linkage.gauges[0] = &gauge;
        handlerCalls.clear();
        iconValue = moveX = needleAngle = 0.0;
        clearOnScreenFlag = true;
        screenColour = 0xFFFFFFFF;
    }

    // The test gauge at twice its size in window 0, and an empty virtual cockpit.
    PanelHost makeHost() {
        std::istringstream text("window 0 200 100 shown Main\n"
                                "gauge Test 0 0 200\n"
                                "virtual-cockpit 50 50 VC\n");
        return PanelHost(panel, linkage, PanelLayout::parse(text));
    }

    uint32_t pixel(const PanelHost& host, int x, int y) { return host.picture(0)->pixel(x, y); }

    Panel panel;
    GaugeHeader gauge;
    platform::ModuleLinkage linkage{};
};

TEST_F(PanelHostTest, ClicksGoToTheFirstControlAndPartThatTakeThem) {
    PanelHost host = makeHost();
    const double scale = 2.0;
    struct Click {
        double x;
        double y;
        MouseButton button;
        std::vector<HandlerCall> calls;
    };
    const Click clicks[] = {
        // Where the first two controls overlap, the first one takes it.
        {25 * scale, 5 * scale, MouseButton::Left, {{'a', 50, 10, platform::kMouseLeftSingle}}},
        {35 * scale, 5 * scale, MouseButton::Left, {{'c', 30, 10, platform::kMouseLeftSingle}}},
        {5 * scale, 20 * scale, MouseButton::Left, {{'b', 10, 40, platform::kMouseLeftSingle}}},
        {5 * scale, 5 * scale, MouseButton::Right, {{'a', 10, 10, platform::kMouseRightSingle}}},
        // The second part does not take the right button, the lever takes only drags.
        {5 * scale, 20 * scale, MouseButton::Right, {}},
        {65 * scale, 5 * scale, MouseButton::Left, {}},
        {90 * scale, 45 * scale, MouseButton::Left, {}},
    };
    for (const Click& click : clicks) {
        handlerCalls.clear();
        host.press(0, click.x, click.y, click.button);
        host.release(0, click.x, click.y, click.button);
        const bool releaseToo = click.calls.size() == 1 && click.calls[0].area == 'b' &&
                                click.button == MouseButton::Left;
        std::vector<HandlerCall> expected = click.calls;
        if (releaseToo) {
            expected.push_back({'b', 10, 40, platform::kMouseLeftRelease});
        }
        EXPECT_EQ(handlerCalls, expected) << click.x << "," << click.y;
    }
}

TEST_F(PanelHostTest, HeldButtonsDragLeaveReleaseAndRepeat) {
    PanelHost host = makeHost();
    // Dragging the lever: the point follows, relative to the lever, with either button.
    host.press(0, 130, 20, MouseButton::Left);
    host.move(0, 131, 60);
    host.move(0, 131, 160);
    host.release(0, 131, 160, MouseButton::Left);
    host.press(0, 130, 20, MouseButton::Right);
    host.move(0, 129, 30);
    host.release(0, 129, 30, MouseButton::Right);
    EXPECT_EQ(handlerCalls, (std::vector<HandlerCall>{{'d', 11, 60, platform::kMouseLeftDrag},
                                                      {'d', 11, 160, platform::kMouseLeftDrag},
                                                      {'d', 9, 30, platform::kMouseRightDrag}}));

    // A spring-loaded part hears the pointer leave once, and the release off its rectangle.
    handlerCalls.clear();
    host.press(0, 10, 40, MouseButton::Left);
    host.move(0, 10, 10);
    host.move(0, 12, 10);
    host.release(0, 150, 90, MouseButton::Left);
    EXPECT_EQ(handlerCalls,
              (std::vector<HandlerCall>{{'b', 10, 40, platform::kMouseLeftSingle},
                                        {'b', 10, 10, platform::kMouseLeave},
                                        {'b', 150, 90, platform::kMouseLeftRelease}}));

    // A knob half takes a click as a hand makes it, held for 0.12 s over the ticks, as one step.
    handlerCalls.clear();
    host.press(0, 10, 10, MouseButton::Right);
    host.elapse(0.06);
    host.elapse(0.06);
    host.release(0, 10, 10, MouseButton::Right);
    EXPECT_EQ(handlerCalls, (std::vector<HandlerCall>{{'a', 10, 10, platform::kMouseRightSingle}}));

    // Held, it starts repeating with the click bit after half a second, then every tenth of a
    // second, and stops on release.
    handlerCalls.clear();
    host.press(0, 10, 10, MouseButton::Right);
    host.elapse(0.49);
    EXPECT_EQ(handlerCalls.size(), 1u);
    host.elapse(0.26);
    host.release(0, 10, 10, MouseButton::Right);
    host.elapse(1.0);
    const uint32_t repeat = platform::kMouseRightSingle | platform::kMouseRepeat;
    EXPECT_EQ(handlerCalls, (std::vector<HandlerCall>{{'a', 10, 10, platform::kMouseRightSingle},
                                                      {'a', 10, 10, repeat},
                                                      {'a', 10, 10, repeat},
                                                      {'a', 10, 10, repeat}}));
}

TEST_F(PanelHostTest, TooltipAndCursorAreFoundInWindowPixels) {
    PanelHost host = makeHost();
    EXPECT_EQ(host.tooltipAt(0, 10, 50), "Switch (%)");
    EXPECT_EQ(host.tooltipAt(0, 70, 10), "");
    EXPECT_EQ(host.cursorAt(0, 10, 50), platform::Cursor::UpArrow);
    EXPECT_EQ(host.cursorAt(0, 190, 90), platform::Cursor::None);
}

TEST_F(PanelHostTest, ElementsDrawAsTheirCallbacksSay) {
    PanelHost host = makeHost();
    iconValue = 1.7;
    moveX = 35.0;
    needleAngle = 90.0;
    host.frame();
    // The icon shows its whole-part image; its child its own first image.
    EXPECT_EQ(pixel(host, 5, 5), 0xFF00FF00u);
    EXPECT_EQ(pixel(host, 25, 5), 0xFFFF0000u);
    // The moving image stops at the end of its range and its child moves with it.
    EXPECT_EQ(pixel(host, 2 * (40 + 20) + 5, 5), 0xFFFF0000u);
    EXPECT_EQ(pixel(host, 2 * 40 + 5, 5), 0xFF000000u);
    EXPECT_EQ(pixel(host, 2 * (40 + 20) + 5, 2 * 10 + 5), 0xFFFF0000u);
    // The needle turned a quarter clockwise about its left end points down.
    EXPECT_EQ(pixel(host, 2 * 30, 2 * 40 + 10), 0xFFFF0000u);
    EXPECT_EQ(pixel(host, 2 * 30 + 20, 2 * 40), 0xFF000000u);

    iconValue = 9.0;
    gauge.root.children[0].flags |= platform::kImageHidden;
    host.frame();
    // Hidden hides only the icon's own image; its child still draws.
    EXPECT_EQ(pixel(host, 5, 5), 0xFF000000u);
    EXPECT_EQ(pixel(host, 25, 5), 0xFFFF0000u);
}

TEST_F(PanelHostTest, AtNightOnlyBrightImagesKeepTheirLight) {
    PanelHost host = makeHost();
    SimClock clock{panel};
    clock.setTimeOfDay(SimClock::kNight);
    host.frame();
    const uint32_t dimmed = pixel(host, 5, 5);
    EXPECT_LT((dimmed >> 16) & 0xFF, 0x80u);
    EXPECT_EQ(pixel(host, 2 * 70 + 5, 2 * 20 + 5), 0xFFFFFFFFu);
    gauge.root.children[0].flags |= platform::kImageBright;
    host.frame();
    EXPECT_EQ(pixel(host, 5, 5), 0xFFFF0000u);
    gauge.root.children[0].flags &= ~platform::kImageBright;
    clock.setTimeOfDay(SimClock::kDay);
    host.frame();
    EXPECT_EQ(pixel(host, 5, 5), 0xFFFF0000u);
}

TEST_F(PanelHostTest, ASurfaceIsCopiedAgainOnlyWhenTheGaugeAsks) {
    PanelHost host = makeHost();
    GaugeElement& screen = gauge.root.children[3];
    ASSERT_NE(screen.surface, nullptr);
    EXPECT_EQ(screen.surface->pixelWidth(), 40);
    host.frame();
    EXPECT_EQ(pixel(host, 2 * 70 + 5, 2 * 20 + 5), 0xFFFFFFFFu);
    EXPECT_NE(screen.flags & platform::kImageOnScreen, 0u);

    screenColour = 0xFF0000FF;
    clearOnScreenFlag = false;
    host.frame();
    EXPECT_EQ(pixel(host, 2 * 70 + 5, 2 * 20 + 5), 0xFFFFFFFFu);
    clearOnScreenFlag = true;
    host.frame();
    EXPECT_EQ(pixel(host, 2 * 70 + 5, 2 * 20 + 5), 0xFF0000FFu);
}

TEST_F(PanelHostTest, TheVirtualCockpitShowsWhileTheMainPanelIsHidden) {
    PanelHost host = makeHost();
    EXPECT_EQ(host.shownWindows(), std::vector<int32_t>{0});
    panel.sendKeyEvent(Panel::kToggleWindowEvent, 0);
    EXPECT_EQ(host.shownWindows(), std::vector<int32_t>{PanelLayout::kVirtualCockpit});
    // A hidden window takes no clicks, and its gauges are not run.
    host.press(0, 10, 10, MouseButton::Left);
    host.frame();
    EXPECT_TRUE(handlerCalls.empty());
    EXPECT_EQ(host.picture(0), nullptr);
    panel.sendKeyEvent(Panel::kToggleWindowEvent, 0);
    EXPECT_TRUE(panel.isPanelWindowOpen(0));
}

TEST_F(PanelHostTest, TheGaugeReleasesTheSurfacesOfAHostThatIsGone) {
    {
        PanelHost host = makeHost();
        EXPECT_NE(gauge.root.children[3].surface, nullptr);
    }
    EXPECT_EQ(gauge.root.children[3].surface, nullptr);
}

double sourceSeen = 0.0;

TEST_F(PanelHostTest, ElementsReadTheirSourceTokenAndStringsShowTheirText) {
    GaugeElement compass = element(platform::ElementKind::Icon, kStrip, 0, 30);
    compass.sourceToken = 83;
    compass.value = [](GaugeElement& self) {
        sourceSeen = self.source.id == 83 ? self.source.value : -1.0;
        return 0.0;
    };
    GaugeElement readout = element(platform::ElementKind::String, kStrip, 70, 0);
    readout.width = 30;
    readout.height = 15;
    readout.font = "Quartz";
    readout.fontSize = 12.0;
    readout.fillText = [](GaugeElement& self) {
        std::snprintf(self.text.data(), 64, "88");
    };
    gauge.root.children.push_back(compass);
    gauge.root.children.push_back(readout);
    panel.setToken(83, 271.5);
    PanelHost host = makeHost();
    host.frame();
    EXPECT_EQ(sourceSeen, 271.5);
    bool textLit = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 140; x < 200; ++x) {
            textLit = textLit || (pixel(host, x, y) & 0x00FFFFFF) != 0;
        }
    }
    EXPECT_TRUE(textLit);
}

TEST(PanelLayoutTest, MistakesAreReportedWithTheirLine) {
    const std::pair<const char*, int> cases[] = {
        {"gauge A 0 0 10\n", 1},
        {"window 0 10 10 shown A\nwindow 0 10 10 hidden B\n", 2},
        {"window 0 10 10 open A\n", 1},
        {"window 0 10 10 shown A\ngauge A 0 0 10\ngauge A 10 0 10\n", 3},
        {"window 0 10 10 shown A\n\n# note\ngauge A 0 0\n", 4},
        {"panel 0\n", 1},
        {"window 0 2000000000 860 shown A\n", 1},
        {"window 0 10 10 shown A\nvirtual-cockpit 100 99999 VC\n", 2},
        {"window 0 10 10 shown A\ngauge A 0 0 2000000000\n", 2},
        {"window 0 10 10 shown A\ngauge A -2000000000 0 10\n", 2},
        {"", 0},
        {"# windows to come\n", 0},
    };
    for (const auto& [text, line] : cases) {
        std::istringstream in(text);
        try {
            PanelLayout::parse(in);
            ADD_FAILURE() << text;
        } catch (const PanelLayoutError& error) {
            EXPECT_EQ(error.line, line) << text;
        }
    }
}

} // namespace
} // namespace tavi::sim
