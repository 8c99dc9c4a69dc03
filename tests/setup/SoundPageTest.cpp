#include "SheetFixture.h"

#include <QApplication>
#include <QWheelEvent>

namespace tavi::test {
namespace {

class SoundPageTest : public SheetTest {
protected:
    QSlider& openSoundPage() {
        openSheet();
        page = &openPage("Sound");
        return *slidersOf(*page)[0];
    }

    setup::SettingsPage* page = nullptr;
};

TEST_F(SoundPageTest, TheFilesVolumeIsAppliedAtStartAndShown) {
    writeIni("[Sound]\nvolume=-2500\n");
    QSlider& slider = openSoundPage();
    EXPECT_EQ(sound->applied, std::vector<int32_t>{-2500});
    EXPECT_EQ(slider.value(), -2500);
    EXPECT_EQ(slider.minimum(), -10000);
    EXPECT_EQ(slider.maximum(), 0);
    EXPECT_EQ(slider.tickInterval(), 500);
    click(buttonNamed(*page, "Test"));
    EXPECT_EQ(sound->plays, std::vector<int32_t>{-2500});
}

TEST_F(SoundPageTest, ADragIsAppliedWhenTheThumbIsLetGo) {
    QSlider& slider = openSoundPage();
    sound->applied.clear();
    slider.setSliderDown(true);
    slider.setSliderPosition(-4000);
    slider.setSliderPosition(-6000);
    EXPECT_TRUE(sound->applied.empty()) << "nothing while dragging";
    slider.setSliderDown(false);
    EXPECT_EQ(sound->applied, std::vector<int32_t>{-6000});
    click(buttonNamed(*page, "Test"));
    EXPECT_EQ(sound->plays, std::vector<int32_t>{-6000});
}

TEST_F(SoundPageTest, KeysAndTheWheelApplyAtOnceAndReachTheFile) {
    QSlider& slider = openSoundPage();
    QTest::keyClick(&slider, Qt::Key_PageDown);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(sound->volume(), -1000);
    const QPointF inside(5, 5);
    QWheelEvent wheel(inside, slider.mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
    EXPECT_EQ(sound->volume(), -1300);
    pressOk();
    EXPECT_NE(iniText().find("[Sound]\nvolume=-1300\n"), std::string::npos) << iniText();
}

TEST_F(SoundPageTest, AVolumeOutsideTheRangeIsKeptUntilTheSliderMoves) {
    writeIni("[Sound]\nvolume=-20000\n");
    QSlider& slider = openSoundPage();
    EXPECT_EQ(slider.value(), -10000);
    EXPECT_EQ(sound->volume(), -20000) << "showing the volume does not change it";
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(sound->volume(), -9500);
}

TEST_F(SoundPageTest, CancelAfterTryingAVolumeLeavesTheFileAlone) {
    writeIni("[Sound]\nvolume=-300\n");
    QSlider& slider = openSoundPage();
    slider.setSliderDown(true);
    slider.setSliderPosition(-7000);
    slider.setSliderDown(false);
    EXPECT_EQ(sound->volume(), -7000);
    pressCancel();
    EXPECT_EQ(iniText(), "[Sound]\nvolume=-300\n");
}

} // namespace
} // namespace tavi::test
