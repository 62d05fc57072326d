// The rows of the item list as they are drawn: the item's icon at the list's icon size before
// its name, a separator as a line.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>

#include <memory>
#include <string>

#include "editor/model/list_row_icons.h"
#include "menufile/menu_file.h"
#include "platform/shell_win.h"
#include "platform/win32_handles_win.h"

namespace editor {

// A row's icon: extracted from the item's icon file (owned, destroyed with the last row that
// keeps it), or an image of a system image list (borrowed, never destroyed), or nothing.
struct RowIcon {
    platform::UniqueHicon Icon;
    HIMAGELIST ImageList = nullptr;
    int Image = 0;
    int ImageSize = 0;  // pixels of the list's images
};

using RowIcons = ListRowIcons<std::shared_ptr<const RowIcon>>;

// The shell's icon of a target, small or large; a menu from the Internet asks only about its
// type when the target is on another machine, so showing the row reaches out to no network.
[[nodiscard]] bool ShellIconOf(const std::string& target, bool fromInternet, bool smallIcon,
                               platform::ShellInfo& out);

// The item's icon at `size` pixels, by the item's icon source rule: its own icon, else (and when
// that fails) the icon the shell shows for its target. Never null.
[[nodiscard]] std::shared_ptr<const RowIcon> TakeRowIcon(const menufile::MenuItem& item,
                                                         bool fromInternet, int size);

// The height of a row whose text has `textHeight` pixels and whose icon `iconSize`.
[[nodiscard]] int RowHeight(int textHeight, int iconSize, int dpi);

// Where a row at `rect` draws its icon.
[[nodiscard]] RECT RowIconSquare(const RECT& rect, int iconSize, int dpi);

// One row into `rect`: the icon (may be null) in a square of `iconSize` before `text`, or, for
// a separator, a line across the row.
void DrawItemRow(HDC dc, const RECT& rect, bool selected, bool separator, const RowIcon* icon,
                 int iconSize, int dpi, const std::wstring& text);

}  // namespace editor
