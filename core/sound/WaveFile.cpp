#include "core/sound/WaveFile.h"

#include "core/Format.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace tavi {

namespace audio = platform::audio;

namespace {

constexpr uint32_t kPcmFormatBytes = 16;
constexpr uint32_t kExtraSizeBytes = 2;
constexpr uint64_t kFormTypeBytes = 4;

} // namespace

audio::AudioResult WaveFile::open(const std::filesystem::path& path) {
    close();
    std::error_code error;
    const uint64_t bytes = std::filesystem::file_size(path, error);
    if (error) {
        return fail("missing or unreadable");
    }
    if (bytes > kMaxFileBytes) {
        return fail(tavi::format("file of %llu bytes is larger than %llu",
                                 static_cast<unsigned long long>(bytes),
                                 static_cast<unsigned long long>(kMaxFileBytes)));
    }
    file_ = audio::RiffFile::load(path, kMaxFileBytes);
    if (!file_) {
        return fail("unreadable");
    }
    return parse();
}

audio::AudioResult WaveFile::openMemory(std::vector<uint8_t> bytes) {
    close();
    if (bytes.size() > kMaxFileBytes) {
        return fail("larger than the largest sound file");
    }
    file_.emplace(std::move(bytes));
    return parse();
}

void WaveFile::close() {
    file_.reset();
    format_.reset();
    dataSize_ = 0;
    dataRead_ = 0;
    failure_.clear();
}

audio::AudioResult WaveFile::parse() {
    const audio::AudioResult result = readFormat();
    if (audio::failed(result)) {
        return result;
    }
    return rewind();
}

audio::AudioResult WaveFile::fail(std::string reason) {
    failure_ = std::move(reason);
    format_.reset();
    dataSize_ = 0;
    return audio::kAudioFail;
}

audio::AudioResult WaveFile::readFormat() {
    file_->seek(0);
    if (!file_->descend(riff_) || riff_.id != audio::fourCc("RIFF") ||
        riff_.formType != audio::fourCc("WAVE")) {
        return fail("not a RIFF/WAVE file");
    }
    audio::RiffChunk formatChunk;
    if (!file_->descend(audio::fourCc("fmt "), riff_, formatChunk)) {
        return fail("no format chunk");
    }
    std::array<uint8_t, kPcmFormatBytes> pcm{};
    if (formatChunk.size < kPcmFormatBytes || file_->read(pcm) < kPcmFormatBytes) {
        return fail("format chunk shorter than 16 bytes");
    }
    audio::WaveFormat wave;
    wave.formatTag = audio::littleEndian16(&pcm[0]);
    wave.channels = audio::littleEndian16(&pcm[2]);
    wave.samplesPerSecond = audio::littleEndian32(&pcm[4]);
    wave.averageBytesPerSecond = audio::littleEndian32(&pcm[8]);
    wave.blockAlign = audio::littleEndian16(&pcm[12]);
    wave.bitsPerSample = audio::littleEndian16(&pcm[14]);
    if (wave.formatTag != audio::kWaveFormatPcm) {
        std::array<uint8_t, kExtraSizeBytes> extraSize{};
        if (formatChunk.size < kPcmFormatBytes + kExtraSizeBytes ||
            file_->read(extraSize) < kExtraSizeBytes) {
            return fail("format chunk without its extra size");
        }
        wave.extra.resize(audio::littleEndian16(extraSize.data()));
        if (formatChunk.size < kPcmFormatBytes + kExtraSizeBytes + wave.extra.size() ||
            file_->read(wave.extra) < wave.extra.size()) {
            return fail("format extra bytes run past the format chunk");
        }
    }
    file_->ascend(formatChunk);
    format_ = std::move(wave);
    return audio::kAudioOk;
}

audio::AudioResult WaveFile::rewind() {
    if (!file_ || !format_) {
        return audio::kAudioNotInitialised;
    }
    file_->seek(riff_.dataOffset + kFormTypeBytes);
    if (!file_->descend(audio::fourCc("data"), riff_, data_)) {
        return fail("no data chunk");
    }
    // A data chunk that claims more than the file holds is cut to what is there: a damaged
    // header must not buy megabytes of silence and minutes in the call-out queue.
    const uint64_t held = file_->size() > data_.dataOffset ? file_->size() - data_.dataOffset : 0;
    const uint64_t size = std::min<uint64_t>(data_.size, held);
    if (size > kMaxDataBytes) {
        return fail(tavi::format("data chunk of %llu bytes is larger than %u",
                                 static_cast<unsigned long long>(size), kMaxDataBytes));
    }
    if (size == 0) {
        return fail("empty data chunk");
    }
    dataSize_ = static_cast<uint32_t>(size);
    dataRead_ = 0;
    return audio::kAudioOk;
}

audio::AudioResult WaveFile::read(std::span<uint8_t> destination, uint32_t& bytesRead) {
    bytesRead = 0;
    if (!file_ || dataSize_ == 0) {
        return audio::kAudioNotInitialised;
    }
    const uint32_t wanted =
        static_cast<uint32_t>(std::min<uint64_t>(destination.size(), dataSize_ - dataRead_));
    bytesRead = static_cast<uint32_t>(file_->read(destination.first(wanted)));
    dataRead_ += bytesRead;
    return audio::kAudioOk;
}

} // namespace tavi
