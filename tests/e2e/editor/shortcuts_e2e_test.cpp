// tvledit.exe's "Shortcuts" tab under Wine: the boxes make and remove the menu's shell links in
// the Start menu and on the desktop, the key box rewrites them, a link of the same name that
// belongs to something else is kept, and a link made here pops the menu up under its own icon.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/model/editor_messages.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "platform/text_win.h"
#include "shortcut_sandbox.h"
#include "winauto.h"

namespace {

using namespace winauto;
using shortcuts::LinkFields;
using shortcuts::ReadLink;

constexpr char kPopupClass[] = "TarvelMenuPopup";
const std::string kBody =
    "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n";
const std::string kMenu = "BM picture <" + kBody;

// A 32x32 icon file of its own: red above, blue below, a white square in the middle; unlike
// any icon of the system or the programs.
std::string OwnIconFile() {
    constexpr int kSize = 32;
    std::string ico;
    auto put16 = [&](unsigned v) {
        ico += static_cast<char>(v & 0xFF);
        ico += static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](unsigned v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const unsigned bytes = 40 + kSize * kSize * 4 + kSize * 4;
    put16(0), put16(1), put16(1);  // an icon file of one image
    ico += static_cast<char>(kSize), ico += static_cast<char>(kSize), ico += '\0', ico += '\0';
    put16(1), put16(32), put32(bytes), put32(6 + 16);  // planes, bits, size, offset
    put32(40), put32(kSize), put32(kSize * 2), put16(1), put16(32);
    for (int i = 0; i < 6; ++i) {
        put32(0);  // no compression, no sizes or colours
    }
    for (int y = kSize - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < kSize; ++x) {
            const bool middle = x >= 12 && x < 20 && y >= 12 && y < 20;
            put32(middle ? 0xFFFFFFFFu : (y < kSize / 2 ? 0xFFE01010u : 0xFF1030E0u));
        }
    }
    ico.append(kSize * 4, '\0');  // the mask: all shown
    return ico;
}

// The icon the shell shows for a file, from its system image list: its large icon of a link
// can be another (see WINE.md).
std::vector<std::uint32_t> ShellIconPixels(const std::string& path) {
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(platform::Widen(path).c_str(), 0, &info, sizeof info,
                       SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    if (list == nullptr) {
        return {};
    }
    HICON icon = ImageList_GetIcon(list, info.iIcon, ILD_NORMAL);
    std::vector<std::uint32_t> pixels =
        icon != nullptr ? IconPixels(icon) : std::vector<std::uint32_t>{};
    if (icon != nullptr) {
        DestroyIcon(icon);
    }
    return pixels;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

constexpr WORD kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;

class ShortcutsFixture : public EditorFixture {
protected:
    ShortcutsFixture(const char* menuName, const char* linkName)
        : EditorFixture("e2e shortcuts ", menuName), m_sandbox(linkName, m_editor) {
        m_editorExe = m_sandbox.EditorExe();
    }
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(m_sandbox.Ready()) << "programs copied and the desktop moved";
        ASSERT_FALSE(FileExists(m_sandbox.StartMenuLink())) << "left by an earlier run";
    }

    // Clicks the tab at `index`, as a user does.
    void ClickTab(int index) {
        HWND tabs = Item(editor::kTabs);
        // The tab control writes the rectangle where it is told: into memory of its process.
        void* remote = VirtualAllocEx(m_editor.handle(), nullptr, sizeof(RECT),
                                      MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        ASSERT_NE(remote, nullptr);
        RECT r{};
        ASSERT_NE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(remote)),
                  0);
        ASSERT_TRUE(ReadProcessMemory(m_editor.handle(), remote, &r, sizeof r, nullptr));
        VirtualFreeEx(m_editor.handle(), remote, 0, MEM_RELEASE);
        ASSERT_TRUE(LeftClickAt(
            ClientToScreenAt(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2), false));
        ASSERT_TRUE(WaitUntil([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index; }));
    }
    void ShowShortcuts() {
        ClickTab(editor::kShortcutsTabIndex);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kStartMenuCheck)); }));
        EXPECT_FALSE(IsWindowVisible(Item(editor::kChangeFontButton)));
        EXPECT_FALSE(IsWindowVisible(Item(editor::kItemList)));
    }
    [[nodiscard]] bool Ticked(int id) const {
        return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    [[nodiscard]] WORD BoxKey() const {
        return LOWORD(SendMessageW(Item(editor::kHotKeyBox), HKM_GETHOTKEY, 0, 0));
    }
    // The key set in the box and its change told, as the box itself tells it.
    void SetBoxKey(WORD key) {
        HWND box = Item(editor::kHotKeyBox);
        SendMessageW(box, HKM_SETHOTKEY, key, 0);
        SendMessageW(m_main, WM_COMMAND, MAKEWPARAM(editor::kHotKeyBox, EN_CHANGE),
                     reinterpret_cast<LPARAM>(box));
    }
    // What a link of ours must hold.
    void ExpectOurs(const std::string& link, WORD key) {
        SCOPED_TRACE(link);
        const std::optional<LinkFields> fields = ReadLink(link);
        ASSERT_TRUE(fields.has_value()) << "no readable link";
        EXPECT_EQ(Lower(fields->Target), Lower(m_sandbox.EnginePath()));
        EXPECT_EQ(fields->Arguments, Quote(m_menu));
        EXPECT_EQ(fields->WorkingDirectory, m_dir.path());
        EXPECT_EQ(fields->IconPath, m_menu);
        EXPECT_EQ(fields->IconIndex, 0);
        EXPECT_EQ(fields->HotKey, key);
        EXPECT_EQ(fields->Description, "Tarvel menu");
    }
    bool LinkKeyBecomes(const std::string& link, WORD key) {
        return WaitUntil([&] {
            const auto fields = ReadLink(link);
            return fields && fields->HotKey == key;
        });
    }

    shortcuts::Sandbox m_sandbox;
};

