#include "platform/profile/Profile.h"

#include "support/CommaLocale.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavi::platform::profile {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using test::TempFolder;

std::string withLineEnds(std::string_view lines, std::string_view lineEnd) {
    std::string text;
    for (char c : lines) {
        if (c == '\n') {
            text += lineEnd;
        } else {
            text += c;
        }
    }
    return text;
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// ---------------------------------------------------------------------------------------------
// Reading

constexpr std::string_view kSettings = "orphan=before any section\n"
                                       "; comment=ignored\n"
                                       "[Sound]\n"
                                       "volume=-2500dB\n"
                                       "Empty=\n"
                                       " \t Padded Key \t=  padded value \t \n"
                                       "quoted=\"  keeps inner spaces  \"\n"
                                       "single='x'\n"
                                       "mismatched=\"x'\n"
                                       "onlyopen=\"x\n"
                                       "inner=a \"b\" c\n"
                                       "twice=\"\"x\"\"\n"
                                       "dup=first\n"
                                       "DUP=second\n"
                                       ";commented=1\n"
                                       "   ; indented=1\n"
                                       "noequals\n"
                                       "[sound]\n"
                                       "other=in the second section of that name\n"
                                       "[Numbers]\n"
                                       "eq=a=b\n"
                                       "\n"
                                       "  [ Spaced ]  \n"
                                       "k=v\n"
                                       "[unclosed\n"
                                       "after=still in Spaced\n";

struct LookupCase {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

const LookupCase kLookupCases[] = {
    {"Sound", "volume", "-2500dB"},
    {"SOUND", "VOLUME", "-2500dB"},
    {"Sound", "empty", ""},
    {"Sound", "absent", std::nullopt},
    {"Absent", "volume", std::nullopt},
    {"Sound", "Padded Key", "padded value"},
    {" Sound ", " padded key\t", "padded value"},
    {"Sound", "quoted", "  keeps inner spaces  "},
    {"Sound", "single", "x"},
    {"Sound", "mismatched", "\"x'"},
    {"Sound", "onlyopen", "\"x"},
    {"Sound", "inner", "a \"b\" c"},
    {"Sound", "twice", "\"x\""},
    {"Sound", "dup", "first"},
    {"Sound", "commented", std::nullopt},
    {"Sound", ";commented", std::nullopt},
    {"Sound", "indented", std::nullopt},
    {"Sound", "noequals", std::nullopt},
    {"Sound", "other", std::nullopt},
    {"Sound", "orphan", std::nullopt},
    {"", "orphan", std::nullopt},
    {"Numbers", "eq", "a=b"},
    {"Spaced", "k", "v"},
    {"Spaced", "after", "still in Spaced"},
};

class ProfileLineEnds : public ::testing::TestWithParam<std::string_view> {
protected:
    TempFolder folder;
};

TEST_P(ProfileLineEnds, LookupFollowsTheFileRules) {
    const fs::path file = folder.write("tavi.ini", withLineEnds(kSettings, GetParam()));
    const Document document = loadDocument(file).document;
    for (const LookupCase& c : kLookupCases) {
        EXPECT_EQ(lookup(file, c.section, c.key), c.expected) << "[" << c.section << "] " << c.key;
        EXPECT_EQ(document.lookup(c.section, c.key), c.expected)
            << "read once: [" << c.section << "] " << c.key;
    }
}

TEST_P(ProfileLineEnds, ReadTellsAMissingKeyFromAnEmptyValue) {
    const fs::path file = folder.write("tavi.ini", withLineEnds(kSettings, GetParam()));
    EXPECT_EQ(read(file, "Sound", "Empty", "default", 64), "");
    EXPECT_EQ(read(file, "Sound", "absent", "default", 64), "default");
    EXPECT_EQ(read(file, "Absent", "volume", "default", 64), "default");
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileLineEnds, ::testing::Values("\n", "\r\n"),
                         [](const auto& info) { return info.param == "\n" ? "LF" : "CRLF"; });

TEST(Profile, ReadKeepsAtMostOneCharacterLessThanTheBuffer) {
    TempFolder folder;
    const std::string eighty(80, 'v');
    const fs::path file = folder.write("tavi.ini", "[S]\nlong=" + eighty + "\nempty=\n");
    struct Case {
        const char* key;
        std::string defaultValue;
        std::size_t bufferSize;
        std::string expected;
    };
    const Case cases[] = {
        {"long", "", 64, std::string(63, 'v')},
        {"long", "", 81, eighty},
        {"long", "", 1, ""},
        {"long", "", 0, ""},
        {"absent", std::string(80, 'd'), 64, std::string(63, 'd')},
        {"absent", "7", 64, "7"},
        {"absent", "7", 0, ""},
        {"empty", "7", 64, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(file, "S", c.key, c.defaultValue, c.bufferSize), c.expected)
            << c.key << " with buffer " << c.bufferSize;
    }
}

TEST(Profile, FilesThatAreNotProfilesReadAsEmpty) {
    TempFolder folder;
    fs::create_directory(folder / "folder.ini");
    ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
    std::string garbage;
    for (unsigned i = 0; i < 65536; ++i) {
        garbage += static_cast<char>((i * 2654435761u) >> 24);
    }
    garbage += std::string(1 << 20, 'k');
    folder.write("garbage.ini", garbage);

    for (const char* name : {"absent.ini", "folder.ini", "fifo.ini", "garbage.ini"}) {
        EXPECT_EQ(lookup(folder / name, "S", "k"), std::nullopt) << name;
        EXPECT_EQ(read(folder / name, "S", "k", "default", 64), "default") << name;
    }
}

TEST(Profile, LoadingADocumentSaysWhyAFileThatIsThereWasNotRead) {
    TempFolder folder;
    fs::create_directory(folder / "folder.ini");
    ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
    folder.write("settings.ini", "[S]\nk=v\n");
    const fs::path large = folder / "large.ini";
    fs::resize_file(folder.write("large.ini", ""), (64u << 20) + 1);

    const std::pair<const char*, const char*> cases[] = {
        {"settings.ini", ""},
        {"absent.ini", ""},
        {"folder.ini", "not a regular file"},
        {"fifo.ini", "not a regular file"},
        {"large.ini", "larger than 67108864 bytes"},
    };
    for (const auto& [name, problem] : cases) {
        const LoadedDocument loaded = loadDocument(folder / name);
        EXPECT_EQ(loaded.problem, problem) << name;
        EXPECT_EQ(loaded.document.lookup("S", "k").has_value(), std::string(name) == "settings.ini")
            << name;
    }
}

TEST(Profile, DocumentChangesReadBackAsTheFileWould) {
    TempFolder folder;
    const fs::path file = folder.write("plan.ini", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    Document document = loadDocument(file).document;
    EXPECT_TRUE(document.set("a", "X", "5"));
    EXPECT_TRUE(document.set("C", "z", "3"));
    EXPECT_FALSE(document.set("C", "k", "two\nlines"));
    document.remove("B", "y");
    ASSERT_TRUE(saveDocument(file, document));

    EXPECT_EQ(TempFolder::read(file), "[A]\r\nX=5\r\n[B]\r\n[C]\r\nz=3\r\n");
    EXPECT_EQ(document.lookup("A", "x"), "5");
    EXPECT_EQ(document.lookup("c", "Z"), "3");
    EXPECT_EQ(document.lookup("B", "y"), std::nullopt);
    EXPECT_EQ(document.read("C", "z", "d", 64), lookup(file, "C", "z"));
}

// A document filled key by key takes the shortcut for new keys of its last section; the text and
// the values must come out as writing the same keys into the file does.
TEST(Profile, ADocumentBuiltKeyByKeyMatchesTheFileWrittenKeyByKey) {
    const char* const starts[] = {
        "",
        "[A]\nx=1\n; note\n\n",
        "[A]\nx=1",
        "[A]\nx=1\n[B]\ny=2\n[A]\nw=3\n",
        "[A]\r\nx=1\r\n",
        "; only a comment\n[B]\n",
    };
    const Entry entries[] = {
        {"A", "k1", "v1"},    {"A", "k2", " spaced "}, {"B", "k3", "\"q\""},
        {"A", "x", "9"},      {"C", "k4", "v4"},       {"c", "K5", "v5"},
        {"C", "k4", "again"}, {"A", "k6", "v6"},       {" C ", "k7 ", "v7"},
    };
    TempFolder folder;
    for (const char* start : starts) {
        Document document{std::string(start)};
        const fs::path file = folder.write("built.ini", start);
        for (const Entry& entry : entries) {
            ASSERT_TRUE(document.set(entry.section, entry.key, entry.value)) << start;
            ASSERT_TRUE(write(file, entry.section, entry.key, entry.value)) << start;
            EXPECT_EQ(document.bytes(), TempFolder::read(file)) << start << entry.key;
        }
        for (const Entry& entry : entries) {
            EXPECT_EQ(document.lookup(entry.section, entry.key),
                      lookup(file, entry.section, entry.key))
                << start << entry.key;
        }
    }
}

// Many entries set at once give the bytes that setting them one after the other gives.
TEST(Profile, SettingEntriesAllAtOnceGivesWhatSettingThemInTurnGives) {
    const std::vector<std::string> documents = {
        "",
        "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n",
        "[A]\nx=1\n[a]\nx=9\nz=3\n[C]\n  Y = 'quoted'  \nY=second\n",
        "top=1\n[B]\ny=2",
        "[B]\n; only a comment\n\n",
        "[A\nbroken\n[B]\n\n\ny=2\n\n",
    };
    const std::vector<Entry> entries = {
        {"A", "x", "5"},           {"b", "Y", "7"},
        {"New", "k", "1"},         {" A ", "fresh", " v "},
        {"New", "K", "2"},         {"B", "z", "\"q\""},
        {"C", "y", "c"},           {"A", "x", "6"},
        {"B", "bad=key", "1"},     {"Other", "w", "two\nlines"},
        {"Last", "", "empty key"}, {"B", "y", "8"},
    };
    for (const std::string& bytes : documents) {
        SCOPED_TRACE(bytes);
        Document oneByOne(bytes);
        for (const Entry& entry : entries) {
            oneByOne.set(entry.section, entry.key, entry.value);
        }
        Document allAtOnce(bytes);
        EXPECT_FALSE(allAtOnce.setAll(entries)) << "three entries cannot be written";
        EXPECT_EQ(allAtOnce.bytes(), oneByOne.bytes());
        EXPECT_EQ(allAtOnce.lookup("a", "X"), "6");
        EXPECT_EQ(allAtOnce.keyCount("new"), 1u);
    }
    Document document("[A]\nx=1\nx=2\ny=3\n[A]\nz=4\n");
    EXPECT_EQ(document.keyCount("A"), 2u) << "each key of the first section once";
    EXPECT_EQ(document.keyCount("missing"), 0u);
}

TEST(Profile, BinaryBytesInAFileDoNotHideTheEntriesAroundThem) {
    TempFolder folder;
    using namespace std::string_literals;
    const fs::path file =
        folder.write("tavi.ini", "\x01\xff\0junk\n[S]\nnul=a\0b\n\x80\x81=\x82\nk=v\n"s);
    EXPECT_EQ(lookup(file, "S", "nul"), "a\0b"s);
    EXPECT_EQ(lookup(file, "S", "k"), "v");
}

TEST(Profile, EveryCallReadsTheFileAnew) {
    TempFolder folder;
    const fs::path file = folder.write("tavi.ini", "[S]\nk=1\n");
    EXPECT_EQ(lookup(file, "S", "k"), "1");
    folder.write("tavi.ini", "[S]\nk=2\n");
    EXPECT_EQ(lookup(file, "S", "k"), "2");
}

// ---------------------------------------------------------------------------------------------
// Writing

struct WriteCase {
    const char* name;
    std::optional<std::string> before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

const WriteCase kWriteCases[] = {
    {"creates the file", std::nullopt, "S", "k", "v", "[S]\nk=v\n"},
    {"creates the section at the end", "; top\n[A]\nx=1\n\n", "C", "k", "v",
     "; top\n[A]\nx=1\n\n[C]\nk=v\n"},
    {"replaces the key in place, keeping CRLF and every other line",
     "; top\r\n[A]\r\n  x = 1 \r\ny=2\r\n\r\n; about B\r\n[B]\r\nx=9\r\n", "a", "X", "5",
     "; top\r\n[A]\r\nX=5\r\ny=2\r\n\r\n; about B\r\n[B]\r\nx=9\r\n"},
    {"appends after the last entry, before blank lines and comments",
     "[A]\nx=1\n\n; about B\n[B]\nz=3\n", "A", "y", "2", "[A]\nx=1\ny=2\n\n; about B\n[B]\nz=3\n"},
    {"appends with the file's CRLF", "[A]\r\nx=1\r\n\r\n[B]\r\n", "A", "y", "2",
     "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\n"},
    {"adds a CRLF section", "[A]\r\nx=1\r\n", "C", "k", "v", "[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
    {"ends an unended last line before appending", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
    {"ends an unended last line before a new section", "[A]\nx=1", "C", "k", "v",
     "[A]\nx=1\n[C]\nk=v\n"},
    {"appends right after a header with no entries", "[A]\n; note\n[B]\n", "A", "k", "1",
     "[A]\nk=1\n; note\n[B]\n"},
    {"replaces only the first of duplicate keys and sections", "[A]\nk=1\nk=2\n[a]\nk=3\n", "A",
     "k", "9", "[A]\nk=9\nk=2\n[a]\nk=3\n"},
    {"writes an empty value", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n"},
    {"quotes a value with blanks at its ends", "[A]\n", "A", "k", "KJFK\t", "[A]\nk=\"KJFK\t\"\n"},
    {"quotes a value that is itself quoted", "[A]\n", "A", "k", "'a'", "[A]\nk=\"'a'\"\n"},
    {"leaves a value quoted at one end only as it is", "[A]\n", "A", "k", "\"a", "[A]\nk=\"a\n"},
    {"keeps binary bytes byte for byte", std::string("\x01\0bin\r\n[A]\nk=1\n", 15), "A", "k", "2",
     std::string("\x01\0bin\r\n[A]\nk=2\n", 15)},
};

TEST(Profile, WriteChangesOnlyTheKeysLine) {
    for (const WriteCase& c : kWriteCases) {
        TempFolder folder;
        const fs::path file = folder / "tavi.ini";
        if (c.before) {
            folder.write("tavi.ini", *c.before);
        }
        EXPECT_TRUE(write(file, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(TempFolder::read(file), c.after) << c.name;
        EXPECT_EQ(lookup(file, c.section, c.key), c.value) << c.name;
        EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"tavi.ini"}) << c.name;
    }
}

TEST(Profile, WriteRefusesWhatWouldNotReadBack) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "carriage\rreturn"},
        {"S", "", "v"},           {"S", "  ", "v"},
        {"S", "a=b", "v"},        {"S", ";k", "v"},
        {"S", "[k", "v"},         {"S]", "k", "v"},
        {"S\n[T", "k", "v"},      {"S", "k\nx", "v"},
    };
    TempFolder folder;
    const std::string before = "[S]\nk=1\n";
    const fs::path file = folder.write("tavi.ini", before);
    for (const Case& c : cases) {
        EXPECT_FALSE(write(file, c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(TempFolder::read(file), before);
    }
}

TEST(Profile, WriteAnswersFalseWhereNoFileCanBeWritten) {
    TempFolder folder;
    const fs::path plainFile = folder.write("plain", "not a folder");
    fs::create_directory(folder / "folder.ini");
    ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);

    EXPECT_FALSE(write(plainFile / "tavi.ini", "S", "k", "v"));
    EXPECT_FALSE(write(folder / "absent" / "tavi.ini", "S", "k", "v"));
    EXPECT_FALSE(write(folder / "folder.ini", "S", "k", "v"));
    EXPECT_FALSE(write(folder / "fifo.ini", "S", "k", "v"));

    EXPECT_EQ(TempFolder::read(plainFile), "not a folder");
    EXPECT_TRUE(fs::is_directory(folder / "folder.ini"));
    EXPECT_TRUE(fs::is_fifo(folder / "fifo.ini"));
    EXPECT_FALSE(fs::exists(folder / "absent"));
    EXPECT_EQ(folderEntries(folder.path()).size(), 3u);
}

TEST(Profile, AFailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string before = "; settings\r\n[Sound]\r\nvolume=0\r\n";
    const fs::path file = folder.write("tavi.ini", before);
    {
        const FileSizeLimit limit(before.size() + 4);
        EXPECT_FALSE(write(file, "Sound", "volume", std::string(100, '9')));
    }
    EXPECT_EQ(TempFolder::read(file), before);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"tavi.ini"});
}

TEST(Profile, EntriesAreWrittenAllTogetherOrNotAtAll) {
    TempFolder folder;
    const std::string before = "[Sound]\r\nvolume=0\r\n";
    const fs::path file = folder.write("tavi.ini", before);
    const std::vector<Entry> fitting = {
        {"Sound", "volume", "-100"}, {"FPS", "pfd", "50"}, {" Sound ", "volume", "-200"}};
    const std::vector<Entry> withABadName = {{"FPS", "pfd", "50"}, {"FPS", "a=b", "1"}};
    {
        const FileSizeLimit diskFull(before.size() + 16);
        EXPECT_FALSE(write(file, fitting));
        EXPECT_EQ(TempFolder::read(file), before);
    }
    EXPECT_FALSE(write(file, withABadName));
    EXPECT_EQ(TempFolder::read(file), before);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"tavi.ini"});

    ASSERT_TRUE(write(file, fitting));
    EXPECT_EQ(TempFolder::read(file), "[Sound]\r\nvolume=-200\r\n[FPS]\r\npfd=50\r\n");
}

TEST(Profile, WriteRefusesAReadOnlyFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes read-only files";
    }
    TempFolder folder;
    const fs::path file = folder.write("tavi.ini", "[S]\nk=1\n");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_FALSE(write(file, "S", "k", "2"));
    EXPECT_EQ(TempFolder::read(file), "[S]\nk=1\n");
}

