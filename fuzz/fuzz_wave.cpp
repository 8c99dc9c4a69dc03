// Reads arbitrary bytes as a WAV file: whatever its chunks claim, reading never goes past the
// data chunk or the bytes there are, and no data chunk is larger than the file.
#include "core/sound/WaveFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavi::WaveFile wave;
    if (tavi::platform::audio::failed(wave.openMemory(std::vector<uint8_t>(data, data + size)))) {
        if (wave.dataSize() != 0 || wave.format() != nullptr) {
            __builtin_trap();
        }
        return 0;
    }
    if (wave.dataSize() > size) {
        __builtin_trap();
    }
    std::vector<uint8_t> buffer(std::min<uint32_t>(wave.dataSize(), 4096));
    for (int pass = 0; pass < 2; ++pass) {
        uint64_t total = 0;
        uint32_t got = 0;
        do {
            wave.read(buffer, got);
            total += got;
            if (got > buffer.size() || total > wave.dataSize() || total > size) {
                __builtin_trap();
            }
        } while (got > 0);
        wave.rewind();
    }
    return 0;
}
