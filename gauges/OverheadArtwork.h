#pragma once

#include "platform/panel/Gauge.h"

// Painters of the overhead panel's own pictures; the standard strips come from
// gauges/ControlArtwork.h.
namespace tavi::overhead {

// The panel's plain metal under everything.
void paintPanelMetal(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// The panel's face, 2 images (day, lit): the areas with their titles and, around each control,
// its engraved title, position words, button cap or dial.
void paintPanelFace(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// A lighting overlay: nothing in its first half, its area's backlit legend (the label) in its
// second half.
void paintLightingOverlay(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                          int frame);
// The pointer of a selector, pointing along +x from the image's centre: the day and the night
// look.
void paintDayPointer(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
void paintNightPointer(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// A guarded button whose cover swings up above it: the button fills the bottom square of the
// image, the raised cover the space above; 8 images as the standard guarded button.
void paintHingedGuardButton(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                            int frame);
// The guard around a knob: 4 images (closed, open; dark then lit).
void paintKnobGuard(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// The guard's flap over the knob while it is closed: 2 images (dark, lit).
void paintGuardFlap(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// A lever of three positions (down, middle, up): 6 images, dark then lit.
void paintThreePositionLever(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                             int frame);
// Two light-switch levers side by side that move together: 4 images (off, on; dark then lit).
void paintTwinLightSwitch(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                          int frame);

} // namespace tavi::overhead