TEST(Profile, WriteKeepsPermissionsAndLinks) {
    TempFolder folder;
    const fs::path file = folder.write("tavi.ini", "[S]\nk=1\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(file, folder / "link.ini");

    EXPECT_TRUE(write(folder / "link.ini", "S", "k", "2"));

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "link.ini")));
    EXPECT_EQ(TempFolder::read(file), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(Profile, RemoveKeyDropsOnlyThatLine) {
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        std::string after;
    };
    const Case cases[] = {
        {"drops the key's line", "[A]\nx=1\nk=2\ny=3\n", "A", "k", "[A]\nx=1\ny=3\n"},
        {"matches without case and keeps CRLF", "[A]\r\n K = 2\r\nx=1\r\n", "a", "k",
         "[A]\r\nx=1\r\n"},
        {"drops an unended last line", "[A]\nx=1\nk=2", "A", "k", "[A]\nx=1\n"},
        {"drops only the first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "[A]\nk=2\n"},
        {"leaves the key of another section", "[A]\nx=1\n[B]\nk=2\n", "A", "k",
         "[A]\nx=1\n[B]\nk=2\n"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const fs::path file = folder.write("p.ini", c.before);
        EXPECT_TRUE(removeKey(file, c.section, c.key)) << c.name;
        EXPECT_EQ(TempFolder::read(file), c.after) << c.name;
        EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"p.ini"}) << c.name;
    }
    TempFolder folder;
    EXPECT_TRUE(removeKey(folder / "absent.ini", "A", "k"));
    EXPECT_FALSE(fs::exists(folder / "absent.ini"));
    fs::create_directory(folder / "folder.ini");
    EXPECT_FALSE(removeKey(folder / "folder.ini", "A", "k"));
}

