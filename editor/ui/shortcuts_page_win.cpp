// The "Shortcuts" tab: ticking a box makes the place's shortcut, unticking removes it, and a
// change of the key rewrites every shortcut of ours; a shortcut of the same name that starts
// something else is never touched.
#include "editor/ui/shortcuts_page_win.h"

#include <commctrl.h>

#include <string_view>
#include <vector>

#include "editor/ui/main_window_layout.h"
#include "platform/text_win.h"

namespace editor {
namespace {

// Without the prefix that lifts the length limit: the shortcuts and the shell want plain paths.
std::wstring WithoutLongPrefix(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    if (path.starts_with(L"\\\\?\\")) {
        return path.substr(4);
    }
    return path;
}

// The folder the running editor was started from, however long its path.
std::string ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            std::wstring path = WithoutLongPrefix(std::wstring(buffer.data(), n));
            const std::size_t slash = path.find_last_of(L"\\/");
            return platform::Narrow(slash == std::wstring::npos ? std::wstring()
                                                                : path.substr(0, slash));
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A key the box shows while it is being typed: modifiers held, no key yet.
bool IsUnfinished(std::uint16_t key) {
    return LOBYTE(key) == 0 && HIBYTE(key) != 0;
}

}  // namespace

ShortcutsPage::ShortcutsPage(PageHost& host, MenuEditor& editor)
    : m_host(host), m_editor(editor), m_shortcuts(m_store, ProgramFolder()) {}

void ShortcutsPage::OnCreate() {
    // A bare key or Shift with a key would take that key from every program: such a choice
    // becomes Ctrl+Alt with the key, as the shell's own shortcut key box does.
    ::SendMessageW(m_host.Control(kHotKeyBox), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                   MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

bool ShortcutsPage::OnCommand(int id, int code) {
    switch (id) {
        case kStartMenuCheck:
            if (code == BN_CLICKED) {
                OnPlaceClicked(ShortcutPlace::StartMenu, kStartMenuCheck);
            }
            return true;
        case kDesktopCheck:
            if (code == BN_CLICKED) {
                OnPlaceClicked(ShortcutPlace::Desktop, kDesktopCheck);
            }
            return true;
        case kHotKeyBox:
            if (code == EN_CHANGE) {
                OnKeyChanged();
            }
            return true;
        case kNoHotKeyButton:
            if (code == BN_CLICKED) {
                OnNoKey();
            }
            return true;
        default:
            return false;
    }
}

bool ShortcutsPage::IsKeyBox(HWND hwnd) const {
    return hwnd != nullptr && hwnd == m_host.Control(kHotKeyBox);
}

void ShortcutsPage::Show() {
    // The box keeps a key chosen before any shortcut was made: the first one made takes it.
    const bool start = ShowPlace(ShortcutPlace::StartMenu, kStartMenuCheck, true);
    (void)ShowPlace(ShortcutPlace::Desktop, kDesktopCheck, !start);
}

bool ShortcutsPage::ShowPlace(ShortcutPlace place, int checkId, bool takeKey) {
    const ShortcutStatus status = m_shortcuts.Status(place, MenuPath());
    const bool ours = status.State == ShortcutState::Ours;
    m_showing = true;
    ::SendMessageW(m_host.Control(checkId), BM_SETCHECK, ours ? BST_CHECKED : BST_UNCHECKED, 0);
    if (ours && takeKey) {
        m_key = status.HotKey;
        SetBoxKey(status.HotKey);
    }
    m_showing = false;
    return ours;
}

void ShortcutsPage::OnPlaceClicked(ShortcutPlace place, int checkId) {
    if (m_showing) {
        return;
    }
    const bool wanted = ::SendMessageW(m_host.Control(checkId), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::string path = MenuPath();
    const ShortcutResult result =
        wanted ? m_shortcuts.Make(place, path, BoxKey()) : m_shortcuts.Remove(place, path);
    if (result.Done && wanted) {
        m_key = BoxKey();
    }
    // The box shows what is there, whatever the change did.
    (void)ShowPlace(place, checkId, false);
    if (!result.Done) {
        m_host.Tell(result.Message);
    }
}

void ShortcutsPage::OnKeyChanged() {
    const std::uint16_t key = BoxKey();
    if (m_showing || IsUnfinished(key) || key == m_key) {
        return;
    }
    UseKey(key);
}

void ShortcutsPage::OnNoKey() {
    SetBoxKey(0);
    if (m_key != 0) {
        UseKey(0);
    }
}

void ShortcutsPage::UseKey(std::uint16_t key) {
    const ShortcutResult result = m_shortcuts.SetHotKey(MenuPath(), key);
    m_key = key;
    if (!result.Done) {
        m_host.Tell(result.Message);
    }
}

std::uint16_t ShortcutsPage::BoxKey() const {
    return LOWORD(::SendMessageW(m_host.Control(kHotKeyBox), HKM_GETHOTKEY, 0, 0));
}

void ShortcutsPage::SetBoxKey(std::uint16_t key) {
    const bool was = m_showing;
    m_showing = true;
    ::SendMessageW(m_host.Control(kHotKeyBox), HKM_SETHOTKEY, key, 0);
    m_showing = was;
}

std::string ShortcutsPage::MenuPath() const {
    const std::string& path = m_editor.Path();
    const std::wstring wide = platform::WidePath(path);
    const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return path;
    }
    std::wstring full(n, L'\0');
    const DWORD written = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n) {
        return path;
    }
    full.resize(written);
    return platform::Narrow(WithoutLongPrefix(std::move(full)));
}

}  // namespace editor
