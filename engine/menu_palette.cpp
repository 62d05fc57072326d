// The pop-up's colour rule.
#include "engine/menu_palette.h"

namespace engine {
namespace {

// As Windows 10 and 11 draw their dark menus.
constexpr Colour kDarkBackground{43, 43, 43};
constexpr Colour kDarkText{255, 255, 255};
constexpr Colour kDarkHighlight{65, 65, 65};
constexpr Colour kDarkSeparatorShadow{25, 25, 25};
constexpr Colour kDarkSeparatorLight{77, 77, 77};
constexpr Colour kDarkBorder{77, 77, 77};
constexpr Colour kDarkGreyedText{110, 110, 110};

}  // namespace

MenuPalette ChoosePalette(std::optional<bool> appsUseLightTheme, bool highContrast,
                          const SystemColours& system) {
    MenuPalette p;
    if (appsUseLightTheme.has_value() && !*appsUseLightTheme && !highContrast) {
        p.Background = kDarkBackground;
        p.Text = kDarkText;
        p.Highlight = kDarkHighlight;
        p.HighlightText = kDarkText;
        p.GreyedText = kDarkGreyedText;
        p.SeparatorDark = kDarkSeparatorShadow;
        p.SeparatorLight = kDarkSeparatorLight;
        p.StripArrow = kDarkText;
        p.Border = kDarkBorder;
        p.Dark = true;
        return p;
    }
    p.Background = system.Menu;
    p.Text = system.MenuText;
    p.Highlight = system.Highlight;
    p.HighlightText = system.HighlightText;
    p.GreyedText = system.GrayText;
    p.SeparatorDark = system.Shadow;
    p.SeparatorLight = system.Light;
    p.StripArrow = system.MenuText;  // so the arrows show on any menu colour
    return p;
}

}  // namespace engine
