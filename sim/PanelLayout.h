#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavi::sim {

class PanelLayoutError : public std::runtime_error {
public:
    PanelLayoutError(int line, const std::string& what);
    int line;
};

// A gauge in a panel window: its top-left corner and its width in the window's pixels; its
// height follows the gauge's own proportions.
struct GaugePlacement {
    std::string gauge;
    int x = 0;
    int y = 0;
    int width = 0;
};

struct PanelWindow {
    int32_t ident = 0;
    std::string title;
    int width = 0;
    int height = 0;
    // Shown when the flight starts.
    bool shown = false;
    std::vector<GaugePlacement> gauges;
};

// The panel windows of the aircraft and the gauges in each, as the layout file gives them
// (data/panel-layout.txt describes the format). The virtual cockpit is the window on show while
// the main panel is hidden.
struct PanelLayout {
    static constexpr int32_t kVirtualCockpit = -1;

    std::vector<PanelWindow> windows;

    static PanelLayout parse(std::istream& in);
    static PanelLayout read(const std::string& path);
    const PanelWindow* window(int32_t ident) const;
};

} // namespace tavi::sim
