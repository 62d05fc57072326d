// The shell's context menu of a target.
#include "platform/shell_menu_win.h"

#include <shellapi.h>

#include <iterator>
#include <string_view>

#include "platform/system_api_win.h"
#include "platform/text_win.h"
#include "platform/typed_target_win.h"

namespace platform {
namespace {

// An item id list the shell allocated.
struct ItemIdListTraits {
    using Handle = PIDLIST_ABSOLUTE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) {
        if (const auto free = api::CoTaskMemFree()) {
            free(h);
        }
    }
};
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;

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

std::string ExistingTarget(const std::string& target) {
    if (target.empty() || IsInternetAddress(target)) {
        return {};
    }
    // Variables expanded, App Paths asked, as the item opens.
    if (std::string resolved = ResolvedPath(target); !resolved.empty()) {
        return resolved;
    }
    // What else the search path finds, such as a name with a folder in it ("tools\run").
    return Win32TargetLookup().FindOnSearchPath(target);
}

ContextMenuMessages::ContextMenuMessages(const ComPtr<IContextMenu>& menu)
    : m_menu2(menu.As<IContextMenu2>()), m_menu3(menu.As<IContextMenu3>()) {}

bool ContextMenuMessages::Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    if (msg != WM_INITMENUPOPUP && msg != WM_DRAWITEM && msg != WM_MEASUREITEM &&
        msg != WM_MENUCHAR) {
        return false;
    }
    result = 0;
    if (m_menu3) {
        return SUCCEEDED(m_menu3->HandleMenuMsg2(msg, wParam, lParam, &result));
    }
    if (m_menu2 && msg != WM_MENUCHAR) {
        return SUCCEEDED(m_menu2->HandleMenuMsg(msg, wParam, lParam));
    }
    return false;
}

ContextMenuResult ShellContextMenu::Show(HWND owner, const std::string& target, POINT screen) {
    const std::string path = ExistingTarget(target);
    if (path.empty() || !StartCom()) {
        return ContextMenuResult::NoMenu;
    }
    const auto parse = api::SHParseDisplayName();
    const auto bindToParent = api::SHBindToParent();
    if (!parse || !bindToParent || !api::CoTaskMemFree()) {
        return ContextMenuResult::NoMenu;
    }
    PIDLIST_ABSOLUTE parsed = nullptr;
    if (FAILED(parse(Widen(path).c_str(), nullptr, &parsed, 0, nullptr)) || parsed == nullptr) {
        return ContextMenuResult::NoMenu;
    }
    const UniqueItemIdList pidl(parsed);
    ComPtr<IShellFolder> folder;
    PCUITEMID_CHILD child = nullptr;
    ComPtr<IContextMenu> menu;
    if (SUCCEEDED(bindToParent(pidl.get(), IID_IShellFolder, folder.PutVoid(), &child))) {
        folder->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu.PutVoid());
    }
    HMENU popup = menu ? ::CreatePopupMenu() : nullptr;
    ContextMenuResult result = ContextMenuResult::NoMenu;
    if (popup != nullptr &&
        SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_NORMAL)) &&
        ::GetMenuItemCount(popup) > 0) {
        m_messages = ContextMenuMessages(menu);
        m_open = true;
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
            if (const auto execute = api::ShellExecuteExW()) {
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
        m_open = false;
        m_messages = ContextMenuMessages();
    }
    if (popup != nullptr) {
        ::DestroyMenu(popup);
    }
    return result;
}

bool ShellContextMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return m_messages.Route(msg, wParam, lParam, result);
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
