// The pop-up's tooltip window.
#include "engine/popup_tooltip_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/shell_win.h"
#include "platform/text_win.h"

namespace engine {

void PopupTooltip::Create(HWND owner) {
    platform::RegisterTooltipClass();
    m_owner = owner;
    m_tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (m_tooltip) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = owner;
        tool.uId = 1;
        ::GetClientRect(owner, &tool.rect);
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
    }
}

void PopupTooltip::PointAt(int cell, const std::string& text) {
    if (!m_tooltip || cell == m_cell) {
        return;
    }
    m_cell = cell;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_owner;
    tool.uId = 1;
    const std::wstring wide = platform::Widen(text);
    tool.lpszText = const_cast<wchar_t*>(wide.c_str());
    ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PopupTooltip::Pop() {
    if (m_tooltip) {
        ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    }
}

void PopupTooltip::Hide() {
    if (m_tooltip) {
        ::ShowWindow(m_tooltip, SW_HIDE);
    }
}

}  // namespace engine