class ShortcutsTest : public ShortcutsFixture {
protected:
    ShortcutsTest() : ShortcutsFixture("shortcut menu.tvl", "shortcut menu.lnk") {}
};

class UnicodeShortcutsTest : public ShortcutsFixture {
protected:
    UnicodeShortcutsTest()
        : ShortcutsFixture("M\xC3\xA9nu \xCE\xA9.tvl", "M\xC3\xA9nu \xCE\xA9.lnk") {}
};

TEST_F(ShortcutsTest, BoxesMakeAndRemoveTheLinksAndTheKeyRewritesBoth) {
    ASSERT_TRUE(Open(kMenu));
    ShowShortcuts();
    EXPECT_FALSE(Ticked(editor::kStartMenuCheck));
    EXPECT_FALSE(Ticked(editor::kDesktopCheck));
    EXPECT_EQ(BoxKey(), 0);
    const std::string start = m_sandbox.StartMenuLink();
    const std::string desktop = m_sandbox.DesktopLink();

    Click(Item(editor::kStartMenuCheck));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(start); })) << start;
    ExpectOurs(start, 0);
    EXPECT_TRUE(Ticked(editor::kStartMenuCheck));
    EXPECT_FALSE(FileExists(desktop));
    Click(Item(editor::kDesktopCheck));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(desktop); })) << desktop;
    ExpectOurs(desktop, 0);
    EXPECT_TRUE(Ticked(editor::kDesktopCheck));

    // Keys typed into the box: both links take each combination.
    ASSERT_TRUE(ForceForeground(m_main));
    ASSERT_TRUE(LeftClickAt(CenterOf(Item(editor::kHotKeyBox)), false));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(m_main) == Item(editor::kHotKeyBox); }));
    SendKey('T', {VK_CONTROL, VK_MENU});
    const WORD ctrlAltT = MAKEWORD('T', kCtrlAlt);
    EXPECT_TRUE(WaitUntil([&] { return BoxKey() == ctrlAltT; })) << std::hex << BoxKey();
    EXPECT_TRUE(LinkKeyBecomes(start, ctrlAltT));
    EXPECT_TRUE(LinkKeyBecomes(desktop, ctrlAltT));
    // A bare key would take it from every program: it comes with Ctrl+Alt.
    SendKey('K');
    EXPECT_TRUE(WaitUntil([&] { return BoxKey() == MAKEWORD('K', kCtrlAlt); }))
        << std::hex << BoxKey();
    EXPECT_TRUE(LinkKeyBecomes(desktop, MAKEWORD('K', kCtrlAlt)));
    // Alt with a letter in the box is a key for the shortcuts, not the "None" button's mnemonic.
    SendKey('N', {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return BoxKey() == MAKEWORD('N', HOTKEYF_ALT); }))
        << std::hex << BoxKey();
    EXPECT_TRUE(LinkKeyBecomes(start, MAKEWORD('N', HOTKEYF_ALT)));
    EXPECT_EQ(FocusOf(m_main), Item(editor::kHotKeyBox));
    // The box's own notice of a change.
    const WORD ctrlShiftF5 = MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    SetBoxKey(ctrlShiftF5);
    EXPECT_TRUE(LinkKeyBecomes(start, ctrlShiftF5));
    EXPECT_TRUE(LinkKeyBecomes(desktop, ctrlShiftF5));
    Click(Item(editor::kNoHotKeyButton));
    EXPECT_EQ(BoxKey(), 0);
    EXPECT_TRUE(LinkKeyBecomes(start, 0));
    EXPECT_TRUE(LinkKeyBecomes(desktop, 0));
    SetBoxKey(ctrlAltT);
    ASSERT_TRUE(LinkKeyBecomes(desktop, ctrlAltT));
    ExpectOurs(start, ctrlAltT);
    ExpectOurs(desktop, ctrlAltT);

    // Started again, the editor shows what is there, the key included.
    m_editor.Kill();
    ASSERT_TRUE(m_editor.WaitForExit().has_value());
    ASSERT_TRUE(Open(kMenu));
    ShowShortcuts();
    EXPECT_TRUE(Ticked(editor::kStartMenuCheck));
    EXPECT_TRUE(Ticked(editor::kDesktopCheck));
    EXPECT_EQ(BoxKey(), ctrlAltT);

    // A link deleted in Explorer meanwhile: the box shows it gone when the tab shows again.
    ASSERT_TRUE(DeleteFileW(platform::Widen(desktop).c_str()));
    ClickTab(editor::kContentsTabIndex);
    ShowShortcuts();
    EXPECT_FALSE(Ticked(editor::kDesktopCheck));
    EXPECT_TRUE(Ticked(editor::kStartMenuCheck));

    Click(Item(editor::kStartMenuCheck));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(start); })) << "unticked: the link is gone";
    EXPECT_FALSE(Ticked(editor::kStartMenuCheck));
    EXPECT_FALSE(FileExists(desktop));
    Click(Item(editor::kDesktopCheck));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(desktop); }));
    ExpectOurs(desktop, ctrlAltT);  // a new link takes the key the box shows
    Click(Item(editor::kDesktopCheck));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(desktop); }));
    EXPECT_EQ(File(), kMenu) << "the menu file is never touched";
}

