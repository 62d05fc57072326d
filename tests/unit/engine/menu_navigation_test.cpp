// The menu driven by event sequences: pointer, buttons, keys, scroll and watch ticks.
#include <gtest/gtest.h>

#include "engine/menu_model.h"

namespace {

using engine::Action;
using engine::Element;
using engine::MenuModel;
using menufile::MenuItem;
using Kind = engine::Element::Kind;

const engine::MeasureWidth kMeasure = [](std::string_view s) {
    return static_cast<float>(s.size()) * 100.0f;
};

std::vector<MenuItem> Items(int cells) {
    std::vector<MenuItem> entries;
    for (int i = 0; i < cells; ++i) {
        entries.push_back({"item" + std::to_string(i), "C:\\x" + std::to_string(i) + ".exe",
                           "-n " + std::to_string(i), "C:\\", "", "0"});
    }
    return entries;
}

// Cells of 600 twips; `screenHeight` decides whether the list scrolls.
MenuModel Menu(int cells, float screenHeight = 11520) {
    MenuModel m(Items(cells), false, 15, 195, kMeasure);
    m.LayoutMenu({0, 0, 15360, screenHeight}, 0, 0, kMeasure);
    return m;
}

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

void MoveOver(MenuModel& m, int cell) {
    m.PointerMove({Kind::Cell, cell}, 900, 300);
}

TEST(Keys, DownAndUpWrapBothWays) {
    MenuModel m = Menu(3);
    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.CurrentItem(), 0);
    m.KeyDown(engine::kKeyDown);
    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.CurrentItem(), 2);
    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.CurrentItem(), 0) << "Down on the last wraps to the first";
    EXPECT_EQ(Highlighted(m), 0);
    m.KeyDown(engine::kKeyUp);
    EXPECT_EQ(m.CurrentItem(), 2) << "Up on the first wraps to the last";
    EXPECT_EQ(Highlighted(m), 2);

    MenuModel fresh = Menu(3);
    fresh.KeyDown(engine::kKeyUp);
    EXPECT_EQ(fresh.CurrentItem(), 2) << "Up with nothing current takes the last";
    fresh.KeyDown('A');
    EXPECT_EQ(fresh.CurrentItem(), 2) << "other keys keep the selection";
}

TEST(Keys, EnterLaunchesOnReleaseAndEscapeCloses) {
    MenuModel m = Menu(3);
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter), Action::None) << "nothing current";
    m.KeyDown(engine::kKeyDown);
    m.KeyDown(engine::kKeyDown);
    m.KeyDown(engine::kKeyEnter);
    EXPECT_EQ(m.KeyUp(engine::kKeyEnter), Action::Launch);
    EXPECT_EQ(m.LaunchCell().Item.Target, "C:\\x1.exe");
    EXPECT_EQ(m.LaunchCell().Item.Arguments, "-n 1");
    EXPECT_EQ(m.KeyUp(engine::kKeyEscape), Action::Close);
    EXPECT_EQ(m.KeyUp('Q'), Action::None);
}

TEST(Keys, HoldingDownScrollsOneCellAtATimeAndUpScrollsBack) {
    // 10 cells (6070) in a 3000-twip window.
    MenuModel m = Menu(10, 3000);
    ASSERT_TRUE(m.BottomStripVisible());
    for (int i = 0; i < 4; ++i) {
        m.KeyDown(engine::kKeyDown);
    }
    EXPECT_EQ(m.CurrentItem(), 3);
    EXPECT_EQ(m.ListTop(), 0) << "cell 3 ends at 2400, inside the window";
    m.KeyDown(engine::kKeyDown);  // cell 4 ends at 3000: not past the edge
    EXPECT_EQ(m.ListTop(), 0);
    m.KeyDown(engine::kKeyDown);  // cell 5 ends at 3600
    EXPECT_EQ(m.ListTop(), -600);
    EXPECT_TRUE(m.TopStripVisible());
    for (int i = 0; i < 4; ++i) {
        m.KeyDown(engine::kKeyDown);
    }
    EXPECT_EQ(m.CurrentItem(), 9);
    EXPECT_EQ(m.ListTop(), -3000) << "one cell height per step; the extra 70 stays below";
    EXPECT_TRUE(m.BottomStripVisible());

    const float bottom = m.ListTop();
    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.CurrentItem(), 0);
    EXPECT_EQ(m.ListTop(), bottom) << "the wrap does not move the view";

    MenuModel back = Menu(10, 3000);
    for (int i = 0; i < 10; ++i) {
        back.KeyDown(engine::kKeyDown);
    }
    for (int i = 0; i < 9; ++i) {
        back.KeyDown(engine::kKeyUp);
    }
    EXPECT_EQ(back.CurrentItem(), 0);
    EXPECT_EQ(back.ListTop(), 0);
    EXPECT_FALSE(back.TopStripVisible());
    EXPECT_TRUE(back.BottomStripVisible());
}

TEST(Pointer, HighlightFollowsThePointerButNotInKeyboardMode) {
    MenuModel m = Menu(4);
    MoveOver(m, 1);
    EXPECT_EQ(m.CurrentItem(), 1);
    EXPECT_EQ(Highlighted(m), 1);
    m.PointerMove({Kind::CellIcon, 2}, 10, 10);
    EXPECT_EQ(m.CurrentItem(), 2);
    m.PointerMove({Kind::Cell, 3}, 900, 601);  // outside the cell's bounds (captured move)
    EXPECT_EQ(m.CurrentItem(), 2);

    m.KeyDown(engine::kKeyDown);
    EXPECT_EQ(m.CurrentItem(), 3);
    MoveOver(m, 0);
    EXPECT_EQ(m.CurrentItem(), 3) << "the first move only ends keyboard mode";
    EXPECT_FALSE(m.KeyboardMode());
    MoveOver(m, 0);
    EXPECT_EQ(m.CurrentItem(), 0);
    EXPECT_EQ(Highlighted(m), 0);
}

