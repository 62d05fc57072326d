// The system's text for an error code, as FormatMessage gives it.
#include "platform/system_error_win.h"

#include "menufile/message_inserts.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace platform {

std::string SystemErrorText(DWORD error, const std::vector<std::string>& inserts) {
    // Asked without its inserts filled: the system would read them from the arguments as
    // pointers, which a text with more inserts than values makes unsafe.
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueHlocal owner(text);
    const std::wstring wide(text != nullptr ? text : L"", text != nullptr ? length : 0);
    std::string filled = menufile::FillMessageInserts(Narrow(wide), inserts);
    while (!filled.empty() &&
           (filled.back() == '\r' || filled.back() == '\n' || filled.back() == ' ')) {
        filled.pop_back();
    }
    return filled;
}

}  // namespace platform
