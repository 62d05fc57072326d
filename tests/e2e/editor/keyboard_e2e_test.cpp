// tvledit.exe under Wine, used from the keyboard alone: where the focus starts, Tab in the
// order the windows read, Alt plus each mnemonic, the list's own keys, the focus coming back
// from the windows a button opens, the icon scroll bars, and the window's title.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>

#include "editor/model/appearance.h"
#include "editor/model/editor_messages.h"
#include "editor/model/icon_library.h"
#include "editor/model/item_wizard.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/keyboard_access.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "menufile/menu_file.h"
#include "platform/text_win.h"
#include "shortcut_sandbox.h"
#include "winauto.h"

namespace {

using namespace winauto;
using editor::ControlKind;
using editor::ControlLayout;
using editor::Page;
using editor_menus::kHead;
using editor_menus::kNotepad;
using editor_menus::kOpenDialogName;
using editor_menus::kSettings;
using editor_menus::UserMenu;
using menufile::MenuItem;

const MenuItem kLetters{
    "Letters, 2026", "C:\\windows", "-x", "C:\\windows", "C:\\windows\\system32\\shell32.dll", "4"};
const MenuItem kUser{"User", "C:\\windows\\system32\\user32.dll", "", "", "", "2"};

std::string PointerMenu(const std::string& flags = "1, 0, 1") {
    return kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\windows\\\",\"*.exe\", " + flags;
}

std::string ShellName(const std::string& path) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(platform::Widen(path).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) ==
        0) {
        return "<no name>";
    }
    return platform::Narrow(info.szDisplayName);
}

// The tab stops of a page in their visual order, as Tab must visit them from `from` on.
std::vector<int> TabCycle(std::span<const ControlLayout> controls, Page page, int from) {
    std::vector<int> stops;
    for (int id : editor::VisualOrder(controls, page)) {
        const auto c = std::find_if(controls.begin(), controls.end(),
                                    [id](const ControlLayout& l) { return l.Id == id; });
        if (editor::IsTabStop(c->Kind)) {
            stops.push_back(id);
        }
    }
    const auto start = std::find(stops.begin(), stops.end(), from);
    std::rotate(stops.begin(), start, stops.end());
    stops.push_back(from);  // and round again
    return stops;
}

class KeyboardTest : public EditorFixture {
protected:
    KeyboardTest() : EditorFixture("e2e keys ", "my menu, keys.tvl") {}

