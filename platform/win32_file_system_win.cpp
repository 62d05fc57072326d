// Win32 files behind the file-system seam.
#include "platform/win32_file_system_win.h"

#include <aclapi.h>
#include <windows.h>

#include <vector>

#include "platform/shell_win.h"
#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace platform {
namespace {

// A function of the table, or `missing` where this Windows lacks it.
template <class Fn, class R, class... Args>
auto CallOr(R missing, Fn f, Args... args) -> decltype(f(args...)) {
    return f ? f(args...) : static_cast<decltype(f(args...))>(missing);
}

FileError FromLastError() {
    switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return FileError::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return FileError::ReadOnly;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileError::InUse;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileError::DiskFull;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileError::AlreadyExists;
        case ERROR_FILENAME_EXCED_RANGE:
            return FileError::PathTooLong;
        default:
            return FileError::Other;
    }
}

FileError ReadWhole(HANDLE h, std::string& out) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(h, &size)) {
        return FromLastError();
    }
    if (size.QuadPart > 0x7FFFFFFF) {
        return FileError::Other;  // no menu file is this large
    }
    out.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(h, zero, nullptr, FILE_BEGIN)) {
        return FromLastError();
    }
    std::size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        if (!::ReadFile(h, out.data() + done, static_cast<DWORD>(out.size() - done), &got,
                        nullptr)) {
            return FromLastError();
        }
        if (got == 0) {
            out.resize(done);  // the file shrank under us
            break;
        }
        done += got;
    }
    return FileError::None;
}

class Win32File : public File {
public:
    explicit Win32File(UniqueHfile h) : m_handle(std::move(h)) {}

    FileError ReadAll(std::string& out) override { return ReadWhole(m_handle.get(), out); }

    FileError WriteAt(std::uint64_t offset, std::string_view data) override {
        if (FileError e = Seek(offset); e != FileError::None) {
            return e;
        }
        std::size_t done = 0;
        while (done < data.size()) {
            DWORD wrote = 0;
            if (!::WriteFile(m_handle.get(), data.data() + done,
                             static_cast<DWORD>(data.size() - done), &wrote, nullptr)) {
                return FromLastError();
            }
            if (wrote == 0) {
                return FileError::DiskFull;
            }
            done += wrote;
        }
        return FileError::None;
    }

    FileError SetLength(std::uint64_t length) override {
        if (FileError e = Seek(length); e != FileError::None) {
            return e;
        }
        return ::SetEndOfFile(m_handle.get()) ? FileError::None : FromLastError();
    }

    FileError Flush() override {
        return ::FlushFileBuffers(m_handle.get()) ? FileError::None : FromLastError();
    }

private:
    FileError Seek(std::uint64_t offset) {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        return ::SetFilePointerEx(m_handle.get(), to, nullptr, FILE_BEGIN) ? FileError::None
                                                                           : FromLastError();
    }

    UniqueHfile m_handle;
};

// Who owns a file; an empty result is no owner, which a file system without security (FAT)
// gives. `known` is false when the owner cannot be learnt, as for a file whose security may
// not be read.
struct Owner {
    bool known = false;
    std::vector<BYTE> sid;  // empty: the file system keeps no owners
};

Owner OwnerOf(const std::string& path) {
    Owner owner;
    UniqueHfile h(::CreateFileW(WidePath(path).c_str(), READ_CONTROL,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) {
        return owner;
    }
    PSID sid = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = CallOr<api::GetSecurityInfoFn>(
        ERROR_PROC_NOT_FOUND, api::GetSecurityInfo(), h.get(), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION, &sid, nullptr, nullptr, nullptr, &descriptor);
    const UniqueHlocal owned(descriptor);  // holds `sid` too
    if (error == ERROR_SUCCESS) {
        owner.known = true;
        if (sid != nullptr && CallOr<api::IsValidSidFn>(0, api::IsValidSid(), sid)) {
            const auto* bytes = static_cast<const BYTE*>(sid);
            owner.sid.assign(bytes,
                             bytes + CallOr<api::GetLengthSidFn>(0, api::GetLengthSid(), sid));
        }
    } else if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) {
        owner.known = true;  // no security on this file system
    }
    return owner;
}

