// Theme calls, through the theme library bound on first use.
#include "platform/theme_win.h"

#include "platform/system_api_win.h"

namespace platform {
namespace {

constexpr DWORD kEnableTabTexture = 0x00000006;  // ETDT_ENABLETAB: ETDT_ENABLE | ETDT_USETABTEXTURE
// The window manager's attributes, named here: older headers lack them.
constexpr DWORD kCornerPreference = 33;             // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kRoundSmall = 3;                    // DWMWCP_ROUNDSMALL
constexpr DWORD kImmersiveDarkMode = 20;            // DWMWA_USE_IMMERSIVE_DARK_MODE
constexpr DWORD kImmersiveDarkModeBefore20H1 = 19;  // its number until Windows 10 2004
constexpr wchar_t kPersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

constexpr DWORD kFirstWindows11Build = 22000;

bool WindowsBuildAtLeast(DWORD build) {
    const auto version = api::RtlGetVersion();
    if (!version) {
        return false;
    }
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return version(&info) == 0 && info.dwMajorVersion >= 10 && info.dwBuildNumber >= build;
}

}  // namespace

void UseClassicLook(HWND control) {
    if (const auto theme = api::SetWindowTheme()) {
        theme(control, L" ", L" ");
    }
}

void UseThemedLook(HWND control) {
    if (const auto theme = api::SetWindowTheme()) {
        theme(control, nullptr, nullptr);
    }
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void UseTabPageTexture(HWND window) {
    if (const auto texture = api::EnableThemeDialogTexture()) {
        texture(window, kEnableTabTexture);
    }
}

std::optional<bool> AppsUseLightTheme() {
    const auto get = api::RegGetValueW();
    if (!get) {
        return std::nullopt;
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    if (get(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr,
            &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value != 0;
}

bool DarkThemeOn() {
    const std::optional<bool> light = AppsUseLightTheme();
    return light.has_value() && !*light && !HighContrastOn();
}

void UseSmallRoundedCorners(HWND window) {
    // Asked of Windows 11 alone: elsewhere the window manager has no such corners, and loading
    // it would cost the menu's start.
    if (!WindowsBuildAtLeast(kFirstWindows11Build)) {
        return;
    }
    if (const auto set = api::DwmSetWindowAttribute()) {
        const DWORD corners = kRoundSmall;
        set(window, kCornerPreference, &corners, sizeof corners);
    }
}

void UseDarkTitleBar(HWND window) {
    if (const auto set = api::DwmSetWindowAttribute()) {
        const BOOL dark = TRUE;
        if (FAILED(set(window, kImmersiveDarkMode, &dark, sizeof dark))) {
            set(window, kImmersiveDarkModeBefore20H1, &dark, sizeof dark);
        }
    }
}

}  // namespace platform
