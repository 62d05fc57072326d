#include "platform/dpi_win.h"

#include "platform/system_api_win.h"

namespace platform {
namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

int Sane(int dpi) {
    return dpi >= 48 && dpi <= 960 ? dpi : kDefaultDpi;
}

}  // namespace

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return Sane(dpi);
}

int DpiOfMonitorAt(POINT point) {
    const auto get = api::GetDpiForMonitor();
    if (get != nullptr) {
        UINT x = 0;
        UINT y = 0;
        HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        if (monitor != nullptr && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && y != 0) {
            return Sane(static_cast<int>(y));
        }
    }
    return SystemDpi();
}

int DpiOfWindow(HWND hwnd) {
    const auto get = api::GetDpiForWindow();
    if (get != nullptr && hwnd != nullptr) {
        const UINT dpi = get(hwnd);
        if (dpi != 0) {
            return Sane(static_cast<int>(dpi));
        }
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    const auto get = api::GetSystemMetricsForDpi();
    if (get != nullptr) {
        return get(index, static_cast<UINT>(dpi));
    }
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

bool MessageFontForDpi(int dpi, LOGFONTW& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const auto get = api::SystemParametersInfoForDpi();
    if (get != nullptr &&
        get(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
        font = metrics.lfMessageFont;
        return true;
    }
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return false;
    }
    font = metrics.lfMessageFont;
    // The system's font is at the system's scale.
    font.lfHeight = ::MulDiv(font.lfHeight, dpi, SystemDpi());
    return true;
}

void TakeSuggestedRect(HWND hwnd, LPARAM suggestion) {
    const RECT& r = *reinterpret_cast<const RECT*>(suggestion);
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

int ScaleForDpi(int pixelsAt96, int dpi) {
    return ::MulDiv(pixelsAt96, dpi, kDefaultDpi);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    const auto adjust = api::AdjustWindowRectExForDpi();
    if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

RECT WorkAreaOf(HWND hwnd) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = hwnd != nullptr ? ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                                       : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info)) {
        return info.rcWork;
    }
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return screen;
}

POINT CentredOnMonitorOf(HWND owner, int width, int height) {
    const RECT work = WorkAreaOf(owner);
    LONG x = work.left + (work.right - work.left - width) / 2;
    LONG y = work.top + (work.bottom - work.top - height) / 2;
    // A window larger than the work area keeps its top-left corner (and its title bar) in it.
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    return POINT{x, y};
}

}  // namespace platform
