// The editor's main window "Tarvel Edit": the tabs and their pages, start-up and ending.
// Defined in main_window_win.cpp, and main_window_start_win.cpp (Start: loading the menu file).
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/menu_editor.h"
#include "editor/ui/appearance_page_win.h"
#include "editor/ui/form_window_win.h"
#include "editor/ui/items_page_win.h"
#include "editor/ui/page_background_win.h"
#include "editor/ui/page_host_win.h"
#include "editor/ui/pointer_page_win.h"
#include "editor/ui/shortcuts_page_win.h"
#include "editor/ui/tooltip_window_win.h"
#include "editor/ui/win32_icon_source_win.h"
#include "menufile/file_system.h"
#include "platform/subclass_win.h"

namespace editor {

// The tooltips and the pages not shown first are made, a page at a time, from this long after
// the window first shows.
inline constexpr UINT_PTR kBuildPagesTimer = 2;
inline constexpr UINT kBuildPagesDelayMs = 50;
inline constexpr UINT kNextPageDelayMs = USER_TIMER_MINIMUM;

class MainWindow : public FormWindow, private PageHost {
public:
    // `stockPicture`: the icon file image that upgrades and new menus put before the marker.
    MainWindow(menufile::FileSystem& fs, std::string stockPicture);
    ~MainWindow() override;

    // The window with all its controls, still hidden.
    [[nodiscard]] bool Create();
    // Loads the menu file named on the command line, asking what to do with a missing, old or
    // unusable one, and shows the window. False: there is nothing to edit and the editor ends.
    [[nodiscard]] bool Start(std::string_view commandLine);
    // Tab and arrow keys between the controls; true when the message was used.
    bool PreTranslate(MSG& msg);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void OnCommand(int id, int code);
    // The pages' fonts and rows at the new scale.
    void OnDpiChanged() override;
    // The client area kept whole and the background drawn anew at the new scale.
    void OnScaledRectTaken() override;
    // The client area at the scale in force (after the window was made on a monitor of
    // another scale than the one it was sized for); false when it held it already.
    bool FitClientArea();
    // Paints the page background behind the controls anew (layout, theme or colours changed).
    void RefreshBackground();
    // Themed tabs where their page shows the scheme's text; the scheme's own colours where it
    // would not (a dark high-contrast scheme), then the background anew.
    void ChoosePageLook();
    // Makes the controls of `page`, hidden, with their tooltips and look, and readies the page;
    // nothing once made. The window starts with the tabs and the item list page; the others
    // are made when first needed, or one at a time once the window has shown (BuildLater), so
    // that the first paint does not wait for them.
    void BuildPage(Page page);
    [[nodiscard]] bool PageBuilt(Page page) const {
        return m_pageBuilt[static_cast<std::size_t>(page)];
    }
    // The tooltips and the next page not made yet (kBuildPagesTimer); false once all are.
    bool BuildLater();
    // A frame fills itself with the page's texture.
    void FillFrameWithPage(HWND frame);
    // Where the keyboard starts on the page shown: the item list, the first control of the
    // directory-pointer page, or the tabs (on the other tabs).
    [[nodiscard]] HWND FirstControl() const override;
    // Takes back (or makes again) the last change; every page then shows the file.
    void OnHistory(bool redo);
    // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z from any control, but for a box that takes back its own
    // typing or records keys; false for other keys.
    bool OnHistoryKey(const MSG& msg);
    // Alt plus a tab's letter shows that tab; false for other keys.
    bool OnTabMnemonic(wchar_t key);

    [[nodiscard]] std::string AskForMenuFile();
    // The window shown for the menu just opened, its title naming it, the keyboard on the
    // first control.
    void ShowOpened();

    // The pages' host.
    using FormWindow::Control;
    [[nodiscard]] HWND Window() const override { return Hwnd(); }
    [[nodiscard]] int WindowDpi() const override { return Dpi(); }
    [[nodiscard]] bool Ask(const std::string& text) override;
    void Tell(const std::string& text) override;
    void ShowMenu() override;
    bool ShowEditResult(const EditResult& result, FailedEdit failed) override;
    void ShowPage() override;
    void Close() override;
    bool SettleUnsaved(bool pointerGoes) override;
    void Replaced(HWND old, HWND replacement) override;

    menufile::FileSystem& m_fs;
    Win32IconSource m_icons;
    MenuEditor m_editor;
    std::string m_stockPicture;
    PageBackground m_background;
    TooltipWindow m_tooltip;
    std::vector<platform::Subclass> m_frames;
    ItemsPage m_items{*this, m_editor};
    PointerPage m_directoryPointer{*this, m_editor};
    AppearancePage m_appearance{*this, m_editor, m_stockPicture};
    ShortcutsPage m_shortcuts{*this, m_editor};
    bool m_pointerShown = false;  // the pages last showed a directory pointer
    std::array<bool, static_cast<std::size_t>(Page::Shortcuts) + 1> m_pageBuilt{};  // by Page
    bool m_themedLook = true;  // the tabs and frames in the theme's look, as controls start
    std::wstring m_undoTip;    // the text the Undo button's tooltip was last given
};

}  // namespace editor
