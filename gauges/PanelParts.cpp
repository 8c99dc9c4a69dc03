#include "gauges/PanelParts.h"

#include "airframe/Lights.h"
#include "core/ModuleGraphics.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tavi {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseArea;
using platform::MouseControl;
using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Font;
using platform::gfx::Pen;
using platform::gfx::RectF;

int lightingLook(const Aircraft& aircraft) {
    const Lights* lights = aircraft.lights();
    return lights ? lights->panelLighting : Lights::kUnlit;
}

bool inLook(const Aircraft& aircraft, int look) {
    const int lighting = lightingLook(aircraft);
    return look == kAnyLitLook ? lighting != Lights::kUnlit : lighting == look;
}

void showOnlyIn(GaugeElement& element, bool shown) {
    if (shown) {
        element.flags &= ~platform::kImageHidden;
    } else {
        element.flags |= platform::kImageHidden;
    }
}

GaugeElement staticImage(const Artwork& artwork, int x, int y, uint32_t flags) {
    GaugeElement element;
    element.kind = platform::ElementKind::StaticImage;
    element.artwork = &artwork;
    element.x = x;
    element.y = y;
    element.flags = flags;
    return element;
}

GaugeElement iconElement(const Artwork& artwork, int x, int y, platform::ElementValue value,
                         uint32_t flags) {
    GaugeElement element = staticImage(artwork, x, y, flags);
    element.kind = platform::ElementKind::Icon;
    element.value = value;
    return element;
}

GaugeElement lampElement(const Artwork& artwork, int x, int y, platform::ElementValue value) {
    return iconElement(artwork, x, y, value, platform::kImageBright);
}

GaugeElement needleElement(const Artwork& artwork, int x, int y, int pivotX, int pivotY,
                           double maxDegreesPerSecond, platform::ElementValue value) {
    GaugeElement element = iconElement(artwork, x, y, value);
    element.kind = platform::ElementKind::Needle;
    element.pivotX = pivotX;
    element.pivotY = pivotY;
    element.maxDegreesPerSecond = maxDegreesPerSecond;
    return element;
}

GaugeElement movingElement(const Artwork& artwork, int x, int y, const MovingRange& range,
                           platform::ElementValue valueX, platform::ElementValue valueY) {
    GaugeElement element = iconElement(artwork, x, y, valueX);
    element.kind = platform::ElementKind::MovingImage;
    element.valueY = valueY;
    element.minX = range.minX;
    element.maxX = range.maxX;
    element.minY = range.minY;
    element.maxY = range.maxY;
    return element;
}

GaugeElement panelRoot(const Artwork& image, const Artwork& icon,
                       std::vector<GaugeElement> children) {
    GaugeElement background = iconElement(icon, 0, 0, backgroundIcon);
    background.children = std::move(children);
    GaugeElement root = staticImage(image, 0, 0);
    root.children.push_back(std::move(background));
    return root;
}

MouseArea wholeArea(int width, int height, platform::MouseHandler handler, uint32_t events,
                    platform::Cursor cursor) {
    MouseArea area;
    area.width = width;
    area.height = height;
    area.cursor = cursor;
    area.events = events;
    area.handler = handler;
    return area;
}

std::vector<MouseArea> knobHalves(int width, int height, platform::MouseHandler decrement,
                                  platform::MouseHandler increment, uint32_t events) {
    const int half = width / 2;
    MouseArea left = wholeArea(half, height, decrement, events, platform::Cursor::DownArrow);
    MouseArea right = wholeArea(width - half, height, increment, events, platform::Cursor::UpArrow);
    right.x = half;
    return {left, right};
}

std::vector<MouseArea> knobUpperLower(int width, int height, platform::MouseHandler upper,
                                      platform::MouseHandler lower, uint32_t events) {
    const int half = height / 2;
    MouseArea top = wholeArea(width, half, upper, events, platform::Cursor::DownArrow);
    MouseArea bottom = wholeArea(width, height - half, lower, events, platform::Cursor::UpArrow);
    bottom.y = half;
    return {top, bottom};
}

MouseControl mouseControl(int x, int y, int width, int height, const platform::Tooltip* tooltip,
                          std::vector<MouseArea> areas) {
    MouseControl control;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    control.tooltip = tooltip;
    control.areas = std::move(areas);
    return control;
}

