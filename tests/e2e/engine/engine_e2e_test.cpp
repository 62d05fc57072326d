// tvlengin.exe under Wine: where the menu opens, how keys and clicks pick an item, what is
// launched, when the menu ends, and names in every script.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/menu_model.h"
#include "menufile/display_path.h"
#include "menufile/menu_file.h"
#include "platform/text_win.h"
#include "tests/support/memory_file_system.h"
#include "winauto.h"

namespace {

using namespace winauto;

constexpr char kPopupClass[] = "TarvelMenuPopup";
constexpr int kLargeCellPx = 40;  // 32-pixel icon + 120 twips, 8-point text
constexpr int kSmallCellPx = 24;  // 16-pixel icon + 120 twips

std::string MenuBytes(const std::vector<menufile::MenuItem>& items, bool smallIcons = false,
                      const std::string& fontSize = "8.25") {
    std::string s = "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n";
    s +=
        menufile::FormatSettingsLine({smallIcons ? "1" : "0", "MS Sans Serif", fontSize, "0", "0"});
    for (const auto& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

// A directory pointer over `folder` (no backslash at its end).
std::string PointerMenu(const std::string& folder, const std::string& pattern,
                        const std::string& showFolders, const std::string& font = "MS Sans Serif") {
    return "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"" + font + "\",8.25,0,0\r\n\"" + folder +
           "\\\",\"" + pattern + "\", " + showFolders + ", 0, 0";
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Folders and files named in UTF-8, whatever the code page.
bool CreateFolder(const std::string& path) {
    return ::CreateDirectoryW(platform::Widen(path).c_str(), nullptr) != 0;
}

bool CopyTo(const std::string& from, const std::string& to) {
    return ::CopyFileW(platform::Widen(from).c_str(), platform::Widen(to).c_str(), FALSE) != 0;
}

// The height of a pop-up of `cells` cells of the 8-point font with large icons.
int PopupHeight(int cells) {
    return static_cast<int>(std::nearbyint((cells * 600 + 70) / 15.0));
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_marker = m_dir.File("launched.txt");
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", m_marker.c_str());
        ParkMouse();
    }
    void TearDown() override { ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", nullptr); }

    // Items that launch the recorder with their number, starting in a folder of their own.
    std::vector<menufile::MenuItem> RecorderItems(int count, std::size_t nameLength = 0) {
        const std::string startIn = m_dir.File("start in");
        ::CreateDirectoryA(startIn.c_str(), nullptr);
        std::vector<menufile::MenuItem> items;
        for (int i = 0; i < count; ++i) {
            std::string name = "Item " + std::to_string(i);
            name.resize(std::max(name.size(), nameLength), 'x');
            items.push_back({name, ExeDir() + "launch_recorder.exe",
                             "item" + std::to_string(i) + " second, third", startIn, "", "0"});
        }
        return items;
    }

    // Writes the menu, puts the pointer at `at` and starts the engine on it.
    HWND Open(const std::string& bytes, POINT at) {
        return OpenAt(m_dir.File("my menu, test.tvl"), bytes, at);
    }

    // The same with the menu file at `path`.
    HWND OpenAt(const std::string& path, const std::string& bytes, POINT at) {
        m_menu = path;
        EXPECT_TRUE(WriteFileBytes(m_menu, bytes));
        EXPECT_TRUE(MoveMouse(at));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(m_menu), m_dir.path());
        EXPECT_TRUE(m_engine);
        return WaitForWindow(m_engine.pid(), kPopupClass, nullptr);
    }

    std::optional<std::string> Launched() {
        if (!WaitUntil([&] { return FileExists(m_marker); })) {
            return std::nullopt;
        }
        return ReadFileBytes(m_marker);
    }

    // A menu of the one item opening `target`, chosen with the keys: the text of the error the
    // engine then shows, answered with OK.
    std::optional<std::string> FailedLaunchMessage(const std::string& name,
                                                   const std::string& target) {
        HWND popup = Open(MenuBytes({{name, target, "", "", "", "0"}}), {200, 200});
        EXPECT_NE(popup, nullptr);
        if (!popup) {
            return std::nullopt;
        }
        PostKey(popup, VK_DOWN);
        PostKey(popup, VK_RETURN);
        return AnswerMessageBox(m_engine.pid(), "Error!!", IDOK);
    }

    void ExpectEndsWithoutLaunch() {
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
        EXPECT_FALSE(FileExists(m_marker));
    }

    // Opens the pop-up, chooses item `index` with the keys and returns what was launched; the
    // marker is cleared for the next launch.
    std::string LaunchItem(const std::string& bytes, int index) {
        HWND popup = Open(bytes, {150, 150});
        EXPECT_NE(popup, nullptr);
        if (!popup) {
            return {};
        }
        for (int i = 0; i <= index; ++i) {
            PostKey(popup, VK_DOWN);
        }
        PostKey(popup, VK_RETURN);
        const std::string launched = Launched().value_or("");
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
        ::DeleteFileW(platform::Widen(m_marker).c_str());
        return launched;
    }

    // The tooltip's text once it shows over a point of the pop-up (client pixels).
    std::string TooltipOver(HWND popup, int x, int y) {
        // Made after the first paint: only a move after that shows it.
        EXPECT_TRUE(WaitUntil([&] {
            const std::vector<HWND> windows = TopWindows(m_engine.pid());
            return std::any_of(windows.begin(), windows.end(),
                               [](HWND hwnd) { return ClassOf(hwnd) == TOOLTIPS_CLASSA; });
        }));
        EXPECT_TRUE(MoveMouse(ClientToScreenAt(popup, x, y)));
        std::string text;
        EXPECT_TRUE(WaitUntil([&] {
            const HWND tip = FindWindowOf(m_engine.pid(), TOOLTIPS_CLASSA, nullptr);
            text = tip ? GetText(tip) : std::string();
            return !text.empty();
        }));
        return text;
    }

    // Registers files ending in .tvltest as documents the recorder opens, so a launch tells
    // which file was chosen. Per machine: Wine looks types up only there.
    static void RegisterRecorderType() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ".tvltest", 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("tvltestfile"), 12);
        ::RegCloseKey(key);
        const std::string command = Quote(ExeDir() + "launch_recorder.exe") + " \"%1\"";
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, "tvltestfile\\shell\\open\\command", 0,
                                    nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>(command.size() + 1));
        ::RegCloseKey(key);
    }

