#include "platform/profile/Profile.h"

#include "platform/files/Files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <locale.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tavi::platform::profile {

namespace fs = std::filesystem;
namespace files = platform::files;

namespace {

// A larger file is not a profile: it reads as empty and is never rewritten.
constexpr std::size_t kMaxFileBytes = 64u << 20;

enum class LoadStatus { Loaded, Missing, Failed };

struct Loaded {
    LoadStatus status = LoadStatus::Failed;
    std::string bytes;
};

Loaded load(const fs::path& file) {
    files::FileContent content = files::readRegularFile(file, kMaxFileBytes);
    Loaded loaded;
    loaded.bytes = std::move(content.bytes);
    loaded.status = content.status == files::FileContent::Status::Read      ? LoadStatus::Loaded
                    : content.status == files::FileContent::Status::Missing ? LoadStatus::Missing
                                                                            : LoadStatus::Failed;
    return loaded;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCased(std::string_view name) {
    std::string lowered(name);
    for (char& c : lowered) {
        c = asciiLower(c);
    }
    return lowered;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// One line of the file: its text without the line end, and where the next line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t textEnd = 0;
    std::size_t end = 0;
};

Line lineAt(std::string_view bytes, std::size_t begin) {
    const std::size_t newline = bytes.find('\n', begin);
    Line line;
    line.begin = begin;
    line.end = newline == std::string_view::npos ? bytes.size() : newline + 1;
    line.textEnd = newline == std::string_view::npos ? bytes.size() : newline;
    if (line.textEnd > begin && bytes[line.textEnd - 1] == '\r') {
        --line.textEnd;
    }
    return line;
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;
    std::string_view value;
};

ParsedLine parse(std::string_view text) {
    const std::string_view content = trim(text);
    if (content.empty()) {
        return {};
    }
    if (content.front() == ';') {
        return {LineKind::Comment, {}, {}};
    }
    if (content.front() == '[') {
        const std::size_t close = content.find(']');
        if (close != std::string_view::npos) {
            return {LineKind::Section, trim(content.substr(1, close - 1)), {}};
        }
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        return {LineKind::Other, {}, {}};
    }
    return {LineKind::Entry, trim(content.substr(0, equals)),
            unquote(trim(content.substr(equals + 1)))};
}

// Where a key stands in a file, as lookup and write both need it.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    std::string_view value;
    // Just past the section's last line that is not blank or a comment (its header at least).
    std::size_t appendAt = 0;
};

Location locate(std::string_view bytes, std::string_view section, std::string_view key) {
    Location location;
    bool inSection = false;
    for (std::size_t begin = 0; begin < bytes.size();) {
        const Line line = lineAt(bytes, begin);
        begin = line.end;
        const ParsedLine parsed = parse(bytes.substr(line.begin, line.textEnd - line.begin));
        if (parsed.kind == LineKind::Section) {
            if (inSection) {
                break;
            }
            if (equalNoCase(parsed.name, section)) {
                inSection = true;
                location.sectionFound = true;
                location.appendAt = line.end;
            }
            continue;
        }
        if (!inSection || parsed.kind == LineKind::Blank || parsed.kind == LineKind::Comment) {
            continue;
        }
        location.appendAt = line.end;
        if (parsed.kind == LineKind::Entry && equalNoCase(parsed.name, key)) {
            location.keyFound = true;
            location.keyLine = line;
            location.value = parsed.value;
            break;
        }
    }
    return location;
}

// The line end of the file's first line: a file written with CRLF goes on with CRLF.
std::string_view lineEndOf(std::string_view bytes) {
    const std::size_t newline = bytes.find('\n');
    if (newline != std::string_view::npos && newline > 0 && bytes[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

// Inserts lines at a line boundary, ending the line before them when it has no line end.
void insertLines(std::string& bytes, std::size_t at, std::string_view lines,
                 std::string_view lineEnd) {
    std::string inserted;
    if (at > 0 && bytes[at - 1] != '\n') {
        inserted = bytes[at - 1] == '\r' ? "\n" : std::string(lineEnd);
    }
    inserted += lines;
    bytes.insert(at, inserted);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back as something else, or break the file into extra
// lines, are refused.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos && !key.empty() &&
           !hasLineBreak(key) && key.find('=') == std::string_view::npos && key.front() != ';' &&
           key.front() != '[' && !hasLineBreak(value);
}

// Reading trims blanks around a value and takes off one pair of quotes; a value that this would
// change (a saved name ending in a blank, a text that is itself quoted) is written inside quotes
// so it reads back as it was saved.
std::string storedValue(std::string_view value) {
    if (trim(value) != value || unquote(value) != value) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

std::string updated(std::string_view bytes, std::string_view section, std::string_view key,
                    std::string_view value) {
    const Location location = locate(bytes, section, key);
    const std::string_view lineEnd = lineEndOf(bytes);
    const std::string entry = std::string(key) + "=" + storedValue(value);
    std::string result(bytes);
    if (location.keyFound) {
        result.replace(location.keyLine.begin, location.keyLine.textEnd - location.keyLine.begin,
                       entry);
    } else if (location.sectionFound) {
        insertLines(result, location.appendAt, entry + std::string(lineEnd), lineEnd);
    } else {
        const std::string lines =
            "[" + std::string(section) + "]" + std::string(lineEnd) + entry + std::string(lineEnd);
        insertLines(result, result.size(), lines, lineEnd);
    }
    return result;
}

// The entries of one section in a merge: each key once, at the place of its first entry, as its
// last entry spells and sets it.
struct SectionEntries {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
    std::unordered_map<std::string, std::size_t> byKey;
    std::vector<bool> written;
};

std::vector<SectionEntries> groupBySection(std::span<const Entry> entries) {
    std::vector<SectionEntries> sections;
    std::unordered_map<std::string, std::size_t> byName;
    for (const Entry& entry : entries) {
        const std::string_view section = trim(entry.section);
        const std::string_view key = trim(entry.key);
        const auto [named, newSection] = byName.try_emplace(lowerCased(section), sections.size());
        if (newSection) {
            sections.push_back({std::string(section), {}, {}, {}});
        }
        SectionEntries& group = sections[named->second];
        const auto [keyed, newKey] = group.byKey.try_emplace(lowerCased(key), group.entries.size());
        if (newKey) {
            group.entries.emplace_back(std::string(key), entry.value);
        } else {
            group.entries[keyed->second] = {std::string(key), entry.value};
        }
    }
    for (SectionEntries& group : sections) {
        group.written.assign(group.entries.size(), false);
    }
    return sections;
}

// The keys of the group not yet in the file, as lines.
std::string remainingLines(SectionEntries& group, std::string_view lineEnd) {
    std::string lines;
    for (std::size_t i = 0; i < group.entries.size(); ++i) {
        if (!group.written[i]) {
            lines += group.entries[i].first + "=" + storedValue(group.entries[i].second);
            lines += lineEnd;
            group.written[i] = true;
        }
    }
    return lines;
}

// What updated gives for each entry in turn, in one pass over the file: a key's first line in
// the first section of its name takes the new value in place, other keys follow the section's
// last line that is not blank or a comment, and new sections go at the end.
std::string merged(std::string_view bytes, std::span<const Entry> entries) {
    std::vector<SectionEntries> sections = groupBySection(entries);
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        byName.emplace(lowerCased(sections[i].name), i);
    }
    const std::string_view lineEnd = lineEndOf(bytes);
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 4);
    SectionEntries* current = nullptr;
    std::size_t appendAt = 0;
    std::set<std::string> seen;
    const auto closeSection = [&] {
        if (current) {
            const std::string lines = remainingLines(*current, lineEnd);
            if (!lines.empty()) {
                insertLines(result, appendAt, lines, lineEnd);
            }
            current = nullptr;
        }
    };
    for (std::size_t begin = 0; begin < bytes.size();) {
        const Line line = lineAt(bytes, begin);
        begin = line.end;
        const ParsedLine parsed = parse(bytes.substr(line.begin, line.textEnd - line.begin));
        if (parsed.kind == LineKind::Section) {
            closeSection();
            const std::string name = lowerCased(parsed.name);
            const auto found = byName.find(name);
            if (seen.insert(name).second && found != byName.end()) {
                current = &sections[found->second];
            }
            result.append(bytes.substr(line.begin, line.end - line.begin));
            appendAt = result.size();
            continue;
        }
        std::size_t replaced = SIZE_MAX;
        if (current && parsed.kind == LineKind::Entry) {
            const auto keyed = current->byKey.find(lowerCased(parsed.name));
            if (keyed != current->byKey.end() && !current->written[keyed->second]) {
                replaced = keyed->second;
            }
        }
        if (replaced != SIZE_MAX) {
            const auto& [key, value] = current->entries[replaced];
            current->written[replaced] = true;
            result += key + "=" + storedValue(value);
            result.append(bytes.substr(line.textEnd, line.end - line.textEnd));
        } else {
            result.append(bytes.substr(line.begin, line.end - line.begin));
        }
        if (current && parsed.kind != LineKind::Blank && parsed.kind != LineKind::Comment) {
            appendAt = result.size();
        }
    }
    closeSection();
    for (SectionEntries& group : sections) {
        if (seen.count(lowerCased(group.name)) == 0) {
            insertLines(result, result.size(),
                        "[" + group.name + "]" + std::string(lineEnd) +
                            remainingLines(group, lineEnd),
                        lineEnd);
        }
    }
    return result;
}

// A link is followed, so that the file it points at is rewritten and the link stays.
fs::path writeTarget(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(file, error))) {
        const fs::path resolved = fs::canonical(file, error);
        if (!error) {
            return resolved;
        }
    }
    return file;
}

std::string cutToBuffer(std::optional<std::string> value, std::string_view defaultValue,
                        std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    if (!value) {
        return std::string(defaultValue.substr(0, bufferSize - 1));
    }
    if (value->size() > bufferSize - 1) {
        value->resize(bufferSize - 1);
    }
    return std::move(*value);
}

} // namespace

