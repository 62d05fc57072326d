// tvledit.exe under Wine: the "New Shortcut" wizard, the "Select Icon" chooser and the
// appearance tab, with names outside the code page too, checked in the bytes of the menu file.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <set>

#include "editor/imaging/icon_file.h"
#include "editor/model/appearance.h"
#include "editor/model/editor_messages.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"
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

const MenuItem kLetters{
    "Letters, 2026", "C:\\windows", "-x", "C:\\windows", "C:\\windows\\system32\\shell32.dll", "4"};

// The menu as the editor reads it: its text decoded to UTF-8 from the file's encoding.
menufile::MenuFile Decoded(const std::string& bytes) {
    menufile::MenuFile menu = menufile::ReadMenu(bytes);
    menufile::DecodeMenu(bytes, menu, platform::SystemCodePage());
    return menu;
}

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

// Stdcall for 32-bit Windows, which a lambda is not.
BOOL CALLBACK AddGroupName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<LPSTR>*>(list)->push_back(name);
    return TRUE;
}

// The images of the sizes a menu's picture takes of icon group `index` of a library, read from
// its resources here.
std::vector<editor::LibraryImage> LibraryIconImages(const std::string& library, int index) {
    std::vector<editor::LibraryImage> images;
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return images;
    }
    std::vector<LPSTR> groups;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), AddGroupName,  // RT_GROUP_ICON
                       reinterpret_cast<LONG_PTR>(&groups));
    auto bytes = [&](LPCSTR name, LPCSTR type) {
        HRSRC found = FindResourceA(module, name, type);
        const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
        return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found))
                    : std::string();
    };
    const std::string group =
        bytes(groups.at(static_cast<std::size_t>(index)), MAKEINTRESOURCEA(14));
    for (std::size_t k = 0; 6 + 14 * (k + 1) <= group.size(); ++k) {
        const std::size_t at = 6 + 14 * k;
        const int size = static_cast<unsigned char>(group[at]) == 0
                             ? 256
                             : static_cast<unsigned char>(group[at]);
        const WORD id = static_cast<WORD>(static_cast<unsigned char>(group[at + 12]) |
                                          static_cast<unsigned char>(group[at + 13]) << 8);
        if (size == 16 || size == 24 || size == 32 || size == 48 || size == 256) {
            images.push_back({bytes(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3))});  // RT_ICON
        }
    }
    FreeLibrary(module);
    return images;
}

bool IsEnabled(HWND hwnd) {
    return ::IsWindowEnabled(hwnd) != FALSE;
}
bool IsVisible(HWND hwnd) {
    return ::IsWindowVisible(hwnd) != FALSE;
}

// A click on icon `index` of a list view.
void ClickIcon(HWND grid, int index) {
    const std::optional<RECT> icon = ListViewIconRect(grid, index);
    ASSERT_TRUE(icon.has_value()) << index;
    ASSERT_TRUE(
        LeftClickAt({(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2}, false));
}

class DialogsTest : public EditorFixture {
protected:
    DialogsTest() : EditorFixture("e2e dialogs ", "my menu, dialogs.tvl") {}

    // Opens a window of the editor by a button of the main window (modal: posted).
    HWND OpenBy(int button, const char* cls, const char* title) {
        PostClick(Item(button));
        HWND window = WaitForWindow(m_editor.pid(), cls, title);
        EXPECT_NE(window, nullptr) << title;
        if (window) {
            EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(m_main); }))
                << "the main window is disabled while " << title << " is open";
        }
        return window;
    }
    void ExpectClosed(HWND window) {
        EXPECT_TRUE(WaitForWindowGone(window));
        EXPECT_TRUE(WaitUntil([&] { return IsEnabled(m_main); }));
    }
    void Shoot(const std::string& name, HWND window) {
        Pump(Millis(200));
        EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\" + name + ".bmp", window));
    }
    // Types a path into the Open dialog with this title and presses Open.
    void AnswerOpenDialog(const char* title, const std::string& path) {
        HWND dialog = WaitForWindow(m_editor.pid(), "#32770", title);
        ASSERT_NE(dialog, nullptr) << title;
        HWND name = Control(dialog, kOpenDialogName);
        ASSERT_NE(name, nullptr);
        ASSERT_TRUE(SetText(name, path));
        ASSERT_TRUE(WaitUntil([&] { return GetText(name) == path; }));
        PostClick(Control(dialog, IDOK));
        ASSERT_TRUE(WaitForWindowGone(dialog));
    }
};

