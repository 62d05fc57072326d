// Home, End, the page keys, the wheel, type-ahead and the modified launches, as event sequences.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/menu_model.h"

namespace {

using engine::Action;
using engine::MenuModel;
using engine::Modifiers;
using menufile::MenuItem;
using Kind = engine::Element::Kind;

const engine::MeasureWidth kMeasure = [](std::string_view s) {
    return static_cast<float>(s.size()) * 100.0f;
};

// One cell per name, "" for a separator; cells are 600 twips, separators 120.
MenuModel Menu(const std::vector<std::string>& names, float screenHeight = 11520) {
    std::vector<MenuItem> entries;
    for (const std::string& name : names) {
        entries.push_back(name.empty() ? MenuItem::Separator()
                                       : MenuItem{name, "C:\\" + name + ".exe", "", "", "", "0"});
    }
    MenuModel m(entries, false, 15, 195, kMeasure);
    m.LayoutMenu({0, 0, 15360, screenHeight}, 0, 0, kMeasure);
    return m;
}

std::vector<std::string> Numbered(int cells) {
    std::vector<std::string> names;
    for (int i = 0; i < cells; ++i) {
        names.push_back("item" + std::to_string(i));
    }
    return names;
}

// The one cell drawn highlighted, -1 for none.
int Highlighted(const MenuModel& m) {
    int found = -1;
    for (std::size_t i = 0; i < m.Cells().size(); ++i) {
        if (m.Cells()[i].Highlighted || m.Cells()[i].IconHighlighted) {
            EXPECT_EQ(found, -1) << "two cells look highlighted";
            found = static_cast<int>(i);
        }
    }
    return found;
}

// The current cell lies wholly inside the window, clear of the strips.
bool CurrentInView(const MenuModel& m) {
    const float top = m.ListTop() + m.Cells()[static_cast<std::size_t>(m.CurrentItem())].Top;
    const float bottom =
        m.BottomStripVisible() ? m.Height() - engine::kStripHeight - engine::kStripGap : m.Height();
    return top >= (m.TopStripVisible() ? engine::kStripHeight : 0) &&
           top + m.CellHeight() <= bottom;
}

void Type(MenuModel& m, std::string_view text, unsigned at, unsigned step = 100) {
    for (char c : text) {
        m.TypeCharacter(std::string_view(&c, 1), at);
        at += step;
    }
}

// 20 cells in a window of 3000 twips: 5 whole rows show, the list (12,070) ends at -9,070.
// The bottom strip starts at 2,800, the top strip ends at 120: a page is 2,680.
constexpr float kWindow = 3000;
constexpr float kEnd = kWindow - (20 * 600 + 70);
constexpr float kBottomStrip = kWindow - engine::kStripHeight - engine::kStripGap;

TEST(HomeEnd, GoToTheEndsAndScrollThemIntoView) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.KeyDown(engine::kKeyDown);
    m.KeyDown(engine::kKeyEnd);
    EXPECT_EQ(m.CurrentItem(), 19);
    EXPECT_EQ(Highlighted(m), 19);
    EXPECT_TRUE(m.KeyboardMode());
    EXPECT_FLOAT_EQ(m.ListTop(), kEnd) << "all the way down: no room left below";
    EXPECT_TRUE(m.TopStripVisible());
    EXPECT_FALSE(m.BottomStripVisible());
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter), Action::Launch);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item19");

    m.KeyDown(engine::kKeyHome);
    EXPECT_EQ(m.CurrentItem(), 0);
    EXPECT_EQ(Highlighted(m), 0);
    EXPECT_FLOAT_EQ(m.ListTop(), 0);
    EXPECT_FALSE(m.TopStripVisible());
    EXPECT_TRUE(m.BottomStripVisible());

    // Up and Down go on from there as before.
    m.KeyDown(engine::kKeyUp);
    EXPECT_EQ(m.CurrentItem(), 19) << "Up on the first still wraps";
    EXPECT_FLOAT_EQ(m.ListTop(), 0) << "without moving the view";

    MenuModel shortMenu = Menu(Numbered(3));
    shortMenu.KeyDown(engine::kKeyEnd);
    EXPECT_EQ(shortMenu.CurrentItem(), 2);
    shortMenu.KeyDown(engine::kKeyHome);
    EXPECT_EQ(shortMenu.CurrentItem(), 0);
    EXPECT_FLOAT_EQ(shortMenu.ListTop(), 0);
    EXPECT_FALSE(shortMenu.TopStripVisible() || shortMenu.BottomStripVisible());
}