    // Opens the menu with the editor in the foreground, where the keys go.
    HWND Open(const std::string& bytes) {
        if (EditorFixture::Open(bytes)) {
            EXPECT_TRUE(ForceForeground(m_main));
        }
        return m_main;
    }
    [[nodiscard]] HWND Focus() const { return FocusOf(m_main); }
    // Waits until `hwnd` has the focus.
    bool FocusReaches(HWND hwnd) {
        return WaitUntil([&] { return Focus() == hwnd; }, Millis(3000));
    }
    static void Alt(char letter) { SendKey(static_cast<WORD>(letter), {VK_MENU}); }
    // Presses Alt plus the mnemonic of control `id` of `window` (the main window by default).
    void AltFor(int id, std::span<const ControlLayout> table = editor::MainWindowControls()) {
        const auto c = std::find_if(table.begin(), table.end(),
                                    [id](const ControlLayout& l) { return l.Id == id; });
        ASSERT_NE(c, table.end());
        const char key = editor::MnemonicOf(editor::ShownCaption(*c));
        ASSERT_NE(key, 0) << id;
        Alt(key);
    }
    // Tabs through `cycle`, which starts at the control that has the focus now.
    void ExpectTabCycle(HWND window, const std::vector<int>& cycle) {
        ASSERT_TRUE(FocusReaches(Control(window, cycle.front())));
        for (std::size_t i = 1; i < cycle.size(); ++i) {
            SendKey(VK_TAB);
            EXPECT_TRUE(FocusReaches(Control(window, cycle[i])))
                << "after " << cycle[i - 1] << " expected " << cycle[i] << ", focus on "
                << GetDlgCtrlID(Focus());
        }
        SendKey(VK_TAB, {VK_SHIFT});
        EXPECT_TRUE(FocusReaches(Control(window, cycle[cycle.size() - 2]))) << "Shift+Tab";
        SendKey(VK_TAB);
        EXPECT_TRUE(FocusReaches(Control(window, cycle.back())));
    }
    void Shoot(const std::string& name, HWND window) {
        Pump(Millis(200));
        EXPECT_TRUE(
            SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\" + name + "-96dpi.bmp", window));
    }
    HWND WaitForWizard() {
        HWND wizard = WaitForWindow(m_editor.pid(), editor::kWizardClass, nullptr);
        EXPECT_NE(wizard, nullptr);
        return wizard;
    }
};

TEST_F(KeyboardTest, FocusStartsOnTheListAndTabReadsEachPageAsItLooks) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters})));
    EXPECT_EQ(GetText(m_main), ShellName(m_menu) + " - Tarvel Edit");
    EXPECT_NE(GetText(m_main), "Tarvel Edit");
    ASSERT_TRUE(FocusReaches(Item(editor::kItemList))) << "the focus starts on the list";
    Shoot("keys-items-page", m_main);
    ExpectTabCycle(m_main, TabCycle(editor::MainWindowControls(), Page::Items, editor::kItemList));

    AltFor(editor::kQuitButton);
    EXPECT_TRUE(m_editor.WaitForExit().has_value()) << "Alt+Q quits";
}

TEST_F(KeyboardTest, TabOnTheAppearanceAndPointerPages) {
    ASSERT_TRUE(Open(PointerMenu()));
    const std::vector<int> pointer =
        TabCycle(editor::MainWindowControls(), Page::DirectoryPointer, editor::kToUserListButton);
    ASSERT_TRUE(FocusReaches(Item(pointer.front())))
        << "a directory pointer starts on its page's first control";
    ExpectTabCycle(m_main, pointer);

    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    ASSERT_TRUE(FocusReaches(Item(editor::kTabs)));
    EXPECT_TRUE(IsWindowVisible(Item(editor::kChangeFontButton))) << "the Appearance tab shows";
    EXPECT_FALSE(IsWindowVisible(Item(editor::kPathBox)));
    // The icon scroll bar is off until a library is chosen, and Tab passes it by.
    std::vector<int> appearance =
        TabCycle(editor::MainWindowControls(), Page::Appearance, editor::kTabs);
    appearance.erase(std::remove(appearance.begin(), appearance.end(), editor::kMenuIconScroll),
                     appearance.end());
    ExpectTabCycle(m_main, appearance);

    Alt(editor::MnemonicOf(editor::kContentsTabCaption));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kPathBox)) != FALSE; }));
    EXPECT_TRUE(FocusReaches(Item(editor::kTabs)));
}

// The pages not shown first are made a moment after the window shows; a tab chosen before
// then makes its page at once, showing the file, and nothing on it counts as changed.
TEST_F(KeyboardTest, ATabChosenAsSoonAsTheWindowShowsHasItsPageFromTheFile) {
    std::string menu = UserMenu({kNotepad});
    menu.replace(menu.find(kSettings), 1, "1");  // small icons
    ASSERT_TRUE(OpenAsItShows(menu));
    ASSERT_TRUE(ForceForeground(m_main));
    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    ASSERT_TRUE(
        WaitUntil([&] { return IsWindowVisible(Item(editor::kSmallIconsCheck)) != FALSE; }));
    EXPECT_EQ(SendMessageW(Item(editor::kSmallIconsCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
    Alt(editor::MnemonicOf(editor::kShortcutsTabCaption));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kStartMenuCheck)) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kSmallIconsCheck)));
    Alt(editor::MnemonicOf(editor::kContentsTabCaption));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kItemList)) != FALSE; }));
    EXPECT_EQ(ListItems(Item(editor::kItemList)), std::vector<std::string>{"Notepad"});
    AltFor(editor::kQuitButton);
    EXPECT_TRUE(m_editor.WaitForExit().has_value()) << "nothing to ask about: Alt+Q quits";
    EXPECT_EQ(File(), menu);
}

