#include "core/sound/SoundManager.h"

#include "support/TempFolder.h"
#include "support/WavBytes.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using namespace test;
namespace audio = platform::audio;

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = audio::LoopbackAudioDevice::open();
        ASSERT_NE(device, nullptr);
        manager = std::make_unique<SoundManager>(
            [this](std::string_view line) { logLines.emplace_back(line); },
            [this](audio::AudioResult& result) {
                result = audio::kAudioOk;
                return device;
            });
        ASSERT_EQ(manager->init(), audio::kAudioOk);
        manager->setFolder(folder.path().string() + "/");
    }

    std::string nameOf(SoundId id) const { return "sound" + std::to_string(id) + ".wav"; }

    // Loads a sine of the given length under the id.
    void addSound(SoundId id, uint32_t ms) {
        writeFile(folder.path() / nameOf(id), sineWave16(ms));
        ASSERT_TRUE(manager->load(id, nameOf(id)));
    }

    // The level of the next milliseconds of output, after the few that ease a change in.
    double levelAfterChange() {
        device->render(20);
        return rms(device->render(50));
    }

    TempFolder folder;
    std::vector<std::string> logLines;
    std::shared_ptr<audio::LoopbackAudioDevice> device;
    std::unique_ptr<SoundManager> manager;
};

TEST_F(SoundManagerTest, PlayStartsFromTheBeginningOnceAndDoesNotRestartAPlayingSound) {
    addSound(20, 100);
    EXPECT_TRUE(manager->play(20));
    EXPECT_TRUE(manager->isPlaying(20));
    EXPECT_GT(rms(device->render(60)), 0.1);
    EXPECT_TRUE(manager->play(20));
    device->render(45);
    EXPECT_FALSE(manager->isPlaying(20));
    EXPECT_EQ(rms(device->render(20)), 0.0);

    // Played again after its end, it starts from the beginning.
    EXPECT_TRUE(manager->play(20));
    device->render(90);
    EXPECT_TRUE(manager->isPlaying(20));
}

TEST_F(SoundManagerTest, LoopedPlayGoesOnUntilStopped) {
    addSound(57, 50);
    EXPECT_TRUE(manager->playLooped(57));
    device->render(400);
    EXPECT_TRUE(manager->isPlaying(57));
    EXPECT_TRUE(manager->stop(57));
    EXPECT_FALSE(manager->isPlaying(57));
    EXPECT_EQ(levelAfterChange(), 0.0);
}

TEST_F(SoundManagerTest, AnAbsentSoundAnswersFalseOrZeroAndDoesNothing) {
    addSound(1, 50);
    manager->setVolume(-500);
    EXPECT_FALSE(manager->play(2));
    EXPECT_FALSE(manager->playLooped(2));
    EXPECT_FALSE(manager->stop(2));
    EXPECT_FALSE(manager->isPlaying(2));
    EXPECT_FALSE(manager->enqueue(2));
    EXPECT_FALSE(manager->isQueued(2));
    manager->dequeue(2, true);
    manager->setSoundVolume(2, -100);
    EXPECT_EQ(manager->soundVolume(2), 0);
    EXPECT_EQ(manager->soundVolume(1), -500);
}

TEST_F(SoundManagerTest, VolumeIsClampedAndAppliedToLoadedAndLaterSounds) {
    addSound(1, 2000);
    manager->play(1);
    const double full = levelAfterChange();

    manager->setVolume(-2000);
    EXPECT_EQ(manager->volume(), -2000);
    EXPECT_EQ(manager->soundVolume(1), -2000);
    EXPECT_NEAR(levelAfterChange(), full * 0.1, full * 0.01);
    addSound(2, 50);
    EXPECT_EQ(manager->soundVolume(2), -2000);

    manager->setVolume(500);
    EXPECT_EQ(manager->volume(), 0);
    manager->setVolume(-20000);
    EXPECT_EQ(manager->volume(), -10000);
    EXPECT_EQ(levelAfterChange(), 0.0);

    manager->setSoundVolume(1, 100);
    EXPECT_EQ(manager->soundVolume(1), 0);
    manager->setSoundVolume(1, -12000);
    EXPECT_EQ(manager->soundVolume(1), -10000);
    EXPECT_EQ(manager->soundVolume(2), -10000);
}

