// tvledit.exe under Wine: what is asked before unsaved settings would go (Quit, closing the
// window, a change of menu type), a new menu named in the Open dialog, and the wizard's item
// kept when the menu file went away.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>

#include "editor/model/editor_messages.h"
#include "editor/model/unsaved_pages.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "menufile/menu_file.h"
#include "platform/text_win.h"
#include "winauto.h"

namespace {

using namespace winauto;
using editor_menus::kHead;
using editor_menus::kNotepad;
using editor_menus::kOpenDialogName;
using editor_menus::kSettings;
using editor_menus::UserMenu;
using menufile::MenuItem;

// The user's Documents folder (a new prefix's is the host user's own) moved into a folder of
// the test's while it runs.
class DocumentsIn {
public:
    explicit DocumentsIn(const std::string& folder) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          &m_key) != ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExW(m_key, L"Personal", nullptr, &m_type, nullptr, &size) ==
            ERROR_SUCCESS) {
            m_old.resize(size);
            m_had = RegQueryValueExW(m_key, L"Personal", nullptr, &m_type, m_old.data(), &size) ==
                    ERROR_SUCCESS;
        }
        const std::wstring wide = platform::Widen(folder);
        m_set = RegSetValueExW(
                    m_key, L"Personal", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                    static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~DocumentsIn() {
        if (m_key == nullptr) {
            return;
        }
        if (m_had) {
            RegSetValueExW(m_key, L"Personal", 0, m_type, m_old.data(),
                           static_cast<DWORD>(m_old.size()));
        } else if (m_set) {
            RegDeleteValueW(m_key, L"Personal");
        }
        RegCloseKey(m_key);
    }
    [[nodiscard]] bool Set() const { return m_set; }

private:
    static constexpr const wchar_t* kUserShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY m_key = nullptr;
    DWORD m_type = REG_SZ;
    std::vector<BYTE> m_old;
    bool m_had = false;
    bool m_set = false;
};

class LeavingTest : public EditorFixture {
protected:
    LeavingTest() : EditorFixture("e2e leaving ", "my menu, leaving.tvl") {}

    void ExpectStillOpen() {
        Pump(Millis(200));
        EXPECT_TRUE(m_editor.Running());
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_main) != FALSE; }));
    }
};

TEST_F(LeavingTest, QuitWithAnUnsavedFontAsksAndEachAnswerDoesWhatItSays) {
    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(Open(menu));
    ShowAppearanceTab();
    ChooseTahoma12();

    // Cancel stays, by the Quit button and by the window's close box alike.
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDCANCEL),
              editor::kSaveAppearanceQuestion);
    ExpectStillOpen();
    PostMessageW(m_main, WM_CLOSE, 0, 0);
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDCANCEL),
              editor::kSaveAppearanceQuestion);
    ExpectStillOpen();
    EXPECT_EQ(File(), menu) << "nothing written by Cancel";

    // No ends without writing.
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::kSaveAppearanceQuestion);
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_EQ(File(), menu);

    // Yes saves as "Save Changes" does, then ends.
    ASSERT_TRUE(Open(menu));
    ShowAppearanceTab();
    ChooseTahoma12();
    PostMessageW(m_main, WM_CLOSE, 0, 0);
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::kSaveAppearanceQuestion);
    EXPECT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kMainTitle, IDOK).has_value());
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_EQ(File(), kHead + "\"USERDEF\"\r\n0,\"Tahoma\",12,0,0\r\n" +
                          menufile::FormatItemLine(kNotepad));

    // Saved, or never changed: Quit asks nothing.
    ASSERT_TRUE(Open(File()));
    ShowAppearanceTab();
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    // Nor after a change to a directory pointer, whose page shows what it showed before.
    ASSERT_TRUE(Open(UserMenu({})));
    PostClick(Item(editor::kToPointerButton));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kPathBox)) != FALSE; }));
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_NE(File().find("\"DIRPOINT\""), std::string::npos);
}

