// tvledit.exe at the display's scale: controls, captions, fonts and the item list's icons; and
// readable with a dark high-contrast colour scheme.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "editor/model/item_wizard.h"
#include "editor/ui/dialog_layouts.h"
#include "editor/ui/keyboard_access.h"
#include "editor/ui/main_window_layout.h"
#include "editor_fixture.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"
#include "winauto.h"

namespace {

using namespace winauto;
using editor::ControlKind;
using editor::ControlLayout;

const std::string kMenu =
    "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
    "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n";

int ScreenDpi() {
    platform::WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int Scaled(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi, 96);
}

// The system's message font at a scale: what every control of the editor is to use.
LOGFONTW MessageFontAt(int dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    auto get = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    EXPECT_NE(get, nullptr);
    EXPECT_TRUE(get != nullptr &&
                get(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)));
    return metrics.lfMessageFont;
}

// This thread sees the editor's windows in their own pixels, not scaled to 96 dots per inch.
class PerMonitorAware {
public:
    PerMonitorAware() {
        m_set = reinterpret_cast<SetFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
        if (m_set != nullptr) {
            m_old = m_set(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)));  // V2
        }
    }
    ~PerMonitorAware() {
        if (m_set != nullptr && m_old != nullptr) {
            m_set(m_old);
        }
    }
    PerMonitorAware(const PerMonitorAware&) = delete;
    PerMonitorAware& operator=(const PerMonitorAware&) = delete;

private:
    using SetFn = HANDLE(WINAPI*)(HANDLE);
    SetFn m_set = nullptr;
    HANDLE m_old = nullptr;
};

