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

}  // namespace

MenuPalette ChoosePalette(std::optional<bool> appsUseLightTheme, bool highContrast,
                          const SystemColours& system) {
    if (appsUseLightTheme.has_value() && !*appsUseLightTheme && !highContrast) {
        return {kDarkBackground,      kDarkText,           kDarkHighlight, kDarkText,
                kDarkSeparatorShadow, kDarkSeparatorLight, kDarkText,      kDarkBorder,
                true};
    }
    // The arrows in the menu's text colour, so they show on any menu colour.
    return {system.Menu,   system.MenuText, system.Highlight, system.HighlightText,
            system.Shadow, system.Light,    system.MenuText,  std::nullopt,
            false};
}

}  // namespace engine