    TempDir m_dir{"engine e2e "};
    std::string m_marker;
    std::string m_menu;
    Process m_engine;
};

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

bool OnTheScreen(const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= ::GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= ::GetSystemMetrics(SM_CYSCREEN) && r.right > r.left && r.bottom > r.top;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST_F(EngineTest, OpensAtThePointerAndKeepsInsideTheScreen) {
    const std::string menu = MenuBytes(RecorderItems(3));
    const int height = static_cast<int>(std::nearbyint((3 * 600 + 70) / 15.0));

    HWND popup = Open(menu, {100, 120});
    ASSERT_NE(popup, nullptr);
    RECT r = WindowRect(popup);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.bottom - r.top, height);
    const int width = r.right - r.left;
    EXPECT_GT(width, 1000 / 15);
    EXPECT_TRUE(::GetWindowLongA(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongA(popup, GWL_STYLE) & WS_CAPTION & ~WS_DLGFRAME);
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    // Near the right edge it opens leftward, its right edge at the pointer; near the bottom it
    // opens upward, its bottom edge at the pointer.
    popup = Open(menu, {1010, 740});
    ASSERT_NE(popup, nullptr);
    r = WindowRect(popup);
    EXPECT_NEAR(r.right, 1010, 1);
    EXPECT_NEAR(r.bottom, 740, 1);
    EXPECT_EQ(r.right - r.left, width);
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    // Too little room above the pointer: it sits on the bottom of the screen.
    popup = Open(MenuBytes(RecorderItems(12)), {300, 400});
    ASSERT_NE(popup, nullptr);
    r = WindowRect(popup);
    EXPECT_EQ(r.bottom, 768);
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(EngineTest, DownDownEnterOpensTheSecondItemWithItsArgumentsAndFolder) {
    HWND popup = Open(MenuBytes(RecorderItems(3)), {200, 200});
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item1")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=second,")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=third")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "cwd=" + m_dir.File("start in"))) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value()) << "the menu ends after a launch";
}

TEST_F(EngineTest, ARightClickShowsTheItemsShellMenuAndEscapeReturnsToTheMenu) {
    HWND popup = Open(MenuBytes(RecorderItems(3)), {200, 200});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(RightClickAt(ClientToScreenAt(popup, 80, kLargeCellPx + 20)));
    HWND shellMenu = WaitForWindow(m_engine.pid(), "#32768", nullptr);
    ASSERT_NE(shellMenu, nullptr) << "the shell's context menu of the item's target";
    Pump(Millis(200));
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-context-menu.bmp"));
    Pump(Millis(300));
    EXPECT_TRUE(m_engine.Running()) << "the menu stays while its context menu is open";
    EXPECT_FALSE(FileExists(m_marker));

    SendKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(shellMenu); }));
    Pump(Millis(300));
    EXPECT_TRUE(m_engine.Running()) << "Escape closes the context menu, not the menu";
    EXPECT_TRUE(::IsWindowVisible(popup));

    // The menu goes on as before.
    ASSERT_TRUE(LeftClickAt(ClientToScreenAt(popup, 80, 2 * kLargeCellPx + 20)));
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item2")) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, TheAppsKeyShowsTheShellMenuWhoseCommandRunsAndEndsTheMenu) {
    HWND popup = Open(MenuBytes(RecorderItems(3)), {200, 200});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ForceForeground(popup));
    SendKey(VK_DOWN);
    SendKey(VK_APPS);
    HWND shellMenu = WaitForWindow(m_engine.pid(), "#32768", nullptr);
    ASSERT_NE(shellMenu, nullptr);
    // Beside the first item, not at the pointer.
    const RECT menuRect = WindowRect(shellMenu);
    const RECT popupRect = WindowRect(popup);
    EXPECT_NEAR(menuRect.top, popupRect.top + kLargeCellPx, 4);
    // Its command Open (Wine lists Select, then Open) opens the item, without the item's
    // arguments as Explorer would, and the menu ends.
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(m_engine.WaitForExit().has_value());

    // An item whose target is not there has no context menu: nothing happens.
    const std::vector<menufile::MenuItem> gone = {
        {"Gone", m_dir.File("nowhere\\gone.exe"), "", "", "", "0"}};
    popup = Open(MenuBytes(gone), {200, 200});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(RightClickAt(ClientToScreenAt(popup, 80, 20)));
    Pump(Millis(500));
    EXPECT_EQ(FindWindowOf(m_engine.pid(), "#32768", nullptr), nullptr);
    EXPECT_TRUE(m_engine.Running());
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, CtrlShiftEnterOpensTheItemAsAdministrator) {
    // Wine has no elevation: the verb "runas" opens the item as it is.
    HWND popup = Open(MenuBytes(RecorderItems(3)), {200, 200});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ForceForeground(popup));
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    SendKey(VK_RETURN, {VK_CONTROL, VK_SHIFT});
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item1")) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, AnItemThatCannotBeOpenedSaysWhichAndWhyThenEnds) {
    const std::string target = m_dir.File("moved away\\Old tool.exe");
    auto text = FailedLaunchMessage("Old tool", target);
    ASSERT_TRUE(text.has_value()) << "no message: the failure went unsaid";
    EXPECT_NE(text->find("cannot be opened"), std::string::npos) << *text;
    EXPECT_NE(text->find(menufile::ShortenPath(target)), std::string::npos) << *text;
    const std::size_t reason = text->rfind('\n');
    ASSERT_NE(reason, std::string::npos) << *text;
    EXPECT_GT(text->size() - reason, 5u) << "the system's reason: " << *text;
    EXPECT_EQ(text->find("no reason"), std::string::npos) << *text;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    EXPECT_FALSE(FileExists(m_marker));
}

