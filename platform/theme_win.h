// The look of controls: classic or themed, the tab-page texture, high contrast, the app theme
// and the frame the window manager draws.
#pragma once

#include <windows.h>

#include <optional>

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
// The user's app theme (AppsUseLightTheme): true light, false dark, none where it is not set.
[[nodiscard]] std::optional<bool> AppsUseLightTheme();
// The app theme is dark and high contrast is off: what windows that follow the theme ask.
[[nodiscard]] bool DarkThemeOn();
// Asks the window manager for small rounded corners, as menus have (Windows 11); nothing where
// the system lacks them.
void UseSmallRoundedCorners(HWND window);
// A dark title bar on `window` (Windows 10 1809 and later); nothing elsewhere.
void UseDarkTitleBar(HWND window);

}  // namespace platform
