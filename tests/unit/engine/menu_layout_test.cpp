// Cell metrics and the placement of the pop-up: upward, against the bottom, leftward,
// taller than the screen, shortened captions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "engine/menu_model.h"
#include "menufile/text_encoding.h"

namespace {

using engine::MenuModel;
using menufile::MenuItem;

// Captions 100 twips per character.
const engine::MeasureWidth kMeasure = [](std::string_view s) {
    return static_cast<float>(s.size()) * 100.0f;
};
const engine::Rect kScreen{0, 0, 1024 * 15, 768 * 15};  // 15360 x 11520 twips

std::vector<MenuItem> Items(int cells, int separatorsAfterFirst = 0, std::size_t nameLength = 5) {
    std::vector<MenuItem> entries;
    for (int i = 0; i < cells; ++i) {
        entries.push_back({std::string(nameLength, static_cast<char>('a' + i % 26)),
                           "C:\\x" + std::to_string(i) + ".exe", "", "", "", "0"});
        if (i == 0) {
            for (int s = 0; s < separatorsAfterFirst; ++s) {
                entries.push_back(MenuItem::Separator());
            }
        }
    }
    return entries;
}

TEST(CellMetrics, FollowTheIconOrTheTextWhicheverIsTaller) {
    struct Case {
        bool small;
        int tpp;
        float textHeight, cellHeight, iconTop, textTop;
    };
    const Case cases[] = {
        {false, 15, 195, 600, 60, 202.5f},     // 8-point text, 32-pixel icons
        {true, 15, 195, 360, 60, 82.5f},       // 16-pixel icons
        {false, 15, 600, 735, 127.5f, 67.5f},  // text taller than the icon
        {false, 15, 480, 615, 67.5f, 67.5f},   // exactly as tall: text rule
        // Other scales keep the square's twips: 600 (not 32 x 12 + 120) and 360.
        {false, 12, 192, 600, 60, 204},
        {true, 10, 130, 360, 60, 115},
    };
    for (const Case& c : cases) {
        MenuModel m(Items(2), c.small, c.tpp, c.textHeight, kMeasure);
        EXPECT_EQ(m.CellHeight(), c.cellHeight) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.IconTop(), c.iconTop) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.TextTop(), c.textTop) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.Cells()[1].Top, c.cellHeight);
    }
}

TEST(CellMetrics, TwipsPerPixelIsOneWholeNumberPerDpiRoundedHalfUp) {
    EXPECT_EQ(engine::TwipsPerPixelForDpi(96), 15);
    EXPECT_EQ(engine::TwipsPerPixelForDpi(120), 12);
    EXPECT_EQ(engine::TwipsPerPixelForDpi(144), 10);
    EXPECT_EQ(engine::TwipsPerPixelForDpi(192), 8) << "7.5 rounds up";
    EXPECT_EQ(engine::TwipsPerPixelForDpi(168), 9) << "8.57";
    EXPECT_EQ(engine::TwipsPerPixelForDpi(110), 13) << "13.09";
    EXPECT_EQ(engine::TwipsPerPixelForDpi(0), 15) << "unknown: as at 96";
    EXPECT_EQ(engine::TwipsPerPixelForDpi(4000), 1) << "never 0";
}

