// tvlengin.exe at the display's scale: cells, icon squares and icons, scroll-strip triangles.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "menufile/menu_file.h"
#include "platform/menu_font_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"
#include "winauto.h"

namespace {

using namespace winauto;

constexpr char kPopupClass[] = "TarvelMenuPopup";

// The colours of the test icon's images, one per size, and of the border they all have: the
// screen then tells which image was drawn and whether it was cut or resized.
struct IconImage {
    int size;
    std::uint32_t fill;  // 0xRRGGBB
};
constexpr IconImage kImages[] = {{16, 0xDC0000}, {24, 0x00AA00}, {32, 0x0000E6}, {48, 0xFA8C00}};
constexpr std::uint32_t kBorder = 0xFF00FF;

void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// An .ico file of 32-bit images of every size in kImages, each a solid square in its colour
// with a 1-pixel kBorder frame.
std::string IconFileBytes() {
    std::string header;
    std::string images;
    const std::size_t count = std::size(kImages);
    Put16(header, 0);
    Put16(header, 1);  // an icon
    Put16(header, static_cast<unsigned>(count));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * count);
    for (const IconImage& image : kImages) {
        const int s = image.size;
        const std::uint32_t maskRow = static_cast<std::uint32_t>((s + 31) / 32 * 4);
        const std::uint32_t bytes = 40 + static_cast<std::uint32_t>(s * s * 4) + maskRow * s;
        header += static_cast<char>(s);
        header += static_cast<char>(s);
        header += '\0';  // colours
        header += '\0';
        Put16(header, 1);   // planes
        Put16(header, 32);  // bits
        Put32(header, bytes);
        Put32(header, offset);
        offset += bytes;

        Put32(images, 40);
        Put32(images, static_cast<std::uint32_t>(s));
        Put32(images, static_cast<std::uint32_t>(2 * s));  // colour and mask
        Put16(images, 1);
        Put16(images, 32);
        Put32(images, 0);  // BI_RGB
        Put32(images, static_cast<std::uint32_t>(s * s * 4) + maskRow * s);
        for (int i = 0; i < 4; ++i) {
            Put32(images, 0);
        }
        for (int y = 0; y < s; ++y) {  // bottom-up; the frame makes it the same either way
            for (int x = 0; x < s; ++x) {
                const bool edge = x == 0 || y == 0 || x == s - 1 || y == s - 1;
                Put32(images, 0xFF000000u | (edge ? kBorder : image.fill));
            }
        }
        images.append(maskRow * s, '\0');  // opaque everywhere
    }
    return header + images;
}

std::uint32_t Rgb(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

std::uint32_t SysRgb(int index) {
    return Rgb(::GetSysColor(index));
}

// Pixels as 0xRRGGBB, row by row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> px;
    [[nodiscard]] std::uint32_t at(int x, int y) const {
        return px[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
    }
};

// What a DC shows of a rectangle.
Image Grab(HDC from, int x, int y, int width, int height) {
    return Image{width, height, PixelsOf(from, RECT{x, y, x + width, y + height})};
}

// The pop-up's client area as the screen shows it (another process's window DC is not readable
// under Wine).
Image CaptureClient(HWND popup) {
    RECT client{};
    ::GetClientRect(popup, &client);
    const POINT origin = ClientToScreenAt(popup, 0, 0);
    platform::WindowDc screen(nullptr);
    return Grab(screen.get(), origin.x, origin.y, client.right, client.bottom);
}

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive; empty: all 0
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "[" << b.left << "," << b.top << " - " << b.right << "," << b.bottom << ")";
}

// The box around the pixels of `area` that are not `background`.
Box BoundsOf(const Image& image, const Box& area, std::uint32_t background) {
    Box b{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (image.at(x, y) != background) {
                b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
                     std::max(b.bottom, y + 1)};
            }
        }
    }
    return b.left < b.right ? b : Box{};
}

class EngineDpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Pixels as the engine's own, which is aware of each monitor's scale.
        using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
        m_setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
        if (m_setContext) {
            m_oldContext = m_setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        }
        {
            platform::WindowDc screen(nullptr);
            m_dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
        }
        m_tpp = static_cast<int>(std::lround(1440.0 / m_dpi));  // whole twips, halves up
        ParkMouse();
    }
    void TearDown() override {
        if (m_setContext && m_oldContext) {
            m_setContext(m_oldContext);
        }
    }

    // Twips to pixels as the engine paints them: to the nearest, ties to even.
    [[nodiscard]] int Px(double twips) const {
        return static_cast<int>(std::nearbyint(twips / m_tpp));
    }

    // The cell height of the menu's rule: the icon square plus 120, or the text plus 135 when
    // the text is at least as tall as the square.
    [[nodiscard]] double CellHeight(const menufile::MenuSettings& settings) const {
        const double square = settings.SmallIcons == "1" ? 240 : 480;
        platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        platform::UniqueHfont font = platform::CreateMenuFont(settings, m_dpi);
        platform::SelectGuard select(dc.get(), font.get());
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc.get(), &tm);
        const double text = static_cast<double>(tm.tmHeight) * m_tpp;
        return text >= square ? text + 135 : square + 120;
    }

    HWND Open(const menufile::MenuSettings& settings, const std::vector<menufile::MenuItem>& items,
              POINT at = {200, 150}) {
        std::string bytes = "BM picture <\r\n<START TVL>\r\n\"USERDEF\"\r\n";
        bytes += menufile::FormatSettingsLine(settings);
        for (const auto& item : items) {
            bytes += menufile::FormatItemLine(item);
        }
        const std::string menu = m_dir.File("scaled menu.tvl");
        EXPECT_TRUE(WriteFileBytes(menu, bytes));
        EXPECT_TRUE(MoveMouse(at));
        m_engine = Start(WinPath(TVLENGIN_EXE), Quote(menu), m_dir.path());
        EXPECT_TRUE(m_engine);
        HWND popup = WaitForWindow(m_engine.pid(), kPopupClass, nullptr);
        ParkMouse();  // nothing hovered: no highlight, no tooltip
        return popup;
    }

    void Close(HWND popup) {
        PostKey(popup, VK_ESCAPE);
        EXPECT_TRUE(m_engine.WaitForExit().has_value());
    }

    [[nodiscard]] std::string Shot(const std::string& what) const {
        return WinPath(SCREENSHOT_DIR) + "\\engine-dpi" + std::to_string(m_dpi) + "-" + what +
               ".bmp";
    }

    void CheckIcons(bool small);

    TempDir m_dir{"engine-dpi"};
    Process m_engine;
    int m_dpi = 96;
    int m_tpp = 15;

private:
    DPI_AWARENESS_CONTEXT(WINAPI* m_setContext)(DPI_AWARENESS_CONTEXT) = nullptr;
    DPI_AWARENESS_CONTEXT m_oldContext = nullptr;
};

// The shell's icon for `path` as this process gets it at `size` pixels, drawn on `background`:
// what the engine's square must show.
Image ShellIconOn(const std::string& path, bool small, int size, std::uint32_t background) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    if (::SHGetFileInfoW(platform::Widen(path).c_str(), 0, &info, sizeof info, flags) == 0 ||
        info.hIcon == nullptr) {
        return {};
    }
    platform::UniqueHicon icon(info.hIcon);
    platform::WindowDc screen(nullptr);
    platform::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    platform::UniqueHbitmap bitmap(::CreateCompatibleBitmap(screen.get(), size, size));
    Image image;
    {
        platform::SelectGuard select(memory.get(), bitmap.get());
        RECT all{0, 0, size, size};
        platform::UniqueHbrush brush(
            ::CreateSolidBrush(RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF)));
        ::FillRect(memory.get(), &all, brush.get());
        ::DrawIconEx(memory.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
        image = Grab(memory.get(), 0, 0, size, size);
    }
    return image;
}

