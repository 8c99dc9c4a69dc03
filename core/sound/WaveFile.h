#pragma once

#include "platform/audio/AudioDevice.h"
#include "platform/audio/RiffFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tavi {

// Reads the samples of a RIFF/WAVE file. Sizes are never trusted beyond the bytes the file
// holds: a data chunk that claims more is cut to what there is, so its sound is no longer than
// the samples it has.
class WaveFile {
public:
    // Larger files and larger data chunks are refused.
    static constexpr uint64_t kMaxFileBytes = 64u << 20;
    static constexpr uint32_t kMaxDataBytes = 32u << 20;

    // Opens the file, reads its format and finds its data; on failure dataSize() is 0 and
    // failure() says why.
    platform::audio::AudioResult open(const std::filesystem::path& path);
    platform::audio::AudioResult openMemory(std::vector<uint8_t> bytes);
    void close();

    uint32_t dataSize() const { return dataSize_; }
    // Null while no format has been read.
    const platform::audio::WaveFormat* format() const { return format_ ? &*format_ : nullptr; }
    const std::string& failure() const { return failure_; }

    // Goes back to the first byte of the data.
    platform::audio::AudioResult rewind();
    // Copies the next bytes of the data, never past its end.
    platform::audio::AudioResult read(std::span<uint8_t> destination, uint32_t& bytesRead);

private:
    platform::audio::AudioResult parse();
    platform::audio::AudioResult readFormat();
    platform::audio::AudioResult fail(std::string reason);

    std::optional<platform::audio::RiffFile> file_;
    platform::audio::RiffChunk riff_;
    platform::audio::RiffChunk data_;
    uint32_t dataSize_ = 0;
    uint32_t dataRead_ = 0;
    std::optional<platform::audio::WaveFormat> format_;
    std::string failure_;
};

} // namespace tavi