// The icon square is the same twips at every scale, so the icon taken at its pixel size always
// fits the cell; the text rule is unchanged.
TEST(CellMetrics, TheIconSquareKeepsItsTwipsAtEveryDpi) {
    struct Case {
        int dpi;
        bool small;
        float textHeightPx;  // the item font's height in pixels at that dpi
        float cellHeight, iconTop, iconSize, iconWidth;
    };
    const Case cases[] = {
        // 8-point text: the icon rule.
        {96, false, 13, 600, 60, 32, 480},
        {96, true, 13, 360, 60, 16, 240},
        {120, false, 16, 600, 60, 40, 480},
        {120, true, 16, 360, 60, 20, 240},
        {144, false, 19, 600, 60, 48, 480},
        {144, true, 19, 360, 60, 24, 240},
        {192, false, 26, 600, 60, 60, 480},
        {192, true, 26, 360, 60, 30, 240},
        // 36-point text, taller than either square: the text rule.
        {96, false, 55, 55 * 15 + 135, (55 * 15 + 135 - 480) / 2.0f, 32, 480},
        {144, true, 82, 82 * 10 + 135, (82 * 10 + 135 - 240) / 2.0f, 24, 240},
        {192, false, 110, 110 * 8 + 135, (110 * 8 + 135 - 480) / 2.0f, 60, 480},
        // Text as tall as the small square but not the large one.
        {144, true, 24, 240 + 135, 67.5f, 24, 240},
        {144, false, 24, 600, 60, 48, 480},
    };
    for (const Case& c : cases) {
        const int tpp = engine::TwipsPerPixelForDpi(c.dpi);
        MenuModel m(Items(3), c.small, tpp, c.textHeightPx * static_cast<float>(tpp), kMeasure);
        const std::string at = std::to_string(c.dpi) + (c.small ? " small" : " large") + " text " +
                               std::to_string(c.textHeightPx);
        EXPECT_EQ(m.CellHeight(), c.cellHeight) << at;
        EXPECT_EQ(m.IconTop(), c.iconTop) << at;
        EXPECT_EQ(m.IconSquare(), c.small ? 240 : 480) << at;
        EXPECT_EQ(m.IconSize(), c.iconSize) << at;
        EXPECT_EQ(m.IconWidth(), c.iconWidth) << at;
        EXPECT_EQ(m.Cells()[2].Top, 2 * c.cellHeight) << at;
        // The square lies wholly inside its cell, in whole pixels as the window paints it.
        EXPECT_LE(m.IconTop() + m.IconSquare(), m.CellHeight()) << at;
        EXPECT_LE(std::nearbyint(m.IconTop() / static_cast<float>(tpp)) + m.IconSize(),
                  std::nearbyint(m.CellHeight() / static_cast<float>(tpp)))
            << at;
    }
}

TEST(HitTest, TheSmallIconSurfaceIsTheSquaresWidthAtEveryDpi) {
    using Kind = engine::Element::Kind;
    for (const int dpi : {96, 120, 144, 192}) {
        MenuModel m(Items(2), true, engine::TwipsPerPixelForDpi(dpi), 195, kMeasure);
        m.LayoutMenu(kScreen, 0, 0, kMeasure);
        EXPECT_EQ(m.HitTest(120 + 239, 100), (engine::Element{Kind::CellIcon, 0})) << dpi;
        EXPECT_EQ(m.HitTest(120 + 240, 100), (engine::Element{Kind::Cell, 0})) << dpi;
        EXPECT_EQ(m.HitTest(120 + 10, 59), (engine::Element{Kind::Cell, 0})) << dpi;
        EXPECT_EQ(m.HitTest(120 + 10, 60), (engine::Element{Kind::CellIcon, 0})) << dpi;
        EXPECT_EQ(m.HitTest(120 + 10, 360 + 60), (engine::Element{Kind::CellIcon, 1})) << dpi;
    }
}

TEST(CellMetrics, SeparatorsTakeHeightButNoIndexAndLaterTargetlessRecordsAreSkipped) {
    std::vector<MenuItem> entries = {MenuItem::Separator(),
                                     {"first", "", "", "", "", "0"},  // the first may lack a target
                                     MenuItem::Separator(),
                                     {"no target", "", "", "", "", "0"},
                                     {"b", "b.exe", "", "", "", "0"}};
    MenuModel m(entries, false, 15, 195, kMeasure);
    ASSERT_EQ(m.Cells().size(), 2u);
    ASSERT_EQ(m.Separators().size(), 2u);
    EXPECT_EQ(m.Separators()[0].Top, 0);
    EXPECT_EQ(m.Cells()[0].Top, 120);
    EXPECT_EQ(m.Separators()[1].Top, 720);
    EXPECT_EQ(m.Cells()[1].Top, 840);
    EXPECT_EQ(m.Cells()[1].Item.Name, "b");
}

