#include "SheetFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

namespace tavi::test {
namespace {

QStringList checkedButtons(QWidget& page) {
    QStringList checked;
    for (QAbstractButton* button : page.findChildren<QAbstractButton*>()) {
        if (button->isCheckable() && button->isChecked()) {
            checked << button->text();
        }
    }
    return checked;
}

// A stored value, what its page shows, and what OK writes back untouched.
struct StoredValue {
    const char* ini;
    const char* page;
    QStringList checked;
    const char* section;
    const char* key;
    const char* saved;
};

class StoredValueTest : public SheetTest, public testing::WithParamInterface<StoredValue> {};

TEST_P(StoredValueTest, IsShownAndWrittenBack) {
    const StoredValue& stored = GetParam();
    writeIni(stored.ini);
    openSheet();
    QStringList checked = checkedButtons(openPage(stored.page));
    checked.sort();
    EXPECT_EQ(checked, stored.checked);
    pressOk();
    EXPECT_EQ(valueOf(entries(), stored.section, stored.key), stored.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, StoredValueTest,
    testing::Values(
        StoredValue{"[FSUIPC]\ndisableAxes=1\n[Electric]\ninfiniteBattery=abc\n",
                    "Preferences",
                    {"Disable joystick axes when AP is on"},
                    "FSUIPC",
                    "disableAxes",
                    "1"},
        StoredValue{"[Electric]\ninfiniteBattery= -7 \n",
                    "Preferences",
                    {"Disable joystick axes when AP is on", "Infinite battery"},
                    "Electric",
                    "infiniteBattery",
                    "1"},
        // The screens draw V bars only for exactly 1; the program shows any other non-zero
        // number as V bars and saves it as 1.
        StoredValue{"[Preferences]\nvBarOn=2\n",
                    "Flight Director",
                    {"V Shape"},
                    "Preferences",
                    "vBarOn",
                    "1"},
        StoredValue{"", "Flight Director", {"Bars"}, "Preferences", "vBarOn", "0"},
        StoredValue{"[preferences]\nPRESSUSEHPA=1\n",
                    "Pressure",
                    {"HPA"},
                    "Preferences",
                    "pressUseHpa",
                    "1"},
        StoredValue{
            "[Preferences]\nfuelUseKg=0\n", "Weight", {"Pound"}, "Preferences", "fuelUseKg", "0"},
        StoredValue{"[GDI+]\ntextRenderingHint=9\nlineSmoothing=0\n",
                    "Graphics",
                    {"Blend Colors", "Gamma Correction (2.2)"},
                    "GDI+",
                    "textRenderingHint",
                    "9"},
        StoredValue{"[GDI+]\ntextRenderingHint=2\n",
                    "Graphics",
                    {"Blend Colors", "Gamma Correction (2.2)", "Line Antialiasing", "No Hinting"},
                    "GDI+",
                    "textRenderingHint",
                    "2"},
        StoredValue{"[Startup]\nstartupMode=2\n",
                    "Startup",
                    {"Running Engines"},
                    "Startup",
                    "startupMode",
                    "2"},
        StoredValue{"[Startup]\nstartupMode=5\n", "Startup", {}, "Startup", "startupMode", "5"},
        StoredValue{"[FPS]\neicas=250\n", "Displays", {}, "FPS", "eicas", "100"},
        StoredValue{"[FPS]\nmfd=-3\n", "Displays", {}, "FPS", "mfd", "0"},
        StoredValue{"[Sound]\nvolume=500\n", "Sound", {}, "Sound", "volume", "500"},
        StoredValue{"[Sound]\nvolume=-2500dB\n", "Sound", {}, "Sound", "volume", "-2500"}));

TEST_F(SheetTest, ARadioClickReplacesAStoredValueThatNoButtonStandsFor) {
    writeIni("[GDI+]\ntextRenderingHint=9\n");
    openSheet();
    click(buttonNamed(openPage("Graphics"), "Hinting"));
    pressOk();
    EXPECT_EQ(valueOf(entries(), "GDI+", "textRenderingHint"), "1");
}

TEST_F(SheetTest, TheDisplaysPageSavesEachSlidersOwnPosition) {
    writeIni("[FPS]\npfd=10\nmfd=20\neicas=30\nrmu=40\nisi=50\nfms=60\n");
    openSheet();
    const std::vector<QSlider*> sliders = slidersOf(openPage("Displays"));
    ASSERT_EQ(sliders.size(), 6u);
    for (std::size_t screen = 0; screen < sliders.size(); ++screen) {
        EXPECT_EQ(sliders[screen]->value(), 10 * static_cast<int>(screen + 1));
        EXPECT_EQ(sliders[screen]->tickPosition(), QSlider::NoTicks);
    }
    sliders[2]->setValue(45);
    pressOk();
    const std::vector<IniEntry> written = entries();
    const std::vector<std::pair<std::string, std::string>> expected{
        {"pfd", "10"}, {"mfd", "20"}, {"eicas", "45"}, {"rmu", "40"}, {"isi", "50"}, {"fms", "60"}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(valueOf(written, "FPS", key), value) << key;
    }
}

TEST_F(SheetTest, TheTwoWayPagesShowAPictureOfTheChosenOption) {
    openSheet();
    setup::SettingsPage& page = openPage("Flight Director");
    QLabel* picture = nullptr;
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            picture = label;
        }
    }
    ASSERT_NE(picture, nullptr);
    const QImage bars = picture->pixmap().toImage();
    click(buttonNamed(page, "V Shape"));
    const QImage vShape = picture->pixmap().toImage();
    EXPECT_FALSE(bars.isNull());
    EXPECT_NE(bars, vShape);
    click(buttonNamed(page, "Bars"));
    EXPECT_EQ(picture->pixmap().toImage(), bars);
}

} // namespace
} // namespace tavi::test