TEST_F(SoundManagerTest, MuteSilencesEverySoundAndUnmuteBringsBackTheManagerVolume) {
    addSound(50, 50);
    manager->setVolume(-600);
    manager->playLooped(50);
    const double before = levelAfterChange();

    manager->setMuted(true);
    EXPECT_TRUE(manager->muted());
    EXPECT_TRUE(manager->isPlaying(50));
    EXPECT_EQ(manager->soundVolume(50), -10000);
    EXPECT_EQ(levelAfterChange(), 0.0);
    addSound(51, 50);
    EXPECT_EQ(manager->soundVolume(51), -10000);

    manager->setMuted(false);
    EXPECT_EQ(manager->soundVolume(50), -600);
    EXPECT_EQ(manager->soundVolume(51), -600);
    EXPECT_NEAR(levelAfterChange(), before, before * 0.05);
}

TEST_F(SoundManagerTest, PauseStopsPlayingSoundsAndResumeGoesOnFromWhereTheyStopped) {
    addSound(41, 50);
    addSound(20, 100);
    addSound(21, 50);
    manager->playLooped(41);
    manager->play(20);
    device->render(60);

    manager->setPaused(true);
    EXPECT_TRUE(manager->paused());
    EXPECT_FALSE(manager->isPlaying(41));
    EXPECT_FALSE(manager->isPlaying(20));
    EXPECT_FALSE(manager->play(21));
    EXPECT_FALSE(manager->playLooped(21));
    EXPECT_EQ(levelAfterChange(), 0.0);
    EXPECT_FALSE(manager->isPlaying(21));

    manager->setPaused(false);
    EXPECT_TRUE(manager->isPlaying(41));
    EXPECT_TRUE(manager->isPlaying(20));
    EXPECT_FALSE(manager->isPlaying(21));
    // Sound 20 had 40 ms left; sound 41 loops on.
    device->render(45);
    EXPECT_FALSE(manager->isPlaying(20));
    device->render(200);
    EXPECT_TRUE(manager->isPlaying(41));
}

TEST_F(SoundManagerTest, ASoundStoppedWhilePausedStaysStoppedOnResume) {
    addSound(58, 50);
    addSound(59, 50);
    manager->playLooped(58);
    manager->playLooped(59);
    manager->setPaused(true);
    EXPECT_TRUE(manager->stop(58));
    manager->setPaused(false);
    EXPECT_FALSE(manager->isPlaying(58));
    EXPECT_TRUE(manager->isPlaying(59));
    manager->stop(59);
    EXPECT_EQ(levelAfterChange(), 0.0);
}

TEST_F(SoundManagerTest, CallOutsPlayOneAfterTheOtherInTheOrderQueued) {
    addSound(19, 100);
    addSound(20, 60);
    addSound(21, 60);
    EXPECT_TRUE(manager->enqueue(19));
    EXPECT_TRUE(manager->isPlaying(19));
    EXPECT_TRUE(manager->enqueue(21));
    EXPECT_TRUE(manager->enqueue(20));
    EXPECT_FALSE(manager->enqueue(19));
    EXPECT_FALSE(manager->enqueue(21));

    std::vector<SoundId> started;
    SoundId playing = -1;
    for (int frame = 0; frame < 20; ++frame) {
        manager->serviceQueue();
        for (SoundId id : {19, 20, 21}) {
            if (manager->isPlaying(id) && id != playing) {
                started.push_back(id);
                playing = id;
            }
        }
        EXPECT_LE(manager->isPlaying(19) + manager->isPlaying(20) + manager->isPlaying(21), 1);
        device->render(1000 / 18);
    }
    EXPECT_EQ(started, (std::vector<SoundId>{19, 21, 20}));
    EXPECT_FALSE(manager->isQueued(20));
}

TEST_F(SoundManagerTest, TheNextCallOutStartsOnTheFirstServiceAfterTheFrontEnds) {
    addSound(19, 100);
    addSound(20, 50);
    manager->enqueue(19);
    manager->enqueue(20);
    device->render(90);
    manager->serviceQueue();
    EXPECT_TRUE(manager->isQueued(19));
    EXPECT_FALSE(manager->isPlaying(20));
    device->render(20);
    EXPECT_TRUE(manager->isQueued(19));
    manager->serviceQueue();
    EXPECT_FALSE(manager->isQueued(19));
    EXPECT_TRUE(manager->isPlaying(20));
}

