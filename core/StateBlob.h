#pragma once

#include "core/Fs9Reader.h"
#include "core/StateField.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace tavi {

// The bytes of a record as the state file stores them: each field little-endian at a fixed
// offset, whatever the layout of the record in memory. A boolean takes one byte, 0 or 1; any
// byte other than 0 reads as true. Bytes no field covers stay 0.
template <std::size_t Size>
class StateBlob {
    static_assert(Size <= static_cast<std::size_t>(kStateBlobMaxSize));

public:
    template <std::size_t Offset, typename Value>
    void put(Value value) {
        static_assert(Offset + sizeof(Value) <= Size);
        if constexpr (std::is_same_v<Value, bool>) {
            bytes[Offset] = value ? 1 : 0;
        } else {
            putBits<Offset>(std::bit_cast<Unsigned<Value>>(value));
        }
    }

    template <std::size_t Offset, typename Value>
    Value get() const {
        static_assert(Offset + sizeof(Value) <= Size);
        if constexpr (std::is_same_v<Value, bool>) {
            return bytes[Offset] != 0;
        } else {
            return std::bit_cast<Value>(getBits<Offset, Unsigned<Value>>());
        }
    }

    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const {
        std::array<unsigned char, Size> written = bytes;
        return reader.saveField(section, field(key, written.data()), file);
    }

    // A missing key leaves every byte as it was; so does a text cut short from its first bad
    // pair on, so a record packed before the load keeps those fields.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) {
        reader.loadField(section, field(key, bytes.data()), file);
    }

private:
    template <typename Value>
    using Unsigned = std::conditional_t<
        sizeof(Value) == 8, uint64_t,
        std::conditional_t<sizeof(Value) == 4, uint32_t,
                           std::conditional_t<sizeof(Value) == 2, uint16_t, uint8_t>>>;

    template <std::size_t Offset, typename Bits>
    void putBits(Bits bits) {
        for (std::size_t i = 0; i < sizeof(Bits); ++i) {
            bytes[Offset + i] = static_cast<unsigned char>(bits >> (8 * i));
        }
    }

    template <std::size_t Offset, typename Bits>
    Bits getBits() const {
        Bits bits = 0;
        for (std::size_t i = 0; i < sizeof(Bits); ++i) {
            bits |= static_cast<Bits>(static_cast<Bits>(bytes[Offset + i]) << (8 * i));
        }
        return bits;
    }

    static StateField field(const std::string& key, unsigned char* data) {
        StateField made;
        made.key = key.c_str();
        made.data = data;
        made.type = StateFieldType::Blob;
        made.size = static_cast<int32_t>(Size);
        return made;
    }

    std::array<unsigned char, Size> bytes{};
};

} // namespace tavi