// ---------------------------------------------------------------------------------------------
// Conversions

TEST(Profile, ParseIntReadsLikeAtoiAndSaturates) {
    const std::pair<const char*, int32_t> cases[] = {
        {"-2500dB", -2500},
        {"1.5", 1},
        {"0.9", 0},
        {"12,5", 12},
        {"  +7x", 7},
        {"\t\n\v\f\r 42", 42},
        {"", 0},
        {"abc", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"0x1A", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999999", INT32_MAX},
        {"-99999999999999999999999999", INT32_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseInt(text), expected) << '"' << text << '"';
    }
}

TEST(Profile, ParseIntStopsAtTheEndOfTheView) {
    const std::string_view digits = "12345";
    EXPECT_EQ(parseInt(digits.substr(0, 2)), 12);
}

const std::pair<const char*, double> kDoubleCases[] = {
    {"1.5", 1.5},
    {"0.9", 0.9},
    {"12,5", 12.0},
    {"1e3", 1000.0},
    {"-2500dB", -2500.0},
    {"  +7x", 7.0},
    {"", 0.0},
    {"abc", 0.0},
    {".5", 0.5},
    {"-0.0000004", -0.0000004},
    {"0x10", 16.0},
    {"0.123457", 0.123457},
};

TEST(Profile, ParseDoubleReadsLikeAtofInTheCLocale) {
    for (const auto& [text, expected] : kDoubleCases) {
        EXPECT_DOUBLE_EQ(parseDouble(text), expected) << '"' << text << '"';
    }
    EXPECT_EQ(parseDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(parseDouble("-inf"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(parseDouble("nan")));
    EXPECT_DOUBLE_EQ(parseDouble(std::string_view("1.25").substr(0, 3)), 1.2);
}

TEST(Profile, ConversionsIgnoreACommaLocale) {
    const test::CommaLocale locale;
    if (!locale.isActive()) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    for (const auto& [text, expected] : kDoubleCases) {
        EXPECT_DOUBLE_EQ(parseDouble(text), expected) << '"' << text << '"';
    }
    TempFolder folder;
    const fs::path file = folder / "tavi.ini";
    ASSERT_TRUE(write(file, "S", "k", "0.25"));
    EXPECT_DOUBLE_EQ(parseDouble(read(file, "S", "k", "", 64)), 0.25);
}

} // namespace
} // namespace tavi::platform::profile
