// tvledit.exe under Wine: list changes, menu type, pointer page, upgrades, new menus and drops,
// with names outside the code page too, checked in the bytes of the menu file.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include "editor/model/editor_messages.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"
#include "platform/text_win.h"
#include "winauto.h"

namespace {

using namespace winauto;
using menufile::MenuItem;

const std::string kPicture = "BM picture <\r\n<START\r\n";
const std::string kHead = kPicture + "\r\n<START TVL>\r\n";
const std::string kSettings = "0,\"MS Sans Serif\",8.25,0,0\r\n";
const std::string kHyphens(87, '-');

std::string UserMenu(const std::vector<MenuItem>& items) {
    std::string s = kHead + "\"USERDEF\"\r\n" + kSettings;
    for (const MenuItem& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

std::string PointerMenu(const std::string& pointer) {
    return kHead + "\"DIRPOINT\"\r\n" + kSettings + pointer;
}

const MenuItem kNotepad{"Notepad", "C:\\windows\\notepad.exe", "", "", "", "0"};
const MenuItem kSeparator = MenuItem::Separator();
const MenuItem kLetters{"Letters, 2026", "C:\\windows", "", "C:\\windows", "", "0"};
const MenuItem kUser{"User", "C:\\windows\\system32\\user32.dll", "", "", "", "2"};

std::string StockPicture() {
    return ReadFileBytes(WinPath(STOCK_ICON)).value_or("<no icon>");
}

// The menu as the editor reads it: its text decoded to UTF-8 from the file's encoding.
menufile::MenuFile Decoded(const std::string& bytes) {
    menufile::MenuFile menu = menufile::ReadMenu(bytes);
    menufile::DecodeMenu(bytes, menu, platform::SystemCodePage());
    return menu;
}

// The shell's display name of a path, which a drop lists the path under.
std::string ShellName(const std::string& path) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(platform::Widen(path).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) ==
        0) {
        return "<no name>";
    }
    return platform::Narrow(info.szDisplayName);
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(platform::Widen(path).c_str(), nullptr) != 0;
}

class EditorTest : public EditorFixture {
protected:
    EditorTest() : EditorFixture("e2e editor ", "my menu, test.tvl") {}

    [[nodiscard]] int Selection() const {
        return static_cast<int>(SendMessageA(Item(editor::kItemList), LB_GETCURSEL, 0, 0));
    }
    void Check(int id, bool on) {
        SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // The working folder (or `folder`) holds the menu and nothing else: no journal, no
    // temporary file.
    [[nodiscard]] std::vector<std::string> FolderContent(const std::string& folder = {}) const {
        std::vector<std::string> names;
        WIN32_FIND_DATAW data{};
        const std::string pattern = (folder.empty() ? m_dir.path() : folder) + "\\*";
        HANDLE find = FindFirstFileW(platform::Widen(pattern).c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = platform::Narrow(data.cFileName);
                if (name != "." && name != "..") {
                    names.push_back(name);
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        return names;
    }
    void Shoot(const std::string& name) {
        Pump(Millis(200));  // let the window finish painting
        EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\" + name + ".bmp", m_main));
    }
};

TEST_F(EditorTest, ListButtonsRewriteTheFileAndKeepTheListInStep) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kSeparator, kLetters, kUser})));
    HWND list = Item(editor::kItemList);
    EXPECT_EQ(ListItems(list),
              (std::vector<std::string>{"Notepad", kHyphens, "Letters, 2026", "User"}));
    EXPECT_TRUE(IsWindowVisible(list));

    Click(Item(editor::kDeleteButton));  // nothing selected: nothing happens
    EXPECT_EQ(File(), UserMenu({kNotepad, kSeparator, kLetters, kUser}));

    ASSERT_TRUE(SelectListItem(list, 1));
    Click(Item(editor::kMoveUpButton));
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kLetters, kUser}));
    EXPECT_EQ(Selection(), 0) << "the moved entry stays selected";
    Click(Item(editor::kMoveUpButton));  // already first
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kLetters, kUser}));

    ASSERT_TRUE(SelectListItem(list, 2));
    Click(Item(editor::kMoveDownButton));
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kUser, kLetters}));
    EXPECT_EQ(Selection(), 3);
    Click(Item(editor::kMoveDownButton));  // already last
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kUser, kLetters}));

    ASSERT_TRUE(SelectListItem(list, 3));
    Click(Item(editor::kSeparatorButton));
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kUser, kSeparator, kLetters}));
    EXPECT_EQ(Selection(), -1);

    ASSERT_TRUE(SelectListItem(list, 0));
    Click(Item(editor::kDeleteButton));
    EXPECT_EQ(File(), UserMenu({kNotepad, kUser, kSeparator, kLetters}));
    EXPECT_EQ(ListItems(list),
              (std::vector<std::string>{"Notepad", "User", kHyphens, "Letters, 2026"}));
    EXPECT_EQ(Selection(), -1);
    EXPECT_EQ(FolderContent(), std::vector<std::string>{"my menu, test.tvl"});
}

