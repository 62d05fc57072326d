// Cell icons from icon files and the shell's image lists.
#include "engine/icon_drawing_win.h"

#include <algorithm>
#include <mutex>
#include <string_view>

#include "engine/engine_platform_win.h"
#include "engine/menu_entries.h"
#include "engine/row_icon_cache.h"
#include "menufile/display_path.h"
#include "menufile/internet_zone.h"
#include "platform/shell_win.h"

namespace engine {
namespace {

// Image `index` of the system image lists, at `size` pixels.
CellIcon ShellIcon(HIMAGELIST fallback, int index, int size) {
    platform::ShellImageList list = platform::SystemImageListFor(size);
    if (list.list == nullptr) {
        list = {fallback, platform::ImageListIconSize(fallback)};
    }
    CellIcon icon;
    if (list.size > size) {
        // Larger images are shrunk to the square; taken out of the list once, when the row is
        // resolved, not at every paint.
        icon.icon.reset(platform::ImageListIcon(list.list, index));
        return icon;
    }
    icon.imageList = list.list;
    icon.imageIndex = index;
    icon.imageSize = list.size > 0 ? list.size : size;  // unknown: taken as the square's
    return icon;
}

// The system image lists are the process's, and under Wine nothing guards them: the window's
// thread and the icon worker take turns with them.
std::mutex& ImageListsLock() {
    static auto* lock = new std::mutex;  // never destroyed: a worker may hold it at exit
    return *lock;
}

}  // namespace

CellIcon CellIconSource::Resolve(const menufile::MenuItem& item, int size, bool smallIcons) {
    const std::lock_guard<std::mutex> hold(ImageListsLock());
    return Find(item, size, smallIcons);
}

CellIcon CellIconSource::ResolveOwned(const menufile::MenuItem& item, int size, bool smallIcons) {
    const std::lock_guard<std::mutex> hold(ImageListsLock());
    CellIcon icon = Find(item, size, smallIcons);
    if (icon.icon || icon.imageList == nullptr) {
        return icon;
    }
    CellIcon owned;
    owned.icon.reset(platform::ImageListIcon(icon.imageList, icon.imageIndex));
    owned.imageSize = icon.imageSize;
    return owned;
}

CellIcon CellIconSource::Find(const menufile::MenuItem& item, int size, bool smallIcons) {
    const menufile::ItemIcon source = menufile::ItemIconFor(item, m_fromInternet);
    if (!source.File.empty()) {
        if (HICON own = platform::ExtractIconAtSize(source.File, source.Index, size)) {
            CellIcon icon;
            icon.icon.reset(own);
            return icon;
        }
    }
    // A menu from the Internet asks nothing about a target on another machine: its type's icon.
    if (!menufile::MayTakeIconFrom(item.Target, m_fromInternet)) {
        platform::ShellInfo info;
        return TypeIcon(ExtensionKey(menufile::LastPathPart(item.Target)), smallIcons, info)
                   ? ShellIcon(info.imageList, info.iconIndex, size)
                   : CellIcon{};
    }
    // A document shows its type's icon: the shell is asked once per type, not once per file.
    // Programs, shortcuts and the like (HasOwnIcon), folders, missing targets and addresses are
    // asked about themselves.
    if (IsExistingFile(item.Target)) {
        const std::string type = ExtensionKey(menufile::LastPathPart(item.Target));
        auto [it, added] = m_typeIcons.try_emplace(type);
        SharedIcon& shared = it->second;
        if (added) {
            shared.own = HasOwnIcon(type, DefaultIconOf(type));
            platform::ShellInfo info;
            if (!shared.own && TypeIcon(type, smallIcons, info)) {
                shared.found = true;
                shared.imageList = info.imageList;
                shared.imageIndex = info.iconIndex;
            }
        }
        if (shared.found) {
            return ShellIcon(shared.imageList, shared.imageIndex, size);
        }
    }
    platform::ShellInfo info;
    if (platform::GetShellInfo(item.Target, smallIcons, info)) {
        return ShellIcon(info.imageList, info.iconIndex, size);
    }
    return {};
}

void DrawCellIcon(HDC dc, const CellIcon& icon, int left, int top, int size) {
    // An image smaller than the square (a list of smaller images only): centred, at its own
    // size rather than blurred.
    const int own = icon.imageSize > 0 ? std::min(icon.imageSize, size) : size;
    const int inset = std::max(0, (size - own) / 2);
    if (icon.icon) {
        ::DrawIconEx(dc, left + inset, top + inset, icon.icon.get(), own, own, 0, nullptr,
                     DI_NORMAL);
    } else if (icon.imageList) {
        const std::lock_guard<std::mutex> hold(ImageListsLock());
        platform::DrawShellImage(icon.imageList, icon.imageIndex, dc, left + inset, top + inset);
    }
}

}  // namespace engine
