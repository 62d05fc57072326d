// The file-system seam under the menu file writers: the Win32 build implements it with real
// files, the tests with MemoryFileSystem, so every commit step can be failed or crashed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace menufile {

// What went wrong, in the terms the programs report to the user.
enum class FileError {
    None,
    NotFound,
    ReadOnly,  // read-only attribute, write protection or no permission
    InUse,     // another program holds the file open or locked
    DiskFull,
    AlreadyExists,  // a new file, or a new name, where something already is
    PathTooLong,    // longer than the system takes
    Other,
};

enum class PathKind { Missing, File, Folder };

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
    // An existing file for reading and writing, kept from other writers while it is open; fails
    // on a read-only file, and on one another writer holds (after waiting a little for it).
    [[nodiscard]] virtual FileError OpenForUpdate(const std::string& path,
                                                  std::unique_ptr<File>& out) = 0;
    // Creates a new file for reading and writing, shared with nobody while it is open;
    // AlreadyExists when anything is at the path, which is never touched.
    [[nodiscard]] virtual FileError Create(const std::string& path,
                                           std::unique_ptr<File>& out) = 0;
    [[nodiscard]] virtual FileError Remove(const std::string& path) = 0;
    // What is at the path.
    [[nodiscard]] virtual FileError Probe(const std::string& path, PathKind& kind) = 0;
    // Gives a file a new name in the same folder; AlreadyExists when the name is taken.
    [[nodiscard]] virtual FileError Rename(const std::string& from, const std::string& to) = 0;
    // Whether the file's owner is the current user or the owner of `other` (when `other` has
    // one). A file system that keeps no owners (FAT) says true: anyone may write there anyway.
    // False when the owner cannot be learnt.
    [[nodiscard]] virtual bool OwnedByUserOrOwnerOf(const std::string& path,
                                                    const std::string& other) = 0;
    // Tells the desktop shell that the file's content (and so maybe its icon) changed.
    virtual void NotifyChanged(const std::string& path) = 0;
};

}  // namespace menufile