// Each icon fills its square at the display's scale: the image of the square's size from an
// icon file, the shell's icon of that size for a document, neither cut by the cell nor resized.
void EngineDpiTest::CheckIcons(bool small) {
    const std::string ico = m_dir.File("sizes.ico");
    ASSERT_TRUE(WriteFileBytes(ico, IconFileBytes()));
    const std::string text = m_dir.File("notes.txt");
    ASSERT_TRUE(WriteFileBytes(text, "some text"));
    const std::string program = ExeDir() + "launch_recorder.exe";
    const std::vector<menufile::MenuItem> items = {
        {"Sizes", program, "", "", ico, "0"},
        {"Notes", text, "", "", "", "0"},
        {"Sizes again", program, "", "", ico, "0"},
    };
    menufile::MenuSettings settings;
    settings.SmallIcons = small ? "1" : "0";
    const double cellTwips = CellHeight(settings);
    const double squareTwips = small ? 240 : 480;
    const int square = Px(squareTwips);
    const int cell = Px(cellTwips);
    const int iconLeft = Px(120);
    const int captionLeft = Px(small ? 500 : 720);
    SCOPED_TRACE("dpi " + std::to_string(m_dpi) + (small ? ", small icons" : ", large icons") +
                 ", square " + std::to_string(square) + " px, cell " + std::to_string(cell) +
                 " px");

    HWND popup = Open(settings, items);
    ASSERT_NE(popup, nullptr);
    RECT outer{};
    ::GetWindowRect(popup, &outer);
    EXPECT_EQ(outer.bottom - outer.top, Px(3 * cellTwips + 70)) << "three cells and 70 twips";

    RECT client{};
    ::GetClientRect(popup, &client);
    const std::uint32_t menu = SysRgb(COLOR_MENU);
    const auto iconArea = [&](int row) {
        // From the cell's left to its caption: the icon surface and the margins around it.
        // The frame covers what lies below the client area: 70 twips are less than it.
        return Box{0, Px(row * cellTwips), captionLeft,
                   std::min(Px((row + 1) * cellTwips), static_cast<int>(client.bottom))};
    };
    Image shot;
    // The icons come after the first paint.
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.width > 0 && BoundsOf(shot, iconArea(0), menu) != Box{} &&
               BoundsOf(shot, iconArea(1), menu) != Box{} &&
               BoundsOf(shot, iconArea(2), menu) != Box{};
    }));
    Pump(Millis(100));
    shot = CaptureClient(popup);
    EXPECT_TRUE(SaveScreenshotBmp(Shot(small ? "small-icons" : "large-icons"), popup));

    const auto squareOf = [&](int row) {
        const int top = Px(row * cellTwips) + Px((cellTwips - squareTwips) / 2);
        return Box{iconLeft, top, iconLeft + square, top + square};
    };
    const IconImage* expected = nullptr;
    for (const IconImage& image : kImages) {
        if (image.size == square) {
            expected = &image;
        }
    }
    for (const int row : {0, 2}) {
        SCOPED_TRACE("icon file, row " + std::to_string(row));
        const Box box = squareOf(row);
        EXPECT_EQ(BoundsOf(shot, iconArea(row), menu), box) << "the whole square, no more";
        int border = 0;
        int fill = 0;
        std::uint32_t inside = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const bool edge =
                    x == box.left || y == box.top || x == box.right - 1 || y == box.bottom - 1;
                const std::uint32_t px = shot.at(x, y);
                if (edge) {
                    border += px == kBorder;
                } else {
                    inside = px;
                    fill += expected && px == expected->fill;
                }
            }
        }
        EXPECT_EQ(border, 4 * square - 4) << "the 1-pixel border is whole: neither cut nor resized";
        if (expected) {
            EXPECT_EQ(fill, (square - 2) * (square - 2))
                << "the file's own " << square << "-pixel image; saw " << std::hex << inside;
        }
    }

    {
        SCOPED_TRACE("shell icon of a document");
        const Box box = squareOf(1);
        const Box drawn = BoundsOf(shot, iconArea(1), menu);
        EXPECT_GE(drawn.left, box.left) << drawn;
        EXPECT_GE(drawn.top, box.top) << drawn;
        EXPECT_LE(drawn.right, box.right) << drawn;
        EXPECT_LE(drawn.bottom, box.bottom) << drawn;
        EXPECT_GT(drawn.bottom - drawn.top, square / 2) << "an icon of the square's size";
        const Image want = ShellIconOn(text, small, square, menu);
        ASSERT_EQ(want.width, square);
        int differ = 0;
        for (int y = 0; y < square; ++y) {
            for (int x = 0; x < square; ++x) {
                const std::uint32_t a = want.at(x, y);
                const std::uint32_t b = shot.at(box.left + x, box.top + y);
                for (int shift = 0; shift < 24; shift += 8) {
                    if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                 static_cast<int>((b >> shift) & 0xFF)) > 8) {
                        ++differ;
                        break;
                    }
                }
            }
        }
        EXPECT_EQ(differ, 0) << "the shell's " << square << "-pixel icon, whole";
    }

    // Each cell's rectangle, shown by its highlight: from its top to the next cell's.
    const std::uint32_t highlight = SysRgb(COLOR_HIGHLIGHT);
    const int column = client.right - 3;  // right of every caption
    for (int row = 0; row < 3; ++row) {
        PostKey(popup, VK_DOWN);
        const int top = Px(row * cellTwips);
        const int bottom = Px((row + 1) * cellTwips);
        ASSERT_TRUE(WaitUntil([&] {
            shot = CaptureClient(popup);
            return shot.width > column && shot.at(column, top) == highlight;
        })) << "row "
            << row;
        for (int y = 0; y < shot.height; ++y) {
            EXPECT_EQ(shot.at(column, y) == highlight, y >= top && y < bottom)
                << "row " << row << ", y " << y;
        }
        if (row == 1) {
            EXPECT_TRUE(SaveScreenshotBmp(
                Shot(small ? "small-icons-highlighted" : "large-icons-highlighted"), popup));
        }
    }
    Close(popup);
}

