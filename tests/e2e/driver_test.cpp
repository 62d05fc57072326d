// Tests of the end-to-end driver, run under Wine against sample_app.exe and launch_recorder.exe.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

#include "winauto.h"

namespace {

using namespace winauto;
using std::chrono::steady_clock;

// sample_app's window and controls.
constexpr char kAppClass[] = "SampleAppWindow";
constexpr char kAppTitle[] = "Sample App";
constexpr int kEdit = 101;
constexpr int kList = 102;
constexpr int kCombo = 103;
constexpr int kAskButton = 104;
constexpr int kCountButton = 105;
constexpr char kQuestion[] = "Proceed with the query?";

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The build's screenshot folder (a host path) as Wine sees it; CI converts the .bmp files there.
std::string ScreenshotPath(const std::string& name) {
    std::string path = "Z:" + std::string(SCREENSHOT_DIR) + "/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Starts sample_app with a log path containing spaces, in a folder of its own.
class SampleAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParkMouse();
        m_logPath = m_dir.File("event log.txt");
        m_app = Start(ExeDir() + "sample_app.exe", Quote(m_logPath), m_dir.path());
        ASSERT_TRUE(m_app) << "CreateProcessA failed, error " << GetLastError();
        m_main = WaitForWindow(m_app.pid(), kAppClass, kAppTitle);
        ASSERT_NE(m_main, nullptr);
        ASSERT_TRUE(WaitForLog("ready")) << Log();
    }

    [[nodiscard]] std::string Log() const { return ReadFileBytes(m_logPath).value_or(""); }
    [[nodiscard]] bool WaitForLog(const std::string& line) const {
        return WaitUntil([&] { return HasLine(Log(), line); });
    }
    [[nodiscard]] HWND Item(int id) const { return Control(m_main, id); }

    TempDir m_dir{"e2e driver "};  // declared first: removed after the program has ended
    std::string m_logPath;
    Process m_app;
    HWND m_main = nullptr;
};

TEST_F(SampleAppTest, QuotedPathWithSpacesArrivesIntactInTheWorkingFolder) {
    const std::string log = Log();
    EXPECT_TRUE(HasLine(log, "cmdline=\"" + m_logPath + "\"")) << log;
    EXPECT_TRUE(HasLine(log, "path=" + m_logPath)) << log;
    EXPECT_TRUE(HasLine(log, "cwd=" + m_dir.path())) << log;
}

TEST_F(SampleAppTest, FindsWindowsByClassTitleAndProcess) {
    const DWORD pid = m_app.pid();
    EXPECT_EQ(FindWindowOf(pid, kAppClass, nullptr), m_main);
    EXPECT_EQ(FindWindowOf(pid, nullptr, kAppTitle), m_main);
    EXPECT_EQ(FindWindowOf(0, "sampleappwindow", kAppTitle), m_main);  // classes ignore case
    EXPECT_EQ(FindWindowOf(pid, kAppClass, "Sample"), nullptr);        // titles match whole
    EXPECT_EQ(FindWindowOf(GetCurrentProcessId(), kAppClass, nullptr), nullptr);
    EXPECT_EQ(FindWindowOf(pid, "Edit", nullptr), nullptr);  // controls are not top-level

    const auto all = TopWindows(pid);
    EXPECT_NE(std::find(all.begin(), all.end(), m_main), all.end());
    EXPECT_EQ(WaitForWindow(pid, kAppClass, "No such title", Millis(100)), nullptr);
}