// The system's words name the item where they have a place for it ("Bad EXE format for %1.").
TEST_F(EngineTest, AProgramThatIsNoProgramIsNamedInTheSystemsReason) {
    const std::string target = m_dir.File("broken tool.exe");
    ASSERT_TRUE(WriteFileBytes(target, "MZ, but not a program"));
    auto text = FailedLaunchMessage("Broken", target);
    ASSERT_TRUE(text.has_value()) << "no message: the failure went unsaid";
    const std::size_t reason = text->rfind('\n');
    ASSERT_NE(reason, std::string::npos) << *text;
    EXPECT_EQ(text->find('%'), std::string::npos) << "an insert left unfilled: " << *text;
    EXPECT_NE(text->find(target, reason), std::string::npos) << *text;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

// Wine keeps a work area set with SPI_SETWORKAREA to the process that set it, so no bar can be
// reserved for the engine here; where the work area lies is tried natively. This checks that
// the engine takes the work area the system reports, with the pointer on the screen's last row.
TEST_F(EngineTest, AMenuOpenedAtTheBottomEdgeStaysInsideTheWorkArea) {
    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    HWND popup = Open(MenuBytes(RecorderItems(3)), {300, static_cast<int>(work.bottom) - 1});
    ASSERT_NE(popup, nullptr);
    const RECT r = WindowRect(popup);
    EXPECT_NEAR(r.bottom, work.bottom - 1, 1);
    EXPECT_GE(r.top, work.top);
    EXPECT_EQ(r.bottom - r.top, PopupHeight(3));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(EngineTest, EscapeEndsWithoutOpeningAnything) {
    HWND popup = Open(MenuBytes(RecorderItems(2)), {200, 200});
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(EngineTest, AnotherWindowTakingTheForegroundEndsTheMenu) {
    HWND popup = Open(MenuBytes(RecorderItems(2)), {200, 200});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == popup; }));
    HWND other = ::CreateWindowExA(0, "STATIC", "other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   600, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ForceForeground(other);
    ExpectEndsWithoutLaunch();
    ::DestroyWindow(other);
}

TEST_F(EngineTest, EmptyOrUnreadableMenusSayMenuIsEmpty) {
    const std::vector<std::string> menus = {
        MenuBytes({}), MenuBytes({menufile::MenuItem::Separator()}),
        "1,\"MS Sans Serif\",8.25,0,0\r\n\"a\",\"b\",\"\",\"\",\"\",0\r\n",  // no marker line
        "pic\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans"};                 // cut short
    for (const std::string& bytes : menus) {
        m_menu = m_dir.File("empty.tvl");
        ASSERT_TRUE(WriteFileBytes(m_menu, bytes));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(m_menu), m_dir.path());
        auto text = AnswerMessageBox(m_engine.pid(), "Error!!", IDOK);
        ASSERT_TRUE(text.has_value()) << bytes;
        EXPECT_NE(text->find("Menu is empty."), std::string::npos) << *text;
        EXPECT_NE(text->find("Please run the Menu Editor."), std::string::npos) << *text;
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
        EXPECT_EQ(ReadFileBytes(m_menu), bytes) << "the engine never writes the menu file";
    }
}