TEST(HomeEnd, BringSeparatorsAtTheEndsAlong) {
    MenuModel m = Menu({"", "first", "a", "b", "c", "d", "e", "last", ""}, kWindow);
    m.KeyDown(engine::kKeyEnd);
    EXPECT_EQ(m.Cells()[static_cast<std::size_t>(m.CurrentItem())].Item.Name, "last");
    EXPECT_FLOAT_EQ(m.ListTop(), m.Height() - m.ListHeight());
    m.KeyDown(engine::kKeyHome);
    EXPECT_EQ(m.CurrentItem(), 0);
    EXPECT_FLOAT_EQ(m.ListTop(), 0) << "the separator above the first cell shows too";
}

TEST(PageKeys, WithoutAHighlightTakeTheWholeRowsAtTheEdges) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.KeyDown(engine::kKeyPageDown);
    EXPECT_EQ(m.CurrentItem(), 3) << "the last row wholly in the window, above the strip";
    EXPECT_FLOAT_EQ(m.ListTop(), 0) << "already in view";
    MenuModel up = Menu(Numbered(20), kWindow);
    up.KeyDown(engine::kKeyPageUp);
    EXPECT_EQ(up.CurrentItem(), 0);

    // Half a row scrolled by the strip: rows 1 to 4 are whole and clear of the strips.
    for (int key : {engine::kKeyPageDown, engine::kKeyPageUp}) {
        MenuModel half = Menu(Numbered(20), kWindow);
        half.PointerMove({Kind::BottomStrip, -1}, 10, 10);
        half.ScrollTick();
        ASSERT_FLOAT_EQ(half.ListTop(), -300);
        half.KeyDown(key);
        EXPECT_EQ(half.CurrentItem(), key == engine::kKeyPageDown ? 4 : 1);
        EXPECT_FLOAT_EQ(half.ListTop(), -300) << "a whole row needs no scrolling";
        EXPECT_FALSE(half.ScrollingDown()) << "a key stops the strip";
    }

    MenuModel shortMenu = Menu(Numbered(3));
    shortMenu.KeyDown(engine::kKeyPageDown);
    EXPECT_EQ(shortMenu.CurrentItem(), 2);
    MenuModel shortUp = Menu(Numbered(3));
    shortUp.KeyDown(engine::kKeyPageUp);
    EXPECT_EQ(shortUp.CurrentItem(), 0);
}

TEST(PageKeys, MoveAWindowAtATimeAndStopAtTheEnds) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.KeyDown(engine::kKeyDown);
    std::vector<int> down;
    std::vector<float> tops;
    for (int i = 0; i < 8; ++i) {
        m.KeyDown(engine::kKeyPageDown);
        down.push_back(m.CurrentItem());
        tops.push_back(m.ListTop());
        EXPECT_TRUE(CurrentInView(m)) << "after Page Down " << i;
        EXPECT_EQ(Highlighted(m), m.CurrentItem());
    }
    // The last row a page holds below the current one's top lands just above the strip.
    EXPECT_EQ(down, (std::vector<int>{3, 6, 9, 12, 15, 18, 19, 19}));
    EXPECT_FLOAT_EQ(tops[0], 0);
    EXPECT_FLOAT_EQ(tops[1], kBottomStrip - 7 * 600);
    EXPECT_FLOAT_EQ(tops[6], kEnd);
    EXPECT_FALSE(m.BottomStripVisible());

    std::vector<int> up;
    std::vector<float> upTops;
    for (int i = 0; i < 8; ++i) {
        m.KeyDown(engine::kKeyPageUp);
        up.push_back(m.CurrentItem());
        upTops.push_back(m.ListTop());
        EXPECT_TRUE(CurrentInView(m)) << "after Page Up " << i;
    }
    EXPECT_EQ(up, (std::vector<int>{16, 13, 10, 7, 4, 1, 0, 0}));
    EXPECT_FLOAT_EQ(upTops[0], kEnd) << "row 16 was in view";
    EXPECT_FLOAT_EQ(upTops[1], engine::kStripHeight - 13 * 600) << "just below the top strip";
    EXPECT_FLOAT_EQ(m.ListTop(), 0);
    EXPECT_FALSE(m.TopStripVisible());

    MenuModel shortMenu = Menu(Numbered(3));
    shortMenu.KeyDown(engine::kKeyDown);
    shortMenu.KeyDown(engine::kKeyPageDown);
    EXPECT_EQ(shortMenu.CurrentItem(), 2);
    shortMenu.KeyDown(engine::kKeyPageUp);
    EXPECT_EQ(shortMenu.CurrentItem(), 0);
}

