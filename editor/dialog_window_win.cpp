// Modal behaviour and table-made controls of the editor's secondary windows.
#include "editor/dialog_window_win.h"

#include <algorithm>

#include "editor/control_factory_win.h"
#include "editor/editor_messages.h"

namespace editor {

void DialogWindow::RunModal(HWND owner, const char* className, const char* title,
                            float widthTwips, float heightTwips) {
    m_twipsPerPixel = TwipsPerPixel(ScreenDotsPerInch());
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    RegisterWindowClass(className, icon, ::GetSysColorBrush(COLOR_BTNFACE));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, TwipsToPixels(widthTwips, m_twipsPerPixel),
               TwipsToPixels(heightTwips, m_twipsPerPixel)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (!CreateWindowFor(className, title, style, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME,
                         CW_USEDEFAULT, CW_USEDEFAULT, width, height, owner)) {
        return;
    }
    // Centred on the screen.
    ::SetWindowPos(Hwnd(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (owner) {
        ::EnableWindow(owner, FALSE);
    }
    ::ShowWindow(Hwnd(), SW_SHOW);
    MSG msg;
    while (!m_done) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // the program is ending
            }
            break;
        }
        if (!::IsDialogMessageA(Hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (owner) {
        ::EnableWindow(owner, TRUE);
        ::ShowWindow(owner, SW_SHOW);
        ::SetForegroundWindow(owner);
    }
    if (Hwnd()) {
        ::DestroyWindow(Hwnd());
    }
}

void DialogWindow::CreateControls(std::span<const ControlLayout> controls) {
    m_font = CreateDialogFont(ScreenDotsPerInch());
    for (const ControlLayout& c : controls) {
        (void)CreateControl(Hwnd(), c, m_twipsPerPixel, m_font.get(), true);
    }
}

std::string DialogWindow::Text(int id) const { return platform::WindowText(Control(id)); }

void DialogWindow::SetText(int id, const std::string& text) {
    ::SetWindowTextA(Control(id), text.c_str());
}

void DialogWindow::Show(int id, bool shown) { ::ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE); }

void DialogWindow::Enable(int id, bool enabled) { ::EnableWindow(Control(id), enabled); }

void DialogWindow::SetDefaultButton(int id) {
    if (m_defaultButton != 0 && m_defaultButton != id) {
        ::SendMessageA(Control(m_defaultButton), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    m_defaultButton = id;
    if (id != 0) {
        ::SendMessageA(Control(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

void DialogWindow::ShowError(const std::string& text) {
    ::MessageBoxA(Hwnd(), text.c_str(), kErrorTitle, MB_OK);
}

void DialogWindow::ShowWriteError(menufile::MenuError error, const std::string& menuPath) {
    ShowError(WriteErrorText(error, menuPath));
}

void DialogWindow::DrawWrappedButton(const DRAWITEMSTRUCT& draw) {
    const bool pushed = (draw.itemState & ODS_SELECTED) != 0;
    RECT frame = draw.rcItem;
    ::DrawFrameControl(draw.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    char text[128] = {};
    ::GetWindowTextA(draw.hwndItem, text, sizeof text);
    HGDIOBJ old = ::SelectObject(
        draw.hDC, reinterpret_cast<HGDIOBJ>(::SendMessageA(draw.hwndItem, WM_GETFONT, 0, 0)));
    RECT area = draw.rcItem;
    ::InflateRect(&area, -3, -3);
    if (pushed) {
        ::OffsetRect(&area, 1, 1);
    }
    RECT measured = area;
    ::DrawTextA(draw.hDC, text, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    area.top += std::max<LONG>(0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextA(draw.hDC, text, -1, &area, DT_CENTER | DT_WORDBREAK);
    ::SelectObject(draw.hDC, old);
    if (draw.itemState & ODS_FOCUS) {
        RECT focus = draw.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(draw.hDC, &focus);
    }
}

void DialogWindow::Close() {
    m_done = true;
    ::PostMessageA(Hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT DialogWindow::DialogHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case DM_GETDEFID:
            // Enter presses the default button (the modal loop runs IsDialogMessage).
            return m_defaultButton != 0 ? MAKELRESULT(m_defaultButton, DC_HASDEFID) : 0;
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_CLOSE:
            Close();
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace editor
