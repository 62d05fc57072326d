// The system's text for an error code, as FormatMessage gives it.
#include "platform/system_error_win.h"

#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace platform {

std::string SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueHlocal owner(text);
    std::wstring wide(text != nullptr ? text : L"", text != nullptr ? length : 0);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    return Narrow(wide);
}

}  // namespace platform
