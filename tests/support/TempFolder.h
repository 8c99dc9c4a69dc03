#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return root; }
    std::filesystem::path file(std::string_view name) const { return root / name; }
    std::filesystem::path operator/(std::string_view name) const { return root / name; }
    // Writes the bytes exactly as given below the folder (creating its folders) and answers the
    // file's path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    static std::string read(const std::filesystem::path& file);
    // The names in a folder, sorted.
    static std::vector<std::string> namesIn(const std::filesystem::path& folder);

private:
    std::filesystem::path root;
};

} // namespace tavi::test