MouseControl pushButton(int x, int y, int width, int height, const platform::Tooltip* tooltip,
                        platform::MouseHandler handler) {
    return mouseControl(x, y, width, height, tooltip, {wholeArea(width, height, handler)});
}

std::vector<MouseControl> shiftedControls(std::vector<MouseControl> controls, int dx, int dy) {
    for (MouseControl& control : controls) {
        control.x += dx;
        control.y += dy;
    }
    return controls;
}

std::vector<GaugeElement> shiftedElements(std::vector<GaugeElement> elements, int dx, int dy) {
    for (GaugeElement& element : elements) {
        element.x += dx;
        element.y += dy;
    }
    return elements;
}

const char* onOffText(bool on) {
    return on ? "On" : "Off";
}

namespace {

constexpr Argb kFaceDay = 0xFF4E535A;
constexpr Argb kFaceLit = 0xFF2C2F34;
constexpr Argb kEngravingDay = 0xFFE8E8E8;
constexpr Argb kEngravingLit = 0xFFFFF2B0;
constexpr Argb kKeyFace = 0xFF1E2024;
constexpr Argb kKeyRim = 0xFF8A9098;
constexpr Argb kKnobBody = 0xFF16181B;
constexpr Argb kKnobRim = 0xFFB8BCC2;
constexpr Argb kLampGreen = 0xFF40FF60;

Font engravingFont(double size) {
    return Font(privateFontCollection().face("Arial Narrow"), size);
}

} // namespace

Argb faceColour(bool lit) {
    return lit ? kFaceLit : kFaceDay;
}

Argb engravingColour(bool lit) {
    return lit ? kEngravingLit : kEngravingDay;
}

void drawFace(Canvas& canvas, const Artwork& artwork, bool lit) {
    canvas.fillRectangle(faceColour(lit), {0, 0, double(artwork.width), double(artwork.height)});
}

void drawEngraving(Canvas& canvas, std::string_view text, double centreX, double y, double size,
                   bool lit) {
    const Font font = engravingFont(size);
    const auto extent = canvas.measureString(text, font);
    canvas.drawString(text, font, engravingColour(lit), {centreX - extent.width / 2.0, y});
}

void drawKey(Canvas& canvas, const RectF& rect, std::string_view label, bool lit) {
    canvas.fillRectangle(kKeyFace, rect);
    canvas.drawRectangle(Pen{kKeyRim, 1.0}, rect);
    if (label.empty()) {
        return;
    }
    const double size = std::min(rect.height * 0.55, rect.width * 0.5);
    drawEngraving(canvas, label, rect.x + rect.width / 2.0, rect.y + (rect.height - size) / 2.0,
                  size, lit);
}

void drawKnob(Canvas& canvas, const RectF& rect, bool lit) {
    const double size = std::min(rect.width, rect.height);
    const RectF body{rect.x + (rect.width - size) / 2.0, rect.y + (rect.height - size) / 2.0, size,
                     size};
    canvas.fillEllipse(kKnobBody, body);
    canvas.drawEllipse(Pen{lit ? kEngravingLit : kKnobRim, 1.5}, body);
    const double cx = body.x + size / 2.0;
    canvas.drawLine(Pen{engravingColour(lit), 2.0}, {cx, body.y + 2.0}, {cx, body.y + size / 3.0});
}

void paintBlank(Canvas&, const Artwork&, int) {}

void paintLampButton(Canvas& canvas, const Artwork& artwork, int frame) {
    const RectF rect{0.5, 0.5, artwork.width - 1.0, artwork.height - 1.0};
    drawKey(canvas, rect, "", false);
    const bool on = frame > 0;
    const double size = artwork.height * 0.5;
    const Font font = engravingFont(size);
    const auto extent = canvas.measureString(artwork.label, font);
    canvas.drawString(artwork.label, font, on ? kLampGreen : kEngravingDay,
                      {(artwork.width - extent.width) / 2.0, (artwork.height - size) / 2.0});
    if (on) {
        canvas.fillRectangle(kLampGreen, {3.0, 2.0, artwork.width - 6.0, 2.0});
    }
}

} // namespace tavi
