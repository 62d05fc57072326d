// The colours the editor's controls are drawn in, all from the system's scheme.
#pragma once

#include <windows.h>

namespace editor {

// The answer to WM_CTLCOLORSTATIC/BTN/EDIT/LISTBOX from `parent`: text in the system's colour,
// labels and check boxes on `page` (a brush of `parent`'s whole client area, or null for the
// face colour), boxes and lists on the window colour.
LRESULT ControlColours(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, HBRUSH page);

// Whether text in `text` can be read on `background`: their brightness lies far enough apart.
[[nodiscard]] bool Readable(COLORREF text, COLORREF background);

}  // namespace editor
