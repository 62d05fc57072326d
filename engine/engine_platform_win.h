// What the engine asks of Windows while loading: folder listings, display names, the item
// font and its measurements, the monitor under the pointer.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/menu_entries.h"
#include "engine/menu_model.h"
#include "menufile/menu_file.h"
#include "platform/win32_handles_win.h"

namespace engine {

std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& pattern);
std::string DisplayName(const std::string& path);
// The order Explorer lists names in: by the user's locale without regard to case, digits as
// numbers ("file2" before "file10"); ASCII without regard to case where the system has no
// sort keys.
[[nodiscard]] NameOrder ExplorerOrder();

// Screen twips per pixel, measured once (the process is DPI aware).
int MeasureTwipsPerPixel();

// The monitor under the point (pixels), in twips.
Rect MonitorAround(POINT pixel, int twipsPerPixel);

// The item font, and caption measurements with it in twips. Captions are UTF-8; they are
// measured in UTF-16, and a fit is told in bytes at the start of a character.
class ItemFont {
public:
    ItemFont(const menufile::MenuSettings& settings, int twipsPerPixel);
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
    int m_twipsPerPixel;
    float m_height = 0;
};

}  // namespace engine
