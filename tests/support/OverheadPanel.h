#pragma once

#include "airframe/Lights.h"
#include "gauges/Gauges.h"
#include "support/AirframeScenario.h"
#include "support/GaugeClicks.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavi::test {

// The overhead panel's gauge on the running module, in start-up mode 0 (dark and cold) unless
// the settings say otherwise: clicks at points of the gauge, what its elements and tooltips show,
// and the click sounds the panel made.
class OverheadPanel {
public:
    static constexpr SoundId kPushButtonClick = 46;
    static constexpr SoundId kKnobClick = 47;
    static constexpr SoundId kLightSwitchClick = 48;

    explicit OverheadPanel(const std::string& ini = "") : scenario(ini) {}

    Aircraft& aircraft() { return scenario.aircraft(); }
    platform::GaugeHeader& gauge() { return overheadGauge; }

    bool click(double x, double y) { return leftClick(overheadGauge, x, y); }
    bool rightClick(double x, double y) { return test::rightClick(overheadGauge, x, y); }
    bool event(double x, double y, uint32_t flags) {
        return mouseEvent(overheadGauge, x, y, flags);
    }
    std::string tooltip(double x, double y) { return tooltipAt(overheadGauge, x, y); }

    platform::GaugeElement& element(const char* artworkName) {
        platform::GaugeElement* found = findElement(overheadGauge, artworkName);
        if (!found) {
            throw std::runtime_error(std::string("no element ") + artworkName);
        }
        return *found;
    }
    double value(const char* artworkName) { return elementValue(element(artworkName)); }
    bool bright(const char* artworkName) {
        return (element(artworkName).flags & platform::kImageBright) != 0;
    }
    bool hidden(const char* artworkName) {
        return (element(artworkName).flags & platform::kImageHidden) != 0;
    }

    // The panel lights on or off, as the lights system keeps them.
    void setPanelLights(bool on) {
        aircraft().lights()->panelLighting = on ? Lights::kPanelLit : Lights::kUnlit;
    }

    // The click sounds heard since the last call, in the order 46, 47, 48.
    std::vector<SoundId> clicksHeard() {
        std::vector<SoundId> heard;
        for (const SoundId id : {kPushButtonClick, kKnobClick, kLightSwitchClick}) {
            if (scenario.sounds().isPlaying(id)) {
                heard.push_back(id);
                scenario.sounds().stop(id);
            }
        }
        return heard;
    }

    // Every element of the gauge's tree, depth first.
    std::vector<platform::GaugeElement*> allElements() {
        std::vector<platform::GaugeElement*> all;
        collect(overheadGauge.root, all);
        return all;
    }

    AirframeScenario scenario;

private:
    static void collect(platform::GaugeElement& element,
                        std::vector<platform::GaugeElement*>& all) {
        all.push_back(&element);
        for (platform::GaugeElement& child : element.children) {
            collect(child, all);
        }
    }
};

} // namespace tavi::test