// Where a control's kind draws its caption, in its client area, at `dpi`.
RECT CaptionRoom(ControlKind kind, RECT client, int dpi) {
    switch (kind) {
        case ControlKind::Button:
            // The raised edge and the focus rectangle on each side.
            InflateRect(&client, -Scaled(3, dpi), -Scaled(2, dpi));
            break;
        case ControlKind::Check: {
            // The box and the gap after it.
            using MetricFn = int(WINAPI*)(int, UINT);
            auto metric = reinterpret_cast<MetricFn>(reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
            const int box = metric != nullptr ? metric(SM_CXMENUCHECK, static_cast<UINT>(dpi))
                                              : Scaled(13, dpi);
            client.left += box + Scaled(4, dpi);
            break;
        }
        case ControlKind::Frame:
            // The caption stands in the top line, inset from both corners.
            InflateRect(&client, -Scaled(8, dpi), 0);
            break;
        default:
            break;
    }
    return client;
}

// The caption laid out in `room` as the control draws it (wrapped where the control wraps, and
// with an '&' drawn as the underline of the next letter), in `font`; empty when it fits.
std::string Misfit(const std::string& caption, const LOGFONTW& font, const RECT& room) {
    platform::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    platform::UniqueHfont made(CreateFontIndirectW(&font));
    platform::SelectGuard select(dc.get(), made.get());
    const std::wstring text = platform::Widen(caption);
    RECT r{0, 0, room.right - room.left, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
    if (r.right <= room.right - room.left && r.bottom <= room.bottom - room.top) {
        return {};
    }
    return "\"" + caption + "\" needs " + std::to_string(r.right) + "x" + std::to_string(r.bottom) +
           ", has " + std::to_string(room.right - room.left) + "x" +
           std::to_string(room.bottom - room.top);
}

// The height of a line and the width of `text` in a font.
struct Metrics {
    int LineHeight = 0;
    int Width = 0;
};

Metrics MetricsOf(const LOGFONTW& font, const std::string& text) {
    platform::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    platform::UniqueHfont made(CreateFontIndirectW(&font));
    platform::SelectGuard select(dc.get(), made.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    const std::wstring wide = platform::Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return {static_cast<int>(metrics.tmHeight), static_cast<int>(size.cx)};
}

bool HasCaption(const ControlLayout& c) {
    return c.Kind == ControlKind::Button || c.Kind == ControlKind::Check ||
           c.Kind == ControlKind::Label || c.Kind == ControlKind::Frame;
}

// Every caption of the tables fits its control at each common scale, in the system's message
// font at that scale; the wizard's instruction also in its one-line place on the name page.
TEST(EditorDpi, EveryCaptionOfTheTablesFitsAtEachCommonScale) {
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const LOGFONTW font = MessageFontAt(dpi);
        const float tpp = editor::TwipsPerPixel(dpi);
        auto check = [&](const ControlLayout& c, const char* caption) {
            const editor::PixelRect r = editor::ClientRect(c, tpp);
            const RECT room = CaptionRoom(c.Kind, RECT{0, 0, r.Width, r.Height}, dpi);
            EXPECT_EQ(Misfit(caption, font, room), "") << "control " << c.Id;
        };
        for (auto table :
             {editor::MainWindowControls(), editor::WizardControls(), editor::ChooserControls()}) {
            for (const ControlLayout& c : table) {
                if (HasCaption(c) && c.Caption != nullptr && *c.Caption != '\0') {
                    check(c, c.Caption);
                }
            }
        }
        // The icon counts, filled in at run time.
        using Counted = std::pair<std::span<const ControlLayout>, int>;
        for (auto [table, id] : {Counted{editor::MainWindowControls(), editor::kIconCountLabel},
                                 Counted{editor::ChooserControls(), editor::kChooserCount}}) {
            for (const ControlLayout& c : table) {
                if (c.Id == id) {
                    check(c, "9999 Icons");
                }
            }
        }
        for (const ControlLayout& c : editor::WizardControls()) {
            if (c.Id == editor::kWizardInstruction) {
                ControlLayout namePage = c;
                namePage.Height = editor::kWizardNameInstructionHeight;
                check(namePage, editor::kNameInstruction);
                check(c, editor::kPathInstruction);
            }
        }
    }
}

// The small icon's size at `dpi`, as the system gives it to a window drawn at that scale.
int SmallIconSize(int dpi) {
    using MetricFn = int(WINAPI*)(int, UINT);
    auto metric = reinterpret_cast<MetricFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return metric != nullptr ? metric(SM_CXSMICON, static_cast<UINT>(dpi)) : Scaled(16, dpi);
}

// The item list's row height at `dpi`: its text's line, or the small icon with a pixel (at 96)
// above and below, whichever is more.
int RowHeightAt(int dpi) {
    return std::max(MetricsOf(MessageFontAt(dpi), "Notepad").LineHeight,
                    SmallIconSize(dpi) + 2 * Scaled(1, dpi));
}

// A row of the list on the screen.
RECT RowOnScreen(HWND list, int row) {
    RECT r{};
    EXPECT_NE(
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)),
        LB_ERR);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What was drawn in the part of a row before its text (the icon's place), less the row's
// edges where a focus rectangle goes: the bounds of the pixels that are not `background`.
struct Drawn {
    std::vector<std::uint32_t> Pixels;
    RECT Bounds{};  // relative to the row; empty when nothing was drawn
};

Drawn DrawnBeforeText(const RECT& row, int iconSize, int dpi, COLORREF background) {
    const RECT place{row.left + 1, row.top + 1, row.left + iconSize + 2 * Scaled(2, dpi),
                     row.bottom - 1};
    Drawn drawn;
    drawn.Pixels = PixelsOf(nullptr, place);
    const int width = place.right - place.left;
    const std::uint32_t bg =
        (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
    RECT& b = drawn.Bounds;
    b = {width, place.bottom - place.top, 0, 0};
    for (std::size_t i = 0; i < drawn.Pixels.size(); ++i) {
        if (drawn.Pixels[i] != bg) {
            const int x = static_cast<int>(i) % width;
            const int y = static_cast<int>(i) / width;
            b = {std::min<LONG>(b.left, x), std::min<LONG>(b.top, y),
                 std::max<LONG>(b.right, x + 1), std::max<LONG>(b.bottom, y + 1)};
        }
    }
    if (b.right <= b.left) {
        b = {};
    }
    return drawn;
}

class EditorDpiTest : public EditorFixture {
protected:
    EditorDpiTest() : EditorFixture("e2e editor dpi ", "dpi menu.tvl") {}
    void SetUp() override {
        EditorFixture::SetUp();
        m_dpi = ScreenDpi();
    }

    HWND Open() { return EditorFixture::Open(kMenu); }

    // A dialog's client area is its table's size at this scale, and it stands centred in the
    // work area of the editor's monitor.
    void ExpectDialogPlace(HWND dialog, float widthTwips, float heightTwips) {
        RECT client{};
        ASSERT_TRUE(GetClientRect(dialog, &client));
        const float tpp = editor::TwipsPerPixel(m_dpi);
        EXPECT_EQ(client.right, editor::TwipsToPixels(widthTwips, tpp));
        EXPECT_EQ(client.bottom, editor::TwipsToPixels(heightTwips, tpp));
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(m_main, MONITOR_DEFAULTTONEAREST), &monitor));
        RECT frame{};
        ASSERT_TRUE(GetWindowRect(dialog, &frame));
        const RECT& work = monitor.rcWork;
        EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);
    }

    void ShowAppearance() {
        ASSERT_TRUE(LeftClickAt(
            ClientToScreenAt(Item(editor::kTabs), Scaled(95, m_dpi), Scaled(10, m_dpi)), false));
        ASSERT_TRUE(
            WaitUntil([&] { return IsWindowVisible(Item(editor::kChangeFontButton)) != 0; }));
    }
    HWND OpenWizard() {
        PostClick(Item(editor::kAddButton));
        HWND wizard = WaitForWindow(m_editor.pid(), editor::kWizardClass, nullptr);
        EXPECT_NE(wizard, nullptr);
        return wizard;
    }
    void Shoot(const std::string& name, HWND window) {
        Pump(Millis(300));  // let the window finish painting
        EXPECT_TRUE(SaveScreenshotBmp(
            WinPath(SCREENSHOT_DIR) + "\\" + name + "_" + std::to_string(m_dpi) + "dpi.bmp",
            window));
    }

    // Each visible control of the table that has a caption: the caption inside the room the
    // control gives it, in the system's message font at the window's scale. (Under Wine a font
    // handle asked of another process's window comes back null, so which font the window
    // uses is told by what its list and text boxes measure: see MessageFontMetrics.)
    void ExpectCaptionsFit(HWND window, std::span<const ControlLayout> table) {
        const LOGFONTW font = MessageFontAt(m_dpi);
        int checked = 0;
        for (const ControlLayout& c : table) {
            HWND control = Control(window, c.Id);
            if (control == nullptr || !IsWindowVisible(control)) {
                continue;
            }
            SCOPED_TRACE("control " + std::to_string(c.Id) + " '" + GetText(control) + "'");
            const std::string caption = GetText(control);
            if (!HasCaption(c) || caption.empty()) {
                continue;
            }
            RECT client{};
            ASSERT_TRUE(GetClientRect(control, &client));
            EXPECT_EQ(Misfit(caption, font, CaptionRoom(c.Kind, client, m_dpi)), "");
            ++checked;
        }
        EXPECT_GT(checked, 0);
    }

    PerMonitorAware m_aware;
    int m_dpi = 96;
};

