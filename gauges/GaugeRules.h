#pragma once

#include "platform/panel/Gauge.h"

#include <cstdint>

namespace tavi {

class Aircraft;

// The rules every gauge callback shares.

// The aircraft when it exists and has finished its start-up, else null: every element, tooltip
// and mouse callback acts only when this is not null.
Aircraft* readyAircraft();

// 1 while the panel or flood lights are on, else 0.
int panelLit(const Aircraft& aircraft);

// Sets the element's bright flag while lit, clears it otherwise.
void setBright(platform::GaugeElement& element, bool lit);

// An icon with one lit image: that image with the bright flag while the panel is lit, image 0
// without it otherwise (0 before the aircraft is ready, the flags untouched).
double litImageIcon(platform::GaugeElement& element, int litImage);
// The background icon over most gauges' root image: 1 while the panel is lit, else 0, with the
// bright flag following.
double backgroundIcon(platform::GaugeElement& element);
// The main panel's background and screen bezels (3 images): the lighting itself, so that panel
// and flood lights show different images.
double mainPanelBackgroundIcon(platform::GaugeElement& element);

// Icon indexes of the standard controls; `lit` is panelLit().
double annunciatorIcon(bool condition, bool cockpitPowered);
double twoPositionSwitchIcon(bool on, int lit);
// Positions 0 (first), 1 (middle) and 2 (last).
double threePositionKnobIcon(int position, int lit);
double guardedButtonIcon(bool light, bool coverOpen, int lit);
double lightSwitchIcon(int position, int lit);

// The click sounds of the panel controls, played whatever the aural unit's power.
enum PanelClick : int32_t { kClickPushButton = 46, kClickKnob = 47, kClickLightSwitch = 48 };
void playClick(Aircraft& aircraft, PanelClick click);

// True for a right click (the large step of a knob, or a guard cover).
bool isRightClick(uint32_t flags);

} // namespace tavi
