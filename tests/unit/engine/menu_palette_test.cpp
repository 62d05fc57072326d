// The pop-up's colour rule: the dark look only for a dark app theme without high contrast.
#include "engine/menu_palette.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

// Every colour distinct, so a colour taken from the wrong place shows.
constexpr SystemColours kSystem{{1, 2, 3},    {4, 5, 6},    {7, 8, 9},   {10, 11, 12},
                                {13, 14, 15}, {16, 17, 18}, {19, 20, 21}};

int Luminance(Colour c) {
    return (299 * c.Red + 587 * c.Green + 114 * c.Blue) / 1000;
}

void ExpectSystemLook(const MenuPalette& p) {
    EXPECT_FALSE(p.Dark);
    EXPECT_EQ(p.Background, kSystem.Menu);
    EXPECT_EQ(p.Text, kSystem.MenuText);
    EXPECT_EQ(p.Highlight, kSystem.Highlight);
    EXPECT_EQ(p.HighlightText, kSystem.HighlightText);
    EXPECT_EQ(p.SeparatorDark, kSystem.Shadow);
    EXPECT_EQ(p.SeparatorLight, kSystem.Light);
    EXPECT_EQ(p.GreyedText, kSystem.GrayText);
    EXPECT_EQ(p.StripArrow, kSystem.MenuText) << "the arrows show on any menu colour";
    EXPECT_FALSE(p.Border.has_value()) << "the system's own frame";
}

TEST(MenuPalette, TheSystemColoursRuleInTheLightThemeWithoutAThemeAndInHighContrast) {
    {
        SCOPED_TRACE("light theme");
        ExpectSystemLook(ChoosePalette(true, false, kSystem));
    }
    {
        SCOPED_TRACE("no theme value");
        ExpectSystemLook(ChoosePalette(std::nullopt, false, kSystem));
    }
    {
        SCOPED_TRACE("dark theme, high contrast on");
        ExpectSystemLook(ChoosePalette(false, true, kSystem));
    }
}

TEST(MenuPalette, TheDarkThemeDrawsLightOnDarkWithAHighlightAStepLighter) {
    const MenuPalette p = ChoosePalette(false, false, kSystem);
    EXPECT_TRUE(p.Dark);
    EXPECT_LT(Luminance(p.Background), 64);
    EXPECT_GT(Luminance(p.Text), 192);
    EXPECT_GT(Luminance(p.HighlightText), 192);
    EXPECT_GT(Luminance(p.Highlight), Luminance(p.Background)) << "a step lighter";
    EXPECT_LT(Luminance(p.Highlight), Luminance(p.Background) + 48) << "only a step";
    EXPECT_GT(Luminance(p.StripArrow), 192);
    // The rule etched into the dark: its shadow darker, its light lighter than the menu.
    EXPECT_LT(Luminance(p.SeparatorDark), Luminance(p.Background));
    EXPECT_GT(Luminance(p.SeparatorLight), Luminance(p.Background));
    ASSERT_TRUE(p.Border.has_value());
    EXPECT_NE(*p.Border, p.Background);
    // Nothing of the scheme leaks in: whatever the system colours, the same dark look.
    const SystemColours white{{255, 255, 255}, {0, 0, 0},       {0, 0, 255},
                              {255, 255, 255}, {128, 128, 128}, {255, 255, 255}};
    const MenuPalette q = ChoosePalette(false, false, white);
    EXPECT_EQ(q.Background, p.Background);
    EXPECT_EQ(q.Text, p.Text);
    EXPECT_EQ(q.Highlight, p.Highlight);
}

}  // namespace
}  // namespace engine