TEST_F(EditorTest, AFailedRewriteIsReportedAndChangesNothing) {
    const std::string menu = UserMenu({kNotepad, kLetters});
    ASSERT_TRUE(Open(menu));
    ASSERT_TRUE(SetFileAttributesA(m_menu.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 1));
    PostClick(Item(editor::kMoveUpButton));
    // The message says why, on a second line.
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK),
              editor::WriteErrorText(menufile::MenuError::ReadOnly));
    SetFileAttributesA(m_menu.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(File(), menu);
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", "Letters, 2026"}));
    EXPECT_TRUE(m_editor.Running()) << "a list operation that fails does not end the editor";
}

// An edit that does not go through says why; the list shows the file as it is, and a change of
// the pointer that cannot be written ends the editor.
TEST_F(EditorTest, EditsThatDoNotGoThroughSayWhyAndGoOnOrEndByTheirKind) {
    const std::string changed = UserMenu({kLetters, kUser});
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters})));
    ASSERT_TRUE(WriteFileBytes(m_menu, changed));  // another program's change
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 1));
    PostClick(Item(editor::kMoveUpButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK),
              editor::kChangedElsewhere);
    EXPECT_EQ(File(), changed) << "nothing written";
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Letters, 2026", "User"}))
        << "the list shows what the file holds";
    EXPECT_TRUE(m_editor.Running());
    m_editor.Kill();

    const std::string pointer = PointerMenu("\"C:\\windows\\\",\"*.exe\", 1, 0, 1");
    ASSERT_TRUE(Open(pointer));
    ASSERT_TRUE(SetText(Item(editor::kPatternBox), "*.\"exe"));
    PostClick(Item(editor::kSavePointerButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK), editor::kQuoteInPointer);
    EXPECT_EQ(File(), pointer);
    EXPECT_TRUE(m_editor.Running()) << "the text can be corrected";

    ASSERT_TRUE(SetText(Item(editor::kPatternBox), "*.dll"));
    ASSERT_TRUE(SetFileAttributesA(m_menu.c_str(), FILE_ATTRIBUTE_READONLY));
    PostClick(Item(editor::kSavePointerButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK),
              editor::WriteErrorText(menufile::MenuError::ReadOnly));
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    SetFileAttributesA(m_menu.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(File(), pointer);
}

TEST_F(EditorTest, MenuTypeChangesAskBeforeDroppingData) {
    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(Open(menu));
    PostClick(Item(editor::kToPointerButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::kTypeChangeQuestion);
    EXPECT_EQ(File(), menu);
    EXPECT_TRUE(IsWindowVisible(Item(editor::kItemList)));

    PostClick(Item(editor::kToPointerButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::kTypeChangeQuestion);
    ASSERT_TRUE(WaitUntil([&] { return File() == PointerMenu("\"C:\\\",\"*.*\",1,0,0\r\n"); }))
        << File();
    // The file is written first, then the page changes.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kFolderList)) != 0; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    EXPECT_TRUE(ListItems(Item(editor::kItemList)).empty());

    // The path box is still empty (nothing was chosen), so going back asks nothing.
    ASSERT_EQ(GetText(Item(editor::kPathBox)), "");
    Click(Item(editor::kToUserListButton));
    EXPECT_EQ(File(), UserMenu({}));
    EXPECT_TRUE(IsWindowVisible(Item(editor::kItemList)));

    // An empty list converts without a question.
    Click(Item(editor::kToPointerButton));
    EXPECT_EQ(File(), PointerMenu("\"C:\\\",\"*.*\",1,0,0\r\n"));
}

// Before the pages shown later are made: a change of menu type makes the pointer page at once,
// and a close asks nothing, as nothing on those pages was changed.
TEST_F(EditorTest, TheMomentTheWindowShowsTheTypeChangesAndTheWindowClosesAsLater) {
    ASSERT_TRUE(OpenAsItShows(UserMenu({})));
    PostClick(Item(editor::kToPointerButton));
    const std::string pointer = PointerMenu("\"C:\\\",\"*.*\",1,0,0\r\n");
    ASSERT_TRUE(WaitUntil([&] { return File() == pointer; })) << File();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kFolderList)) != 0; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    EXPECT_EQ(GetText(Item(editor::kPathBox)), "") << "nothing chosen yet";
    EXPECT_FALSE(ListItems(Item(editor::kFolderList)).empty()) << "the folder list is filled";
    PostMessageW(m_main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_editor.WaitForExit().has_value()) << "nothing unsaved: no question";
    EXPECT_EQ(File(), pointer);

    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(OpenAsItShows(menu));
    PostMessageW(m_main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_editor.WaitForExit().has_value()) << "nothing unsaved: no question";
    EXPECT_EQ(File(), menu);
}

