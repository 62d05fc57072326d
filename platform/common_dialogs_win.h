// The common Open and Font dialogs, bound on first use so the editor shows its window without
// loading their library.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace platform {

// GetOpenFileName; false when cancelled or failed (then OpenDialogError tells which).
[[nodiscard]] bool ShowOpenDialog(OPENFILENAMEW& ofn);
// CommDlgExtendedError: 0 after a cancel.
[[nodiscard]] DWORD OpenDialogError();
// ChooseFont; false when cancelled.
[[nodiscard]] bool ShowFontDialog(CHOOSEFONTW& choose);

}  // namespace platform
