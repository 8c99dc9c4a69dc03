#include "gauges/ScreenGauges.h"

#include "core/Aircraft.h"
#include "core/Imports.h"
#include "displays/PanelElement.h"
#include "gauges/ControlArtwork.h"
#include "gauges/GaugeRules.h"
#include "gauges/Gauges.h"
#include "platform/gfx/Surface.h"

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::GaugeHeader;
using platform::MouseControl;
using platform::MouseHandler;

// The screens' bitmaps: the simulator makes a surface of this size for each, and the screen
// paints it whole.
constexpr Artwork kLargeScreen{"large screen", 400, 476, 1, nullptr, ""};
constexpr Artwork kRmuScreen{"RMU screen", 180, 225, 1, nullptr, ""};
constexpr Artwork kIsiScreen{"ISI screen", 210, 210, 1, nullptr, ""};
constexpr Artwork kWxPanel{"WX panel", 196, 100, 2, paintPanelBackground, ""};
constexpr Artwork kWxBackground{"WX background", 196, 100, 2, paintPanelBackground, "WX"};

GaugeElement screenRoot(const Artwork& artwork) {
    GaugeElement root;
    root.kind = platform::ElementKind::StaticImage;
    root.artwork = &artwork;
    root.flags = platform::kImageBright | platform::kImageCreateBitmap;
    return root;
}

// One click rectangle over the screen.
std::vector<MouseControl> screenClick(int x, int y, int width, int height, MouseHandler handler) {
    return {screenClickControl(x, y, width, height, handler)};
}

GaugeHeader screenGauge(const char* name, int widthMm, const Artwork& artwork,
                        std::vector<MouseControl> controls) {
    GaugeHeader gauge;
    gauge.name = name;
    gauge.widthMm = widthMm;
    gauge.callback = screenGaugeCallback;
    gauge.root = screenRoot(artwork);
    gauge.controls = std::move(controls);
    return gauge;
}

// Where a screen gauge keeps its screen element.
enum class ScreenElementAt { Root, FirstChildOfBackground };

struct ScreenGaugeRow {
    const GaugeHeader* gauge;
    int32_t service;
    ScreenView view;
    ScreenElementAt at;
};

constexpr int32_t kPreDraw = platform::kServicePreDraw;
constexpr int32_t kPreUpdate = platform::kServicePreUpdate;
constexpr ScreenElementAt kRoot = ScreenElementAt::Root;