TEST_F(EngineDpiTest, LargeIconsAreTakenAtTheSquaresSizeAndFitTheirCells) {
    CheckIcons(false);
}

TEST_F(EngineDpiTest, SmallIconsAreTakenAtTheSquaresSizeAndFitTheirCells) {
    CheckIcons(true);
}

// Checks a scroll strip's triangle: rows of 1, 3 and 5 units (a unit 15 twips in whole pixels)
// from 45 twips below the strip's top, centred, in the menu text colour; the rest of the strip
// in the menu colour.
void CheckTriangle(const Image& shot, int stripTop, int stripHeight, int unit, int triangleTop,
                   int centre, bool pointingUp, std::uint32_t menu, std::uint32_t text) {
    const Box strip{0, stripTop, shot.width, std::min(stripTop + stripHeight, shot.height)};
    const Box box = BoundsOf(shot, strip, menu);
    EXPECT_EQ(box.bottom - box.top, 3 * unit) << box;
    EXPECT_EQ(box.right - box.left, 5 * unit) << box;
    EXPECT_EQ(box.top, stripTop + triangleTop) << box;
    EXPECT_LE(std::abs((box.left + box.right) / 2 - centre), unit) << box << " centre " << centre;
    for (int y = box.top; y < box.bottom; ++y) {
        const int row = (y - box.top) / unit;
        const int half = (pointingUp ? row : 2 - row) * unit;
        const int mid = box.left + 2 * unit;  // the apex's first column
        for (int x = box.left; x < box.right; ++x) {
            const bool in = x >= mid - half && x < mid + unit + half;
            EXPECT_EQ(shot.at(x, y), in ? text : menu) << "x " << x << ", y " << y;
        }
    }
}

