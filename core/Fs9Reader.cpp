#include "core/Fs9Reader.h"

#include "platform/profile/Profile.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace tavi {

namespace {

namespace profile = platform::profile;

// The value texts are read as into buffers of these sizes: at most one character less.
constexpr std::size_t kNumberBuffer = 32;
constexpr std::size_t kBlobBuffer = 600;

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isKnownType(StateFieldType type) {
    switch (type) {
    case StateFieldType::None:
    case StateFieldType::Text:
    case StateFieldType::Int32:
    case StateFieldType::Bool:
    case StateFieldType::Float:
    case StateFieldType::Double:
    case StateFieldType::Blob:
        return true;
    }
    return false;
}

bool isValidBlobSize(int32_t size) {
    return size >= 0 && size <= kStateBlobMaxSize;
}

// The characters a text field holds, its terminating zero included: the declared size when it
// is within the field's limit, the limit otherwise.
std::size_t textCapacity(const StateField& field) {
    return field.size > 0 && field.size <= kStateTextSize
               ? static_cast<std::size_t>(field.size)
               : static_cast<std::size_t>(kStateTextSize);
}

// Six decimals as "%f" writes them, but with a point whatever the process's locale.
std::string sixDecimals(double value) {
    char text[400];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

std::string hexText(const unsigned char* bytes, std::size_t size) {
    std::string text;
    text.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        text += kHexDigits[bytes[i] >> 4];
        text += kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string valueText(const StateField& field) {
    switch (field.type) {
    case StateFieldType::Text: {
        const auto* text = static_cast<const char*>(field.data);
        return std::string(text, strnlen(text, textCapacity(field) - 1));
    }
    case StateFieldType::Int32:
        return std::to_string(*static_cast<const int32_t*>(field.data));
    case StateFieldType::Bool:
        return *static_cast<const unsigned char*>(field.data) != 0 ? "1" : "0";
    case StateFieldType::Float:
        return sixDecimals(*static_cast<const float*>(field.data));
    case StateFieldType::Double:
        return sixDecimals(*static_cast<const double*>(field.data));
    case StateFieldType::Blob:
        return hexText(static_cast<const unsigned char*>(field.data),
                       static_cast<std::size_t>(field.size));
    case StateFieldType::None:
        break;
    }
    return {};
}

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

// Bytes are taken pair by pair; the first pair that is cut short or not two hex digits ends
// the read, and the bytes from there on keep their values.
void storeBlob(std::string_view text, unsigned char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size && 2 * i + 1 < text.size(); ++i) {
        const auto high = hexDigit(text[2 * i]);
        const auto low = hexDigit(text[2 * i + 1]);
        if (!high || !low) {
            return;
        }
        bytes[i] = static_cast<unsigned char>(*high * 16 + *low);
    }
}

void storeValue(const StateField& field, std::string_view text) {
    const std::string_view number = text.substr(0, kNumberBuffer - 1);
    switch (field.type) {
    case StateFieldType::Text: {
        const std::size_t length = std::min(text.size(), textCapacity(field) - 1);
        auto* target = static_cast<char*>(field.data);
        std::memcpy(target, text.data(), length);
        target[length] = '\0';
        break;
    }
    case StateFieldType::Int32:
        *static_cast<int32_t*>(field.data) = profile::parseInt(number);
        break;
    case StateFieldType::Bool:
        *static_cast<bool*>(field.data) = profile::parseInt(number) != 0;
        break;
    case StateFieldType::Float:
        *static_cast<float*>(field.data) = static_cast<float>(profile::parseDouble(number));
        break;
    case StateFieldType::Double:
        *static_cast<double*>(field.data) = profile::parseDouble(number);
        break;
    case StateFieldType::Blob:
        storeBlob(text.substr(0, kBlobBuffer - 1), static_cast<unsigned char*>(field.data),
                  static_cast<std::size_t>(field.size));
        break;
    case StateFieldType::None:
        break;
    }
}

bool isHandled(const StateField& field) {
    return field.count == 1 && isKnownType(field.type) &&
           (field.type != StateFieldType::Blob || isValidBlobSize(field.size));
}

bool hasTarget(const char* section, const StateField& field) {
    return section && field.key && field.data;
}

// Sets the field's value through set(section, key, value); the file is written by the caller.
template <typename Set>
bool setOne(const char* section, const StateField& field, Set& set) {
    if (!isHandled(field)) {
        return false;
    }
    if (field.type == StateFieldType::None) {
        return true;
    }
    return hasTarget(section, field) && set(section, field.key, valueText(field));
}

// While a whole flight is saved the fields are only gathered. Otherwise the state file is
// rewritten whole, once for all the fields given, and replaces the old file only when complete:
// a full disk leaves the previous state as it was. Answers how many fields were set, or nothing
// when the file could not be written.
template <typename SetFields>
std::optional<int> saveAll(const StateFile& file, SetFields setFields) {
    if (file.savedFields) {
        auto gather = [&](std::string_view section, std::string_view key, std::string value) {
            if (!profile::isWritable(section, key, value)) {
                return false;
            }
            file.savedFields->push_back({std::string(section), std::string(key), std::move(value)});
            return true;
        };
        return setFields(gather);
    }
    profile::LoadedDocument loaded = profile::loadDocument(file.path);
    if (!loaded.problem.empty()) {
        return std::nullopt;
    }
    auto setInDocument = [&](std::string_view section, std::string_view key,
                             const std::string& value) {
        return loaded.document.set(section, key, value);
    };
    const int set = setFields(setInDocument);
    if (set > 0 && !profile::saveDocument(file.path, loaded.document)) {
        return std::nullopt;
    }
    return set;
}

bool saveOne(const char* section, const StateField& field, const StateFile& file) {
    bool set = false;
    const auto saved = saveAll(file, [&](auto& setValue) {
        set = setOne(section, field, setValue);
        return set && field.type != StateFieldType::None ? 1 : 0;
    });
    return saved && set;
}

bool loadOne(const char* section, const StateField& field, const StateFile& file) {
    if (!isHandled(field)) {
        return false;
    }
    if (field.type == StateFieldType::None) {
        return true;
    }
    if (!hasTarget(section, field)) {
        return false;
    }
    if (const auto text = lookupStateValue(file, section, field.key)) {
        storeValue(field, *text);
    }
    return true;
}

template <typename Handle>
int handleFields(const StateField* fields, Handle handle) {
    if (!fields) {
        return 0;
    }
    int handled = 0;
    for (const StateField* field = fields; field->key && handle(*field); ++field) {
        ++handled;
    }
    return handled;
}

StateField textField(const char* key, char* text) {
    StateField field;
    field.key = key;
    field.data = text;
    field.type = StateFieldType::Text;
    field.size = kStateTextSize;
    return field;
}

std::string countKey(const char* key) {
    return std::string(key) + ".count";
}

std::string itemKey(const char* key, std::size_t index) {
    return std::string(key) + "." + std::to_string(index);
}

} // namespace

std::optional<std::string> lookupStateValue(const StateFile& file, std::string_view section,
                                            std::string_view key) {
    return file.document ? file.document->lookup(section, key)
                         : profile::lookup(file.path, section, key);
}

std::size_t stateKeyCount(const StateFile& file, std::string_view section) {
    return file.document ? file.document->keyCount(section)
                         : profile::loadDocument(file.path).document.keyCount(section);
}

bool Fs9Reader::saveField(const char* section, const StateField& field,
                          const StateFile& file) const {
    return saveOne(section, field, file);
}

bool Fs9Reader::loadField(const char* section, const StateField& field,
                          const StateFile& file) const {
    return loadOne(section, field, file);
}

int Fs9Reader::saveFields(const char* section, const StateField* fields,
                          const StateFile& file) const {
    return saveAll(file,
                   [&](auto& setValue) {
                       return handleFields(fields, [&](const StateField& field) {
                           return setOne(section, field, setValue);
                       });
                   })
        .value_or(0);
}

int Fs9Reader::loadFields(const char* section, const StateField* fields,
                          const StateFile& file) const {
    return handleFields(fields,
                        [&](const StateField& field) { return loadOne(section, field, file); });
}

bool saveStringField(const StateFile& file, const char* section, const char* key,
                     const std::string& text) {
    return saveOne(section, textField(key, const_cast<char*>(text.c_str())), file);
}

std::string loadStringField(const StateFile& file, const char* section, const char* key) {
    char text[kStateTextSize] = {};
    loadOne(section, textField(key, text), file);
    return text;
}

bool saveStringList(const StateFile& file, const char* section, const char* key,
                    const std::vector<std::string>& texts) {
    if (!key || texts.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        return false;
    }
    int32_t count = static_cast<int32_t>(texts.size());
    const std::string counted = countKey(key);
    StateField countField;
    countField.key = counted.c_str();
    countField.data = &count;
    countField.type = StateFieldType::Int32;
    const auto saved = saveAll(file, [&](auto& setValue) {
        if (!setOne(section, countField, setValue)) {
            return 0;
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string item = itemKey(key, i);
            if (!setOne(section, textField(item.c_str(), const_cast<char*>(texts[i].c_str())),
                        setValue)) {
                return 0;
            }
        }
        return 1;
    });
    return saved.value_or(0) == 1;
}

// The list ends at its count or at the first item missing from the file, so that a damaged
// count cannot make it grow without end.
void loadStringList(const StateFile& file, const char* section, const char* key,
                    std::vector<std::string>& texts) {
    if (!section || !key) {
        return;
    }
    const auto countText = lookupStateValue(file, section, countKey(key));
    const int32_t count =
        countText ? profile::parseInt(countText->substr(0, kNumberBuffer - 1)) : 0;
    for (int32_t i = 0; i < count; ++i) {
        const auto text =
            lookupStateValue(file, section, itemKey(key, static_cast<std::size_t>(i)));
        if (!text) {
            return;
        }
        texts.push_back(text->substr(0, kStateTextSize - 1));
    }
}

} // namespace tavi