TEST_F(DialogsTest, TheWizardAddsAnItemThroughBothPages) {
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    HWND wizard = OpenBy(editor::kAddButton, editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    HWND path = Control(wizard, editor::kWizardPath);
    HWND next = Control(wizard, editor::kWizardNext);
    HWND finish = Control(wizard, editor::kWizardFinish);
    EXPECT_FALSE(IsEnabled(next)) << "no path yet";
    EXPECT_FALSE(IsVisible(finish));
    EXPECT_FALSE(IsEnabled(Control(wizard, editor::kWizardBack)));
    ASSERT_TRUE(SetText(path, "C:\\windows\\regedit.exe"));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(next); }));
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardArgs), "/s, quiet"));
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardStartIn), "C:\\windows"));
    Shoot("wizard-page-1", wizard);
    // Each label is the window just before the box it names, where Windows looks for a box's
    // name, and leaves it uncovered.
    HWND instruction = Control(wizard, editor::kWizardInstruction);
    auto labelsBox = [&](HWND label, HWND box) {
        RECT l{}, b{};
        GetWindowRect(label, &l);
        GetWindowRect(box, &b);
        return GetWindow(box, GW_HWNDPREV) == label && l.bottom <= b.top;
    };
    EXPECT_TRUE(labelsBox(instruction, path));
    EXPECT_TRUE(
        labelsBox(Control(wizard, editor::kWizardArgsLabel), Control(wizard, editor::kWizardArgs)));
    EXPECT_TRUE(labelsBox(Control(wizard, editor::kWizardStartInLabel),
                          Control(wizard, editor::kWizardStartIn)));

    Click(next);
    HWND name = Control(wizard, editor::kWizardName);
    EXPECT_TRUE(IsVisible(name));
    EXPECT_FALSE(IsVisible(path));
    EXPECT_TRUE(IsVisible(finish));
    // The instruction names the box below it and carries its mnemonic.
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardInstruction)),
              "Type a friendly na&me for your shortcut.");
    EXPECT_EQ(GetText(name), "regedit") << "the shell's display name is proposed";
    ASSERT_TRUE(SetText(name, "Registry, edited"));
    // The name box is not covered by the instruction above it, which now names it.
    EXPECT_TRUE(labelsBox(instruction, name));
    RECT box{};
    GetWindowRect(name, &box);
    const POINT inside{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(inside), name);
    Shoot("wizard-page-2", wizard);
    Click(finish);
    ExpectClosed(wizard);

    EXPECT_EQ(File(), UserMenu({kNotepad,
                                {"Registry, edited", "C:\\windows\\regedit.exe", "/s, quiet",
                                 "C:\\windows", "", "0"}}));
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", "Registry, edited"}));
}

TEST_F(DialogsTest, TheWizardRefusesMissingPathsAndTextTheFileCannotHold) {
    const std::string menu = UserMenu({kNotepad});
    ASSERT_TRUE(Open(menu));
    HWND wizard = OpenBy(editor::kAddButton, editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), "C:\\no such file.exe"));
    PostClick(Control(wizard, editor::kWizardNext));
    auto refused = AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(*refused, "File C:\\no such file.exe cannot be accessed. Please check the path.");
    EXPECT_TRUE(IsVisible(Control(wizard, editor::kWizardPath))) << "still on the first page";

    // An internet address is taken as it is; the shell knows no name for it.
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), "http://example.invalid/"));
    Click(Control(wizard, editor::kWizardNext));
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardName)), "");
    EXPECT_FALSE(IsEnabled(Control(wizard, editor::kWizardFinish)));
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardName), "Say \"hi\""));
    PostClick(Control(wizard, editor::kWizardFinish));
    auto unwritable = AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK);
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_NE(unwritable->find("The name cannot contain a double quote"), std::string::npos)
        << *unwritable;
    EXPECT_TRUE(IsWindow(wizard)) << "the wizard stays open to mend the name";
    Click(Control(wizard, editor::kWizardCancel));
    ExpectClosed(wizard);
    EXPECT_EQ(File(), menu);
}

