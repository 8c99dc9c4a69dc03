#pragma once

#include <filesystem>
#include <string>

namespace tavi::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return root; }
    std::filesystem::path file(const std::string& name) const { return root / name; }
    // Writes a file below the folder (creating its folders) and answers its path.
    std::filesystem::path write(const std::string& name, const std::string& content) const;
    static std::string read(const std::filesystem::path& file);

private:
    std::filesystem::path root;
};

} // namespace tavi::test
