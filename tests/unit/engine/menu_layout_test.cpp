// Cell metrics and the placement of the pop-up: upward, against the bottom, leftward,
// taller than the screen, shortened captions.
#include <gtest/gtest.h>

#include "engine/menu_model.h"

namespace {

using engine::Entry;
using engine::MenuModel;

// Captions 100 twips per character.
const engine::MeasureWidth kMeasure = [](std::string_view s) {
    return static_cast<float>(s.size()) * 100.0f;
};
const engine::Rect kScreen{0, 0, 1024 * 15, 768 * 15};  // 15360 x 11520 twips

std::vector<Entry> Items(int cells, int separatorsAfterFirst = 0, std::size_t nameLength = 5) {
    std::vector<Entry> entries;
    for (int i = 0; i < cells; ++i) {
        entries.push_back({std::string(nameLength, static_cast<char>('a' + i % 26)),
                           "C:\\x" + std::to_string(i) + ".exe", "", "", "", "0"});
        if (i == 0) {
            for (int s = 0; s < separatorsAfterFirst; ++s) {
                entries.push_back(Entry::Separator());
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
        {false, 15, 195, 600, 60, 202.5f},  // 8-point text, 32-pixel icons
        {true, 15, 195, 360, 60, 82.5f},    // 16-pixel icons
        {false, 15, 600, 735, 127.5f, 67.5f},  // text taller than the icon
        {false, 15, 480, 615, 67.5f, 67.5f},   // exactly as tall: text rule
        {false, 12, 192, 504, 60, 156},
        {true, 10, 130, 280, 60, 75},
    };
    for (const Case& c : cases) {
        MenuModel m(Items(2), c.small, c.tpp, c.textHeight, kMeasure);
        EXPECT_EQ(m.CellHeight(), c.cellHeight) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.IconTop(), c.iconTop) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.TextTop(), c.textTop) << c.textHeight << " " << c.tpp;
        EXPECT_EQ(m.Cells()[1].Top, c.cellHeight);
    }
}

TEST(CellMetrics, SeparatorsTakeHeightButNoIndexAndLaterTargetlessRecordsAreSkipped) {
    std::vector<Entry> entries = {Entry::Separator(),
                                  {"first", "", "", "", "", "0"},  // the first may lack a target
                                  Entry::Separator(),
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
    EXPECT_TRUE(MenuModel({Entry::Separator(), Entry::Separator()}, false, 15, 195, kMeasure)
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

TEST(LayoutMenu, ShortensWideCaptionsWithAnEllipsisAndATooltip) {
    // Half of 15200 is 7600: a caption of 56 characters (5600 + 2000) just fits.
    const engine::Rect screen{0, 0, 15200, 11520};
    std::vector<Entry> entries = {{std::string(56, 'w'), "a.exe", "", "", "", "0"},
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
