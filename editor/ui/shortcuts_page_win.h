// The "Shortcuts" tab: the menu's shortcuts in the Start menu and on the desktop, and the key
// combination they give it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "editor/model/menu_editor.h"
#include "editor/model/menu_shortcuts.h"
#include "editor/ui/page_host_win.h"
#include "editor/ui/shell_link_store_win.h"
#include "platform/shell_link_win.h"

namespace editor {

class ShortcutsPage {
public:
    ShortcutsPage(PageHost& host, MenuEditor& editor);

    // Once the controls exist.
    void OnCreate();
    bool OnCommand(int id, int code);
    // The boxes as the shortcuts really are now (one may have been deleted or made elsewhere
    // since), and the key of ours; read anew each time the tab shows.
    void Show();
    // Whether `hwnd` is the key box, which takes every key combination, Alt ones included.
    [[nodiscard]] bool IsKeyBox(HWND hwnd) const;

private:
    void OnPlaceClicked(ShortcutPlace place, int checkId);
    void OnKeyChanged();
    void OnNoKey();
    // Every shortcut of ours given `key`, which the box then shows.
    void UseKey(std::uint16_t key);
    // The place's box as the shortcut is; true when it is ours, whose key the key box then
    // shows if `takeKey`.
    bool ShowPlace(ShortcutPlace place, int checkId, bool takeKey);
    [[nodiscard]] std::uint16_t BoxKey() const;
    void SetBoxKey(std::uint16_t key);
    // The menu's full path, as its shortcuts name it.
    [[nodiscard]] std::string MenuPath() const;

    PageHost& m_host;
    MenuEditor& m_editor;
    platform::PropertyStoreIdentityWriter m_identity;
    ShellLinkStore m_store{m_identity};
    MenuShortcuts m_shortcuts;
    std::uint16_t m_key = 0;  // the key the shortcuts of ours were last given
    bool m_showing = false;   // the page sets its controls: their notices are not the user's
};

}  // namespace editor
