// Shell calls both programs use, bound on first use; text is UTF-8 here and UTF-16 to the shell.
#include "platform/shell_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

#include "platform/system_library_win.h"
#include "platform/text_win.h"

namespace platform {
namespace {

using ExtractIconExFn = UINT(WINAPI*)(LPCWSTR, int, HICON*, HICON*, UINT);
using ExtractIconFn = HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT);
using DragQueryFileFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishFn = void(WINAPI*)(HDROP);
using GetFileInfoFn = DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
using ChangeNotifyFn = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
using ImageListDrawFn = BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT);
using InitControlsFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

UINT ExtractIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count) {
    static const auto extract = Bind<ExtractIconExFn>(L"shell32.dll", "ExtractIconExW");
    return extract ? extract(Widen(file).c_str(), index, large, small, count) : 0;
}

DWORD_PTR FileInfo(const std::string& path, SHFILEINFOW& info, UINT flags, DWORD attributes = 0) {
    static const auto get = Bind<GetFileInfoFn>(L"shell32.dll", "SHGetFileInfoW");
    return get ? get(Widen(path).c_str(), attributes, &info, sizeof info, flags) : 0;
}

std::string NameOf(const SHFILEINFOW& info) {
    return Narrow(std::wstring_view(info.szDisplayName,
                                    wcsnlen(info.szDisplayName, std::size(info.szDisplayName))));
}

}  // namespace

bool ExtractIconPair(const std::string& file, int index, HICON& large, HICON& small) {
    HICON l = nullptr;
    HICON s = nullptr;
    // On failure the handles may hold garbage (seen under Wine), so only a result of 2 counts.
    UINT got = ExtractIcons(file, index, &l, &s, 1);
    if (got == 0 || got == static_cast<UINT>(-1) || (l == nullptr && s == nullptr)) {
        large = small = nullptr;
        return false;
    }
    large = l;
    small = s;
    return true;
}

int CountIcons(const std::string& file) {
    UINT count = ExtractIcons(file, -1, nullptr, nullptr, 0);
    return count == static_cast<UINT>(-1) ? 0 : static_cast<int>(count);
}

bool GetShellInfo(const std::string& path, bool smallIcon, ShellInfo& out) {
    if (path.empty()) {
        return false;
    }
    SHFILEINFOW info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE;
    if (smallIcon) {
        flags |= SHGFI_SMALLICON;
    }
    DWORD_PTR list = FileInfo(path, info, flags);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    out.displayName = NameOf(info);
    return true;
}

bool GetFolderIcon(bool open, ShellInfo& out) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES |
                       (open ? SHGFI_OPENICON : 0u);
    DWORD_PTR list = FileInfo("folder", info, flags, FILE_ATTRIBUTE_DIRECTORY);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    return true;
}

HICON ExtractOneIcon(const std::string& file, int index) {
    static const auto extract = Bind<ExtractIconFn>(L"shell32.dll", "ExtractIconW");
    if (!extract) {
        return nullptr;
    }
    HICON icon =
        extract(::GetModuleHandleW(nullptr), Widen(file).c_str(), static_cast<UINT>(index));
    // A file that is no library answers 1 instead of an icon.
    return reinterpret_cast<INT_PTR>(icon) > 1 ? icon : nullptr;
}

std::vector<std::string> TakeDroppedPaths(HDROP drop) {
    static const auto query = Bind<DragQueryFileFn>(L"shell32.dll", "DragQueryFileW");
    static const auto finish = Bind<DragFinishFn>(L"shell32.dll", "DragFinish");
    std::vector<std::string> paths;
    if (!query || !finish) {
        return paths;
    }
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = query(drop, i, nullptr, 0);
        std::wstring path(length, L'\0');
        path.resize(query(drop, i, path.data(), length + 1));
        paths.push_back(Narrow(path));
    }
    finish(drop);
    return paths;
}

std::string ShellDisplayName(const std::string& path) {
    SHFILEINFOW info{};
    return FileInfo(path, info, SHGFI_DISPLAYNAME) != 0 ? NameOf(info) : std::string();
}

void DrawShellImage(HIMAGELIST list, int index, HDC dc, int x, int y) {
    static const auto draw = Bind<ImageListDrawFn>(L"comctl32.dll", "ImageList_Draw");
    if (draw) {
        draw(list, index, dc, x, y, ILD_TRANSPARENT);
    }
}

void RegisterTooltipClass() {
    static const auto init = Bind<InitControlsFn>(L"comctl32.dll", "InitCommonControlsEx");
    if (init) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        init(&controls);
    }
}

bool ShellOpen(HWND owner, const std::string& target, const std::string& arguments,
               const std::string& startIn, DWORD* error, const char* verb) {
    static const auto execute = Bind<ShellExecuteExFn>(L"shell32.dll", "ShellExecuteExW");
    if (error != nullptr) {
        *error = ERROR_SUCCESS;
    }
    if (!execute) {
        if (error != nullptr) {
            *error = ERROR_PROC_NOT_FOUND;
        }
        return false;
    }
    const std::wstring file = Widen(target);
    const std::wstring parameters = Widen(arguments);
    const std::wstring directory = Widen(startIn);
    const std::wstring verbText = Widen(verb != nullptr ? verb : "Open");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No message box of the shell's own: the caller says what went wrong.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = verbText.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (execute(&info)) {
        return true;
    }
    if (error != nullptr) {
        *error = ::GetLastError();
    }
    return false;
}

void NotifyShellChanged(const std::string& path) {
    static const auto notify = Bind<ChangeNotifyFn>(L"shell32.dll", "SHChangeNotify");
    if (notify) {
        const std::wstring wide = Widen(path);
        notify(SHCNE_UPDATEITEM, SHCNF_PATHW, wide.c_str(), nullptr);
    }
}

}  // namespace platform