TEST(CellMetrics, EmptyMenus) {
    EXPECT_TRUE(MenuModel({}, false, 15, 195, kMeasure).IsEmpty());
    EXPECT_TRUE(MenuModel({MenuItem::Separator(), MenuItem::Separator()}, false, 15, 195, kMeasure)
                    .IsEmpty());
    EXPECT_FALSE(MenuModel(Items(1), false, 15, 195, kMeasure).IsEmpty());
}

TEST(LayoutMenu, FitsBelowThePointerAndShowsNoStrip) {
    MenuModel m(Items(3, 1), false, 15, 195, kMeasure);
    m.LayoutMenu(kScreen, 1500, 3000, kMeasure);
    EXPECT_EQ(m.Height(), 3 * 600 + 120 + 70);
    EXPECT_EQ(m.ListHeight(), m.Height());
    EXPECT_EQ(m.Left(), 1500);
    EXPECT_EQ(m.Top(), 3000);
    EXPECT_EQ(m.Width(), 500 + 1000);
    EXPECT_EQ(m.CellWidth(), m.Width());
    EXPECT_FALSE(m.TopStripVisible());
    EXPECT_FALSE(m.BottomStripVisible());
    EXPECT_FALSE(m.ScrollTimerEnabled());
    EXPECT_EQ(m.CurrentItem(), -1);
}

TEST(LayoutMenu, OpensUpwardWhenThereIsRoomElseSitsOnTheBottom) {
    MenuModel up(Items(3, 1), false, 15, 195, kMeasure);
    up.LayoutMenu(kScreen, 1500, 11000, kMeasure);
    EXPECT_EQ(up.Top(), 11000 - 1990) << "bottom edge at the pointer";

    const engine::Rect low{0, 0, 15360, 3000};
    MenuModel bottom(Items(3, 1), false, 15, 195, kMeasure);
    bottom.LayoutMenu(low, 1500, 1500, kMeasure);
    EXPECT_EQ(bottom.Top(), 3000 - 1990) << "no room above the pointer: against the bottom";

    MenuModel exact(Items(3, 1), false, 15, 195, kMeasure);
    exact.LayoutMenu(kScreen, 0, 11520 - 1990, kMeasure);
    EXPECT_EQ(exact.Top(), 11520 - 1990) << "just fits: stays at the pointer";
}

TEST(LayoutMenu, TallerThanTheScreenFillsItFromTheTopWithTheBottomStrip) {
    MenuModel m(Items(30), true, 15, 195, kMeasure);  // 30 x 360 + 70 = 10870
    m.LayoutMenu({0, 0, 15360, 9000}, 700, 4000, kMeasure);
    EXPECT_EQ(m.Height(), 9000);
    EXPECT_EQ(m.Top(), 0);
    EXPECT_EQ(m.ListHeight(), 10870);
    EXPECT_TRUE(m.BottomStripVisible());
    EXPECT_FALSE(m.TopStripVisible());
    EXPECT_TRUE(m.ScrollTimerEnabled());
    EXPECT_EQ(m.Width(), 500 + 700);
}

TEST(LayoutMenu, FlipsLeftOnlyPastTheRightEdge) {
    MenuModel exact(Items(2), false, 15, 195, kMeasure);
    exact.LayoutMenu(kScreen, 15360 - 1500, 0, kMeasure);
    EXPECT_EQ(exact.Left(), 15360 - 1500) << "touching the edge does not flip";
    MenuModel flip(Items(2), false, 15, 195, kMeasure);
    flip.LayoutMenu(kScreen, 15360 - 1499, 0, kMeasure);
    EXPECT_EQ(flip.Left(), 15360 - 1499 - 1500) << "right edge at the pointer";
}

