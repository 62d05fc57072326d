// Common dialogs and themes through libraries bound on first use.
#include "platform/common_dialogs_win.h"

#include "platform/system_library_win.h"

namespace platform {
namespace {

using OpenFn = BOOL(WINAPI*)(OPENFILENAMEW*);
using ErrorFn = DWORD(WINAPI*)();
using FontFn = BOOL(WINAPI*)(CHOOSEFONTW*);
using ThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using TextureFn = HRESULT(WINAPI*)(HWND, DWORD);

constexpr DWORD kEnableTabTexture = 0x00000006;  // ETDT_ENABLETAB: ETDT_ENABLE | ETDT_USETABTEXTURE

}  // namespace

bool ShowOpenDialog(OPENFILENAMEW& ofn) {
    static const auto open = Bind<OpenFn>(L"comdlg32.dll", "GetOpenFileNameW");
    return open != nullptr && open(&ofn) != FALSE;
}

DWORD OpenDialogError() {
    static const auto error = Bind<ErrorFn>(L"comdlg32.dll", "CommDlgExtendedError");
    return error != nullptr ? error() : 0;
}

bool ShowFontDialog(CHOOSEFONTW& choose) {
    static const auto font = Bind<FontFn>(L"comdlg32.dll", "ChooseFontW");
    return font != nullptr && font(&choose) != FALSE;
}

void UseClassicLook(HWND control) {
    static const auto theme = Bind<ThemeFn>(L"uxtheme.dll", "SetWindowTheme");
    if (theme != nullptr) {
        theme(control, L" ", L" ");
    }
}

void UseThemedLook(HWND control) {
    static const auto theme = Bind<ThemeFn>(L"uxtheme.dll", "SetWindowTheme");
    if (theme != nullptr) {
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
    static const auto texture = Bind<TextureFn>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (texture != nullptr) {
        texture(window, kEnableTabTexture);
    }
}

}  // namespace platform
