// The page background behind the main window's controls, taken from the tab control.
#pragma once

#include <windows.h>

#include "platform/win32_handles_win.h"

namespace editor {

// The background behind a window's controls: the face colour, with the tab control's page
// as the tab control itself draws it (themed or not) where the tabs lie.
class PageBackground {
public:
    // Draws it anew for `parent`'s client area, with `tabs` (may be null) as it stands now.
    void Update(HWND parent, HWND tabs);
    [[nodiscard]] HBRUSH Brush() const { return m_brush.get(); }
    // The colour in the middle of the tabs' page.
    [[nodiscard]] COLORREF PageColour() const { return m_pageColour; }
    // Paints the background over `parent`'s client area in `dc` (whose origin may have been
    // moved to a child's, for a themed control that draws what lies behind it).
    void Paint(HWND parent, HDC dc) const;
    // Fills `area` of `child`'s client area with the part of the background behind it.
    void Fill(HWND parent, HWND child, HDC dc, const RECT& area) const;

private:
    platform::UniqueHbitmap m_bitmap;
    platform::UniqueHbrush m_brush;
    COLORREF m_pageColour = 0;
};

}  // namespace editor
