#include "sim/PanelPictures.h"

#include <cctype>
#include <map>

namespace tavi::sim {

namespace {

// A frame the screens' frame throttle holds back is drawn at one of the next ones.
constexpr int kFramesPerPicture = 3;

// Shows the window (the virtual cockpit by hiding the main panel) for the duration, and puts
// every window back as it was.
class ShownWindow {
public:
    ShownWindow(Panel& panel, const PanelLayout& layout, int32_t window) : panel(panel) {
        for (const PanelWindow& each : layout.windows) {
            if (each.ident != PanelLayout::kVirtualCockpit) {
                before[each.ident] = panel.isPanelWindowOpen(each.ident);
            }
        }
        if (window == PanelLayout::kVirtualCockpit) {
            panel.closePanelWindow(0);
        } else {
            panel.openPanelWindow(window);
        }
    }
    ~ShownWindow() {
        for (const auto& [ident, open] : before) {
            panel.setPanelWindowOpen(ident, open);
        }
    }
    ShownWindow(const ShownWindow&) = delete;
    ShownWindow& operator=(const ShownWindow&) = delete;

private:
    Panel& panel;
    std::map<int32_t, bool> before;
};

const PanelWindow* windowOf(const PanelLayout& layout, std::string_view gauge) {
    for (const PanelWindow& window : layout.windows) {
        for (const GaugePlacement& placement : window.gauges) {
            if (placement.gauge == gauge) {
                return &window;
            }
        }
    }
    return nullptr;
}

void drawFrames(PanelHost& host) {
    for (int i = 0; i < kFramesPerPicture; ++i) {
        host.frame();
    }
}

} // namespace

std::string pictureName(const std::string& title) {
    std::string name;
    for (const char c : title) {
        name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name.empty() ? "window" : name;
}

std::vector<std::filesystem::path> writeScreenPictures(Panel& panel, PanelHost& host,
                                                       const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> written;
    for (const char* gauge : kScreenGaugeNames) {
        const PanelWindow* window = windowOf(host.layout(), gauge);
        if (!window) {
            continue;
        }
        ShownWindow shown(panel, host.layout(), window->ident);
        drawFrames(host);
        const auto picture = host.gaugePicture(gauge);
        const auto path = folder / (std::string(gauge) + ".png");
        if (picture && picture->writePng(path.string())) {
            written.push_back(path);
        }
    }
    return written;
}

std::vector<std::filesystem::path> writePanelPictures(Panel& panel, PanelHost& host,
                                                      const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> written;
    for (const PanelWindow& window : host.layout().windows) {
        ShownWindow shown(panel, host.layout(), window.ident);
        drawFrames(host);
        const platform::gfx::Surface* picture = host.picture(window.ident);
        const auto path = folder / (pictureName(window.title) + ".png");
        if (picture && picture->writePng(path.string())) {
            written.push_back(path);
        }
    }
    return written;
}

} // namespace tavi::sim