TEST_F(EditorDpiTest, WindowsAreLaidOutAtTheDisplaysScaleInTheMessageFont) {
    ASSERT_TRUE(Open());
    // The client area is the form's size at this scale.
    RECT client{};
    ASSERT_TRUE(GetClientRect(m_main, &client));
    const float tpp = editor::TwipsPerPixel(m_dpi);
    EXPECT_EQ(client.right, editor::TwipsToPixels(editor::kFormWidth, tpp));
    EXPECT_EQ(client.bottom, editor::TwipsToPixels(editor::kFormHeight, tpp));
    // Each control at its table place at this scale.
    for (const ControlLayout& c : editor::MainWindowControls()) {
        if (c.Kind == ControlKind::DriveList) {
            continue;  // its window is as tall as its open list
        }
        RECT r{};
        ASSERT_TRUE(GetWindowRect(Item(c.Id), &r)) << c.Id;
        MapWindowPoints(nullptr, m_main, reinterpret_cast<POINT*>(&r), 2);
        const editor::PixelRect want = editor::ClientRect(c, tpp);
        EXPECT_EQ(r.left, want.Left) << c.Id;
        EXPECT_EQ(r.top, want.Top) << c.Id;
        EXPECT_EQ(r.right - r.left, want.Width) << c.Id;
        EXPECT_EQ(r.bottom - r.top, want.Height) << c.Id;
    }
    // The window's font (all its controls share one) is the message font at this scale: the
    // item list's rows are as tall as its lines, or as the small icon with a margin.
    EXPECT_EQ(SendMessageW(Item(editor::kItemList), LB_GETITEMHEIGHT, 0, 0), RowHeightAt(m_dpi));

    ExpectCaptionsFit(m_main, editor::MainWindowControls());
    Shoot("editor_contents", m_main);
    ShowAppearance();
    ExpectCaptionsFit(m_main, editor::MainWindowControls());
    Shoot("editor_appearance", m_main);
    // The shortcuts page, its text on pinning wrapped inside its label.
    ASSERT_TRUE(ForceForeground(m_main));
    SendKey(static_cast<WORD>(editor::MnemonicOf(editor::kShortcutsTabCaption)), {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kPinLabel)) != 0; }));
    EXPECT_FALSE(IsWindowVisible(Item(editor::kChangeFontButton)));
    ExpectCaptionsFit(m_main, editor::MainWindowControls());
    RECT pin{};
    ASSERT_TRUE(GetClientRect(Item(editor::kPinLabel), &pin));
    EXPECT_GE(pin.bottom, 3 * MetricsOf(MessageFontAt(m_dpi), "Pin").LineHeight)
        << "room for the lines the text takes";
    Shoot("editor-shortcuts", m_main);
}