TEST(LayoutMenu, StaysOnTheMonitorUnderThePointer) {
    // A second monitor to the right of the first, and lower.
    const engine::Rect second{15360, 1500, 15360 + 19200, 1500 + 10800};
    MenuModel m(Items(3, 1), false, 15, 195, kMeasure);
    m.LayoutMenu(second, 15360 + 19000, 1500 + 10500, kMeasure);
    EXPECT_EQ(m.Left(), 15360 + 19000 - 1500);
    EXPECT_EQ(m.Top(), 1500 + 10500 - 1990);
    MenuModel tall(Items(40), false, 15, 195, kMeasure);
    tall.LayoutMenu(second, 16000, 5000, kMeasure);
    EXPECT_EQ(tall.Height(), 10800);
    EXPECT_EQ(tall.Top(), 1500);
}

TEST(LayoutMenu, StaysInsideTheWorkAreaWhereverTheTaskbarIs) {
    // A 1024 x 768 screen (15 twips a pixel) with a 40-pixel taskbar (600 twips) on each side in
    // turn; the menu is 1500 x 1990. The pointer stands where a user clicks: on the taskbar too.
    struct Case {
        const char* taskbar;
        engine::Rect work;
        float pointerX, pointerY;
        float left, top;
    };
    const Case cases[] = {
        {"bottom, pointer on it", {0, 0, 15360, 10920}, 3000, 11200, 3000, 10920 - 1990},
        {"bottom, pointer just above it", {0, 0, 15360, 10920}, 3000, 10900, 3000, 10900 - 1990},
        {"bottom, pointer high", {0, 0, 15360, 10920}, 3000, 2000, 3000, 2000},
        {"top, pointer on it", {0, 600, 15360, 11520}, 3000, 300, 3000, 600},
        {"left, pointer on it", {600, 0, 15360, 11520}, 300, 3000, 600, 3000},
        {"right, pointer on it", {0, 0, 14760, 11520}, 15000, 3000, 14760 - 1500, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.taskbar);
        MenuModel m(Items(3, 1), false, 15, 195, kMeasure);
        m.LayoutMenu(c.work, c.pointerX, c.pointerY, kMeasure);
        EXPECT_EQ(m.Left(), c.left);
        EXPECT_EQ(m.Top(), c.top);
        EXPECT_GE(m.Left(), c.work.Left);
        EXPECT_GE(m.Top(), c.work.Top);
        EXPECT_LE(m.Left() + m.Width(), c.work.Right);
        EXPECT_LE(m.Top() + m.Height(), c.work.Bottom);
    }
    // Taller than the work area: it fills the work area, not the screen.
    MenuModel tall(Items(40), false, 15, 195, kMeasure);
    tall.LayoutMenu({0, 600, 15360, 10920}, 3000, 5000, kMeasure);
    EXPECT_EQ(tall.Top(), 600);
    EXPECT_EQ(tall.Height(), 10320);
}

TEST(LayoutMenu, ShortensWideCaptionsWithAnEllipsisAndATooltip) {
    // Half of 15200 is 7600: a caption of 56 characters (5600 + 2000) just fits.
    const engine::Rect screen{0, 0, 15200, 11520};
    std::vector<MenuItem> entries = {{std::string(56, 'w'), "a.exe", "", "", "", "0"},
                                     {std::string(57, 'v'), "b.exe", "", "", "", "0"},
                                     {"short", "c.exe", "", "", "", "0"}};
    MenuModel m(entries, false, 15, 195, kMeasure);
    m.LayoutMenu(screen, 0, 0, kMeasure);
    EXPECT_EQ(m.Cells()[0].Caption, std::string(56, 'w'));
    EXPECT_EQ(m.Cells()[0].Tooltip, "");
    EXPECT_EQ(m.Cells()[1].Caption, std::string(53, 'v') + "...");
    EXPECT_EQ(m.Cells()[1].Tooltip, std::string(57, 'v'));
    EXPECT_EQ(m.Cells()[2].Tooltip, "");
    EXPECT_EQ(m.Width(), 5600 + 1000) << "every cell as wide as the widest caption";

    // A screen too narrow for any caption: cut to nothing, never below.
    MenuModel narrow({{"abcdef", "a.exe", "", "", "", "0"}}, false, 15, 195, kMeasure);
    narrow.LayoutMenu({0, 0, 3000, 3000}, 0, 0, kMeasure);
    EXPECT_EQ(narrow.Cells()[0].Caption, "...");
    EXPECT_EQ(narrow.Cells()[0].Tooltip, "abcdef");
}

