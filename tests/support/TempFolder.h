#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tavi::test {

// A fresh folder for one test, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            "tavi-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as a text ending in "/".
    std::string text() const { return path.string() + "/"; }

    std::filesystem::path path;
};

} // namespace tavi::test
