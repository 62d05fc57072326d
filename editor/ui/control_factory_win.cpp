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
    LOGFONTW font{};
    if (platform::MessageFontForDpi(dotsPerInch, font)) {
        if (platform::UniqueHfont made(::CreateFontIndirectW(&font)); made) {
            return made;
        }
    }
    // No system answer: the dialog font of every Windows since 2000, 8 points.
    return platform::UniqueHfont(
        ::CreateFontW(-::MulDiv(8, dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2"));
}

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

namespace {

bool IsClass(HWND hwnd, const wchar_t* name) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    return ::lstrcmpiW(cls, name) == 0;
}

}  // namespace

LRESULT ControlColours(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH page) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    // A read-only or disabled text box asks as a label does; it keeps the look of a box.
    const bool box = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
                     (message == WM_CTLCOLORSTATIC && IsClass(control, L"EDIT"));
    if (box) {
        const bool editable = message != WM_CTLCOLORSTATIC;
        const int back = editable ? COLOR_WINDOW : COLOR_BTNFACE;
        ::SetTextColor(dc, ::GetSysColor(::IsWindowEnabled(control) || editable ? COLOR_WINDOWTEXT
                                                                                : COLOR_GRAYTEXT));
        ::SetBkColor(dc, ::GetSysColor(back));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(back));
    }
    // Set both, or a dark scheme shows the default black text on its black face.
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    if (page == nullptr) {
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    // The page shows through: the brush is aligned to the parent's client area.
    POINT origin{0, 0};
    ::MapWindowPoints(control, parent, &origin, 1);
    ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(page);
}

void PageBackground::Update(HWND parent, HWND tabs) {
    RECT client{};
    ::GetClientRect(parent, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    platform::WindowDc screen(parent);
    platform::UniqueHbitmap bitmap(
        ::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) {
        return;
    }
    {
        platform::SelectGuard select(dc.get(), bitmap.get());
        ::FillRect(dc.get(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        if (tabs != nullptr) {
            // What the tab control paints where nothing covers it, themed or classic.
            POINT at{0, 0};
            ::MapWindowPoints(tabs, parent, &at, 1);
            POINT old{};
            ::SetViewportOrgEx(dc.get(), at.x, at.y, &old);
            ::SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                           PRF_CLIENT | PRF_ERASEBKGND);
            ::SetViewportOrgEx(dc.get(), old.x, old.y, nullptr);
            RECT page{};
            ::GetClientRect(tabs, &page);
            TabCtrl_AdjustRect(tabs, FALSE, &page);
            m_pageColour = ::GetPixel(dc.get(), at.x + (page.left + page.right) / 2,
                                      at.y + (page.top + page.bottom) / 2);
        } else {
            m_pageColour = ::GetSysColor(COLOR_BTNFACE);
        }
    }
    platform::UniqueHbrush brush(::CreatePatternBrush(bitmap.get()));
    if (!brush) {
        return;
    }
    m_brush = std::move(brush);
    m_bitmap = std::move(bitmap);
}

void PageBackground::Paint(HWND parent, HDC dc) const {
    RECT client{};
    ::GetClientRect(parent, &client);
    if (!m_bitmap) {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    platform::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    platform::SelectGuard select(source.get(), m_bitmap.get());
    ::BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
}

void PageBackground::Fill(HWND parent, HWND child, HDC dc, const RECT& area) const {
    if (!m_brush) {
        ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    POINT origin{0, 0};
    ::MapWindowPoints(child, parent, &origin, 1);
    POINT old{};
    ::SetBrushOrgEx(dc, -origin.x, -origin.y, &old);
    ::FillRect(dc, &area, m_brush.get());
    ::SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

bool Readable(COLORREF text, COLORREF background) {
    auto brightness = [](COLORREF c) {
        return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000;
    };
    constexpr int kLeast = 125;  // the usual least difference for legible text
    const int difference = brightness(text) - brightness(background);
    return difference >= kLeast || -difference >= kLeast;
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