TEST(PageKeys, HoldTheHighlightAgainstThePointerLikeTheArrows) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.PointerMove({Kind::Cell, 2}, 900, 300);
    m.KeyDown(engine::kKeyPageDown);
    EXPECT_EQ(m.CurrentItem(), 5) << "a page on from the cell under the pointer";
    m.PointerMove({Kind::Cell, 1}, 900, 300);
    EXPECT_EQ(m.CurrentItem(), 5) << "the first move only ends keyboard mode";
    EXPECT_EQ(m.WatchTick(true, {Kind::Outside, -1}), Action::None);
    m.KeyDown(engine::kKeyHome);
    EXPECT_EQ(m.WatchTick(true, {Kind::Outside, -1}), Action::None);
    EXPECT_EQ(m.CurrentItem(), 0) << "the watch leaves a key's highlight alone";
}

TEST(Wheel, ScrollsRowsPerNotchAndNeverPastTheEnds) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.KeyDown(engine::kKeyDown);
    m.Wheel(-1, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), -1800);
    EXPECT_TRUE(m.TopStripVisible());
    EXPECT_TRUE(m.BottomStripVisible());
    EXPECT_EQ(m.CurrentItem(), 0) << "the wheel leaves the highlight";
    m.Wheel(-2, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), -5400);
    m.Wheel(-1, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), -7200);
    m.Wheel(-1, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), -9000);
    EXPECT_TRUE(m.BottomStripVisible()) << "the room below the last row is still hidden";
    m.Wheel(-1, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), kEnd) << "no gap below the last row";
    EXPECT_FALSE(m.BottomStripVisible());
    m.Wheel(-100, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), kEnd);
    m.Wheel(1, 1);
    EXPECT_FLOAT_EQ(m.ListTop(), kEnd + 600);
    EXPECT_TRUE(m.BottomStripVisible());
    m.Wheel(1000000, 1000000);
    EXPECT_FLOAT_EQ(m.ListTop(), 0) << "no gap above the first";
    EXPECT_FALSE(m.TopStripVisible());

    m.Wheel(-1, engine::kWheelPage);
    EXPECT_FLOAT_EQ(m.ListTop(), -5 * 600.0f) << "a page is the window's whole rows";
    m.Wheel(-1, 0);
    EXPECT_FLOAT_EQ(m.ListTop(), -3000) << "scrolling switched off in the system";

    MenuModel shortMenu = Menu(Numbered(3));
    shortMenu.Wheel(-1, 3);
    EXPECT_FLOAT_EQ(shortMenu.ListTop(), 0);
    EXPECT_FALSE(shortMenu.TopStripVisible() || shortMenu.BottomStripVisible());
}

