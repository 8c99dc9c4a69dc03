#include "SheetFixture.h"
#include "support/ModuleHarness.h"

#include <cstdio>

namespace tavi::test {
namespace {

// A key as the module reads it: with its own default, as a number or as "%d:%d".
struct ModuleRead {
    const char* section;
    const char* key;
    const char* moduleDefault;
    const char* whenChanged;
    const char* byDefault;
};

// The module's defaults differ from the program's for vBarOn (1) and qdJoyButton ("0:0"), so a
// key the module did not find would show.
const std::vector<ModuleRead> kModuleReads{
    {"FSUIPC", "disableAxes", "1", "0", "1"},
    {"Preferences", "pauseAtTod", "0", "1", "0"},
    {"Electric", "infiniteBattery", "0", "1", "0"},
    {"Preferences", "vBarOn", "1", "0", "0"},
    {"Preferences", "pressUseHpa", "0", "1", "0"},
    {"Preferences", "fuelUseKg", "0", "1", "0"},
    {"GDI+", "lineSmoothing", "1", "0", "1"},
    {"GDI+", "textRenderingHint", "4", "2", "4"},
    {"GDI+", "gammaCorrection", "1", "0", "1"},
    {"GDI+", "colorBlending", "1", "0", "1"},
    {"FPS", "pfd", "100", "10", "100"},
    {"FPS", "mfd", "100", "20", "100"},
    {"FPS", "eicas", "100", "40", "100"},
    {"FPS", "rmu", "100", "50", "100"},
    {"FPS", "isi", "100", "60", "100"},
    {"FPS", "fms", "100", "70", "100"},
    {"Startup", "startupMode", "0", "2", "0"},
    {"Sound", "volume", "0", "-2500", "0"},
    {"Joystick", "tcsJoyButton", "0:0", "1:2", "0:0"},
    {"Joystick", "qdJoyButton", "0:0", "3:7", "0:-1"},
};

// The program writes the settings file of the module, which then starts on it.
class RoundTripTest : public SheetTest {
protected:
    RoundTripTest() { iniPath = module.iniPath(); }

    // What the module makes of a key: numbers as decimal text, assignments as two numbers.
    std::string moduleValue(const ModuleRead& read) {
        const Aircraft& aircraft = module.aircraft();
        const std::string fallback = read.moduleDefault;
        if (fallback.find(':') == std::string::npos) {
            return std::to_string(aircraft.readIniInt(read.section, read.key, std::stoi(fallback)));
        }
        const std::string text = aircraft.readIniString(read.section, read.key, fallback.c_str());
        int joystick = 0;
        int button = 0;
        if (std::sscanf(text.c_str(), "%d:%d", &joystick, &button) != 2) {
            return "unreadable " + text;
        }
        return std::to_string(joystick) + ":" + std::to_string(button);
    }

    void expectModuleReads(const char* ModuleRead::*expected) {
        module.init();
        for (const ModuleRead& read : kModuleReads) {
            EXPECT_EQ(moduleValue(read), read.*expected) << read.section << " " << read.key;
        }
    }

    ModuleHarness module;
};

TEST_F(RoundTripTest, TheModuleReadsEveryChangedValue) {
    openSheet();
    setup::SettingsPage& preferences = openPage("Preferences");
    click(buttonNamed(preferences, "Disable joystick axes when AP is on"));
    click(buttonNamed(preferences, "Pause FS at 20nm before TOD"));
    click(buttonNamed(preferences, "Infinite battery"));
    click(buttonNamed(openPage("Flight Director"), "Bars"));
    click(buttonNamed(openPage("Pressure"), "HPA"));
    click(buttonNamed(openPage("Weight"), "Kilogram"));
    setup::SettingsPage& graphics = openPage("Graphics");
    click(buttonNamed(graphics, "Line Antialiasing"));
    click(buttonNamed(graphics, "No Hinting"));
    click(buttonNamed(graphics, "Gamma Correction (2.2)"));
    click(buttonNamed(graphics, "Blend Colors"));
    const std::vector<QSlider*> rates = slidersOf(openPage("Displays"));
    const std::array<int, 6> percentages{10, 20, 40, 50, 60, 70};
    ASSERT_EQ(rates.size(), percentages.size());
    for (std::size_t screen = 0; screen < rates.size(); ++screen) {
        rates[screen]->setValue(percentages[screen]);
    }
    click(buttonNamed(openPage("Startup"), "Running Engines"));
    QSlider& volume = *slidersOf(openPage("Sound"))[0];
    for (int step = 0; step < 5; ++step) {
        QTest::keyClick(&volume, Qt::Key_PageDown);
    }
    openPage("Joystick");
    choose("TCS Button", [this](setup::CJoyDlg& dialog) {
        joysticks->states[1] = 0b100;
        dialog.poll();
    });
    choose("Autopilot Quick Disconnect Button", [this](setup::CJoyDlg& dialog) {
        joysticks->states[1] = std::nullopt;
        joysticks->states[3] = 0b1000'0000;
        dialog.poll();
    });
    pressOk();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    expectModuleReads(&ModuleRead::whenChanged);
}

TEST_F(RoundTripTest, TheModuleReadsTheProgramsDefaults) {
    openSheet();
    openEveryPage();
    pressOk();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    expectModuleReads(&ModuleRead::byDefault);
}

} // namespace
} // namespace tavi::test
