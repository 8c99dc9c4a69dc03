#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <string_view>
#include <vector>

// RIFF/WAVE files built byte by byte, well-formed or not.
namespace tavi::test {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void put32(Bytes& bytes, uint32_t value) {
    put16(bytes, static_cast<uint16_t>(value));
    put16(bytes, static_cast<uint16_t>(value >> 16));
}

inline void putId(Bytes& bytes, std::string_view id) {
    bytes.insert(bytes.end(), id.begin(), id.end());
}

// A chunk with its pad byte; the declared size may differ from the data's.
inline Bytes chunk(std::string_view id, const Bytes& data,
                   std::optional<uint32_t> declaredSize = std::nullopt) {
    Bytes bytes;
    putId(bytes, id);
    put32(bytes, declaredSize.value_or(static_cast<uint32_t>(data.size())));
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

inline Bytes formatData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes bytes;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    put16(bytes, tag);
    put16(bytes, channels);
    put32(bytes, rate);
    put32(bytes, rate * blockAlign);
    put16(bytes, blockAlign);
    put16(bytes, bits);
    return bytes;
}

inline Bytes riffWave(const std::vector<Bytes>& chunks) {
    Bytes body;
    putId(body, "WAVE");
    for (const Bytes& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    Bytes bytes;
    putId(bytes, "RIFF");
    put32(bytes, static_cast<uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

inline Bytes pcmWave(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples) {
    return riffWave({chunk("fmt ", formatData(1, channels, rate, bits)), chunk("data", samples)});
}

inline constexpr uint32_t kTestRate = 22050;

// A 16-bit mono sine of the given length.
inline Bytes sine16(uint32_t ms, double amplitude = 0.5, double hz = 441.0) {
    Bytes bytes;
    const uint32_t frames = kTestRate * ms / 1000;
    for (uint32_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * std::numbers::pi * hz * i / kTestRate);
        put16(bytes, static_cast<uint16_t>(static_cast<int16_t>(value * 32767.0)));
    }
    return bytes;
}

inline Bytes sineWave16(uint32_t ms, double amplitude = 0.5) {
    return pcmWave(1, kTestRate, 16, sine16(ms, amplitude));
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Root mean square of interleaved samples.
inline double rms(const std::vector<float>& samples) {
    double sum = 0.0;
    for (float sample : samples) {
        sum += double{sample} * sample;
    }
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

} // namespace tavi::test
