// tvlengin.exe under Wine driven by Home, End, the page keys, the wheel and typed names: what
// each opens.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/menu_model.h"
#include "menufile/menu_file.h"
#include "winauto.h"

namespace {

using namespace winauto;

constexpr char kPopupClass[] = "TarvelMenuPopup";
constexpr int kCellTwips = 600;  // 32-pixel icons, 8-point text
constexpr int kCellPx = 40;
constexpr int kTwipsPerPixel = 15;

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Wheel notches toward the user (positive: down the list), where the pointer is.
void TurnWheel(int notches) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(-notches * WHEEL_DELTA);
    ::SendInput(1, &in, sizeof in);
}

// Rows one wheel notch scrolls, as the engine reads it.
int WheelRows(int windowRows) {
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines == WHEEL_PAGESCROLL ? windowRows : static_cast<int>(lines);
}

class EngineKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_marker = m_dir.File("launched.txt");
        ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", m_marker.c_str());
        ParkMouse();
    }
    void TearDown() override { ::SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", nullptr); }

    // Items named `names` that launch the recorder with "item<number>".
    std::string MenuOf(const std::vector<std::string>& names) {
        std::string s = "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n";
        s += menufile::FormatSettingsLine({"0", "MS Sans Serif", "8.25", "0", "0"});
        for (std::size_t i = 0; i < names.size(); ++i) {
            s += menufile::FormatItemLine({names[i], ExeDir() + "launch_recorder.exe",
                                           "item" + std::to_string(i), "", "", "0"});
        }
        return s;
    }

    std::string LongMenu(int count = 40) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            names.push_back("Item " + std::to_string(i));
        }
        return MenuOf(names);
    }

    // Starts the engine with the pointer on the window's left edge, over no cell.
    HWND Open(const std::string& bytes) {
        const std::string menu = m_dir.File("keys menu.tvl");
        EXPECT_TRUE(WriteFileBytes(menu, bytes));
        EXPECT_TRUE(MoveMouse({150, 150}));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(menu), m_dir.path());
        EXPECT_TRUE(m_engine);
        return WaitForWindow(m_engine.pid(), kPopupClass, nullptr);
    }

    // The argument of the item launched, once the engine has ended; the marker is cleared.
    std::string Launched() {
        std::string text;
        if (WaitUntil([&] { return FileExists(m_marker); })) {
            text = ReadFileBytes(m_marker).value_or("");
        }
        EXPECT_TRUE(m_engine.WaitForExit().has_value()) << "the menu ends after a launch";
        ::DeleteFileA(m_marker.c_str());
        for (int i = 0; i < 100; ++i) {
            if (HasLine(text, "argv=item" + std::to_string(i))) {
                return "item" + std::to_string(i);
            }
        }
        return "nothing: " + text;
    }

    // Whole rows the pop-up's height holds, as the engine counts them.
    static int WindowRows(HWND popup) {
        RECT r{};
        ::GetWindowRect(popup, &r);
        return (r.bottom - r.top) * kTwipsPerPixel / kCellTwips;
    }

    TempDir m_dir{"engine keys "};
    std::string m_marker;
    Process m_engine;
};

TEST_F(EngineKeysTest, EndOpensTheLastItemAndHomeTheFirst) {
    HWND popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_END);
    PostKey(popup, VK_RETURN);
    EXPECT_EQ(Launched(), "item39");

    popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_END);
    PostKey(popup, VK_HOME);
    PostKey(popup, VK_RETURN);
    EXPECT_EQ(Launched(), "item0");
}

TEST_F(EngineKeysTest, PageDownMovesAWindowAtATime) {
    HWND popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    ASSERT_LT(WindowRows(popup), 20) << "the menu is taller than the screen";
    RECT r{};
    ::GetWindowRect(popup, &r);
    const int height = (r.bottom - r.top) * kTwipsPerPixel;
    const int bottomStrip = height - static_cast<int>(engine::kStripHeight + engine::kStripGap);
    const int page = bottomStrip - static_cast<int>(engine::kStripHeight);
    ASSERT_GT(page, 3 * kCellTwips);
    // Nothing highlighted: the last whole row above the bottom strip. Then the last row a page
    // holds below that one's top; back up, the first row a page holds above its bottom.
    const int first = bottomStrip / kCellTwips - 1;
    const int second = (first * kCellTwips + page) / kCellTwips - 1;
    const int back =
        std::max(0, (second * kCellTwips + kCellTwips - page + kCellTwips - 1) / kCellTwips);
    ASSERT_GT(second - first, 3);
    PostKey(popup, VK_NEXT);
    PostKey(popup, VK_NEXT);
    Pump(Millis(100));
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-page-down.bmp", popup));
    PostKey(popup, VK_RETURN);
    EXPECT_EQ(Launched(), "item" + std::to_string(second));

    popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    PostKey(popup, VK_NEXT);
    PostKey(popup, VK_NEXT);
    PostKey(popup, VK_PRIOR);
    PostKey(popup, VK_RETURN);
    EXPECT_EQ(Launched(), "item" + std::to_string(back)) << "Page Up goes back a page";
}

TEST_F(EngineKeysTest, TheWheelScrollsSoAClickOpensARowFurtherDown) {
    // Without the wheel, the first row.
    HWND popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    const POINT firstRow = ClientToScreenAt(popup, 80, kCellPx / 2);
    ASSERT_TRUE(LeftClickAt(firstRow));
    EXPECT_EQ(Launched(), "item0");

    popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    const int step = WheelRows(WindowRows(popup));
    ASSERT_GT(step, 0) << "wheel scrolling is on";
    ASSERT_TRUE(MoveMouse(firstRow));
    TurnWheel(2);
    TurnWheel(-1);
    ASSERT_TRUE(LeftClickAt(firstRow));
    EXPECT_EQ(Launched(), "item" + std::to_string(step)) << "two notches down, one back up";
}

TEST_F(EngineKeysTest, TypingTheStartOfANameThenEnterOpensThatItem) {
    const std::vector<std::string> names = {"Notes", "Calculator", "Calendar", "Clock", "Paint"};
    HWND popup = Open(MenuOf(names));
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ForceForeground(popup));
    TypeText("cAle");
    SendKey(VK_RETURN);
    EXPECT_EQ(Launched(), "item2");

    // In a long menu, a row far below the window.
    popup = Open(LongMenu());
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ForceForeground(popup));
    TypeText("item 37");
    Pump(Millis(100));
    EXPECT_TRUE(SaveScreenshotBmp(WinPath(SCREENSHOT_DIR) + "\\engine-type-ahead.bmp", popup));
    SendKey(VK_RETURN);
    EXPECT_EQ(Launched(), "item37");
}

TEST_F(EngineKeysTest, ShiftF10ShowsTheHighlightedItemsShellMenu) {
    HWND popup = Open(LongMenu(3));
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ForceForeground(popup));
    SendKey(VK_F10);
    Pump(Millis(300));
    EXPECT_EQ(FindWindowOf(m_engine.pid(), "#32768", nullptr), nullptr) << "F10 alone: nothing";
    EXPECT_TRUE(m_engine.Running());
    SendKey(VK_END);
    SendKey(VK_F10, {VK_SHIFT});  // a system key: it comes as WM_SYSKEYDOWN
    HWND shellMenu = WaitForWindow(m_engine.pid(), "#32768", nullptr);
    ASSERT_NE(shellMenu, nullptr);
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(shellMenu); }));
    EXPECT_TRUE(m_engine.Running()) << "back to the menu";
    SendKey(VK_RETURN);
    EXPECT_EQ(Launched(), "item2") << "the highlight stayed on the last item";
}

}  // namespace