TEST_F(EditorTest, PointerPageShowsSavesAndConvertsBack) {
    const std::string menu = PointerMenu("\"C:\\windows\\\",\"*.exe\", 1, 0, 1");
    ASSERT_TRUE(Open(menu));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    EXPECT_EQ(GetText(Item(editor::kPathBox)), "C:\\windows\\");
    EXPECT_EQ(GetText(Item(editor::kPatternBox)), "*.exe");
    EXPECT_EQ(SendMessageA(Item(editor::kShowFoldersCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(Item(editor::kHideExtensionsCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(Item(editor::kShowHiddenCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
    const std::vector<std::string> rows = ListItems(Item(editor::kFolderList));
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0], "C:\\");
    EXPECT_EQ(rows[1], "windows");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "system32"), rows.end());
    Shoot("editor_pointer_page");

    // The path box keeps a backslash at its end.
    ASSERT_TRUE(SetText(Item(editor::kPathBox), ""));
    EXPECT_EQ(GetText(Item(editor::kPathBox)), "\\");
    // Opening a folder of the folder list puts its path in the path box.
    const int system32 =
        static_cast<int>(std::find(rows.begin(), rows.end(), "system32") - rows.begin());
    ASSERT_TRUE(SelectListItem(Item(editor::kFolderList), system32));
    PostKey(Item(editor::kFolderList), VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] {
        return GetText(Item(editor::kPathBox)) == "C:\\windows\\system32\\";
    })) << GetText(Item(editor::kPathBox));
    ASSERT_TRUE(SetText(Item(editor::kPatternBox), "*.dll"));
    Check(editor::kShowFoldersCheck, false);
    Check(editor::kHideExtensionsCheck, true);
    Click(Item(editor::kSavePointerButton));
    EXPECT_EQ(File(), PointerMenu("\"C:\\windows\\system32\\\",\"*.dll\", 0, 1, 1"));

    // Another drive moves the folder list there, and the path box follows.
    const std::vector<std::string> drives = ComboItems(Item(editor::kDriveList));
    auto z = std::find_if(drives.begin(), drives.end(),
                          [](const std::string& d) { return d.rfind("z:", 0) == 0; });
    ASSERT_NE(z, drives.end());
    ASSERT_TRUE(SelectComboItem(Item(editor::kDriveList), static_cast<int>(z - drives.begin())));
    EXPECT_EQ(GetText(Item(editor::kPathBox)).substr(0, 3), "Z:\\");
    EXPECT_EQ(GetText(Item(editor::kPathBox)).back(), '\\');

    PostClick(Item(editor::kToUserListButton));  // the path box holds a folder: asks first
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::kTypeChangeQuestion);
    EXPECT_EQ(File(), PointerMenu("\"C:\\windows\\system32\\\",\"*.dll\", 0, 1, 1"));
    PostClick(Item(editor::kToUserListButton));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::kTypeChangeQuestion);
    ASSERT_TRUE(WaitUntil([&] { return File() == UserMenu({}); })) << File();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kItemList)) != 0; }));
}

