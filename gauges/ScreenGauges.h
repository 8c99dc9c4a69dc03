#pragma once

#include "platform/panel/Gauge.h"

#include <cstdint>

namespace tavi {

// Panel windows the screen gauges ask about.
inline constexpr int32_t kMainPanelWindow = 0;
inline constexpr int32_t kNoPopUpWindow = -1;

// When a view of a screen shows it dark, so that one screen is drawn with content by only the
// one of its pop-up, main-panel and virtual-cockpit views that is on show.
enum class BlankWhen {
    // The pop-up gauge: while its own window is hidden.
    PopUpHidden,
    // The copy in the main panel: while the main panel is hidden or the pop-up shows the screen.
    MainPanelHiddenOrPopUpShown,
    // The virtual-cockpit copy: while the main panel shows, or the pop-up shows the screen.
    MainPanelShownOrPopUpShown,
    Never,
};

// One view of a screen: its slot, its blank rule and the pop-up window that shows it (or
// kNoPopUpWindow).
struct ScreenView {
    int displayId;
    BlankWhen blank;
    int32_t popUpWindow;
};

// Draws the screen of the view into the element's surface, mapped to the screen's logical size,
// then asks the simulator to copy the surface again. Nothing happens before the aircraft has
// started up or while the simulator has not made the element's surface.
void drawScreenElement(platform::GaugeElement& element, const ScreenView& view);

// The gauge callback of every gauge that shows a screen (the pop-ups, the virtual-cockpit copies,
// the CDU pair and the clocks): on the gauge's own service it draws its screen element through
// the screen of its slot, blank by the gauge's rule.
void screenGaugeCallback(platform::GaugeHeader& gauge, int32_t service, void* extra);

// A click rectangle over a screen: a left click with the hand cursor.
platform::MouseControl screenClickControl(int x, int y, int width, int height,
                                          platform::MouseHandler handler);

// Open or close a panel window through the simulator.
void openPanelWindow(int32_t window);
void closePanelWindow(int32_t window);

// The click handlers of the screen views: open or close the screen's pop-up window. They work
// before the aircraft has started, since they only ask the simulator.
template <int32_t Window>
bool openPopUpWindow(int, int, uint32_t) {
    openPanelWindow(Window);
    return true;
}
template <int32_t Window>
bool closePopUpWindow(int, int, uint32_t) {
    closePanelWindow(Window);
    return true;
}

} // namespace tavi
