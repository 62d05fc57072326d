// Loading a menu for showing: the file read and decoded, and a folder's listing started ahead
// on another thread while the caller sets up the display.
#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_messages.h"
#include "engine/menu_entries.h"
#include "menufile/file_system.h"
#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"

namespace engine {

// What loading asks of the system. `List` may be called on another thread; `DisplayName` only
// on the caller's (the shell wants the window thread).
struct LoadServices {
    FolderLister List;
    DisplayNamer DisplayName;
    NameOrder Order;
    // Which of a user-defined menu's targets are folders (they open as submenus); none when
    // empty. Called on another thread.
    FolderProbe IsFolder;
};

// Why the items could not be made: the listing threw (out of memory, or anything else).
enum class ListingFailure { None, OutOfMemory, Failed };

struct ShownItems {
    std::vector<menufile::MenuItem> Items;
    std::vector<Submenu> Submenus;  // what each item opens beside it
    ListingFailure Failure = ListingFailure::None;
};

// A menu read for showing. Its items may still be being listed; Items waits for them.
class MenuLoad {
public:
    MenuLoad(MenuLoad&&) noexcept = default;
    MenuLoad& operator=(MenuLoad&&) noexcept = default;
    ~MenuLoad();

    // Set when there is nothing to show: tell this instead.
    [[nodiscard]] const std::optional<MenuProblem>& Problem() const { return m_problem; }
    // The menu as read, its text UTF-8; only without a Problem.
    [[nodiscard]] const menufile::MenuFile& Menu() const { return *m_menu; }
    // The items in menu order, waiting for a listing started ahead. No exception of the
    // listing comes out: it is told in Failure, and Items is then empty. Once only.
    [[nodiscard]] ShownItems Items();

private:
    friend MenuLoad LoadMenuForShowing(menufile::FileSystem& fs, const std::string& path,
                                       const menufile::CodePage& codePage, LoadServices services);
    MenuLoad() = default;

    std::optional<MenuProblem> m_problem;
    std::unique_ptr<menufile::MenuFile> m_menu;  // at a fixed address: the listing reads it
    LoadServices m_services;
    FolderListing m_first;
    // One of these runs ahead: the first listing (the names the shell must shorten are asked
    // for on this thread, after it), or the whole build when no name is asked for.
    std::future<std::vector<ListedFile>> m_listed;
    std::future<ShownItems> m_built;
};

// Reads the menu at `path` whole (an unfinished save shows what was saved), decodes it, and
// for a directory pointer starts listing its folder on another thread, for a user-defined
// menu finding which targets are folders (in turn, in Items, when no thread can be had).
[[nodiscard]] MenuLoad LoadMenuForShowing(menufile::FileSystem& fs, const std::string& path,
                                          const menufile::CodePage& codePage,
                                          LoadServices services);

}  // namespace engine
