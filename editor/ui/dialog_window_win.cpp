// Modal behaviour and table-made controls of the editor's secondary windows; the message boxes
// and the Open dialog of every editor window.
#include "editor/ui/dialog_window_win.h"

#include <commdlg.h>

#include <algorithm>

#include "editor/model/editor_messages.h"
#include "editor/ui/control_colours_win.h"
#include "editor/ui/z_order_win.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace editor {

int ShowMessageBox(HWND owner, const std::string& text, const char* title, UINT type) {
    return ::MessageBoxW(owner, platform::Widen(text).c_str(), platform::Widen(title).c_str(),
                         type);
}

std::optional<std::string> AskForFile(HWND owner, const char* title, const char* filter,
                                      DWORD flags, const std::string& initial,
                                      const char* defaultExtension,
                                      const std::string& initialFolder) {
    std::wstring file = platform::Widen(initial);
    if (file.size() >= kLongestPath) {
        file.clear();  // no room for it: the dialog starts empty
    }
    file.resize(kLongestPath, L'\0');
    // Zero-separated, two zeros at the end.
    std::wstring filters = platform::Widen(filter);
    std::replace(filters.begin(), filters.end(), L'|', L'\0');
    filters.append(2, L'\0');
    const std::wstring caption = platform::Widen(title);
    const std::wstring folder = platform::Widen(initialFolder);
    const std::wstring extension =
        defaultExtension != nullptr ? platform::Widen(defaultExtension) : std::wstring();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = defaultExtension != nullptr ? extension.c_str() : nullptr;
    ofn.Flags = flags;
    if (!platform::ShowOpenDialog(ofn)) {
        return std::nullopt;
    }
    return platform::Narrow(file.c_str());
}

void DialogWindow::RunModal(HWND owner, const char* className, const char* title, float widthTwips,
                            float heightTwips) {
    // Made at the scale of the owner's monitor, where it is shown.
    UseScale(owner != nullptr ? platform::DpiOfWindow(owner) : platform::SystemDpi());
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    RegisterWindowClass(className, icon, ::GetSysColorBrush(COLOR_BTNFACE));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
    SIZE size = FormSize(widthTwips, heightTwips, style, exStyle);
    POINT at = platform::CentredOnMonitorOf(owner, size.cx, size.cy);
    if (!CreateWindowFor(className, title, style, exStyle, at.x, at.y, size.cx, size.cy, owner)) {
        return;
    }
    // The window tells the scale it got: the owner may lie across two monitors.
    if (const int dpi = platform::DpiOfWindow(Hwnd()); dpi != Dpi()) {
        ApplyDpi(dpi);
        size = FormSize(widthTwips, heightTwips, style, exStyle);
        at = platform::CentredOnMonitorOf(owner, size.cx, size.cy);
        ::SetWindowPos(Hwnd(), nullptr, at.x, at.y, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (owner) {
        ::EnableWindow(owner, FALSE);
    }
    ::ShowWindow(Hwnd(), SW_SHOW);
    MSG msg;
    while (!m_done) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // the program is ending
            }
            break;
        }
        if (!::IsDialogMessageW(Hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
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
    FormWindow::CreateControls(controls, true);
    StackControls(Hwnd(), controls);  // Tab follows what the window shows
}

std::string DialogWindow::Text(int id) const {
    return platform::WindowText(Control(id));
}

void DialogWindow::SetText(int id, const std::string& text) {
    platform::SetWindowTextUtf8(Control(id), text);
}

void DialogWindow::Show(int id, bool shown) {
    ::ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE);
}

void DialogWindow::Enable(int id, bool enabled) {
    ::EnableWindow(Control(id), enabled);
}

void DialogWindow::SetDefaultButton(int id) {
    if (m_defaultButton != 0 && m_defaultButton != id) {
        ::SendMessageW(Control(m_defaultButton), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    m_defaultButton = id;
    if (id != 0) {
        ::SendMessageW(Control(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

void DialogWindow::ShowError(const std::string& text) {
    ShowMessageBox(Hwnd(), text, kErrorTitle, MB_OK);
}

void DialogWindow::ShowWriteError(menufile::MenuError error, const std::string& menuPath) {
    ShowError(WriteErrorText(error, menuPath));
}

void DialogWindow::DrawWrappedButton(const DRAWITEMSTRUCT& draw) {
    const bool pushed = (draw.itemState & ODS_SELECTED) != 0;
    RECT frame = draw.rcItem;
    ::DrawFrameControl(draw.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const std::wstring text = platform::Widen(platform::WindowText(draw.hwndItem));
    const platform::SelectGuard font(
        draw.hDC, reinterpret_cast<HGDIOBJ>(::SendMessageW(draw.hwndItem, WM_GETFONT, 0, 0)));
    RECT area = draw.rcItem;
    ::InflateRect(&area, -3, -3);
    if (pushed) {
        ::OffsetRect(&area, 1, 1);
    }
    RECT measured = area;
    const int length = static_cast<int>(text.size());
    // The mnemonic's underline shows once the keyboard is in use, as on stock buttons.
    const UINT prefix = (draw.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    ::DrawTextW(draw.hDC, text.c_str(), length, &measured,
                DT_CENTER | DT_WORDBREAK | DT_CALCRECT | prefix);
    area.top +=
        std::max<LONG>(0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(draw.hDC, text.c_str(), length, &area, DT_CENTER | DT_WORDBREAK | prefix);
    if (draw.itemState & ODS_FOCUS) {
        RECT focus = draw.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(draw.hDC, &focus);
    }
}

void DialogWindow::Close() {
    m_done = true;
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
}

HWND DialogWindow::FirstControl() const {
    return ::GetNextDlgTabItem(Hwnd(), nullptr, FALSE);
}

LRESULT DialogWindow::DialogHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; HandleFormMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case DM_GETDEFID:
            // Enter presses the default button (the modal loop runs IsDialogMessage).
            return m_defaultButton != 0 ? MAKELRESULT(m_defaultButton, DC_HASDEFID) : 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return ControlColours(Hwnd(), message, wParam, lParam, nullptr);
        case WM_CLOSE:
            Close();
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace editor
