// Controls of the editor's windows made from their layout tables, the one dialog font they all
// use, and the colours they are drawn in.
#pragma once

#include <windows.h>

#include <span>

#include "editor/ui/main_window_layout.h"
#include "platform/win32_handles_win.h"

namespace editor {

// The font of every control in the editor's windows: the system's message font at the scale
// of the window's monitor.
[[nodiscard]] platform::UniqueHfont CreateDialogFont(int dotsPerInch);

// The size of a window whose client area is `widthTwips` by `heightTwips`, at `dotsPerInch`.
[[nodiscard]] SIZE WindowSizeFor(float widthTwips, float heightTwips, DWORD style, DWORD exStyle,
                                 int dotsPerInch);

// One control of a table, at its place in `parent`'s client area, with `font`; hidden until
// shown unless `visible`.
HWND CreateControl(HWND parent, const ControlLayout& control, float twipsPerPixel, HFONT font,
                   bool visible);
// Every control of the table that `parent` holds, moved to its place at another scale and
// given `font` (after a change of the display's scale).
void LayOutControls(HWND parent, std::span<const ControlLayout> controls, float twipsPerPixel,
                    HFONT font);

// The answer to WM_CTLCOLORSTATIC/BTN/EDIT/LISTBOX from `parent`: text in the system's colour,
// labels and check boxes on `page` (a brush of `parent`'s whole client area, or null for the
// face colour), boxes and lists on the window colour.
LRESULT ControlColours(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH page);

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

// Whether text in `text` can be read on `background`: their brightness lies far enough apart.
[[nodiscard]] bool Readable(COLORREF text, COLORREF background);

// Puts the table's controls in the z-order that makes Tab follow their visual order (see
// StackingOrder); call once they all exist.
void StackControls(HWND parent, std::span<const ControlLayout> controls);

// Moves a label to just before `control` in the z-order, where Windows looks for the name
// of a control and the target of a label's mnemonic.
void PlaceLabelBefore(HWND label, HWND control);

}  // namespace editor
