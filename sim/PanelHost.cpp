#include "sim/PanelHost.h"

#include "platform/gfx/Canvas.h"
#include "platform/panel/ImportTable.h"
#include "sim/SimClock.h"

#include <algorithm>
#include <cmath>

namespace tavi::sim {

namespace {

using platform::GaugeElement;
using platform::gfx::Canvas;
using platform::gfx::Surface;

constexpr uint32_t kBlack = 0xFF000000;

// Faces the string elements ask for, by the names the module uses.
struct HostFont {
    const char* name;
    const char* family;
    bool bold;
};
constexpr HostFont kHostFonts[] = {
    {"Quartz", "DSEG7 Classic", false},
    {"Arial Narrow", "Liberation Sans Narrow", true},
};

int pixels(double designPixels, double scale) {
    return std::max(1, static_cast<int>(std::lround(designPixels * scale)));
}

uint32_t clickBit(MouseButton button) {
    return button == MouseButton::Left ? platform::kMouseLeftSingle : platform::kMouseRightSingle;
}

uint32_t dragBit(MouseButton button) {
    return button == MouseButton::Left ? platform::kMouseLeftDrag : platform::kMouseRightDrag;
}

bool takes(const platform::MouseArea& area, uint32_t flags) {
    return (area.events & flags) != 0;
}

bool holds(const platform::MouseArea& area, double x, double y) {
    return x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
}

// The icon image the value names: its whole part, kept within the strip.
int iconFrame(double value, int frames) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), 0.0, double(std::max(frames - 1, 0))));
}

double within(double value, double low, double high) {
    return std::isfinite(value) ? std::clamp(value, std::min(low, high), std::max(low, high)) : low;
}

template <typename Visit>
void forEachElement(GaugeElement& element, Visit visit) {
    visit(element);
    for (GaugeElement& child : element.children) {
        forEachElement(child, visit);
    }
}

} // namespace

PanelHost::PanelHost(Panel& panel, const platform::ModuleLinkage& linkage, PanelLayout layout)
    : panel_(panel), layout_(std::move(layout)) {
    for (const PanelWindow& window : layout_.windows) {
        if (window.ident != PanelLayout::kVirtualCockpit) {
            panel_.setPanelWindowOpen(window.ident, window.shown);
        }
        for (const GaugePlacement& placement : window.gauges) {
            platform::GaugeHeader* gauge = platform::findGauge(linkage, placement.gauge);
            if (!gauge) {
                throw PanelLayoutError(0, "the module has no gauge " + placement.gauge);
            }
            const platform::Artwork* artwork = gauge->root.artwork;
            const double designWidth = artwork && artwork->width > 0 ? artwork->width : 1.0;
            const double scale = placement.width / designWidth;
            const double height = artwork ? artwork->height * scale : 0.0;
            placed_.push_back({gauge, window.ident, double(placement.x), double(placement.y), scale,
                               double(placement.width), height});
            giveSurfaces(gauge->root, scale);
        }
    }
    for (const HostFont& font : kHostFonts) {
        fonts_.add(font.name, font.family, font.bold);
    }
}

PanelHost::~PanelHost() {
    // The gauges outlive the simulator's panel: they keep no surface of it.
    for (GaugeElement* element : elementsGiven_) {
        element->surface = nullptr;
    }
}

void PanelHost::giveSurfaces(GaugeElement& root, double scale) {
    forEachElement(root, [&](GaugeElement& element) {
        if (element.kind != platform::ElementKind::StaticImage || !element.artwork ||
            (element.flags & platform::kImageCreateBitmap) == 0) {
            return;
        }
        elementSurfaces_.push_back(std::make_unique<Surface>(
            pixels(element.artwork->width, scale), pixels(element.artwork->height, scale)));
        element.surface = elementSurfaces_.back().get();
        elementsGiven_.push_back(&element);
    });
}

bool PanelHost::isShown(int32_t window) const {
    if (window == PanelLayout::kVirtualCockpit) {
        return layout_.window(window) && !panel_.isPanelWindowOpen(0);
    }
    return layout_.window(window) && panel_.isPanelWindowOpen(window);
}

std::vector<int32_t> PanelHost::shownWindows() const {
    std::vector<int32_t> shown;
    for (const PanelWindow& window : layout_.windows) {
        if (isShown(window.ident)) {
            shown.push_back(window.ident);
        }
    }
    return shown;
}

