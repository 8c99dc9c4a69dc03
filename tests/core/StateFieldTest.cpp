#include "core/Fs9Reader.h"
#include "platform/profile/Profile.h"
#include "support/CommaLocale.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavi {
namespace {

using test::TempFolder;
namespace profile = platform::profile;

constexpr char kSection[] = "TAVI.ADC";

StateField field(const char* key, void* data, StateFieldType type, int32_t size = 0,
                 int32_t count = 1) {
    StateField made;
    made.key = key;
    made.data = data;
    made.type = type;
    made.size = size;
    made.count = count;
    return made;
}

// One value of every type, as a system's state would hold them.
struct Values {
    char text[kStateTextSize] = {};
    int32_t integer = 0;
    bool flag = false;
    float single = 0.0f;
    double precise = 0.0;
    std::array<unsigned char, 3> blob{};
    int32_t untouched = 0;

    std::vector<StateField> fields() {
        return {
            field("text", text, StateFieldType::Text, kStateTextSize),
            field("integer", &integer, StateFieldType::Int32),
            field("flag", &flag, StateFieldType::Bool),
            field("single", &single, StateFieldType::Float),
            field("precise", &precise, StateFieldType::Double),
            field("blob", blob.data(), StateFieldType::Blob, 3),
            field("nothing", &untouched, StateFieldType::None),
            StateField{},
        };
    }
};

class StateFields : public ::testing::Test {
protected:
    StateFields() { file.path = (folder / "flight.sav").string(); }

    std::optional<std::string> stored(const char* key) const {
        return profile::lookup(file.path, kSection, key);
    }

    TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

TEST_F(StateFields, EveryTypeRoundTripsThroughItsText) {
    Values saved;
    std::strcpy(saved.text, "EGLL 27R");
    saved.integer = -2147483647 - 1;
    saved.flag = true;
    saved.single = 1.5f;
    saved.precise = 0.1234567;
    saved.blob = {0x0A, 0xFF, 0x00};
    const std::vector<StateField> savedFields = saved.fields();
    ASSERT_EQ(reader.saveFields(kSection, savedFields.data(), file), 7);

    const std::pair<const char*, std::optional<std::string>> texts[] = {
        {"text", "EGLL 27R"},      {"integer", "-2147483648"}, {"flag", "1"},
        {"single", "1.500000"},    {"precise", "0.123457"},    {"blob", "0AFF00"},
        {"nothing", std::nullopt},
    };
    for (const auto& [key, text] : texts) {
        EXPECT_EQ(stored(key), text) << key;
    }

    Values loaded;
    loaded.untouched = 99;
    const std::vector<StateField> loadedFields = loaded.fields();
    ASSERT_EQ(reader.loadFields(kSection, loadedFields.data(), file), 7);
    EXPECT_STREQ(loaded.text, "EGLL 27R");
    EXPECT_EQ(loaded.integer, saved.integer);
    EXPECT_TRUE(loaded.flag);
    EXPECT_EQ(loaded.single, 1.5f);
    EXPECT_EQ(loaded.precise, 0.123457);
    EXPECT_EQ(loaded.blob, saved.blob);
    EXPECT_EQ(loaded.untouched, 99);
}

TEST_F(StateFields, ValuesAreWrittenWithAPointWhateverTheLocale) {
    const test::CommaLocale locale;
    if (!locale.isActive()) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    double precise = 0.1234567;
    float single = -2.25f;
    ASSERT_TRUE(
        reader.saveField(kSection, field("precise", &precise, StateFieldType::Double), file));
    ASSERT_TRUE(reader.saveField(kSection, field("single", &single, StateFieldType::Float), file));
    EXPECT_EQ(stored("precise"), "0.123457");
    EXPECT_EQ(stored("single"), "-2.250000");
    precise = 0.0;
    single = 0.0f;
    ASSERT_TRUE(
        reader.loadField(kSection, field("precise", &precise, StateFieldType::Double), file));
    ASSERT_TRUE(reader.loadField(kSection, field("single", &single, StateFieldType::Float), file));
    EXPECT_EQ(precise, 0.123457);
    EXPECT_EQ(single, -2.25f);
}

TEST_F(StateFields, AMissingKeyKeepsTheValueAndAnEmptyOneReadsAsZero) {
    folder.write("flight.sav", "[TAVI.ADC]\ntext=\ninteger=\nflag=\nsingle=\nprecise=\nblob=\n");
    Values empty;
    std::strcpy(empty.text, "kept");
    empty.integer = 7;
    empty.flag = true;
    empty.single = 1.0f;
    empty.precise = 2.0;
    empty.blob = {1, 2, 3};
    Values missing = empty;

    const std::vector<StateField> emptyFields = empty.fields();
    EXPECT_EQ(reader.loadFields(kSection, emptyFields.data(), file), 7);
    EXPECT_STREQ(empty.text, "");
    EXPECT_EQ(empty.integer, 0);
    EXPECT_FALSE(empty.flag);
    EXPECT_EQ(empty.single, 0.0f);
    EXPECT_EQ(empty.precise, 0.0);
    // An empty blob text holds no pair, so no byte changes.
    EXPECT_EQ(empty.blob, (std::array<unsigned char, 3>{1, 2, 3}));

    const std::vector<StateField> missingFields = missing.fields();
    EXPECT_EQ(reader.loadFields("TAVI.Other", missingFields.data(), file), 7);
    EXPECT_STREQ(missing.text, "kept");
    EXPECT_EQ(missing.integer, 7);
    EXPECT_TRUE(missing.flag);
    EXPECT_EQ(missing.single, 1.0f);
    EXPECT_EQ(missing.precise, 2.0);
    EXPECT_EQ(missing.blob, (std::array<unsigned char, 3>{1, 2, 3}));
}

TEST_F(StateFields, BlobTextsAreReadPairByPairUpToTheFirstBadPair) {
    const std::pair<const char*, std::array<unsigned char, 3>> cases[] = {
        {"0AFF00", {0x0A, 0xFF, 0x00}},     {"0aff00", {0x0A, 0xFF, 0x00}},
        {"0AFF00EE", {0x0A, 0xFF, 0x00}},   {"0A", {0x0A, 0x22, 0x33}},
        {"0AF", {0x0A, 0x22, 0x33}},        {"0AGG00", {0x0A, 0x22, 0x33}},
        {"0A-100", {0x0A, 0x22, 0x33}},     {"X0AFF00", {0x11, 0x22, 0x33}},
        {"\"0AFF00\"", {0x0A, 0xFF, 0x00}},
    };
    for (const auto& [text, expected] : cases) {
        folder.write("flight.sav", std::string("[TAVI.ADC]\nblob=") + text + "\n");
        std::array<unsigned char, 3> blob{0x11, 0x22, 0x33};
        EXPECT_TRUE(
            reader.loadField(kSection, field("blob", blob.data(), StateFieldType::Blob, 3), file));
        EXPECT_EQ(blob, expected) << text;
    }
}

TEST_F(StateFields, ReadsStopAtTheirBufferSizes) {
    const std::string zeros(31, '0');
    const std::string longText(300, 't');
    std::string blobText;
    for (int i = 0; i < 300; ++i) {
        blobText += "AB";
    }
    folder.write("flight.sav", "[TAVI.ADC]\ninteger=" + zeros + "123\nprecise=0." + zeros +
                                   "5\ntext=" + longText + "\nblob=" + blobText + "\n");
    int32_t integer = 9;
    double precise = 9.0;
    char text[kStateTextSize];
    std::array<unsigned char, kStateBlobMaxSize> blob{};
    reader.loadField(kSection, field("integer", &integer, StateFieldType::Int32), file);
    reader.loadField(kSection, field("precise", &precise, StateFieldType::Double), file);
    reader.loadField(kSection, field("text", text, StateFieldType::Text, kStateTextSize), file);
    reader.loadField(kSection, field("blob", blob.data(), StateFieldType::Blob, kStateBlobMaxSize),
                     file);
    EXPECT_EQ(integer, 0);
    EXPECT_EQ(precise, 0.0);
    EXPECT_EQ(std::string(text), std::string(255, 't'));
    std::array<unsigned char, kStateBlobMaxSize> expected;
    expected.fill(0xAB);
    EXPECT_EQ(blob, expected);
}

TEST_F(StateFields, FieldsOutsideTheRulesAnswerFalseAndTouchNothing) {
    int32_t value = 5;
    std::array<unsigned char, 300> blob{};
    struct Case {
        const char* name;
        StateField field;
    };
    const Case cases[] = {
        {"count 0", field("k", &value, StateFieldType::Int32, 0, 0)},
        {"count 2", field("k", &value, StateFieldType::Int32, 0, 2)},
        {"unknown type", field("k", &value, static_cast<StateFieldType>(7))},
        {"blob over 256 bytes", field("k", blob.data(), StateFieldType::Blob, 257)},
        {"negative blob size", field("k", blob.data(), StateFieldType::Blob, -1)},
        {"no data", field("k", nullptr, StateFieldType::Int32)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(reader.saveField(kSection, c.field, file)) << c.name;
        EXPECT_FALSE(reader.loadField(kSection, c.field, file)) << c.name;
    }
    EXPECT_TRUE(reader.saveField(kSection, field("k", &value, StateFieldType::None), file));
    EXPECT_TRUE(reader.loadField(kSection, field("k", &value, StateFieldType::None), file));
    EXPECT_FALSE(std::filesystem::exists(file.path));
    EXPECT_EQ(value, 5);
}

TEST_F(StateFields, AnArrayStopsAtTheFirstFailingField) {
    int32_t first = 1;
    int32_t second = 2;
    int32_t third = 3;
    const StateField fields[] = {
        field("first", &first, StateFieldType::Int32),
        field("second", &second, StateFieldType::Int32, 0, 2),
        field("third", &third, StateFieldType::Int32),
        StateField{},
    };
    EXPECT_EQ(reader.saveFields(kSection, fields, file), 1);
    EXPECT_EQ(stored("first"), "1");
    EXPECT_EQ(stored("second"), std::nullopt);
    EXPECT_EQ(stored("third"), std::nullopt);

    folder.write("flight.sav", "[TAVI.ADC]\nfirst=10\nsecond=20\nthird=30\n");
    EXPECT_EQ(reader.loadFields(kSection, fields, file), 1);
    EXPECT_EQ(first, 10);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(third, 3);

    const StateField onlyEnd[] = {StateField{}};
    EXPECT_EQ(reader.saveFields(kSection, onlyEnd, file), 0);
    EXPECT_EQ(reader.saveFields(kSection, nullptr, file), 0);
    EXPECT_EQ(reader.loadFields(kSection, nullptr, file), 0);
}

TEST_F(StateFields, AWriteThatFailsAnswersFalse) {
    file.path = (folder / "absent folder" / "flight.sav").string();
    int32_t value = 1;
    EXPECT_FALSE(reader.saveField(kSection, field("k", &value, StateFieldType::Int32), file));
    EXPECT_FALSE(saveStringField(file, kSection, "k", "text"));
    EXPECT_FALSE(saveStringList(file, kSection, "route", {"A"}));
}

TEST_F(StateFields, AFullDiskLeavesThePreviousStateWhole) {
    Values values;
    values.integer = 7;
    std::strcpy(values.text, "KJFK");
    ASSERT_EQ(reader.saveFields(kSection, values.fields().data(), file), 7);
    const std::string before = TempFolder::read(file.path);

    values.integer = 8;
    std::strcpy(values.text, std::string(200, 'x').c_str());
    int32_t single = 1;
    {
        const test::FileSizeLimit diskFull(before.size() + 8);
        EXPECT_EQ(reader.saveFields(kSection, values.fields().data(), file), 0);
        EXPECT_FALSE(reader.saveField(kSection, values.fields()[0], file));
        EXPECT_FALSE(saveStringList(file, kSection, "route", {std::string(200, 'y')}));
        EXPECT_FALSE(reader.saveField(
            kSection, field(std::string(200, 'k').c_str(), &single, StateFieldType::Int32), file));
    }
    EXPECT_EQ(TempFolder::read(file.path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(StateFields, StringFields) {
    EXPECT_TRUE(saveStringField(file, kSection, "name", "KJFK"));
    EXPECT_TRUE(saveStringField(file, kSection, "empty", ""));
    EXPECT_TRUE(saveStringField(file, kSection, "long", std::string(300, 'x')));
    EXPECT_EQ(stored("empty"), "");
    EXPECT_EQ(stored("long"), std::string(255, 'x'));
    EXPECT_EQ(loadStringField(file, kSection, "name"), "KJFK");
    EXPECT_EQ(loadStringField(file, kSection, "empty"), "");
    EXPECT_EQ(loadStringField(file, kSection, "absent"), "");
}

TEST_F(StateFields, StringListsAreACountAndNumberedKeys) {
    ASSERT_TRUE(saveStringList(file, kSection, "route", {"EGLL", "LFPG"}));
    EXPECT_EQ(stored("route.count"), "2");
    EXPECT_EQ(stored("route.0"), "EGLL");
    EXPECT_EQ(stored("route.1"), "LFPG");

    std::vector<std::string> list{"kept"};
    loadStringList(file, kSection, "route", list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "EGLL", "LFPG"}));

    ASSERT_TRUE(saveStringList(file, kSection, "none", {}));
    EXPECT_EQ(stored("none.count"), "0");
    std::vector<std::string> empty;
    loadStringList(file, kSection, "none", empty);
    loadStringList(file, kSection, "absent", empty);
    EXPECT_TRUE(empty.empty());
}

TEST_F(StateFields, ADamagedListCountStopsAtTheFirstMissingText) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"route.count=2000000000\nroute.0=A\nroute.1=\n", {"A", ""}},
        {"route.count=3\nroute.0=A\nroute.2=C\n", {"A"}},
        {"route.count=-1\nroute.0=A\n", {}},
        {"route.count=x\nroute.0=A\n", {}},
    };
    for (const auto& [lines, expected] : cases) {
        folder.write("flight.sav", std::string("[TAVI.ADC]\n") + lines);
        std::vector<std::string> list;
        loadStringList(file, kSection, "route", list);
        EXPECT_EQ(list, expected) << lines;
    }
}

} // namespace
} // namespace tavi
