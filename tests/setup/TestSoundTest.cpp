#include "SheetFixture.h"
#include "setup/SoundManagerPlayer.h"
#include "support/WavBytes.h"

#include <cmath>

namespace tavi::test {
namespace {

namespace audio = platform::audio;
using setup::SoundManagerPlayer;

// The test sound beside the program, played on a device that renders into memory.
class TestSoundTest : public testing::Test {
protected:
    void SetUp() override {
        device = audio::LoopbackAudioDevice::open();
        ASSERT_NE(device, nullptr);
        writeFile(folder.path() / "sound.wav", sineWave16(200));
    }

    std::unique_ptr<SoundManagerPlayer> makePlayer(bool withDevice = true) {
        return std::make_unique<SoundManagerPlayer>(
            folder.path(), [this, withDevice](audio::AudioResult& result) {
                result = withDevice ? audio::kAudioOk : audio::kAudioFail;
                return withDevice ? device : nullptr;
            });
    }

    // The level of a play of the test sound, which has ended by the time this returns.
    double levelOfPlay(setup::SoundPlayer& player) {
        EXPECT_TRUE(player.play());
        device->render(20);
        const double level = rms(device->render(50));
        device->render(300);
        return level;
    }

    TempFolder folder;
    std::shared_ptr<audio::LoopbackAudioDevice> device;
};

TEST_F(TestSoundTest, TheVolumeSetsTheLoudnessInHundredthsOfADecibel) {
    auto player = makePlayer();
    const double full = levelOfPlay(*player);
    ASSERT_GT(full, 0.05);
    player->setVolume(-2500);
    EXPECT_NEAR(levelOfPlay(*player) / full, std::pow(10.0, -25.0 / 20.0), 0.01);
}

TEST_F(TestSoundTest, AVolumeAboveFullIsKeptAndPlaysAtFull) {
    auto player = makePlayer();
    const double full = levelOfPlay(*player);
    player->setVolume(500);
    EXPECT_EQ(player->volume(), 500);
    EXPECT_NEAR(levelOfPlay(*player), full, full * 0.01);
}

TEST_F(TestSoundTest, WithoutTheFileOrADeviceTestPlaysNothing) {
    auto silent = makePlayer(false);
    silent->setVolume(-700);
    EXPECT_EQ(silent->volume(), -700);
    EXPECT_FALSE(silent->play());

    std::filesystem::remove(folder.path() / "sound.wav");
    EXPECT_FALSE(makePlayer()->play());
    EXPECT_EQ(rms(device->render(50)), 0.0);
}

TEST_F(TestSoundTest, TheSheetsTestButtonPlaysAtTheFilesVolume) {
    const double full = levelOfPlay(*makePlayer());
    folder.write("panel/tavi.ini", "[Sound]\nvolume=-2500\n");
    setup::CTaviSheet sheet(folder.path() / "panel" / "tavi.ini", makePlayer(),
                            std::make_unique<FakeJoysticks>());
    sheet.show();
    for (setup::SettingsPage* page : sheet.pages()) {
        if (page->caption() == "Sound") {
            sheet.tabs().setCurrentWidget(page);
        }
    }
    click(buttonNamed(sheet, "Test"));
    device->render(20);
    EXPECT_NEAR(rms(device->render(50)) / full, std::pow(10.0, -25.0 / 20.0), 0.01);
}

} // namespace
} // namespace tavi::test
