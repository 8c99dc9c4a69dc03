#include "airframe/Lights.h"
#include "avionics/EicasDau.h"
#include "gauges/Gauges.h"
#include "gauges/InstrumentCopies.h"
#include "gauges/PanelParts.h"

#include <cmath>
#include <string>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseControl;
using platform::Tooltip;

// The simulator's token of the heading the standby compass card shows.
constexpr int32_t kCompassToken = 83;

// The card's place on its range: 360 - heading + 1, or 0 outside the range (so a heading just
// below 360 reads 1 degree off, and 0 reads as 1).
double compassOffset(double heading) {
    const double offset = 360.0 - heading + 1.0;
    return offset >= 0.0 && offset <= 360.0 ? offset : 0.0;
}

// The card turns as a strip of one image a degree, each showing the card in the window, so that
// it stays within its window wherever the panel puts it: image n shows n degrees, the heading
// that offset 361 - n brings under the lubber line.
constexpr int kCardImages = 360;

template <int Look>
double compassCard(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, inLook(aircraft, Look));
        const double shown = 361.0 - compassOffset(element.source.value);
        return std::fmod(std::floor(shown), 360.0);
    });
}

// The card through its window: marks every 5 degrees, labels every 30, the lubber line in the
// middle; a degree is two pixels.
void paintCompassCard(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = artwork.label[0] == 'L';
    canvas.fillRectangle(0xFF101010, {0, 0, double(artwork.width), double(artwork.height)});
    const platform::gfx::Argb ink = lit ? 0xFFFFF2B0 : 0xFFE8E8E8;
    const double centre = artwork.width / 2.0;
    constexpr double kPixelsPerDegree = 2.0;
    const int first = frame - 15 - (frame % 5);
    for (int heading = first; heading <= frame + 15; heading += 5) {
        const double x = centre + (heading - frame) * kPixelsPerDegree;
        const int shown = ((heading % 360) + 360) % 360;
        canvas.drawLine(platform::gfx::Pen{ink, 1.0}, {x, 0}, {x, shown % 10 == 0 ? 7.0 : 4.0});
        if (shown % 30 == 0) {
            const char* cardinal = shown == 0     ? "N"
                                   : shown == 90  ? "E"
                                   : shown == 180 ? "S"
                                   : shown == 270 ? "W"
                                                  : nullptr;
            drawEngraving(canvas, cardinal ? std::string(cardinal) : std::to_string(shown / 10), x,
                          9, 11, lit);
        }
    }
    canvas.drawLine(platform::gfx::Pen{0xFFFF8000, 1.5}, {centre, 0},
                    {centre, double(artwork.height)});
}

void paintCompassFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    canvas.fillRectangle(0xFF000000, {30, 4, 57, 32});
}

void paintMasterLight(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool warning = std::string(artwork.label) == "WARNING";
    const platform::gfx::Argb on = warning ? 0xFFFF2020 : 0xFFFFB000;
    const platform::gfx::Argb off = warning ? 0xFF401010 : 0xFF403010;
    canvas.fillRectangle(frame > 0 ? on : off,
                         {1, 1, double(artwork.width) - 2, double(artwork.height) - 2});
    drawEngraving(canvas, "MASTER", artwork.width / 2.0, 6, 7, frame > 0);
    drawEngraving(canvas, artwork.label, artwork.width / 2.0, 15, 7, frame > 0);
}

constexpr Artwork kCompassFace{"standby compass", 117, 40, 1, paintCompassFace, ""};
constexpr Artwork kCompassLit{"standby compass lighting", 117, 40, 2, paintCompassFace, ""};
constexpr Artwork kCardDay{"compass card", 53, 28, kCardImages, paintCompassCard, "D"};
constexpr Artwork kCardLit{"compass card lit", 53, 28, kCardImages, paintCompassCard, "L"};
constexpr Artwork kMasterFace{"master light", 30, 30, 1, paintBlank, ""};
constexpr Artwork kMasterLit{"master light lighting", 30, 30, 2, paintBlank, ""};
constexpr Artwork kWarningLight{"master warning", 30, 30, 2, paintMasterLight, "WARNING"};
constexpr Artwork kCautionLight{"master caution", 30, 30, 2, paintMasterLight, "CAUTION"};

template <int Look>
GaugeElement card(const Artwork& artwork, int x, int y) {
    GaugeElement element = iconElement(artwork, x, y, compassCard<Look>);
    element.sourceToken = kCompassToken;
    if (Look != Lights::kUnlit) {
        element.flags = platform::kImageHidden;
    }
    return element;
}

template <bool Warning>
double masterLight(GaugeElement&) {
    return readyValue([](const Aircraft& aircraft) {
        const EicasDau* dau = aircraft.eicasDau();
        return dau && (Warning ? dau->warningFlash : dau->cautionFlash) ? 1.0 : 0.0;
    });
}

template <bool Warning>
bool acknowledge(int, int, uint32_t) {
    return actOn(&Aircraft::eicasDau, [](EicasDau& dau) {
        if (Warning) {
            dau.acknowledgeWarnings();
        } else {
            dau.acknowledgeCautions();
        }
    });
}

const Tooltip kWarningTip{"Master Warning", nullptr};
const Tooltip kCautionTip{"Master Caution", nullptr};

} // namespace

std::vector<GaugeElement> compassCopyElements() {
    return {card<Lights::kUnlit>(kCardDay, 994, 13), card<Lights::kPanelLit>(kCardLit, 994, 13),
            card<Lights::kFloodLit>(kCardLit, 994, 13)};
}

std::vector<GaugeElement> masterLightCopyElements() {
    return {lampElement(kWarningLight, 374, 346, masterLight<true>),
            lampElement(kCautionLight, 417, 346, masterLight<false>)};
}

std::vector<MouseControl> masterLightCopyControls() {
    return {pushButton(375, 347, 30, 30, &kWarningTip, acknowledge<true>),
            pushButton(417, 347, 30, 30, &kCautionTip, acknowledge<false>)};
}

platform::GaugeHeader wiskeyGauge{
    .name = "Wiskey",
    .widthMm = 117,
    .callback = nullptr,
    .root = panelRoot(kCompassFace, kCompassLit,
                      {card<Lights::kUnlit>(kCardDay, 32, 6), card<kAnyLitLook>(kCardLit, 32, 6)}),
    .controls = {}};

platform::GaugeHeader cautionGauge{
    .name = "Caution",
    .widthMm = 30,
    .callback = nullptr,
    .root =
        panelRoot(kMasterFace, kMasterLit, {lampElement(kCautionLight, 0, 0, masterLight<false>)}),
    .controls = {pushButton(0, 0, 30, 30, &kCautionTip, acknowledge<false>)}};

platform::GaugeHeader warningGauge{
    .name = "Warning",
    .widthMm = 30,
    .callback = nullptr,
    .root =
        panelRoot(kMasterFace, kMasterLit, {lampElement(kWarningLight, 0, 0, masterLight<true>)}),
    .controls = {pushButton(0, 0, 30, 30, &kWarningTip, acknowledge<true>)}};

} // namespace tavi
