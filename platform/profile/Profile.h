#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

// Private-profile files: "[section]" lines and "key=value" lines.
//
// Reading rules: section and key names match without regard to case and the first matching
// section and key win; spaces and tabs around names, "=" and values are trimmed; one pair of
// matching quotes around a value is removed; lines starting with ";" are comments; LF and CRLF
// line ends are both accepted; a "[" line without "]" and a line without "=" are no names. Names
// are ASCII and compared without case. A file that is missing, unreadable, not a regular file,
// larger than 64 MB or garbage reads as empty. Every call opens the file anew: nothing is cached.
namespace tavi::platform::profile {

// The value of the key, or nothing when the file, the section or the key is missing.
std::optional<std::string> lookup(const std::filesystem::path& file, std::string_view section,
                                  std::string_view key);

// The value, or the default when missing, cut to bufferSize - 1 bytes (the caller's buffer).
std::string read(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view defaultValue, std::size_t bufferSize);

struct Entry {
    std::string section;
    std::string key;
    std::string value;
};

// Whether write would take the entry: names and values that would read back as something else
// or break the file into extra lines are refused.
bool isWritable(std::string_view section, std::string_view key, std::string_view value);

// Writes key=value into the section, creating the file and the section when missing (a new
// section goes at the end). The key's first occurrence becomes the line key=value in place,
// otherwise the key is appended after the section's last line that is not blank or a comment;
// every other line is kept byte for byte, and new lines take the line end of the file's first
// line (LF for a new file). The value is stored as given, so spaces around it and a pair of quotes
// around it are lost on reading. The new file is written beside the old one and replaces it in one
// rename (a link is followed and keeps pointing at it; the old file's permissions are kept), so
// a failed write answers false and leaves the old file whole. Also false: an existing file that
// cannot be read or written, a missing folder, a value or name holding a line break, a section
// name holding "]", and an empty key or one holding "=" or starting with ";" or "[".
bool write(const std::filesystem::path& file, std::string_view section, std::string_view key,
           std::string_view value);

// Writes the entries in order as write does, in one replacement of the file: all of them or,
// when one cannot be written, none.
bool write(const std::filesystem::path& file, std::span<const Entry> entries);

// Removes the key's first occurrence from the section, keeping every other line byte for byte,
// with the same file handling as write. True when the key is gone, also when the file, the
// section or the key was missing (nothing is then written or created).
bool removeKey(const std::filesystem::path& file, std::string_view section, std::string_view key);

// A profile file read once and then looked up and changed in memory, under the reading and
// writing rules above, without going back to the disk for every key.
class Document {
public:
    Document() = default;
    explicit Document(std::string bytes);

    std::optional<std::string> lookup(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     std::size_t bufferSize) const;
    // As write and removeKey do on the disk; set answers false for what would not read back.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    void remove(std::string_view section, std::string_view key);
    // As set for each entry in order, in one pass over the document however many there are.
    // An entry set would refuse is left out: false.
    bool setAll(std::span<const Entry> entries);
    // How many keys the first section of the name holds, each counted once.
    std::size_t keyCount(std::string_view section) const;

    const std::string& bytes() const { return text; }

private:
    void index();
    // A new key of the file's last section, or a new section, goes in without reading the whole
    // text again: a document built key by key costs time in proportion to its size.
    bool appendNew(std::string_view section, std::string_view key, std::string_view value);

    std::string text;
    // The first section of each name, by lower-cased name, and its first entry of each key.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
    // The lower-cased name of the text's last section when it is the first of its name (empty
    // otherwise), and where a new key of it goes: past its last line that is not blank or a
    // comment.
    std::string lastSection;
    std::size_t lastSectionAppendAt = 0;
};

// The file read whole, and why it was not when it is there but unusable (a folder, a FIFO,
// larger than 64 MB, unreadable): empty when it was read or is missing, which reads as empty.
struct LoadedDocument {
    Document document;
    std::string problem;
};
LoadedDocument loadDocument(const std::filesystem::path& file);

// Writes the document as the whole new file (see files::replaceFile): false, the old file
// whole, when it cannot be written.
bool saveDocument(const std::filesystem::path& file, const Document& document);

// Decimal integer as the C library's atoi reads it, independent of the locale: leading white
// space, an optional sign, then digits up to the first other character; 0 when no digit comes
// first; saturates at the int32 limits.
int32_t parseInt(std::string_view text);

// Floating-point number as strtod reads it in the C locale, whatever the process's locale:
// "12,5" gives 12.0, 0.0 when nothing converts. Its other forms are kept as well: "0x1p4" gives
// 16, "inf" and "nan" give infinity and NaN, and a value out of range gives +-HUGE_VAL.
// When used is given, it receives how many characters the number took (0 when none).
double parseDouble(std::string_view text, std::size_t* used = nullptr);

} // namespace tavi::platform::profile
