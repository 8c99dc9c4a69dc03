#pragma once

#include <cstdint>
#include <string>

namespace tavi {

// Value types of a state field.
enum class StateFieldType : int32_t {
    None = 0,
    Text = 2,
    Int32 = 5,
    Bool = 6,
    Float = 18,
    Double = 19,
    Blob = 24,
};

inline constexpr int32_t kStateTextSize = 256;
inline constexpr int32_t kStateBlobMaxSize = 256;

// One field of a system's per-flight state; an array of them ends with a null key.
struct StateField {
    const char* key = nullptr;
    void* data = nullptr;
    int32_t count = 1;
    StateFieldType type = StateFieldType::None;
    int32_t size = 0;
    int32_t reserved = 0;
};

// The per-flight state file handed to the save and load operations.
struct StateFile {
    int32_t reserved = 0;
    std::string path;
};

} // namespace tavi
