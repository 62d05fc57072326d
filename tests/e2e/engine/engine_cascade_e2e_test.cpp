// tvlengin.exe under Wine with folders and menus that open beside their entries: by resting and
// by Right, closed by Left, Escape and the pointer, placed on the side with room, launching
// from the second level, an empty folder.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menufile/menu_file.h"
#include "winauto.h"

namespace {

using namespace winauto;

constexpr char kPopupClass[] = "TarvelMenuPopup";
constexpr int kLargeCellPx = 40;  // 32-pixel icons, 8-point text
constexpr int kSmallCellPx = 24;

std::string MenuBytes(const std::vector<menufile::MenuItem>& items, bool smallIcons = false) {
    std::string s = "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n";
    s += menufile::FormatSettingsLine({smallIcons ? "1" : "0", "MS Sans Serif", "8.25", "0", "0"});
    for (const auto& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

std::string PointerMenu(const std::string& folder) {
    return "pic\r\n<START TVL>\r\n\"DIRPOINT\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n\"" + folder +
           "\\\",\"*.*\", 1, 0, 0";
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientOnScreen(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class CascadeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_marker = m_dir.File("launched.txt");
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", m_marker.c_str());
        ParkMouse();
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", nullptr);
        if (m_engine.Running()) {
            m_engine.Kill();
        }
    }

    HWND Open(const std::string& bytes, POINT at = {150, 150}) {
        const std::string menu = m_dir.File("cascade.tvl");
        EXPECT_TRUE(WriteFileBytes(menu, bytes));
        EXPECT_TRUE(MoveMouse(at));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(menu), m_dir.path());
        EXPECT_TRUE(m_engine);
        m_root = WaitForWindow(m_engine.pid(), kPopupClass, nullptr);
        return m_root;
    }

    // The visible pop-ups of the engine, the first menu first, then by level.
    std::vector<HWND> Levels() const {
        std::vector<HWND> levels;
        for (HWND w : TopWindows(m_engine.pid())) {
            if (ClassOf(w) == kPopupClass && ::IsWindowVisible(w)) {
                levels.push_back(w);
            }
        }
        // A submenu is owned by the first menu; deeper ones were made later, and the owner
        // chain tells no more, so their places on the screen (each beside the last) do.
        std::stable_partition(levels.begin(), levels.end(), [&](HWND w) { return w == m_root; });
        return levels;
    }

    // Waits until `count` levels are open; the deepest then.
    HWND WaitForLevels(std::size_t count) {
        std::vector<HWND> levels;
        EXPECT_TRUE(WaitUntil([&] {
            levels = Levels();
            return levels.size() == count;
        })) << levels.size()
            << " levels open, not " << count;
        return levels.size() == count ? levels.back() : nullptr;
    }

    // The centre of a cell of `popup` on the screen.
    static POINT CellCentre(HWND popup, int cell, int cellPx = kLargeCellPx) {
        return ClientToScreenAt(popup, 60, cell * cellPx + cellPx / 2);
    }

    TempDir m_dir{"cascade e2e "};
    std::string m_marker;
    Process m_engine;
    HWND m_root = nullptr;
};

TEST_F(CascadeTest, AFolderOpensBesideItsEntryByRestingAndByRightAndClosesAsMenusDo) {
    const std::string folder = m_dir.File("music");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((folder + "\\Empty").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((folder + "\\Sub").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + "\\Sub\\inner.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(folder + "\\a.txt", "x"));
    HWND root = Open(PointerMenu(folder));
    ASSERT_NE(root, nullptr);

    // Resting on "Sub" (folders first: Empty, Sub, a.txt) opens it beside the menu, its first
    // row level with the entry.
    ASSERT_TRUE(MoveMouse(CellCentre(root, 1)));
    HWND sub = WaitForLevels(2);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(GetText(sub), "Sub");
    EXPECT_EQ(WindowRect(sub).left, WindowRect(root).right);
    EXPECT_EQ(ClientOnScreen(sub).top, ClientOnScreen(root).top + kLargeCellPx);
    EXPECT_EQ(WindowRect(sub).bottom - WindowRect(sub).top, kLargeCellPx + 5);
    // Into the submenu and back out of it over the parent's file: it closes after the delay.
    ASSERT_TRUE(MoveMouse(CellCentre(sub, 0)));
    Pump(Millis(600));
    EXPECT_EQ(Levels().size(), 2u);
    ASSERT_TRUE(MoveMouse(CellCentre(root, 2)));
    EXPECT_TRUE(WaitForWindowGone(sub));

    // Keys: Right opens and enters, Left and Escape close the deepest, the menu stays.
    PostKey(root, VK_HOME);
    PostKey(root, VK_DOWN);
    PostKey(root, VK_RIGHT);
    sub = WaitForLevels(2);
    ASSERT_NE(sub, nullptr);
    PostKey(root, VK_LEFT);
    EXPECT_TRUE(WaitForWindowGone(sub));
    PostKey(root, VK_RIGHT);
    sub = WaitForLevels(2);
    ASSERT_NE(sub, nullptr);
    PostKey(root, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(sub));
    EXPECT_TRUE(m_engine.Running());

    // An empty folder: one greyed entry that opens nothing.
    PostKey(root, VK_UP);
    PostKey(root, VK_RIGHT);
    HWND empty = WaitForLevels(2);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(WindowRect(empty).bottom - WindowRect(empty).top, kLargeCellPx + 5);
    PostKey(root, VK_RETURN);
    Pump(Millis(300));
    EXPECT_TRUE(m_engine.Running());
    EXPECT_FALSE(FileExists(m_marker));
    PostKey(root, VK_ESCAPE);
    PostKey(root, VK_ESCAPE);
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    EXPECT_FALSE(FileExists(m_marker));
}

TEST_F(CascadeTest, AMenuFileOpensInItsOwnIconSizeAndItsItemLaunchesFromTheSecondLevel) {
    const std::string startIn = m_dir.File("start in");
    ASSERT_TRUE(::CreateDirectoryA(startIn.c_str(), nullptr));
    const std::string recorder = ExeDir() + "launch_recorder.exe";
    const std::string tools = m_dir.File("tools.tvl");
    ASSERT_TRUE(WriteFileBytes(
        tools, MenuBytes({{"First", recorder, "first", "", "", "0"},
                          {"Second", recorder, "second item, two", startIn, "", "0"}},
                         true)));
    HWND root = Open(MenuBytes({{"Plain", recorder, "plain", "", "", "0"},
                                {"Tools", tools, "", "", "", "0"}}));
    ASSERT_NE(root, nullptr);
    PostKey(root, VK_END);
    PostKey(root, VK_RIGHT);
    HWND sub = WaitForLevels(2);
    ASSERT_NE(sub, nullptr);
    // Its own small icons: two rows of 24 pixels and the room below them (outer height).
    EXPECT_EQ(WindowRect(sub).bottom - WindowRect(sub).top, 2 * kSmallCellPx + 5);
    // The keys act in the submenu: a typed name, then Enter.
    ::PostMessageW(root, WM_CHAR, 'S', 0);
    PostKey(root, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(m_marker); }));
    const std::string launched = ReadFileBytes(m_marker).value_or("");
    EXPECT_NE(launched.find("second item, two"), std::string::npos) << launched;
    EXPECT_NE(launched.find("start in"), std::string::npos) << launched;
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(CascadeTest, NearTheScreensRightEdgeASubmenuOpensOnTheLeftAndAClickThereLaunches) {
    const std::string tools = m_dir.File("tools.tvl");
    ASSERT_TRUE(WriteFileBytes(
        tools, MenuBytes({{"First", ExeDir() + "launch_recorder.exe", "", "", "", "0"}})));
    const int screenRight = ::GetSystemMetrics(SM_CXSCREEN);
    HWND root = Open(MenuBytes({{"Tools", tools, "", "", "", "0"}}), {screenRight - 30, 200});
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(MoveMouse(CellCentre(root, 0)));
    HWND sub = WaitForLevels(2);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(WindowRect(sub).right, WindowRect(root).left);
    EXPECT_GE(WindowRect(sub).left, 0);

    // Moving between the levels ends nothing; a click in the submenu opens its entry.
    ASSERT_TRUE(MoveMouse(CellCentre(sub, 0)));
    Pump(Millis(300));
    EXPECT_TRUE(m_engine.Running());
    ASSERT_TRUE(LeftClickAt(CellCentre(sub, 0), false));
    EXPECT_TRUE(WaitUntil([&] { return FileExists(m_marker); }));
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
}

TEST_F(CascadeTest, AnotherWindowTakingTheForegroundEndsTheWholeCascade) {
    const std::string folder = m_dir.File("docs");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    HWND root = Open(MenuBytes({{"Docs", folder, "", "", "", "0"}}));
    ASSERT_NE(root, nullptr);
    PostKey(root, VK_DOWN);
    PostKey(root, VK_RIGHT);
    ASSERT_NE(WaitForLevels(2), nullptr);
    HWND other = ::CreateWindowExA(0, "STATIC", "other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   100, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ForceForeground(other);
    EXPECT_TRUE(m_engine.WaitForExit().has_value());
    EXPECT_FALSE(FileExists(m_marker));
    ::DestroyWindow(other);
}

}  // namespace
