#pragma once

#include "platform/panel/PanelServices.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

namespace gfx {
class Canvas;
class Surface;
} // namespace gfx

struct ModuleLinkage;

inline constexpr int32_t kGaugeHeaderVersion = 900;

// The gauge services the module acts on; the host calls others too, which gauges ignore.
inline constexpr int32_t kServicePreUpdate = 6;
inline constexpr int32_t kServicePreDraw = 10;

// Image flags of an element.
inline constexpr uint32_t kImageBright = 0x4;
inline constexpr uint32_t kImageCreateBitmap = 0x20;
// Declared on some screen copies of the main panel; the host gives it no meaning.
inline constexpr uint32_t kImageFlag80 = 0x80;
// Hides the element's own image; its children still draw.
inline constexpr uint32_t kImageHidden = 0x40000000;
// Set by the host once it has copied a static image; a gauge clears it to have it copied again.
inline constexpr uint32_t kImageOnScreen = 0x80000000;

// Mouse event flags, as masks of a mouse area and as the flags a handler receives. A repeat
// while the button is held comes with the click bit of that button.
inline constexpr uint32_t kMouseRightSingle = 0x80000000;
inline constexpr uint32_t kMouseLeftSingle = 0x20000000;
inline constexpr uint32_t kMouseLeftDrag = 0x00800000;
inline constexpr uint32_t kMouseRightDrag = 0x00400000;
inline constexpr uint32_t kMouseRepeat = 0x00200000;
inline constexpr uint32_t kMouseLeftRelease = 0x00020000;
inline constexpr uint32_t kMouseLeave = 0x00000800;

enum class Cursor { None, Hand, UpArrow, DownArrow };

struct Artwork;
// Paints one image of the strip in design pixels, the origin at the image's top left.
using ArtworkPainter = void (*)(gfx::Canvas& canvas, const Artwork& artwork, int frame);

// A bitmap of the module's resources: a strip of equal images painted by code. The label is
// what a painter engraves or lights on it, if anything.
struct Artwork {
    const char* name = "";
    int width = 0;
    int height = 0;
    int frames = 1;
    ArtworkPainter paint = nullptr;
    const char* label = "";
};

enum class ElementKind { StaticImage, Icon, Needle, MovingImage, String };

struct GaugeElement;
// Icon image index, needle angle in degrees clockwise, or moving-image offset in design pixels.
using ElementValue = double (*)(GaugeElement& element);
// Fills the text of a string element.
using ElementText = void (*)(GaugeElement& element);

// One element of a gauge's tree; children draw over their parent. Positions are design pixels
// of the gauge.
struct GaugeElement {
    ElementKind kind = ElementKind::StaticImage;
    const Artwork* artwork = nullptr;
    int x = 0;
    int y = 0;
    uint32_t flags = 0;
    // Icon index (the image is the whole part, kept within the strip), needle angle, or the
    // x offset of a moving image.
    ElementValue value = nullptr;
    // The y offset of a moving image.
    ElementValue valueY = nullptr;
    // Needle: the point of the artwork it turns about, placed at (x, y); its declared speed.
    int pivotX = 0;
    int pivotY = 0;
    double maxDegreesPerSecond = 0.0;
    // Moving image: the offsets are kept within these ranges.
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
    // A token whose record the host fills before the element's callbacks; 0 for none.
    int32_t sourceToken = 0;
    TokenRecord source;
    // String element: its box, font, colour (0xAARRGGBB) and the text the callback fills.
    ElementText fillText = nullptr;
    int width = 0;
    int height = 0;
    const char* font = "";
    double fontSize = 0.0;
    uint32_t colour = 0xFFFFFFFF;
    std::array<char, 64> text{};
    std::vector<GaugeElement> children;
    // A static image with kImageCreateBitmap: the surface the host made for it (null until then).
    gfx::Surface* surface = nullptr;
};

// Tooltip arguments: a text callback (no text reads as empty) or a number callback.
using TooltipText = const char* (*)();
using TooltipNumber = double (*)();

struct TooltipArgument {
    TooltipText text = nullptr;
    TooltipNumber number = nullptr;
};

// A text with numbered placeholders "%1!s!", "%2!d!", "%1!.1f!", "%1!.0f!" and "%%" over an
// argument array that several tooltips may share.
struct Tooltip {
    const char* text = "";
    const std::vector<TooltipArgument>* arguments = nullptr;
};

// The point is relative to the control's rectangle, in displayed pixels.
using MouseHandler = bool (*)(int x, int y, uint32_t flags);

// One part of a control: its rectangle relative to the control's, in design pixels.
struct MouseArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    Cursor cursor = Cursor::Hand;
    uint32_t events = kMouseLeftSingle;
    MouseHandler handler = nullptr;
};

// A control: a rectangle of the gauge in design pixels, its tooltip and its parts.
struct MouseControl {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    const Tooltip* tooltip = nullptr;
    std::vector<MouseArea> areas;
};

struct GaugeHeader;
using GaugeCallback = void (*)(GaugeHeader& gauge, int32_t service, void* extra);

// A gauge as the module exports it: static data the host reads and the callbacks change.
struct GaugeHeader {
    const char* name = "";
    int widthMm = 0;
    GaugeCallback callback = nullptr;
    GaugeElement root;
    std::vector<MouseControl> controls;
    int32_t version = kGaugeHeaderVersion;
};

// The control and part a mouse event at a point of the gauge reaches, with the point as the
// handler receives it.
struct MouseHit {
    const MouseControl* control = nullptr;
    const MouseArea* area = nullptr;
    int x = 0;
    int y = 0;
};

// The first control in list order whose rectangle holds the point (design pixels), then its first
// part that holds it and takes the event; scale is displayed pixels per design pixel.
std::optional<MouseHit> findMouseArea(const GaugeHeader& gauge, double designX, double designY,
                                      uint32_t event, double scale = 1.0);

// The first control in list order whose rectangle holds the point, whatever its parts take.
const MouseControl* findControl(const GaugeHeader& gauge, double designX, double designY);

// The tooltip's text with its placeholders filled; "%N!d!" truncates toward zero. Empty when a
// text argument it shows gives no text.
std::string formatTooltip(const Tooltip& tooltip);

// The gauge of the module's list with the name (case as exported), or null.
GaugeHeader* findGauge(const ModuleLinkage& linkage, std::string_view name);

} // namespace tavi::platform
