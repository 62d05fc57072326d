// Controls of the editor's windows made from their layout tables, and the one dialog font
// they all use.
#pragma once

#include <windows.h>

#include <span>

#include "editor/main_window_layout.h"
#include "platform/win32_handles_win.h"

namespace editor {

// The font of every control in the editor's windows.
[[nodiscard]] platform::UniqueHfont CreateDialogFont(int dotsPerInch);

// Dots per inch of the screen the windows are laid out for.
[[nodiscard]] int ScreenDotsPerInch();

// One control of a table, at its place in `parent`'s client area, with `font`; hidden until
// shown unless `visible`.
HWND CreateControl(HWND parent, const ControlLayout& control, float twipsPerPixel, HFONT font,
                   bool visible);

// Puts the table's controls in the z-order that makes Tab follow their visual order (see
// StackingOrder); call once they all exist.
void StackControls(HWND parent, std::span<const ControlLayout> controls);

// Moves a label to just before `control` in the z-order, where Windows looks for the name
// of a control and the target of a label's mnemonic.
void PlaceLabelBefore(HWND label, HWND control);

}  // namespace editor
