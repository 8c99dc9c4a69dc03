#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/panel/Gauge.h"

namespace tavi {

// Painters of the standard control strips. Their images follow the icon indexes of
// gauges/GaugeRules.h: the first half of each strip is the daylight look, the second half (from
// the frame count / 2) the lit look of the same positions.

// The metal of knobs and levers, and their dark hubs.
inline constexpr platform::gfx::Argb kMetal = 0xFFB8BCC2;
inline constexpr platform::gfx::Argb kDarkMetal = 0xFF2A2C30;

// Which half of a dark-then-lit strip the frame is in, and the position within the half.
struct StripFrame {
    int position;
    bool lit;
};
StripFrame stripFrame(const platform::Artwork& artwork, int frame);

// 6 images: on, off, (unused) — dark then lit.
void paintToggleSwitch(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// 6 images: middle, first, last position — dark then lit.
void paintThreePositionKnob(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                            int frame);
// 8 images: light off/on with the cover closed, light off/on with the cover open — dark then lit.
void paintGuardedButton(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// 4 images: off, on — dark then lit.
void paintLightSwitch(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// 2 images: dark, lit; the label shows on the lit one.
void paintAnnunciator(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// A panel background of grey with the label engraved at its top; 2 images (day, lit) or 3 (day,
// panel lights, flood lights).
void paintPanelBackground(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                          int frame);

} // namespace tavi
