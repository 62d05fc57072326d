// The "Appearance" tab: the menu's icon, its font, the icon size, and their save.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "editor/model/appearance.h"
#include "editor/model/menu_editor.h"
#include "editor/model/unsaved_pages.h"
#include "editor/ui/icon_browser_win.h"
#include "editor/ui/page_host_win.h"
#include "platform/win32_handles_win.h"

namespace editor {

class AppearancePage {
public:
    // `stockPicture`: the icon file shown for a menu whose picture cannot be shown.
    AppearancePage(PageHost& host, MenuEditor& editor, const std::string& stockPicture)
        : m_host(host), m_editor(editor), m_stockPicture(stockPicture) {}

    void OnCreate();
    bool OnCommand(int id, int code);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    void OnScroll(HWND scrollBar, int code);
    // The settings and the menu's current picture as the editor holds them.
    void Show();
    // The window moved to a display of another scale: the sample's font follows it.
    void OnDpiChanged(int dotsPerInch);
    // Whether the page shows settings or an icon that "Save Changes" has not written yet.
    [[nodiscard]] bool HasUnsavedChanges() const;
    // What "Save Changes" does; true when written. A failed write is handled as `failed` says.
    bool Save(FailedEdit failed);

private:
    void OnChangeFont();
    [[nodiscard]] AppearanceShown Shown() const;
    // The chosen icon as an icon file of the sizes the library has.
    [[nodiscard]] std::string ChosenPicture() const;
    void ShowSampleFont(const menufile::MenuSettings& settings);

    PageHost& m_host;
    MenuEditor& m_editor;
    const std::string& m_stockPicture;
    int m_dpi = 96;
    Appearance m_appearance;
    AppearanceShown m_settled;  // what the page showed when last filled or saved
    platform::UniqueHfont m_sampleFont;
    std::unique_ptr<IconBrowser> m_menuIcon;
};

}  // namespace editor
