#include "core/Aircraft.h"
#include "displays/PanelElement.h"
#include "gauges/ControlArtwork.h"
#include "gauges/GaugeRules.h"
#include "gauges/Gauges.h"
#include "gauges/MainPanelControls.h"
#include "gauges/ScreenGauges.h"

#include <array>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::GaugeHeader;
using platform::MouseControl;

// The background icon covers the whole panel, so the root image paints nothing of its own.
constexpr Artwork kMainPanel{"MainPanel", 1152, 860, 1, nullptr, ""};
constexpr Artwork kMainPanelBackground{"MainPanel background", 1152, 860, 3,
                                       paintPanelBackground,   ""};
constexpr Artwork kPfd1Copy{"MainPanel PFD 1", 252, 300, 1, nullptr, ""};
constexpr Artwork kMfd1Copy{"MainPanel MFD 1", 252, 300, 1, nullptr, ""};
constexpr Artwork kEicasCopy{"MainPanel EICAS", 252, 300, 1, nullptr, ""};
constexpr Artwork kRmu1Copy{"MainPanel RMU 1", 116, 145, 1, nullptr, ""};
constexpr Artwork kIsiCopy{"MainPanel ISI", 100, 100, 1, nullptr, ""};
constexpr Artwork kClock1Copy{"MainPanel clock 1", 129, 134, 1, nullptr, ""};

struct EmbeddedScreen {
    const Artwork* artwork;
    int x;
    int y;
    uint32_t extraFlags;
    ScreenView view;
};

constexpr BlankWhen kCopyRule = BlankWhen::MainPanelHiddenOrPopUpShown;

// The six screens of the main panel, in the order they are drawn.
constexpr std::array<EmbeddedScreen, 6> kEmbeddedScreens{{
    {&kPfd1Copy, 166, 470, 0, {kPfdLeft, kCopyRule, 10002}},
    {&kMfd1Copy, 440, 470, 0, {kMfdLeft, kCopyRule, 10003}},
    {&kEicasCopy, 887, 470, platform::kImageFlag80, {kEicasDisplay, kCopyRule, 10004}},
    {&kRmu1Copy, 731, 637, platform::kImageFlag80, {kRmuLeft, kCopyRule, 10007}},
    {&kIsiCopy, 738, 468, 0, {kStandbyInstrument, kCopyRule, kNoPopUpWindow}},
    {&kClock1Copy, 24, 488, 0, {kClockLeft, BlankWhen::Never, kNoPopUpWindow}},
}};

GaugeElement screenElement(const EmbeddedScreen& screen) {
    GaugeElement element;
    element.kind = platform::ElementKind::StaticImage;
    element.artwork = screen.artwork;
    element.x = screen.x;
    element.y = screen.y;
    element.flags = platform::kImageBright | platform::kImageCreateBitmap | screen.extraFlags;
    return element;
}

GaugeElement mainPanelTree() {
    GaugeElement background;
    background.kind = platform::ElementKind::Icon;
    background.artwork = &kMainPanelBackground;
    background.value = mainPanelBackgroundIcon;
    for (const EmbeddedScreen& screen : kEmbeddedScreens) {
        background.children.push_back(screenElement(screen));
    }
    for (GaugeElement& element : mainPanelControlElements()) {
        background.children.push_back(std::move(element));
    }
    GaugeElement root;
    root.kind = platform::ElementKind::StaticImage;
    root.artwork = &kMainPanel;
    root.children.push_back(std::move(background));
    return root;
}

// The four screen click rectangles come before every other control of the panel.
std::vector<MouseControl> mainPanelControlList() {
    std::vector<MouseControl> controls{
        screenClickControl(186, 490, 212, 260, openPopUpWindow<10002>),
        screenClickControl(460, 490, 212, 260, openPopUpWindow<10003>),
        screenClickControl(906, 490, 212, 260, openPopUpWindow<10004>),
        screenClickControl(751, 657, 76, 105, openPopUpWindow<10007>),
    };
    for (MouseControl& control : mainPanelControls()) {
        controls.push_back(std::move(control));
    }
    return controls;
}

void mainPanelCallback(GaugeHeader& gauge, int32_t service, void*) {
    Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return;
    }
    if (service == platform::kServicePreUpdate) {
        aircraft->preUpdate();
        return;
    }
    if (service != platform::kServicePreDraw || gauge.root.children.empty()) {
        return;
    }
    std::vector<GaugeElement>& screens = gauge.root.children.front().children;
    for (std::size_t i = 0; i < kEmbeddedScreens.size() && i < screens.size(); ++i) {
        drawScreenElement(screens[i], kEmbeddedScreens[i].view);
    }
}

GaugeHeader makeMainPanel() {
    GaugeHeader gauge;
    gauge.name = "MainPanel";
    gauge.widthMm = 1152;
    gauge.callback = mainPanelCallback;
    gauge.root = mainPanelTree();
    gauge.controls = mainPanelControlList();
    return gauge;
}

} // namespace

GaugeHeader mainPanelGauge = makeMainPanel();

} // namespace tavi