TEST_F(EditorTest, TheFolderPickerSetsThePointerPagesListsAndPath) {
    const std::string picked = m_dir.File("picked, folder");
    ASSERT_TRUE(MakeFolder(picked));
    ASSERT_TRUE(MakeFolder(picked + "\\inner"));
    const std::string menu = PointerMenu("\"C:\\windows\\\",\"*.exe\", 1, 0, 1");
    ASSERT_TRUE(Open(menu));
    HWND browse = Item(editor::kPointerBrowseButton);
    ASSERT_TRUE(IsWindowVisible(browse));
    EXPECT_EQ(GetText(browse), "&Browse...");

    // Cancelled, the page keeps what it shows.
    PostClick(browse);
    HWND dialog = WaitForWindow(m_editor.pid(), "#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    PostClick(Control(dialog, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(dialog));
    EXPECT_EQ(GetText(Item(editor::kPathBox)), "C:\\windows\\");

    // The path typed into the picker's name box, then Enter.
    PostClick(browse);
    dialog = WaitForWindow(m_editor.pid(), "#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND name = FindChild(dialog, "Edit", nullptr);
    ASSERT_NE(name, nullptr) << DumpChildren(dialog);
    ASSERT_TRUE(ForceForeground(dialog));
    ASSERT_TRUE(LeftClickAt(CenterOf(name), false));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == name; })) << DumpChildren(dialog);
    TypeText(picked);
    ASSERT_TRUE(WaitUntil([&] { return GetText(name) == picked; })) << GetText(name);
    SendKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(dialog)) << DumpChildren(dialog);
    EXPECT_TRUE(WaitUntil([&] { return GetText(Item(editor::kPathBox)) == picked + "\\"; }))
        << GetText(Item(editor::kPathBox));
    const std::vector<std::string> rows = ListItems(Item(editor::kFolderList));
    EXPECT_NE(std::find(rows.begin(), rows.end(), "picked, folder"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "inner"), rows.end()) << "its sub-folders";
    const std::vector<std::string> drives = ComboItems(Item(editor::kDriveList));
    const int drive = static_cast<int>(SendMessageA(Item(editor::kDriveList), CB_GETCURSEL, 0, 0));
    ASSERT_GE(drive, 0);
    EXPECT_EQ(drives.at(static_cast<std::size_t>(drive)).substr(0, 2), "c:");
    EXPECT_EQ(File(), menu) << "nothing is written before Save Changes";
    Click(Item(editor::kSavePointerButton));
    EXPECT_EQ(File(), PointerMenu("\"" + picked + "\\\",\"*.exe\", 1, 0, 1"));
}

TEST_F(EditorTest, UpgradeQuestionNoLeavesTheOldFileAndEnds) {
    const std::string old = kSettings + menufile::FormatItemLine(kNotepad);
    ASSERT_TRUE(WriteFileBytes(m_menu, old));
    Launch(Quote(m_menu));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::kUpgradeQuestion);
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_EQ(File(), old);
}

TEST_F(EditorTest, UpgradeQuestionYesPutsTheStockPictureBeforeTheOldFile) {
    const std::string old = kSettings + menufile::FormatItemLine(kNotepad) +
                            menufile::FormatItemLine(kSeparator) +
                            menufile::FormatItemLine(kLetters);
    ASSERT_TRUE(WriteFileBytes(m_menu, old));
    Launch(Quote(m_menu));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::kUpgradeQuestion);
    m_main = WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr);
    ASSERT_TRUE(m_main);
    EXPECT_EQ(File(), StockPicture() + "\r\n<START TVL>\r\n\"USERDEF\"\r\n" + old);
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", kHyphens, "Letters, 2026"}));
}

TEST_F(EditorTest, DroppedFilesAndFoldersAreAppended) {
    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(Open(menu));
    const std::string a = m_dir.File("first, file.txt");
    const std::string b = m_dir.File("second.tvltest");
    const std::string folder = m_dir.File("a folder");
    ASSERT_TRUE(WriteFileBytes(a, "a") && WriteFileBytes(b, "b"));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(PostFileDrop(Item(editor::kItemList), {a, b, folder}));

    std::string expected = menu;
    std::vector<std::string> entries{"Notepad"};
    for (const std::string& path : {a, b, folder}) {
        SHFILEINFOA info{};
        ASSERT_NE(SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
        expected += menufile::FormatItemLine({info.szDisplayName, path, "", "", "", "0"});
        entries.push_back(info.szDisplayName);
    }
    ASSERT_TRUE(WaitUntil([&] { return File() == expected; })) << File();
    EXPECT_EQ(ListItems(Item(editor::kItemList)), entries);
}

TEST_F(EditorTest, AnUnquotedPathIsTakenWhole) {
    m_menu = m_dir.File("plain.tvl");
    ASSERT_TRUE(WriteFileBytes(m_menu, UserMenu({kLetters})));
    Launch(m_menu);
    m_main = WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr);
    ASSERT_TRUE(m_main);
    EXPECT_EQ(ListItems(Item(editor::kItemList)), std::vector<std::string>{"Letters, 2026"});
}

