// The editor's shortcut store on the shell's links and the user's folders.
#include "editor/ui/shell_link_store_win.h"

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shlobj.h>

#include <cstdio>

#include "platform/system_error_win.h"
#include "platform/text_win.h"

namespace editor {
namespace {

constexpr const char* kStartMenuFolderName = "Tarvel Menus";

// The system's words for a COM or Win32 failure about `subject` (the file or folder its "%1"
// names); its number where it has none.
std::string ReasonOf(HRESULT hr, const std::string& subject) {
    const DWORD code =
        HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    std::string text = platform::SystemErrorText(code, {subject});
    if (text.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "Error 0x%08lX.", static_cast<unsigned long>(hr));
        text = number;
    }
    return text;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(platform::WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Makes `folder` and whatever of its parents is missing: ERROR_SUCCESS, or the error of the call
// that failed.
DWORD MakeFolder(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) {
        return ERROR_SUCCESS;
    }
    const std::string parent = FolderOf(folder);
    // A drive's root ("C:") or a share is not made; the call on the folder below says why.
    if (parent.size() > 2 && parent != folder) {
        if (const DWORD error = MakeFolder(parent); error != ERROR_SUCCESS) {
            return error;
        }
    }
    if (::CreateDirectoryW(platform::WidePath(folder).c_str(), nullptr)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = ::GetLastError();
    // Made meanwhile by someone else is as good; a file of that name is in the way.
    return error == ERROR_ALREADY_EXISTS && IsFolder(folder) ? ERROR_SUCCESS : error;
}

}  // namespace

std::optional<std::string> ShellLinkStore::Folder(ShortcutPlace place, ShortcutFailure& failure) {
    HRESULT hr = S_OK;
    const int csidl = place == ShortcutPlace::StartMenu ? CSIDL_PROGRAMS : CSIDL_DESKTOPDIRECTORY;
    std::optional<std::string> folder = platform::UserFolder(csidl, &hr);
    if (!folder) {
        failure.Reason = ReasonOf(hr, place == ShortcutPlace::StartMenu ? "Start menu" : "desktop");
        return std::nullopt;
    }
    if (place == ShortcutPlace::StartMenu) {
        *folder += "\\";
        *folder += kStartMenuFolderName;
    }
    return folder;
}

std::optional<menufile::ShortcutLink> ShellLinkStore::Read(const std::string& linkPath) {
    return platform::ReadShellLink(linkPath);
}

bool ShellLinkStore::Write(const std::string& linkPath, const menufile::ShortcutLink& link,
                           const std::string& appId, ShortcutFailure& failure) {
    if (const DWORD error = MakeFolder(FolderOf(linkPath)); error != ERROR_SUCCESS) {
        failure.Reason = ReasonOf(HRESULT_FROM_WIN32(error), FolderOf(linkPath));
        return false;
    }
    const HRESULT hr = platform::WriteShellLink(linkPath, link, appId, m_identity);
    if (FAILED(hr)) {
        failure.Reason = ReasonOf(hr, linkPath);
        return false;
    }
    return true;
}

bool ShellLinkStore::Remove(const std::string& linkPath, ShortcutFailure& failure) {
    if (!::DeleteFileW(platform::WidePath(linkPath).c_str())) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            failure.Reason = ReasonOf(HRESULT_FROM_WIN32(error), linkPath);
            return false;
        }
    }
    // Only the Start menu's folder of menus is ours to take away, and only when empty (the call
    // refuses a folder that is not); the desktop never goes.
    ShortcutFailure ignored;
    const std::optional<std::string> startMenu = Folder(ShortcutPlace::StartMenu, ignored);
    const std::string folder = FolderOf(linkPath);
    if (startMenu && menufile::SamePath(folder, *startMenu)) {
        (void)::RemoveDirectoryW(platform::WidePath(folder).c_str());
    }
    return true;
}

void ShellLinkStore::AddEditTask(const std::string& appId, const std::string& editorPath,
                                 const std::string& menuPath) {
    platform::AddEditMenuTask(appId, editorPath, menuPath);
}

}  // namespace editor
