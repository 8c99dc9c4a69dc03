#include "platform/panel/Gauge.h"

#include "platform/panel/ImportTable.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace tavi::platform {

namespace {

bool holds(int x, int y, int width, int height, double px, double py) {
    return px >= x && py >= y && px < x + width && py < y + height;
}

// The argument the placeholder names (numbered from 1), or null when the array has none.
const TooltipArgument* argumentAt(const Tooltip& tooltip, int number) {
    if (!tooltip.arguments || number < 1 ||
        static_cast<std::size_t>(number) > tooltip.arguments->size()) {
        return nullptr;
    }
    return &(*tooltip.arguments)[static_cast<std::size_t>(number) - 1];
}

// The argument as the placeholder shows it; nothing when its text callback gives no text.
std::optional<std::string> formatArgument(const TooltipArgument* argument,
                                          std::string_view format) {
    if (!argument) {
        return std::string();
    }
    if (format == "s") {
        if (!argument->text) {
            return std::string();
        }
        const char* text = argument->text();
        if (!text) {
            return std::nullopt;
        }
        return std::string(text);
    }
    const double number = argument->number ? argument->number() : 0.0;
    if (!std::isfinite(number)) {
        return "---";
    }
    char buffer[64];
    if (format == "d") {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(std::trunc(number)));
    } else if (format == ".1f") {
        std::snprintf(buffer, sizeof buffer, "%.1f", number);
    } else if (format == ".0f") {
        std::snprintf(buffer, sizeof buffer, "%.0f", number);
    } else {
        return std::string();
    }
    return std::string(buffer);
}

} // namespace

const MouseControl* findControl(const GaugeHeader& gauge, double designX, double designY) {
    for (const MouseControl& control : gauge.controls) {
        if (holds(control.x, control.y, control.width, control.height, designX, designY)) {
            return &control;
        }
    }
    return nullptr;
}

std::optional<MouseHit> findMouseArea(const GaugeHeader& gauge, double designX, double designY,
                                      uint32_t event, double scale) {
    const MouseControl* control = findControl(gauge, designX, designY);
    if (!control) {
        return std::nullopt;
    }
    const double localX = designX - control->x;
    const double localY = designY - control->y;
    for (const MouseArea& area : control->areas) {
        if ((area.events & event) != 0 &&
            holds(area.x, area.y, area.width, area.height, localX, localY)) {
            return MouseHit{control, &area, static_cast<int>(std::lround(localX * scale)),
                            static_cast<int>(std::lround(localY * scale))};
        }
    }
    return std::nullopt;
}

std::string formatTooltip(const Tooltip& tooltip) {
    std::string result;
    const std::string_view text = tooltip.text ? tooltip.text : "";
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c != '%') {
            result += c;
            ++at;
            continue;
        }
        if (at + 1 < text.size() && text[at + 1] == '%') {
            result += '%';
            at += 2;
            continue;
        }
        // "%N!format!": anything else is kept as it stands.
        std::size_t digits = at + 1;
        int number = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
            number = number * 10 + (text[digits] - '0');
            ++digits;
        }
        const std::size_t open = digits;
        const std::size_t close =
            open < text.size() && text[open] == '!' ? text.find('!', open + 1) : std::string::npos;
        if (digits == at + 1 || close == std::string_view::npos) {
            result += c;
            ++at;
            continue;
        }
        const std::optional<std::string> argument =
            formatArgument(argumentAt(tooltip, number), text.substr(open + 1, close - open - 1));
        // A text callback gives no text while its system is not ready: a tooltip with an empty
        // gap says nothing true, so none is shown.
        if (!argument) {
            return {};
        }
        result += *argument;
        at = close + 1;
    }
    return result;
}

GaugeHeader* findGauge(const ModuleLinkage& linkage, std::string_view name) {
    for (GaugeHeader* gauge : linkage.gauges) {
        if (gauge && name == gauge->name) {
            return gauge;
        }
    }
    return nullptr;
}

} // namespace tavi::platform