TEST_F(EditorTest, MissingFileOffersANewMenuThere) {
    Launch(Quote(m_menu));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO),
              editor::CreateMenuQuestion(m_menu));
    EXPECT_EQ(m_editor.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(m_menu)) << "declining creates nothing";

    Launch(Quote(m_menu));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::CreateMenuQuestion(m_menu));
    m_main = WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr);
    ASSERT_TRUE(m_main);
    EXPECT_EQ(File(), StockPicture() +
                          "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n");
    EXPECT_TRUE(ListItems(Item(editor::kItemList)).empty());
}

TEST_F(EditorTest, WithoutACommandLineTheOpenDialogCanNameANewMenu) {
    Launch("");
    HWND dialog = WaitForWindow(m_editor.pid(), "#32770", editor::kOpenTitle);
    ASSERT_TRUE(dialog);
    const std::string path = m_dir.File("first menu.tvl");
    // The dialog may still be filling its name box when it first shows: set until it sticks.
    ASSERT_TRUE(WaitUntil([&] {
        HWND name = Control(dialog, 1148);
        return name && SetText(name, path) && GetText(name) == path;
    }));
    PostClick(Control(dialog, IDOK));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::CreateMenuQuestion(path));
    ASSERT_TRUE(WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr));
    EXPECT_EQ(ReadFileBytes(path).value_or("").substr(StockPicture().size()),
              "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n");
}

TEST_F(EditorTest, FilesItCannotShowAreRefusedWithAReason) {
    const std::pair<std::string, editor::LoadStatus> cases[] = {
        {"", editor::LoadStatus::Empty},
        {kHead + "\"USERDEF\"\r\n", editor::LoadStatus::NoSettings},
        // A damaged settings line (a damaged record is offered to be left out instead).
        {kHead + "\"USERDEF\"\r\n1,X\"Y,8,0,0\r\n", editor::LoadStatus::Damaged},
    };
    for (const auto& [bytes, status] : cases) {
        ASSERT_TRUE(WriteFileBytes(m_menu, bytes));
        Launch(Quote(m_menu));
        EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK),
                  editor::LoadProblemText(status, m_menu));
        EXPECT_EQ(m_editor.WaitForExit(), 0u);
        EXPECT_EQ(File(), bytes);
    }
}

TEST_F(EditorTest, ListShowsItsTooltip) {
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    ASSERT_TRUE(MoveMouse(ClientToScreenAt(Item(editor::kItemList), 60, 100)));
    HWND tip = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        tip = FindWindowOf(m_editor.pid(), TOOLTIPS_CLASSA, nullptr);
        return tip != nullptr;
    })) << "no tooltip over the item list";
    EXPECT_EQ(GetText(tip), "You can drag and drop stuff to this list");
    Shoot("editor_list_tooltip");
    ParkMouse();
}

TEST_F(EditorTest, TheUndoButtonNamesItsStepAndTakesItBack) {
    const std::string menu = UserMenu({kNotepad, kLetters, kUser});
    ASSERT_TRUE(Open(menu));
    HWND list = Item(editor::kItemList);
    HWND undo = Item(editor::kUndoButton);
    ASSERT_TRUE(IsWindowVisible(undo));
    ASSERT_TRUE(SelectListItem(list, 2));
    Click(Item(editor::kMoveUpButton));
    ASSERT_EQ(File(), UserMenu({kNotepad, kUser, kLetters}));

    ASSERT_TRUE(MoveMouse(CenterOf(undo)));
    HWND tip = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        tip = FindWindowOf(m_editor.pid(), TOOLTIPS_CLASSA, nullptr);
        return tip != nullptr && IsWindowVisible(tip) && GetText(tip) == "Undo Move Up \"User\"";
    })) << (tip != nullptr ? GetText(tip) : "no tooltip");
    ParkMouse();

    Click(undo);
    EXPECT_EQ(File(), menu);
    EXPECT_EQ(Selection(), 2) << "the moved item, back in its place";
}

