#include "platform/files/Files.h"

#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavi::platform::files {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(Files, ReplaceFileOnAFullDiskKeepsTheOldFile) {
    TempFolder folder;
    const fs::path file = folder.write("plan.fpl", "old content");
    {
        const test::FileSizeLimit diskFull(4);
        EXPECT_FALSE(replaceFile(file, "a new content longer than the limit"));
    }
    EXPECT_EQ(TempFolder::read(file), "old content");
    EXPECT_EQ(TempFolder::namesIn(folder.path()), std::vector<std::string>{"plan.fpl"});
}

TEST(Files, AppendOnAFullDiskLeavesNoHalfLine) {
    TempFolder folder;
    const fs::path file = folder.write("tavi.log", "first line\n");
    {
        const test::FileSizeLimit diskFull(16);
        EXPECT_FALSE(appendToFile(file, "a line that does not fit\n"));
    }
    EXPECT_EQ(TempFolder::read(file), "first line\n");
    EXPECT_TRUE(appendToFile(file, "next\n"));
    EXPECT_EQ(TempFolder::read(file), "first line\nnext\n");
}

TEST(Files, ReplaceFileKeepsPermissionsAndNeverWritesThroughALink) {
    TempFolder folder;
    const fs::path file = folder.write("own.fpl", "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path target = folder.write("target", "someone else's file");
    fs::create_symlink(target, folder / "linked.fpl");
    // Every name the temporary file could take is a link prepared in advance.
    for (int attempt = 0; attempt < 3; ++attempt) {
        fs::create_symlink(target, folder / (".own.fpl.tmp" + std::to_string(::getpid()) + "-" +
                                             std::to_string(attempt)));
    }

    EXPECT_TRUE(replaceFile(file, "new"));
    EXPECT_TRUE(replaceFile(folder / "linked.fpl", "replaced"));

    EXPECT_EQ(TempFolder::read(file), "new");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(folder / "linked.fpl")));
    EXPECT_EQ(TempFolder::read(folder / "linked.fpl"), "replaced");
    EXPECT_EQ(TempFolder::read(target), "someone else's file");
}

TEST(Files, NativePathAndFolderOf) {
    EXPECT_EQ(nativePath("Orvane\\TAVI Sounds\\takeoff OK.wav"),
              fs::path("Orvane/TAVI Sounds/takeoff OK.wav"));
    EXPECT_EQ(nativePath("a/b"), fs::path("a/b"));

    const std::pair<const char*, const char*> folders[] = {
        {"a/b/c.gau", "a/b/"},
        {"C:\\sim\\tavi_davud.gau", "C:\\sim\\"},
        {"a\\b/c", "a\\b/"},
        {"tavi.gau", ""},
        {"/", "/"},
        {"", ""},
    };
    for (const auto& [path, folder] : folders) {
        EXPECT_EQ(folderOf(path), folder) << path;
    }
}

TEST(Files, ResolveCaseInsensitiveFindsTheFileWhateverItsCase) {
    TempFolder folder;
    folder.write("takeoff OK.wav", "");
    folder.write("Clear.WAV", "upper");
    folder.write("clear.wav", "lower");

    EXPECT_EQ(resolveCaseInsensitive(folder / "TAKEOFF ok.WAV"), folder / "takeoff OK.wav");
    EXPECT_EQ(resolveCaseInsensitive(folder / "takeoff OK.wav"), folder / "takeoff OK.wav");
    EXPECT_EQ(resolveCaseInsensitive(folder / "absent.wav"), folder / "absent.wav");
    EXPECT_EQ(resolveCaseInsensitive(folder / "no folder" / "x.wav"),
              folder / "no folder" / "x.wav");
    // Several candidates: the first in name order, however the folder lists them.
    EXPECT_EQ(resolveCaseInsensitive(folder / "CLEAR.wav"), folder / "Clear.WAV");
}

