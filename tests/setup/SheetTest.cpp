#include "SheetFixture.h"
#include "support/FileSizeLimit.h"

#include <QMessageBox>
#include <sys/fsuid.h>
#include <unistd.h>

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

const std::vector<IniEntry> kPreferencesDefaults{
    {"FSUIPC", "disableAxes", "1"},
    {"Preferences", "pauseAtTod", "0"},
    {"Electric", "infiniteBattery", "0"},
};

// Every key, grouped by section in the order the pages first write them.
const std::vector<IniEntry> kAllDefaults{
    {"FSUIPC", "disableAxes", "1"},
    {"Preferences", "pauseAtTod", "0"},
    {"Preferences", "vBarOn", "0"},
    {"Preferences", "pressUseHpa", "0"},
    {"Preferences", "fuelUseKg", "0"},
    {"Electric", "infiniteBattery", "0"},
    {"GDI+", "lineSmoothing", "1"},
    {"GDI+", "textRenderingHint", "4"},
    {"GDI+", "gammaCorrection", "1"},
    {"GDI+", "colorBlending", "1"},
    {"FPS", "pfd", "100"},
    {"FPS", "mfd", "100"},
    {"FPS", "eicas", "100"},
    {"FPS", "rmu", "100"},
    {"FPS", "isi", "100"},
    {"FPS", "fms", "100"},
    {"Startup", "startupMode", "0"},
    {"Sound", "volume", "0"},
    {"Joystick", "tcsJoyButton", "0:0"},
    {"Joystick", "qdJoyButton", "0:-1"},
};

TEST_F(SheetTest, TheSheetShowsTheNinePagesWithOkAndCancelOnly) {
    openSheet();
    EXPECT_EQ(sheet->windowTitle(), "TAVI Configuration");
    QStringList captions;
    for (int tab = 0; tab < sheet->tabs().count(); ++tab) {
        captions << sheet->tabs().tabText(tab);
    }
    EXPECT_EQ(captions, QStringList({"Preferences", "Flight Director", "Pressure", "Weight",
                                     "Graphics", "Displays", "Startup", "Sound", "Joystick"}));
    QStringList buttons;
    for (QAbstractButton* button : sheet->findChild<QDialogButtonBox*>()->buttons()) {
        buttons << button->text().remove('&');
    }
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Cancel", "OK"}));
}

TEST_F(SheetTest, OkRightAfterStartWritesOnlyThePreferencesPage) {
    openSheet();
    pressOk();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(entries(), kPreferencesDefaults);
}

TEST_F(SheetTest, OkAfterEveryPageWasOpenedWritesEveryKeyWithItsDefault) {
    openSheet();
    openEveryPage();
    pressOk();
    EXPECT_EQ(entries(), kAllDefaults);
}

TEST_F(SheetTest, CancelWritesNothing) {
    for (const std::optional<std::string>& before :
         {std::optional<std::string>(), std::optional<std::string>("[Sound]\nvolume=-300\n")}) {
        if (before) {
            writeIni(*before);
        }
        openSheet();
        openEveryPage();
        click(buttonNamed(openPage("Preferences"), "Infinite battery"));
        QTest::keyClick(slidersOf(openPage("Sound"))[0], Qt::Key_PageDown);
        pressCancel();
        EXPECT_EQ(sheet->result(), QDialog::Rejected);
        EXPECT_EQ(fs::exists(iniPath), before.has_value());
        if (before) {
            EXPECT_EQ(iniText(), *before);
        }
    }
}

TEST_F(SheetTest, AChangeOnEveryPageReachesTheFile) {
    openSheet();
    click(buttonNamed(openPage("Preferences"), "Disable joystick axes when AP is on"));
    click(buttonNamed(openPage("Flight Director"), "V Shape"));
    click(buttonNamed(openPage("Pressure"), "HPA"));
    click(buttonNamed(openPage("Weight"), "Kilogram"));
    setup::SettingsPage& graphics = openPage("Graphics");
    click(buttonNamed(graphics, "Line Antialiasing"));
    click(buttonNamed(graphics, "ClearType (Win XP and later)"));
    click(buttonNamed(graphics, "Blend Colors"));
    slidersOf(openPage("Displays"))[2]->setValue(40);
    click(buttonNamed(openPage("Startup"), "Ready to Engine Start"));
    QTest::keyClick(slidersOf(openPage("Sound"))[0], Qt::Key_PageDown);
    openPage("Joystick");
    choose("TCS Button", [this](setup::CJoyDlg& dialog) {
        joysticks->states[3] = 0b1000'0000;
        dialog.poll();
    });
    choose("Autopilot Quick Disconnect Button", [](setup::CJoyDlg& dialog) { dialog.poll(); });
    pressOk();

    EXPECT_EQ(entries(), std::vector<IniEntry>({
                             {"FSUIPC", "disableAxes", "0"},
                             {"Preferences", "pauseAtTod", "0"},
                             {"Preferences", "vBarOn", "1"},
                             {"Preferences", "pressUseHpa", "1"},
                             {"Preferences", "fuelUseKg", "1"},
                             {"Electric", "infiniteBattery", "0"},
                             {"GDI+", "lineSmoothing", "0"},
                             {"GDI+", "textRenderingHint", "5"},
                             {"GDI+", "gammaCorrection", "1"},
                             {"GDI+", "colorBlending", "0"},
                             {"FPS", "pfd", "100"},
                             {"FPS", "mfd", "100"},
                             {"FPS", "eicas", "40"},
                             {"FPS", "rmu", "100"},
                             {"FPS", "isi", "100"},
                             {"FPS", "fms", "100"},
                             {"Startup", "startupMode", "1"},
                             {"Sound", "volume", "-500"},
                             {"Joystick", "tcsJoyButton", "3:7"},
                             {"Joystick", "qdJoyButton", "3:7"},
                         }));
}

