// POSIX files behind the file-system seam; Flush is fsync, so commits cost what they cost.
#include "tests/support/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace test_support {
namespace {

using menufile::FileError;

FileError FromErrno() {
    switch (errno) {
        case ENOENT:
        case ENOTDIR:
            return FileError::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileError::ReadOnly;
        case EBUSY:
        case ETXTBSY:
            return FileError::InUse;
        case EEXIST:
            return FileError::AlreadyExists;
        case ENOSPC:
        case EDQUOT:
            return FileError::DiskFull;
        default:
            return FileError::Other;
    }
}

FileError ReadWhole(int fd, std::string& out) {
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        return FromErrno();
    }
    out.assign(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t got = pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FromErrno();
        }
        if (got == 0) {
            out.resize(done);
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return FileError::None;
}

class PosixFile : public menufile::File {
public:
    explicit PosixFile(int fd) : m_fd(fd) {}
    ~PosixFile() override { close(m_fd); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    FileError ReadAll(std::string& out) override { return ReadWhole(m_fd, out); }
    FileError WriteAt(std::uint64_t offset, std::string_view data) override {
        std::size_t done = 0;
        while (done < data.size()) {
            ssize_t put = pwrite(m_fd, data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return FromErrno();
            }
            done += static_cast<std::size_t>(put);
        }
        return FileError::None;
    }
    FileError SetLength(std::uint64_t length) override {
        return ftruncate(m_fd, static_cast<off_t>(length)) == 0 ? FileError::None : FromErrno();
    }
    FileError Flush() override { return fsync(m_fd) == 0 ? FileError::None : FromErrno(); }

private:
    int m_fd;
};

}  // namespace

FileError PosixFileSystem::ReadFile(const std::string& path, std::string& out) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return FromErrno();
    }
    FileError e = ReadWhole(fd, out);
    close(fd);
    return e;
}

FileError PosixFileSystem::OpenForUpdate(const std::string& path,
                                         std::unique_ptr<menufile::File>& out) {
    int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return FromErrno();
    }
    out = std::make_unique<PosixFile>(fd);
    return FileError::None;
}

FileError PosixFileSystem::Create(const std::string& path, std::unique_ptr<menufile::File>& out) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return FromErrno();
    }
    out = std::make_unique<PosixFile>(fd);
    return FileError::None;
}

FileError PosixFileSystem::Remove(const std::string& path) {
    return unlink(path.c_str()) == 0 ? FileError::None : FromErrno();
}

FileError PosixFileSystem::Probe(const std::string& path, menufile::PathKind& kind) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        kind = S_ISDIR(st.st_mode) ? menufile::PathKind::Folder : menufile::PathKind::File;
        return FileError::None;
    }
    if (errno == ENOENT || errno == ENOTDIR) {
        kind = menufile::PathKind::Missing;
        return FileError::None;
    }
    return FromErrno();
}

FileError PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    // link then unlink: a rename that never replaces what is at the new name.
    if (link(from.c_str(), to.c_str()) != 0) {
        return FromErrno();
    }
    return unlink(from.c_str()) == 0 ? FileError::None : FromErrno();
}

bool PosixFileSystem::OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return false;
    }
    struct stat reference {};
    return st.st_uid == geteuid() ||
           (stat(other.c_str(), &reference) == 0 && st.st_uid == reference.st_uid);
}

}  // namespace test_support