TEST_F(ShortcutsTest, ALinkOfTheSameNameThatStartsSomethingElseIsKeptAndNamed) {
    const std::string start = m_sandbox.StartMenuLink();
    const std::string desktop = m_sandbox.DesktopLink();
    CreateDirectoryW(platform::Widen(shortcuts::Folder(start)).c_str(), nullptr);
    ASSERT_TRUE(shortcuts::WriteLink(start, "C:\\windows\\notepad.exe", "-x"));
    ASSERT_TRUE(WriteFileBytes(desktop, "not a link"));
    const std::string startBytes = ReadFileBytes(start).value_or("");
    ASSERT_FALSE(startBytes.empty());

    ASSERT_TRUE(Open(kMenu));
    ShowShortcuts();
    EXPECT_FALSE(Ticked(editor::kStartMenuCheck)) << "not ours";
    EXPECT_FALSE(Ticked(editor::kDesktopCheck));

    PostClick(Item(editor::kStartMenuCheck));
    const std::optional<std::string> said =
        AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK);
    ASSERT_TRUE(said.has_value()) << "the user is told";
    EXPECT_NE(Lower(*said).find("notepad.exe"), std::string::npos) << *said;
    EXPECT_TRUE(WaitUntil([&] { return !Ticked(editor::kStartMenuCheck); }));
    EXPECT_EQ(ReadFileBytes(start).value_or(""), startBytes) << "kept as it was";

    PostClick(Item(editor::kDesktopCheck));
    EXPECT_TRUE(AnswerMessageBox(m_editor.pid(), editor::kErrorTitle, IDOK).has_value());
    EXPECT_TRUE(WaitUntil([&] { return !Ticked(editor::kDesktopCheck); }));
    EXPECT_EQ(ReadFileBytes(desktop).value_or(""), "not a link");

    // A new key rewrites only links of ours: there are none.
    SetBoxKey(MAKEWORD('T', kCtrlAlt));
    Pump(Millis(300));
    EXPECT_EQ(ReadFileBytes(start).value_or(""), startBytes);
    EXPECT_EQ(ReadFileBytes(desktop).value_or(""), "not a link");
    EXPECT_EQ(FindWindowOf(m_editor.pid(), "#32770", editor::kErrorTitle), nullptr);
}

