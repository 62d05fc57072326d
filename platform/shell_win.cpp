// Shell calls both programs use, bound on first use.
#include "platform/shell_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

// Headers older than the flag, or that keep it for a newer _WIN32_WINNT, lack it. Name the flag
// alone: raising _WIN32_WINNT would let calls Windows 7 lacks slip in unnoticed.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace platform {
namespace {

// The library `dll` (a bare name) from the system folder only, never from the program's or the
// working folder, where a planted copy could sit; one already loaded is reused.
HMODULE SystemLibrary(const wchar_t* dll) {
    HMODULE module = ::GetModuleHandleW(dll);
    if (module) {
        return module;
    }
    module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows 7 without KB2533623 does not know the flag: name the system folder instead.
        wchar_t folder[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            const std::wstring path = std::wstring(folder, length) + L'\\' + dll;
            module = ::LoadLibraryW(path.c_str());
        }
    }
    return module;
}

// The function `name` of the system library `dll`, loaded on first use; null when missing.
template <class Function>
Function Bind(const wchar_t* dll, const char* name) {
    HMODULE module = SystemLibrary(dll);
    FARPROC proc = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

using ExtractIconExFn = UINT(WINAPI*)(LPCSTR, int, HICON*, HICON*, UINT);
using GetFileInfoFn = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using ChangeNotifyFn = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
using ImageListDrawFn = BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT);
using InitControlsFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

UINT ExtractIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count) {
    static const auto extract = Bind<ExtractIconExFn>(L"shell32.dll", "ExtractIconExA");
    return extract ? extract(file.c_str(), index, large, small, count) : 0;
}

DWORD_PTR FileInfo(const std::string& path, SHFILEINFOA& info, UINT flags) {
    static const auto get = Bind<GetFileInfoFn>(L"shell32.dll", "SHGetFileInfoA");
    return get ? get(path.c_str(), 0, &info, sizeof info, flags) : 0;
}

std::string NameOf(const SHFILEINFOA& info) {
    return std::string(info.szDisplayName, strnlen(info.szDisplayName, sizeof info.szDisplayName));
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
    SHFILEINFOA info{};
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

std::string ShellDisplayName(const std::string& path) {
    SHFILEINFOA info{};
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
               const std::string& startIn) {
    static const auto execute = Bind<ShellExecuteFn>(L"shell32.dll", "ShellExecuteA");
    if (!execute) {
        return false;
    }
    HINSTANCE result = execute(owner, "Open", target.c_str(), arguments.c_str(), startIn.c_str(),
                               SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void NotifyShellChanged(const std::string& path) {
    static const auto notify = Bind<ChangeNotifyFn>(L"shell32.dll", "SHChangeNotify");
    if (notify) {
        notify(SHCNE_UPDATEITEM, SHCNF_PATHA, path.c_str(), nullptr);
    }
}

}  // namespace platform
