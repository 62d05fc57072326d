// The look of controls: classic or themed, the tab-page texture, and high contrast.
#pragma once

#include <windows.h>

namespace platform {

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
