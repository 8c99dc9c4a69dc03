#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace tavi::test {

// A folder of its own, named after the running test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        static int made = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "tavi-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
        if (info) {
            name += std::string("-") + info->test_suite_name() + "-" + info->name();
        }
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace tavi::test