void PanelHost::frame() {
    int32_t timeOfDay = 0;
    panel_.executeCalculatorCode(SimClock::kTimeOfDayCode, nullptr, &timeOfDay, nullptr);
    night_ = timeOfDay == SimClock::kNight;
    const std::vector<int32_t> shown = shownWindows();
    for (const Placed& placed : placed_) {
        if (std::find(shown.begin(), shown.end(), placed.window) == shown.end()) {
            continue;
        }
        updateGauge(placed);
    }
    for (const int32_t window : shown) {
        composite(window);
    }
}

void PanelHost::updateGauge(const Placed& placed) {
    platform::GaugeHeader& gauge = *placed.gauge;
    if (gauge.callback) {
        gauge.callback(gauge, platform::kServicePreUpdate, nullptr);
    }
    runCallbacks(gauge.root);
    if (gauge.callback) {
        gauge.callback(gauge, platform::kServicePreDraw, nullptr);
    }
}

bool PanelHost::update(std::string_view gauge) {
    const Placed* placed = placedGauge(gauge);
    if (!placed || !isShown(placed->window)) {
        return false;
    }
    updateGauge(*placed);
    return true;
}

std::vector<std::string> PanelHost::textsOn(std::string_view gauge,
                                            std::optional<std::pair<double, double>> at) const {
    std::vector<std::string> texts;
    const Placed* placed = placedGauge(gauge);
    if (!placed) {
        return texts;
    }
    const auto under = [&](double x, double y, double width, double height) {
        return !at || (at->first >= x && at->second >= y && at->first < x + width &&
                       at->second < y + height);
    };
    forEachElement(placed->gauge->root, [&](GaugeElement& element) {
        if (element.kind == platform::ElementKind::String) {
            const std::string text(element.text.data(),
                                   std::find(element.text.begin(), element.text.end(), '\0'));
            if (under(element.x, element.y, element.fontSize * text.size(), element.fontSize)) {
                texts.push_back(text);
            }
            return;
        }
        if (element.surface && element.artwork &&
            under(element.x, element.y, element.artwork->width, element.artwork->height)) {
            for (const platform::gfx::ShownText& shown : element.surface->texts()) {
                texts.push_back(shown.text);
            }
        }
    });
    return texts;
}

void PanelHost::runCallbacks(GaugeElement& root) {
    forEachElement(root, [&](GaugeElement& element) {
        if (element.sourceToken != 0) {
            element.source.id = element.sourceToken;
            panel_.lookupToken(element.source);
        }
        ElementValues& values = values_[&element];
        if (element.value) {
            values.value = element.value(element);
        }
        if (element.valueY) {
            values.valueY = element.valueY(element);
        }
        if (element.fillText) {
            element.fillText(element);
        }
    });
}

void PanelHost::composite(int32_t window) {
    const PanelWindow* layoutWindow = layout_.window(window);
    std::unique_ptr<Surface>& picture = pictures_[window];
    const bool fresh = !picture;
    if (fresh) {
        picture = std::make_unique<Surface>(layoutWindow->width, layoutWindow->height);
    }
    Canvas canvas(*picture);
    // Only the gauges change: the window between them is cleared once.
    if (fresh) {
        canvas.clear(kBlack);
    }
    for (const Placed& placed : placed_) {
        if (placed.window == window) {
            canvas.fillRectangle(kBlack, {placed.x, placed.y, placed.width, placed.height});
            drawGauge(canvas, placed, placed.x, placed.y);
        }
    }
}

const Surface* PanelHost::picture(int32_t window) const {
    const auto found = pictures_.find(window);
    return found == pictures_.end() ? nullptr : found->second.get();
}

std::unique_ptr<Surface> PanelHost::gaugePicture(std::string_view name) const {
    const Placed* placed = placedGauge(name);
    if (!placed || placed->height <= 0.0) {
        return nullptr;
    }
    auto picture =
        std::make_unique<Surface>(pixels(placed->width, 1.0), pixels(placed->height, 1.0));
    Canvas canvas(*picture);
    canvas.clear(kBlack);
    drawGauge(canvas, *placed, 0.0, 0.0);
    return picture;
}

void PanelHost::drawGauge(Canvas& canvas, const Placed& placed, double originX,
                          double originY) const {
    drawElement(canvas, placed.gauge->root, originX, originY, placed.scale, 0.0, 0.0);
}

