// The display's scale, per monitor and per window, on every Windows from 7 on: the newer calls
// are bound when present, and the system's one scale stands in for them on older systems.
#pragma once

#include <windows.h>

namespace platform {

inline constexpr int kDefaultDpi = 96;

// Dots per inch of the whole screen, as the process was started with.
[[nodiscard]] int SystemDpi();
// Dots per inch of the monitor that holds the point (screen pixels), or the nearest one.
[[nodiscard]] int DpiOfMonitorAt(POINT point);
// Dots per inch the window is drawn at: its monitor's, for a per-monitor aware process.
[[nodiscard]] int DpiOfWindow(HWND hwnd);
// A system metric at a given scale (GetSystemMetricsForDpi), scaled from the system's when
// the call is missing.
[[nodiscard]] int SystemMetricForDpi(int index, int dpi);
// The non-client message font (captions, labels, buttons) at a given scale; false if unknown.
bool MessageFontForDpi(int dpi, LOGFONTW& font);
// Moves and sizes the window to the rectangle a WM_DPICHANGED message suggests (its lParam).
void TakeSuggestedRect(HWND hwnd, LPARAM suggestion);
// Scales a pixel value at 96 dots per inch to `dpi`, rounding to the nearest pixel.
[[nodiscard]] int ScaleForDpi(int pixelsAt96, int dpi);
// The window rectangle around a client rectangle, with the frame at a given scale
// (AdjustWindowRectExForDpi), or at the system's when the call is missing.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// The work area of the monitor that holds most of `hwnd` (or the nearest), screen pixels.
[[nodiscard]] RECT WorkAreaOf(HWND hwnd);
// Where a window of the given size goes to stand centred on `owner`'s monitor, inside its work
// area; on the primary monitor without an owner.
[[nodiscard]] POINT CentredOnMonitorOf(HWND owner, int width, int height);

}  // namespace platform