TEST_F(LeavingTest, ATypedPointerIsOfferedOnQuitAndAnUnsavedFontBeforeAChangeOfType) {
    const std::string pointerLine = "\"C:\\\",\"*.*\",1,0,0\r\n";
    const std::string menu = kHead + "\"DIRPOINT\"\r\n" + kSettings + pointerLine;
    ASSERT_TRUE(Open(menu));
    HWND path = Item(editor::kPathBox);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(path) != FALSE; }));
    ASSERT_TRUE(SetText(path, "C:\\windows\\"));
    ASSERT_TRUE(SetText(Item(editor::kPatternBox), "*.exe"));

    // A change of type with a font not saved: a failed change would end the editor, so the
    // font is offered first; Cancel changes nothing.
    ShowAppearanceTab();
    ChooseTahoma12();
    ASSERT_TRUE(LeftClickAt(ClientToScreenAt(Item(editor::kTabs), 30, 10), false));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(path) != FALSE; }));
    ParkMouse();
    PostClick(Item(editor::kToUserListButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDCANCEL),
              editor::kSaveAppearanceQuestion);
    ExpectStillOpen();
    EXPECT_EQ(File(), menu);

    // Quit asks about both pages in turn: the font is dropped, the pointer typed is written.
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::kSaveAppearanceQuestion);
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::kSavePointerQuestion);
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_EQ(File(),
              kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\windows\\\",\"*.exe\", 1, 0, 0");
}

TEST_F(LeavingTest, ANameTypedInTheOpenDialogMakesAMenuFileInDocuments) {
    const std::string documents = m_dir.File("Documents");
    ASSERT_TRUE(CreateDirectoryW(platform::Widen(documents).c_str(), nullptr));
    DocumentsIn moved(documents);
    ASSERT_TRUE(moved.Set());
    Launch("");
    HWND dialog = WaitForWindow(m_editor.pid(), "#32770", editor::kOpenTitle);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitUntil([&] {
        HWND name = Control(dialog, kOpenDialogName);
        return name && SetText(name, "Tools") && GetText(name) == "Tools";
    }));
    PostClick(Control(dialog, IDOK));
    const std::string made = documents + "\\Tools.tvl";
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::CreateMenuQuestion(made));
    m_main = WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr);
    ASSERT_TRUE(m_main);
    EXPECT_TRUE(ReadFileBytes(made).has_value()) << made;
    EXPECT_FALSE(ReadFileBytes(documents + "\\Tools").has_value());
    PostClick(Item(editor::kQuitButton));
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
}

TEST_F(LeavingTest, TheWizardKeepsItsItemWhenTheMenuWentAwayAndCanWriteItAgain) {
    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(Open(menu));
    PostClick(Item(editor::kAddButton));
    HWND wizard = WaitForWindow(m_editor.pid(), editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), "C:\\windows\\regedit.exe"));
    Click(Control(wizard, editor::kWizardNext));
    HWND name = Control(wizard, editor::kWizardName);
    ASSERT_TRUE(SetText(name, "Registry"));
    ASSERT_TRUE(DeleteFileW(platform::Widen(m_menu).c_str()));

    // No: the wizard stays with what was typed, and nothing is written.
    PostClick(Control(wizard, editor::kWizardFinish));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::WriteMissingMenuQuestion(m_menu));
    Pump(Millis(200));
    EXPECT_TRUE(IsWindow(wizard));
    EXPECT_EQ(GetText(name), "Registry");
    EXPECT_FALSE(ReadFileBytes(m_menu).has_value());

    // Yes: the menu as the list shows it, with the new item.
    PostClick(Control(wizard, editor::kWizardFinish));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::WriteMissingMenuQuestion(m_menu));
    EXPECT_TRUE(WaitForWindowGone(wizard));
    EXPECT_EQ(File(),
              UserMenu({kNotepad, {"Registry", "C:\\windows\\regedit.exe", "", "", "", "0"}}));
    EXPECT_TRUE(WaitUntil([&] {
        return ListItems(Item(editor::kItemList)) ==
               std::vector<std::string>{"Notepad", "Registry"};
    }));
}

}  // namespace
