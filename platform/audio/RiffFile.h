#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace tavi::platform::audio {

// A four-character chunk code as it is stored in a file ("RIFF", "fmt ").
constexpr uint32_t fourCc(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// RIFF numbers are stored little-endian.
constexpr uint16_t littleEndian16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

constexpr uint32_t littleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(littleEndian16(bytes)) |
           static_cast<uint32_t>(littleEndian16(bytes + 2)) << 16;
}

struct RiffChunk {
    uint32_t id = 0;
    // The size the chunk declares for its data, which the file may not hold in full.
    uint32_t size = 0;
    // "RIFF" and "LIST" chunks only: the form type that opens their data.
    uint32_t formType = 0;
    // Offset of the chunk's data in the file (for "RIFF" and "LIST", of the form type).
    uint64_t dataOffset = 0;
};

// A RIFF file held in memory and read from a position, as buffered file I/O would: chunks are
// entered and left and their data is read, always within the bytes the file has, whatever
// sizes its chunks declare.
class RiffFile {
public:
    explicit RiffFile(std::vector<uint8_t> bytes);

    // The whole file, or nothing when it cannot be read or holds more than maxBytes.
    static std::optional<RiffFile> load(const std::filesystem::path& path, uint64_t maxBytes);

    // Enters the chunk that starts at the position; a "RIFF" or "LIST" chunk is entered past
    // its form type.
    bool descend(RiffChunk& chunk);
    // Finds the first chunk with this id from the position on, within the parent's data, and
    // enters it.
    bool descend(uint32_t id, const RiffChunk& parent, RiffChunk& chunk);
    // Moves past the end of the chunk and its pad byte.
    void ascend(const RiffChunk& chunk);
    void seek(uint64_t offset);
    // Copies up to destination.size() bytes from the position on; answers how many there were.
    std::size_t read(std::span<uint8_t> destination);

    uint64_t size() const { return bytes_.size(); }

private:
    bool readHeader(RiffChunk& chunk);
    uint64_t endOf(const RiffChunk& chunk) const;

    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

} // namespace tavi::platform::audio