TEST_F(DialogsTest, TheWizardTakesWhatTheRunBoxTakesAndKeepsWhatWasTyped) {
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    struct Case {
        const char* typed;
        std::string proposed;  // the name of what it opens
        const char* name;
    };
    const Case cases[] = {
        {"https://example.com", "", "Example"},                         // the prefix's own handler
        {"notepad", ShellName("C:\\windows\\notepad.exe"), "By name"},  // on the search path
        {"%windir%\\notepad.exe", ShellName("C:\\windows\\notepad.exe"), "By variable"},
    };
    std::vector<MenuItem> items = {kNotepad};
    for (const Case& c : cases) {
        HWND wizard = OpenBy(editor::kAddButton, editor::kWizardClass, "New Shortcut");
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), c.typed));
        PostClick(Control(wizard, editor::kWizardNext));
        HWND name = Control(wizard, editor::kWizardName);
        ASSERT_TRUE(WaitUntil([&] { return IsVisible(name); }))
            << c.typed
            << " refused: " << MessageBoxText(FindWindowOf(m_editor.pid(), "#32770", nullptr));
        EXPECT_EQ(GetText(name), c.proposed) << c.typed;
        ASSERT_TRUE(SetText(name, c.name));
        Click(Control(wizard, editor::kWizardFinish));
        ExpectClosed(wizard);
        items.push_back({c.name, c.typed, "", "", "", "0"});
        EXPECT_EQ(File(), UserMenu(items)) << "the item keeps " << c.typed;
    }
}

TEST_F(DialogsTest, EditingChangesOnlyTheFourFieldsOfTheItem) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters})));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 1));
    HWND wizard = OpenBy(editor::kEditButton, editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardPath)), "C:\\windows");
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardArgs)), "-x");
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardStartIn)), "C:\\windows");
    EXPECT_TRUE(IsEnabled(Control(wizard, editor::kWizardNext)));
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardArgs), "-y"));
    Click(Control(wizard, editor::kWizardNext));
    EXPECT_EQ(GetText(Control(wizard, editor::kWizardName)), "Letters, 2026") << "an edit keeps it";
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardName), "Windows"));
    Click(Control(wizard, editor::kWizardFinish));
    ExpectClosed(wizard);
    EXPECT_EQ(File(), UserMenu({kNotepad,
                                {"Windows", "C:\\windows", "-y", "C:\\windows",
                                 "C:\\windows\\system32\\shell32.dll", "4"}}));
    EXPECT_EQ(ListItems(Item(editor::kItemList))[1], "Windows");
}