TEST_F(EngineTest, ADirectoryPointerListsFoldersThenFilesSorted) {
    // Files of a type the recorder opens, so launching one shows which entry was chosen.
    RegisterRecorderType();

    const std::string folder = m_dir.File("listed");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* sub : {"b", "A"}) {
        ::CreateDirectoryA((folder + "\\" + sub).c_str(), nullptr);
    }
    for (const char* file : {"c.tvltest", "B.tvltest", "note.txt"}) {
        WriteFileBytes(folder + "\\" + file, "x");
    }
    const std::string pointer = "\"" + folder + "\\\",\"*.tvltest\", 1, 0, 0";
    const std::string menu =
        "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n" + pointer;

    HWND popup = Open(menu, {150, 150});
    ASSERT_NE(popup, nullptr);
    RECT r = WindowRect(popup);
    EXPECT_EQ(r.bottom - r.top, static_cast<int>(std::nearbyint((4 * 600 + 70) / 15.0)))
        << "A, b, B.tvltest, c.tvltest";
    for (int i = 0; i < 3; ++i) {
        PostKey(popup, VK_DOWN);
    }
    PostKey(popup, VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_NE(launched->find(folder + "\\B.tvltest"), std::string::npos) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, AnUnfinishedSaveShowsTheLastSavedMenu) {
    // The disk an editor leaves when it dies while shrinking a 4-item menu to 2 items.
    const std::string saved = MenuBytes(RecorderItems(4));
    auto shorter = RecorderItems(2);
    shorter[0].Name = "Renamed";
    const std::string next = MenuBytes(shorter);
    const std::string path = "C:\\menu.tvl";
    platform::MemoryFileSystem disk;
    disk.Put(path, saved);
    disk.CrashAt(8);  // after the journal and the new bytes, before the file is cut to length
    try {
        (void)menufile::CommitMenuFile(disk, path, saved, next);
    } catch (const platform::MemoryFileSystem::SimulatedCrash&) {
    }
    const std::string torn = disk.Get(path).value_or("");
    ASSERT_NE(torn, saved);
    ASSERT_NE(torn, next);

    m_menu = m_dir.File("my menu, test.tvl");
    ASSERT_TRUE(WriteFileBytes(menufile::JournalPath(m_menu),
                               disk.Get(menufile::JournalPath(path)).value_or("")));
    HWND popup = Open(torn, {150, 150});
    ASSERT_NE(popup, nullptr);
    RECT r = WindowRect(popup);
    EXPECT_EQ(r.bottom - r.top, static_cast<int>(std::nearbyint((4 * 600 + 70) / 15.0)));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
    EXPECT_EQ(ReadFileBytes(m_menu), torn) << "the engine repairs nothing: it never writes";
}

TEST_F(EngineTest, Screenshots) {
    const std::string dir = WinPath(SCREENSHOT_DIR);
    HWND popup = Open(MenuBytes(RecorderItems(5), true), {300, 200});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top,
              static_cast<int>(std::nearbyint((5 * 360 + 70) / 15.0)));
    PostKey(popup, VK_DOWN);
    Pump(Millis(200));
    EXPECT_TRUE(SaveScreenshotBmp(dir + "\\engine-small-icons.bmp"));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    auto items = RecorderItems(6, 90);  // names too wide for half the screen get shortened
    items.insert(items.begin() + 2, menufile::MenuItem::Separator());
    popup = Open(MenuBytes(items), {300, 200});
    ASSERT_NE(popup, nullptr);
    EXPECT_LT(WindowRect(popup).right - WindowRect(popup).left, 1024 / 2);
    ASSERT_TRUE(MoveMouse(ClientToScreenAt(popup, 100, kLargeCellPx + 20)));
    Pump(Millis(200));
    EXPECT_TRUE(SaveScreenshotBmp(dir + "\\engine-large-icons-highlighted.bmp"));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    popup = Open(MenuBytes(RecorderItems(60)), {300, 200});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).top, 0);
    EXPECT_EQ(WindowRect(popup).bottom, 768) << "a list taller than the screen fills it";
    ParkMouse();  // out of the window, so only the keys move the highlight
    Pump(Millis(100));
    for (int i = 0; i < 25; ++i) {
        PostKey(popup, VK_DOWN);
    }
    Pump(Millis(200));
    EXPECT_TRUE(SaveScreenshotBmp(dir + "\\engine-scrolled.bmp"));
    PostKey(popup, VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item24")) << *launched;
}

