// The editor's main window "Tarvel Edit": the tabbed pages, the item list and the menu type.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/appearance.h"
#include "editor/folder_list.h"
#include "editor/icon_browser_win.h"
#include "editor/menu_editor.h"
#include "editor/window_base_win.h"
#include "platform/file_system.h"
#include "platform/win32_handles_win.h"

namespace editor {

// Item icons through ExtractIconExA; the list keeps the large one and owns it.
class Win32IconSource : public IconSource {
public:
    IconHandle Extract(const std::string& file, int index) override;
    void Destroy(IconHandle icon) override;
};

class MainWindow : public WindowBase {
public:
    // `stockPicture`: the icon file image that upgrades and new menus put before the marker.
    MainWindow(platform::FileSystem& fs, std::string stockPicture);
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
    // What the item preview iconic1 draws: the item's own icon (borrowed from its entry), or an
    // image of the shell's list (borrowed, never destroyed), or nothing.
    struct Preview {
        HICON Icon = nullptr;
        HIMAGELIST ImageList = nullptr;
        int Image = 0;
    };

    void OnCreate();
    void OnDestroy();
    void OnCommand(int id, int code, HWND control);
    LRESULT OnNotify(const NMHDR& header);
    void OnMeasureItem(MEASUREITEMSTRUCT& measure);
    void OnDrawItem(const DRAWITEMSTRUCT& draw);
    void OnDropFiles(HDROP drop);

    // Handlers of the controls.
    void OnItemSelected();  // List1 Click
    void OnDelete();        // Command7
    void OnMoveUp();        // Command4
    void OnMoveDown();      // Command8
    void OnSeparator();     // Command9
    void OnToPointer();     // Command13
    void OnToUserList();    // Command14
    void OnSavePointer();   // Command15
    void OnDriveChanged();  // Drive1
    void OnFolderOpened();  // Dir1: double click or Enter on a row
    void OnPathChanged();   // Text7
    void OnAdd();           // Command2: the wizard for a new item
    void OnEdit();          // Command3: the wizard for the selected item
    void OnChangeIcon();    // Command11: the icon chooser
    void OnChangeFont();    // Command6
    void OnSaveAppearance();  // Command12
    // After the wizard or the chooser: the list follows what they wrote.
    void ShowDialogResult(const EditResult& result);
    [[nodiscard]] int SelectedEntry() const;
    // The menu icon preview as a bitmap file: the icon over the box's background.
    [[nodiscard]] std::string MenuIconPicture() const;

    // Start-up.
    [[nodiscard]] std::string AskForMenuFile();
    void ShowMenu();

    // Bringing the controls into line with the editor state.
    void FillList(int selection);
    void ShowPreview(int entry);
    void ClearPreview();
    void ShowPage();
    void ShowSettings();
    void ShowPointer();
    void FillDrives();
    void SelectDrive(const std::string& drive);
    // Dir1's path; `notify` runs its change (Text7 follows).
    void SetFolder(const std::string& folder, bool notify = true);
    void ShowListResult(const EditResult& result);
    // The whole window again from the editor state, after the file was read anew.
    void ShowReloaded();
    // A failed menu-type or pointer change: reported, then the editor ends.
    void FailAndClose(const EditResult& result);

    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(Hwnd(), id); }
    [[nodiscard]] std::string TextOf(int id) const;
    void SetText(int id, const std::string& text);
    [[nodiscard]] int Ask(const std::string& text) const;
    void Tell(const std::string& text) const;

    platform::FileSystem& m_fs;
    Win32IconSource m_icons;
    MenuEditor m_editor;
    std::string m_stockPicture;
    float m_twipsPerPixel = 15.0f;
    int m_dotsPerInch = 96;
    platform::UniqueHfont m_font;
    platform::UniqueHfont m_sampleFont;
    HWND m_toolTip = nullptr;
    Preview m_preview;
    std::vector<std::string> m_drives;  // "C:" per entry of Drive1
    std::string m_folder;               // Dir1's path
    std::vector<FolderRow> m_folderRows;
    Appearance m_appearance;                   // the Appearance tab's font and icon size
    std::unique_ptr<IconBrowser> m_menuIcon;   // the "Menu Icon" frame
};

}  // namespace editor