TEST(HitTest, StripsCoverTheListAndIconsAreTheirOwnElements) {
    using Kind = engine::Element::Kind;
    MenuModel m(Items(30, 1), false, 15, 195, kMeasure);
    m.LayoutMenu({0, 0, 15360, 6000}, 0, 0, kMeasure);
    ASSERT_TRUE(m.BottomStripVisible());
    EXPECT_EQ(m.HitTest(130, 100).kind, Kind::CellIcon);
    EXPECT_EQ(m.HitTest(130, 100).index, 0);
    EXPECT_EQ(m.HitTest(119, 100), (engine::Element{Kind::Cell, 0}));
    EXPECT_EQ(m.HitTest(700, 59).kind, Kind::Cell) << "above the icon square";
    EXPECT_EQ(m.HitTest(700, 650), (engine::Element{Kind::Separator, 0}));
    EXPECT_EQ(m.HitTest(700, 800), (engine::Element{Kind::Cell, 1}));
    EXPECT_EQ(m.HitTest(700, 6000 - 80 - 60).kind, Kind::BottomStrip);
    EXPECT_EQ(m.HitTest(-1, 100).kind, Kind::Window);
    auto [x, y] = m.Origin({Kind::CellIcon, 1});
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 720 + 60);

    MenuModel shortList(Items(2), false, 15, 195, kMeasure);
    shortList.LayoutMenu(kScreen, 0, 0, kMeasure);
    EXPECT_EQ(shortList.HitTest(700, 1200 + 10).kind, Kind::ListFree);
    EXPECT_EQ(shortList.VisibleCells(1270 - 90), (std::pair<std::size_t, std::size_t>{0, 2}));
}

}  // namespace

namespace {

using engine::MenuModel;
using menufile::MenuItem;

// A font of uneven letters, measured as the system measures: a width, and how many leading
// bytes fit in a width, each call counted with the bytes it looks at.
struct CountingFont {
    static float Letter(char c) { return static_cast<float>(40 + (c % 7) * 25); }

    float Width(std::string_view s) {
        ++widths;
        bytes += s.size();
        float w = 0;
        for (char c : s) {
            w += Letter(c);
        }
        return w;
    }
    std::size_t Fit(std::string_view s, float width) {
        ++fits;
        bytes += s.size();
        float w = 0;
        std::size_t n = 0;
        while (n < s.size() && w + Letter(s[n]) <= width) {
            w += Letter(s[n++]);
        }
        return n;
    }
    engine::MeasureWidth Measure() {
        return [this](std::string_view s) { return Width(s); };
    }
    engine::MeasureFit Fitter() {
        return [this](std::string_view s, float width) { return Fit(s, width); };
    }
    void Reset() {
        widths = 0;
        fits = 0;
        bytes = 0;
    }

    int widths = 0;
    int fits = 0;
    std::size_t bytes = 0;
};

// The last UTF-8 character off the end of `text`: its continuation bytes and its lead byte.
void PopCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

// The rule captions are shortened by, taken literally: a character off the end until the rest
// fits beside the room, three more off, then the ending.
std::string ShortenedCharacterByCharacter(std::string caption, float half,
                                          const engine::MeasureWidth& measure) {
    if (measure(caption) + engine::kCaptionRoom <= half) {
        return caption;
    }
    while (!caption.empty() && measure(caption) + engine::kCaptionRoom > half) {
        PopCharacter(caption);
    }
    for (int i = 0; i < 3; ++i) {
        PopCharacter(caption);
    }
    return caption + engine::kEllipsis;
}

// `count` pieces picked at random from `pieces`, the same for the same `start`.
template <std::size_t N>
std::string RandomText(const char* const (&pieces)[N], std::size_t count, unsigned start) {
    std::minstd_rand pick(start);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += pieces[pick() % N];
    }
    return text;
}

