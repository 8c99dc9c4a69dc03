#pragma once

#include "sim/Panel.h"
#include "sim/PanelHost.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavi::sim {

// The gauges that show each screen on its own, in the order their pictures are written.
inline constexpr const char* kScreenGaugeNames[] = {
    "PFD", "PFD2", "MFD", "MFD2", "EICAS", "RMU1", "RMU2", "ISI", "VIV810", "Clock1", "Clock2"};

// Writes each screen as its own gauge shows it, with the gauge's window shown for the frame, to
// <folder>/<gauge>.png; answers the files written. The windows are put back as they were.
std::vector<std::filesystem::path> writeScreenPictures(Panel& panel, PanelHost& host,
                                                       const std::filesystem::path& folder);

// Writes each panel window of the layout with its gauges to <folder>/<title>.png, the title in
// lower case with dashes for spaces; answers the files written.
std::vector<std::filesystem::path> writePanelPictures(Panel& panel, PanelHost& host,
                                                      const std::filesystem::path& folder);

// The file name a window's title gives.
std::string pictureName(const std::string& title);

} // namespace tavi::sim
