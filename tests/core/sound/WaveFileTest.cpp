#include "core/sound/WaveFile.h"

#include "support/TempFolder.h"
#include "support/WavBytes.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using namespace test;
namespace audio = platform::audio;

Bytes readAll(WaveFile& wave, std::size_t chunkBytes = 7) {
    Bytes all;
    Bytes part(chunkBytes);
    uint32_t got = 0;
    do {
        EXPECT_EQ(wave.read(part, got), audio::kAudioOk);
        EXPECT_LE(got, part.size());
        all.insert(all.end(), part.begin(), part.begin() + got);
    } while (got > 0);
    return all;
}

Bytes counting(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    }
    return bytes;
}

TEST(WaveFileTest, ReadsPcmFormatsAndTheirData) {
    struct Case {
        uint16_t channels;
        uint16_t bits;
        uint32_t rate;
    };
    for (const Case c :
         {Case{1, 8, 11025}, Case{1, 16, 22050}, Case{2, 8, 22050}, Case{2, 16, 44100}}) {
        SCOPED_TRACE(c.channels * 100 + c.bits);
        const Bytes samples = counting(400);
        WaveFile wave;
        ASSERT_EQ(wave.openMemory(pcmWave(c.channels, c.rate, c.bits, samples)), audio::kAudioOk);
        ASSERT_NE(wave.format(), nullptr);
        EXPECT_EQ(wave.format()->formatTag, audio::kWaveFormatPcm);
        EXPECT_EQ(wave.format()->channels, c.channels);
        EXPECT_EQ(wave.format()->bitsPerSample, c.bits);
        EXPECT_EQ(wave.format()->samplesPerSecond, c.rate);
        EXPECT_EQ(wave.format()->blockAlign, c.channels * c.bits / 8);
        EXPECT_TRUE(wave.format()->extra.empty());
        EXPECT_EQ(wave.dataSize(), samples.size());
        EXPECT_EQ(readAll(wave), samples);
        ASSERT_EQ(wave.rewind(), audio::kAudioOk);
        EXPECT_EQ(readAll(wave, 1000), samples);
    }
}

TEST(WaveFileTest, WalksPastOtherChunksIncludingOddSizedOnes) {
    const Bytes samples = counting(101);
    const Bytes list = chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 1, 0, 0, 0, 'x'});
    const Bytes wave = riffWave({chunk("fmt ", formatData(1, 1, 8000, 8)), list,
                                 chunk("junk", Bytes(3, 0xAA)), chunk("data", samples)});
    WaveFile file;
    ASSERT_EQ(file.openMemory(wave), audio::kAudioOk);
    EXPECT_EQ(file.dataSize(), 101u);
    EXPECT_EQ(readAll(file), samples);
}

TEST(WaveFileTest, FindsDataBeforeTheFormatAndSkipsALongerPcmFormat) {
    Bytes longFormat = formatData(1, 1, 22050, 16);
    put16(longFormat, 0);
    const Bytes samples = counting(64);
    WaveFile file;
    ASSERT_EQ(file.openMemory(riffWave({chunk("data", samples), chunk("fmt ", longFormat)})),
              audio::kAudioOk);
    EXPECT_EQ(file.format()->bitsPerSample, 16);
    EXPECT_EQ(readAll(file), samples);
}

TEST(WaveFileTest, KeepsTheExtraBytesOfAnotherFormat) {
    Bytes adpcm = formatData(2, 1, 22050, 4);
    put16(adpcm, 4);
    adpcm.insert(adpcm.end(), {1, 2, 3, 4});
    WaveFile file;
    ASSERT_EQ(file.openMemory(riffWave({chunk("fmt ", adpcm), chunk("data", counting(32))})),
              audio::kAudioOk);
    EXPECT_EQ(file.format()->formatTag, 2);
    EXPECT_EQ(file.format()->extra, (Bytes{1, 2, 3, 4}));
}

