#include "gauges/Gauges.h"
#include "gauges/OverheadArtwork.h"
#include "gauges/OverheadControls.h"

// The overhead panel: from left to right the electrical panel, the fuel panel, the APU and
// engine controls, the flight controls and hydraulics, and the anti-ice, air conditioning and
// bleed air; the light switches along its bottom edge.
namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;

constexpr int kWidth = 1600;
constexpr int kHeight = 810;

constexpr Artwork kOverheadMetal{"Overhead", kWidth, kHeight, 1, overhead::paintPanelMetal, ""};
constexpr Artwork kFace{"Overhead panel", kWidth, kHeight, 2, overhead::paintPanelFace, ""};

std::vector<overhead::Area> areas() {
    return {overhead::electricalArea(), overhead::engineAndFuelArea(),
            overhead::hydraulicsAndLightsArea(), overhead::airConditioningArea()};
}

// The panel's face over its metal; on the face the lighting overlays, then every control.
GaugeElement overheadRoot() {
    GaugeElement face = iconElement(kFace, 0, 0, backgroundIcon);
    const std::vector<overhead::Area> parts = areas();
    for (const overhead::Area& area : parts) {
        face.children.insert(face.children.end(), area.overlays.begin(), area.overlays.end());
    }
    for (const overhead::Area& area : parts) {
        face.children.insert(face.children.end(), area.elements.begin(), area.elements.end());
    }
    GaugeElement root;
    root.kind = platform::ElementKind::StaticImage;
    root.artwork = &kOverheadMetal;
    root.children.push_back(std::move(face));
    return root;
}

std::vector<platform::MouseControl> overheadControls() {
    std::vector<platform::MouseControl> controls;
    for (overhead::Area& area : areas()) {
        for (overhead::Control& control : area.controls) {
            controls.push_back(std::move(control.mouse));
        }
    }
    return controls;
}

} // namespace

platform::GaugeHeader overheadGauge{.name = "Overhead",
                                    .widthMm = 1600,
                                    .callback = nullptr,
                                    .root = overheadRoot(),
                                    .controls = overheadControls()};

} // namespace tavi