TEST_F(EngineTest, ANameOfTwoMegabytesIsShortenedAndItsItemStillOpens) {
    auto items = RecorderItems(3);
    while (items[1].Name.size() < 2 * 1024 * 1024) {
        items[1].Name += " Wide words";
    }
    HWND popup = Open(MenuBytes(items), {200, 200});
    ASSERT_NE(popup, nullptr) << "the window comes within the usual wait";
    const RECT r = WindowRect(popup);
    EXPECT_TRUE(OnTheScreen(r)) << Text(r);
    EXPECT_LT(r.right - r.left, 1024 / 2 + 1) << "the caption is cut to half the screen";
    EXPECT_EQ(r.bottom - r.top, static_cast<int>(std::nearbyint((3 * 600 + 70) / 15.0)));
    // Resting on the long cell brings up its tooltip, which holds no megabytes to lay out and
    // wraps on the screen. The tooltip is made after the first paint; only a move after that
    // shows it.
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND hwnd : TopWindows(m_engine.pid())) {
            if (ClassOf(hwnd) == TOOLTIPS_CLASSA) {
                return true;
            }
        }
        return false;
    }));
    ASSERT_TRUE(MoveMouse(ClientToScreenAt(popup, 100, kLargeCellPx + 20)));
    HWND tip = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        tip = FindWindowOf(m_engine.pid(), TOOLTIPS_CLASSA, nullptr);
        return tip != nullptr;
    }));
    if (tip) {
        EXPECT_TRUE(OnTheScreen(WindowRect(tip))) << Text(WindowRect(tip));
    }
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-long-name.bmp"));
    ParkMouse();
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item1")) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, DamagedRecordsHideOnlyThemselves) {
    // A record with a quote in its name after the first, and a last record cut short.
    const auto items = RecorderItems(3);
    std::string bytes = MenuBytes({items[0]});
    bytes += "Bad \"name,\"C:\\x.exe\",\"\",\"\",\"\",0\r\n";
    bytes += menufile::FormatItemLine(items[1]);
    bytes += menufile::FormatItemLine(items[2]);
    bytes += "\"Cut short\",\"C:\\x";
    ASSERT_EQ(menufile::ReadMenu(bytes).Status, menufile::ReadStatus::BadValue);

    HWND popup = Open(bytes, {150, 150});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top,
              static_cast<int>(std::nearbyint((3 * 600 + 70) / 15.0)))
        << "the three complete records";
    PostKey(popup, VK_UP);  // from no item, Up goes to the last
    PostKey(popup, VK_RETURN);
    auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=item2")) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    EXPECT_EQ(ReadFileBytes(m_menu), bytes) << "the engine never writes the menu file";

    // Nothing complete to show: no record but a damaged one, or a pointer cut short.
    const std::string head = "pic\r\n<START TVL>\r\n";
    const std::string settings = "0,\"MS Sans Serif\",8.25,0,0\r\n";
    for (const std::string& damaged :
         {head + "\"USERDEF\"\r\n" + settings + "\"Cut short\",\"C:\\x",
          head + "\"DIRPOINT\"\r\n" + settings + "\"C:\\windows\\\",\"*.*\", 1,"}) {
        m_menu = m_dir.File("damaged.tvl");
        ASSERT_TRUE(WriteFileBytes(m_menu, damaged));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(m_menu), m_dir.path());
        auto text = AnswerMessageBox(m_engine.pid(), "Error!!", IDOK);
        ASSERT_TRUE(text.has_value()) << damaged;
        EXPECT_NE(text->find("Menu is empty."), std::string::npos) << *text;
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
    }
}

TEST_F(EngineTest, AbsurdFontSizesStillShowAReadableMenuOnTheScreen) {
    for (const char* size : {"1e300", "5000", "0", "-5"}) {
        for (POINT at : {POINT{200, 150}, POINT{1000, 740}}) {
            HWND popup = Open(MenuBytes(RecorderItems(3), false, size), at);
            ASSERT_NE(popup, nullptr) << size;
            const RECT r = WindowRect(popup);
            EXPECT_TRUE(OnTheScreen(r)) << size << ": " << Text(r);
            // Three cells and 70 twips below them.
            const double cell = (r.bottom - r.top - 70 / 15.0) / 3;
            EXPECT_GE(cell, 10) << size;
            EXPECT_LE(cell, 200) << size;
            EXPECT_LT(r.right - r.left, 1024 / 2 + 1) << size;
            PostKey(popup, VK_ESCAPE);
            ExpectEndsWithoutLaunch();
        }
    }
}

TEST_F(EngineTest, APathThatHoldsNoMenuSaysWhatIsWrongWithIt) {
    const std::string folder = m_dir.File("a folder.tvl");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string locked = m_dir.File("locked.tvl");
    ASSERT_TRUE(WriteFileBytes(locked, MenuBytes(RecorderItems(2))));
    platform::UniqueHfile lock(::CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
    ASSERT_TRUE(lock);
    const std::string longName = m_dir.path() + "\\" + std::string(300, 'n') + ".tvl";
    std::string deep = m_dir.path();
    while (deep.size() < 2000) {
        deep += "\\WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    }
    deep += "\\menu.tvl";

    struct Case {
        std::string path;
        const char* says;
        std::string shows;  // a part of the path the message names
    };
    const Case cases[] = {
        {folder, "names a folder, not a menu file", folder},
        {folder + "\\", "names a folder, not a menu file", folder},
        {m_dir.File("missing.tvl"), "does not exist", m_dir.File("missing.tvl")},
        {m_dir.File("no folder\\missing.tvl"), "does not exist", "no folder\\missing.tvl"},
        {locked, "cannot be read", locked},
        {longName, "too long", m_dir.path().substr(0, 20)},
        {deep, "too long", "...\\menu.tvl"},
    };
    for (const Case& c : cases) {
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(c.path), m_dir.path());
        ASSERT_TRUE(m_engine);
        const HWND box = WaitForWindow(m_engine.pid(), "#32770", "Error!!");
        ASSERT_NE(box, nullptr) << c.path;
        const RECT r = WindowRect(box);
        EXPECT_TRUE(OnTheScreen(r)) << c.path << ": " << Text(r);
        if (c.path == deep) {
            EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-long-path.bmp"));
        }
        auto text = AnswerMessageBox(m_engine.pid(), "Error!!", IDOK);
        ASSERT_TRUE(text.has_value()) << c.path;
        EXPECT_NE(text->find(c.says), std::string::npos) << *text;
        EXPECT_NE(text->find(c.shows), std::string::npos) << *text;
        EXPECT_EQ(text->find("Menu is empty."), std::string::npos) << *text;
        EXPECT_LT(text->size(), 300u) << "a long path is shortened";
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
    }
}

// Names outside the ANSI code page: folder listings, menu paths and the menu's own text, in
// both encodings a menu file is written in.

TEST_F(EngineTest, ADirectoryPointerListsAndOpensNamesOfEveryScript) {
    RegisterRecorderType();
    const std::string folder = m_dir.File("scripts");
    ASSERT_TRUE(CreateFolder(folder));
    std::vector<std::string> names = {"日本語.tvltest", "Ελληνικά.tvltest", "😀 smile.tvltest",
                                      "Été.tvltest", "Привет.tvltest"};
    for (const std::string& name : names) {
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + name, "x")) << name;
    }
    // Liberation Sans has Greek and Cyrillic letters, which Wine's MS Sans Serif lacks: the
    // screenshot shows them (Wine's fonts have no CJK or emoji, drawn as boxes).
    const std::string menu = PointerMenu(folder, "*.tvltest", "0", "Liberation Sans");

    HWND popup = Open(menu, {300, 200});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top, PopupHeight(5));
    PostKey(popup, VK_DOWN);
    Pump(Millis(300));  // the icons come after the first paint
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-unicode-names.bmp"));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    // Each item opens the file of its name: none became "?" on the way.
    std::vector<std::string> opened;
    for (int i = 0; i < 5; ++i) {
        const std::string launched = LaunchItem(menu, i);
        for (const std::string& name : names) {
            if (HasLine(launched, "argv=" + folder + "\\" + name)) {
                opened.push_back(name);
            }
        }
        EXPECT_EQ(opened.size(), static_cast<std::size_t>(i + 1)) << launched;
    }
    std::sort(opened.begin(), opened.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(opened, names);
}