// Children follow their parent's movement; a hidden element hides only its own image.
void PanelHost::drawElement(Canvas& canvas, GaugeElement& element, double originX, double originY,
                            double scale, double offsetX, double offsetY) const {
    const auto found = values_.find(&element);
    const ElementValues values = found == values_.end() ? ElementValues{} : found->second;
    if (element.kind == platform::ElementKind::MovingImage) {
        offsetX += within(values.value, element.minX, element.maxX);
        offsetY += within(values.valueY, element.minY, element.maxY);
    }
    const double x = originX + (element.x + offsetX) * scale;
    const double y = originY + (element.y + offsetY) * scale;
    if ((element.flags & platform::kImageHidden) == 0) {
        const double shade = brightness(element);
        switch (element.kind) {
        case platform::ElementKind::StaticImage:
            if (const Surface* image = element.surface   ? shownCopy(element)
                                       : element.artwork ? artworkImage(*element.artwork, 0, scale)
                                                         : nullptr) {
                canvas.drawImage(*image, {x, y}, shade);
            }
            break;
        case platform::ElementKind::Icon:
        case platform::ElementKind::MovingImage:
            if (element.artwork) {
                const int frame = element.kind == platform::ElementKind::Icon
                                      ? iconFrame(values.value, element.artwork->frames)
                                      : 0;
                if (const Surface* image = artworkImage(*element.artwork, frame, scale)) {
                    canvas.drawImage(*image, {x, y}, shade);
                }
            }
            break;
        case platform::ElementKind::Needle:
            if (const Surface* image =
                    element.artwork ? artworkImage(*element.artwork, 0, scale) : nullptr) {
                canvas.save();
                canvas.translate(x, y);
                canvas.rotate(std::isfinite(values.value) ? values.value : 0.0);
                canvas.drawImage(*image, {-element.pivotX * scale, -element.pivotY * scale}, shade);
                canvas.restore();
            }
            break;
        case platform::ElementKind::String: {
            const std::string text(element.text.data(),
                                   std::find(element.text.begin(), element.text.end(), '\0'));
            const platform::gfx::Font font(fonts_.face(element.font), element.fontSize * scale);
            canvas.drawString(text, font, element.colour, {x, y});
            break;
        }
        }
    }
    for (GaugeElement& child : element.children) {
        drawElement(canvas, child, originX, originY, scale, offsetX, offsetY);
    }
}

// The simulator copies a gauge's surface again only when the gauge has cleared the on-screen
// flag since the last copy.
const Surface* PanelHost::shownCopy(GaugeElement& element) const {
    std::unique_ptr<Surface>& copy = copies_[&element];
    if (!copy) {
        copy = std::make_unique<Surface>(element.surface->pixelWidth(),
                                         element.surface->pixelHeight());
        element.flags &= ~platform::kImageOnScreen;
    }
    if ((element.flags & platform::kImageOnScreen) == 0) {
        Canvas canvas(*copy);
        canvas.setCopyCompositing(true);
        canvas.drawImage(*element.surface, {0.0, 0.0});
        element.flags |= platform::kImageOnScreen;
    }
    return copy.get();
}

const Surface* PanelHost::artworkImage(const platform::Artwork& artwork, int frame,
                                       double scale) const {
    if (!artwork.paint || artwork.width <= 0 || artwork.height <= 0) {
        return nullptr;
    }
    std::unique_ptr<Surface>& image = artworkImages_[{&artwork, frame, scale}];
    if (!image) {
        image =
            std::make_unique<Surface>(pixels(artwork.width, scale), pixels(artwork.height, scale));
        Canvas canvas(*image);
        canvas.scale(scale, scale);
        artwork.paint(canvas, artwork, frame);
    }
    return image.get();
}

double PanelHost::brightness(const GaugeElement& element) const {
    return night_ && (element.flags & platform::kImageBright) == 0 ? kNightBrightness : 1.0;
}

const PanelHost::Placed* PanelHost::placedAt(int32_t window, double x, double y) const {
    // The gauge placed last is drawn on top and takes the pointer first.
    for (auto placed = placed_.rbegin(); placed != placed_.rend(); ++placed) {
        if (placed->window == window && x >= placed->x && y >= placed->y &&
            x < placed->x + placed->width && y < placed->y + placed->height) {
            return &*placed;
        }
    }
    return nullptr;
}

std::optional<PanelHost::Held> PanelHost::holdAt(int32_t window, double x, double y,
                                                 MouseButton button) const {
    const Placed* placed = placedAt(window, x, y);
    if (!placed || !isShown(window)) {
        return std::nullopt;
    }
    const double designX = (x - placed->x) / placed->scale;
    const double designY = (y - placed->y) / placed->scale;
    const platform::MouseControl* control = platform::findControl(*placed->gauge, designX, designY);
    if (!control) {
        return std::nullopt;
    }
    const uint32_t wanted = clickBit(button) | dragBit(button) |
                            (button == MouseButton::Left ? platform::kMouseLeftRelease : 0u);
    for (const platform::MouseArea& area : control->areas) {
        if (takes(area, wanted) && holds(area, designX - control->x, designY - control->y)) {
            return Held{placed, control, &area, button};
        }
    }
    return std::nullopt;
}