TEST_F(DialogsTest, TheChooserStoresTheLibraryAndTheIconNumber) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, kLetters})));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    HWND chooser = OpenBy(editor::kChangeIconButton, editor::kChooserClass, "Select Icon");
    ASSERT_NE(chooser, nullptr);
    // Browsing starts at the item's target.
    EXPECT_TRUE(WaitUntil([&] {
        return GetText(Control(chooser, editor::kChooserCount)) == "1 Icon";
    })) << GetText(Control(chooser, editor::kChooserCount));

    PostClick(Control(chooser, editor::kChooserLibrary));
    AnswerOpenDialog("Select a DLL or EXE which includes Icons",
                     "C:\\windows\\system32\\user32.dll");
    HWND count = Control(chooser, editor::kChooserCount);
    ASSERT_TRUE(WaitUntil([&] { return GetText(count) == "7 Icons"; })) << GetText(count);
    HWND grid = Control(chooser, editor::kChooserGrid);
    EXPECT_EQ(ListViewCount(grid), 7) << "all of them at once";
    EXPECT_EQ(ListViewSelection(grid), 0);
    ClickIcon(grid, 2);
    EXPECT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 2; }));
    Shoot("icon-chooser", chooser);
    Click(Control(chooser, editor::kChooserOk));
    ExpectClosed(chooser);
    EXPECT_EQ(File(), UserMenu({{"Notepad", "C:\\windows\\notepad.exe", "", "",
                                 "C:\\windows\\system32\\user32.dll", "2"},
                                kLetters}));

    // A file without icons says so.
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 1));
    chooser = OpenBy(editor::kChangeIconButton, editor::kChooserClass, "Select Icon");
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(WriteFileBytes(m_dir.File("plain.txt"), "no icons here"));
    PostClick(Control(chooser, editor::kChooserLibrary));
    AnswerOpenDialog("Select a DLL or EXE which includes Icons", m_dir.File("plain.txt"));
    auto none = AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(*none, "No Icons found in this file!");
    EXPECT_TRUE(
        WaitUntil([&] { return GetText(Control(chooser, editor::kChooserCount)) == "0 Icons"; }));
    Click(Control(chooser, editor::kChooserCancel));
    ExpectClosed(chooser);
    EXPECT_EQ(menufile::ReadMenu(File()).Items[1], kLetters) << "Cancel stores nothing";
}

TEST_F(DialogsTest, AppearanceSavesIconFontAndSizeAndTheEngineStillReadsTheMenu) {
    ASSERT_TRUE(Open(UserMenu({kNotepad, MenuItem::Separator(), kLetters})));
    ShowAppearanceTab();
    PostClick(Item(editor::kSelectIconFileButton));
    AnswerOpenDialog("Select a DLL or EXE which includes Icons",
                     "C:\\windows\\system32\\user32.dll");
    HWND count = Item(editor::kIconCountLabel);
    ASSERT_TRUE(WaitUntil([&] { return GetText(count) == "7 Icons"; })) << GetText(count);

    ChooseTahoma12();
    SendMessageA(Item(editor::kSmallIconsCheck), BM_SETCHECK, BST_CHECKED, 0);

    PostClick(Item(editor::kSaveAppearanceButton));
    auto told = AnswerMessageBox(m_editor.pid(), editor::kMainTitle, IDOK);
    ASSERT_TRUE(told.has_value());
    EXPECT_EQ(*told, "You might have to refresh the desktop for the new icon to show.");

    const std::string saved = File();
    // An icon file heads the file, holding the chosen icon as the library keeps it.
    ASSERT_EQ(saved.substr(0, 4), std::string("\0\0\1\0", 4)) << "an icon file";
    const menufile::MenuFile menu = menufile::ReadMenu(saved);
    ASSERT_EQ(menu.Status, menufile::ReadStatus::Ok);
    EXPECT_EQ(menu.Settings, (menufile::MenuSettings{"1", "Tahoma", "12", "0", "0"}));
    EXPECT_EQ(menu.Items, (std::vector<MenuItem>{kNotepad, MenuItem::Separator(), kLetters}));
    EXPECT_EQ(saved.substr(menu.PrefixLength - 15, 15), "\r\n<START TVL>\r\n");
    const std::vector<editor::LibraryImage> images =
        editor::IconFileImages(std::string(menufile::PictureOf(saved, menu)));
    ASSERT_FALSE(images.empty());
    // One image of each size the library has, each as the library holds it.
    const std::vector<editor::LibraryImage> library =
        LibraryIconImages("C:\\windows\\system32\\user32.dll", 0);
    std::set<int> sizes;
    std::set<int> librarySizes;
    for (const editor::LibraryImage& image : library) {
        librarySizes.insert(editor::SizeOf(image));
    }
    for (const editor::LibraryImage& image : images) {
        EXPECT_TRUE(sizes.insert(editor::SizeOf(image)).second) << "one image a size";
        EXPECT_NE(std::find(library.begin(), library.end(), image), library.end());
    }
    EXPECT_EQ(sizes, librarySizes);
    EXPECT_TRUE(sizes.count(32));

    // The shell shows the menu file under the chosen icon: a type whose icon is the file's own.
    const std::string copy = m_dir.File("shown.tvlicontest");
    ASSERT_TRUE(WriteFileBytes(copy, saved));
    HKEY key = nullptr;
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, ".tvlicontest", REG_SZ, "TarvelIconTest", 0),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "TarvelIconTest\\DefaultIcon", &key), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("%1"), 3);
    RegCloseKey(key);
    SHFILEINFOA shown{};
    ASSERT_NE(SHGetFileInfoA(copy.c_str(), 0, &shown, sizeof shown, SHGFI_ICON | SHGFI_LARGEICON),
              0u);
    HICON chosen = nullptr;
    ASSERT_EQ(ExtractIconExA("C:\\windows\\system32\\user32.dll", 0, &chosen, nullptr, 1), 1u);
    EXPECT_EQ(IconPixels(shown.hIcon), IconPixels(chosen)) << "the pixels of the chosen icon";
    DestroyIcon(shown.hIcon);
    DestroyIcon(chosen);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "TarvelIconTest\\DefaultIcon");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "TarvelIconTest");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tvlicontest");
    Shoot("appearance-tab", m_main);

    // The engine opens the saved menu.
    Process engine = Start(WinPath(TVLENGIN_EXE), Quote(m_menu), m_dir.path());
    HWND popup = WaitForWindow(engine.pid(), "TarvelMenuPopup", nullptr);
    ASSERT_NE(popup, nullptr);
    RECT r{};
    GetWindowRect(popup, &r);
    EXPECT_GT(r.bottom - r.top, 2 * 24) << "two small-icon cells and a separator";
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(engine.WaitForExit().has_value());
}