TEST_F(EngineTest, ADirectoryPointerSortsAsExplorerDoes) {
    RegisterRecorderType();
    const std::string folder = m_dir.File("sorted");
    ASSERT_TRUE(CreateFolder(folder));
    for (const char* sub : {"sub10", "sub9"}) {
        ASSERT_TRUE(CreateFolder(folder + "\\" + sub));
    }
    for (const char* file : {"file10", "Frog", "file2", "Été", "Eagle"}) {
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + file + ".tvltest", "x"));
    }
    const std::string menu = PointerMenu(folder, "*.tvltest", "1");
    HWND popup = Open(menu, {150, 150});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top, PopupHeight(7));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();

    // Folders first (sub9, sub10: digits as numbers), then the files; an accented letter
    // among its plain one. The folders would open an Explorer window: only the files are
    // chosen.
    const char* const files[] = {"Eagle", "Été", "file2", "file10", "Frog"};
    for (int i = 0; i < 5; ++i) {
        const std::string launched = LaunchItem(menu, 2 + i);
        EXPECT_TRUE(HasLine(launched, "argv=" + folder + "\\" + files[i] + ".tvltest"))
            << files[i] << ":\n"
            << launched;
    }
}

TEST_F(EngineTest, AMenuFileInACyrillicFolderOpens) {
    const std::string folder = m_dir.File("Меню");
    ASSERT_TRUE(CreateFolder(folder));
    const std::string startIn = folder + "\\Старт";
    ASSERT_TRUE(CreateFolder(startIn));
    auto items = RecorderItems(2);
    items[1].Name = "Инструмент";
    items[1].Arguments = "первый второй";
    items[1].StartIn = startIn;

    HWND popup = OpenAt(folder + "\\Инструменты.tvl", MenuBytes(items), {150, 150});
    ASSERT_NE(popup, nullptr) << "the path came through whole";
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top, PopupHeight(2));
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    const auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=первый")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=второй")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "cwd=" + startIn)) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());

    // A path that holds no menu is named in its own letters.
    const std::string missing = folder + "\\Нет такого.tvl";
    m_engine = Start(WinPath(TVLENGIN_EXE), Quote(missing), m_dir.path());
    const auto text = AnswerMessageBox(m_engine.pid(), "Error!!", IDOK);
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find("does not exist"), std::string::npos) << *text;
    EXPECT_NE(text->find("\\Нет такого.tvl"), std::string::npos) << *text;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(EngineTest, AnAnsiMenuFileShowsItsTextInTheCodePage) {
    // Windows-1252, as menu files were always written: "Café" with é as the one byte E9.
    const std::string startIn = m_dir.File("Café");
    ASSERT_TRUE(CreateFolder(startIn));
    // Seven times over is wider than half the screen: the caption is shortened.
    const std::string words = std::string("Caf\xE9 cr\xE8me br\xFBl\xE9") + "e ";
    std::string longName;
    std::string expected;
    for (int i = 0; i < 7; ++i) {
        longName += words;
        expected += "Café crème brûlée ";
    }
    auto items = RecorderItems(2);
    items[0].Name = "Caf\xE9";
    items[0].Arguments = std::string("caf\xE9 cr\xE8me");
    items[0].StartIn = m_dir.path() + "\\Caf\xE9";
    items[1].Name = longName;
    const std::string ansi = MenuBytes(items);
    ASSERT_FALSE(menufile::IsValidUtf8(ansi));

    HWND popup = Open(ansi, {150, 150});
    ASSERT_NE(popup, nullptr);
    const int ansiWidth = WindowRect(popup).right - WindowRect(popup).left;
    EXPECT_LT(ansiWidth, 1024 / 2 + 1) << "the long name is shortened";
    // The long name's tooltip shows it whole, in the letters it was written in.
    EXPECT_EQ(TooltipOver(popup, 100, kLargeCellPx + 20), expected);
    ParkMouse();
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    const auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_TRUE(HasLine(*launched, "argv=café")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=crème")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "cwd=" + startIn)) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());

    // The same menu in UTF-8 draws the same captions, so the window is as wide.
    ::DeleteFileW(platform::Widen(m_marker).c_str());
    items[0].Name = "Café";
    items[0].Arguments = "café crème";
    items[0].StartIn = startIn;
    items[1].Name = expected;
    const std::string utf8 = MenuBytes(items);
    ASSERT_TRUE(menufile::IsValidUtf8(utf8));
    popup = Open(utf8, {150, 150});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).right - WindowRect(popup).left, ansiWidth);
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(EngineTest, AUtf8MenuFileShowsAndOpensAJapaneseItem) {
    // A copy of the recorder under a Japanese name, started in a Japanese folder.
    const std::string tool = m_dir.File("ツール.exe");
    ASSERT_TRUE(CopyTo(ExeDir() + "launch_recorder.exe", tool));
    const std::string startIn = m_dir.File("作業");
    ASSERT_TRUE(CreateFolder(startIn));
    std::string longName;
    while (longName.size() < 1200) {
        longName += "とても長い日本語の名前 😀 ";
    }
    const std::vector<menufile::MenuItem> items = {
        {"日本語のメモ", tool, "引数 二番目", startIn, "", "0"},
        {longName, tool, "長い", startIn, "", "0"},
    };
    const std::string utf8 = MenuBytes(items);
    ASSERT_TRUE(menufile::IsValidUtf8(utf8));

    HWND popup = Open(utf8, {150, 150});
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(WindowRect(popup).bottom - WindowRect(popup).top, PopupHeight(2));
    EXPECT_LT(WindowRect(popup).right - WindowRect(popup).left, 1024 / 2 + 1);
    // Cut to the tooltip's length at a whole character, whatever the script.
    const std::string tip = TooltipOver(popup, 100, kLargeCellPx + 20);
    EXPECT_TRUE(menufile::IsValidUtf8(tip));
    ASSERT_GT(tip.size(), 3u);
    EXPECT_EQ(tip.substr(tip.size() - 3), "...");
    EXPECT_EQ(longName.compare(0, tip.size() - 3, tip, 0, tip.size() - 3), 0) << tip;
    EXPECT_GT(tip.size(), engine::kTooltipLength - 4);
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-japanese-menu.bmp"));
    ParkMouse();
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    const auto launched = Launched();
    ASSERT_TRUE(launched.has_value());
    EXPECT_NE(launched->find("ツール.exe"), std::string::npos) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=引数")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "argv=二番目")) << *launched;
    EXPECT_TRUE(HasLine(*launched, "cwd=" + startIn)) << *launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

// The pixels of row `row`'s icon square (client 8,4 to 40,36 of a large-icon cell), from the
// screen.
std::vector<std::uint32_t> IconSquare(HWND popup, int row) {
    const POINT p = ClientToScreenAt(popup, 8, 4 + 40 * row);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, 32, 32, screen, p.x, p.y, SRCCOPY);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + 32 * 32);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(dib);
    for (std::uint32_t& px : pixels) {
        px &= 0xFFFFFF;
    }
    return pixels;
}