TEST_F(KeyboardTest, AltAndEachMnemonicReachesItsControlOnEveryPage) {
    const std::string menu = UserMenu({kNotepad, kLetters});
    ASSERT_TRUE(Open(menu));
    HWND list = Item(editor::kItemList);
    ASSERT_TRUE(FocusReaches(list));
    // With nothing selected these buttons change nothing: each takes the focus.
    for (int id : {editor::kDeleteButton, editor::kEditButton, editor::kMoveUpButton,
                   editor::kMoveDownButton, editor::kSeparatorButton, editor::kChangeIconButton}) {
        AltFor(id);
        EXPECT_TRUE(FocusReaches(Item(id))) << id;
    }
    // Those that open a window: the focus comes back to them when it closes.
    AltFor(editor::kAddButton);
    HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    Click(Control(wizard, editor::kWizardCancel));
    ASSERT_TRUE(WaitForWindowGone(wizard));
    EXPECT_TRUE(FocusReaches(Item(editor::kAddButton))) << "back on Add after the wizard";

    AltFor(editor::kToPointerButton);
    EXPECT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO).has_value());
    EXPECT_TRUE(FocusReaches(Item(editor::kToPointerButton))) << "back after the question";
    EXPECT_EQ(File(), menu);

    // The appearance page: the Open dialog and the font dialog give the focus back too.
    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    ASSERT_TRUE(FocusReaches(Item(editor::kTabs)));
    AltFor(editor::kSmallIconsCheck);
    EXPECT_TRUE(FocusReaches(Item(editor::kSmallIconsCheck)));
    EXPECT_TRUE(WaitUntil([&] {
        return SendMessageW(Item(editor::kSmallIconsCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    })) << "Alt ticks the box";
    AltFor(editor::kChangeFontButton);
    HWND font = WaitForWindow(m_editor.pid(), "#32770", editor::kFontDialogTitle);
    ASSERT_NE(font, nullptr);
    Click(Control(font, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(font));
    EXPECT_TRUE(FocusReaches(Item(editor::kChangeFontButton))) << "back after the font dialog";

    AltFor(editor::kSelectIconFileButton);
    HWND open = WaitForWindow(m_editor.pid(), "#32770", editor::kLibraryDialogTitle);
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(SetText(Control(open, kOpenDialogName), "C:\\windows\\system32\\user32.dll"));
    Click(Control(open, IDOK));
    ASSERT_TRUE(WaitForWindowGone(open));
    EXPECT_TRUE(FocusReaches(Item(editor::kSelectIconFileButton))) << "back after Open";
    // Now the icon scroll bar takes the focus by Tab (Shift+Tab from the button after it is
    // the same place), and the arrow keys browse the library.
    HWND scroll = Item(editor::kMenuIconScroll);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(scroll) != FALSE; }));
    SendKey(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(FocusReaches(scroll));
    SendKey(VK_TAB);
    ASSERT_TRUE(FocusReaches(Item(editor::kSelectIconFileButton)));
    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    ASSERT_TRUE(FocusReaches(Item(editor::kTabs)));
    SendKey(VK_TAB);
    ASSERT_TRUE(FocusReaches(scroll)) << "first on the page, in its frame";
    HWND picture = Item(editor::kMenuIconPicture);
    Pump(Millis(200));
    const auto first = WindowPixels(picture);
    EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 0);
    SendKey(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return GetScrollPos(scroll, SB_CTL) == 1; }));
    Pump(Millis(200));
    EXPECT_NE(WindowPixels(picture), first) << "the next icon shows";
    Shoot("keys-appearance-scroll-focus", m_main);
    SendKey(VK_END);
    int low = 0;
    int high = 0;
    GetScrollRange(scroll, SB_CTL, &low, &high);
    EXPECT_GT(high, 1);
    EXPECT_TRUE(WaitUntil([&] { return GetScrollPos(scroll, SB_CTL) == high; })) << "End";
    SendKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([&] { return GetScrollPos(scroll, SB_CTL) == 0; })) << "Home";
    EXPECT_EQ(File(), menu) << "nothing is saved before Save";

    AltFor(editor::kSaveAppearanceButton);
    EXPECT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kMainTitle, IDOK).has_value());
    EXPECT_TRUE(FocusReaches(Item(editor::kSaveAppearanceButton)));
    EXPECT_NE(File(), menu) << "saved";
}