const ScreenGaugeRow kScreenGauges[] = {
    {&pfdGauge, kPreDraw, {kPfdLeft, BlankWhen::PopUpHidden, 10002}, kRoot},
    {&pfd2Gauge, kPreDraw, {kPfdRight, BlankWhen::PopUpHidden, 10006}, kRoot},
    {&mfdGauge, kPreDraw, {kMfdLeft, BlankWhen::PopUpHidden, 10003}, kRoot},
    {&mfd2Gauge, kPreDraw, {kMfdRight, BlankWhen::PopUpHidden, 10005}, kRoot},
    {&eicasGauge, kPreDraw, {kEicasDisplay, BlankWhen::PopUpHidden, 10004}, kRoot},
    {&rmu1Gauge, kPreDraw, {kRmuLeft, BlankWhen::PopUpHidden, 10007}, kRoot},
    {&rmu2Gauge, kPreDraw, {kRmuRight, BlankWhen::PopUpHidden, 10008}, kRoot},
    {&isiGauge, kPreDraw, {kStandbyInstrument, BlankWhen::Never, kNoPopUpWindow}, kRoot},
    {&cduGauge,
     kPreUpdate,
     {kCduDisplay, BlankWhen::PopUpHidden, 10000},
     ScreenElementAt::FirstChildOfBackground},
    {&clock1Gauge, kPreDraw, {kClockLeft, BlankWhen::Never, kNoPopUpWindow}, kRoot},
    {&clock2Gauge, kPreDraw, {kClockRight, BlankWhen::Never, kNoPopUpWindow}, kRoot},
    {&pfd1VcGauge, kPreDraw, {kPfdLeft, BlankWhen::MainPanelShownOrPopUpShown, 10002}, kRoot},
    {&pfd2VcGauge, kPreDraw, {kPfdRight, BlankWhen::MainPanelShownOrPopUpShown, 10006}, kRoot},
    {&mfd1VcGauge, kPreDraw, {kMfdLeft, BlankWhen::MainPanelShownOrPopUpShown, 10003}, kRoot},
    {&mfd2VcGauge, kPreDraw, {kMfdRight, BlankWhen::MainPanelShownOrPopUpShown, 10005}, kRoot},
    {&eicasVcGauge, kPreDraw, {kEicasDisplay, BlankWhen::MainPanelShownOrPopUpShown, 10004}, kRoot},
    {&rmu1VcGauge, kPreDraw, {kRmuLeft, BlankWhen::MainPanelShownOrPopUpShown, 10007}, kRoot},
    {&rmu2VcGauge, kPreDraw, {kRmuRight, BlankWhen::MainPanelShownOrPopUpShown, 10008}, kRoot},
    {&isiVcGauge,
     kPreDraw,
     {kStandbyInstrument, BlankWhen::MainPanelShownOrPopUpShown, kNoPopUpWindow},
     kRoot},
    {&cduVcGauge,
     kPreUpdate,
     {kCduDisplay, BlankWhen::MainPanelShownOrPopUpShown, 10000},
     ScreenElementAt::FirstChildOfBackground},
};

const ScreenGaugeRow* rowOf(const GaugeHeader& gauge) {
    for (const ScreenGaugeRow& row : kScreenGauges) {
        if (row.gauge == &gauge) {
            return &row;
        }
    }
    return nullptr;
}

GaugeElement* screenElementOf(GaugeHeader& gauge, ScreenElementAt at) {
    if (at == ScreenElementAt::Root) {
        return &gauge.root;
    }
    if (gauge.root.children.empty() || gauge.root.children.front().children.empty()) {
        return nullptr;
    }
    return &gauge.root.children.front().children.front();
}

bool windowShown(int32_t window) {
    return window != kNoPopUpWindow && panelServices().isPanelWindowOpen(window);
}

// The main panel is asked first; the pop-up only when the answer does not already decide.
bool isBlank(const ScreenView& view) {
    switch (view.blank) {
    case BlankWhen::PopUpHidden:
        return !windowShown(view.popUpWindow);
    case BlankWhen::MainPanelHiddenOrPopUpShown:
        return !windowShown(kMainPanelWindow) || windowShown(view.popUpWindow);
    case BlankWhen::MainPanelShownOrPopUpShown:
        return windowShown(kMainPanelWindow) || windowShown(view.popUpWindow);
    case BlankWhen::Never:
        break;
    }
    return false;
}

} // namespace

GaugeHeader pfdGauge =
    screenGauge("PFD", 400, kLargeScreen, screenClick(50, 50, 300, 376, closePopUpWindow<10002>));
GaugeHeader pfd2Gauge =
    screenGauge("PFD2", 400, kLargeScreen, screenClick(50, 50, 300, 376, closePopUpWindow<10006>));
GaugeHeader mfdGauge =
    screenGauge("MFD", 400, kLargeScreen, screenClick(100, 100, 300, 376, closePopUpWindow<10003>));
GaugeHeader mfd2Gauge = screenGauge("MFD2", 400, kLargeScreen,
                                    screenClick(100, 100, 300, 376, closePopUpWindow<10005>));
GaugeHeader eicasGauge = screenGauge("EICAS", 400, kLargeScreen,
                                     screenClick(100, 100, 300, 376, closePopUpWindow<10004>));
GaugeHeader rmu1Gauge =
    screenGauge("RMU1", 180, kRmuScreen, screenClick(50, 50, 80, 125, closePopUpWindow<10007>));