TEST_F(EditorTest, ARowDraggedFromOneToThreeIsMovedThereInOneChange) {
    const MenuItem kLast{"Last", "C:\\windows\\regedit.exe", "", "", "", "0"};
    const std::string menu = UserMenu({kNotepad, kSeparator, kLetters, kUser, kLast});
    ASSERT_TRUE(Open(menu));
    HWND list = Item(editor::kItemList);
    RECT one{};
    RECT three{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&one));
    SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&three));
    // Let go in the lower half of row 3: the gap below it.
    ASSERT_TRUE(LeftDrag(ClientToScreenAt(list, 40, (one.top + one.bottom) / 2),
                         ClientToScreenAt(list, 40, three.bottom - 2)));
    EXPECT_TRUE(WaitUntil([&] {
        return File() == UserMenu({kNotepad, kLetters, kUser, kSeparator, kLast});
    })) << File();
    EXPECT_EQ(ListItems(list),
              (std::vector<std::string>{"Notepad", "Letters, 2026", "User", kHyphens, "Last"}));
    EXPECT_EQ(Selection(), 3) << "the dragged row, in its new place";
    Click(Item(editor::kUndoButton));
    EXPECT_EQ(File(), menu) << "one change, one undo";
}

TEST_F(EditorTest, ScreenshotsOfBothTabs) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kSeparator, kLetters, kUser})));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    Shoot("editor_contents");
    HWND tabs = Item(editor::kTabs);
    ASSERT_TRUE(LeftClickAt(ClientToScreenAt(tabs, 95, 10), false));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kChangeFontButton)) != 0; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    EXPECT_EQ(GetText(Item(editor::kFontSample)), "Menu Text will look like this.");
    Shoot("editor_appearance");
}

// Names outside the code page ----------------------------------------------------------------

TEST_F(EditorTest, AMenuUnderACyrillicPathOpensShowsItsItemsAndCommits) {
    const std::string folder = m_dir.File("Меню");
    ASSERT_TRUE(MakeFolder(folder));
    m_menu = folder + "\\Инструменты.tvl";
    const MenuItem notes{"Блокнот", "C:\\windows\\notepad.exe", "", "", "", "0"};
    ASSERT_TRUE(Open(UserMenu({notes, kLetters, kUser})));
    HWND list = Item(editor::kItemList);
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Блокнот", "Letters, 2026", "User"}));

    ASSERT_TRUE(SelectListItem(list, 0));
    Click(Item(editor::kMoveDownButton));
    EXPECT_EQ(File(), UserMenu({kLetters, notes, kUser})) << "a UTF-8 menu stays UTF-8";
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Letters, 2026", "Блокнот", "User"}));
    EXPECT_EQ(Selection(), 1);
}

TEST_F(EditorTest, AMenuInTheCodePageKeepsItsBytesThroughAnEdit) {
    const std::optional<std::string> cafe = platform::SystemCodePage().FromUtf8("Café");
    if (!cafe) {
        GTEST_SKIP() << "the system's code page has no é";
    }
    const MenuItem ansi{*cafe, "C:\\windows\\notepad.exe", "", "", "", "0"};
    ASSERT_TRUE(Open(UserMenu({ansi, kLetters})));
    HWND list = Item(editor::kItemList);
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Café", "Letters, 2026"}));
    ASSERT_TRUE(SelectListItem(list, 1));
    Click(Item(editor::kMoveUpButton));
    EXPECT_EQ(File(), UserMenu({kLetters, ansi})) << "the record keeps its code page bytes";
}

TEST_F(EditorTest, AMissingMenuUnderACyrillicPathIsOfferedUnderItsOwnName) {
    const std::string folder = m_dir.File("Меню");
    ASSERT_TRUE(MakeFolder(folder));
    m_menu = folder + "\\Инструменты.tvl";
    Launch(Quote(m_menu));
    EXPECT_EQ(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES),
              editor::CreateMenuQuestion(m_menu));
    m_main = WaitForWindow(m_editor.pid(), editor::kMainWindowClass, nullptr);
    ASSERT_TRUE(m_main);
    EXPECT_EQ(File(), StockPicture() +
                          "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n");
    EXPECT_EQ(FolderContent(folder), std::vector<std::string>{"Инструменты.tvl"});
    EXPECT_EQ(FolderContent(), std::vector<std::string>{"Меню"}) << "and no \"?\" name elsewhere";
}