// The point goes to the handler relative to the held control, in displayed pixels.
void PanelHost::sendToHeld(uint32_t flags, double windowX, double windowY) {
    const Held held = *held_;
    if (!held.area->handler) {
        return;
    }
    const double controlX = held.placed->x + held.control->x * held.placed->scale;
    const double controlY = held.placed->y + held.control->y * held.placed->scale;
    held.area->handler(static_cast<int>(std::lround(windowX - controlX)),
                       static_cast<int>(std::lround(windowY - controlY)), flags);
}

void PanelHost::press(int32_t window, double x, double y, MouseButton button) {
    held_ = holdAt(window, x, y, button);
    if (held_) {
        held_->x = x;
        held_->y = y;
    }
    if (held_ && takes(*held_->area, clickBit(button))) {
        sendToHeld(clickBit(button), x, y);
    }
}

void PanelHost::move(int32_t window, double x, double y) {
    if (!held_ || held_->placed->window != window) {
        return;
    }
    held_->x = x;
    held_->y = y;
    const uint32_t drag = dragBit(held_->button);
    if (takes(*held_->area, drag)) {
        sendToHeld(drag, x, y);
    }
    const double designX = (x - held_->placed->x) / held_->placed->scale - held_->control->x;
    const double designY = (y - held_->placed->y) / held_->placed->scale - held_->control->y;
    if (!held_->left && !holds(*held_->area, designX, designY)) {
        held_->left = true;
        if (takes(*held_->area, platform::kMouseLeave)) {
            sendToHeld(platform::kMouseLeave, x, y);
        }
    }
}

void PanelHost::release(int32_t, double x, double y, MouseButton button) {
    if (!held_ || held_->button != button) {
        return;
    }
    if (button == MouseButton::Left && takes(*held_->area, platform::kMouseLeftRelease)) {
        sendToHeld(platform::kMouseLeftRelease, x, y);
    }
    held_.reset();
}

void PanelHost::elapse(double seconds) {
    if (!held_ || held_->left || !takes(*held_->area, platform::kMouseRepeat)) {
        return;
    }
    held_->heldFor += seconds;
    while (held_ && held_->heldFor >= held_->nextRepeat) {
        held_->nextRepeat += kRepeatSeconds;
        sendToHeld(clickBit(held_->button) | platform::kMouseRepeat, held_->x, held_->y);
    }
}

const PanelHost::Placed* PanelHost::placedGauge(std::string_view gauge) const {
    for (const Placed& placed : placed_) {
        if (gauge == placed.gauge->name) {
            return &placed;
        }
    }
    return nullptr;
}

std::optional<PanelHost::DesignSize> PanelHost::designSize(std::string_view gauge) const {
    const Placed* placed = placedGauge(gauge);
    if (!placed) {
        return std::nullopt;
    }
    return DesignSize{placed->width / placed->scale, placed->height / placed->scale};
}

bool PanelHost::click(std::string_view gauge, double x, double y, MouseButton button) {
    const Placed* placed = placedGauge(gauge);
    if (!placed || !isShown(placed->window)) {
        return false;
    }
    const double windowX = placed->x + x * placed->scale;
    const double windowY = placed->y + y * placed->scale;
    press(placed->window, windowX, windowY, button);
    release(placed->window, windowX, windowY, button);
    return true;
}

std::string PanelHost::tooltipAt(int32_t window, double x, double y) const {
    const Placed* placed = placedAt(window, x, y);
    if (!placed) {
        return {};
    }
    const platform::MouseControl* control = platform::findControl(
        *placed->gauge, (x - placed->x) / placed->scale, (y - placed->y) / placed->scale);
    return control && control->tooltip ? platform::formatTooltip(*control->tooltip) : std::string();
}

platform::Cursor PanelHost::cursorAt(int32_t window, double x, double y) const {
    const Placed* placed = placedAt(window, x, y);
    if (!placed) {
        return platform::Cursor::None;
    }
    const auto hit =
        platform::findMouseArea(*placed->gauge, (x - placed->x) / placed->scale,
                                (y - placed->y) / placed->scale, ~uint32_t{0}, placed->scale);
    return hit ? hit->area->cursor : platform::Cursor::None;
}

} // namespace tavi::sim