TEST(WaveFileTest, ADataChunkClaimingMoreThanTheFileHoldsIsCutToWhatThereIs) {
    const Bytes samples = counting(300);
    for (const uint32_t claimed :
         {100000u, WaveFile::kMaxDataBytes + 2, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        Bytes wave =
            riffWave({chunk("fmt ", formatData(1, 1, 22050, 16)), chunk("data", samples, claimed)});
        WaveFile file;
        ASSERT_EQ(file.openMemory(wave), audio::kAudioOk) << claimed;
        EXPECT_EQ(file.dataSize(), 300u) << claimed;
        EXPECT_EQ(readAll(file, 4096), samples);
    }
}

struct Malformed {
    const char* name;
    Bytes bytes;
    const char* reason;
};

Bytes pcmFormatChunk() {
    return chunk("fmt ", formatData(1, 1, 22050, 16));
}

std::vector<Malformed> malformedFiles() {
    const Bytes good = sineWave16(20);
    Bytes riffx = good;
    riffx[3] = 'X';
    Bytes notWave = good;
    notWave[8] = 'A';
    Bytes extraPastChunk = formatData(2, 1, 22050, 4);
    put16(extraPastChunk, 100);
    extraPastChunk.insert(extraPastChunk.end(), 4, 0);
    Bytes shortFormat = formatData(1, 1, 22050, 16);
    shortFormat.resize(14);
    return {
        {"Empty", {}, "not a RIFF/WAVE"},
        {"NoRiff", riffx, "not a RIFF/WAVE"},
        {"NotWave", notWave, "not a RIFF/WAVE"},
        {"CutInTheRiffHeader", Bytes(good.begin(), good.begin() + 10), "not a RIFF/WAVE"},
        {"CutInTheFormat", Bytes(good.begin(), good.begin() + 28), "shorter than 16"},
        {"FormatShorterThan16", riffWave({chunk("fmt ", shortFormat), chunk("data", counting(8))}),
         "shorter than 16"},
        {"NoFormat", riffWave({chunk("data", counting(8))}), "no format chunk"},
        {"OtherFormatWithoutExtraSize",
         riffWave({chunk("fmt ", formatData(2, 1, 22050, 4)), chunk("data", counting(8))}),
         "without its extra size"},
        {"ExtraBytesPastTheFormat",
         riffWave({chunk("fmt ", extraPastChunk), chunk("data", counting(200))}),
         "run past the format chunk"},
        {"NoData", riffWave({pcmFormatChunk()}), "no data chunk"},
        {"CutInTheDataHeader", Bytes(good.begin(), good.begin() + 40), "no data chunk"},
        {"EmptyData", riffWave({pcmFormatChunk(), chunk("data", {})}), "empty data chunk"},
        {"RiffSizeEndingBeforeTheData",
         [&] {
             Bytes wave = riffWave({pcmFormatChunk(), chunk("data", counting(16))});
             wave[4] = 4 + 24;
             wave[5] = wave[6] = wave[7] = 0;
             return wave;
         }(),
         "no data chunk"},
    };
}

class MalformedWaveTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedWaveTest, IsRefusedWithItsReason) {
    WaveFile file;
    EXPECT_EQ(file.openMemory(GetParam().bytes), audio::kAudioFail);
    EXPECT_EQ(file.dataSize(), 0u);
    EXPECT_EQ(file.format(), nullptr);
    EXPECT_NE(file.failure().find(GetParam().reason), std::string::npos) << file.failure();
    Bytes destination(16);
    uint32_t got = 1;
    EXPECT_TRUE(audio::failed(file.read(destination, got)));
    EXPECT_EQ(got, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedWaveTest, ::testing::ValuesIn(malformedFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveFileFromDisk, OpensAFileAndRefusesAMissingOrOversizedOne) {
    TempFolder folder;
    const auto good = folder.path() / "good.wav";
    writeFile(good, sineWave16(30));
    WaveFile file;
    EXPECT_EQ(file.open(good), audio::kAudioOk);
    EXPECT_EQ(file.dataSize(), sine16(30).size());

    EXPECT_EQ(file.open(folder.path() / "missing.wav"), audio::kAudioFail);
    EXPECT_EQ(file.failure(), "missing or unreadable");

    const auto huge = folder.path() / "huge.wav";
    writeFile(huge, sineWave16(30));
    std::filesystem::resize_file(huge, WaveFile::kMaxFileBytes + 1);
    EXPECT_EQ(file.open(huge), audio::kAudioFail);
    EXPECT_NE(file.failure().find("larger than"), std::string::npos);
}

} // namespace
} // namespace tavi
