// The menu font, made by the rule of the menu file library.
#include "platform/menu_font_win.h"

#include "platform/text_win.h"

namespace platform {

UniqueHfont CreateMenuFont(const menufile::MenuSettings& settings, int dotsPerInch) {
    const menufile::MenuFont font = menufile::MenuFontOf(settings);
    return UniqueHfont(::CreateFontW(menufile::FontHeightPixels(font.Points, dotsPerInch), 0, 0, 0,
                                     font.Bold ? FW_BOLD : FW_NORMAL, font.Italic ? TRUE : FALSE,
                                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, Widen(font.Name).c_str()));
}

}  // namespace platform
