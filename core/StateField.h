#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

namespace platform::profile {
class Document;
struct Entry;
} // namespace platform::profile

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

// The per-flight state file handed to the save and load operations. While a whole flight is
// loaded, the fields are read from the document, the file as read once; while one is saved, the
// fields written are gathered in order, and the owner writes the file once with all of them.
// Without either, each operation goes to the file itself.
struct StateFile {
    int32_t reserved = 0;
    std::string path;
    const platform::profile::Document* document = nullptr;
    std::vector<platform::profile::Entry>* savedFields = nullptr;
};

} // namespace tavi