TEST_F(UnicodeShortcutsTest, TheLinkOfAUnicodeMenuPopsItUpUnderItsOwnIcon) {
    const std::string icon = OwnIconFile();
    ASSERT_TRUE(Open(icon + kBody));
    ShowShortcuts();
    Click(Item(editor::kStartMenuCheck));
    Click(Item(editor::kDesktopCheck));
    const std::string start = m_sandbox.StartMenuLink();
    const std::string desktop = m_sandbox.DesktopLink();
    ASSERT_TRUE(WaitUntil([&] { return FileExists(start) && FileExists(desktop); }))
        << "named after the menu: " << start;
    ExpectOurs(start, 0);
    ExpectOurs(desktop, 0);

    // The shell shows both links under the menu's own picture.
    const std::string iconFile = m_dir.File("own.ico");
    ASSERT_TRUE(WriteFileBytes(iconFile, icon));
    HICON own = nullptr;
    ASSERT_EQ(ExtractIconExW(platform::Widen(iconFile).c_str(), 0, &own, nullptr, 1), 1u);
    const std::vector<std::uint32_t> expected = IconPixels(own);
    DestroyIcon(own);
    EXPECT_EQ(ShellIconPixels(start), expected) << "the Start menu link's icon";
    EXPECT_EQ(ShellIconPixels(desktop), expected) << "the desktop link's icon";

    // Started as the shell starts it, the link pops the menu up with the engine beside the
    // editor.
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    const std::wstring file = platform::Widen(start);
    run.lpFile = file.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&run)) << GetLastError();
    platform::UniqueHandleK engine(run.hProcess);
    HWND popup = WaitForWindow(0, kPopupClass, nullptr);
    ASSERT_NE(popup, nullptr) << "the menu pops up";
    DWORD pid = 0;
    GetWindowThreadProcessId(popup, &pid);
    EXPECT_EQ(Lower(ProcessImagePath(pid)), Lower(m_sandbox.EnginePath()));
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(popup));
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        if (WaitForSingleObject(h, 5000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the engine did not end";
            TerminateProcess(h, 1);
        }
        CloseHandle(h);
    }

    Click(Item(editor::kStartMenuCheck));
    Click(Item(editor::kDesktopCheck));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(start) && !FileExists(desktop); }));
}

}  // namespace
