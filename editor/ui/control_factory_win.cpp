// The window classes and styles of each kind of control in the editor's tables.
#include "editor/ui/control_factory_win.h"

#include <commctrl.h>

#include <string>

#include "editor/ui/keyboard_access.h"
#include "platform/dpi_win.h"
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
            // Drawn by its window (each row's icon before its name), its rows' text kept for
            // the tools that read the list.
            return {L"LISTBOX",
                    tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        WS_VSCROLL,
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
        case ControlKind::HotKey:
            return {HOTKEY_CLASSW, tab, WS_EX_CLIENTEDGE};
        case ControlKind::IconGrid:
            return {
                WC_LISTVIEWW,
                tab | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_ALIGNTOP,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

SIZE WindowSizeFor(float widthTwips, float heightTwips, DWORD style, DWORD exStyle,
                   int dotsPerInch) {
    const float twipsPerPixel = TwipsPerPixel(dotsPerInch);
    RECT frame{0, 0, TwipsToPixels(widthTwips, twipsPerPixel),
               TwipsToPixels(heightTwips, twipsPerPixel)};
    platform::AdjustWindowRectForDpi(frame, style, exStyle, dotsPerInch);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

namespace {

// A drop-down list's height is that of its open list.
int HeightOf(const ControlLayout& c, const PixelRect& r) {
    return c.Kind == ControlKind::DriveList ? r.Height * 8 : r.Height;
}

}  // namespace

HWND CreateControl(HWND parent, const ControlLayout& c, float twipsPerPixel, HFONT font,
                   bool visible) {
    const ControlClass cls = ClassOf(c);
    const PixelRect r = ClientRect(c, twipsPerPixel);
    const int height = HeightOf(c, r);
    const std::wstring caption = platform::Widen(ShownCaption(c));
    HWND hwnd = ::CreateWindowExW(
        cls.ExStyle, cls.Name, caption.c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0u) | cls.Style, r.Left, r.Top,
        r.Width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)),
        ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

void LayOutControls(HWND parent, std::span<const ControlLayout> controls, float twipsPerPixel,
                    HFONT font) {
    for (const ControlLayout& c : controls) {
        HWND hwnd = ::GetDlgItem(parent, c.Id);
        if (hwnd == nullptr) {
            continue;
        }
        // The font first: a list box or a tab control sizes its rows from it.
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const PixelRect r = ClientRect(c, twipsPerPixel);
        ::SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width, HeightOf(c, r),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(parent, nullptr, TRUE);
}

}  // namespace editor