TEST(Wheel, WorksWhileTheStripsScrollAndWithSeparators) {
    MenuModel m = Menu(Numbered(20), kWindow);
    m.PointerMove({Kind::BottomStrip, -1}, 10, 10);
    m.Wheel(-2, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), -3600);
    m.ScrollTick();
    EXPECT_FLOAT_EQ(m.ListTop(), -3900) << "the strip goes on from where the wheel left it";
    m.Wheel(10, 3);
    EXPECT_FLOAT_EQ(m.ListTop(), 0);

    MenuModel separated = Menu({"a", "", "b", "", "c", "", "d", "", "e", "", "f", ""}, 2000);
    separated.Wheel(-10, 3);
    EXPECT_FLOAT_EQ(separated.ListTop(), 2000 - (6 * 600 + 6 * 120 + 70));
    EXPECT_FALSE(separated.BottomStripVisible());
}

const std::vector<std::string> kFruit = {
    "Apple",  "",        "banana",       "Avocado", "",
    "Cherry", "apricot", "\xC3\x84pfel", "7-Zip",   "\xC3\xA9t\xC3\xA9"};

TEST(TypeAhead, OneLetterAgainCyclesThroughItsMatches) {
    MenuModel m = Menu(kFruit);
    std::vector<int> seen;
    for (unsigned at : {0u, 300u, 600u, 900u, 1200u}) {
        m.TypeCharacter("a", at);
        seen.push_back(m.CurrentItem());
    }
    // Separators are no cells: Apple 0, Avocado 2, apricot 4.
    EXPECT_EQ(seen, (std::vector<int>{0, 2, 4, 0, 2}));
    EXPECT_EQ(Highlighted(m), 2);
    EXPECT_TRUE(m.KeyboardMode());
    m.TypeCharacter("A", 5000);
    EXPECT_EQ(m.CurrentItem(), 4) << "after a pause, a new search from the next cell";
    m.TypeCharacter("b", 9000);
    EXPECT_EQ(m.CurrentItem(), 1);
    m.TypeCharacter("b", 9500);
    EXPECT_EQ(m.CurrentItem(), 1) << "the only match stays";
}

TEST(TypeAhead, CharactersWithinASecondExtendTheText) {
    MenuModel m = Menu(kFruit);
    m.TypeCharacter("a", 0);
    EXPECT_EQ(m.CurrentItem(), 0);
    m.TypeCharacter("p", 1000);
    EXPECT_EQ(m.CurrentItem(), 0) << "\"ap\" still matches Apple";
    m.TypeCharacter("\r", 1500);  // Enter's character is no text
    m.TypeCharacter("R", 2000);
    EXPECT_EQ(m.CurrentItem(), 4) << "\"apr\": apricot";
    m.TypeCharacter("z", 2500);
    EXPECT_EQ(m.CurrentItem(), 4) << "no match leaves the highlight";
    EXPECT_EQ(Highlighted(m), 4);
    m.TypeCharacter("c", 4000);
    EXPECT_EQ(m.CurrentItem(), 3) << "a pause starts over: Cherry";

    // A clock that wraps between two characters.
    MenuModel wrap = Menu(kFruit);
    wrap.TypeCharacter("a", 0xFFFFFF00u);
    wrap.TypeCharacter("v", 0x10u);
    EXPECT_EQ(wrap.CurrentItem(), 2);
}

TEST(TypeAhead, IgnoresCaseOfLatinLettersAndTakesDigits) {
    MenuModel m = Menu(kFruit);
    m.TypeCharacter("\xC3\xA4", 0);  // ä
    EXPECT_EQ(m.Cells()[static_cast<std::size_t>(m.CurrentItem())].Item.Name, "\xC3\x84pfel");
    m.TypeCharacter("\xC3\x89", 5000);  // É
    EXPECT_EQ(m.CurrentItem(), 7);
    m.TypeCharacter("7", 9000);
    EXPECT_EQ(m.CurrentItem(), 6);
    m.TypeCharacter("B", 13000);
    EXPECT_EQ(m.CurrentItem(), 1);

    // Latin Extended-A, Cyrillic; broken UTF-8 in a name matches only itself.
    MenuModel wide = Menu({"\xC3", "\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\xBDilina",
                           "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xFFx"});
    wide.TypeCharacter("\xC5\x82", 0);  // ł
    EXPECT_EQ(wide.CurrentItem(), 1);
    wide.TypeCharacter("\xC5\xBE", 5000);  // ž
    EXPECT_EQ(wide.CurrentItem(), 2);
    wide.TypeCharacter("\xD0\xBC", 9000);  // м
    EXPECT_EQ(wide.CurrentItem(), 3);
    wide.TypeCharacter("\xC3", 13000);
    EXPECT_EQ(wide.CurrentItem(), 0);
    wide.TypeCharacter("\xFF", 17000);
    EXPECT_EQ(wide.CurrentItem(), 4);
    wide.TypeCharacter("X", 17100);
    EXPECT_EQ(wide.CurrentItem(), 4);

    MenuModel empty = Menu({});
    empty.TypeCharacter("a", 0);
    EXPECT_EQ(empty.CurrentItem(), -1);
}

