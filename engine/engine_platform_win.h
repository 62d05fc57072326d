// What the engine asks of Windows: folder listings, display names, type icons, the item
// font and its measurements, the monitor under the pointer, the menu's colours.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/menu_entries.h"
#include "engine/menu_model.h"
#include "engine/menu_palette.h"
#include "menufile/menu_file.h"
#include "platform/shell_win.h"
#include "platform/win32_handles_win.h"

namespace engine {

std::vector<ListedFile> ListFolder(const std::string& folder, const std::string& pattern);
// The shell's display name of a file: the probe of HiddenExtensions, once per type.
std::string DisplayName(const std::string& path);
// The icon the shell shows for files of a type (`extension` an ExtensionKey, empty for files
// without one), asked of the type alone without touching any file.
[[nodiscard]] bool TypeIcon(const std::string& extension, bool smallIcon, platform::ShellInfo& out);
// The DefaultIcon value of a file type ("%1" where each file shows its own); empty for none.
[[nodiscard]] std::string DefaultIconOf(const std::string& extension);
// True when `path` names a file that exists (not a folder).
[[nodiscard]] bool IsExistingFile(const std::string& path);
// True when `path` names a folder that exists.
[[nodiscard]] bool IsFolder(const std::string& path);
// The order Explorer lists names in: by the user's locale without regard to case, digits as
// numbers ("file2" before "file10"); ASCII without regard to case where the system has no
// sort keys.
[[nodiscard]] NameOrder ExplorerOrder();

// The work area of the monitor under the point (pixels: its area less the taskbar), in twips.
Rect WorkAreaAround(POINT pixel, int twipsPerPixel);

// The pop-up's colours from the app theme, high contrast and the system colours, read on the
// first call: every pop-up of the run draws with the same.
[[nodiscard]] const MenuPalette& CurrentMenuPalette();
[[nodiscard]] inline COLORREF ColorRefOf(Colour c) {
    return RGB(c.Red, c.Green, c.Blue);
}

// The item font, and caption measurements with it in twips. Captions are UTF-8; they are
// measured in UTF-16, and a fit is told in bytes at the start of a character.
class ItemFont {
public:
    // At `dpi`, the scale of the monitor the menu opens on (`twipsPerPixel` its twips).
    ItemFont(const menufile::MenuSettings& settings, int twipsPerPixel, int dpi);
    ItemFont(const ItemFont&) = delete;
    ItemFont& operator=(const ItemFont&) = delete;
    [[nodiscard]] HFONT get() const { return m_font.get(); }
    [[nodiscard]] float Width(std::string_view text) const;
    // How many leading bytes of `text` fit in `width` twips, in one measurement.
    [[nodiscard]] std::size_t Fit(std::string_view text, float width) const;
    [[nodiscard]] float Height() const { return m_height; }

private:
    platform::UniqueHfont m_font;
    platform::UniqueMemoryDc m_dc;  // declared after the font, so it goes before it
    platform::SelectGuard m_selected;  // the font in the DC; put back before either goes
    int m_twipsPerPixel;
    float m_height = 0;
};

}  // namespace engine
