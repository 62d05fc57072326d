// The shell's context menu of a target, and the system's words for an error code.
#include "platform/shell_menu_win.h"

#include <shellapi.h>

#include <iterator>
#include <string_view>
#include <vector>

#include "platform/system_library_win.h"
#include "platform/text_win.h"

namespace platform {
namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoTaskMemFreeFn = void(WINAPI*)(LPVOID);
using ParseDisplayNameFn = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, PIDLIST_ABSOLUTE*, SFGAOF, SFGAOF*);
using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
using BindToParentFn = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, REFIID, void**, PCUITEMID_CHILD*);

// COM for this thread, once: the shell's menus and the property sheets they open need it.
bool ComReady() {
    static const bool ready = [] {
        const auto init = Bind<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx");
        return init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    return ready;
}

// "http://...", "mailto:..." and the like: a scheme of two or more letters before a colon
// (one letter is a drive).
bool IsInternetAddress(const std::string& target) {
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2) {
        return false;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = target[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return false;
        }
    }
    return true;
}

template <class Interface>
void Release(Interface*& p) {
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

// A shown top-level window of this process other than the menu and what the menu owns.
struct OwnWindowSearch {
    HWND except;
    bool found = false;
};

BOOL CALLBACK FindOwnWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<OwnWindowSearch*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId() && hwnd != search->except && ::IsWindowVisible(hwnd) &&
        ::GetWindow(hwnd, GW_OWNER) != search->except) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

}  // namespace

std::string SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text != nullptr ? text : L"", length);
    if (text != nullptr) {
        ::LocalFree(text);
    }
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    return Narrow(wide);
}

std::string ExistingTarget(const std::string& target) {
    if (target.empty() || IsInternetAddress(target)) {
        return {};
    }
    const std::wstring wide = Widen(target);
    if (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return target;
    }
    std::vector<wchar_t> found(32768);
    const DWORD length = ::SearchPathW(nullptr, wide.c_str(), L".exe",
                                       static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0 || length >= found.size()) {
        return {};
    }
    return Narrow(std::wstring_view(found.data(), length));
}

ContextMenuResult ShellContextMenu::Show(HWND owner, const std::string& target, POINT screen) {
    const std::string path = ExistingTarget(target);
    if (path.empty() || !ComReady()) {
        return ContextMenuResult::NoMenu;
    }
    static const auto parse = Bind<ParseDisplayNameFn>(L"shell32.dll", "SHParseDisplayName");
    static const auto bindToParent = Bind<BindToParentFn>(L"shell32.dll", "SHBindToParent");
    static const auto memFree = Bind<CoTaskMemFreeFn>(L"ole32.dll", "CoTaskMemFree");
    if (!parse || !bindToParent || !memFree) {
        return ContextMenuResult::NoMenu;
    }
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(parse(Widen(path).c_str(), nullptr, &pidl, 0, nullptr)) || pidl == nullptr) {
        return ContextMenuResult::NoMenu;
    }
    IShellFolder* folder = nullptr;
    PCUITEMID_CHILD child = nullptr;
    IContextMenu* menu = nullptr;
    if (SUCCEEDED(
            bindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child))) {
        folder->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr,
                              reinterpret_cast<void**>(&menu));
    }
    HMENU popup = menu != nullptr ? ::CreatePopupMenu() : nullptr;
    ContextMenuResult result = ContextMenuResult::NoMenu;
    if (popup != nullptr &&
        SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_NORMAL)) &&
        ::GetMenuItemCount(popup) > 0) {
        menu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&m_menu3));
        menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&m_menu2));
        if (m_menu2 == nullptr) {
            menu->AddRef();  // IsOpen() tells by m_menu2: hold the plain menu there
            m_menu2 = reinterpret_cast<IContextMenu2*>(menu);
        }
        // The menu closes on a click elsewhere only when its owner is in the foreground.
        ::SetForegroundWindow(owner);
        const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
            popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, owner, nullptr));
        ::PostMessageW(owner, WM_NULL, 0, 0);
        result = ContextMenuResult::Dismissed;
        wchar_t verb[64] = {};
        if (command >= kFirstCommand &&
            FAILED(menu->GetCommandString(command - kFirstCommand, GCS_VERBW, nullptr,
                                          reinterpret_cast<char*>(verb), std::size(verb)))) {
            verb[0] = L'\0';
        }
        const std::wstring_view chosen(verb);
        if (command >= kFirstCommand && (chosen == L"open" || chosen == L"runas")) {
            // Opening goes through ShellExecuteEx, as the menu would: Wine's menu accepts the
            // command yet starts nothing.
            const std::wstring file = Widen(path);
            SHELLEXECUTEINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = SEE_MASK_NOASYNC;
            info.hwnd = owner;
            info.lpVerb = verb;
            info.lpFile = file.c_str();
            info.nShow = SW_SHOWNORMAL;
            static const auto execute = Bind<ShellExecuteExFn>(L"shell32.dll", "ShellExecuteExW");
            if (execute) {
                execute(&info);
            }
            result = ContextMenuResult::Chosen;
        } else if (command >= kFirstCommand) {
            CMINVOKECOMMANDINFOEX invoke{};
            invoke.cbSize = sizeof invoke;
            invoke.fMask = CMIC_MASK_PTINVOKE;
            invoke.hwnd = owner;
            invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
            invoke.lpVerbW = MAKEINTRESOURCEW(command - kFirstCommand);
            invoke.nShow = SW_SHOWNORMAL;
            invoke.ptInvoke = screen;
            menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
            result = ContextMenuResult::Chosen;
        }
        Release(m_menu2);
        Release(m_menu3);
    }
    if (popup != nullptr) {
        ::DestroyMenu(popup);
    }
    Release(menu);
    Release(folder);
    memFree(pidl);
    return result;
}

bool ShellContextMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_INITMENUPOPUP && msg != WM_DRAWITEM && msg != WM_MEASUREITEM &&
        msg != WM_MENUCHAR) {
        return false;
    }
    result = 0;
    if (m_menu3 != nullptr) {
        return SUCCEEDED(m_menu3->HandleMenuMsg2(msg, wParam, lParam, &result));
    }
    if (m_menu2 != nullptr && msg != WM_MENUCHAR) {
        return SUCCEEDED(m_menu2->HandleMenuMsg(msg, wParam, lParam));
    }
    return false;
}

void WaitForOwnWindows(HWND except, DWORD grace) {
    auto anyShown = [except] {
        OwnWindowSearch search{except};
        ::EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    };
    const DWORD start = ::GetTickCount();
    bool seen = false;
    while (true) {
        seen = seen || anyShown();
        if (seen ? !anyShown() : ::GetTickCount() - start >= grace) {
            return;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

}  // namespace platform