std::string Name(std::size_t length, unsigned start) {
    const char* const letters[] = {"i", "W", "m", ".", " ", "l", "A", "x", "_", "0"};
    return RandomText(letters, length, start);
}

TEST(LongCaptions, AreShortenedWithAFewMeasurementsWhateverTheirLength) {
    for (std::size_t length : {1000u, 5000u, 100000u, 2000000u}) {
        CountingFont font;
        const std::string name = Name(length, 7);
        MenuModel m({{name, "a.exe", "", "", "", "0"}, {"short", "b.exe", "", "", "", "0"}}, false,
                    15, 195, font.Measure());
        EXPECT_LE(font.widths, 2) << "at most one measurement per caption";
        m.LayoutMenu(kScreen, 0, 0, font.Measure(), font.Fitter());
        EXPECT_EQ(font.fits, 1) << length;
        EXPECT_LE(font.widths, 3) << length;
        EXPECT_LT(font.bytes, 3 * engine::kMeasuredLength)
            << "no more of the name is measured than a screen could show: " << length;
        const std::string& caption = m.Cells()[0].Caption;
        EXPECT_LT(caption.size(), 400u);
        EXPECT_EQ(caption.substr(caption.size() - 3), "...");
        EXPECT_EQ(name.compare(0, caption.size() - 3, caption, 0, caption.size() - 3), 0);
        EXPECT_EQ(m.Cells()[0].CaptionWidth, font.Width(caption));
        EXPECT_EQ(m.Width(), font.Width(caption) + 1000);
    }

    // Without a fit of its own the layout halves its way to the cut: measurements grow with
    // the logarithm of the length, not with the length.
    CountingFont font;
    MenuModel m({{Name(2000000, 3), "a.exe", "", "", "", "0"}}, false, 15, 195, font.Measure());
    font.Reset();
    m.LayoutMenu(kScreen, 0, 0, font.Measure());
    EXPECT_LE(font.widths, 2 + 13) << "a start of 4096 < 2^13 bytes is enough";
    EXPECT_EQ(m.Cells()[0].Caption.substr(m.Cells()[0].Caption.size() - 3), "...");
}

TEST(LongCaptions, ThatFitWholeStayWhole) {
    // Letters of no width: however long, the caption fits and is not cut.
    const engine::MeasureWidth measure = [](std::string_view s) {
        return static_cast<float>(std::count(s.begin(), s.end(), 'w')) * 100.0f;
    };
    const engine::MeasureFit fit = [](std::string_view s, float width) {
        std::size_t n = 0;
        for (float w = 0; n < s.size() && w + (s[n] == 'w' ? 100.0f : 0.0f) <= width; ++n) {
            w += s[n] == 'w' ? 100.0f : 0.0f;
        }
        return n;
    };
    const std::string narrow = std::string(10, 'w') + std::string(100000, '\x01');
    const std::string wide = std::string(100000, '\x01') + std::string(100, 'w');
    MenuModel m({{narrow, "a.exe", "", "", "", "0"}, {wide, "b.exe", "", "", "", "0"}}, false, 15,
                195, measure);
    m.LayoutMenu(kScreen, 0, 0, measure, fit);
    EXPECT_EQ(m.Cells()[0].Caption, narrow);
    EXPECT_EQ(m.Cells()[0].CaptionWidth, 1000);
    EXPECT_EQ(m.Cells()[0].Tooltip, "");
    // Half of 15360 less the room leaves 5680 twips: 56 of the wide letters.
    EXPECT_EQ(m.Cells()[1].Caption, std::string(100000, '\x01') + std::string(53, 'w') + "...");
    EXPECT_EQ(m.Cells()[1].Tooltip.size(), engine::kTooltipLength + 3);
}