TEST_F(EngineDpiTest, ScrollStripTrianglesAreInTheMenuTextColour) {
    // A dark menu with light text, as a high-contrast scheme has.
    SystemColours colours(
        {{COLOR_MENU, RGB(0x10, 0x18, 0x40)}, {COLOR_MENUTEXT, RGB(0xF0, 0xE0, 0x60)}});
    ASSERT_TRUE(colours.Set());
    const std::uint32_t menu = SysRgb(COLOR_MENU);
    const std::uint32_t text = SysRgb(COLOR_MENUTEXT);
    ASSERT_EQ(text, 0xF0E060u);

    std::vector<menufile::MenuItem> items;
    for (int i = 0; i < 40; ++i) {
        items.push_back(
            {"Item " + std::to_string(i), ExeDir() + "launch_recorder.exe", "", "", "", "0"});
    }
    menufile::MenuSettings settings;
    HWND popup = Open(settings, items);
    ASSERT_NE(popup, nullptr);
    RECT outer{};
    ::GetWindowRect(popup, &outer);
    const int width = outer.right - outer.left;
    const double heightTwips = static_cast<double>(outer.bottom - outer.top) * m_tpp;
    ASSERT_GT(40 * CellHeight(settings), heightTwips) << "taller than the screen";
    const int unit = std::max(1, Px(15));
    const int stripHeight = Px(120);
    const int centre = width / 2;

    const int bottomTop = Px(heightTwips - 120 - 80);
    Image shot;
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.height > bottomTop &&
               BoundsOf(shot, {0, bottomTop, shot.width, shot.height}, menu) != Box{};
    }));
    EXPECT_TRUE(SaveScreenshotBmp(Shot("strips-bottom"), popup));
    {
        SCOPED_TRACE("bottom strip, pointing down");
        CheckTriangle(shot, bottomTop, stripHeight, unit, Px(45), centre, false, menu, text);
    }

    PostKey(popup, VK_END);  // to the last item: the list scrolls and the top strip shows
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.width > 0 && BoundsOf(shot, {0, 0, shot.width, stripHeight}, menu) != Box{} &&
               shot.at(centre, Px(45) + unit + unit / 2) == text;  // its middle row
    }));
    EXPECT_TRUE(SaveScreenshotBmp(Shot("strips-top"), popup));
    {
        SCOPED_TRACE("top strip, pointing up");
        CheckTriangle(shot, 0, stripHeight, unit, Px(45), centre, true, menu, text);
    }
    Close(popup);
}

int Luminance(std::uint32_t rgb) {
    return static_cast<int>((299 * (rgb >> 16) + 587 * ((rgb >> 8) & 0xFF) + 114 * (rgb & 0xFF)) /
                            1000);
}

// The dark app theme at the display's scale: cells, separator, frame and strips dark, captions
// and triangles light, a highlight of its own over the whole cell.
TEST_F(EngineDpiTest, TheDarkThemeDrawsCellsSeparatorsStripsAndHighlightDark) {
    DarkAppTheme dark;
    ASSERT_TRUE(dark.Set());
    std::vector<menufile::MenuItem> items;
    for (int i = 0; i < 40; ++i) {
        items.push_back(
            {"Item " + std::to_string(i), ExeDir() + "launch_recorder.exe", "", "", "", "0"});
    }
    items.insert(items.begin() + 1, menufile::MenuItem::Separator());
    menufile::MenuSettings settings;
    const double cell = CellHeight(settings);
    HWND popup = Open(settings, items);
    ASSERT_NE(popup, nullptr);
    RECT outer{};
    ::GetWindowRect(popup, &outer);
    RECT client{};
    ::GetClientRect(popup, &client);
    const int unit = std::max(1, Px(15));
    const int bottomTop = Px(static_cast<double>(outer.bottom - outer.top) * m_tpp - 120 - 80);
    const int column = client.right - 3;

    Image shot;
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.height > bottomTop && shot.at(column, 2) != SysRgb(COLOR_MENU);
    }));
    const std::uint32_t background = shot.at(column, 2);
    EXPECT_LT(Luminance(background), 64) << std::hex << background;
    // The icons come after the first paint: the screenshot shows them.
    EXPECT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.width > 0 && BoundsOf(shot, {0, 0, Px(720), Px(cell)}, background) != Box{};
    }));
    EXPECT_TRUE(SaveScreenshotBmp(Shot("dark"), popup));
    EXPECT_LT(Luminance(shot.at(column, Px(cell + 50))), Luminance(background)) << "the rule";
    EXPECT_GT(Luminance(shot.at(column, Px(cell + 65))), Luminance(background)) << "the rule";
    const std::vector<std::uint32_t> corner =
        PixelsOf(nullptr, {outer.left, outer.top, outer.left + 1, outer.top + 1});
    ASSERT_EQ(corner.size(), 1u);
    EXPECT_LT(Luminance(corner[0]), 128) << "no light frame round the dark menu";
    const int centre = (outer.right - outer.left) / 2;  // of the window, as the model centres it
    const std::uint32_t arrow = shot.at(centre, bottomTop + Px(45) + unit + unit / 2);
    EXPECT_GT(Luminance(arrow), 192) << std::hex << arrow;
    CheckTriangle(shot, bottomTop, Px(120), unit, Px(45), centre, false, background, arrow);

    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_DOWN);  // the item after the separator
    const int top = Px(cell + 120);
    const int bottom = Px(2 * cell + 120);
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.width > column && shot.at(column, top) != background;
    }));
    const std::uint32_t highlight = shot.at(column, top);
    EXPECT_GT(Luminance(highlight), Luminance(background)) << std::hex << highlight;
    EXPECT_NE(highlight, arrow);
    for (int y = 0; y < bottomTop; ++y) {
        if (y != Px(cell + 50) && y != Px(cell + 65)) {  // but the rule
            EXPECT_EQ(shot.at(column, y), y >= top && y < bottom ? highlight : background)
                << "y " << y;
        }
    }
    int light = 0;  // the highlighted caption stays light
    for (int y = top; y < bottom; ++y) {
        for (int x = Px(720); x < column; ++x) {
            light += Luminance(shot.at(x, y)) > 192;
        }
    }
    EXPECT_GT(light, 10);
    EXPECT_TRUE(SaveScreenshotBmp(Shot("dark-highlighted"), popup));
    Close(popup);
}

}  // namespace

