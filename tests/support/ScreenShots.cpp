#include "support/ScreenShots.h"

#include "core/Aircraft.h"
#include "displays/PanelElement.h"
#include "platform/gfx/Surface.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace tavi::test {

namespace {

constexpr int kDrawAttempts = 3;

} // namespace

std::string screenName(int displayId) {
    static const std::array<const char*, Aircraft::kDisplaySlots> kNames = {
        "",     "Pfd1", "Pfd2", "Mfd1", "Mfd2",   "Eicas",
        "Rmu1", "Rmu2", "Isi",  "Cdu",  "Clock1", "Clock2"};
    if (displayId < 0 || displayId >= Aircraft::kDisplaySlots) {
        return {};
    }
    return kNames[static_cast<std::size_t>(displayId)];
}

bool drawScreen(PanelElement& screen, int displayId, platform::gfx::Surface& surface) {
    const LogicalSize size = PanelElement::logicalSize(displayId);
    surface.setLogicalSize(size.width, size.height);
    surface.changed = false;
    for (int attempt = 0; attempt < 10 && !surface.changed; ++attempt) {
        screen.draw(surface, surface.pixelWidth(), surface.pixelHeight(), false);
    }
    return surface.changed;
}

std::filesystem::path writeScreenState(const Aircraft& aircraft, int displayId,
                                       const std::filesystem::path& folder,
                                       const std::string& state, int scale) {
    PanelElement* screen = aircraft.display(displayId);
    const LogicalSize size = PanelElement::logicalSize(displayId);
    if (!screen || size.width <= 0.0f) {
        return {};
    }
    platform::gfx::Surface surface(static_cast<int>(std::lround(size.width * scale)),
                                   static_cast<int>(std::lround(size.height * scale)));
    const auto path = folder / (screenName(displayId) + "-" + state + ".png");
    if (!drawScreen(*screen, displayId, surface) || !surface.writePng(path.string())) {
        return {};
    }
    keepScreenPicture(path, path.filename().string());
    return path;
}

void keepScreenPicture(const std::filesystem::path& picture, const std::string& name) {
    const char* keep = std::getenv("TAVI_SCREENS");
    if (!keep) {
        return;
    }
    const std::filesystem::path folder(keep);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(picture, folder / name,
                               std::filesystem::copy_options::overwrite_existing);
}

std::vector<std::filesystem::path> writeScreens(const Aircraft& aircraft,
                                                const std::filesystem::path& folder, int scale) {
    std::vector<std::filesystem::path> written;
    for (int id = 1; id < Aircraft::kDisplaySlots; ++id) {
        PanelElement* screen = aircraft.display(id);
        const LogicalSize size = PanelElement::logicalSize(id);
        if (!screen || size.width <= 0.0f) {
            continue;
        }
        const int width = static_cast<int>(std::lround(size.width * scale));
        const int height = static_cast<int>(std::lround(size.height * scale));
        platform::gfx::Surface surface(width, height);
        surface.setLogicalSize(size.width, size.height);
        // A screen held back by its frame rate draws at one of the next calls.
        surface.changed = false;
        for (int attempt = 0; attempt < kDrawAttempts && !surface.changed; ++attempt) {
            screen->draw(surface, width, height, false);
        }
        const auto path = folder / (screenName(id) + ".png");
        if (surface.writePng(path.string())) {
            written.push_back(path);
        }
    }
    return written;
}

} // namespace tavi::test
