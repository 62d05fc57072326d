// The appearance tab's data: the settings line it saves, the font size it hands to the font
// dialog, and the menu icon picture as a Windows bitmap file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "menufile/menu_file.h"

namespace editor {

inline constexpr const char* kFontDialogTitle = "Select Font";
inline constexpr const char* kFontSampleText = "Menu Text will look like this.";

struct Appearance {
    bool SmallIcons = false;
    std::string FontName = "MS Sans Serif";
    float FontSize = 8.25f;
    bool FontBold = false;
    bool FontItalic = false;
};

// What a menu's settings say, as the tab shows them.
[[nodiscard]] Appearance AppearanceOf(const menufile::MenuSettings& settings);
// SmallIcons 0 or 1, the face, the size with a point as decimal mark, bold and italic -1 or 0.
[[nodiscard]] menufile::MenuSettings SettingsOf(const Appearance& appearance);
// A size as the font dialog gets it: at most four decimal places.
[[nodiscard]] float DialogFontSize(float size);

// A 24-bit Windows bitmap file of `width` x `height` pixels, given top row first as 0xRRGGBB.
[[nodiscard]] std::string BitmapFile(int width, int height, const std::vector<std::uint32_t>& rgb);

}  // namespace editor
