// The table of system functions bound on first use, and the one COM start-up.
#include "platform/system_api_win.h"

#include <string>

// Headers older than the flag, or that keep it for a newer _WIN32_WINNT, lack it. Name the flag
// alone: raising _WIN32_WINNT would let calls Windows 7 lacks slip in unnoticed.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace platform {
namespace {

// Windows XP exports SHGetImageList by number only.
constexpr ULONG_PTR kGetImageListOrdinal = 727;

// The function `name` of the system library `dll`, loaded on first use; null when missing.
template <class Function>
Function Bind(const wchar_t* dll, const char* name) {
    HMODULE module = SystemLibrary(dll);
    FARPROC proc = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);

}  // namespace

HMODULE SystemLibrary(const wchar_t* dll) {
    HMODULE module = ::GetModuleHandleW(dll);
    if (module) {
        return module;
    }
    module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // Windows 7 without KB2533623 does not know the flag: name the system folder instead.
        wchar_t folder[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            const std::wstring path = std::wstring(folder, length) + L'\\' + dll;
            module = ::LoadLibraryW(path.c_str());
        }
    }
    return module;
}

bool StartCom() {
    // Never ended by us: what COM hands out (menus, sheets, proxies of the accessible object)
    // may be in use until the thread ends. Another owner's earlier start on the thread counts.
    thread_local const bool started = [] {
        static const auto init = Bind<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx");
        return init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    return started;
}

namespace api {

// advapi32.dll
RegGetValueWFn RegGetValueW() {
    static const auto f = Bind<RegGetValueWFn>(L"advapi32.dll", "RegGetValueW");
    return f;
}

// comctl32.dll
ImageList_DrawFn ImageList_Draw() {
    static const auto f = Bind<ImageList_DrawFn>(L"comctl32.dll", "ImageList_Draw");
    return f;
}
ImageList_GetIconFn ImageList_GetIcon() {
    static const auto f = Bind<ImageList_GetIconFn>(L"comctl32.dll", "ImageList_GetIcon");
    return f;
}
ImageList_GetIconSizeFn ImageList_GetIconSize() {
    static const auto f = Bind<ImageList_GetIconSizeFn>(L"comctl32.dll", "ImageList_GetIconSize");
    return f;
}
InitCommonControlsExFn InitCommonControlsEx() {
    static const auto f = Bind<InitCommonControlsExFn>(L"comctl32.dll", "InitCommonControlsEx");
    return f;
}

// comdlg32.dll
ChooseFontWFn ChooseFontW() {
    static const auto f = Bind<ChooseFontWFn>(L"comdlg32.dll", "ChooseFontW");
    return f;
}
CommDlgExtendedErrorFn CommDlgExtendedError() {
    static const auto f = Bind<CommDlgExtendedErrorFn>(L"comdlg32.dll", "CommDlgExtendedError");
    return f;
}
GetOpenFileNameWFn GetOpenFileNameW() {
    static const auto f = Bind<GetOpenFileNameWFn>(L"comdlg32.dll", "GetOpenFileNameW");
    return f;
}

// dwmapi.dll
DwmSetWindowAttributeFn DwmSetWindowAttribute() {
    static const auto f = Bind<DwmSetWindowAttributeFn>(L"dwmapi.dll", "DwmSetWindowAttribute");
    return f;
}

// kernel32.dll
LCMapStringExFn LCMapStringEx() {
    static const auto f = Bind<LCMapStringExFn>(L"kernel32.dll", "LCMapStringEx");
    return f;
}

// advapi32.dll
GetSecurityInfoFn GetSecurityInfo() {
    static const auto f = Bind<GetSecurityInfoFn>(L"advapi32.dll", "GetSecurityInfo");
    return f;
}
OpenProcessTokenFn OpenProcessToken() {
    static const auto f = Bind<OpenProcessTokenFn>(L"advapi32.dll", "OpenProcessToken");
    return f;
}
GetTokenInformationFn GetTokenInformation() {
    static const auto f = Bind<GetTokenInformationFn>(L"advapi32.dll", "GetTokenInformation");
    return f;
}
EqualSidFn EqualSid() {
    static const auto f = Bind<EqualSidFn>(L"advapi32.dll", "EqualSid");
    return f;
}
IsValidSidFn IsValidSid() {
    static const auto f = Bind<IsValidSidFn>(L"advapi32.dll", "IsValidSid");
    return f;
}
GetLengthSidFn GetLengthSid() {
    static const auto f = Bind<GetLengthSidFn>(L"advapi32.dll", "GetLengthSid");
    return f;
}

// ntdll.dll
RtlGetVersionFn RtlGetVersion() {
    static const auto f = Bind<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
    return f;
}

// ole32.dll
CoCreateInstanceFn CoCreateInstance() {
    static const auto f = Bind<CoCreateInstanceFn>(L"ole32.dll", "CoCreateInstance");
    return f;
}
CoDisconnectObjectFn CoDisconnectObject() {
    static const auto f = Bind<CoDisconnectObjectFn>(L"ole32.dll", "CoDisconnectObject");
    return f;
}
CoTaskMemFreeFn CoTaskMemFree() {
    static const auto f = Bind<CoTaskMemFreeFn>(L"ole32.dll", "CoTaskMemFree");
    return f;
}
CreateStreamOnHGlobalFn CreateStreamOnHGlobal() {
    static const auto f = Bind<CreateStreamOnHGlobalFn>(L"ole32.dll", "CreateStreamOnHGlobal");
    return f;
}

// oleacc.dll
CreateStdAccessibleObjectFn CreateStdAccessibleObject() {
    static const auto f =
        Bind<CreateStdAccessibleObjectFn>(L"oleacc.dll", "CreateStdAccessibleObject");
    return f;
}
LresultFromObjectFn LresultFromObject() {
    static const auto f = Bind<LresultFromObjectFn>(L"oleacc.dll", "LresultFromObject");
    return f;
}

// oleaut32.dll
SysAllocStringLenFn SysAllocStringLen() {
    static const auto f = Bind<SysAllocStringLenFn>(L"oleaut32.dll", "SysAllocStringLen");
    return f;
}

// shcore.dll
GetDpiForMonitorFn GetDpiForMonitor() {
    static const auto f = Bind<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return f;
}

// shell32.dll
DragFinishFn DragFinish() {
    static const auto f = Bind<DragFinishFn>(L"shell32.dll", "DragFinish");
    return f;
}
DragQueryFileWFn DragQueryFileW() {
    static const auto f = Bind<DragQueryFileWFn>(L"shell32.dll", "DragQueryFileW");
    return f;
}
ExtractIconExWFn ExtractIconExW() {
    static const auto f = Bind<ExtractIconExWFn>(L"shell32.dll", "ExtractIconExW");
    return f;
}
ExtractIconWFn ExtractIconW() {
    static const auto f = Bind<ExtractIconWFn>(L"shell32.dll", "ExtractIconW");
    return f;
}
SHBindToParentFn SHBindToParent() {
    static const auto f = Bind<SHBindToParentFn>(L"shell32.dll", "SHBindToParent");
    return f;
}
SHChangeNotifyFn SHChangeNotify() {
    static const auto f = Bind<SHChangeNotifyFn>(L"shell32.dll", "SHChangeNotify");
    return f;
}
SHDefExtractIconWFn SHDefExtractIconW() {
    static const auto f = Bind<SHDefExtractIconWFn>(L"shell32.dll", "SHDefExtractIconW");
    return f;
}
SetCurrentProcessExplicitAppUserModelIDFn SetCurrentProcessExplicitAppUserModelID() {
    static const auto f = Bind<SetCurrentProcessExplicitAppUserModelIDFn>(
        L"shell32.dll", "SetCurrentProcessExplicitAppUserModelID");
    return f;
}
SHGetFileInfoWFn SHGetFileInfoW() {
    static const auto f = Bind<SHGetFileInfoWFn>(L"shell32.dll", "SHGetFileInfoW");
    return f;
}
SHGetDesktopFolderFn SHGetDesktopFolder() {
    static const auto f = Bind<SHGetDesktopFolderFn>(L"shell32.dll", "SHGetDesktopFolder");
    return f;
}
SHGetFolderPathWFn SHGetFolderPathW() {
    static const auto f = Bind<SHGetFolderPathWFn>(L"shell32.dll", "SHGetFolderPathW");
    return f;
}
SHGetImageListFn SHGetImageList() {
    static const auto f = [] {
        const auto named = Bind<SHGetImageListFn>(L"shell32.dll", "SHGetImageList");
        return named ? named
                     : Bind<SHGetImageListFn>(L"shell32.dll",
                                              reinterpret_cast<const char*>(kGetImageListOrdinal));
    }();
    return f;
}
SHCreateItemFromParsingNameFn SHCreateItemFromParsingName() {
    static const auto f =
        Bind<SHCreateItemFromParsingNameFn>(L"shell32.dll", "SHCreateItemFromParsingName");
    return f;
}

SHParseDisplayNameFn SHParseDisplayName() {
    static const auto f = Bind<SHParseDisplayNameFn>(L"shell32.dll", "SHParseDisplayName");
    return f;
}
ShellExecuteExWFn ShellExecuteExW() {
    static const auto f = Bind<ShellExecuteExWFn>(L"shell32.dll", "ShellExecuteExW");
    return f;
}

// shlwapi.dll
AssocQueryStringWFn AssocQueryStringW() {
    static const auto f = Bind<AssocQueryStringWFn>(L"shlwapi.dll", "AssocQueryStringW");
    return f;
}

// user32.dll
AdjustWindowRectExForDpiFn AdjustWindowRectExForDpi() {
    static const auto f =
        Bind<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    return f;
}
GetDpiForWindowFn GetDpiForWindow() {
    static const auto f = Bind<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    return f;
}
GetSystemMetricsForDpiFn GetSystemMetricsForDpi() {
    static const auto f = Bind<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    return f;
}
PrivateExtractIconsWFn PrivateExtractIconsW() {
    static const auto f = Bind<PrivateExtractIconsWFn>(L"user32.dll", "PrivateExtractIconsW");
    return f;
}
SystemParametersInfoForDpiFn SystemParametersInfoForDpi() {
    static const auto f =
        Bind<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    return f;
}

// uxtheme.dll
EnableThemeDialogTextureFn EnableThemeDialogTexture() {
    static const auto f =
        Bind<EnableThemeDialogTextureFn>(L"uxtheme.dll", "EnableThemeDialogTexture");
    return f;
}
SetWindowThemeFn SetWindowTheme() {
    static const auto f = Bind<SetWindowThemeFn>(L"uxtheme.dll", "SetWindowTheme");
    return f;
}

}  // namespace api
}  // namespace platform