TEST_F(SheetTest, ForeignSectionsKeysAndCommentsAreKept) {
    writeIni("; written by hand\n"
             "[Autopilot]\nmaxPitch=20\n"
             "[Preferences]\nuseDefaultAp=0\nvBarOn=1\n"
             "[GDI+]\npixelOffsetMode=0\n"
             "[TAVI.Pfd]\ndata.0=0A0B\n");
    openSheet();
    openEveryPage();
    pressOk();
    const std::string text = iniText();
    EXPECT_TRUE(text.starts_with("; written by hand\n[Autopilot]\nmaxPitch=20\n[Preferences]\n"
                                 "useDefaultAp=0\nvBarOn=1\n"))
        << text;
    const std::vector<IniEntry> written = entries();
    for (const IniEntry& kept :
         {IniEntry{"Autopilot", "maxPitch", "20"}, IniEntry{"Preferences", "useDefaultAp", "0"},
          IniEntry{"GDI+", "pixelOffsetMode", "0"}, IniEntry{"TAVI.Pfd", "data.0", "0A0B"}}) {
        EXPECT_NE(std::find(written.begin(), written.end(), kept), written.end()) << kept;
    }
    EXPECT_EQ(written.size(), kAllDefaults.size() + 4);
}

// The folder of the settings file can be read but not written, for root as well: root's
// file-system accesses run as an ordinary user while the folder is locked.
class LockedFolder {
public:
    explicit LockedFolder(fs::path folder) : path(std::move(folder)) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        if (::geteuid() == 0) {
            ::setfsuid(kNobody);
        }
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    ~LockedFolder() {
        if (::geteuid() == 0) {
            ::setfsuid(0);
        }
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
    }

    bool locked() const {
        const fs::path probe = path / "probe";
        FILE* file = std::fopen(probe.c_str(), "w");
        if (!file) {
            return true;
        }
        std::fclose(file);
        std::remove(probe.c_str());
        return false;
    }

private:
    static constexpr uid_t kNobody = 65534;
    fs::path path;
};

TEST_F(SheetTest, AnUnwritableFolderIsReportedAndTheOldFileStaysWhole) {
    const std::string before = "[Preferences]\npauseAtTod=1\n[Autopilot]\nmaxPitch=20\n";
    writeIni(before);
    {
        const LockedFolder lock(iniPath.parent_path());
        if (!lock.locked()) {
            GTEST_SKIP() << "the folder cannot be locked here";
        }
        openSheet();
        openEveryPage();
        click(buttonNamed(openPage("Preferences"), "Infinite battery"));
        pressOk();
    }
    EXPECT_EQ(iniText(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(iniPath.parent_path()), {}), 1)
        << "no file beside tavi.ini";
    auto* message = sheet->findChild<QMessageBox*>();
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains(QString::fromStdString(iniPath.string())))
        << message->text().toStdString();
    EXPECT_TRUE(sheet->isVisible()) << "the sheet stays open for another try";
}

TEST_F(SheetTest, AFullDiskLeavesTheOldFileWholeNotHalfWritten) {
    const std::string before = "[Preferences]\npauseAtTod=1\n";
    writeIni(before);
    openSheet();
    openEveryPage();
    {
        // Room for the first few keys, not for all of them.
        const FileSizeLimit diskFull(before.size() + 64);
        pressOk();
    }
    EXPECT_EQ(iniText(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(iniPath.parent_path()), {}), 1);
    ASSERT_NE(sheet->findChild<QMessageBox*>(), nullptr);
    EXPECT_TRUE(sheet->isVisible());
}

TEST_F(SheetTest, AMissingPanelFolderIsReported) {
    fs::remove(iniPath.parent_path());
    openSheet();
    pressOk();
    auto* message = sheet->findChild<QMessageBox*>();
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text().contains(QString::fromStdString(iniPath.string())));
    EXPECT_FALSE(fs::exists(iniPath.parent_path()));

    message->close();
    fs::create_directories(iniPath.parent_path());
    pressOk();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(entries(), kPreferencesDefaults);
}

} // namespace
} // namespace tavi::test