TEST_F(KeyboardTest, TabAndAltOnTheShortcutsPage) {
    shortcuts::Sandbox sandbox("my menu, keys.lnk", m_editor);
    ASSERT_TRUE(sandbox.Ready());
    m_editorExe = sandbox.EditorExe();
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    ASSERT_TRUE(FocusReaches(Item(editor::kItemList)));
    Alt(editor::MnemonicOf(editor::kShortcutsTabCaption));
    ASSERT_TRUE(FocusReaches(Item(editor::kTabs)));
    EXPECT_TRUE(IsWindowVisible(Item(editor::kStartMenuCheck))) << "the Shortcuts tab shows";
    EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kChangeFontButton)));
    ExpectTabCycle(m_main, TabCycle(editor::MainWindowControls(), Page::Shortcuts, editor::kTabs));

    HWND box = Item(editor::kHotKeyBox);
    AltFor(editor::kHotKeyLabel);
    EXPECT_TRUE(FocusReaches(box)) << "the label names the key box";
    SendKey(VK_TAB);
    ASSERT_TRUE(FocusReaches(Item(editor::kNoHotKeyButton)));
    for (int id : {editor::kStartMenuCheck, editor::kDesktopCheck}) {
        AltFor(id);
        EXPECT_TRUE(FocusReaches(Item(id))) << id;
        EXPECT_TRUE(WaitUntil([&] {
            return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        })) << "Alt ticks "
            << id;
    }
    EXPECT_TRUE(WaitUntil(
        [&] { return FileExists(sandbox.StartMenuLink()) && FileExists(sandbox.DesktopLink()); }));
    AltFor(editor::kHotKeyLabel);
    ASSERT_TRUE(FocusReaches(box));
    SendKey('T', {VK_CONTROL, VK_MENU});
    const WORD key = MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT);
    for (const std::string& link : {sandbox.StartMenuLink(), sandbox.DesktopLink()}) {
        EXPECT_TRUE(WaitUntil([&] {
            const auto fields = shortcuts::ReadLink(link);
            return fields && fields->HotKey == key;
        })) << link;
    }
    SendKey(VK_TAB);
    ASSERT_TRUE(FocusReaches(Item(editor::kNoHotKeyButton)));
    AltFor(editor::kNoHotKeyButton);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(box, HKM_GETHOTKEY, 0, 0) == 0; }));
    EXPECT_TRUE(WaitUntil([&] {
        const auto fields = shortcuts::ReadLink(sandbox.DesktopLink());
        return fields && fields->HotKey == 0;
    })) << "None clears the key";
    EXPECT_TRUE(FocusReaches(Item(editor::kNoHotKeyButton)));
    Shoot("keys-shortcuts-page", m_main);
    for (int id : {editor::kStartMenuCheck, editor::kDesktopCheck}) {
        AltFor(id);
        EXPECT_TRUE(WaitUntil([&] {
            return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_UNCHECKED;
        })) << "Alt unticks "
            << id;
    }
    EXPECT_TRUE(WaitUntil([&] {
        return !FileExists(sandbox.StartMenuLink()) && !FileExists(sandbox.DesktopLink());
    }));
    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kChangeFontButton)) != 0; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kStartMenuCheck)));
}

