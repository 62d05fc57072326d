// The tooltips over a window's controls.
#include "editor/ui/tooltip_window_win.h"

#include <commctrl.h>

#include <string>

#include "platform/text_win.h"

namespace editor {

void TooltipWindow::Create(HWND owner) {
    m_owner = owner;
    m_window = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

void TooltipWindow::Add(HWND control, const char* text) {
    if (m_window == nullptr) {
        return;
    }
    std::wstring wide = platform::Widen(text);  // the tooltip keeps a copy
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;  // the message loop relays the mouse
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    ::SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TooltipWindow::AddAsked(HWND control) {
    if (m_window == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TooltipWindow::Replace(HWND old, HWND replacement, const char* text) {
    if (m_window == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(old);
    ::SendMessageW(m_window, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    Add(replacement, text);
}

void TooltipWindow::Relay(MSG& msg) const {
    if (m_window != nullptr && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
        ::GetParent(msg.hwnd) == m_owner) {
        ::SendMessageW(m_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
}

}  // namespace editor
