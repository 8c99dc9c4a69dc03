#include "core/Imports.h"
#include "displays/PanelElement.h"
#include "fms/Fms.h"
#include "gauges/Gauges.h"
#include "gauges/PanelParts.h"
#include "gauges/ScreenGauges.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseControl;
using platform::Tooltip;

constexpr int32_t kCduWindow = 10000;

template <char Character>
bool typeKey(int, int, uint32_t) {
    return actOn(&Aircraft::fms, [](Fms& fms) { fms.typeCharacter(Character); });
}

template <int32_t Key>
bool pressKey(int, int, uint32_t) {
    return actOn(&Aircraft::fms, [](Fms& fms) { fms.pressKey(Key); });
}

struct CduKey {
    int x;
    int y;
    int width;
    int height;
    std::string_view label;
    platform::MouseHandler handler;
    uint32_t events;
};

constexpr int kColumn[] = {12, 60, 108, 154, 202, 250};
constexpr int kRow[] = {396, 438, 480, 522, 566};
constexpr int kDigitColumn[] = {314, 364, 412};
constexpr int kLineKeyY[] = {122, 170, 214, 262};
constexpr uint32_t kClick = platform::kMouseLeftSingle;

constexpr CduKey letter(int column, int row, std::string_view label,
                        platform::MouseHandler handler) {
    return {kColumn[column], kRow[row], 26, 26, label, handler, kClick};
}

constexpr CduKey digit(int column, int row, std::string_view label,
                       platform::MouseHandler handler) {
    return {kDigitColumn[column], kRow[row], 26, 26, label, handler, kClick};
}

constexpr CduKey lineKey(int x, int line, platform::MouseHandler handler) {
    return {x, kLineKeyY[line], 28, 18, "-", handler, kClick};
}

constexpr CduKey functionKey(int x, std::string_view label, platform::MouseHandler handler) {
    return {x, 336, 40, 28, label, handler, kClick};
}

// The 56 keys: characters go to the FMS as typed, the others as CDU key codes.
constexpr std::array<CduKey, 56> kKeys{{
    letter(0, 0, "A", typeKey<'A'>),
    letter(1, 0, "B", typeKey<'B'>),
    letter(2, 0, "C", typeKey<'C'>),
    letter(3, 0, "D", typeKey<'D'>),
    letter(4, 0, "E", typeKey<'E'>),
    letter(5, 0, "F", typeKey<'F'>),
    letter(0, 1, "G", typeKey<'G'>),
    letter(1, 1, "H", typeKey<'H'>),
    letter(2, 1, "I", typeKey<'I'>),
    letter(3, 1, "J", typeKey<'J'>),
    letter(4, 1, "K", typeKey<'K'>),
    letter(5, 1, "L", typeKey<'L'>),
    letter(0, 2, "M", typeKey<'M'>),
    letter(1, 2, "N", typeKey<'N'>),
    letter(2, 2, "O", typeKey<'O'>),
    letter(3, 2, "P", typeKey<'P'>),
    letter(4, 2, "Q", typeKey<'Q'>),
    letter(5, 2, "R", typeKey<'R'>),
    letter(1, 3, "S", typeKey<'S'>),
    letter(2, 3, "T", typeKey<'T'>),
    letter(3, 3, "U", typeKey<'U'>),
    letter(4, 3, "V", typeKey<'V'>),
    letter(5, 3, "W", typeKey<'W'>),
    letter(1, 4, "X", typeKey<'X'>),
    letter(2, 4, "Y", typeKey<'Y'>),
    letter(3, 4, "Z", typeKey<'Z'>),
    digit(0, 0, "1", typeKey<'1'>),
    digit(1, 0, "2", typeKey<'2'>),
    digit(2, 0, "3", typeKey<'3'>),
    digit(0, 1, "4", typeKey<'4'>),
    digit(1, 1, "5", typeKey<'5'>),
    digit(2, 1, "6", typeKey<'6'>),
    digit(0, 2, "7", typeKey<'7'>),
    digit(1, 2, "8", typeKey<'8'>),
    digit(2, 2, "9", typeKey<'9'>),
    digit(0, 3, ".", typeKey<'.'>),
    digit(1, 3, "0", typeKey<'0'>),
    digit(0, 4, "-", typeKey<'-'>),
    digit(1, 4, "/", typeKey<'/'>),
    lineKey(8, 0, pressKey<0>),
    lineKey(8, 1, pressKey<1>),
    lineKey(8, 2, pressKey<2>),
    lineKey(8, 3, pressKey<3>),
    lineKey(422, 0, pressKey<4>),
    lineKey(422, 1, pressKey<5>),
    lineKey(422, 2, pressKey<6>),
    lineKey(422, 3, pressKey<7>),
    functionKey(12, "PERF", pressKey<8>),
    functionKey(68, "NAV", pressKey<9>),
    functionKey(124, "PREV", pressKey<10>),
    functionKey(180, "NEXT", pressKey<11>),
    functionKey(238, "FPL", pressKey<13>),
    functionKey(296, "PROG", pressKey<14>),
    functionKey(354, "DIR", pressKey<15>),
    letter(4, 4, "DEL", pressKey<16>),
    {kColumn[5], kRow[4], 26, 26, "CLR", pressKey<17>, kLeftRepeat},
}};