TEST_F(SampleAppTest, FindsControlsByIdAndByClassAndText) {
    ASSERT_NE(Item(kAskButton), nullptr);
    EXPECT_EQ(FindChild(m_main, "button", "Ask"), Item(kAskButton));
    EXPECT_EQ(FindChild(m_main, "Button", "Count"), Item(kCountButton));
    EXPECT_EQ(FindChild(m_main, "Edit", nullptr), Item(kEdit));
    EXPECT_EQ(FindChild(m_main, nullptr, "Count"), Item(kCountButton));
    EXPECT_EQ(FindChild(m_main, "Button", "Missing"), nullptr);
    EXPECT_EQ(ClassOf(Item(kList)), "ListBox");

    const std::string dump = DumpChildren(m_main);
    EXPECT_NE(dump.find("104 Button 'Ask'\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("101 Edit ''\n"), std::string::npos) << dump;
}

TEST_F(SampleAppTest, SetTextReachesTheProgramAndReadsBack) {
    const HWND edit = Item(kEdit);
    EXPECT_EQ(GetText(m_main), kAppTitle);
    ASSERT_TRUE(SetText(edit, "hello, world"));
    EXPECT_EQ(GetText(edit), "hello, world");
    EXPECT_TRUE(WaitForLog("edit=hello, world")) << Log();  // EN_CHANGE fired
    ASSERT_TRUE(SetText(edit, ""));
    EXPECT_EQ(GetText(edit), "");
    EXPECT_TRUE(WaitForLog("edit=")) << Log();
}

TEST_F(SampleAppTest, ReadsListAndComboItemsAcrossProcesses) {
    EXPECT_EQ(ListItems(Item(kList)), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(ComboItems(Item(kCombo)), (std::vector<std::string>{"red", "green", "blue"}));
}

// The reason ListItems uses the W messages. Should Wine change, the workaround can go.
TEST_F(SampleAppTest, WineAnswersAnsiListTextAcrossProcessesInUtf16) {
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "Wine behaviour";
    }
    char buffer[64] = {};
    const LRESULT length =
        SendMessageA(Item(kList), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(length, 4);
    EXPECT_EQ(std::memcmp(buffer, "b\0e\0t\0a\0", 8), 0)
        << "got \"" << std::string(buffer, 8) << "\"";
}

TEST_F(SampleAppTest, SelectingItemsNotifiesTheProgram) {
    const HWND list = Item(kList);
    ASSERT_TRUE(SelectListItem(list, 2));
    EXPECT_TRUE(WaitForLog("select=2:gamma")) << Log();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_FALSE(SelectListItem(list, 7));

    const HWND combo = Item(kCombo);
    ASSERT_TRUE(SelectComboItem(combo, 1));
    EXPECT_TRUE(WaitForLog("combo=1:green")) << Log();
    EXPECT_EQ(GetText(combo), "green");
}

TEST_F(SampleAppTest, ClickReturnsAfterTheHandlerRan) {
    Click(Item(kCountButton));
    EXPECT_TRUE(HasLine(Log(), "count=1")) << Log();  // no wait: the send is synchronous
    Click(Item(kCountButton));
    EXPECT_TRUE(HasLine(Log(), "count=2")) << Log();
}

TEST_F(SampleAppTest, MessageBoxIsFoundReadAndAnsweredYesAndNo) {
    PostClick(Item(kAskButton));
    const HWND box = WaitForWindow(m_app.pid(), "#32770", "Query?");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), m_main);
    EXPECT_FALSE(IsWindowEnabled(m_main));  // modal
    EXPECT_EQ(MessageBoxText(box), kQuestion);

    EXPECT_EQ(AnswerMessageBox(m_app.pid(), "Query?", IDYES), kQuestion);
    EXPECT_FALSE(IsWindow(box));  // answered means closed, no further wait
    EXPECT_TRUE(IsWindowEnabled(m_main));
    EXPECT_TRUE(WaitForLog("query=yes")) << Log();

    PostClick(Item(kAskButton));
    EXPECT_EQ(AnswerMessageBox(m_app.pid(), "Query?", IDNO), kQuestion);
    EXPECT_TRUE(WaitForLog("query=no")) << Log();

    EXPECT_EQ(AnswerMessageBox(m_app.pid(), "Query?", IDYES, Millis(100)), std::nullopt);
}

TEST_F(SampleAppTest, SentKeysReachTheForegroundWindow) {
    ASSERT_TRUE(ForceForeground(m_main));
    SendKey('A');
    EXPECT_TRUE(WaitForLog("keyup=41")) << Log();
    EXPECT_TRUE(HasLine(Log(), "keydown=41") && HasLine(Log(), "char=a")) << Log();

    SendKey('B', {VK_SHIFT});
    EXPECT_TRUE(WaitForLog("char=B")) << Log();
    EXPECT_TRUE(HasLine(Log(), "keydown=10")) << Log();

    SendKey(VK_LEFT);
    EXPECT_TRUE(WaitForLog("keyup=25")) << Log();
}

TEST_F(SampleAppTest, PostedKeysArriveWithoutFocus) {
    // A second instance takes the foreground away from the first.
    const std::string otherLog = m_dir.File("other log.txt");
    Process other = Start(ExeDir() + "sample_app.exe", Quote(otherLog), m_dir.path());
    const HWND otherMain = WaitForWindow(other.pid(), kAppClass, kAppTitle);
    ASSERT_NE(otherMain, nullptr);
    ASSERT_TRUE(ForceForeground(otherMain));
    ASSERT_NE(GetForegroundWindow(), m_main);

    PostKey(m_main, VK_F5);
    PostKey(m_main, 'Q');
    EXPECT_TRUE(WaitForLog("keyup=51")) << Log();
    const std::string log = Log();
    EXPECT_TRUE(HasLine(log, "keydown=74") && HasLine(log, "keyup=74")) << log;
    EXPECT_TRUE(HasLine(log, "char=q")) << log;  // the program's TranslateMessage still runs
    EXPECT_EQ(ReadFileBytes(otherLog).value_or("").find("key"), std::string::npos);
}

TEST_F(SampleAppTest, TypingGoesIntoTheEditAfterARealClick) {
    const HWND edit = Item(kEdit);
    ASSERT_TRUE(LeftClickAt(CenterOf(edit)));  // the edit takes the capture on button down
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(m_main) == edit; }));
    TypeText("abc");
    SendKey(VK_BACK);
    SendKey('D');
    EXPECT_TRUE(WaitUntil([&] { return GetText(edit) == "abd"; })) << GetText(edit);
    EXPECT_TRUE(WaitForLog("edit=abd")) << Log();
}