TEST_F(KeyboardTest, AltReachesTheBoxesAndChecksOfThePointerPage) {
    ASSERT_TRUE(Open(PointerMenu()));
    ASSERT_TRUE(FocusReaches(Item(editor::kToUserListButton)));
    AltFor(editor::kPathLabel);
    EXPECT_TRUE(FocusReaches(Item(editor::kPathBox))) << "the label names the box after it";
    AltFor(editor::kPatternLabel);
    EXPECT_TRUE(FocusReaches(Item(editor::kPatternBox)));
    for (int id :
         {editor::kShowFoldersCheck, editor::kShowHiddenCheck, editor::kHideExtensionsCheck}) {
        const LRESULT before = SendMessageW(Item(id), BM_GETCHECK, 0, 0);
        AltFor(id);
        EXPECT_TRUE(FocusReaches(Item(id))) << id;
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) != before; }))
            << id;
    }
    AltFor(editor::kToUserListButton);
    EXPECT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDNO).has_value());
    EXPECT_TRUE(FocusReaches(Item(editor::kToUserListButton)));
    AltFor(editor::kSavePointerButton);
    EXPECT_TRUE(FocusReaches(Item(editor::kSavePointerButton)));
    EXPECT_TRUE(WaitUntil([&] { return File() == PointerMenu("0, 1, 0"); })) << File();
    Shoot("keys-pointer-page", m_main);
}

TEST_F(KeyboardTest, TheWizardReadsAsItLooksAndAltReachesEachControl) {
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    AltFor(editor::kAddButton);
    HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    const auto table = editor::WizardControls();
    HWND path = Control(wizard, editor::kWizardPath);
    ASSERT_TRUE(FocusReaches(path));
    AltFor(editor::kWizardBrowse, table);
    HWND open = WaitForWindow(m_editor.pid(), "#32770", editor::kBrowseTitle);
    ASSERT_NE(open, nullptr);
    Click(Control(open, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(open));
    EXPECT_TRUE(FocusReaches(Control(wizard, editor::kWizardBrowse))) << "back after Open";
    ASSERT_TRUE(SetText(path, "C:\\windows\\regedit.exe"));
    AltFor(editor::kWizardInstruction, table);
    ASSERT_TRUE(FocusReaches(path));
    // Page 1: the name box and Finish are hidden, so Tab passes them by.
    std::vector<int> cycle = TabCycle(table, Page::Always, editor::kWizardPath);
    std::erase_if(cycle, [](int id) {
        return id == editor::kWizardName || id == editor::kWizardFinish ||
               id == editor::kWizardBack;  // Back is off on the first page
    });
    ExpectTabCycle(wizard, cycle);
    AltFor(editor::kWizardArgsLabel, table);
    EXPECT_TRUE(FocusReaches(Control(wizard, editor::kWizardArgs)));
    AltFor(editor::kWizardStartInLabel, table);
    EXPECT_TRUE(FocusReaches(Control(wizard, editor::kWizardStartIn)));
    AltFor(editor::kWizardInstruction, table);
    EXPECT_TRUE(FocusReaches(path)) << "the instruction names the path box";
    Shoot("keys-wizard-page-1", wizard);
    AltFor(editor::kWizardNext, table);
    HWND name = Control(wizard, editor::kWizardName);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(name) != FALSE; }));
    EXPECT_TRUE(FocusReaches(name));
    SendKey(VK_TAB);
    EXPECT_TRUE(FocusReaches(Control(wizard, editor::kWizardBack)));
    Alt(editor::MnemonicOf(editor::kNameInstructionCaption));
    EXPECT_TRUE(FocusReaches(name)) << "the instruction names the name box on page 2";
    AltFor(editor::kWizardBack, table);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(path) != FALSE; }));
    AltFor(editor::kWizardNext, table);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(name) != FALSE; }));
    AltFor(editor::kWizardFinish, table);
    ASSERT_TRUE(WaitForWindowGone(wizard));
    EXPECT_TRUE(FocusReaches(Item(editor::kAddButton))) << "back on Add after Finish";
    EXPECT_TRUE(WaitUntil([&] {
        return File() == UserMenu({kNotepad, MenuItem{"regedit", "C:\\windows\\regedit.exe", "", "",
                                                      "", "0"}});
    })) << File();
}

