#include "platform/files/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

// Attempts at a free name for the temporary file of a replacement.
constexpr int kTemporaryNameAttempts = 100;

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
    int get() const { return descriptor; }
    // Closes now, so that the caller sees the result.
    bool close() {
        const int closing = descriptor;
        descriptor = -1;
        return ::close(closing) == 0;
    }

private:
    int descriptor;
};

// False when reading fails or the bytes would pass maxBytes.
bool readAll(int descriptor, std::string& bytes, std::size_t maxBytes, int& error) {
    char chunk[16384];
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            error = errno;
            return false;
        }
        if (bytes.size() + static_cast<std::size_t>(count) > maxBytes) {
            error = EFBIG;
            return false;
        }
        if (count == 0) {
            return true;
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// A replacement's temporary file is named ".<target>.tmp<process>-<attempt>".
constexpr std::string_view kTemporaryMark = ".tmp";

bool isDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

bool isTemporaryName(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos || mark < 2) {
        return false;
    }
    const std::string_view numbers = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = numbers.find('-');
    return dash != std::string_view::npos && isDigits(numbers.substr(0, dash)) &&
           isDigits(numbers.substr(dash + 1));
}

// A new file beside the target, so that the final rename stays on one file system. O_EXCL
// with O_NOFOLLOW: a name someone prepared in advance (a link above all) is never opened.
int createTemporary(const fs::path& target, fs::path& temporary) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string stem = "." + target.filename().string() + std::string(kTemporaryMark) +
                             std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = folder / (stem + std::to_string(attempt));
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

} // namespace

FileContent readRegularFile(const fs::path& path, std::size_t maxBytes) {
    FileContent content;
    // Opening without blocking keeps a FIFO from stalling the caller until it is checked.
    FileDescriptor descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (descriptor.get() < 0) {
        content.error = errno;
        content.status =
            errno == ENOENT ? FileContent::Status::Missing : FileContent::Status::Unreadable;
        return content;
    }
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0) {
        content.error = errno;
        return content;
    }
    if (!S_ISREG(status.st_mode)) {
        content.status = FileContent::Status::NotRegular;
        return content;
    }
    if (static_cast<uint64_t>(status.st_size) > maxBytes) {
        content.status = FileContent::Status::TooLarge;
        return content;
    }
    if (!readAll(descriptor.get(), content.bytes, maxBytes, content.error)) {
        content.bytes.clear();
        content.status = content.error == EFBIG ? FileContent::Status::TooLarge
                                                : FileContent::Status::Unreadable;
        return content;
    }
    content.status = FileContent::Status::Read;
    return content;
}

std::string describe(const FileContent& content, std::size_t maxBytes) {
    switch (content.status) {
    case FileContent::Status::Read:
        return {};
    case FileContent::Status::Missing:
        return "missing";
    case FileContent::Status::NotRegular:
        return "not a regular file";
    case FileContent::Status::TooLarge:
        return "larger than " + std::to_string(maxBytes) + " bytes";
    case FileContent::Status::Unreadable:
        break;
    }
    return std::string("unreadable: ") + std::strerror(content.error);
}

bool replaceFile(const fs::path& path, std::string_view bytes) {
    fs::path temporary;
    FileDescriptor descriptor(createTemporary(path, temporary));
    if (descriptor.get() < 0) {
        return false;
    }
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(descriptor.get(), old.st_mode & 07777);
    }
    const bool written = writeAll(descriptor.get(), bytes) && ::fsync(descriptor.get()) == 0;
    if (!descriptor.close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

int removeLeftoverTemporaries(const fs::path& folder) {
    int removed = 0;
    std::error_code error;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
        struct stat status {};
        const fs::path& entry = it->path();
        if (isTemporaryName(entry.filename().string()) && ::lstat(entry.c_str(), &status) == 0 &&
            S_ISREG(status.st_mode) && ::unlink(entry.c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

std::optional<fs::path> moveAside(const fs::path& path, std::string_view suffix) {
    const std::string name = path.filename().string() + std::string(suffix);
    for (int attempt = 1; attempt <= kTemporaryNameAttempts; ++attempt) {
        fs::path aside = path;
        aside.replace_filename(attempt == 1 ? name : name + std::to_string(attempt));
        struct stat status {};
        if (::lstat(aside.c_str(), &status) == 0 || errno != ENOENT) {
            continue;
        }
        if (::rename(path.c_str(), aside.c_str()) != 0) {
            return std::nullopt;
        }
        return aside;
    }
    return std::nullopt;
}

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

bool appendToFile(const fs::path& path, std::string_view bytes) {
    FileDescriptor descriptor(::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
    struct stat status {};
    if (descriptor.get() < 0 || ::fstat(descriptor.get(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return false;
    }
    // Half a line on a full disk would run into the next line written: the file goes back to
    // what it held.
    if (!writeAll(descriptor.get(), bytes)) {
        static_cast<void>(::ftruncate(descriptor.get(), status.st_size));
        return false;
    }
    return descriptor.close();
}

bool emptyFile(const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return replaceFile(path, {});
    }
    FileDescriptor descriptor(::open(
        path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
    return descriptor.get() >= 0 && descriptor.close();
}

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
