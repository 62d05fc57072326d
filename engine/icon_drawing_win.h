// The icons of the pop-up's cells: taken at the size they are drawn at, from the item's own
// icon file or the shell (once per type of document), and drawn into the icon square.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <string>
#include <unordered_map>

#include "menufile/menu_file.h"
#include "platform/win32_handles_win.h"

namespace engine {

// An item's icon, looked up when its cell is painted and kept while the cell is near the
// screen (RowIconCache).
struct CellIcon {
    platform::UniqueHicon icon;      // extracted from a file
    HIMAGELIST imageList = nullptr;  // borrowed: a system image list no larger than the square
    int imageIndex = 0;
    int imageSize = 0;  // pixels, of an image smaller than the square; 0: the square's
};

// Finds items' icons, on one thread each; the system image lists they borrow from are taken in
// turn with every other source's.
class CellIconSource {
public:
    // A menu `fromInternet` takes no icon from another machine (menufile::MayTakeIconFrom).
    explicit CellIconSource(bool fromInternet = false) : m_fromInternet(fromInternet) {}

    // The item's own icon, else (and when that fails) the icon the shell shows for its target;
    // both at `size` pixels. `smallIcons` asks the shell for its small icons.
    [[nodiscard]] CellIcon Resolve(const menufile::MenuItem& item, int size, bool smallIcons);
    // The same, an image of a system image list copied into an icon of its own: for another
    // thread than the window's, whose drawing then never touches the lists.
    [[nodiscard]] CellIcon ResolveOwned(const menufile::MenuItem& item, int size,
                                        bool smallIcons);

private:
    CellIcon Find(const menufile::MenuItem& item, int size, bool smallIcons);

    // The shell's icon for a type of document, asked once for all the files of that type.
    struct SharedIcon {
        bool own = false;  // each file of the type shows its own icon instead
        bool found = false;
        HIMAGELIST imageList = nullptr;  // borrowed: the system image list
        int imageIndex = 0;
    };

    bool m_fromInternet = false;
    std::unordered_map<std::string, SharedIcon> m_typeIcons;  // by ExtensionKey
};

// Draws `icon` in the square of `size` pixels at (left, top): always at the square's size (an
// icon of another size is shrunk to it), a list of smaller images centred at their own size.
void DrawCellIcon(HDC dc, const CellIcon& icon, int left, int top, int size);

}  // namespace engine