TEST_F(EditorTest, DroppedUnicodeNamesAreAppendedAsTheyAre) {
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    const std::string japanese = m_dir.File("日本語.txt");
    const std::string folder = m_dir.File("Меню");
    ASSERT_TRUE(WriteFileBytes(japanese, "text") && MakeFolder(folder));
    ASSERT_NE(ShellName(japanese).find("日本語"), std::string::npos) << ShellName(japanese);
    ASSERT_TRUE(PostFileDrop(Item(editor::kItemList), {japanese, folder}));

    const std::vector<MenuItem> expected{kNotepad,
                                         {ShellName(japanese), japanese, "", "", "", "0"},
                                         {ShellName(folder), folder, "", "", "", "0"}};
    ASSERT_TRUE(WaitUntil([&] { return Decoded(File()).Items.size() == 3; })) << File();
    const menufile::MenuFile menu = Decoded(File());
    EXPECT_EQ(menu.Status, menufile::ReadStatus::Ok);
    EXPECT_EQ(menu.Items, expected);
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", ShellName(japanese), ShellName(folder)}));
}

TEST_F(EditorTest, ThePointerPageListsOpensAndSavesCyrillicFolders) {
    const std::string folder = m_dir.File("Меню");
    ASSERT_TRUE(MakeFolder(folder) && MakeFolder(folder + "\\Подпапка"));
    ASSERT_TRUE(Open(PointerMenu("\"" + folder + "\\\",\"*.*\",1,0,0\r\n")));
    HWND pathBox = Item(editor::kPathBox);
    EXPECT_EQ(GetText(pathBox), folder + "\\");
    const std::vector<std::string> rows = ListItems(Item(editor::kFolderList));
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[rows.size() - 2], "Меню") << "the open folder";
    EXPECT_EQ(rows.back(), "Подпапка") << "its sub-folder";

    ASSERT_TRUE(SelectListItem(Item(editor::kFolderList), static_cast<int>(rows.size()) - 1));
    PostKey(Item(editor::kFolderList), VK_RETURN);
    const std::string sub = folder + "\\Подпапка\\";
    ASSERT_TRUE(WaitUntil([&] { return GetText(pathBox) == sub; })) << GetText(pathBox);
    Click(Item(editor::kSavePointerButton));
    EXPECT_EQ(File(), PointerMenu("\"" + sub + "\",\"*.*\", 1, 0, 0"));

    // The backslash the box adds leaves the caret before it, counted in characters.
    ASSERT_TRUE(SetText(pathBox, "C:\\Меню"));
    EXPECT_EQ(GetText(pathBox), "C:\\Меню\\");
    const LRESULT selection = SendMessageW(pathBox, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(selection), 7);
    EXPECT_EQ(HIWORD(selection), 7);
}

TEST_F(EditorTest, ScreenshotOfUnicodeNames) {
    const std::string notepad = "C:\\windows\\notepad.exe";
    const std::vector<std::string> names{"Блокнот", "日本語のメモ", "Ελληνικά", "Ünïcödé café"};
    std::vector<MenuItem> items;
    for (const std::string& name : names) {
        items.push_back({name, notepad, "", "", "", "0"});
    }
    ASSERT_TRUE(Open(UserMenu(items)));
    EXPECT_EQ(ListItems(Item(editor::kItemList)), names);
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    Shoot("editor_unicode_names");
}

TEST_F(EditorTest, AMenuDeeperThanMaxPathOpensAndCommits) {
    std::string deep = m_dir.path();
    while (deep.size() < MAX_PATH + 40) {
        deep += "\\a folder with a long name, Ордner";
        ASSERT_TRUE(MakeFolder(deep)) << deep.size();
    }
    m_menu = deep + "\\Инструменты.tvl";
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters})));
    HWND list = Item(editor::kItemList);
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Notepad", "Letters, 2026"}));
    ASSERT_TRUE(SelectListItem(list, 0));
    Click(Item(editor::kMoveDownButton));
    EXPECT_EQ(File(), UserMenu({kLetters, kNotepad}));
}

}  // namespace
