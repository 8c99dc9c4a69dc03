#pragma once

#include "core/StateField.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// The simulator's state as SimConnect reports it (paused, sound on) and the per-flight state
// operations every system's save and load are written against.
class Fs9Reader {
public:
    bool isPaused() const { return paused; }
    bool isSoundOn() const { return soundOn; }

    // Writes one field into the section of the state file; false for a count other than 1, an
    // unknown type, a blob longer than 256 bytes or a failed write. Type None writes nothing.
    bool saveField(const char* section, const StateField& field, const StateFile& file) const;
    // Reads one field; a missing key leaves the value unchanged, an empty one reads as zero.
    // A blob is read pair of hex digits by pair up to its size; the bytes from the first pair
    // that is missing or not two hex digits on keep their values. Texts keep at most size - 1
    // characters (255).
    bool loadField(const char* section, const StateField& field, const StateFile& file) const;
    // Handle the fields in order up to a null key or the first failing field; the count of
    // fields handled.
    int saveFields(const char* section, const StateField* fields, const StateFile& file) const;
    int loadFields(const char* section, const StateField* fields, const StateFile& file) const;

    StateFile* stateFile = &ownStateFile;
    bool paused = false;
    bool soundOn = true;

private:
    StateFile ownStateFile;
};

// The stored text of a key of the state file, or nothing when it is missing.
std::optional<std::string> lookupStateValue(const StateFile& file, std::string_view section,
                                            std::string_view key);

// How many keys the section holds, each counted once.
std::size_t stateKeyCount(const StateFile& file, std::string_view section);

bool saveStringField(const StateFile& file, const char* section, const char* key,
                     const std::string& text);
std::string loadStringField(const StateFile& file, const char* section, const char* key);
bool saveStringList(const StateFile& file, const char* section, const char* key,
                    const std::vector<std::string>& texts);
// Appends the stored texts to the list (the list is not emptied first); the list ends at its
// count or at the first text missing from the file.
void loadStringList(const StateFile& file, const char* section, const char* key,
                    std::vector<std::string>& texts);

} // namespace tavi
