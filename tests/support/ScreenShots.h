#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavi {
class Aircraft;
}

namespace tavi::test {

// Draws every screen the aircraft holds at its logical size times the scale and writes it to
// <folder>/<gauge name>.png, as the screen's gauge would show it; answers the files written.
std::vector<std::filesystem::path> writeScreens(const Aircraft& aircraft,
                                                const std::filesystem::path& folder, int scale = 1);

// The name of the gauge that shows the screen of the display slot, or empty.
std::string screenName(int displayId);

} // namespace tavi::test
