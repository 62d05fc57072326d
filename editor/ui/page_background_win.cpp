// The page background behind the main window's controls, taken from the tab control.
#include "editor/ui/page_background_win.h"

#include <commctrl.h>

#include <utility>

namespace editor {

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

}  // namespace editor
