// Arbitrary bytes as a per-flight state file: every field type loads without reading or writing
// past its value, texts stay terminated, and a save then load gives the saved values back.
#include "FuzzFile.h"
#include "core/Fs9Reader.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr char kSection[] = "FMC";

struct Values {
    char text[tavi::kStateTextSize] = {};
    int32_t integer = 0;
    bool flag = false;
    float single = 0.0f;
    double precise = 0.0;
    std::array<unsigned char, 40> blob{};
};

std::array<tavi::StateField, 7> fieldsOf(Values& values) {
    using tavi::StateFieldType;
    return {{
        {"text", values.text, 1, StateFieldType::Text, tavi::kStateTextSize, 0},
        {"integer", &values.integer, 1, StateFieldType::Int32, 0, 0},
        {"flag", &values.flag, 1, StateFieldType::Bool, 0, 0},
        {"single", &values.single, 1, StateFieldType::Float, 0, 0},
        {"precise", &values.precise, 1, StateFieldType::Double, 0, 0},
        {"blob", values.blob.data(), 1, StateFieldType::Blob, 40, 0},
        {},
    }};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavi::StateFile file;
    file.path = tavi::fuzz::fuzzFile("flight.sav", data, size).string();
    const tavi::Fs9Reader reader;
    Values loaded;
    auto fields = fieldsOf(loaded);
    reader.loadFields(kSection, fields.data(), file);
    std::vector<std::string> route;
    tavi::loadStringList(file, kSection, "route", route);
    if (std::memchr(loaded.text, '\0', sizeof loaded.text) == nullptr || route.size() > size) {
        __builtin_trap();
    }
    loaded.flag = loaded.flag ? 1 : 0;
    if (reader.saveFields(kSection, fields.data(), file) == 6) {
        Values again;
        auto againFields = fieldsOf(again);
        reader.loadFields(kSection, againFields.data(), file);
        if (std::strcmp(again.text, loaded.text) != 0 || again.integer != loaded.integer ||
            again.blob != loaded.blob) {
            __builtin_trap();
        }
    }
    return 0;
}
