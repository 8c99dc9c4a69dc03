#include "platform/files/Files.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>

namespace tavi::platform::files {

namespace fs = std::filesystem;

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// Matches "*" and "?" wildcards without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

fs::path nativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return fs::path(native);
}

std::string folderOf(std::string_view filePath) {
    const std::size_t slash = filePath.find_last_of("/\\");
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(filePath.substr(0, slash + 1));
}

fs::path resolveCaseInsensitive(const fs::path& path) {
    std::error_code error;
    if (fs::exists(path, error)) {
        return path;
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string wanted = path.filename().string();
    // Of several names that differ only in case, the first in name order is taken, so that the
    // answer does not depend on the order of the folder's entries.
    std::optional<fs::path> found;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (equalNoCase(it->path().filename().string(), wanted) &&
            (!found || it->path() < *found)) {
            found = it->path();
        }
    }
    if (!found) {
        return path;
    }
    return path.has_parent_path() ? *found : found->filename();
}

std::vector<fs::path> findFiles(const fs::path& folder, std::string_view pattern) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) &&
            matchesPattern(it->path().filename().string(), pattern)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool isPlainFileStem(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == '.' ||
               c == '*' || c == '?';
    });
}

bool deleteFile(const fs::path& path) {
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(path, error))) {
        return false;
    }
    return fs::remove(path, error) && !error;
}

} // namespace tavi::platform::files
