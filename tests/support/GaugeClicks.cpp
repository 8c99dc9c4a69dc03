#include "support/GaugeClicks.h"

namespace tavi::test {

namespace {

platform::GaugeElement* findIn(platform::GaugeElement& element, std::string_view name) {
    if (element.artwork && name == element.artwork->name) {
        return &element;
    }
    for (platform::GaugeElement& child : element.children) {
        if (platform::GaugeElement* found = findIn(child, name)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

bool mouseEvent(const platform::GaugeHeader& gauge, double x, double y, uint32_t flags) {
    const auto hit = platform::findMouseArea(gauge, x, y, flags);
    return hit && hit->area->handler && hit->area->handler(hit->x, hit->y, flags);
}

bool leftClick(const platform::GaugeHeader& gauge, double x, double y) {
    return mouseEvent(gauge, x, y, platform::kMouseLeftSingle);
}

bool rightClick(const platform::GaugeHeader& gauge, double x, double y) {
    return mouseEvent(gauge, x, y, platform::kMouseRightSingle);
}

std::string tooltipAt(const platform::GaugeHeader& gauge, double x, double y) {
    const platform::MouseControl* control = platform::findControl(gauge, x, y);
    return control && control->tooltip ? platform::formatTooltip(*control->tooltip) : std::string();
}

platform::GaugeElement* findElement(platform::GaugeHeader& gauge, std::string_view artworkName) {
    return findIn(gauge.root, artworkName);
}

double elementValue(platform::GaugeElement& element) {
    return element.value ? element.value(element) : 0.0;
}

} // namespace tavi::test
