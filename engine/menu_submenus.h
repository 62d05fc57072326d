// What a submenu lists: the folder an entry names, or the items of the menu file it names.
// A level is read only when it opens.
#pragma once

#include <string>
#include <vector>

#include "engine/menu_loading.h"
#include "menufile/file_system.h"
#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"

namespace engine {

// The one greyed entry of a submenu with nothing to show.
inline constexpr char kEmptySubmenu[] = "(Empty)";

// The menu a folder entry opens: the folder as a directory pointer listing as `parent` does
// (a user-defined parent's folders list every file, extensions and hidden files not shown),
// folders always shown, in the parent's font and icon size.
[[nodiscard]] menufile::MenuFile FolderSubmenu(const std::string& folder,
                                               const menufile::MenuFile& parent);

struct SubmenuLevel {
    menufile::MenuFile Menu;  // its font, icon size and listing rules, for what opens from it
    std::vector<menufile::MenuItem> Items;
    std::vector<Submenu> Submenus;  // what each item opens beside it
    bool Empty = false;             // only kEmptySubmenu, greyed: nothing there, or unreadable
};

// The level entry `path` of a menu `parent` opens as `kind`: a menu file in its own font and
// icon size (a directory pointer listing its folder), or a folder. Nothing it meets throws.
[[nodiscard]] SubmenuLevel LoadSubmenu(Submenu kind, const std::string& path,
                                       const menufile::MenuFile& parent, menufile::FileSystem& fs,
                                       const menufile::CodePage& codePage,
                                       const LoadServices& services);

}  // namespace engine
