// The colours the editor's controls are drawn in, all from the system's scheme.
#include "editor/ui/control_colours_win.h"

namespace editor {
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

bool Readable(COLORREF text, COLORREF background) {
    auto brightness = [](COLORREF c) {
        return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000;
    };
    constexpr int kLeast = 125;  // the usual least difference for legible text
    const int difference = brightness(text) - brightness(background);
    return difference >= kLeast || -difference >= kLeast;
}

}  // namespace editor
