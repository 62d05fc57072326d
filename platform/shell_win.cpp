// Shell calls both programs use.
#include "platform/shell_win.h"

#include <shellapi.h>

namespace platform {

bool ExtractIconPair(const std::string& file, int index, HICON& large, HICON& small) {
    HICON l = nullptr;
    HICON s = nullptr;
    // On failure the handles may hold garbage (seen under Wine), so only a result of 2 counts.
    UINT got = ::ExtractIconExA(file.c_str(), index, &l, &s, 1);
    if (got == 0 || got == static_cast<UINT>(-1) || (l == nullptr && s == nullptr)) {
        large = small = nullptr;
        return false;
    }
    large = l;
    small = s;
    return true;
}

int CountIcons(const std::string& file) {
    UINT count = ::ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0);
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
    DWORD_PTR list = ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
    if (list == 0) {
        return false;
    }
    out.imageList = reinterpret_cast<HIMAGELIST>(list);
    out.iconIndex = info.iIcon;
    out.displayName.assign(info.szDisplayName,
                           strnlen(info.szDisplayName, sizeof info.szDisplayName));
    return true;
}

bool ShellOpen(HWND owner, const std::string& target, const std::string& arguments,
               const std::string& startIn) {
    HINSTANCE result = ::ShellExecuteA(owner, "Open", target.c_str(), arguments.c_str(),
                                       startIn.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace platform
