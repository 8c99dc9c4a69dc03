#include "platform/audio/OpenAlDevice.h"

#include "platform/audio/SoundOutput.h"
#include "support/WavBytes.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace tavi::platform::audio {
namespace {

using test::Bytes;
using test::rms;

WaveFormat pcmFormat(uint16_t channels, uint16_t bits, uint32_t rate = test::kTestRate) {
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    return {kWaveFormatPcm, channels, rate, rate * blockAlign, blockAlign, bits, {}};
}

class LoopbackDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = LoopbackAudioDevice::open();
        ASSERT_NE(device, nullptr) << "OpenAL Soft offers no loopback device";
    }

    // A buffer holding a sine of the given length at half scale.
    std::unique_ptr<AudioBuffer> sineBuffer(uint32_t ms) {
        const Bytes samples = test::sine16(ms);
        std::unique_ptr<AudioBuffer> buffer;
        EXPECT_EQ(
            device->createBuffer(pcmFormat(1, 16), static_cast<uint32_t>(samples.size()), buffer),
            kAudioOk);
        EXPECT_EQ(buffer->fill(samples), kAudioOk);
        return buffer;
    }

    std::shared_ptr<LoopbackAudioDevice> device;
};

TEST_F(LoopbackDeviceTest, OneShotPlaysToItsEndAndStops) {
    auto buffer = sineBuffer(100);
    EXPECT_EQ(rms(device->render(20)), 0.0);
    ASSERT_EQ(buffer->play(false), kAudioOk);
    EXPECT_TRUE(buffer->status().playing);
    EXPECT_FALSE(buffer->status().looping);
    EXPECT_GT(rms(device->render(50)), 0.1);
    device->render(70);
    EXPECT_FALSE(buffer->status().playing);
    EXPECT_EQ(rms(device->render(20)), 0.0);
}

TEST_F(LoopbackDeviceTest, LoopingGoesOnPastTheEndUntilStopped) {
    auto buffer = sineBuffer(50);
    buffer->play(true);
    device->render(300);
    EXPECT_TRUE(buffer->status().playing);
    EXPECT_TRUE(buffer->status().looping);
    EXPECT_GT(rms(device->render(20)), 0.1);
    buffer->stop();
    device->render(10);
    EXPECT_FALSE(buffer->status().playing);
    EXPECT_EQ(rms(device->render(20)), 0.0);
}

TEST_F(LoopbackDeviceTest, StopKeepsThePositionAndRewindGoesBackToTheStart) {
    auto buffer = sineBuffer(100);
    buffer->play(false);
    device->render(60);
    buffer->stop();
    device->render(200);
    // Going on from 60 ms, 40 ms are left.
    buffer->play(false);
    device->render(55);
    EXPECT_FALSE(buffer->status().playing);

    buffer->rewind();
    buffer->play(false);
    device->render(55);
    EXPECT_TRUE(buffer->status().playing);
}

TEST_F(LoopbackDeviceTest, PlayWhilePlayingNeitherRestartsNorStopsTheBuffer) {
    auto buffer = sineBuffer(100);
    buffer->play(false);
    device->render(60);
    buffer->play(false);
    device->render(55);
    EXPECT_FALSE(buffer->status().playing);
}

TEST_F(LoopbackDeviceTest, VolumeIsHundredthsOfADecibelAndClamped) {
    auto buffer = sineBuffer(2000);
    buffer->play(false);
    device->render(20);
    const double full = rms(device->render(100));
    ASSERT_GT(full, 0.1);

    struct Case {
        int32_t volume;
        int32_t stored;
        double gain;
    };
    for (const Case c : {Case{-600, -600, std::pow(10.0, -0.3)}, Case{-2000, -2000, 0.1},
                         Case{500, 0, 1.0}, Case{-10000, -10000, 0.0}, Case{-30000, -10000, 0.0}}) {
        SCOPED_TRACE(c.volume);
        buffer->setVolume(c.volume);
        EXPECT_EQ(buffer->volume(), c.stored);
        // Gain changes are eased in over a few milliseconds.
        device->render(20);
        EXPECT_NEAR(rms(device->render(100)), full * c.gain, full * 0.02);
    }
}

TEST_F(LoopbackDeviceTest, EightBitAndStereoSamplesPlay) {
    for (const WaveFormat& format : {pcmFormat(1, 8), pcmFormat(2, 8), pcmFormat(2, 16)}) {
        SCOPED_TRACE(format.channels * 100 + format.bitsPerSample);
        Bytes samples(static_cast<std::size_t>(format.blockAlign) * 2205);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            // A square wave: full swing every 10 frames.
            const bool high = (i / format.blockAlign / 10) % 2 == 0;
            const bool upperByte = format.bitsPerSample == 8 || i % 2 == 1;
            samples[i] =
                upperByte ? (format.bitsPerSample == 8 ? (high ? 192 : 64) : (high ? 0x20 : 0xE0))
                          : 0;
        }
        std::unique_ptr<AudioBuffer> buffer;
        ASSERT_EQ(device->createBuffer(format, static_cast<uint32_t>(samples.size()), buffer),
                  kAudioOk);
        buffer->fill(samples);
        buffer->play(false);
        EXPECT_GT(rms(device->render(50)), 0.1);
        buffer->stop();
    }
}

