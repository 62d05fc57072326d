// Controls of the editor's windows made from their layout tables, and the windows' sizes.
#pragma once

#include <windows.h>

#include <span>

#include "editor/ui/main_window_layout.h"

namespace editor {

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

}  // namespace editor
