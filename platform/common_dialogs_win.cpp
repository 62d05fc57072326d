// Common dialogs and themes through libraries bound on first use.
#include "platform/common_dialogs_win.h"

#include "platform/system_library_win.h"

namespace platform {
namespace {

using OpenFn = BOOL(WINAPI*)(OPENFILENAMEA*);
using ErrorFn = DWORD(WINAPI*)();
using FontFn = BOOL(WINAPI*)(CHOOSEFONTA*);
using ThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

}  // namespace

bool ShowOpenDialog(OPENFILENAMEA& ofn) {
    static const auto open = Bind<OpenFn>(L"comdlg32.dll", "GetOpenFileNameA");
    return open != nullptr && open(&ofn) != FALSE;
}

DWORD OpenDialogError() {
    static const auto error = Bind<ErrorFn>(L"comdlg32.dll", "CommDlgExtendedError");
    return error != nullptr ? error() : 0;
}

bool ShowFontDialog(CHOOSEFONTA& choose) {
    static const auto font = Bind<FontFn>(L"comdlg32.dll", "ChooseFontA");
    return font != nullptr && font(&choose) != FALSE;
}

void UseClassicLook(HWND control) {
    static const auto theme = Bind<ThemeFn>(L"uxtheme.dll", "SetWindowTheme");
    if (theme != nullptr) {
        theme(control, L" ", L" ");
    }
}

}  // namespace platform
