// The one table of system functions bound on first use, grouped by library. Each is loaded from
// the system folder only, so a planted copy beside the program is never loaded, and only when
// first asked for, so a program that shows its window before it needs a library does not wait
// for it. Each accessor gives the function, or null when this Windows lacks it.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <accctrl.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace platform {

// The library `dll` (a bare name) from the system folder; one already loaded is reused.
[[nodiscard]] HMODULE SystemLibrary(const wchar_t* dll);

// COM for the calling thread, apartment threaded (the shell's context menus, the property
// sheets they open and the marshalling of the accessible object need one). Started on the first
// call on each thread and left running until the thread ends; true when COM is usable.
bool StartCom();

namespace api {

// advapi32.dll
using RegGetValueWFn = LSTATUS(WINAPI*)(HKEY, LPCWSTR, LPCWSTR, DWORD, LPDWORD, PVOID, LPDWORD);
[[nodiscard]] RegGetValueWFn RegGetValueW();

// comctl32.dll
using ImageList_DrawFn = BOOL(WINAPI*)(HIMAGELIST, int, HDC, int, int, UINT);
using ImageList_GetIconFn = HICON(WINAPI*)(HIMAGELIST, int, UINT);
using ImageList_GetIconSizeFn = BOOL(WINAPI*)(HIMAGELIST, int*, int*);
using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
[[nodiscard]] ImageList_DrawFn ImageList_Draw();
[[nodiscard]] ImageList_GetIconFn ImageList_GetIcon();
[[nodiscard]] ImageList_GetIconSizeFn ImageList_GetIconSize();
[[nodiscard]] InitCommonControlsExFn InitCommonControlsEx();

// comdlg32.dll
using ChooseFontWFn = BOOL(WINAPI*)(CHOOSEFONTW*);
using CommDlgExtendedErrorFn = DWORD(WINAPI*)();
using GetOpenFileNameWFn = BOOL(WINAPI*)(OPENFILENAMEW*);
[[nodiscard]] ChooseFontWFn ChooseFontW();
[[nodiscard]] CommDlgExtendedErrorFn CommDlgExtendedError();
[[nodiscard]] GetOpenFileNameWFn GetOpenFileNameW();

// dwmapi.dll (Windows Vista and later; what it is asked for, the later Windows that know it)
using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
[[nodiscard]] DwmSetWindowAttributeFn DwmSetWindowAttribute();

// kernel32.dll (Windows Vista and later)
using LCMapStringExFn = int(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, int, LPWSTR, int, LPNLSVERSIONINFO,
                                     LPVOID, LPARAM);
[[nodiscard]] LCMapStringExFn LCMapStringEx();

// advapi32.dll (the owner check of journals: the engine starts without it)
using GetSecurityInfoFn = DWORD(WINAPI*)(HANDLE, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*,
                                         PACL*, PACL*, PSECURITY_DESCRIPTOR*);
[[nodiscard]] GetSecurityInfoFn GetSecurityInfo();
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
[[nodiscard]] OpenProcessTokenFn OpenProcessToken();
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
[[nodiscard]] GetTokenInformationFn GetTokenInformation();
using EqualSidFn = BOOL(WINAPI*)(PSID, PSID);
[[nodiscard]] EqualSidFn EqualSid();
using IsValidSidFn = BOOL(WINAPI*)(PSID);
[[nodiscard]] IsValidSidFn IsValidSid();
using GetLengthSidFn = DWORD(WINAPI*)(PSID);
[[nodiscard]] GetLengthSidFn GetLengthSid();

// ntdll.dll (always loaded: the true version, whatever the program's manifest declares)
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
[[nodiscard]] RtlGetVersionFn RtlGetVersion();

// ole32.dll
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using CoDisconnectObjectFn = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);
using CoTaskMemFreeFn = void(WINAPI*)(LPVOID);
using CreateStreamOnHGlobalFn = HRESULT(WINAPI*)(HGLOBAL, BOOL, LPSTREAM*);
[[nodiscard]] CoCreateInstanceFn CoCreateInstance();
[[nodiscard]] CoDisconnectObjectFn CoDisconnectObject();
[[nodiscard]] CoTaskMemFreeFn CoTaskMemFree();
[[nodiscard]] CreateStreamOnHGlobalFn CreateStreamOnHGlobal();

