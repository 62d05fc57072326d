// Loading system libraries by name from the system folder only.
#include "platform/system_library_win.h"

#include <string>

// Headers older than the flag, or that keep it for a newer _WIN32_WINNT, lack it. Name the flag
// alone: raising _WIN32_WINNT would let calls Windows 7 lacks slip in unnoticed.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace platform {

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

}  // namespace platform