// An icon file whose 256-pixel image is a bitmap: the saved picture holds it as a PNG, which the
// editor has the system's encoder make.
TEST_F(DialogsTest, AppearanceSaveMakesALargeBitmapOfTheChosenIconFileAPng) {
    struct NoPng final : editor::PngEncoder {
        std::string Encode(int, int, std::span<const std::uint32_t>) const override { return {}; }
    };
    std::vector<std::uint32_t> pixels;
    for (std::uint32_t k = 0; k < 256 * 256; ++k) {
        pixels.push_back((k % 256) << 24 | k);
    }
    const editor::IconImage large{256, pixels};
    const editor::IconImage small{32, std::vector<std::uint32_t>(32 * 32, 0xFF2040C0u)};
    const std::string library = m_dir.File("large bitmap.ico");
    const std::string ico = editor::IconFileOf({small, large}, NoPng());
    ASSERT_TRUE(WriteFileBytes(library, ico));
    ASSERT_EQ(editor::IconFileImages(ico).back().Bytes.substr(0, 4), std::string("\x28\0\0\0", 4));

    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    ShowAppearanceTab();
    PostClick(Item(editor::kSelectIconFileButton));
    AnswerOpenDialog("Select a DLL or EXE which includes Icons", library);
    HWND count = Item(editor::kIconCountLabel);
    ASSERT_TRUE(WaitUntil([&] { return GetText(count) == "1 Icon"; })) << GetText(count);
    PostClick(Item(editor::kSaveAppearanceButton));
    ASSERT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kMainTitle, IDOK).has_value());

    const std::string saved = File();
    const menufile::MenuFile menu = menufile::ReadMenu(saved);
    ASSERT_EQ(menu.Status, menufile::ReadStatus::Ok);
    const std::vector<editor::LibraryImage> images =
        editor::IconFileImages(std::string(menufile::PictureOf(saved, menu)));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0], editor::IconFileImages(ico)[0]) << "the small one as the file holds it";
    EXPECT_EQ(images[1].Bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(editor::SizeOf(images[1]), 256);
    EXPECT_LT(images[1].Bytes.size(), 256u * 256u * 4u) << "smaller than the bitmap";
}