bool Blank(const std::vector<std::uint32_t>& pixels) {
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    const std::uint32_t want = (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    return std::all_of(pixels.begin(), pixels.end(), [&](std::uint32_t px) { return px == want; });
}

TEST_F(EngineTest, AFolderMenuSharesEachTypesIconUnlessItsFilesHaveTheirOwn) {
    // A type whose files show their own icons, as the shell does for DefaultIcon "%1".
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, ".tvlown", 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("tvlownfile"), 11);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, "tvlownfile\\DefaultIcon", 0, nullptr, 0,
                                KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("%1"), 3);
    ::RegCloseKey(key);

    const std::string folder = m_dir.File("icons");
    ASSERT_TRUE(CreateFolder(folder));
    ASSERT_TRUE(WriteFileBytes(folder + "\\a.txt", "text"));
    // Two programs with icons of their own. (Under Wine the shell gives .exe files the
    // document icon, so a type of its own shows the difference.)
    ASSERT_TRUE(CopyTo(WinPath(TVLENGIN_EXE), folder + "\\b.tvlown"));
    ASSERT_TRUE(CopyTo("C:\\windows\\notepad.exe", folder + "\\c.tvlown"));
    ASSERT_TRUE(WriteFileBytes(folder + "\\d.txt", "more text"));
    HWND popup = Open(PointerMenu(folder, "*.*", "0"), {150, 150});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !Blank(IconSquare(popup, 3)); }));
    const auto document = IconSquare(popup, 0);
    const auto engine = IconSquare(popup, 1);
    const auto notepad = IconSquare(popup, 2);
    EXPECT_FALSE(Blank(document));
    EXPECT_EQ(IconSquare(popup, 3), document) << "documents of a type share its icon";
    EXPECT_NE(engine, document) << "a DefaultIcon of %1 shows the file's own icon";
    EXPECT_NE(notepad, document);
    EXPECT_NE(notepad, engine) << "each file of such a type is asked for its own";
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-folder-icons.bmp"));
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "tvlownfile");
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tvlown");
}

