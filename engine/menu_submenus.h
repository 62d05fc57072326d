// What a submenu lists: the folder an entry names, or the items of the menu file it names.
// A level is read only when it opens.
#pragma once

#include <future>
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

// A folder submenu's listing started ahead on another thread while its entry is highlighted,
// so resting on the entry or pressing Right finds it listed. The display names, which the
// shell wants asked on the window's thread, are still asked when the level opens.
class SubmenuPrefetch {
public:
    // Starts listing what `kind` at `path` under `parent` lists first; nothing for a menu
    // file, which is read when it opens, or when no thread can be had.
    SubmenuPrefetch(Submenu kind, const std::string& path, const menufile::MenuFile& parent,
                    const FolderLister& list);
    SubmenuPrefetch(SubmenuPrefetch&&) noexcept = default;
    SubmenuPrefetch& operator=(SubmenuPrefetch&&) noexcept = default;
    ~SubmenuPrefetch();  // waits for the listing

    [[nodiscard]] bool IsFor(const std::string& path) const { return m_path == path; }
    [[nodiscard]] bool Done() const;
    // `services` with the first listing taken from what was listed ahead (once).
    [[nodiscard]] LoadServices Serving(const LoadServices& services);

private:
    std::string m_path;
    FolderListing m_first;
    std::shared_future<std::vector<ListedFile>> m_listed;
};

}  // namespace engine