TEST_F(EditorDpiTest, BothWizardPagesFitTheirCaptionsAndCentreOnTheEditorsMonitor) {
    ASSERT_TRUE(Open());
    HWND wizard = OpenWizard();
    ASSERT_NE(wizard, nullptr);
    ExpectDialogPlace(wizard, editor::kWizardWidth, editor::kWizardHeight);

    // The wizard's font is the message font at this scale: a text in its path box is as wide
    // as in that font.
    const std::string probe = "Additional Command Line";
    HWND path = Control(wizard, editor::kWizardPath);
    ASSERT_TRUE(SetText(path, probe + "|"));
    const auto x = [&](std::size_t index) {
        return static_cast<int>(static_cast<short>(
            LOWORD(SendMessageW(path, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0))));
    };
    EXPECT_EQ(x(probe.size()) - x(0), MetricsOf(MessageFontAt(m_dpi), probe).Width);
    ASSERT_TRUE(SetText(path, ""));

    ExpectCaptionsFit(wizard, editor::WizardControls());
    Shoot("editor_wizard_path", wizard);
    ASSERT_TRUE(SetText(Control(wizard, editor::kWizardPath), "C:\\windows\\notepad.exe"));
    HWND next = Control(wizard, editor::kWizardNext);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(next) != 0; }));
    Click(next);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Control(wizard, editor::kWizardName)); }));
    ExpectCaptionsFit(wizard, editor::WizardControls());
    Shoot("editor_wizard_name", wizard);
    Click(Control(wizard, editor::kWizardCancel));
    EXPECT_TRUE(WaitForWindowGone(wizard));
}

TEST_F(EditorDpiTest, TheIconChooserFitsItsCaptionsAndCentresOnTheEditorsMonitor) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    PostClick(Item(editor::kChangeIconButton));
    HWND chooser = WaitForWindow(m_editor.pid(), editor::kChooserClass, nullptr);
    ASSERT_NE(chooser, nullptr);
    HWND count = Control(chooser, editor::kChooserCount);
    ASSERT_TRUE(WaitUntil([&] { return GetText(count) == "1 Icon"; })) << GetText(count);
    ExpectDialogPlace(chooser, editor::kChooserWidth, editor::kChooserHeight);
    ExpectCaptionsFit(chooser, editor::ChooserControls());
    Shoot("editor_icon_chooser", chooser);
    Click(Control(chooser, editor::kChooserCancel));
    EXPECT_TRUE(WaitForWindowGone(chooser));
}

