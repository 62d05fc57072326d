// A menu file loaded on a second thread while the window keeps answering, with a progress bar
// once it takes a while.
#pragma once

#include <windows.h>

#include <functional>

#include "editor/model/guarded_load.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/menu_file.h"

namespace editor {

// What loads the file, hearing how far it has come through `progress`; it must not throw.
using LoadStep = std::function<GuardedLoad(const menufile::ReadProgress& progress)>;

// Runs `load` on a second thread while this one dispatches `window`'s messages. A load that
// takes a while shows the window, disabled, with a progress bar across `bar` (client pixels).
// A WM_QUIT that came meanwhile is posted again once the load is over.
[[nodiscard]] GuardedLoad LoadShowingProgress(HWND window, const PixelRect& bar,
                                              const LoadStep& load);

}  // namespace editor
