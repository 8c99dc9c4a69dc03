#include "gauges/MainPanelControls.h"

namespace tavi {

std::vector<platform::GaugeElement> mainPanelControlElements() {
    return {};
}

std::vector<platform::MouseControl> mainPanelControls() {
    return {};
}

} // namespace tavi
