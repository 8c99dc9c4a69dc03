#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File names and folders as the module uses them.
namespace tavi::platform::files {

// A path written with backslashes as a native path.
std::filesystem::path nativePath(std::string_view path);

// The folder of a file path, with a trailing separator ("a/b/c.gau" gives "a/b/").
std::string folderOf(std::string_view filePath);

// The existing file whose name matches the last component of the path without regard to case
// (the first in name order when several do), or the path unchanged when there is none or it
// exists as written.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& path);

// Whether the name matches the pattern ("*" any run of characters, "?" one), without regard to
// case.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The regular files of a folder whose names match the pattern ("*" and "?", without regard to
// case), sorted by name. An unreadable or missing folder gives none.
std::vector<std::filesystem::path> findFiles(const std::filesystem::path& folder,
                                             std::string_view pattern);

// Whether a name entered by someone can be the stem of one file of a folder and come back as
// itself from a folder scan: not empty, and nothing that leads out of the folder, ends the name
// early or matches other names (separators, dots, wildcards, control characters).
bool isPlainFileStem(std::string_view name);

// The whole content of a regular file, or why it was not read.
struct FileContent {
    enum class Status { Read, Missing, NotRegular, TooLarge, Unreadable };
    Status status = Status::Unreadable;
    std::string bytes;
    // For Unreadable, the system's error number.
    int error = 0;
};

// Reads a regular file whole. Anything else (a folder, a FIFO, a device) is not opened for
// reading at all, so it can neither block nor feed endless bytes; a file larger than maxBytes
// is not read.
FileContent readRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// Why a file was not read, for a log line ("missing", "not a regular file", ...); empty when it
// was read.
std::string describe(const FileContent& content, std::size_t maxBytes);

// Makes the bytes the whole content of the file: they go to a new temporary file created
// exclusively beside it, which then replaces the file in one rename. A failure (a full disk, a
// missing folder) answers false and leaves the old file whole, with no temporary file behind. A
// link at the path is replaced by the new file, never written through; an existing regular
// file's permissions are kept.
bool replaceFile(const std::filesystem::path& path, std::string_view bytes);

// Deletes the temporary files that replaceFile leaves in the folder when its process is killed
// before the rename; answers how many were deleted. Only regular files named as replaceFile names
// its temporaries are touched, so a folder's other files stay.
int removeLeftoverTemporaries(const std::filesystem::path& folder);

// Renames the file to its name with the suffix, or with the suffix and a number from 2 on when
// that name is taken, so that no other file is ever replaced. The new path, or nothing when the
// file could not be renamed.
std::optional<std::filesystem::path> moveAside(const std::filesystem::path& path,
                                               std::string_view suffix);

// Appends the bytes to a regular file, creating it when missing. A link, a FIFO or a device at
// the path is never written to: false. Bytes that do not all fit (a full disk) are taken back:
// false, the file as it was.
bool appendToFile(const std::filesystem::path& path, std::string_view bytes);

// Makes the file a new empty regular file; a link at the path is replaced, never followed.
bool emptyFile(const std::filesystem::path& path);

// Deletes a file (a link itself, not its target); false when it cannot be deleted or is a
// folder.
bool deleteFile(const std::filesystem::path& path);

} // namespace tavi::platform::files
