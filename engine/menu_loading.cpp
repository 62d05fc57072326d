// Loading a menu for showing, with the folder listed ahead and its failures caught at the
// thread's edge.
#include "engine/menu_loading.h"

#include <new>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "menufile/menu_commit.h"

namespace engine {
namespace {

// The items of `menu`; whatever the listing throws is told, not thrown. An exception that
// left the listing's thread would end the program without a word.
ShownItems BuildCaught(const menufile::MenuFile& menu, const FolderLister& list,
                       const DisplayNamer& displayName, const NameOrder& order,
                       const FolderProbe& isFolder) {
    try {
        ShownItems shown;
        shown.Items = BuildEntries(menu, list, displayName, order, &shown.Submenus, isFolder);
        return shown;
    } catch (const std::bad_alloc&) {
        return {{}, {}, ListingFailure::OutOfMemory};
    } catch (const std::length_error&) {
        return {{}, {}, ListingFailure::OutOfMemory};  // a size no allocation can take
    } catch (...) {
        return {{}, {}, ListingFailure::Failed};
    }
}

}  // namespace

MenuLoad::~MenuLoad() = default;  // the futures wait for their threads before the menu goes

MenuLoad LoadMenuForShowing(menufile::FileSystem& fs, const std::string& path,
                            const menufile::CodePage& codePage, LoadServices services) {
    MenuLoad load;
    load.m_services = std::move(services);
    std::string bytes;
    if (const menufile::FileError e = menufile::ReadCommittedMenu(fs, path, bytes);
        e != menufile::FileError::None) {
        menufile::PathKind kind = menufile::PathKind::Missing;
        if (fs.Probe(path, kind) != menufile::FileError::None) {
            kind = menufile::PathKind::Missing;
        }
        load.m_problem = ReadProblem(e, kind, path);
        return load;
    }
    // Every complete record, also past a damaged one: one bad line hides nothing else. From
    // here on its text is UTF-8, whichever encoding the file holds.
    load.m_menu = std::make_unique<menufile::MenuFile>(menufile::ReadEveryRecord(bytes));
    menufile::DecodeMenu(bytes, *load.m_menu, codePage);
    if (!CanShowMenu(*load.m_menu)) {
        load.m_problem = MenuProblem::Empty;
        return load;
    }
    const menufile::MenuFile& menu = *load.m_menu;
    if (!menu.IsDirectoryPointer()) {
        // Each folder target costs the file system a look; that overlaps the display's setup.
        if (load.m_services.IsFolder && !menu.Items.empty()) {
            try {
                load.m_built = std::async(std::launch::async, [&menu, services = load.m_services] {
                    return BuildCaught(menu, services.List, services.DisplayName, services.Order,
                                       services.IsFolder);
                });
            } catch (const std::system_error&) {
                // No thread: the targets are looked at in Items, in turn.
            }
        }
        return load;
    }
    if (!menu.DirectoryPointer) {
        return load;
    }
    // A big folder is the slowest part of the start: it is listed and sorted on another thread
    // while the caller sets up the display, which takes about as long. That thread calls the
    // file system and the locale only.
    try {
        if (menufile::ToNumber(menu.DirectoryPointer->HideExtensions) >= 1) {
            load.m_first = FirstListing(*menu.DirectoryPointer);
            // What the listing throws stays in the future, at the thread's edge; Items catches it
            // where the listing is taken.
            load.m_listed =
                std::async(std::launch::async, [list = load.m_services.List, first = load.m_first] {
                    return list(first.Folder, first.Pattern);
                });
        } else {
            load.m_built = std::async(std::launch::async, [&menu, list = load.m_services.List,
                                                           order = load.m_services.Order] {
                const DisplayNamer unused = [](const std::string&) {
                    return std::string();  // shown extensions: no name is asked for
                };
                return BuildCaught(menu, list, unused, order, {});
            });
        }
    } catch (const std::system_error&) {
        // No thread to be had: the folder is listed in Items, in turn.
    }
    return load;
}

ShownItems MenuLoad::Items() {
    if (m_built.valid()) {
        return m_built.get();
    }
    const FolderLister list = [this](const std::string& folder, const std::string& pattern) {
        if (m_listed.valid() && FolderListing{folder, pattern} == m_first) {
            return m_listed.get();  // rethrows what the listing threw, caught below
        }
        return m_services.List(folder, pattern);
    };
    return BuildCaught(*m_menu, list, m_services.DisplayName, m_services.Order,
                       m_services.IsFolder);
}

}  // namespace engine
