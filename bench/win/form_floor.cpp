// The second floor of the editor's start-up benchmark: a window with the editor's size, styles
// and the controls of its first page (from the editor's own table), of the system's classes
// with the system's message font and today's common controls, one name in the list, and
// nothing else: what any program pays to show that form under Wine. Nothing is read, nothing
// drawn by the program itself.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <string>

#include "editor/ui/keyboard_access.h"
#include "editor/ui/main_window_layout.h"

namespace {

using editor::ControlKind;
using editor::ControlLayout;
using editor::Page;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* ClassOf(ControlKind kind, DWORD& style, DWORD& exStyle) {
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    exStyle = 0;
    switch (kind) {
        case ControlKind::Tabs:
            style |= WS_TABSTOP;
            return WC_TABCONTROLW;
        case ControlKind::Frame:
            style |= BS_GROUPBOX;
            return L"BUTTON";
        case ControlKind::List:
            style |= WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            return L"LISTBOX";
        case ControlKind::Picture:
            exStyle = WS_EX_CLIENTEDGE;
            return L"STATIC";
        case ControlKind::Button:
            style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
            return L"BUTTON";
        default:
            return L"STATIC";
    }
}

std::wstring Wide(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"FormFloor";
    ::RegisterClassExW(&wc);
    HDC screen = ::GetDC(nullptr);
    const float twips = editor::TwipsPerPixel(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    constexpr DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, editor::TwipsToPixels(editor::kFormWidth, twips),
               editor::TwipsToPixels(editor::kFormHeight, twips)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    HWND hwnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"FormFloor", L"Form floor", style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    for (const ControlLayout& c : editor::MainWindowControls()) {
        if (c.Shown != Page::Always && c.Shown != Page::Items) {
            continue;
        }
        DWORD childStyle = 0;
        DWORD exStyle = 0;
        const wchar_t* cls = ClassOf(c.Kind, childStyle, exStyle);
        const editor::PixelRect r = editor::ClientRect(c, twips);
        HWND child = ::CreateWindowExW(
            exStyle, cls, Wide(editor::ShownCaption(c)).c_str(), childStyle, r.Left, r.Top, r.Width,
            r.Height, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), instance, nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.Kind == ControlKind::Tabs) {
            for (const char* caption : {editor::kContentsTabCaption, editor::kAppearanceTabCaption,
                                        editor::kShortcutsTabCaption}) {
                std::wstring text = Wide(caption);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                ::SendMessageW(child, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
            }
        } else if (c.Kind == ControlKind::List) {
            ::SendMessageW(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item 00000"));
        }
    }
    // The frame, then the tabs, under what they hold, as the editor stacks them.
    for (int id : {static_cast<int>(editor::kItemFrame), static_cast<int>(editor::kTabs)}) {
        ::SetWindowPos(::GetDlgItem(hwnd, id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(hwnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
