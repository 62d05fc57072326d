// The one font of the editor's windows.
#pragma once

#include <windows.h>

#include "platform/win32_handles_win.h"

namespace editor {

// The font of every control in the editor's windows: the system's message font at the scale
// of the window's monitor.
[[nodiscard]] platform::UniqueHfont CreateDialogFont(int dotsPerInch);

}  // namespace editor