GaugeHeader rmu2Gauge =
    screenGauge("RMU2", 180, kRmuScreen, screenClick(50, 50, 80, 125, closePopUpWindow<10008>));
GaugeHeader isiGauge = screenGauge("ISI", 210, kIsiScreen, {});
GaugeHeader pfd1VcGauge =
    screenGauge("PFD1VC", 400, kLargeScreen, screenClick(20, 20, 360, 436, openPopUpWindow<10002>));
GaugeHeader pfd2VcGauge =
    screenGauge("PFD2VC", 400, kLargeScreen, screenClick(20, 20, 360, 436, openPopUpWindow<10006>));
GaugeHeader mfd1VcGauge =
    screenGauge("MFD1VC", 400, kLargeScreen, screenClick(20, 20, 360, 436, openPopUpWindow<10003>));
GaugeHeader mfd2VcGauge =
    screenGauge("MFD2VC", 400, kLargeScreen, screenClick(20, 20, 360, 436, openPopUpWindow<10005>));
GaugeHeader eicasVcGauge = screenGauge("EICASVC", 400, kLargeScreen,
                                       screenClick(20, 20, 360, 436, openPopUpWindow<10004>));
GaugeHeader rmu1VcGauge =
    screenGauge("RMU1VC", 180, kRmuScreen, screenClick(20, 20, 140, 185, openPopUpWindow<10007>));
GaugeHeader rmu2VcGauge =
    screenGauge("RMU2VC", 180, kRmuScreen, screenClick(20, 20, 140, 185, openPopUpWindow<10008>));
GaugeHeader isiVcGauge = screenGauge("ISIVC", 210, kIsiScreen, {});

namespace {

GaugeHeader makeWxGauge() {
    GaugeHeader gauge;
    gauge.name = "WX";
    gauge.widthMm = 196;
    gauge.root.kind = platform::ElementKind::StaticImage;
    gauge.root.artwork = &kWxPanel;
    GaugeElement background;
    background.kind = platform::ElementKind::Icon;
    background.artwork = &kWxBackground;
    background.value = backgroundIcon;
    gauge.root.children.push_back(std::move(background));
    return gauge;
}

} // namespace

GaugeHeader wxGauge = makeWxGauge();

MouseControl screenClickControl(int x, int y, int width, int height, MouseHandler handler) {
    MouseControl control;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    platform::MouseArea area;
    area.width = width;
    area.height = height;
    area.cursor = platform::Cursor::Hand;
    area.events = platform::kMouseLeftSingle;
    area.handler = handler;
    control.areas.push_back(area);
    return control;
}

void openPanelWindow(int32_t window) {
    panelServices().openPanelWindow(window);
}

void closePanelWindow(int32_t window) {
    panelServices().closePanelWindow(window);
}

void drawScreenElement(GaugeElement& element, const ScreenView& view) {
    Aircraft* aircraft = readyAircraft();
    if (!aircraft || !element.surface) {
        return;
    }
    platform::gfx::Surface& surface = *element.surface;
    const LogicalSize size = PanelElement::logicalSize(view.displayId);
    surface.setLogicalSize(size.width, size.height);
    // A slot without its screen (one not built, or one whose creation failed) draws nothing.
    if (PanelElement* screen = aircraft->display(view.displayId)) {
        screen->draw(surface, surface.pixelWidth(), surface.pixelHeight(), isBlank(view));
    }
    element.flags &= ~platform::kImageOnScreen;
}

void screenGaugeCallback(GaugeHeader& gauge, int32_t service, void*) {
    const ScreenGaugeRow* row = rowOf(gauge);
    if (!row || service != row->service || !readyAircraft()) {
        return;
    }
    if (GaugeElement* element = screenElementOf(gauge, row->at)) {
        drawScreenElement(*element, row->view);
    }
}

} // namespace tavi