TEST(LongCaptions, AreCutWhereTakingOffOneLetterAtATimeCutsThem) {
    CountingFont font;
    const engine::MeasureWidth measure = font.Measure();
    for (float screenWidth = 2000; screenWidth <= 16000; screenWidth += 333) {
        const engine::Rect screen{0, 0, screenWidth, 11520};
        for (std::size_t length = 0; length <= 90; length += 3) {
            const std::string name = Name(length, static_cast<unsigned>(length + screenWidth));
            const std::string expected =
                ShortenedCharacterByCharacter(name, screenWidth / 2, measure);
            // With the fit the system gives, and with the fit found from widths alone.
            MenuModel withFit({{name, "a.exe", "", "", "", "0"}}, false, 15, 195, measure);
            withFit.LayoutMenu(screen, 0, 0, measure, font.Fitter());
            MenuModel widthsOnly({{name, "a.exe", "", "", "", "0"}}, false, 15, 195, measure);
            widthsOnly.LayoutMenu(screen, 0, 0, measure);
            for (const MenuModel* m : {&withFit, &widthsOnly}) {
                const engine::Cell& cell = m->Cells()[0];
                ASSERT_EQ(cell.Caption, expected) << screenWidth << " " << name;
                EXPECT_EQ(cell.CaptionWidth, measure(expected));
                EXPECT_EQ(cell.Tooltip, expected == name ? "" : name);
            }
        }
    }
}

TEST(LongCaptions, TooltipsHoldAReadableLength) {
    const std::string huge = Name(2 * 1024 * 1024, 11);
    const std::string longest = Name(engine::kTooltipLength, 5);
    MenuModel m({{huge, "a.exe", "", "", "", "0"}, {longest, "b.exe", "", "", "", "0"}}, false, 15,
                195, kMeasure);
    m.LayoutMenu(kScreen, 0, 0, kMeasure);
    EXPECT_EQ(m.Cells()[0].Tooltip, huge.substr(0, engine::kTooltipLength) + "...");
    EXPECT_EQ(m.Cells()[1].Tooltip, longest) << "a name of the tooltip's length shows whole";
    EXPECT_EQ(m.Cells()[0].Item.Name, huge) << "the item itself keeps its name";
}

}  // namespace