TEST_F(KeyboardTest, DeleteKeyOnTheListDeletesAsTheDeleteButtonDoes) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters, kUser})));
    HWND list = Item(editor::kItemList);
    ASSERT_TRUE(FocusReaches(list));
    ASSERT_TRUE(SelectListItem(list, 1));
    SendKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return File() == UserMenu({kNotepad, kUser}); })) << File();
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Notepad", "User"}));
    EXPECT_TRUE(FocusReaches(list));
    SendKey(VK_DELETE);  // nothing selected: nothing happens, as with the button
    Pump(Millis(300));
    EXPECT_EQ(File(), UserMenu({kNotepad, kUser}));
    // The button, for comparison, on the same kind of row.
    ASSERT_TRUE(SelectListItem(list, 0));
    Click(Item(editor::kDeleteButton));
    EXPECT_EQ(File(), UserMenu({kUser}));
}

TEST_F(KeyboardTest, CtrlZTakesBackADeleteAndCtrlYMakesItAgainFromEveryPage) {
    const std::string menu = UserMenu({kNotepad, kLetters, kUser});
    const std::string deleted = UserMenu({kNotepad, kUser});
    ASSERT_TRUE(Open(menu));
    HWND list = Item(editor::kItemList);
    ASSERT_TRUE(FocusReaches(list));
    ASSERT_TRUE(SelectListItem(list, 1));
    SendKey(VK_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return File() == deleted; })) << File();

    SendKey('Z', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return File() == menu; })) << "byte for byte: " << File();
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Notepad", "Letters, 2026", "User"}));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1) << "the row that came back";
    SendKey('Y', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return File() == deleted; })) << File();
    EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Notepad", "User"}));

    // On the appearance page, with the tabs focused; Ctrl+Shift+Z redoes too.
    Alt(editor::MnemonicOf(editor::kAppearanceTabCaption));
    ASSERT_TRUE(FocusReaches(Item(editor::kTabs)));
    SendKey('Z', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return File() == menu; })) << File();
    SendKey('Z', {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(WaitUntil([&] { return File() == deleted; })) << File();
}

TEST_F(KeyboardTest, AltDownAndAltUpMoveTheSelectedItemFromTheListAndTheButtons) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters, kUser})));
    HWND list = Item(editor::kItemList);
    ASSERT_TRUE(FocusReaches(list));
    ASSERT_TRUE(SelectListItem(list, 0));
    SendKey(VK_DOWN, {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] {
        return File() == UserMenu({kLetters, kNotepad, kUser});
    })) << File();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1) << "the moved item stays selected";
    SendKey(VK_DOWN, {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return File() == UserMenu({kLetters, kUser, kNotepad}); }));

    SendKey(VK_TAB);  // the focus on a button: the keys still move the item
    ASSERT_TRUE(FocusReaches(Item(editor::kChangeIconButton)));
    SendKey(VK_UP, {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] {
        return File() == UserMenu({kLetters, kNotepad, kUser});
    })) << File();
    SendKey('Z', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return File() == UserMenu({kLetters, kUser, kNotepad}); }));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(KeyboardTest, CtrlZOnThePointerPageTakesBackTheChangeOfMenuType) {
    const std::string menu = UserMenu({kNotepad, kLetters});
    ASSERT_TRUE(Open(menu));
    PostClick(Item(editor::kToPointerButton));
    ASSERT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kQueryTitle, IDYES).has_value());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kFolderList)) != 0; }));
    ASSERT_NE(File(), menu);
    ASSERT_TRUE(ForceForeground(m_main));
    SendKey('Z', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return File() == menu; })) << File();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kItemList)) != 0; }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kFolderList)) == 0; }));
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", "Letters, 2026"}));
}

