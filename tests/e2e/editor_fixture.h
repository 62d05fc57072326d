// A test that starts tvledit.exe (TVLEDIT_EXE) on a menu file in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/ui/main_window_layout.h"
#include "menufile/menu_file.h"
#include "winauto.h"

// The menus the editor's tests start from: a stand-in picture, a user-defined list in the
// default font.
namespace editor_menus {

inline const std::string kHead = "BM picture <\r\n<START TVL>\r\n";
inline const std::string kSettings = "0,\"MS Sans Serif\",8.25,0,0\r\n";
inline const menufile::MenuItem kNotepad{"Notepad", "C:\\windows\\notepad.exe", "", "", "", "0"};
inline constexpr int kOpenDialogName = 1148;  // the file name box of the Open dialog

inline std::string UserMenu(const std::vector<menufile::MenuItem>& items) {
    std::string s = kHead + "\"USERDEF\"\r\n" + kSettings;
    for (const menufile::MenuItem& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

}  // namespace editor_menus

// The editor makes the pages it does not show first soon after its window shows: a test that
// reaches into them waits until every control is made and the editor answers again.
inline bool WaitForEveryPage(HWND main) {
    const bool made = winauto::WaitUntil([main] {
        for (const editor::ControlLayout& c : editor::MainWindowControls()) {
            if (winauto::Control(main, c.Id) == nullptr) {
                return false;
            }
        }
        return true;
    });
    DWORD_PTR answer = 0;
    return made && ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) != 0;
}

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture(const char* folderPrefix, const char* menuName)
        : m_dir(folderPrefix), m_menu(m_dir.File(menuName)) {}

    void SetUp() override { winauto::ParkMouse(); }

    // Writes the menu file, starts the editor on it and waits for its main window, found by
    // class alone since the title names the menu, and for every page of it.
    HWND Open(const std::string& bytes) {
        if (OpenAsItShows(bytes) != nullptr) {
            EXPECT_TRUE(WaitForEveryPage(m_main));
        }
        return m_main;
    }
    // The same, going on the moment the window shows, before the pages shown later are made.
    HWND OpenAsItShows(const std::string& bytes) {
        EXPECT_TRUE(winauto::WriteFileBytes(m_menu, bytes));
        Launch(winauto::Quote(m_menu));
        m_main = m_editor
                     ? winauto::WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr)
                     : nullptr;
        EXPECT_NE(m_main, nullptr);
        return m_main;
    }
    void Launch(const std::string& args) {
        m_editor = winauto::Start(m_editorExe, args, m_dir.path());
        EXPECT_TRUE(m_editor) << "CreateProcess failed";
    }
    [[nodiscard]] HWND Item(int id) const { return winauto::Control(m_main, id); }
    // The "Appearance" tab chosen with the mouse, the pointer then moved out of the way.
    void ShowAppearanceTab() {
        ASSERT_TRUE(
            winauto::LeftClickAt(winauto::ClientToScreenAt(Item(editor::kTabs), 95, 10), false));
        ASSERT_TRUE(winauto::WaitUntil(
            [&] { return ::IsWindowVisible(Item(editor::kChangeFontButton)) != FALSE; }));
        winauto::ParkMouse();
    }
    // Tahoma 12 picked in the dialog of "Change Font", not saved yet.
    void ChooseTahoma12() {
        constexpr int kFontFace = 1136;  // the dialog's face and size boxes
        constexpr int kFontSize = 1138;
        winauto::PostClick(Item(editor::kChangeFontButton));
        HWND font = winauto::WaitForWindow(m_editor.pid(), "#32770", "Select Font");
        ASSERT_NE(font, nullptr);
        for (auto [id, value] : {std::pair{kFontFace, "Tahoma"}, std::pair{kFontSize, "12"}}) {
            HWND combo = winauto::Control(font, id);
            const LRESULT at = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(value));
            ASSERT_GE(at, 0) << value;
            ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
            ::SendMessageA(font, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(combo));
        }
        winauto::PostClick(winauto::Control(font, IDOK));
        ASSERT_TRUE(winauto::WaitForWindowGone(font));
    }
    [[nodiscard]] std::string File() const {
        return winauto::ReadFileBytes(m_menu).value_or("<missing>");
    }

    winauto::TempDir m_dir;  // first: removed after the editor has ended
    std::string m_menu;
    std::string m_editorExe = winauto::WinPath(TVLEDIT_EXE);  // the program Launch starts
    winauto::Process m_editor;
    HWND m_main = nullptr;
};
