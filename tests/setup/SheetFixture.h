#pragma once

#include "setup/CJoyDlg.h"
#include "setup/CTaviSheet.h"
#include "setup/SettingsPage.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavi::test {

// Joysticks whose buttons the test sets; absent until given a state.
class FakeJoysticks : public setup::JoystickSource {
public:
    std::optional<uint32_t> buttons(int joystick) override {
        ++reads;
        return states.at(static_cast<std::size_t>(joystick));
    }

    std::array<std::optional<uint32_t>, kJoystickCount> states{};
    int reads = 0;
};

// Keeps the volume and records the volume of every play.
class RecordingSound : public setup::SoundPlayer {
public:
    void setVolume(int32_t volume) override {
        current = volume;
        applied.push_back(volume);
    }
    int32_t volume() const override { return current; }
    bool play() override {
        plays.push_back(current);
        return true;
    }

    int32_t current = 0;
    std::vector<int32_t> applied;
    std::vector<int32_t> plays;
};

// One "key=value" line of a settings file, with its section.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const IniEntry&) const = default;
};
std::ostream& operator<<(std::ostream& out, const IniEntry& entry);

// The entries of a settings file in file order.
std::vector<IniEntry> readEntries(const std::filesystem::path& file);
// The value of the first entry of that section and key (names without case), or "(missing)".
std::string valueOf(const std::vector<IniEntry>& entries, const std::string& section,
                    const std::string& key);

// The settings sheet on a settings file in <folder>/panel, with fake joysticks and sound.
class SheetTest : public testing::Test {
protected:
    SheetTest();
    ~SheetTest() override;

    // Builds the sheet (reading the file as it is now) and shows it.
    setup::CTaviSheet& openSheet();
    // Shows the page with the caption, so that it reads its keys.
    setup::SettingsPage& openPage(const QString& caption);
    void openEveryPage();
    void pressOk();
    void pressCancel();
    // Clicks "Choose" of the group and lets the action drive the capture dialog; the dialog is
    // cancelled afterwards when the action left it open.
    void choose(const QString& group, const std::function<void(setup::CJoyDlg&)>& action);

    void writeIni(const std::string& text) const;
    std::string iniText() const { return TempFolder::read(iniPath); }
    std::vector<IniEntry> entries() const { return readEntries(iniPath); }

    TempFolder folder;
    std::filesystem::path iniPath;
    FakeJoysticks* joysticks = nullptr;
    RecordingSound* sound = nullptr;
    std::unique_ptr<setup::CTaviSheet> sheet;
};

// Controls of a page found by their text.
QAbstractButton& buttonNamed(QWidget& parent, const QString& text);
QLabel& labelInGroup(QWidget& page, const QString& group);
QAbstractButton& buttonInGroup(QWidget& page, const QString& group, const QString& text);
std::vector<QSlider*> slidersOf(QWidget& page);
void click(QAbstractButton& button);

} // namespace tavi::test
