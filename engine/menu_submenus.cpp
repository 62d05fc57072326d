// A submenu's level, read when it opens.
#include "engine/menu_submenus.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace engine {

menufile::MenuFile FolderSubmenu(const std::string& folder, const menufile::MenuFile& parent) {
    menufile::MenuFile menu;
    menu.Status = menufile::ReadStatus::Ok;
    menu.MenuType = menufile::kDirectoryPointer;
    menu.Settings = parent.Settings;
    menufile::DirectoryPointer pointer;
    if (parent.IsDirectoryPointer() && parent.DirectoryPointer) {
        pointer = *parent.DirectoryPointer;
    } else {
        pointer.Pattern = "*.*";
        pointer.HideExtensions = "0";
        pointer.ShowHidden = "0";
    }
    pointer.Folder = folder;
    pointer.ShowFolders = "1";
    menu.DirectoryPointer = std::move(pointer);
    return menu;
}

namespace {

SubmenuLevel Listed(menufile::MenuFile menu, const LoadServices& services) {
    SubmenuLevel level;
    level.Items = BuildEntries(menu, services.List, services.DisplayName, services.Order,
                               &level.Submenus, services.IsFolder);
    level.Menu = std::move(menu);
    return level;
}

SubmenuLevel Read(Submenu kind, const std::string& path, const menufile::MenuFile& parent,
                  menufile::FileSystem& fs, const menufile::CodePage& codePage,
                  const LoadServices& services) {
    if (kind == Submenu::Folder) {
        return Listed(FolderSubmenu(path, parent), services);
    }
    MenuLoad load = LoadMenuForShowing(fs, path, codePage, services);
    if (load.Problem()) {
        return {};
    }
    ShownItems shown = load.Items();
    SubmenuLevel level;
    level.Menu = load.Menu();
    level.Items = std::move(shown.Items);
    level.Submenus = std::move(shown.Submenus);
    return level;
}

}  // namespace

SubmenuLevel LoadSubmenu(Submenu kind, const std::string& path, const menufile::MenuFile& parent,
                         menufile::FileSystem& fs, const menufile::CodePage& codePage,
                         const LoadServices& services) {
    SubmenuLevel level;
    try {
        level = Read(kind, path, parent, fs, codePage, services);
    } catch (...) {
        level = {};  // out of memory, or a listing that failed: shown as nothing there
    }
    // A menu with only an empty first entry shows nothing either.
    const bool nothing =
        level.Items.empty() || (level.Items.size() == 1 && level.Items[0].Name.empty());
    if (nothing) {
        if (level.Menu.MenuType.empty()) {
            level.Menu = kind == Submenu::Folder ? FolderSubmenu(path, parent) : parent;
            level.Menu.Items.clear();
        }
        menufile::MenuItem empty;
        empty.Name = kEmptySubmenu;
        level.Items.assign(1, std::move(empty));
        level.Submenus.assign(1, Submenu::None);
        level.Empty = true;
    }
    return level;
}

SubmenuPrefetch::SubmenuPrefetch(Submenu kind, const std::string& path,
                                 const menufile::MenuFile& parent, const FolderLister& list)
    : m_path(path) {
    if (kind != Submenu::Folder || !list) {
        return;
    }
    const menufile::MenuFile menu = FolderSubmenu(path, parent);
    m_first = FirstListing(*menu.DirectoryPointer);
    try {
        // What the listing throws stays in the future; the level's load catches it.
        m_listed = std::async(std::launch::async, [list, first = m_first] {
                       return list(first.Folder, first.Pattern);
                   }).share();
    } catch (const std::system_error&) {
        // No thread: listed when it opens.
    }
}

SubmenuPrefetch::~SubmenuPrefetch() {
    if (m_listed.valid()) {
        m_listed.wait();
    }
}

bool SubmenuPrefetch::Done() const {
    return !m_listed.valid() ||
           m_listed.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

LoadServices SubmenuPrefetch::Serving(const LoadServices& services) {
    LoadServices serving = services;
    if (!m_listed.valid()) {
        return serving;
    }
    serving.List = [listed = m_listed, first = m_first, list = services.List, used = false](
                       const std::string& folder, const std::string& pattern) mutable {
        if (!used && FolderListing{folder, pattern} == first) {
            used = true;
            return listed.get();  // rethrows what the listing threw
        }
        return list(folder, pattern);
    };
    return serving;
}

}  // namespace engine
