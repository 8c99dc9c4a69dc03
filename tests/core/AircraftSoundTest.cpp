#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/sound/SoundManager.h"
#include "support/ModuleHarness.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace tavi {
namespace {

namespace audio = platform::audio;
namespace fs = std::filesystem;

fs::path soundsTool() {
    return fs::path(TAVI_TEST_FIXTURES).parent_path().parent_path() / "tools" / "make_sounds";
}

class AircraftSoundTest : public ::testing::Test {
protected:
    // The sound files as the build makes them, made once for every test here.
    static void SetUpTestSuite() {
        madeSounds = new test::TempFolder;
        const std::string command =
            "'" + soundsTool().string() + "' '" + madeSounds->path().string() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() {
        delete madeSounds;
        madeSounds = nullptr;
    }

    void SetUp() override {
        fs::create_directories(soundsFolder());
        fs::copy(madeSounds->path(), soundsFolder(), fs::copy_options::recursive);
        module.init();
    }

    fs::path soundsFolder() const { return module.folder.path() / "Orvane" / "TAVI Sounds"; }
    Aircraft& aircraft() { return module.aircraft(); }

    // The sound set-up of the start-up with a sound manager on a rendering device.
    void startSounds() {
        Aircraft* self = &aircraft();
        aircraft().soundManager =
            std::make_unique<SoundManager>([self](std::string_view line) { self->log(line); },
                                           [this](audio::AudioResult& result) {
                                               result = audio::kAudioOk;
                                               return device;
                                           });
        initSoundAndKeepItsLog();
    }

    void initSoundAndKeepItsLog() {
        const std::size_t before = module.logLines().size();
        aircraft().initSound();
        const std::vector<std::string> lines = module.logLines();
        soundLog.assign(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end());
    }

    static inline test::TempFolder* madeSounds = nullptr;
    test::ModuleHarness module;
    std::vector<std::string> soundLog;
    std::shared_ptr<audio::LoopbackAudioDevice> device = audio::LoopbackAudioDevice::open();
};

TEST_F(AircraftSoundTest, LoadsEveryAircraftSoundFromTheSimulatorFolder) {
    ASSERT_NE(device, nullptr);
    startSounds();
    EXPECT_EQ(soundLog, (std::vector<std::string>{"Sounds loaded: 60 of 60"}));
    SoundManager& sounds = *aircraft().soundManager;
    EXPECT_EQ(sounds.volume(), 0);
    for (SoundId id = 0; id < kAircraftSoundCount; ++id) {
        EXPECT_TRUE(sounds.play(id)) << id;
    }
}

TEST_F(AircraftSoundTest, ASoundWhoseFileIsMissingIsAbsentAndTheOthersPlay) {
    ASSERT_NE(device, nullptr);
    const fs::path sinkRate = soundsFolder() / "Gpws" / "sink rate.wav";
    fs::remove(sinkRate);
    startSounds();
    EXPECT_EQ(soundLog, (std::vector<std::string>{"Sound not loaded: " + sinkRate.string() +
                                                      ": missing or unreadable",
                                                  "Sounds loaded: 59 of 60"}));
    EXPECT_FALSE(aircraft().soundManager->play(20));
    EXPECT_TRUE(aircraft().soundManager->play(19));
}

TEST_F(AircraftSoundTest, TheSoundsToolMakesMissingFilesAndKeepsAUsersOwn) {
    const fs::path own = soundsFolder() / "Eicas" / "caution.wav";
    std::ofstream(own) << "a user's recording";
    const fs::path removed = soundsFolder() / "Takeoff" / "takeoff OK.wav";
    fs::remove(removed);
    const std::string command =
        "'" + soundsTool().string() + "' '" + soundsFolder().string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(removed));
    std::ifstream kept(own);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "a user's recording");
}

TEST_F(AircraftSoundTest, WithoutASoundManagerNothingIsLoaded) {
    initSoundAndKeepItsLog();
    EXPECT_TRUE(soundLog.empty());
}

} // namespace
} // namespace tavi