std::optional<std::string> lookup(const fs::path& file, std::string_view section,
                                  std::string_view key) {
    const Loaded loaded = load(file);
    if (loaded.status != LoadStatus::Loaded) {
        return std::nullopt;
    }
    const Location location = locate(loaded.bytes, trim(section), trim(key));
    if (!location.keyFound) {
        return std::nullopt;
    }
    return std::string(location.value);
}

std::string read(const fs::path& file, std::string_view section, std::string_view key,
                 std::string_view defaultValue, std::size_t bufferSize) {
    return cutToBuffer(lookup(file, section, key), defaultValue, bufferSize);
}

bool write(const fs::path& file, std::string_view section, std::string_view key,
           std::string_view value) {
    const Entry entry{std::string(section), std::string(key), std::string(value)};
    return write(file, std::span(&entry, 1));
}

bool write(const fs::path& file, std::span<const Entry> entries) {
    for (const Entry& entry : entries) {
        if (!writable(trim(entry.section), trim(entry.key), entry.value)) {
            return false;
        }
    }
    const fs::path target = writeTarget(file);
    const Loaded old = load(target);
    if (old.status == LoadStatus::Failed ||
        (old.status == LoadStatus::Loaded && ::access(target.c_str(), W_OK) != 0)) {
        return false;
    }
    std::string bytes = old.bytes;
    for (const Entry& entry : entries) {
        bytes = updated(bytes, trim(entry.section), trim(entry.key), entry.value);
    }
    return files::replaceFile(target, bytes);
}

