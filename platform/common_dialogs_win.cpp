// Common dialogs and themes through libraries bound on first use.
#include "platform/common_dialogs_win.h"

#include "platform/system_library_win.h"

namespace platform {
namespace {

using OpenFn = BOOL(WINAPI*)(OPENFILENAMEW*);
using ErrorFn = DWORD(WINAPI*)();
using FontFn = BOOL(WINAPI*)(CHOOSEFONTW*);
using ThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

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

}  // namespace platform
