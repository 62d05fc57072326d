// The file-system seam under the menu file writers: the Win32 build implements it with real
// files, the tests with MemoryFileSystem, so every commit step can be failed or crashed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// What went wrong, in the terms the programs report to the user.
enum class FileError {
    None,
    NotFound,
    ReadOnly,  // read-only attribute, write protection or no permission
    InUse,     // another program holds the file open or locked
    DiskFull,
    Other,
};

// An open file, readable and writable. Closing is the destructor.
class File {
public:
    virtual ~File() = default;
    [[nodiscard]] virtual FileError ReadAll(std::string& out) = 0;
    [[nodiscard]] virtual FileError WriteAt(std::uint64_t offset, std::string_view data) = 0;
    [[nodiscard]] virtual FileError SetLength(std::uint64_t length) = 0;
    // Returns once the content and the size are on the disk.
    [[nodiscard]] virtual FileError Flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whole content of a file, opened with full sharing and closed again.
    [[nodiscard]] virtual FileError ReadFile(const std::string& path, std::string& out) = 0;
    // An existing file for reading and writing; fails on a read-only or locked file.
    [[nodiscard]] virtual FileError OpenForUpdate(const std::string& path,
                                                  std::unique_ptr<File>& out) = 0;
    // Creates the file, or empties an existing one, for reading and writing.
    [[nodiscard]] virtual FileError Create(const std::string& path,
                                           std::unique_ptr<File>& out) = 0;
    [[nodiscard]] virtual FileError Remove(const std::string& path) = 0;
    [[nodiscard]] virtual FileError Exists(const std::string& path, bool& exists) = 0;
    // Tells the desktop shell that the file's content (and so maybe its icon) changed.
    virtual void NotifyChanged(const std::string& path) = 0;
};

}  // namespace platform