bool stepBrightness(int32_t step) {
    return actOnAircraft([&](Aircraft& aircraft) {
        if (PanelElement* screen = aircraft.display(kCduDisplay)) {
            screen->setBrightness(screen->brightness + step);
        }
    });
}

void paintCduFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    canvas.fillRectangle(0xFF000000, {36, 70, 384, 250});
    for (const CduKey& key : kKeys) {
        drawKey(canvas, {double(key.x), double(key.y), double(key.width), double(key.height)},
                key.label, lit);
    }
    drawKey(canvas, {414, 310, 28, 26}, "BRT", lit);
    drawKey(canvas, {8, 41, 22, 22}, "KBD", lit);
}

// The CDU's bezel annunciators: hidden unless their condition holds; lit with the panel.
template <typename Condition>
double bezelAnnunciator(GaugeElement& element, Condition condition) {
    return readyValue([&](const Aircraft& aircraft) {
        const Fms* fms = aircraft.fms();
        const bool shown = fms && condition(*fms);
        showOnlyIn(element, shown);
        const int lit = panelLit(aircraft);
        setBright(element, shown && lit != 0);
        return shown ? static_cast<double>(lit) : 0.0;
    });
}

bool pageAnnunciator(const Fms& fms) {
    constexpr int32_t kPages[] = {16, 34, 42, 49};
    if (fms.currentPage == Fms::kActiveFlightPlanPage) {
        // Sub-pages count from 1.
        return fms.activeFplPage.subPage != 1;
    }
    return std::find(std::begin(kPages), std::end(kPages), fms.currentPage) != std::end(kPages);
}

void paintBezelLamp(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    canvas.fillRectangle(frame > 0 ? 0xFFFFB000 : 0xFFB07800,
                         {0, 0, double(artwork.width), double(artwork.height)});
    drawEngraving(canvas, artwork.label, artwork.width / 2.0, 1, artwork.height - 2, false);
}

constexpr Artwork kCduFace{"CDU", 456, 600, 1, paintCduFace, ""};
constexpr Artwork kCduLit{"CDU lighting", 456, 600, 2, paintCduFace, ""};
constexpr Artwork kCduScreen{"CDU screen", 370, 240, 1, paintBlank, ""};
constexpr Artwork kPageLamp{"CDU page annunciator", 30, 10, 2, paintBezelLamp, "DSPY"};
constexpr Artwork kMessageLamp{"CDU message annunciator", 30, 10, 2, paintBezelLamp, "MSG"};

const Tooltip kBrightnessTip{"Brightness", nullptr};
const Tooltip kKeyboardTip{"Toggle Keyboard Input", nullptr};

GaugeElement cduRoot() {
    GaugeElement screen =
        staticImage(kCduScreen, 43, 76, platform::kImageBright | platform::kImageCreateBitmap);
    GaugeElement pageLamp = iconElement(kPageLamp, 66, 18, [](GaugeElement& element) {
        return bezelAnnunciator(element, pageAnnunciator);
    });
    GaugeElement messageLamp = iconElement(kMessageLamp, 289, 18, [](GaugeElement& element) {
        return bezelAnnunciator(element, [](const Fms& fms) { return fms.hasMessage(); });
    });
    pageLamp.flags = messageLamp.flags = platform::kImageHidden;
    screen.children = {pageLamp, messageLamp};
    return panelRoot(kCduFace, kCduLit, {screen});
}

std::vector<MouseControl> cduControls(const platform::MouseControl& screenClick) {
    std::vector<MouseControl> controls;
    for (const CduKey& key : kKeys) {
        controls.push_back(
            mouseControl(key.x, key.y, key.width, key.height, nullptr,
                         {wholeArea(key.width, key.height, key.handler, key.events)}));
    }
    controls.push_back(
        mouseControl(414, 310, 28, 26, &kBrightnessTip,
                     knobHalves(
                         28, 26, [](int, int, uint32_t) { return stepBrightness(-5); },
                         [](int, int, uint32_t) { return stepBrightness(5); }, kLeftRepeat)));
    controls.push_back(pushButton(8, 41, 22, 22, &kKeyboardTip, [](int, int, uint32_t) {
        return actOn(&Aircraft::fms, [](Fms& fms) { fms.toggleKeyboardInput(); });
    }));
    controls.push_back(screenClick);
    return controls;
}

} // namespace

platform::GaugeHeader cduGauge{
    .name = "VIV810",
    .widthMm = 456,
    .callback = screenGaugeCallback,
    .root = cduRoot(),
    .controls = cduControls(pushButton(90, 114, 270, 140, nullptr, [](int, int, uint32_t) {
        panelServices().closePanelWindow(kCduWindow);
        return true;
    }))};

platform::GaugeHeader cduVcGauge{
    .name = "VIV810VC",
    .widthMm = 456,
    .callback = screenGaugeCallback,
    .root = cduRoot(),
    .controls = cduControls(pushButton(90, 94, 270, 180, nullptr, [](int, int, uint32_t) {
        panelServices().openPanelWindow(kCduWindow);
        return true;
    }))};

} // namespace tavi