TEST_F(SoundManagerTest, DequeueStopsTheFrontOnRequestAndRemovesLaterEntries) {
    addSound(19, 500);
    addSound(20, 500);
    addSound(21, 500);
    manager->enqueue(19);
    manager->enqueue(20);
    manager->enqueue(21);

    manager->dequeue(19, false);
    EXPECT_TRUE(manager->isPlaying(19));
    manager->dequeue(20, true);
    EXPECT_FALSE(manager->isQueued(20));
    EXPECT_TRUE(manager->isPlaying(19));

    manager->dequeue(19, true);
    EXPECT_FALSE(manager->isPlaying(19));
    EXPECT_TRUE(manager->isQueued(19));
    EXPECT_FALSE(manager->isPlaying(21));
    manager->serviceQueue();
    EXPECT_FALSE(manager->isQueued(19));
    EXPECT_TRUE(manager->isPlaying(21));
}

TEST_F(SoundManagerTest, TheQueueWaitsWhilePaused) {
    addSound(19, 50);
    addSound(20, 50);
    addSound(21, 50);
    manager->enqueue(19);
    manager->enqueue(20);
    manager->setPaused(true);
    manager->serviceQueue();
    EXPECT_TRUE(manager->isQueued(19));
    manager->setPaused(false);
    device->render(60);
    manager->serviceQueue();
    EXPECT_TRUE(manager->isPlaying(20));
    device->render(60);
    manager->serviceQueue();

    // Queued alone while paused, a call-out cannot start; the first service after the pause
    // drops it.
    manager->setPaused(true);
    EXPECT_FALSE(manager->enqueue(21));
    EXPECT_TRUE(manager->isQueued(21));
    manager->setPaused(false);
    manager->serviceQueue();
    EXPECT_FALSE(manager->isQueued(21));
    EXPECT_FALSE(manager->isPlaying(21));
}

TEST_F(SoundManagerTest, TwoSoundsOfOneFilePlayIndependently) {
    writeFile(folder.path() / "AC" / "pack running.wav", sineWave16(50));
    ASSERT_TRUE(manager->load(54, "AC\\pack running.wav"));
    ASSERT_TRUE(manager->load(55, "AC\\pack running.wav"));
    manager->playLooped(54);
    manager->playLooped(55);
    manager->setSoundVolume(55, -3000);
    manager->stop(54);
    EXPECT_FALSE(manager->isPlaying(54));
    EXPECT_TRUE(manager->isPlaying(55));
    EXPECT_EQ(manager->soundVolume(54), 0);
    EXPECT_EQ(manager->soundVolume(55), -3000);
}

TEST_F(SoundManagerTest, ALoadedIdIsNotReadAgainAndNamesMatchWithoutCase) {
    addSound(3, 50);
    std::filesystem::remove(folder.path() / nameOf(3));
    EXPECT_TRUE(manager->load(3, "other.wav"));
    EXPECT_TRUE(manager->play(3));

    writeFile(folder.path() / "Takeoff" / "takeoff ok.wav", sineWave16(50));
    EXPECT_TRUE(manager->load(35, "Takeoff\\takeoff OK.wav"));
    EXPECT_TRUE(logLines.empty());
}

TEST_F(SoundManagerTest, ABadFileIsLoggedAndLeftAbsentWhileTheOthersLoad) {
    Bytes adpcmFormat = formatData(2, 1, 22050, 4);
    put16(adpcmFormat, 2);
    put16(adpcmFormat, 0);
    const Bytes adpcm = riffWave({chunk("fmt ", adpcmFormat), chunk("data", Bytes(64, 1))});
    Bytes notRiff = sineWave16(50);
    notRiff[0] = 'X';
    const Bytes wave24 = pcmWave(1, 22050, 24, Bytes(300, 1));
    const Bytes huge =
        riffWave({chunk("fmt ", formatData(1, 1, 22050, 16)), chunk("data", Bytes(), 0x7FFFFFFF)});
    const Bytes good = sineWave16(50);
    const Bytes truncated(good.begin(), good.begin() + 30);
    struct Case {
        const char* file;
        const Bytes* bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"adpcm.wav", &adpcm, "format 2 with 1 channels of 4 bits not supported"},
        {"notriff.wav", &notRiff, "not a RIFF/WAVE file"},
        {"wave24.wav", &wave24, "format 1 with 1 channels of 24 bits not supported"},
        {"huge.wav", &huge, "empty data chunk"},
        {"truncated.wav", &truncated, "format chunk shorter than 16 bytes"},
        {"missing.wav", nullptr, "missing or unreadable"},
    };
    SoundId id = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.bytes) {
            writeFile(folder.path() / c.file, *c.bytes);
        }
        logLines.clear();
        EXPECT_FALSE(manager->load(id, c.file));
        EXPECT_FALSE(manager->play(id));
        ASSERT_EQ(logLines.size(), 1u);
        EXPECT_EQ(logLines[0],
                  "Sound not loaded: " + (folder.path() / c.file).string() + ": " + c.reason);
        ++id;
    }
    addSound(id, 50);
    EXPECT_TRUE(manager->play(id));
}

