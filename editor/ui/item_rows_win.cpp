// The item list's rows: icons taken at the list's size and drawn before the names.
#include "editor/ui/item_rows_win.h"

#include <algorithm>
#include <string_view>

#include "menufile/display_path.h"
#include "menufile/internet_zone.h"
#include "platform/dpi_win.h"

namespace editor {

bool ShellIconOf(const std::string& target, bool fromInternet, bool smallIcon,
                 platform::ShellInfo& out) {
    if (menufile::MayTakeIconFrom(target, fromInternet)) {
        return platform::GetShellIcon(target, smallIcon, out);
    }
    const std::string_view name = menufile::LastPathPart(target);
    const std::size_t dot = name.find_last_of('.');
    return platform::GetTypeShellInfo(
        dot == std::string_view::npos ? std::string() : std::string(name.substr(dot)), smallIcon,
        out);
}

std::shared_ptr<const RowIcon> TakeRowIcon(const menufile::MenuItem& item, bool fromInternet,
                                           int size) {
    auto icon = std::make_shared<RowIcon>();
    const menufile::ItemIcon source = menufile::ItemIconFor(item, fromInternet);
    if (!source.File.empty()) {
        if (HICON own = platform::ExtractIconAtSize(source.File, source.Index, size)) {
            icon->Icon.reset(own);
            return icon;
        }
    }
    platform::ShellInfo info;
    if (!ShellIconOf(item.Target, fromInternet, true, info)) {
        return icon;
    }
    // The list whose images are the row's size, else the small icons' list when they are no
    // larger, drawn at their own size rather than stretched. The image indexes are the same in
    // every list.
    platform::ShellImageList list = platform::SystemImageListFor(size);
    const platform::ShellImageList smallList{info.imageList,
                                             platform::ImageListIconSize(info.imageList)};
    if (list.list == nullptr ||
        (list.size > size && smallList.size > 0 && smallList.size <= size)) {
        list = smallList;
    }
    if (list.size > size) {
        // Only larger images: one taken out of the list now and shrunk to the square when drawn.
        icon->Icon.reset(platform::ImageListIcon(list.list, info.iconIndex));
        return icon;
    }
    icon->ImageList = list.list;
    icon->Image = info.iconIndex;
    icon->ImageSize = list.size > 0 ? list.size : size;
    return icon;
}

int RowHeight(int textHeight, int iconSize, int dpi) {
    return std::max(textHeight, iconSize + 2 * platform::ScaleForDpi(1, dpi));
}

RECT RowIconSquare(const RECT& rect, int iconSize, int dpi) {
    const int left = rect.left + platform::ScaleForDpi(2, dpi);
    const int top = rect.top + (rect.bottom - rect.top - iconSize) / 2;
    return {left, top, left + iconSize, top + iconSize};
}

void DrawItemRow(HDC dc, const RECT& rect, bool selected, bool separator, const RowIcon* icon,
                 int iconSize, int dpi, const std::wstring& text) {
    const int margin = platform::ScaleForDpi(2, dpi);
    if (separator) {
        // A line across the row, as the separators of menus are drawn.
        const int thickness = std::max(1, platform::ScaleForDpi(1, dpi));
        RECT line{rect.left + margin, (rect.top + rect.bottom - thickness) / 2, rect.right - margin,
                  0};
        line.bottom = line.top + thickness;
        ::FillRect(dc, &line, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
        return;
    }
    const RECT square = RowIconSquare(rect, iconSize, dpi);
    const int left = square.left;
    const int top = square.top;
    if (icon != nullptr && icon->Icon) {
        ::DrawIconEx(dc, left, top, icon->Icon.get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
    } else if (icon != nullptr && icon->ImageList != nullptr) {
        // A list of smaller images: centred at their own size, never stretched.
        const int inset = std::max(0, (iconSize - icon->ImageSize) / 2);
        platform::DrawShellImage(icon->ImageList, icon->Image, dc, left + inset, top + inset);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT r = rect;
    r.left = left + iconSize + 2 * margin;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace editor
