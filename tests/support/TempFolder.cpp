#include "support/TempFolder.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tavi::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static int counter = 0;
    root = fs::temp_directory_path() /
           ("tavi-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root);
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(root, error);
}

fs::path TempFolder::write(std::string_view name, std::string_view bytes) const {
    const fs::path file = root / name;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string TempFolder::read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> TempFolder::namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tavi::test