TEST_F(LoopbackDeviceTest, RefusesWhatIsNotPcmOfEightOrSixteenBitsInOneOrTwoChannels) {
    WaveFormat blockMismatch = pcmFormat(2, 16);
    blockMismatch.blockAlign = 2;
    WaveFormat adpcm = pcmFormat(1, 4);
    adpcm.formatTag = 2;
    for (const WaveFormat& format : {pcmFormat(1, 24), pcmFormat(1, 32), pcmFormat(3, 16),
                                     pcmFormat(0, 16), pcmFormat(1, 16, 0), blockMismatch, adpcm}) {
        std::unique_ptr<AudioBuffer> buffer;
        EXPECT_EQ(device->createBuffer(format, 4000, buffer), kAudioInvalidArgument);
        EXPECT_EQ(buffer, nullptr);
    }
    std::unique_ptr<AudioBuffer> buffer;
    EXPECT_EQ(device->createBuffer(pcmFormat(1, 16), 1, buffer), kAudioInvalidArgument);
}

TEST_F(LoopbackDeviceTest, FillTakesExactlyTheBufferSize) {
    auto buffer = sineBuffer(10);
    EXPECT_EQ(buffer->fill(Bytes(buffer->size() - 2)), kAudioInvalidArgument);
    EXPECT_EQ(buffer->fill(Bytes(buffer->size() + 2)), kAudioInvalidArgument);
}

TEST_F(LoopbackDeviceTest, ALostBufferIsRestoredEmpty) {
    auto buffer = sineBuffer(200);
    device->loseBuffers(2);
    EXPECT_TRUE(buffer->status().lost);
    EXPECT_EQ(buffer->restore(), kAudioBufferLost);
    EXPECT_EQ(buffer->restore(), kAudioBufferLost);
    EXPECT_EQ(buffer->restore(), kAudioOk);
    EXPECT_FALSE(buffer->status().lost);
    buffer->play(false);
    EXPECT_EQ(rms(device->render(50)), 0.0);
    EXPECT_TRUE(buffer->status().playing);
}

TEST_F(LoopbackDeviceTest, ADuplicateIsAnIndependentBufferOfTheSameSizeAndVolume) {
    auto buffer = sineBuffer(100);
    buffer->setVolume(-1500);
    std::unique_ptr<AudioBuffer> copy;
    ASSERT_EQ(buffer->duplicate(copy), kAudioOk);
    EXPECT_EQ(copy->size(), buffer->size());
    EXPECT_EQ(copy->volume(), -1500);
    copy->play(false);
    EXPECT_TRUE(copy->status().playing);
    EXPECT_FALSE(buffer->status().playing);
}

TEST_F(LoopbackDeviceTest, BuffersOutliveTheDeviceObject) {
    auto buffer = sineBuffer(100);
    device.reset();
    EXPECT_EQ(buffer->play(false), kAudioOk);
    EXPECT_TRUE(buffer->status().playing);
}

TEST(LoopbackDeviceClock, RendersWholeFramesWithoutDrift) {
    auto device = LoopbackAudioDevice::open();
    ASSERT_NE(device, nullptr);
    std::size_t frames = 0;
    for (int i = 0; i < 30; ++i) {
        frames += device->render(1).size() / 2;
    }
    device->wait(70);
    EXPECT_EQ(frames, 30u * LoopbackAudioDevice::kSampleRate / 1000);
    EXPECT_EQ(device->renderedMs(), 100u);
}

} // namespace
} // namespace tavi::platform::audio

namespace tavi::platform::audio {
namespace {

// Without sound output and without a driver named in the environment, the output device is not
// probed at all, so the sound library prints nothing of its own before the caller's line.
TEST(OutputDeviceTest, MachineWithoutSoundOutputOpensNoDevice) {
    if (machineHasSoundOutput()) {
        GTEST_SKIP() << "this machine has sound output";
    }
    const std::string drivers = std::getenv("ALSOFT_DRIVERS") ? std::getenv("ALSOFT_DRIVERS") : "";
    unsetenv("ALSOFT_DRIVERS");
    AudioResult result = kAudioOk;
    const std::shared_ptr<AudioDevice> device = openOutputDevice(result);
    if (!drivers.empty()) {
        setenv("ALSOFT_DRIVERS", drivers.c_str(), 1);
    }
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(result, kAudioFail);
}

TEST(OutputDeviceTest, DriverNamedInTheEnvironmentIsOpened) {
    AudioResult result = kAudioFail;
    const std::string drivers = std::getenv("ALSOFT_DRIVERS") ? std::getenv("ALSOFT_DRIVERS") : "";
    setenv("ALSOFT_DRIVERS", "null", 1);
    const std::shared_ptr<AudioDevice> device = openOutputDevice(result);
    setenv("ALSOFT_DRIVERS", drivers.empty() ? "null" : drivers.c_str(), 1);
    EXPECT_NE(device, nullptr);
    EXPECT_EQ(result, kAudioOk);
}

} // namespace
} // namespace tavi::platform::audio