TEST_F(EditorDpiTest, TheIconChoosersGridHoldsLargeIconsAtTheWindowsScale) {
    ASSERT_TRUE(EditorFixture::Open(
        "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
        "\"Shell\",\"C:\\windows\\notepad.exe\",\"\",\"\","
        "\"C:\\windows\\system32\\shell32.dll\",3\r\n"));
    ASSERT_TRUE(SelectListItem(Item(editor::kItemList), 0));
    PostClick(Item(editor::kChangeIconButton));
    HWND chooser = WaitForWindow(m_editor.pid(), editor::kChooserClass, nullptr);
    ASSERT_NE(chooser, nullptr);
    HWND grid = Control(chooser, editor::kChooserGrid);
    ASSERT_TRUE(WaitUntil([&] { return ListViewSelection(grid) == 3; }));
    EXPECT_GT(ListViewCount(grid), 100);
    // The icons' places are the large icon's size at this scale apart, with half of it between.
    const int size = Scaled(32, m_dpi);
    const std::optional<RECT> first = ListViewIconRect(grid, 0);
    const std::optional<RECT> second = ListViewIconRect(grid, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->left - first->left, size + size / 2);
    EXPECT_EQ(second->top, first->top) << "one row";
    Shoot("editor_icon_grid", chooser);
    Click(Control(chooser, editor::kChooserCancel));
    EXPECT_TRUE(WaitForWindowGone(chooser));
}

// The window moved to a monitor of another scale, as Windows tells it (a second monitor cannot
// be had here): the window takes the suggested place and lays every control out anew, in the
// message font at the new scale.
TEST_F(EditorDpiTest, AChangeOfScaleLaysTheMainWindowOutAnew) {
    ASSERT_TRUE(Open());
    const int dpi = m_dpi == 120 ? 144 : 120;
    RECT frame{};
    ASSERT_TRUE(GetWindowRect(m_main, &frame));
    const RECT suggested{0, 0, MulDiv(frame.right - frame.left, dpi, m_dpi),
                         MulDiv(frame.bottom - frame.top, dpi, m_dpi)};
    // The message carries a pointer to the rectangle: it is put at the same address in both
    // processes, so the editor reads it whether or not the system copies it across.
    void* shared = VirtualAllocEx(m_editor.handle(), nullptr, sizeof suggested,
                                  MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(shared, nullptr);
    ASSERT_TRUE(
        WriteProcessMemory(m_editor.handle(), shared, &suggested, sizeof suggested, nullptr));
    void* here = VirtualAlloc(shared, sizeof suggested, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (here != shared) {
        GTEST_SKIP() << "the address is taken in this process";
    }
    *static_cast<RECT*>(here) = suggested;
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(m_main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                  reinterpret_cast<LPARAM>(shared), SMTO_NORMAL, 5000, &result),
              0);
    VirtualFree(here, 0, MEM_RELEASE);
    RECT now{};
    ASSERT_TRUE(GetWindowRect(m_main, &now));
    EXPECT_EQ(now.left, 0);
    EXPECT_EQ(now.top, 0);
    const float tpp = editor::TwipsPerPixel(dpi);
    for (int id : {static_cast<int>(editor::kItemList), static_cast<int>(editor::kQuitButton),
                   static_cast<int>(editor::kMenuTypeLabel)}) {
        RECT r{};
        ASSERT_TRUE(GetWindowRect(Item(id), &r));
        MapWindowPoints(nullptr, m_main, reinterpret_cast<POINT*>(&r), 2);
        const editor::PixelRect want = editor::ClientRect(*editor::FindControl(id), tpp);
        EXPECT_EQ(r.left, want.Left) << id;
        EXPECT_EQ(r.top, want.Top) << id;
        EXPECT_EQ(r.right - r.left, want.Width) << id;
        EXPECT_EQ(r.bottom - r.top, want.Height) << id;
    }
    EXPECT_EQ(SendMessageW(Item(editor::kItemList), LB_GETITEMHEIGHT, 0, 0), RowHeightAt(dpi));
    // The row's icon taken anew at the new scale's size, no larger than its square.
    const RECT row = RowOnScreen(Item(editor::kItemList), 0);
    Drawn drawn;
    EXPECT_TRUE(WaitUntil([&] {
        drawn = DrawnBeforeText(row, SmallIconSize(dpi), dpi, GetSysColor(COLOR_WINDOW));
        return drawn.Bounds.right - drawn.Bounds.left >= SmallIconSize(dpi) / 2;
    }));
    EXPECT_LE(drawn.Bounds.right - drawn.Bounds.left, SmallIconSize(dpi));
    EXPECT_LE(drawn.Bounds.bottom - drawn.Bounds.top, SmallIconSize(dpi));
    Shoot("editor_rescaled_to_" + std::to_string(dpi), m_main);
}

constexpr COLORREF kDarkSchemeText = RGB(255, 255, 255);

// A dark high-contrast scheme for the test's span.
SystemColours DarkScheme() {
    return SystemColours({{COLOR_WINDOW, RGB(0, 0, 0)},
                          {COLOR_BTNFACE, RGB(0, 0, 0)},
                          {COLOR_3DFACE, RGB(0, 0, 0)},
                          {COLOR_WINDOWTEXT, kDarkSchemeText},
                          {COLOR_BTNTEXT, kDarkSchemeText}});
}

// The screen's pixels over a window (or the part `part` of its window rectangle).
std::vector<std::uint32_t> PixelsOver(HWND hwnd, const RECT* part = nullptr) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (part != nullptr) {
        r = RECT{r.left + part->left, r.top + part->top, r.left + part->right,
                 r.top + part->bottom};
    }
    return PixelsOf(nullptr, r);
}

