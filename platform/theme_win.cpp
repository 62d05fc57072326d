// Theme calls, through the theme library bound on first use.
#include "platform/theme_win.h"

#include "platform/system_api_win.h"

namespace platform {
namespace {

constexpr DWORD kEnableTabTexture = 0x00000006;  // ETDT_ENABLETAB: ETDT_ENABLE | ETDT_USETABTEXTURE

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

}  // namespace platform
