#include "gauges/GaugeRules.h"

#include "airframe/Lights.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"

namespace tavi {

Aircraft* readyAircraft() {
    return theAircraft && theAircraft->initialised ? theAircraft : nullptr;
}

int panelLit(const Aircraft& aircraft) {
    const Lights* lights = aircraft.lights();
    return lights && lights->panelLighting != Lights::kUnlit ? 1 : 0;
}

void setBright(platform::GaugeElement& element, bool lit) {
    if (lit) {
        element.flags |= platform::kImageBright;
    } else {
        element.flags &= ~platform::kImageBright;
    }
}

double litImageIcon(platform::GaugeElement& element, int litImage) {
    const Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return 0.0;
    }
    const int lit = panelLit(*aircraft);
    setBright(element, lit != 0);
    return litImage * lit;
}

double backgroundIcon(platform::GaugeElement& element) {
    return litImageIcon(element, 1);
}

double mainPanelBackgroundIcon(platform::GaugeElement& element) {
    const Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return 0.0;
    }
    const Lights* lights = aircraft->lights();
    const int lighting = lights ? lights->panelLighting : Lights::kUnlit;
    setBright(element, lighting != Lights::kUnlit);
    return lighting;
}

double annunciatorIcon(bool condition, bool cockpitPowered) {
    return condition && cockpitPowered ? 1.0 : 0.0;
}

double twoPositionSwitchIcon(bool on, int lit) {
    return (on ? 0 : 1) + 3 * lit;
}

double threePositionKnobIcon(int position, int lit) {
    const int image = position == 1 ? 0 : position == 0 ? 1 : 2;
    return image + 3 * lit;
}

double guardedButtonIcon(bool light, bool coverOpen, int lit) {
    return (light ? 1 : 0) + (coverOpen ? 2 : 0) + 4 * lit;
}

double lightSwitchIcon(int position, int lit) {
    return position + 2 * lit;
}

void playClick(Aircraft& aircraft, PanelClick click) {
    if (Aws* aws = aircraft.aws()) {
        aws->play(static_cast<SoundId>(click), true);
    }
}

bool isRightClick(uint32_t flags) {
    return (flags & platform::kMouseRightSingle) != 0;
}

} // namespace tavi