int Brightness(std::uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3;
}

TEST_F(EditorDpiTest, LabelsAndCheckBoxesStayReadableInADarkHighContrastScheme) {
    const SystemColours scheme = DarkScheme();
    ASSERT_TRUE(scheme.Set());
    // Started after the change, so the editor reads the scheme whether or not a running
    // program follows a change of the system's colours.
    ASSERT_TRUE(Open());
    auto expectReadable = [&](HWND window, std::span<const ControlLayout> table) {
        int checked = 0;
        for (const ControlLayout& c : table) {
            HWND control = Control(window, c.Id);
            if ((c.Kind != ControlKind::Label && c.Kind != ControlKind::Check &&
                 c.Kind != ControlKind::Frame) ||
                !IsWindowVisible(control) || GetText(control).empty()) {
                continue;
            }
            SCOPED_TRACE("control " + std::to_string(c.Id) + " '" + GetText(control) + "'");
            InvalidateRect(control, nullptr, TRUE);
            UpdateWindow(control);
            Pump(Millis(50));
            // A frame's caption: the gap it leaves in the top line, clear of the line's ends.
            const Metrics caption = MetricsOf(MessageFontAt(m_dpi), GetText(control));
            const RECT gap{Scaled(12, m_dpi), 0, Scaled(12, m_dpi) + caption.Width * 3 / 4,
                           caption.LineHeight};
            const std::vector<std::uint32_t> pixels =
                PixelsOver(control, c.Kind == ControlKind::Frame ? &gap : nullptr);
            ASSERT_FALSE(pixels.empty());
            // Dark behind, light text on it: the scheme's colours, not black on black.
            const auto light = std::count_if(pixels.begin(), pixels.end(),
                                             [](std::uint32_t p) { return Brightness(p) > 160; });
            const auto dark = std::count_if(pixels.begin(), pixels.end(),
                                            [](std::uint32_t p) { return Brightness(p) < 64; });
            EXPECT_GT(light, 10) << "no text to be seen";
            EXPECT_GT(dark, static_cast<long long>(pixels.size() / 2))
                << "the background is not the scheme's";
            ++checked;
        }
        EXPECT_GT(checked, 0);
    };
    expectReadable(m_main, editor::MainWindowControls());
    Shoot("editor_contents_dark", m_main);
    // A theme's page would stay white under the scheme's white text: the page is the scheme's.
    RECT page{};
    GetWindowRect(Item(editor::kItemFrame), &page);
    const RECT middle{2, (page.bottom - page.top) / 2, 6, (page.bottom - page.top) / 2 + 4};
    for (std::uint32_t p : PixelsOver(Item(editor::kItemFrame), &middle)) {
        EXPECT_LT(Brightness(p), 64) << std::hex << p;
    }
    ShowAppearance();
    expectReadable(m_main, editor::MainWindowControls());
    Shoot("editor_appearance_dark", m_main);
    ASSERT_TRUE(ForceForeground(m_main));
    SendKey(static_cast<WORD>(editor::MnemonicOf(editor::kShortcutsTabCaption)), {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(editor::kPinLabel)) != 0; }));
    expectReadable(m_main, editor::MainWindowControls());
    Shoot("editor-shortcuts_dark", m_main);
    HWND wizard = OpenWizard();
    ASSERT_NE(wizard, nullptr);
    expectReadable(wizard, editor::WizardControls());
    Shoot("editor_wizard_dark", wizard);
    Click(Control(wizard, editor::kWizardCancel));
    EXPECT_TRUE(WaitForWindowGone(wizard));
}