TEST_F(EngineTest, HiddenExtensionsShortenFileNamesButNotFolderNames) {
    // Each width is set by the widest caption: with the extensions of a known type hidden the
    // files' are narrower, a folder's name with a dot is not.
    const std::string files = m_dir.File("hidden files");
    ASSERT_TRUE(CreateFolder(files));
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(WriteFileBytes(files + "\\entry " + std::to_string(i) + ".txt", ""));
    }
    auto width = [&](const std::string& folder, const char* hide) {
        const std::string menu =
            "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,"
            "0\r\n\"" +
            folder + "\\\",\"*.*\", 1, " + hide + ", 0";
        HWND popup = Open(menu, {150, 150});
        EXPECT_NE(popup, nullptr);
        const RECT r = WindowRect(popup);
        PostKey(popup, VK_ESCAPE);
        ExpectEndsWithoutLaunch();
        return r.right - r.left;
    };
    const int shown = width(files, "0");
    EXPECT_LT(width(files, "1"), shown) << "\".txt\" is gone from every name";

    ASSERT_TRUE(CreateFolder(files + "\\a folder.with a dot in its long name"));
    const int withFolder = width(files, "0");
    EXPECT_GT(withFolder, shown);
    EXPECT_EQ(width(files, "1"), withFolder) << "the folder keeps its whole name";
}

}  // namespace

namespace {

// The default value of a per-machine class key, put back when the test ends.
class ClassValueOverride {
public:
    ClassValueOverride(const char* key, const std::string& value) : m_key(key) {
        char old[2048] = {};
        DWORD size = sizeof old;
        m_had = ::RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, old,
                               &size) == ERROR_SUCCESS;
        m_old = m_had ? old : "";
        Set(value);
    }
    ~ClassValueOverride() {
        if (m_had) {
            Set(m_old);
        } else {
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, m_key.c_str());
        }
    }

private:
    void Set(const std::string& value) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, m_key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
            ::RegCloseKey(key);
        }
    }
    std::string m_key;
    std::string m_old;
    bool m_had = false;
};

// An environment variable set for the programs the test starts, put back when it ends.
class VariableOverride {
public:
    VariableOverride(const char* name, const std::string& value) : m_name(name) {
        char old[32768] = {};
        const DWORD n = ::GetEnvironmentVariableA(name, old, sizeof old);
        m_had = n > 0 && n < sizeof old;
        m_old = m_had ? old : "";
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~VariableOverride() {
        ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
    }
    [[nodiscard]] const std::string& Old() const { return m_old; }

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

}  // namespace

TEST_F(EngineTest, LaunchesWhatTheRunBoxTakesAsItWasTyped) {
    // The https handler is the recorder (per machine: Wine looks types up only there).
    const ClassValueOverride https("https\\shell\\open\\command",
                                   Quote(ExeDir() + "launch_recorder.exe") + " \"%1\"");
    std::string folder = ExeDir();
    folder.pop_back();
    const VariableOverride recorderDir("TVL_RECORDER_DIR", folder);
    // Not the engine's own working folder, which a start-in folder left unexpanded would give.
    const std::string startIn = m_dir.File("start, expanded");
    ASSERT_TRUE(CreateFolder(startIn));
    const VariableOverride startDir("TVL_START_DIR", startIn);
    const VariableOverride path("PATH", "");
    ::SetEnvironmentVariableA("PATH", (path.Old() + ";" + folder).c_str());

    const std::vector<menufile::MenuItem> items = {
        {"Address", "https://example.com", "", "", "", "0"},
        {"Variable", "%TVL_RECORDER_DIR%\\launch_recorder.exe", "by-variable", "%TVL_START_DIR%",
         "", "0"},
        {"Name", "launch_recorder", "by-name", "", "", "0"},
    };
    const std::string menu = MenuBytes(items);
    std::string launched = LaunchItem(menu, 0);
    EXPECT_TRUE(HasLine(launched, "argv=https://example.com") ||
                HasLine(launched, "argv=https://example.com/"))
        << launched;
    launched = LaunchItem(menu, 1);
    EXPECT_TRUE(HasLine(launched, "argv=by-variable")) << launched;
    EXPECT_TRUE(HasLine(launched, "cwd=" + startIn)) << "the start-in folder is expanded too\n"
                                                     << launched;
    launched = LaunchItem(menu, 2);
    EXPECT_TRUE(HasLine(launched, "argv=by-name")) << launched;
}

TEST_F(EngineTest, WhatWasTypedShowsTheIconOfWhatItOpens) {
    const std::vector<menufile::MenuItem> items = {
        {"By path", "C:\\windows\\notepad.exe", "", "", "", "0"},
        {"By name", "notepad", "", "", "", "0"},
        {"By variable", "%windir%\\notepad.exe", "", "", "", "0"},
    };
    HWND popup = Open(MenuBytes(items), {150, 150});
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !Blank(IconSquare(popup, 0)); }));
    const auto byPath = IconSquare(popup, 0);
    EXPECT_TRUE(WaitUntil([&] { return IconSquare(popup, 1) == byPath; }))
        << "a program found on the search path";
    EXPECT_TRUE(WaitUntil([&] { return IconSquare(popup, 2) == byPath; }))
        << "a path with a variable";
    PostKey(popup, VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}