bool removeKey(const fs::path& file, std::string_view section, std::string_view key) {
    const fs::path target = writeTarget(file);
    const Loaded old = load(target);
    if (old.status == LoadStatus::Missing) {
        return true;
    }
    if (old.status == LoadStatus::Failed) {
        return false;
    }
    const Location location = locate(old.bytes, trim(section), trim(key));
    if (!location.keyFound) {
        return true;
    }
    if (::access(target.c_str(), W_OK) != 0) {
        return false;
    }
    std::string bytes = old.bytes;
    bytes.erase(location.keyLine.begin, location.keyLine.end - location.keyLine.begin);
    return files::replaceFile(target, bytes);
}

Document::Document(std::string bytes) : text(std::move(bytes)) {
    index();
}

void Document::index() {
    sections.clear();
    lastSection.clear();
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (std::size_t begin = 0; begin < text.size();) {
        const Line line = lineAt(text, begin);
        begin = line.end;
        const ParsedLine parsed =
            parse(std::string_view(text).substr(line.begin, line.textEnd - line.begin));
        if (parsed.kind == LineKind::Section) {
            const auto [at, inserted] = sections.try_emplace(lowerCased(parsed.name));
            current = inserted ? &at->second : nullptr;
            lastSection = inserted ? at->first : std::string();
            lastSectionAppendAt = line.end;
            continue;
        }
        if (parsed.kind != LineKind::Blank && parsed.kind != LineKind::Comment) {
            lastSectionAppendAt = line.end;
        }
        if (parsed.kind == LineKind::Entry && current) {
            current->try_emplace(lowerCased(parsed.name), parsed.value);
        }
    }
}