TEST_F(EditorDpiTest, EachRowShowsItsIconAtTheSmallSizeAndASeparatorIsALine) {
    // The shell's icon of a program and of a folder, an icon of a library's own, a separator.
    const std::string menu =
        "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n"
        "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n"
        "\"Letters\",\"C:\\windows\",\"\",\"\",\"\",0\r\n"
        "\"\",\"\",\"\",\"\",\"\",\r\n"
        "\"User\",\"C:\\windows\\system32\\user32.dll\",\"\",\"\",\"\",2\r\n";
    const std::string withoutUser = menu.substr(0, menu.rfind("\"User\""));
    ASSERT_TRUE(EditorFixture::Open(menu));
    HWND list = Item(editor::kItemList);
    const int iconSize = SmallIconSize(m_dpi);
    EXPECT_EQ(iconSize, Scaled(16, m_dpi));
    const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(rowHeight, RowHeightAt(m_dpi));
    Pump(Millis(300));

    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (int row : {0, 1, 3}) {
        SCOPED_TRACE("row " + std::to_string(row));
        const RECT r = RowOnScreen(list, row);
        EXPECT_EQ(r.bottom - r.top, rowHeight);
        // The names are painted first and the icons a moment later.
        Drawn drawn;
        EXPECT_TRUE(WaitUntil([&] {
            drawn = DrawnBeforeText(r, iconSize, m_dpi, window);
            return drawn.Bounds.right - drawn.Bounds.left >= iconSize * 5 / 8;
        }));
        const RECT& b = drawn.Bounds;
        // At the small size, whole and unstretched: no wider or taller than the square, and
        // filling most of it (the system's icons leave a pixel or two of margin).
        EXPECT_LE(b.right - b.left, iconSize);
        EXPECT_LE(b.bottom - b.top, iconSize);
        EXPECT_GE(b.right - b.left, iconSize * 5 / 8);
        EXPECT_GE(b.bottom - b.top, iconSize * 5 / 8);
    }
    // The separator: one line across the row, not a row of hyphens.
    {
        const RECT r = RowOnScreen(list, 2);
        const int inset = Scaled(4, m_dpi);
        const RECT across{r.left + inset, r.top + 1, r.right - inset, r.bottom - 1};
        const std::vector<std::uint32_t> pixels = PixelsOf(nullptr, across);
        const int width = across.right - across.left;
        const std::uint32_t bg =
            (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
        int solid = 0;
        int touched = 0;
        for (int y = 0; y < across.bottom - across.top; ++y) {
            const auto begin = pixels.begin() + y * width;
            const auto drawn =
                std::count_if(begin, begin + width, [&](std::uint32_t p) { return p != bg; });
            solid += drawn == width;
            touched += drawn > 0;
        }
        EXPECT_GE(solid, 1) << "no line";
        EXPECT_EQ(touched, solid) << "something beside the line";
        EXPECT_LE(solid, Scaled(1, m_dpi) + 1);
    }
    Shoot("editor_list_icons", m_main);

    // Deleted and taken back with Ctrl+Z: the row comes back with its icon, selected as before.
    const RECT user = RowOnScreen(list, 3);
    ASSERT_TRUE(
        LeftClickAt({user.left + (user.right - user.left) / 2, (user.top + user.bottom) / 2}));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 3; }));
    ParkMouse();  // the list's tooltip would cover rows
    Pump(Millis(300));
    const Drawn before = DrawnBeforeText(user, iconSize, m_dpi, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GE(before.Bounds.right - before.Bounds.left, iconSize * 5 / 8);
    ASSERT_TRUE(ForceForeground(m_main));
    SendKey(VK_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return File() == withoutUser; })) << File();
    SendKey('Z', {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return File() == menu; })) << "byte for byte: " << File();
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 3; }));
    Pump(Millis(300));
    Drawn after;
    EXPECT_TRUE(WaitUntil([&] {
        after = DrawnBeforeText(user, iconSize, m_dpi, GetSysColor(COLOR_HIGHLIGHT));
        return after.Pixels == before.Pixels;
    })) << "the row's icon is not the one it had";
    Shoot("editor_list_icons_undone", m_main);
}

}  // namespace