// A menu's picture shows in the preview as it is, and a save that picks no new icon keeps it
// byte for byte: a bitmap (red), and an icon file (the stock icon's bytes).
TEST_F(DialogsTest, AppearanceSaveWithoutANewIconKeepsThePictureByteForByte) {
    std::vector<std::uint32_t> red(32 * 32, 0xFF0000);
    const std::string bitmap = editor::BitmapFile(32, 32, red);
    const std::string icon = ReadFileBytes(WinPath(STOCK_ICON)).value_or("");
    ASSERT_FALSE(icon.empty());
    for (const std::string& picture : {bitmap, icon}) {
        const std::string head = picture + "\r\n<START TVL>\r\n";
        ASSERT_TRUE(
            Open(head + "\"USERDEF\"\r\n" + kSettings + menufile::FormatItemLine(kNotepad)));
        ASSERT_TRUE(LeftClickAt(ClientToScreenAt(Item(editor::kTabs), 95, 10), false));
        ASSERT_TRUE(WaitUntil([&] { return IsVisible(Item(editor::kMenuIconPicture)); }));
        ParkMouse();
        Pump(Millis(200));
        const POINT middle = CenterOf(Item(editor::kMenuIconPicture));
        HDC screen = GetDC(nullptr);
        const COLORREF seen = GetPixel(screen, middle.x, middle.y);
        ReleaseDC(nullptr, screen);
        if (&picture == &bitmap) {
            EXPECT_EQ(seen, RGB(255, 0, 0)) << "the preview shows the menu's own picture";
        } else {
            EXPECT_NE(seen, GetSysColor(COLOR_BTNFACE)) << "the stock icon is drawn";
        }

        SendMessageA(Item(editor::kSmallIconsCheck), BM_SETCHECK, BST_CHECKED, 0);
        PostClick(Item(editor::kSaveAppearanceButton));
        ASSERT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kMainTitle, IDOK).has_value());
        EXPECT_EQ(File(), head + "\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0,0\r\n" +
                              menufile::FormatItemLine(kNotepad));
        m_editor.Kill();
    }
}

// Names outside the code page ----------------------------------------------------------------

TEST_F(DialogsTest, TheWizardAddsAnItemWithAUnicodePathAndName) {
    const std::string folder = m_dir.File("Меню");
    const std::string target = folder + "\\日本語 メモ.txt";
    ASSERT_TRUE(MakeFolder(folder) && WriteFileBytes(target, "text"));
    ASSERT_TRUE(Open(UserMenu({kNotepad})));
    HWND wizard = OpenBy(editor::kAddButton, editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), target));
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardStartIn), folder));
    HWND next = Control(wizard, editor::kWizardNext);
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(next); }));
    Click(next);
    HWND name = Control(wizard, editor::kWizardName);
    ASSERT_TRUE(IsVisible(name)) << "the path was found";
    EXPECT_EQ(GetText(name), ShellName(target)) << "the shell's display name is proposed";
    ASSERT_TRUE(SetText(name, "Заметки, 日本"));
    Click(Control(wizard, editor::kWizardFinish));
    ExpectClosed(wizard);

    const menufile::MenuFile menu = Decoded(File());
    EXPECT_EQ(menu.Items,
              (std::vector<MenuItem>{kNotepad, {"Заметки, 日本", target, "", folder, "", "0"}}));
    EXPECT_EQ(ListItems(Item(editor::kItemList)),
              (std::vector<std::string>{"Notepad", "Заметки, 日本"}));
}

