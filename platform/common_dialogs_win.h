// The common Open and Font dialogs and the classic look of a control, bound on first use so
// the editor shows its window without loading their libraries.
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
// Draws the control without visual styles.
void UseClassicLook(HWND control);
// Draws the control with the visual styles in force again.
void UseThemedLook(HWND control);
// The user asked for high contrast (the colours of the scheme, not a theme's).
[[nodiscard]] bool HighContrastOn();
// Tells themed controls that `window` holds a tab page (EnableThemeDialogTexture with
// ETDT_ENABLETAB): they draw on the page's texture, not on grey boxes. Nothing without themes.
void UseTabPageTexture(HWND window);

}  // namespace platform
