// The pop-up's colours: the system's own, or those of the system's dark menus when the user's
// app theme is dark and high contrast is off.
#pragma once

#include <cstdint>
#include <optional>

namespace engine {

struct Colour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    constexpr bool operator==(const Colour&) const = default;
};

// The system colours the pop-up draws with in the light theme and in high contrast.
struct SystemColours {
    Colour Menu, MenuText, Highlight, HighlightText, Shadow, Light, GrayText;
};

struct MenuPalette {
    Colour Background, Text, Highlight, HighlightText;
    Colour GreyedText;  // an entry that opens nothing
    Colour SeparatorDark, SeparatorLight;  // the etched rule: shadow over light
    Colour StripArrow;
    // A one-pixel outline over the window's frame, the rest of the frame in Background; none:
    // the system draws the frame.
    std::optional<Colour> Border;
    bool Dark = false;
};

// `appsUseLightTheme` is the user's app theme value, none when it is not set (Windows before 10
// has none, and then the light look). High contrast wins over a dark theme: its scheme is what
// the user needs to read the screen.
[[nodiscard]] MenuPalette ChoosePalette(std::optional<bool> appsUseLightTheme, bool highContrast,
                                        const SystemColours& system);

}  // namespace engine