TEST(TypeAhead, ScrollsTheMatchIntoViewAndEnterOpensIt) {
    MenuModel m = Menu(Numbered(20), kWindow);
    Type(m, "item17", 0);
    EXPECT_EQ(m.CurrentItem(), 17);
    EXPECT_TRUE(CurrentInView(m));
    EXPECT_FLOAT_EQ(m.ListTop(), kBottomStrip - 18 * 600) << "just above the bottom strip";
    EXPECT_TRUE(m.TopStripVisible());
    EXPECT_TRUE(m.BottomStripVisible());
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter), Action::Launch);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item17");
    Type(m, "item2", 5000);
    EXPECT_EQ(m.CurrentItem(), 2);
    EXPECT_FLOAT_EQ(m.ListTop(), engine::kStripHeight - 2 * 600) << "just below the top strip";

    // Separators count in where a cell lies.
    std::vector<std::string> names;
    for (const std::string& name : Numbered(10)) {
        names.push_back(name);
        names.push_back("");
    }
    MenuModel separated = Menu(names, kWindow);
    Type(separated, "item6", 0);
    EXPECT_EQ(separated.CurrentItem(), 6);
    EXPECT_FLOAT_EQ(separated.ListTop(), kBottomStrip - (6 * 720 + 600));
    EXPECT_TRUE(CurrentInView(separated));
}

TEST(Modifiers, CtrlShiftElevatesARightReleaseOrTheAppsKeyAsksForTheContextMenu) {
    const Modifiers ctrlShift{true, true};
    MenuModel m = Menu(Numbered(4));
    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter, ctrlShift), Action::LaunchElevated);
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter, {true, false}), Action::Launch);
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter, {false, true}), Action::Launch);

    EXPECT_EQ(m.ButtonUp({Kind::Cell, 2}, engine::kLeftButton, 100, 100, ctrlShift),
              Action::LaunchElevated);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item2");
    EXPECT_EQ(m.ButtonUp({Kind::CellIcon, 3}, engine::kRightButton, 0, 0), Action::ContextMenu);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item3");
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kRightButton, 100, -5), Action::None)
        << "released outside the pressed cell";
    EXPECT_EQ(m.ButtonUp({Kind::ListFree, -1}, engine::kRightButton, 5, 5), Action::None);
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kMiddleButton, 100, 100), Action::None);

    EXPECT_EQ(m.KeyUp(engine::kKeyApps), Action::ContextMenu);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item0") << "the highlighted cell's";
    m.KeyDown(engine::kKeyEnd);
    EXPECT_EQ(m.KeyUp(engine::kKeyF10), Action::None) << "F10 alone";
    EXPECT_EQ(m.KeyUp(engine::kKeyF10, {false, true}), Action::ContextMenu);
    EXPECT_EQ(m.LaunchCell().Item.Name, "item3");

    MenuModel none = Menu(Numbered(4));
    EXPECT_EQ(none.KeyUp(engine::kKeyApps), Action::None) << "nothing highlighted";
    EXPECT_EQ(none.KeyUp(engine::kKeyF10, {false, true}), Action::None);
    EXPECT_EQ(none.KeyUp(engine::kKeyEnter, ctrlShift), Action::None);
}

}  // namespace
