#pragma once

#include "platform/gfx/FontCollection.h"
#include "platform/gfx/Surface.h"
#include "platform/panel/Gauge.h"
#include "sim/Panel.h"
#include "sim/PanelLayout.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tavi::platform {
struct ModuleLinkage;
}

namespace tavi::sim {

enum class MouseButton { Left, Right };

// The simulator's panel: the module's gauges placed in panel windows as the layout says. Nothing
// is drawn until the caller asks for a frame; mouse events come in window pixels, and the
// button-repeat timer runs on the time the caller lets pass.
class PanelHost {
public:
    // A button held this long starts repeating, then sends a repeat this often, while the
    // gauge's part asks for repeats: a click as a hand makes it (about 0.12 s) is one step.
    static constexpr double kRepeatDelaySeconds = 0.5;
    static constexpr double kRepeatSeconds = 0.1;
    // How bright an image without the bright flag is drawn at the simulator's night.
    static constexpr double kNightBrightness = 0.35;

    // Shows the layout's starting windows through the panel; the gauges the layout names must
    // be in the module's list.
    PanelHost(Panel& panel, const platform::ModuleLinkage& linkage, PanelLayout layout);
    ~PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;

    const PanelLayout& layout() const { return layout_; }
    // The windows open in the simulator, and the virtual cockpit while the main panel is not.
    bool isShown(int32_t window) const;
    std::vector<int32_t> shownWindows() const;

    // One drawn frame: for each gauge of each shown window, the pre-update service, the element
    // callbacks and the pre-draw service; then each shown window is composited, at the
    // simulator's night with the images that are not bright drawn darker.
    void frame();
    // The window's picture as the last frame composited it (null before that).
    const platform::gfx::Surface* picture(int32_t window) const;
    // The gauge's frame alone: its services and element callbacks, as a frame runs them, so that
    // its controls and screens are as the crew would find them; false while its window is not
    // on show.
    bool update(std::string_view gauge);
    // The texts the screens and text elements of the gauge show (those under a point of the
    // gauge's design pixels, when one is given), as its last frame left them.
    std::vector<std::string> textsOn(std::string_view gauge,
                                     std::optional<std::pair<double, double>> at = {}) const;
    // The gauge alone, composited at its placed size from the last frame's values; null for a
    // gauge the layout does not place or that has no image.
    std::unique_ptr<platform::gfx::Surface> gaugePicture(std::string_view gauge) const;

    // The mouse, in window pixels.
    void press(int32_t window, double x, double y, MouseButton button);
    void move(int32_t window, double x, double y);
    void release(int32_t window, double x, double y, MouseButton button);
    // Lets time pass for the repeat timer of a held button.
    void elapse(double seconds);
    std::string tooltipAt(int32_t window, double x, double y) const;

    // A gauge's size in its own design pixels (those its controls are laid out in); nothing for
    // a gauge the layout does not place.
    struct DesignSize {
        double width;
        double height;
    };
    std::optional<DesignSize> designSize(std::string_view gauge) const;
    // A click, pressed and released, at a point of a placed gauge given in its design pixels,
    // through the window it is placed in; false while that window is not on show.
    bool click(std::string_view gauge, double x, double y, MouseButton button);
    platform::Cursor cursorAt(int32_t window, double x, double y) const;

private:
    struct Placed {
        platform::GaugeHeader* gauge;
        int32_t window;
        double x;
        double y;
        // Window pixels per design pixel.
        double scale;
        double width;
        double height;
    };
    struct ElementValues {
        double value = 0.0;
        double valueY = 0.0;
    };
    struct Held {
        const Placed* placed;
        const platform::MouseControl* control;
        const platform::MouseArea* area;
        MouseButton button;
        bool left = false;
        double heldFor = 0.0;
        double nextRepeat = kRepeatDelaySeconds;
        // Where the pointer is, in window pixels.
        double x = 0.0;
        double y = 0.0;
    };

    const Placed* placedAt(int32_t window, double x, double y) const;
    const Placed* placedGauge(std::string_view gauge) const;
    std::optional<Held> holdAt(int32_t window, double x, double y, MouseButton button) const;
    void sendToHeld(uint32_t flags, double windowX, double windowY);
    void updateGauge(const Placed& placed);
    void giveSurfaces(platform::GaugeElement& element, double scale);
    void runCallbacks(platform::GaugeElement& element);
    void composite(int32_t window);
    void drawGauge(platform::gfx::Canvas& canvas, const Placed& placed, double originX,
                   double originY) const;
    void drawElement(platform::gfx::Canvas& canvas, platform::GaugeElement& element, double originX,
                     double originY, double scale, double offsetX, double offsetY) const;
    const platform::gfx::Surface* artworkImage(const platform::Artwork& artwork, int frame,
                                               double scale) const;
    const platform::gfx::Surface* shownCopy(platform::GaugeElement& element) const;
    double brightness(const platform::GaugeElement& element) const;

    Panel& panel_;
    PanelLayout layout_;
    std::vector<Placed> placed_;
    std::vector<std::unique_ptr<platform::gfx::Surface>> elementSurfaces_;
    std::vector<platform::GaugeElement*> elementsGiven_;
    // The simulator's copy of each surface a gauge draws into.
    mutable std::unordered_map<const platform::GaugeElement*,
                               std::unique_ptr<platform::gfx::Surface>>
        copies_;
    mutable std::map<std::tuple<const platform::Artwork*, int, double>,
                     std::unique_ptr<platform::gfx::Surface>>
        artworkImages_;
    std::unordered_map<const platform::GaugeElement*, ElementValues> values_;
    std::map<int32_t, std::unique_ptr<platform::gfx::Surface>> pictures_;
    platform::gfx::FontCollection fonts_;
    std::optional<Held> held_;
    bool night_ = false;
};

} // namespace tavi::sim