TEST_F(EngineDpiTest, SubmenuArrowsAreTrianglesInTheTextColourAndThreeLevelsCascade) {
    const std::string programs = m_dir.File("Programs");
    ASSERT_TRUE(::CreateDirectoryA(programs.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((programs + "\\Games").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(programs + "\\Games\\Chess.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(programs + "\\Readme.txt", "x"));
    menufile::MenuSettings settings;
    HWND popup = Open(settings, {{"Programs", programs, "", "", "", "0"},
                                 {"Plain", ExeDir() + "launch_recorder.exe", "", "", "", "0"}});
    ASSERT_NE(popup, nullptr);
    const std::uint32_t menu = SysRgb(COLOR_MENU);
    const std::uint32_t text = SysRgb(COLOR_MENUTEXT);
    const int cell = Px(CellHeight(settings));
    // The arrow: 105 twips tall in whole pixels made odd, half as wide, its right end 150 twips
    // in from the cell's right edge, centred on the row.
    const int height = Px(105) | 1;
    const int width = (height + 1) / 2;
    Image shot;
    ASSERT_TRUE(WaitUntil([&] {
        shot = CaptureClient(popup);
        return shot.height > cell + cell / 2;
    }));
    const Box right{shot.width - Px(400), 0, shot.width, cell};
    const Box arrow = BoundsOf(shot, right, menu);
    EXPECT_EQ(arrow.bottom - arrow.top, height) << arrow;
    EXPECT_EQ(arrow.right - arrow.left, width) << arrow;
    EXPECT_LE(std::abs((arrow.top + arrow.bottom) / 2 - cell / 2), 1) << arrow;
    for (int y = arrow.top; y < arrow.bottom; ++y) {
        const int half = std::abs(y - (arrow.top + arrow.bottom - 1) / 2);
        for (int x = arrow.left; x < arrow.right; ++x) {
            const bool in = x - arrow.left < width - half;
            EXPECT_EQ(shot.at(x, y), in ? text : menu) << "x " << x << ", y " << y;
        }
    }
    EXPECT_EQ(BoundsOf(shot, {right.left, cell, right.right, shot.height}, menu), Box{})
        << "no arrow beside an entry without a submenu";

    // Programs, then Games: three levels, each beside the last.
    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RIGHT);
    PostKey(popup, VK_RIGHT);
    std::vector<HWND> levels;
    ASSERT_TRUE(WaitUntil([&] {
        levels.clear();
        for (HWND w : TopWindows(m_engine.pid())) {
            if (ClassOf(w) == kPopupClass && ::IsWindowVisible(w)) {
                levels.push_back(w);
            }
        }
        return levels.size() == 3;
    }));
    std::sort(levels.begin(), levels.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    EXPECT_EQ(levels.front(), popup);
    Pump(Millis(500));  // the icons of every level
    EXPECT_TRUE(SaveScreenshotBmp(Shot("cascade")));
    PostKey(popup, VK_ESCAPE);  // Games, then Programs: the first menu is left
    PostKey(popup, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(levels[1]));
    Close(popup);
}