TEST_F(DialogsTest, OpenDialogsHandBackUnicodePaths) {
    const std::string library = m_dir.File("Значки 日本.dll");
    ASSERT_TRUE(
        CopyFileW(L"C:\\windows\\system32\\user32.dll", platform::Widen(library).c_str(), TRUE));
    ASSERT_TRUE(Open(UserMenu({kNotepad})));

    // The wizard's Browse button puts the chosen path in the path box.
    HWND wizard = OpenBy(editor::kAddButton, editor::kWizardClass, "New Shortcut");
    ASSERT_NE(wizard, nullptr);
    PostClick(Control(wizard, editor::kWizardBrowse));
    AnswerOpenDialog("Select Program", library);
    EXPECT_TRUE(WaitUntil([&] { return GetText(Control(wizard, editor::kWizardPath)) == library; }))
        << GetText(Control(wizard, editor::kWizardPath));
    Click(Control(wizard, editor::kWizardCancel));
    ExpectClosed(wizard);

    // The chooser counts the icons of the library it was given and stores its path.
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    HWND chooser = OpenBy(editor::kChangeIconButton, editor::kChooserClass, "Select Icon");
    ASSERT_NE(chooser, nullptr);
    PostClick(Control(chooser, editor::kChooserLibrary));
    AnswerOpenDialog("Select a DLL or EXE which includes Icons", library);
    HWND count = Control(chooser, editor::kChooserCount);
    ASSERT_TRUE(WaitUntil([&] { return GetText(count) == "7 Icons"; })) << GetText(count);
    ClickIcon(Control(chooser, editor::kChooserGrid), 1);
    EXPECT_TRUE(
        WaitUntil([&] { return ListViewSelection(Control(chooser, editor::kChooserGrid)) == 1; }));
    Click(Control(chooser, editor::kChooserOk));
    ExpectClosed(chooser);
    EXPECT_EQ(Decoded(File()).Items,
              (std::vector<MenuItem>{{"Notepad", kNotepad.Target, "", "", library, "1"}}));
}

}  // namespace

namespace {

TEST_F(DialogsTest, TheChooserShowsALibraryOf300IconsAtOnceAndDoubleClickIsOk) {
    const std::string library = WinPath(MANY_ICONS);
    const std::string menu =
        UserMenu({{"Many", "C:\\windows\\notepad.exe", "", "", library, "150"}});
    ASSERT_TRUE(Open(menu));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    // How fast they show is bench/win/icon_chooser_bench.cpp's to tell.
    HWND chooser = OpenBy(editor::kChangeIconButton, editor::kChooserClass, "Select Icon");
    ASSERT_NE(chooser, nullptr);
    HWND grid = Control(chooser, editor::kChooserGrid);
    ASSERT_TRUE(WaitUntil([&] {
        return IsVisible(grid) && ListViewCount(grid) == 300 && ListViewSelection(grid) == 150;
    })) << ListViewCount(grid);
    EXPECT_EQ(GetText(Control(chooser, editor::kChooserCount)), "300 Icons");
    // The chosen icon is scrolled into sight.
    const std::optional<RECT> chosen = ListViewIconRect(grid, 150);
    ASSERT_TRUE(chosen.has_value());
    RECT box{};
    GetWindowRect(grid, &box);
    EXPECT_TRUE(chosen->top >= box.top && chosen->bottom <= box.bottom) << "scrolled into view";
    Shoot("icon-chooser-300", chooser);

    // A double click chooses and closes, as OK does.
    const std::optional<RECT> other = ListViewIconRect(grid, 151);
    ASSERT_TRUE(other.has_value());
    const POINT at{(other->left + other->right) / 2, (other->top + other->bottom) / 2};
    ASSERT_TRUE(LeftClickAt(at, false));
    ASSERT_TRUE(LeftClickAt(at, false));
    ExpectClosed(chooser);
    EXPECT_EQ(menufile::ReadMenu(File()).Items.at(0),
              (MenuItem{"Many", "C:\\windows\\notepad.exe", "", "", library, "151"}));
}

}  // namespace
