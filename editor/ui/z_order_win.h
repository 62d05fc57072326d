// The z-order of the editor's controls, which is also their tab order.
#pragma once

#include <windows.h>

#include <span>

#include "editor/ui/main_window_layout.h"

namespace editor {

// Puts the table's controls in the z-order that makes Tab follow their visual order (see
// StackingOrder); those not made yet are skipped, so call again as more are made.
void StackControls(HWND parent, std::span<const ControlLayout> controls);

// Moves a label to just before `control` in the z-order, where Windows looks for the name
// of a control and the target of a label's mnemonic.
void PlaceLabelBefore(HWND label, HWND control);

}  // namespace editor
