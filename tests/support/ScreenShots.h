#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavi {
class Aircraft;
class PanelElement;
namespace platform::gfx {
class Surface;
}
} // namespace tavi

namespace tavi::test {

// Draws every screen the aircraft holds at its logical size times the scale and writes it to
// <folder>/<gauge name>.png, as the screen's gauge would show it; answers the files written.
std::vector<std::filesystem::path> writeScreens(const Aircraft& aircraft,
                                                const std::filesystem::path& folder, int scale = 1);

// Draws the screen onto the surface, at its logical size, until its frame throttle lets a draw
// through; false when none did.
bool drawScreen(PanelElement& screen, int displayId, platform::gfx::Surface& surface);

// Draws the screen of the display slot in a named state of the aircraft and writes it to
// <folder>/<gauge name>-<state>.png, and a copy into the folder that TAVI_SCREENS names, if any,
// for a person to look at; answers the file written, or empty.
std::filesystem::path writeScreenState(const Aircraft& aircraft, int displayId,
                                       const std::filesystem::path& folder,
                                       const std::string& state, int scale = 2);

// Copies a picture under the name into the folder that TAVI_SCREENS names, if any, making the
// folder when it does not exist yet.
void keepScreenPicture(const std::filesystem::path& picture, const std::string& name);

// The name of the gauge that shows the screen of the display slot, or empty.
std::string screenName(int displayId);

} // namespace tavi::test
