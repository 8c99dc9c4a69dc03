#include "sim/PanelLayout.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace tavi::sim {

PanelLayoutError::PanelLayoutError(int line, const std::string& what)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + what : what),
      line(line) {}

namespace {

// Larger than any screen, and within what a drawing surface can hold.
constexpr int kLargestWindowPixels = 16384;

bool withinWindowSize(int pixels) {
    return pixels > 0 && pixels <= kLargestWindowPixels;
}

std::string restOf(std::istringstream& words) {
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

PanelWindow readWindow(std::istringstream& words, int line, bool virtualCockpit) {
    PanelWindow window;
    std::string shown = "hidden";
    if (virtualCockpit) {
        window.ident = PanelLayout::kVirtualCockpit;
        words >> window.width >> window.height;
    } else {
        words >> window.ident >> window.width >> window.height >> shown;
    }
    if (!words || window.width <= 0 || window.height <= 0 ||
        (shown != "shown" && shown != "hidden")) {
        throw PanelLayoutError(line, virtualCockpit
                                         ? "virtual-cockpit needs WIDTH HEIGHT TITLE"
                                         : "window needs IDENT WIDTH HEIGHT shown|hidden TITLE");
    }
    if (!withinWindowSize(window.width) || !withinWindowSize(window.height)) {
        throw PanelLayoutError(line, "a window is at most " + std::to_string(kLargestWindowPixels) +
                                         " pixels wide and high");
    }
    window.shown = shown == "shown";
    window.title = restOf(words);
    return window;
}

GaugePlacement readGauge(std::istringstream& words, int line) {
    GaugePlacement placement;
    words >> placement.gauge >> placement.x >> placement.y >> placement.width;
    if (!words || placement.width <= 0) {
        throw PanelLayoutError(line, "gauge needs NAME X Y WIDTH");
    }
    if (!withinWindowSize(placement.width) || std::abs(placement.x) > kLargestWindowPixels ||
        std::abs(placement.y) > kLargestWindowPixels) {
        throw PanelLayoutError(line, "gauge " + placement.gauge + " lies beyond any window");
    }
    return placement;
}

} // namespace

PanelLayout PanelLayout::parse(std::istream& in) {
    PanelLayout layout;
    std::set<int32_t> idents;
    std::set<std::string> gauges;
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        std::istringstream words(text);
        std::string keyword;
        if (!(words >> keyword) || keyword.front() == '#') {
            continue;
        }
        if (keyword == "window" || keyword == "virtual-cockpit") {
            layout.windows.push_back(readWindow(words, number, keyword == "virtual-cockpit"));
            if (!idents.insert(layout.windows.back().ident).second) {
                throw PanelLayoutError(number, "a second window with this ident");
            }
        } else if (keyword == "gauge") {
            if (layout.windows.empty()) {
                throw PanelLayoutError(number, "gauge before any window");
            }
            GaugePlacement placement = readGauge(words, number);
            // The simulator gives each gauge one surface: a gauge shows in one place.
            if (!gauges.insert(placement.gauge).second) {
                throw PanelLayoutError(number, "gauge " + placement.gauge + " placed twice");
            }
            layout.windows.back().gauges.push_back(std::move(placement));
        } else {
            throw PanelLayoutError(number, "unknown keyword " + keyword);
        }
    }
    if (layout.windows.empty()) {
        throw PanelLayoutError(0, "the layout holds no panel window");
    }
    return layout;
}

PanelLayout PanelLayout::read(const std::string& path) {
    // A folder or a pipe is no layout; opening a pipe would wait for a writer for good.
    std::error_code error;
    if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
        throw PanelLayoutError(0, "the panel layout " + path + " is not a file");
    }
    std::ifstream in(path);
    if (!in) {
        throw PanelLayoutError(0, "cannot read the panel layout " + path);
    }
    return parse(in);
}

const PanelWindow* PanelLayout::window(int32_t ident) const {
    for (const PanelWindow& window : windows) {
        if (window.ident == ident) {
            return &window;
        }
    }
    return nullptr;
}

} // namespace tavi::sim