TEST(Files, FindFilesMatchesWildcardsWithoutCaseInNameOrder) {
    TempFolder folder;
    for (const char* name : {"b.FLT", "a.flt", "c.flt.bak", "ab.txt", "star*.flt", "x"}) {
        folder.write(name, "");
    }
    fs::create_directory(folder / "sub.flt");

    struct Case {
        const char* pattern;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"*.flt", {"a.flt", "b.FLT", "star*.flt"}},
        {"?.FLT", {"a.flt", "b.FLT"}},
        {"a*", {"a.flt", "ab.txt"}},
        {"*", {"a.flt", "ab.txt", "b.FLT", "c.flt.bak", "star*.flt", "x"}},
        {"star*", {"star*.flt"}},
        {"*.*.*", {"c.flt.bak"}},
        {"x?", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (const fs::path& found : findFiles(folder.path(), c.pattern)) {
            EXPECT_EQ(found.parent_path(), folder.path());
            names.push_back(found.filename().string());
        }
        EXPECT_EQ(names, c.expected) << c.pattern;
    }
    EXPECT_TRUE(findFiles(folder / "absent", "*").empty());
}

TEST(Files, DeleteFileDeletesFilesAndLinksOnly) {
    TempFolder folder;
    const fs::path file = folder.write("plan.flt", "x");
    const fs::path target = folder.write("target", "x");
    fs::create_symlink(target, folder / "link");
    fs::create_directory(folder / "empty folder");

    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(deleteFile(file));
    EXPECT_TRUE(deleteFile(folder / "link"));
    EXPECT_TRUE(fs::exists(target));
    EXPECT_FALSE(deleteFile(folder / "empty folder"));
    EXPECT_TRUE(fs::is_directory(folder / "empty folder"));
}

TEST(Files, LeftoverTemporariesOfAReplacementAreRemovedAndNothingElse) {
    TempFolder folder;
    const std::vector<std::string> leftovers = {".plan.fpl.tmp123-0", ".x.tmp1-99"};
    const std::vector<std::string> others = {"plan.fpl",      ".plan.fpl.tmp",   ".plan.fpl.tmp1-",
                                             ".plan.tmp-1",   "plan.tmp1-2",     ".tmp1-2",
                                             ".a.tmp1-2.bak", ".plan.fpl.tmpx-1"};
    for (const std::string& name : leftovers) {
        folder.write(name, "half");
    }
    for (const std::string& name : others) {
        folder.write(name, "kept");
    }
    fs::create_directory(folder / ".folder.tmp1-1");

    EXPECT_EQ(removeLeftoverTemporaries(folder.path()), 2);
    std::vector<std::string> expected = others;
    expected.push_back(".folder.tmp1-1");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TempFolder::namesIn(folder.path()), expected);
    EXPECT_EQ(removeLeftoverTemporaries(folder / "missing"), 0);
}

TEST(Files, MoveAsideNeverReplacesAnotherFile) {
    TempFolder folder;
    folder.write("table.perf.refused", "first");
    const fs::path file = folder.write("table.perf", "second");
    EXPECT_EQ(moveAside(file, ".refused"), folder / "table.perf.refused2");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(TempFolder::read(folder / "table.perf.refused"), "first");
    EXPECT_EQ(TempFolder::read(folder / "table.perf.refused2"), "second");
    EXPECT_EQ(moveAside(file, ".refused"), std::nullopt) << "no file to move";
}

} // namespace
} // namespace tavi::platform::files

namespace tavi::test {
namespace {

TEST(PlainFileStemTest, OnlyNamesThatStayOneFileOfTheirFolder) {
    for (const char* good : {"KLAX", "ROUTE 1", "abc-2"}) {
        EXPECT_TRUE(platform::files::isPlainFileStem(good)) << good;
    }
    for (const char* bad : {"", "../x", "a/b", "a\\b", "a.b", "a*", "a?", "a\tb"}) {
        EXPECT_FALSE(platform::files::isPlainFileStem(bad)) << bad;
    }
}

} // namespace
} // namespace tavi::test
