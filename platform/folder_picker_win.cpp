// The system's folder picker.
#include "platform/folder_picker_win.h"

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shobjidl.h>

#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace platform {

std::optional<std::string> PickFolder(HWND owner, const std::string& start) {
    const auto create = api::CoCreateInstance();
    const auto free = api::CoTaskMemFree();
    if (!create || !free || !StartCom()) {
        return std::nullopt;
    }
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(create(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                      __uuidof(IFileOpenDialog), dialog.PutVoid())) ||
        !dialog) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    (void)dialog->GetOptions(&options);
    // A folder of the file system only: the menu lists a path, which a library or a
    // virtual folder has not.
    (void)dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    if (const auto parse = api::SHCreateItemFromParsingName(); parse && !start.empty()) {
        ComPtr<IShellItem> folder;
        if (SUCCEEDED(
                parse(Widen(start).c_str(), nullptr, __uuidof(IShellItem), folder.PutVoid())) &&
            folder) {
            (void)dialog->SetFolder(folder.Get());
        }
    }
    if (FAILED(dialog->Show(owner))) {
        return std::nullopt;  // cancelled, or failed
    }
    ComPtr<IShellItem> picked;
    PWSTR path = nullptr;
    if (FAILED(dialog->GetResult(picked.Put())) || !picked ||
        FAILED(picked->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) {
        return std::nullopt;
    }
    std::string folder = Narrow(path);
    free(path);
    return folder;
}

}  // namespace platform
