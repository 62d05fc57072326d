// Libraries bound on first use, from the system folder only: a program that shows its window
// before it needs them does not wait for them, and a planted copy beside it is never loaded.
#pragma once

#include <windows.h>

namespace platform {

// The library `dll` (a bare name) from the system folder; one already loaded is reused.
[[nodiscard]] HMODULE SystemLibrary(const wchar_t* dll);

// The function `name` of the system library `dll`, loaded on first use; null when missing.
template <class Function>
[[nodiscard]] Function Bind(const wchar_t* dll, const char* name) {
    HMODULE module = SystemLibrary(dll);
    FARPROC proc = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace platform