TEST_F(SampleAppTest, MouseClicksLandOnTheExactPixel) {
    // Odd positions: an absolute move rounded the wrong way lands one pixel short.
    const POINT left = ClientToScreenAt(m_main, 301, 251);
    ASSERT_TRUE(MoveMouse(left));
    POINT now{};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, left.x);
    EXPECT_EQ(now.y, left.y);
    EXPECT_TRUE(LeftClickAt(left));
    EXPECT_TRUE(WaitForLog("lclick=301,251")) << Log();
    EXPECT_TRUE(RightClickAt(ClientToScreenAt(m_main, 257, 199)));
    EXPECT_TRUE(WaitForLog("rclick=257,199")) << Log();
}

TEST_F(SampleAppTest, DragReleasesWhereThePointerEnds) {
    // The end point lies outside the window; only the capture brings the up back to it.
    EXPECT_TRUE(LeftDrag(ClientToScreenAt(m_main, 300, 250), ClientToScreenAt(m_main, 480, 331)));
    EXPECT_TRUE(WaitForLog("lclick=480,331")) << Log();
    EXPECT_TRUE(HasLine(Log(), "ldown=300,250")) << Log();
}

TEST_F(SampleAppTest, LeftClickOnAListItemSelectsIt) {
    const HWND list = Item(kList);
    RECT item{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    const POINT pt =
        ClientToScreenAt(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    EXPECT_TRUE(LeftClickAt(pt));
    EXPECT_TRUE(WaitForLog("select=1:beta")) << Log();
}

TEST_F(SampleAppTest, FileDropDeliversPathsWithSpacesAndCommas) {
    const std::string first = m_dir.File("first file, one.txt");
    const std::string second = m_dir.File("second,file.txt");
    const std::string folder = m_dir.File("a folder, with spaces");
    ASSERT_TRUE(WriteFileBytes(first, "1"));
    ASSERT_TRUE(WriteFileBytes(second, "2"));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

    ASSERT_TRUE(PostFileDrop(Item(kList), {first, second, folder}, POINT{12, 34}));
    EXPECT_TRUE(WaitForLog("drop=3|" + first + "|" + second + "|" + folder)) << Log();
    EXPECT_TRUE(HasLine(Log(), "droppoint=12,34")) << Log();
    EXPECT_EQ(ListItems(Item(kList)),
              (std::vector<std::string>{"alpha", "beta", "gamma", first, second, folder}));
}

TEST_F(SampleAppTest, ExitCodeArrivesInFull) {
    // More than the 8 bits a Unix exit status would keep.
    ASSERT_TRUE(SetText(Item(kEdit), "0x12345678"));
    PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_app.WaitForExit(), std::optional<DWORD>(0x12345678));
    EXPECT_FALSE(m_app.Running());
    EXPECT_TRUE(HasLine(Log(), "exit=305419896")) << Log();
}

TEST_F(SampleAppTest, DestroyingAProcessEndsTheProgram) {
    platform::UniqueHandleK watched;
    {
        Process other = Start(ExeDir() + "sample_app.exe", "", m_dir.path());
        ASSERT_NE(WaitForWindow(other.pid(), kAppClass, kAppTitle), nullptr);
        watched.reset(OpenProcess(SYNCHRONIZE, FALSE, other.pid()));
        ASSERT_TRUE(watched);
        EXPECT_TRUE(other.Running());
    }
    EXPECT_EQ(WaitForSingleObject(watched.get(), 0), WAIT_OBJECT_0);
    EXPECT_TRUE(m_app.Running());  // only the destroyed one
}

// Reads the few fields of a 24-bit bottom-up .bmp that the screenshot writes.
struct Bitmap {
    explicit Bitmap(std::string data) : bytes(std::move(data)) {
        if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
            return;
        }
        offset = Read32(10);
        width = static_cast<int>(Read32(18));
        height = static_cast<int>(Read32(22));
        bitsPerPixel = static_cast<int>(Read32(28) & 0xFFFF);
        stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    }
    [[nodiscard]] uint32_t Read32(size_t at) const {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, sizeof(value));
        return value;
    }
    [[nodiscard]] COLORREF Pixel(int x, int y) const {  // y counted from the top
        const size_t at = offset + static_cast<size_t>(height - 1 - y) * stride + x * 3;
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
        return RGB(byte(2), byte(1), byte(0));
    }

    std::string bytes;
    size_t offset = 0;
    size_t stride = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