bool Document::appendNew(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sectionName = lowerCased(section);
    const auto found = sections.find(sectionName);
    const bool newSection = found == sections.end();
    if (!newSection && (sectionName != lastSection || found->second.contains(lowerCased(key)))) {
        return false;
    }
    const std::string lineEnd(lineEndOf(text));
    const std::string entry = std::string(key) + "=" + storedValue(value) + lineEnd;
    const std::size_t at = newSection ? text.size() : lastSectionAppendAt;
    const std::string lines =
        newSection ? "[" + std::string(section) + "]" + lineEnd + entry : entry;
    const std::size_t before = text.size();
    insertLines(text, at, lines, lineEnd);
    lastSectionAppendAt = at + (text.size() - before);
    if (newSection) {
        lastSection = sectionName;
    }
    const Line added = lineAt(text, lastSectionAppendAt - entry.size());
    const ParsedLine parsed =
        parse(std::string_view(text).substr(added.begin, added.textEnd - added.begin));
    sections[sectionName].try_emplace(lowerCased(parsed.name), parsed.value);
    return true;
}

std::optional<std::string> Document::lookup(std::string_view section, std::string_view key) const {
    const auto found = sections.find(lowerCased(trim(section)));
    if (found == sections.end()) {
        return std::nullopt;
    }
    const auto entry = found->second.find(lowerCased(trim(key)));
    if (entry == found->second.end()) {
        return std::nullopt;
    }
    return entry->second;
}

std::size_t Document::keyCount(std::string_view section) const {
    const auto found = sections.find(lowerCased(trim(section)));
    return found == sections.end() ? 0 : found->second.size();
}

std::string Document::read(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) const {
    return cutToBuffer(lookup(section, key), defaultValue, bufferSize);
}

bool Document::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (!writable(section, key, value)) {
        return false;
    }
    if (!appendNew(section, key, value)) {
        text = updated(text, section, key, value);
        index();
    }
    return true;
}

bool Document::setAll(std::span<const Entry> entries) {
    std::vector<Entry> accepted;
    accepted.reserve(entries.size());
    for (const Entry& entry : entries) {
        if (isWritable(entry.section, entry.key, entry.value)) {
            accepted.push_back(entry);
        }
    }
    text = merged(text, accepted);
    index();
    return accepted.size() == entries.size();
}

void Document::remove(std::string_view section, std::string_view key) {
    const Location location = locate(text, trim(section), trim(key));
    if (location.keyFound) {
        text.erase(location.keyLine.begin, location.keyLine.end - location.keyLine.begin);
        index();
    }
}

bool isWritable(std::string_view section, std::string_view key, std::string_view value) {
    return writable(trim(section), trim(key), value);
}

LoadedDocument loadDocument(const fs::path& file) {
    files::FileContent content = files::readRegularFile(file, kMaxFileBytes);
    LoadedDocument loaded;
    if (content.status == files::FileContent::Status::Read) {
        loaded.document = Document(std::move(content.bytes));
    } else if (content.status != files::FileContent::Status::Missing) {
        loaded.problem = files::describe(content, kMaxFileBytes);
    }
    return loaded;
}

bool saveDocument(const fs::path& file, const Document& document) {
    return files::replaceFile(file, document.bytes());
}

int32_t parseInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const int64_t limit = negative ? -int64_t{INT32_MIN} : int64_t{INT32_MAX};
    int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = std::min(limit, magnitude * 10 + (text[at] - '0'));
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

double parseDouble(std::string_view text, std::size_t* used) {
    if (used) {
        *used = 0;
    }
    const std::string terminated(text);
    const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (cLocale == static_cast<locale_t>(0)) {
        return 0.0;
    }
    char* end = nullptr;
    const double value = ::strtod_l(terminated.c_str(), &end, cLocale);
    ::freelocale(cLocale);
    if (used) {
        *used = static_cast<std::size_t>(end - terminated.c_str());
    }
    return value;
}

} // namespace tavi::platform::profile
