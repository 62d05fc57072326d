// The shell's context menu of a file or folder, as Explorer shows it. Paths are UTF-8. COM and
// the shell are bound on first use, so a program that never shows the menu never loads them.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <shlobj.h>

#include <string>

#include "platform/win32_handles_win.h"

namespace platform {

enum class ContextMenuResult {
    NoMenu,     // an internet address, a target that does not exist, or the shell had none
    Dismissed,  // shown, and closed without a choice
    Chosen,     // a command was chosen and started
};

// Passes the messages of an open context menu to the menu: through IContextMenu3 or
// IContextMenu2 when the menu has them (the "Open with" and "Send to" submenus are drawn through
// them), to nothing when it has only IContextMenu (as namespace-extension folders do).
class ContextMenuMessages {
public:
    ContextMenuMessages() = default;
    // Asks `menu` for its other interfaces; holds those it has.
    explicit ContextMenuMessages(const ComPtr<IContextMenu>& menu);
    // True when the message went to the menu; `result` is then its answer.
    bool Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    ComPtr<IContextMenu2> m_menu2;
    ComPtr<IContextMenu3> m_menu3;
};

// Shows the shell's context menu of `target` at `screen` for `owner`. While it is open, the
// owner's window procedure passes the menu messages to HandleMessage (the "Open with" and
// "Send to" submenus are drawn by the shell through them).
class ShellContextMenu {
public:
    ShellContextMenu() = default;
    ShellContextMenu(const ShellContextMenu&) = delete;
    ShellContextMenu& operator=(const ShellContextMenu&) = delete;

    ContextMenuResult Show(HWND owner, const std::string& target, POINT screen);
    // True when the message went to the open menu; `result` is then its answer.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    [[nodiscard]] bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
    ContextMenuMessages m_messages;  // held while the menu is open
};

// The full path the shell would open for `target`: itself when it exists, else the program
// found on the search path ("notepad.exe"); empty for an internet address or nothing found.
[[nodiscard]] std::string ExistingTarget(const std::string& target);

// Waits, pumping messages, while this process shows a top-level window other than `except`
// (a Properties sheet that a shell command opened in this process): a program that ended at
// once would take it down. Waits up to `grace` milliseconds for one to appear.
void WaitForOwnWindows(HWND except, DWORD grace);

}  // namespace platform
