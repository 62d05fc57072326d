// The menu's children as a screen reader numbers them: cells and separators in menu order,
// their rectangles and whether they are scrolled out of view.
#include "engine/menu_children.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using engine::Element;
using engine::MenuChild;
using engine::MenuModel;
using menufile::MenuItem;

const engine::MeasureWidth kMeasure = [](std::string_view s) {
    return static_cast<float>(s.size()) * 100.0f;
};
const engine::Rect kScreen{0, 0, 1024 * 15, 768 * 15};

// "c" is a cell, "-" a separator.
std::vector<MenuItem> Layout(const std::string& shape) {
    std::vector<MenuItem> entries;
    int n = 0;
    for (char k : shape) {
        if (k == '-') {
            entries.push_back(MenuItem::Separator());
        } else {
            entries.push_back({"item " + std::to_string(n), "C:\\x" + std::to_string(n) + ".exe",
                               "", "", "", "0"});
            ++n;
        }
    }
    return entries;
}

MenuChild C(int i) {
    return {MenuChild::Kind::Cell, i};
}
MenuChild S(int i) {
    return {MenuChild::Kind::Separator, i};
}

TEST(MenuChildren, NumberCellsAndSeparatorsInMenuOrderBothWays) {
    struct Case {
        std::string shape;
        std::vector<MenuChild> order;
    };
    const Case cases[] = {
        {"c", {C(0)}},
        {"ccc", {C(0), C(1), C(2)}},
        {"c-c", {C(0), S(0), C(1)}},
        {"-c--cc-", {S(0), C(0), S(1), S(2), C(1), C(2), S(3)}},
        {"cc---c", {C(0), C(1), S(0), S(1), S(2), C(2)}},
    };
    for (const Case& c : cases) {
        MenuModel m(Layout(c.shape), false, 15, 195, kMeasure);
        ASSERT_EQ(engine::ChildCount(m), static_cast<long>(c.order.size())) << c.shape;
        for (std::size_t k = 0; k < c.order.size(); ++k) {
            const long id = static_cast<long>(k) + 1;
            EXPECT_EQ(engine::ChildAt(m, id), c.order[k]) << c.shape << " id " << id;
            EXPECT_EQ(engine::ChildIdOf(m, c.order[k]), id) << c.shape << " id " << id;
        }
        EXPECT_EQ(engine::ChildAt(m, 0), std::nullopt) << c.shape;
        EXPECT_EQ(engine::ChildAt(m, engine::ChildCount(m) + 1), std::nullopt) << c.shape;
        EXPECT_EQ(engine::ChildIdOf(m, C(static_cast<int>(m.Cells().size()))), 0) << c.shape;
        EXPECT_EQ(engine::ChildIdOf(m, S(static_cast<int>(m.Separators().size()))), 0) << c.shape;
        EXPECT_EQ(engine::ChildIdOf(m, C(-1)), 0) << c.shape;
    }
}

TEST(MenuChildren, ALongMenuMapsEveryNumberBackToItself) {
    std::string shape;
    for (int i = 0; i < 3000; ++i) {
        shape += (i % 7 == 3 || i % 11 == 0) ? '-' : 'c';
    }
    MenuModel m(Layout(shape), true, 15, 195, kMeasure);
    int cells = 0;
    int separators = 0;
    for (long id = 1; id <= engine::ChildCount(m); ++id) {
        const MenuChild expected =
            shape[static_cast<std::size_t>(id - 1)] == '-' ? S(separators++) : C(cells++);
        ASSERT_EQ(engine::ChildAt(m, id), expected) << id;
        ASSERT_EQ(engine::ChildIdOf(m, expected), id) << id;
    }
}

TEST(MenuChildren, ElementsUnderThePointerNameTheirChild) {
    EXPECT_EQ(engine::ChildOfElement({Element::Kind::Cell, 4}), C(4));
    EXPECT_EQ(engine::ChildOfElement({Element::Kind::CellIcon, 2}), C(2));
    EXPECT_EQ(engine::ChildOfElement({Element::Kind::Separator, 1}), S(1));
    for (Element::Kind k : {Element::Kind::Outside, Element::Kind::Window, Element::Kind::TopStrip,
                            Element::Kind::BottomStrip, Element::Kind::ListFree}) {
        EXPECT_EQ(engine::ChildOfElement({k, -1}), std::nullopt);
    }
}

TEST(MenuChildren, RectanglesFollowTheLayoutAndScrolledOutRowsAreOffscreen) {
    // 40 cells of 600 twips with a separator after the first: taller than the screen.
    std::string shape = "c-";
    shape += std::string(39, 'c');
    MenuModel m(Layout(shape), false, 15, 195, kMeasure);
    m.LayoutMenu(kScreen, 100, 100, kMeasure);
    ASSERT_TRUE(m.BottomStripVisible());
    const float client = m.Height();

    const engine::Rect first = engine::ChildRect(m, C(0));
    EXPECT_EQ(first.Top, 0);
    EXPECT_EQ(first.Bottom, 600);
    EXPECT_EQ(first.Right, m.CellWidth());
    const engine::Rect rule = engine::ChildRect(m, S(0));
    EXPECT_EQ(rule.Top, 600);
    EXPECT_EQ(rule.Bottom, 720);
    EXPECT_EQ(rule.Right, m.Width());
    EXPECT_EQ(engine::ChildRect(m, C(1)).Top, 720);

    EXPECT_FALSE(engine::ChildOffscreen(m, C(0), client));
    EXPECT_FALSE(engine::ChildOffscreen(m, S(0), client));
    EXPECT_TRUE(engine::ChildOffscreen(m, C(39), client));
    // The last row partly shown above the bottom strip still shows.
    const float stripTop = m.Height() - engine::kStripHeight - engine::kStripGap;
    int lastShown = -1;
    for (int i = 0; i < 40; ++i) {
        if (engine::ChildRect(m, C(i)).Top < stripTop) {
            lastShown = i;
        }
    }
    ASSERT_GT(lastShown, 0);
    EXPECT_FALSE(engine::ChildOffscreen(m, C(lastShown), client));
    EXPECT_TRUE(engine::ChildOffscreen(m, C(lastShown + 1), client));

    // Scrolled down by keys: the first rows go out of view under the top strip.
    for (int i = 0; i < 40; ++i) {
        m.KeyDown(engine::kKeyDown);
    }
    ASSERT_TRUE(m.TopStripVisible());
    EXPECT_LT(engine::ChildRect(m, C(0)).Top, 0);
    EXPECT_TRUE(engine::ChildOffscreen(m, C(0), client));
    EXPECT_FALSE(engine::ChildOffscreen(m, C(39), client));
}

}  // namespace
