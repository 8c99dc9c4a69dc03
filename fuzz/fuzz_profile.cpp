// Arbitrary bytes as a profile file: reading never fails, a file read once answers as reading it
// for every key does, and a write changes only its own key.
#include "platform/profile/Profile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
namespace profile = tavi::platform::profile;

struct Name {
    std::string_view section;
    std::string_view key;
};

constexpr Name kNames[] = {
    {"Sound", "volume"}, {"sound", "VOLUME"}, {"S", "k"}, {"TAVI.ADC", "blob"}, {"", ""},
};
constexpr Name kWritten = {"Sound", "volume"};
constexpr std::string_view kValue = "-2500";

const fs::path& folder() {
    static const fs::path made = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzz-profile-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        return fs::path(pattern);
    }();
    return made;
}

void writeBytes(const fs::path& file, const uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool isWritten(const Name& name) {
    const auto lower = [](std::string_view text) {
        std::string lowered(text);
        for (char& c : lowered) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        return lowered;
    };
    return lower(name.section) == lower(kWritten.section) && lower(name.key) == lower(kWritten.key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const fs::path original = folder() / "input.ini";
    const fs::path copy = folder() / "copy.ini";
    writeBytes(original, data, size);
    writeBytes(copy, data, size);

    std::optional<std::string> before[std::size(kNames)];
    const profile::Document document(std::string(reinterpret_cast<const char*>(data), size));
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        before[i] = profile::lookup(original, kNames[i].section, kNames[i].key);
        if (size <= (64u << 20) && document.lookup(kNames[i].section, kNames[i].key) != before[i]) {
            std::abort();
        }
        const std::string text =
            profile::read(original, kNames[i].section, kNames[i].key, "default", 32);
        if (text.size() > 31) {
            std::abort();
        }
        profile::parseInt(text);
        profile::parseDouble(text);
    }

    if (!profile::write(copy, kWritten.section, kWritten.key, kValue)) {
        std::abort();
    }
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        const auto after = profile::lookup(copy, kNames[i].section, kNames[i].key);
        if (isWritten(kNames[i]) ? after != kValue : after != before[i]) {
            std::abort();
        }
    }
    return 0;
}
