// What the engine lists: the records of a user-defined menu, or a folder's current contents.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "menufile/menu_file.h"

namespace engine {

// What an entry opens beside it when the pointer rests on it: a folder listed as a menu, or
// the items of a menu file.
enum class Submenu : unsigned char { None, Folder, Menu };

// True for a menu file's name: ".tvl" at its end, in any case.
[[nodiscard]] bool IsMenuFileName(std::string_view name);

// True when a path names a folder. Called on the listing's thread.
using FolderProbe = std::function<bool(const std::string& path)>;

// One name the folder listing found.
struct ListedFile {
    std::string Name;
    bool Directory = false;
    bool Hidden = false;
    bool System = false;
};

// Lists `folder` (which ends with a backslash) for names matching `pattern`.
using FolderLister =
    std::function<std::vector<ListedFile>(const std::string& folder, const std::string& pattern)>;
// The shell's display name of a path; empty when the shell has none.
using DisplayNamer = std::function<std::string(const std::string& path)>;
// True when name `a` is listed before name `b` (UTF-8 both).
using NameOrder = std::function<bool(const std::string& a, const std::string& b)>;

// The order where no system is asked: byte by byte, ASCII letters without regard to case.
[[nodiscard]] bool LessWithoutCase(const std::string& a, const std::string& b);

// The bytes a stretch of text without digits sorts by (compared byte by byte): the Windows build
// asks the user's locale, which orders case and accents as Explorer does.
using TextKey = std::function<std::string(std::string_view text)>;
// The order Explorer lists names in: runs of digits by their number ("file2" before "file10"),
// the text between them by its key; digits before text. Each name's key is made once.
[[nodiscard]] NameOrder NaturalOrder(TextKey textKey);

// A folder as the start of a path: with a backslash at its end.
[[nodiscard]] std::string FolderWithBackslash(const std::string& folder);

// The folder and pattern that building a directory menu's entries lists first (for most
// menus the only listing): a caller may list it ahead, on another thread.
struct FolderListing {
    std::string Folder;
    std::string Pattern;
    bool operator==(const FolderListing&) const = default;
};
[[nodiscard]] FolderListing FirstListing(const menufile::DirectoryPointer& pointer);

// The names a directory pointer shows, in order: with ShowFolders the sub-folders first
// (never hidden or system ones), then the files matching the pattern (hidden ones only with
// ShowHidden); each group sorted by `order`, names it finds equal in the order listed.
[[nodiscard]] std::vector<std::string> ListPointerNames(const menufile::DirectoryPointer& pointer,
                                                        const FolderLister& list,
                                                        const NameOrder& order = LessWithoutCase);

// True when what was read of a menu file is worth a pop-up: a complete file, or a user-defined
// menu with complete records around a damaged one (read with menufile::ReadEveryRecord). A
// file without marker or settings, or a damaged directory pointer, shows none.
[[nodiscard]] bool CanShowMenu(const menufile::MenuFile& menu);

// Where a file name's extension starts (at its last dot); npos when it has none to hide: no
// dot, a dot only at the start (".profile" is all name) or at the end.
[[nodiscard]] std::size_t ExtensionStart(std::string_view name);

// The extension of a file name (with its dot) as a key for its type: ASCII letters in lower
// case, since "A.TXT" and "b.txt" are one type; empty for a name without one.
[[nodiscard]] std::string ExtensionKey(std::string_view name);

// The names files show under when the shell hides the extensions of known types. Whether it
// hides one depends on the type only, so the shell is asked once per extension: the display
// name of the first file of that type either lacks the extension (hidden for the whole type)
// or not (shown). Every name is then made from the file name alone.
class HiddenExtensions {
public:
    // An empty answer decides nothing (the file may have gone since the listing); a type still
    // undecided after kTries answers shows its extensions.
    static constexpr int kTries = 3;

    explicit HiddenExtensions(DisplayNamer displayName);
    // The name the file `name` in `folder` (with its backslash) shows under.
    [[nodiscard]] std::string ShownName(const std::string& folder, const std::string& name);

private:
    struct Type {
        bool decided = false;
        bool hidden = false;
        int tries = 0;
    };
    DisplayNamer m_displayName;
    std::unordered_map<std::string, Type> m_types;
};

// The entries of a menu that read completely; a directory pointer's in ListPointerNames' order.
// With HideExtensions, files show under HiddenExtensions' names and folders under their own.
// With `submenus`, it gets what each entry opens beside it: a listed folder or a menu file's
// name; of a user-defined menu's items, a menu file, or a folder `isFolder` finds (never asked
// about a network path, whose server may keep it waiting for a minute).
[[nodiscard]] std::vector<menufile::MenuItem> BuildEntries(
    const menufile::MenuFile& menu, const FolderLister& list, const DisplayNamer& displayName,
    const NameOrder& order = LessWithoutCase, std::vector<Submenu>* submenus = nullptr,
    const FolderProbe& isFolder = {});

}  // namespace engine