// The process's user, and the owner it gives new files (for an administrator, maybe the
// Administrators group).
std::vector<std::vector<BYTE>> CurrentUserSids() {
    std::vector<std::vector<BYTE>> sids;
    HANDLE raw = nullptr;
    if (!CallOr<api::OpenProcessTokenFn>(0, api::OpenProcessToken(), ::GetCurrentProcess(),
                                         TOKEN_QUERY, &raw)) {
        return sids;
    }
    UniqueHandleK token(raw);
    for (TOKEN_INFORMATION_CLASS what : {TokenUser, TokenOwner}) {
        DWORD size = 0;
        (void)CallOr<api::GetTokenInformationFn>(0, api::GetTokenInformation(), token.get(), what,
                                                 nullptr, 0, &size);
        std::vector<BYTE> buffer(size);
        if (size == 0 ||
            !CallOr<api::GetTokenInformationFn>(0, api::GetTokenInformation(), token.get(), what,
                                                buffer.data(), size, &size)) {
            continue;
        }
        PSID sid = what == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                     : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner;
        if (sid != nullptr && CallOr<api::IsValidSidFn>(0, api::IsValidSid(), sid)) {
            const auto* bytes = static_cast<const BYTE*>(sid);
            sids.emplace_back(bytes,
                              bytes + CallOr<api::GetLengthSidFn>(0, api::GetLengthSid(), sid));
        }
    }
    return sids;
}

}  // namespace

bool Win32FileSystem::OwnedByUserOrOwnerOf(const std::string& path, const std::string& other) {
    const Owner owner = OwnerOf(path);
    if (!owner.known) {
        return false;
    }
    if (owner.sid.empty()) {
        return true;
    }
    auto same = [&](const std::vector<BYTE>& sid) {
        return !sid.empty() &&
               CallOr<api::EqualSidFn>(0, api::EqualSid(), const_cast<BYTE*>(owner.sid.data()),
                                       const_cast<BYTE*>(sid.data()));
    };
    for (const std::vector<BYTE>& user : CurrentUserSids()) {
        if (same(user)) {
            return true;
        }
    }
    const Owner reference = OwnerOf(other);
    return reference.known && same(reference.sid);
}

FileError Win32FileSystem::ReadFile(const std::string& path, std::string& out) {
    UniqueHfile h(::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) {
        return FromLastError();
    }
    DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return FileError::NotFound;
    }
    return ReadWhole(h.get(), out);
}

FileError Win32FileSystem::OpenForUpdate(const std::string& path, std::unique_ptr<File>& out) {
    DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FromLastError();
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FileError::NotFound;
    }
    // Checked here because Wine lets root write a read-only file.
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        return FileError::ReadOnly;
    }
    // Another writer (a second editor) holds the file for as long as its change takes: wait
    // for it a little, so that this change then sees what that one wrote.
    constexpr DWORD kWaitForWriter = 2000;
    const ULONGLONG start = ::GetTickCount64();
    UniqueHfile h;
    for (;;) {
        h.reset(::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (h) {
            break;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            ::GetTickCount64() - start >= kWaitForWriter) {
            ::SetLastError(error);
            return FromLastError();
        }
        ::Sleep(20);
    }
    out = std::make_unique<Win32File>(std::move(h));
    return FileError::None;
}

FileError Win32FileSystem::Create(const std::string& path, std::unique_ptr<File>& out) {
    UniqueHfile h(::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h && ::GetLastError() == ERROR_ACCESS_DENIED &&
        ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return FileError::AlreadyExists;  // a folder, or a read-only file, of that name
    }
    if (!h) {
        return FromLastError();
    }
    out = std::make_unique<Win32File>(std::move(h));
    return FileError::None;
}

FileError Win32FileSystem::Remove(const std::string& path) {
    return ::DeleteFileW(WidePath(path).c_str()) ? FileError::None : FromLastError();
}

FileError Win32FileSystem::Probe(const std::string& path, PathKind& kind) {
    DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            kind = PathKind::Missing;
            return FileError::None;
        }
        return FromLastError();
    }
    kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
    return FileError::None;
}

FileError Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    return ::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH)
               ? FileError::None
               : FromLastError();
}

void Win32FileSystem::NotifyChanged(const std::string& path) {
    NotifyShellChanged(path);
}

}  // namespace platform
