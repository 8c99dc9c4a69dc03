#pragma once

// The fuzz input as a file on disk, for readers that take a path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavi::fuzz {

// One folder for the whole run, made at the first call.
inline const std::filesystem::path& fuzzFolder() {
    static const std::filesystem::path made = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavi-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        return std::filesystem::path(pattern);
    }();
    return made;
}

// Writes the bytes as the file of that name in the fuzz folder and answers its path.
inline std::filesystem::path fuzzFile(const std::string& name, const uint8_t* data,
                                      std::size_t size) {
    const std::filesystem::path file = fuzzFolder() / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

} // namespace tavi::fuzz