TEST_F(SoundManagerTest, ADataChunkLongerThanTheFilePlaysOnlyWhatThereIs) {
    const Bytes samples = sine16(50);
    const uint32_t claimed = static_cast<uint32_t>(sine16(200).size());
    writeFile(folder.path() / "short.wav", riffWave({chunk("fmt ", formatData(1, 1, kTestRate, 16)),
                                                     chunk("data", samples, claimed)}));
    ASSERT_TRUE(manager->load(1, "short.wav"));
    manager->play(1);
    EXPECT_GT(rms(device->render(40)), 0.1);
    device->render(20);
    EXPECT_FALSE(manager->isPlaying(1)) << "no silence for the size the header claims";
}

TEST_F(SoundManagerTest, ALostBufferIsRestoredAndFilledAgainBeforeItPlays) {
    addSound(1, 500);
    device->loseBuffers(3);
    const uint64_t before = device->renderedMs();
    EXPECT_TRUE(manager->play(1));
    EXPECT_EQ(device->renderedMs() - before, 2 * CSound::kRestoreWaitMs);
    EXPECT_GT(rms(device->render(50)), 0.1);
}

TEST_F(SoundManagerTest, ABufferThatCannotBeRestoredRefusesToPlayAfterBoundedTries) {
    addSound(1, 500);
    device->loseBuffers(1000000);
    const uint64_t before = device->renderedMs();
    EXPECT_FALSE(manager->play(1));
    EXPECT_FALSE(manager->isPlaying(1));
    EXPECT_EQ(device->renderedMs() - before, CSound::kRestoreAttempts * CSound::kRestoreWaitMs);
}

TEST_F(SoundManagerTest, ASoundOfSeveralBuffersPlaysOnAFreeOne) {
    writeFile(folder.path() / "click.wav", sineWave16(100));
    std::unique_ptr<CSound> sound;
    ASSERT_EQ(manager->create(sound, "click.wav", 2), audio::kAudioOk);
    sound->play(false);
    device->render(50);
    sound->play(false);
    device->render(80);
    EXPECT_TRUE(sound->isPlaying());
    device->render(30);
    EXPECT_FALSE(sound->isPlaying());
}

TEST_F(SoundManagerTest, CreateChecksItsArguments) {
    std::unique_ptr<CSound> sound;
    EXPECT_EQ(manager->create(sound, "", 1), audio::kAudioInvalidArgument);
    EXPECT_EQ(manager->create(sound, "a.wav", 0), audio::kAudioInvalidArgument);
    EXPECT_EQ(sound, nullptr);
}

TEST(SoundManagerWithoutDevice, GoesOnSilentAndSaysSoOnce) {
    std::vector<std::string> lines;
    SoundManager manager([&](std::string_view line) { lines.emplace_back(line); },
                         [](audio::AudioResult& result) {
                             result = audio::kAudioFail;
                             return nullptr;
                         });
    EXPECT_EQ(manager.init(), audio::kAudioFail);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"No sound device (80004005): the sounds stay silent"}));
    EXPECT_EQ(manager.loadAll(), 0);
    std::unique_ptr<CSound> sound;
    EXPECT_EQ(manager.create(sound, "a.wav", 1), audio::kAudioNotInitialised);
    EXPECT_FALSE(manager.play(19));
    EXPECT_FALSE(manager.enqueue(19));
    EXPECT_EQ(lines.size(), 1u);
}

} // namespace
} // namespace tavi