namespace {

using engine::MenuModel;

// Bytes of the UTF-8 character a lead byte starts.
std::size_t Utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// A font that measures characters, as the system does: ASCII 90 twips, other letters of two
// bytes 110, CJK 210, an emoji 260; the fit counts whole characters only.
struct CharacterFont {
    static float Letter(std::size_t bytes) {
        const float widths[] = {0, 90, 110, 210, 260};
        return widths[bytes];
    }
    static float Width(std::string_view s) {
        float w = 0;
        for (std::size_t i = 0; i < s.size(); i += Utf8Length(s[i])) {
            w += Letter(Utf8Length(s[i]));
        }
        return w;
    }
    static std::size_t Fit(std::string_view s, float width) {
        float w = 0;
        std::size_t n = 0;
        while (n < s.size() && w + Letter(Utf8Length(s[n])) <= width) {
            w += Letter(Utf8Length(s[n]));
            n += Utf8Length(s[n]);
        }
        return n;
    }
};

// Names in scripts of two, three and four bytes a letter, mixed with ASCII.
std::string Utf8Name(std::size_t letters, unsigned start) {
    const char* const pieces[] = {"日", "本", "語", "😀", "Ε", "λ", "é", "a", " ", "🎉"};
    return RandomText(pieces, letters, start);
}

TEST(Utf8Captions, CharacterStartNeverSplitsACharacter) {
    const std::string text = "aé日😀b";  // 1, 2, 3, 4 and 1 bytes
    const std::size_t starts[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 11, 11};
    for (std::size_t at = 0; at < std::size(starts); ++at) {
        EXPECT_EQ(engine::CharacterStart(text, at), starts[at]) << at;
    }
    EXPECT_EQ(engine::CharacterStart(text, 100), text.size());
    // Bytes that belong to no character are cut where asked: there is nothing to keep whole.
    EXPECT_EQ(engine::CharacterStart("\x80\x80\x80\x80\x80", 2), 2u);
    EXPECT_EQ(engine::CharacterStart("a\xC3\xA9\xA9", 3), 3u) << "past the character's end";
    EXPECT_EQ(engine::CharacterStart("\xC3", 0), 0u);
}

TEST(Utf8Captions, AreShortenedToWholeCharactersAtEveryWidth) {
    const engine::MeasureWidth measure = CharacterFont::Width;
    const engine::MeasureFit fit = CharacterFont::Fit;
    // A system that measures bytes and fits them wherever they fall, inside a character too.
    const engine::MeasureWidth byBytes = [](std::string_view s) {
        return static_cast<float>(s.size()) * 70.0f;
    };
    const engine::MeasureFit fitBytes = [](std::string_view s, float width) {
        return std::min(s.size(), static_cast<std::size_t>(width / 70.0f));
    };
    std::vector<std::string> names = {std::string(40, 'x') + "😀", "日本語のファイル名.txt"};
    for (std::size_t letters = 1; letters <= 80; letters += 7) {
        names.push_back(Utf8Name(letters, static_cast<unsigned>(letters)));
    }
    for (float screenWidth = 4000; screenWidth <= 16000; screenWidth += 173) {
        const engine::Rect screen{0, 0, screenWidth, 11520};
        for (const std::string& name : names) {
            const std::string expected =
                ShortenedCharacterByCharacter(name, screenWidth / 2, measure);
            MenuModel withFit({{name, "a.exe", "", "", "", "0"}}, false, 15, 195, measure);
            withFit.LayoutMenu(screen, 0, 0, measure, fit);
            MenuModel widthsOnly({{name, "a.exe", "", "", "", "0"}}, false, 15, 195, measure);
            widthsOnly.LayoutMenu(screen, 0, 0, measure);
            MenuModel bytewise({{name, "a.exe", "", "", "", "0"}}, false, 15, 195, byBytes);
            bytewise.LayoutMenu(screen, 0, 0, byBytes, fitBytes);
            for (const MenuModel* m : {&withFit, &widthsOnly, &bytewise}) {
                const std::string& caption = m->Cells()[0].Caption;
                ASSERT_TRUE(menufile::IsValidUtf8(caption)) << screenWidth << " " << name;
                if (caption != name) {
                    ASSERT_GE(caption.size(), 3u);
                    EXPECT_EQ(caption.substr(caption.size() - 3), "...") << caption;
                    EXPECT_EQ(name.compare(0, caption.size() - 3, caption, 0, caption.size() - 3),
                              0)
                        << caption;
                    EXPECT_EQ(m->Cells()[0].Tooltip, name);
                }
            }
            EXPECT_EQ(withFit.Cells()[0].Caption, expected) << screenWidth << " " << name;
            EXPECT_EQ(widthsOnly.Cells()[0].Caption, expected) << screenWidth << " " << name;
        }
    }
}

TEST(Utf8Captions, LongNamesAreCutToWholeCharactersForTheTooltipAndTheMeasurement) {
    // 3 bytes a letter: neither the tooltip's length nor the measured start is a whole number of
    // letters.
    std::string japanese;
    while (japanese.size() < 3 * engine::kMeasuredLength) {
        japanese += "日本語";
    }
    std::vector<std::size_t> asked;
    const engine::MeasureFit fit = [&](std::string_view s, float width) {
        asked.push_back(s.size());
        EXPECT_TRUE(menufile::IsValidUtf8(s)) << "measured half a character";
        return CharacterFont::Fit(s, width);
    };
    MenuModel m({{japanese, "a.exe", "", "", "", "0"}}, false, 15, 195, CharacterFont::Width);
    m.LayoutMenu(kScreen, 0, 0, CharacterFont::Width, fit);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0], engine::kMeasuredLength - engine::kMeasuredLength % 3);
    const std::string& tooltip = m.Cells()[0].Tooltip;
    EXPECT_TRUE(menufile::IsValidUtf8(tooltip));
    EXPECT_EQ(tooltip,
              japanese.substr(0, engine::kTooltipLength - engine::kTooltipLength % 3) + "...");
    const std::string& caption = m.Cells()[0].Caption;
    EXPECT_TRUE(menufile::IsValidUtf8(caption));
    EXPECT_EQ(caption.substr(caption.size() - 3), "...");
}

}  // namespace
