#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavi::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScopedTempFolder {
public:
    ScopedTempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavi-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        root = pattern;
    }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;
    ~ScopedTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    const std::filesystem::path& path() const { return root; }
    std::filesystem::path operator/(std::string_view name) const { return root / name; }

    // Writes the bytes exactly as given (binary) and answers the file's path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = root / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    static std::string read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path root;
};

} // namespace tavi::test