TEST_F(KeyboardTest, EnterAndDoubleClickEditTheItemAndTheFocusComesBackToTheList) {
    const std::string menu = UserMenu({kNotepad, kLetters});
    ASSERT_TRUE(Open(menu));
    HWND list = Item(editor::kItemList);
    ASSERT_TRUE(FocusReaches(list));
    ASSERT_TRUE(SelectListItem(list, 1));
    SendKey(VK_RETURN);
    HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardPath)), kLetters.Target) << "edit mode";
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardName)), kLetters.Name);
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowGone(wizard));
    EXPECT_TRUE(FocusReaches(list)) << "back on the list after Escape";

    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const POINT at = ClientToScreenAt(list, (row.left + row.right) / 2, (row.top + row.bottom) / 2);
    ASSERT_TRUE(LeftClickAt(at));
    ASSERT_TRUE(LeftClickAt(at, false));
    wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardPath)), kNotepad.Target);
    Click(Control(wizard, editor::kWizardCancel));
    ASSERT_TRUE(WaitForWindowGone(wizard));
    EXPECT_TRUE(FocusReaches(list));
    EXPECT_EQ(File(), menu);
}

TEST_F(KeyboardTest, TheChoosersGridTakesTheFocusAndBrowsesWithTheArrows) {
    const std::string menu = UserMenu({kLetters});
    ASSERT_TRUE(Open(menu));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    AltFor(editor::kChangeIconButton);
    HWND chooser = WaitForWindow(m_editor.pid(), editor::kChooserClass, nullptr);
    ASSERT_NE(chooser, nullptr);
    HWND grid = Control(chooser, editor::kChooserGrid);
    ASSERT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 4; }));
    EXPECT_TRUE(FocusReaches(grid)) << "the first control";
    ExpectTabCycle(chooser,
                   TabCycle(editor::ChooserControls(), Page::Always, editor::kChooserGrid));
    SendKey(VK_LEFT);
    EXPECT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 3; }));
    SendKey(VK_RIGHT);
    SendKey(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 5; }));
    Shoot("keys-chooser-grid-focus", chooser);
    AltFor(editor::kChooserLibrary, editor::ChooserControls());
    HWND open = WaitForWindow(m_editor.pid(), "#32770", editor::kLibraryDialogTitle);
    ASSERT_NE(open, nullptr);
    Click(Control(open, IDCANCEL));
    ASSERT_TRUE(WaitForWindowGone(open));
    EXPECT_TRUE(FocusReaches(Control(chooser, editor::kChooserLibrary))) << "back after Open";
    EXPECT_EQ(ListViewSelection(grid), 5) << "a cancelled Open keeps the choice";
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowGone(chooser));
    EXPECT_TRUE(FocusReaches(Item(editor::kChangeIconButton)));
    EXPECT_EQ(File(), menu);

    // Enter is OK: the icon chosen with the arrows is stored.
    AltFor(editor::kChangeIconButton);
    chooser = WaitForWindow(m_editor.pid(), editor::kChooserClass, nullptr);
    ASSERT_NE(chooser, nullptr);
    grid = Control(chooser, editor::kChooserGrid);
    ASSERT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 4; }));
    ASSERT_TRUE(FocusReaches(grid));
    SendKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 5; }));
    SendKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(chooser));
    EXPECT_EQ(menufile::ReadMenu(File()).Items.at(0).IconIndex, "5");
}

}  // namespace