TEST_F(SampleAppTest, ScreenshotHoldsTheWindowsPixels) {
    ASSERT_TRUE(ForceForeground(m_main));
    RECT frame{};
    GetWindowRect(m_main, &frame);
    const POINT origin = ClientToScreenAt(m_main, 0, 0);
    const int dx = origin.x - frame.left;
    const int dy = origin.y - frame.top;
    const std::string path = ScreenshotPath("sample_app.bmp");

    // The red square (client 330..370, 200..240) and the bare background beside it.
    std::optional<Bitmap> shot;
    const bool painted = WaitUntil([&] {
        if (!SaveScreenshotBmp(path, m_main)) {
            return false;
        }
        shot.emplace(ReadFileBytes(path).value_or(""));
        return shot->width > 0 && shot->Pixel(dx + 350, dy + 220) == RGB(255, 0, 0);
    });
    ASSERT_TRUE(shot.has_value());
    EXPECT_TRUE(painted);
    EXPECT_EQ(shot->width, frame.right - frame.left);
    EXPECT_EQ(shot->height, frame.bottom - frame.top);
    EXPECT_EQ(shot->bitsPerPixel, 24);
    EXPECT_EQ(shot->bytes.size(), shot->offset + shot->stride * shot->height);
    EXPECT_EQ(shot->Pixel(dx + 390, dy + 270), GetSysColor(COLOR_BTNFACE));

    ASSERT_TRUE(SaveScreenshotBmp(ScreenshotPath("sample_app_desktop.bmp")));
    const Bitmap desktop(ReadFileBytes(ScreenshotPath("sample_app_desktop.bmp")).value_or(""));
    EXPECT_EQ(desktop.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(desktop.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(desktop.Pixel(origin.x + 350, origin.y + 220), RGB(255, 0, 0));
}

TEST(WaitUntil, AnswersMessagesSentToTheDriversWindowsWhileWaiting) {
    // A program that sends to a window of the driver blocks until the driver pumps.
    HWND window = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    std::atomic<bool> delivered{false};
    std::thread sender([&] {
        // Bounded, so a driver that does not pump fails here instead of hanging.
        DWORD_PTR result = 0;
        delivered = SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("pumped"),
                                        SMTO_NORMAL, 3000, &result) != 0;
    });
    EXPECT_TRUE(WaitUntil([&] { return delivered.load(); }, Millis(5000)));
    sender.join();
    char text[16] = {};
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ(text, "pumped");
    DestroyWindow(window);
}

TEST(WaitUntil, GivesUpAfterTheTimeout) {
    const auto start = steady_clock::now();
    EXPECT_FALSE(WaitUntil([] { return false; }, Millis(100)));
    const auto took = steady_clock::now() - start;
    EXPECT_GE(took, Millis(100));
    EXPECT_LT(took, Millis(2000));
}

// Runs launch_recorder.exe with its marker in a fresh folder and reads what it wrote.
class LaunchRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA(m_startIn.c_str(), nullptr));
        SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", m_marker.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("LAUNCH_RECORDER_MARKER", nullptr); }

    [[nodiscard]] std::string WaitForMarker() const {
        WaitUntil([&] { return FileExists(m_marker); });
        return ReadFileBytes(m_marker).value_or("");
    }

    const std::string m_recorder = ExeDir() + "launch_recorder.exe";
    TempDir m_dir{"e2e launch "};
    const std::string m_startIn = m_dir.File("start in");
    const std::string m_marker = m_dir.File("marker.txt");
};

