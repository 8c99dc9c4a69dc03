#pragma once

#include "platform/profile/Profile.h"
#include "setup/JoystickSource.h"
#include "setup/SoundPlayer.h"

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;

namespace tavi::setup {

class SettingsPage;

// The program's one window: the settings pages on tabs, with OK and Cancel. OK lets every page
// that was shown write its keys to the settings file and closes; Cancel closes and writes
// nothing. When the file cannot be written, OK says so, naming the file, and the sheet stays
// open.
class CTaviSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr char kCaption[] = "TAVI Configuration";

    CTaviSheet(std::filesystem::path settingsPath, std::unique_ptr<SoundPlayer> sound,
               std::unique_ptr<JoystickSource> joysticks, QWidget* parent = nullptr);
    ~CTaviSheet() override;

    // Settings reads: a missing file or key gives the default; a value keeps at most 63
    // characters; numbers are read as decimal text, 0 when there are no digits.
    int32_t readInt(const char* section, const char* key, int32_t defaultValue) const;
    bool readBool(const char* section, const char* key, bool defaultValue) const;
    std::string readString(const char* section, const char* key, const char* defaultValue) const;
    // Settings writes, made by the pages on OK: they reach the file together in one
    // replacement, so that a failure (a full disk, a locked folder) leaves the old file whole
    // rather than a part of the new values; OK then tells the user.
    void writeString(const char* section, const char* key, const std::string& value);
    void writeInt(const char* section, const char* key, int32_t value);
    void writeBool(const char* section, const char* key, bool value);

    const std::filesystem::path& settingsPath() const { return path; }
    SoundPlayer& sound() { return *soundPlayer; }
    JoystickSource& joysticks() { return *joystickSource; }
    QTabWidget& tabs() { return *tabWidget; }
    // In tab order.
    const std::vector<SettingsPage*>& pages() const { return pageList; }

public slots:
    void accept() override;

private:
    void addPage(SettingsPage* page);
    void reportWriteFailure();

    std::filesystem::path path;
    std::unique_ptr<SoundPlayer> soundPlayer;
    std::unique_ptr<JoystickSource> joystickSource;
    QTabWidget* tabWidget;
    std::vector<SettingsPage*> pageList;
    std::vector<platform::profile::Entry> pendingWrites;
};

} // namespace tavi::setup
