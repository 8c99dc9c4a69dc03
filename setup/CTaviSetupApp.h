#pragma once

#include <QStringList>
#include <filesystem>

class QApplication;

namespace tavi::setup {

// The program: finds the settings file, shows the sheet until OK or Cancel, and ends.
class CTaviSetupApp {
public:
    // The file of the option "--ini PATH", else tavi.ini in the folder "panel" below the
    // program's folder.
    static std::filesystem::path settingsPath(const QStringList& arguments,
                                              const std::filesystem::path& programFolder);

    // Ends the process with a message on --help and on arguments it does not know.
    int run(QApplication& application);
};

} // namespace tavi::setup
