#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/sound/SoundManager.h"
#include "platform/heap/ModuleHeap.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace tavi {
namespace {

namespace audio = platform::audio;
namespace fs = std::filesystem;

// A simulator installed in one folder, with the module in another.
class FolderHost final : public platform::HostServices {
public:
    FolderHost(fs::path simulatorFolder, fs::path moduleFolder)
        : simulatorFolder_(std::move(simulatorFolder)), moduleFolder_(std::move(moduleFolder)) {}

    uint32_t tickCountMs() override { return 0; }
    std::string loadedModulePath(const char* fileName) override {
        return (moduleFolder_ / fileName).string();
    }
    std::string executablePath() override { return (simulatorFolder_ / "fsx.exe").string(); }
    platform::TimerId setTimer(uint32_t, platform::TimerProc) override { return 0; }
    void killTimer(platform::TimerId) override {}
    platform::WindowHandle findWindowByClass(const char*) override { return 0; }
    platform::ThreadId windowThread(platform::WindowHandle) override { return 0; }
    platform::GuiThreadInfo guiThreadInfo(platform::ThreadId) override { return {}; }
    platform::WindowHandle lastActivePopup(platform::WindowHandle window) override {
        return window;
    }
    platform::HookHandle installKeyboardHook(platform::KeyboardHookProc,
                                             platform::ThreadId) override {
        return 0;
    }
    void removeKeyboardHook(platform::HookHandle) override {}
    intptr_t callNextHook(platform::HookHandle, int32_t, uint32_t, uint32_t) override { return 0; }
    std::optional<uint32_t> joystickButtons(int32_t) override { return std::nullopt; }

private:
    fs::path simulatorFolder_;
    fs::path moduleFolder_;
};

platform::ImportEntry& hostEntry() {
    for (platform::ImportEntry* entry = ImportTable; entry->id != 0; ++entry) {
        if (entry->id == platform::kHostServicesImport) {
            return *entry;
        }
    }
    throw std::logic_error("no host services entry");
}

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
        fs::create_directories(moduleFolder());
        fs::copy(madeSounds->path(), soundsFolder(), fs::copy_options::recursive);
        previousHost = hostEntry().table;
        hostEntry().table = &host;
        ASSERT_TRUE(platform::moduleHeapCreate(8u << 20));
    }

    void TearDown() override {
        delete aircraft;
        platform::moduleHeapDestroy();
        hostEntry().table = previousHost;
    }

    fs::path simulatorFolder() const { return folder.path() / "sim"; }
    fs::path moduleFolder() const { return folder.path() / "sim" / "Gauges"; }
    fs::path soundsFolder() const { return simulatorFolder() / "Orvane" / "TAVI Sounds"; }

    // A started aircraft with a sound manager on a rendering device.
    void startAircraft() {
        delete aircraft;
        aircraft = new Aircraft;
        constructorLineCount = logLines().size();
        aircraft->soundManager =
            std::make_unique<SoundManager>([a = aircraft](std::string_view line) { a->log(line); },
                                           [this](audio::AudioResult& result) {
                                               result = audio::kAudioOk;
                                               return device;
                                           });
        aircraft->initSound();
    }

    std::vector<std::string> logLines() const {
        std::ifstream log(moduleFolder() / "tavi.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The lines written after the Aircraft's constructor wrote its own.
    std::vector<std::string> soundLines() const {
        const std::vector<std::string> lines = logLines();
        return {lines.begin() + static_cast<std::ptrdiff_t>(constructorLineCount), lines.end()};
    }

    static inline test::TempFolder* madeSounds = nullptr;
    test::TempFolder folder;
    FolderHost host{simulatorFolder(), moduleFolder()};
    void* previousHost = nullptr;
    std::shared_ptr<audio::LoopbackAudioDevice> device = audio::LoopbackAudioDevice::open();
    Aircraft* aircraft = nullptr;
    std::size_t constructorLineCount = 0;
};

TEST_F(AircraftSoundTest, LoadsEveryAircraftSoundFromTheSimulatorFolder) {
    ASSERT_NE(device, nullptr);
    startAircraft();
    EXPECT_EQ(soundLines(), (std::vector<std::string>{"Sounds loaded: 60 of 60"}));
    SoundManager& sounds = *aircraft->soundManager;
    EXPECT_EQ(sounds.volume(), 0);
    for (SoundId id = 0; id < kAircraftSoundCount; ++id) {
        EXPECT_TRUE(sounds.play(id)) << id;
    }
}

TEST_F(AircraftSoundTest, ASoundWhoseFileIsMissingIsAbsentAndTheOthersPlay) {
    ASSERT_NE(device, nullptr);
    const fs::path sinkRate = soundsFolder() / "Gpws" / "sink rate.wav";
    fs::remove(sinkRate);
    startAircraft();
    EXPECT_EQ(soundLines(), (std::vector<std::string>{"Sound not loaded: " + sinkRate.string() +
                                                          ": missing or unreadable",
                                                      "Sounds loaded: 59 of 60"}));
    EXPECT_FALSE(aircraft->soundManager->play(20));
    EXPECT_TRUE(aircraft->soundManager->play(19));
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
    aircraft = new Aircraft;
    constructorLineCount = logLines().size();
    aircraft->initSound();
    EXPECT_TRUE(soundLines().empty());
}

} // namespace
} // namespace tavi