TEST(Pointer, OnlyALeftReleaseInsideTheCellLaunches) {
    MenuModel m = Menu(3);
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kRightButton, 100, 100), Action::ContextMenu);
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kMiddleButton, 100, 100), Action::None);
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kLeftButton, 100, -5), Action::None);
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kLeftButton, 1501, 5), Action::None);
    EXPECT_EQ(m.ButtonUp({Kind::Separator, 0}, engine::kLeftButton, 5, 5), Action::None);
    EXPECT_EQ(m.ButtonUp({Kind::CellIcon, 2}, engine::kLeftButton, 0, 0), Action::Launch);
    EXPECT_EQ(m.LaunchCell().Item.Target, "C:\\x2.exe");
    m.KeyDown(engine::kKeyDown);  // keyboard mode keeps cell 0 highlighted
    EXPECT_EQ(m.ButtonUp({Kind::Cell, 1}, engine::kLeftButton, 1500, 600), Action::Launch);
    EXPECT_EQ(m.LaunchCell().Item.Target, "C:\\x1.exe");
}

TEST(Scrolling, StripsScrollByHalfACellToEitherEndExactly) {
    MenuModel m = Menu(10, 3000);  // list 6070, window 3000
    m.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    int ticks = 0;
    while (m.ScrollingDown() && ticks < 100) {
        m.ScrollTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 11) << "10 steps of 300, the 11th clipped";
    EXPECT_EQ(m.ListTop(), 3000 - 6070);
    EXPECT_FALSE(m.BottomStripVisible());
    EXPECT_TRUE(m.TopStripVisible());

    m.PointerMove({Kind::TopStrip, -1}, 5, 5);
    ticks = 0;
    while (m.ScrollingUp() && ticks < 100) {
        m.ScrollTick();
        ++ticks;
    }
    EXPECT_EQ(m.ListTop(), 0);
    EXPECT_FALSE(m.TopStripVisible());
    EXPECT_TRUE(m.BottomStripVisible());

    MenuModel fits = Menu(3);
    fits.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    fits.ScrollTick();
    EXPECT_EQ(fits.ListTop(), 0) << "a list that fits never scrolls";
}

TEST(Scrolling, MovingOntoACellStopsItAndStripsStartItEvenInKeyboardMode) {
    MenuModel m = Menu(10, 3000);
    m.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    m.ScrollTick();
    MoveOver(m, 2);
    EXPECT_FALSE(m.ScrollingDown());
    EXPECT_EQ(m.CurrentItem(), 2);
    m.ScrollTick();
    EXPECT_EQ(m.ListTop(), -300);

    m.KeyDown(engine::kKeyDown);
    m.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    EXPECT_TRUE(m.ScrollingDown());
}

TEST(Watch, LosingTheForegroundCloses) {
    MenuModel m = Menu(3);
    EXPECT_EQ(m.WatchTick(true, {Kind::Outside, -1}), Action::None);
    EXPECT_EQ(m.WatchTick(false, {Kind::Cell, 0}), Action::Close);
}

TEST(Watch, HighlightStaysOverCellsAndSeparatorsAndGoesElsewhere) {
    struct Case {
        Element under;
        bool stays;
    };
    const Case cases[] = {
        {{Kind::CellIcon, 1}, true},   {{Kind::Cell, 1}, true},      {{Kind::Cell, 2}, true},
        {{Kind::Separator, 0}, true},  {{Kind::CellIcon, 2}, false}, {{Kind::ListFree, -1}, false},
        {{Kind::TopStrip, -1}, false}, {{Kind::Window, -1}, false},  {{Kind::Outside, -1}, false},
    };
    for (const Case& c : cases) {
        MenuModel m = Menu(3);
        MoveOver(m, 1);
        EXPECT_EQ(m.WatchTick(true, c.under), Action::None);
        EXPECT_EQ(m.CurrentItem(), c.stays ? 1 : -1) << static_cast<int>(c.under.kind);
        EXPECT_EQ(Highlighted(m), c.stays ? 1 : -1);
    }
    MenuModel keys = Menu(3);
    keys.KeyDown(engine::kKeyDown);
    (void)keys.WatchTick(true, {Kind::Outside, -1});
    EXPECT_EQ(keys.CurrentItem(), 0) << "keyboard mode: the pointer is not tracked";
}

TEST(Watch, StripTakesTheCellColoursFirstThenTheTickDropsTheItem) {
    MenuModel m = Menu(10, 3000);
    MoveOver(m, 1);
    m.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    EXPECT_EQ(m.CurrentItem(), 1);
    EXPECT_FALSE(m.Cells()[1].Highlighted);
    EXPECT_TRUE(m.Cells()[1].IconHighlighted) << "the icon square keeps its colour";
    (void)m.WatchTick(true, {Kind::BottomStrip, -1});
    EXPECT_EQ(m.CurrentItem(), -1);
    EXPECT_FALSE(m.Cells()[1].IconHighlighted);
    EXPECT_TRUE(m.ScrollingDown()) << "over a strip scrolling goes on";

    MoveOver(m, 1);
    m.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    (void)m.WatchTick(true, {Kind::Cell, 1});
    EXPECT_FALSE(m.ScrollingDown()) << "over a cell scrolling stops";

    // With nothing current the watch leaves a scroll request alone.
    MenuModel idle = Menu(10, 3000);
    idle.PointerMove({Kind::BottomStrip, -1}, 5, 5);
    (void)idle.WatchTick(true, {Kind::Outside, -1});
    EXPECT_TRUE(idle.ScrollingDown());
}

}  // namespace
