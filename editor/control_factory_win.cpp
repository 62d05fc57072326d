// The window classes and styles of each kind of control in the editor's tables.
#include "editor/control_factory_win.h"

#include <commctrl.h>

#include <string>

#include "editor/keyboard_access.h"
#include "platform/text_win.h"

namespace editor {
namespace {

struct ControlClass {
    const wchar_t* Name;
    DWORD Style;
    DWORD ExStyle;
};

ControlClass ClassOf(const ControlLayout& c) {
    const DWORD tab = WS_TABSTOP;
    switch (c.Kind) {
        case ControlKind::Tabs:
            return {WC_TABCONTROLW, tab, 0};
        case ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label:
            // A label that names a box shows its mnemonic; the others show their text as is.
            return {L"STATIC", SS_LEFT | (HasMnemonic(c.Id) ? 0u : SS_NOPREFIX), 0};
        case ControlKind::List:
            return {L"LISTBOX", tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Picture:
            return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, c.Sunken ? WS_EX_CLIENTEDGE : 0u};
        case ControlKind::Button:
            return {L"BUTTON", tab | BS_PUSHBUTTON | BS_MULTILINE, 0};
        case ControlKind::Check:
            return {L"BUTTON", tab | BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP, 0};
        case ControlKind::Text:
            return {L"EDIT", tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::DriveList:
            return {L"COMBOBOX", tab | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::FolderList:
            return {L"LISTBOX",
                    tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ScrollBar:
            return {L"SCROLLBAR", tab | SBS_HORZ | WS_DISABLED, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

platform::UniqueHfont CreateDialogFont(int dotsPerInch) {
    return platform::UniqueHfont(
        ::CreateFontW(-::MulDiv(8, dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
}

int ScreenDotsPerInch() {
    platform::WindowDc screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

HWND CreateControl(HWND parent, const ControlLayout& c, float twipsPerPixel, HFONT font,
                   bool visible) {
    const ControlClass cls = ClassOf(c);
    const PixelRect r = ClientRect(c, twipsPerPixel);
    // A drop-down list's height is that of its open list.
    const int height = c.Kind == ControlKind::DriveList ? r.Height * 8 : r.Height;
    const std::wstring caption = platform::Widen(ShownCaption(c));
    HWND hwnd = ::CreateWindowExW(
        cls.ExStyle, cls.Name, caption.c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0u) | cls.Style, r.Left, r.Top,
        r.Width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)),
        ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

void StackControls(HWND parent, std::span<const ControlLayout> controls) {
    HWND above = HWND_TOP;
    for (int id : StackingOrder(controls)) {
        HWND control = ::GetDlgItem(parent, id);
        if (control == nullptr) {
            continue;
        }
        ::SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
}

void PlaceLabelBefore(HWND label, HWND control) {
    HWND above = ::GetWindow(control, GW_HWNDPREV);
    if (above == label) {
        return;
    }
    ::SetWindowPos(label, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace editor