TEST_F(LaunchRecorderTest, ShellExecuteDeliversQuotedArgumentsAndTheStartInFolder) {
    const auto rc = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", m_recorder.c_str(),
                                                            "item1 \"two words\"",
                                                            m_startIn.c_str(), SW_SHOWNORMAL));
    EXPECT_GT(rc, 32);
    const std::string marker = WaitForMarker();
    EXPECT_TRUE(HasLine(marker, "argc=3")) << marker;
    EXPECT_NE(marker.find("\nargv=item1\nargv=two words\n"), std::string::npos) << marker;
    EXPECT_TRUE(HasLine(marker, "cwd=" + m_startIn)) << marker;
}

TEST_F(LaunchRecorderTest, CreateProcessKeepsTheCommandLineExactly) {
    const std::string args = "\"C:\\a b\\c, d.txt\" tail";
    Process p = Start(m_recorder, args, m_startIn);
    ASSERT_TRUE(p);
    EXPECT_EQ(p.WaitForExit(), std::optional<DWORD>(0));
    const std::string marker = WaitForMarker();
    EXPECT_TRUE(HasLine(marker, "cmdline=" + Quote(m_recorder) + " " + args)) << marker;
    EXPECT_NE(marker.find("\nargv=C:\\a b\\c, d.txt\nargv=tail\n"), std::string::npos) << marker;
    EXPECT_TRUE(HasLine(marker, "cwd=" + m_startIn)) << marker;
}

}  // namespace