// oleacc.dll
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
[[nodiscard]] CreateStdAccessibleObjectFn CreateStdAccessibleObject();
[[nodiscard]] LresultFromObjectFn LresultFromObject();

// oleaut32.dll
using SysAllocStringLenFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
[[nodiscard]] SysAllocStringLenFn SysAllocStringLen();

// shcore.dll (Windows 8.1 and later)
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
[[nodiscard]] GetDpiForMonitorFn GetDpiForMonitor();

// shell32.dll
using DragFinishFn = void(WINAPI*)(HDROP);
using DragQueryFileWFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using ExtractIconExWFn = UINT(WINAPI*)(LPCWSTR, int, HICON*, HICON*, UINT);
using ExtractIconWFn = HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT);
using SHBindToParentFn = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, REFIID, void**, PCUITEMID_CHILD*);
using SHChangeNotifyFn = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
using SHDefExtractIconWFn = HRESULT(WINAPI*)(LPCWSTR, int, UINT, HICON*, HICON*, UINT);
using SetCurrentProcessExplicitAppUserModelIDFn = HRESULT(WINAPI*)(PCWSTR);
using SHGetFileInfoWFn = DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
using SHGetDesktopFolderFn = HRESULT(WINAPI*)(IShellFolder**);
using SHGetFolderPathWFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using SHGetImageListFn = HRESULT(WINAPI*)(int, const IID&, void**);
using SHCreateItemFromParsingNameFn = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
using SHParseDisplayNameFn = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, PIDLIST_ABSOLUTE*, SFGAOF,
                                              SFGAOF*);
using ShellExecuteExWFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
[[nodiscard]] DragFinishFn DragFinish();
[[nodiscard]] DragQueryFileWFn DragQueryFileW();
[[nodiscard]] ExtractIconExWFn ExtractIconExW();
[[nodiscard]] ExtractIconWFn ExtractIconW();
[[nodiscard]] SHBindToParentFn SHBindToParent();
[[nodiscard]] SHChangeNotifyFn SHChangeNotify();
[[nodiscard]] SHDefExtractIconWFn SHDefExtractIconW();
// Windows 7 and later.
[[nodiscard]] SetCurrentProcessExplicitAppUserModelIDFn SetCurrentProcessExplicitAppUserModelID();
[[nodiscard]] SHGetFileInfoWFn SHGetFileInfoW();
[[nodiscard]] SHGetDesktopFolderFn SHGetDesktopFolder();
[[nodiscard]] SHGetFolderPathWFn SHGetFolderPathW();
[[nodiscard]] SHGetImageListFn SHGetImageList();  // by name, else by number (Windows XP)
// Windows Vista and later.
[[nodiscard]] SHCreateItemFromParsingNameFn SHCreateItemFromParsingName();
[[nodiscard]] SHParseDisplayNameFn SHParseDisplayName();
[[nodiscard]] ShellExecuteExWFn ShellExecuteExW();

// shlwapi.dll
using AssocQueryStringWFn = HRESULT(WINAPI*)(DWORD, int, LPCWSTR, LPCWSTR, LPWSTR, DWORD*);
[[nodiscard]] AssocQueryStringWFn AssocQueryStringW();

// user32.dll (the ...ForDpi ones Windows 10 1607 and later)
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using PrivateExtractIconsWFn = UINT(WINAPI*)(LPCWSTR, int, int, int, HICON*, UINT*, UINT, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
[[nodiscard]] AdjustWindowRectExForDpiFn AdjustWindowRectExForDpi();
[[nodiscard]] GetDpiForWindowFn GetDpiForWindow();
[[nodiscard]] GetSystemMetricsForDpiFn GetSystemMetricsForDpi();
[[nodiscard]] PrivateExtractIconsWFn PrivateExtractIconsW();
[[nodiscard]] SystemParametersInfoForDpiFn SystemParametersInfoForDpi();

// uxtheme.dll
using EnableThemeDialogTextureFn = HRESULT(WINAPI*)(HWND, DWORD);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
[[nodiscard]] EnableThemeDialogTextureFn EnableThemeDialogTexture();
[[nodiscard]] SetWindowThemeFn SetWindowTheme();

}  // namespace api
}  // namespace platform
